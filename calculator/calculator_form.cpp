#include "calculator_form.h"

namespace vyr {

UnsignedRead parseUnsigned(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i == text.size()) return {};
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return {};
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > 0xFFFFFFFFull) return {};
    }
    return {static_cast<std::uint32_t>(value), true};
}

void CalculatorForm::writeUnsigned(int id, std::uint32_t value) {
    char digits[11];
    char* p = digits + sizeof digits;
    *--p = '\0';
    do {
        *--p = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    writeText(id, p);
}

void setDefaults(CalculatorForm& form) {
    for (const InputField& input : inputFields) form.writeText(input.id, input.defaultText.data());
}

void CalculatorForm::clearOutputs() {
    for (const int id : outputClearOrder) writeText(id, "");
}

void onFieldLeft(CalculatorForm& form, int id) {
    if (form.readUnsigned(id).valid) return;
    if (isOutputField(id)) return;
    form.writeUnsigned(id, 100);
}

}  // namespace vyr
