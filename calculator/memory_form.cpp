#include "memory_form.h"

namespace vyr {

std::string InMemoryForm::fieldText(int id) const {
    if (!known(id)) return {};
    const Field& f = at(id);
    return f.isNumber ? std::to_string(f.number) : f.text;
}

namespace {

// Text that is exactly what writeUnsigned would write for its value: no blanks, no
// leading zero, at most 4294967295. Kept as that number, it reads back the same text.
bool plainNumber(const char* text, std::uint32_t& value) {
    if (text[0] < '0' || text[0] > '9' || (text[0] == '0' && text[1] != '\0')) return false;
    std::uint64_t v = 0;
    for (int i = 0; text[i] != '\0'; ++i) {
        if (i == 10 || text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + static_cast<unsigned>(text[i] - '0');
    }
    if (v > 0xFFFFFFFFu) return false;
    value = static_cast<std::uint32_t>(v);
    return true;
}

}  // namespace

// Ids outside the form address no field; writing to them changes nothing.
void InMemoryForm::writeText(int id, const char* text) {
    if (!known(id)) return;
    Field& f = at(id);
    f.isNumber = plainNumber(text, f.number);
    if (f.isNumber) return;
    if (text[0] == '\0')
        f.text.clear();  // every run empties the 16 outputs first
    else
        f.text = text;
}

void InMemoryForm::writeUnsigned(int id, std::uint32_t value) {
    if (!known(id)) return;
    Field& f = at(id);
    f.number = value;
    f.isNumber = true;
}

// What writeText(id, "") leaves, without a call per field.
void InMemoryForm::clearOutputs() {
    for (const OutputField& output : outputFields) {
        Field& f = at(output.id);
        f.isNumber = false;
        f.text.clear();
    }
}

UnsignedRead InMemoryForm::readUnsigned(int id) const {
    if (!known(id)) return {};
    const Field& f = at(id);
    return f.isNumber ? UnsignedRead{f.number, true} : parseUnsigned(f.text);
}

}  // namespace vyr
