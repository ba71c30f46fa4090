// parseUnsigned, the one reading of a field as a number, against a reference written
// another way; then the write-read round trip and the leave-field rule built on it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "calculator_form.h"
#include "fields.h"
#include "fuzz_check.h"
#include "memory_form.h"

namespace {

using vyr::UnsignedRead;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The rule as a reader would check it by hand: skip spaces and tabs, the rest must be
// a non-empty run of digits, and without its leading zeros that run must not exceed
// "4294967295", compared as text so no arithmetic can overflow on the way.
UnsignedRead reference(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    const std::string_view digits = text.substr(start);
    if (!std::all_of(digits.begin(), digits.end(), isDigit)) return {};
    const std::size_t firstNonZero = digits.find_first_not_of('0');
    const std::string_view significant =
        firstNonZero == std::string_view::npos ? std::string_view{} : digits.substr(firstNonZero);
    if (significant.size() > 10) return {};
    if (significant.size() == 10 && significant > "4294967295") return {};
    std::uint64_t value = 0;
    for (char c : significant) value = value * 10 + static_cast<std::uint64_t>(c - '0');
    return {static_cast<std::uint32_t>(value), true};
}

std::string shown(std::string_view text) { return std::string(text.substr(0, 64)); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const UnsignedRead got = vyr::parseUnsigned(text);
    const UnsignedRead want = reference(text);
    FUZZ_CHECK(got.valid == want.valid && got.value == want.value,
               "text \"%s\": parseUnsigned gives %u/%d, the rule %u/%d", shown(text).c_str(), got.value, got.valid,
               want.value, want.valid);
    FUZZ_CHECK(got.valid || got.value == 0, "invalid text \"%s\" reads %u", shown(text).c_str(), got.value);

    // Written values read back as themselves, in plain decimal digits.
    vyr::InMemoryForm form;
    std::uint32_t number = 0;
    std::memcpy(&number, data, std::min(size, sizeof number));
    form.writeUnsigned(vyr::field::level, number);
    FUZZ_CHECK(form.fieldText(vyr::field::level) == std::to_string(number), "%u written as \"%s\"", number,
               form.fieldText(vyr::field::level).c_str());
    const UnsignedRead back = form.readUnsigned(vyr::field::level);
    FUZZ_CHECK(back.valid && back.value == number, "%u reads back as %u/%d", number, back.value, back.valid);

    // Leaving a field: an input holding invalid text becomes "100", an output never
    // changes. A field holds a C string, so the text stops at its first NUL.
    const std::string typed(text.substr(0, text.find('\0')));
    const bool valid = reference(typed).valid;
    const auto& input = vyr::inputFields[size % vyr::inputFields.size()];
    const auto& output = vyr::outputFields[size % vyr::outputFields.size()];
    form.writeText(input.id, typed.c_str());
    form.writeText(output.id, typed.c_str());
    vyr::onFieldLeft(form, input.id);
    vyr::onFieldLeft(form, output.id);
    FUZZ_CHECK(form.fieldText(input.id) == (valid ? typed : std::string("100")), "input %d left with \"%s\"", input.id,
               shown(form.fieldText(input.id)).c_str());
    FUZZ_CHECK(form.fieldText(output.id) == typed, "output %d changed to \"%s\"", output.id,
               shown(form.fieldText(output.id)).c_str());
    return 0;
}
