#include "memory_form.h"

namespace vyr {

std::string InMemoryForm::fieldText(int id) const {
    if (!known(id)) return {};
    const Field& f = at(id);
    return f.isNumber ? std::to_string(f.number) : f.text;
}

// Ids outside the form address no field; writing to them changes nothing.
void InMemoryForm::writeText(int id, const char* text) {
    if (!known(id)) return;
    Field& f = at(id);
    f.text = text;
    f.isNumber = false;
}

void InMemoryForm::writeUnsigned(int id, std::uint32_t value) {
    if (!known(id)) return;
    Field& f = at(id);
    f.number = value;
    f.isNumber = true;
}

UnsignedRead InMemoryForm::readUnsigned(int id) const {
    if (!known(id)) return {};
    const Field& f = at(id);
    return f.isNumber ? UnsignedRead{f.number, true} : parseUnsigned(f.text);
}

std::optional<std::uint32_t> InMemoryForm::storedNumber(int id) const {
    if (!known(id) || !at(id).isNumber) return std::nullopt;
    return at(id).number;
}

}  // namespace vyr
