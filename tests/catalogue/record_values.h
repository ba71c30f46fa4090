#pragma once
// A SpellRecord as plain comparable values, so that tables of expected records read
// like the data file and a mismatch prints every field.

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "spell_file.h"
#include "spell_record.h"

namespace vyr::testing {

struct RecordValues {
    std::optional<std::string> name;
    std::int32_t armourExempt = 0;  // widened so that it prints as a number
    std::int32_t delayFactor = 0;
    std::int32_t delayExtra = 0;
    std::int32_t delayLevel = 0;
    std::optional<std::string> code;
    std::int32_t rollRange = 0;
    std::int32_t rollBase = 0;
    std::int32_t intDivisor = 0;
    std::int32_t wisDivisor = 0;

    bool operator==(const RecordValues&) const = default;
};

inline RecordValues valuesOf(const SpellRecord& r) {
    auto text = [](const char* t) { return t ? std::optional<std::string>(t) : std::nullopt; };
    return {text(r.name()), r.armourExempt, r.delayFactor, r.delayExtra, r.delayLevel,
            text(r.code()), r.rollRange, r.rollBase, r.intDivisor, r.wisDivisor};
}

inline void printText(std::ostream& os, const std::optional<std::string>& text) {
    if (!text) {
        os << "(none)";
        return;
    }
    os << '"';
    for (unsigned char c : *text) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            os << static_cast<char>(c);
        } else {
            static const char hex[] = "0123456789ABCDEF";
            os << "\\x" << hex[c >> 4] << hex[c & 15];
        }
    }
    os << '"';
}

inline void PrintTo(const RecordValues& v, std::ostream* os) {
    printText(*os, v.name);
    *os << " armourExempt=" << v.armourExempt << " delayFactor=" << v.delayFactor
        << " delayExtra=" << v.delayExtra << " delayLevel=" << v.delayLevel << " code=";
    printText(*os, v.code);
    *os << " rollRange=" << v.rollRange << " rollBase=" << v.rollBase << " intDivisor=" << v.intDivisor
        << " wisDivisor=" << v.wisDivisor;
}

inline const RecordValues unloadedRecord{};

// One load of a plain text through a scrambled temporary file, into a catalogue of its own.
struct LoadOutcome {
    std::size_t count = 0;
    std::unique_ptr<SpellCatalogue> catalogue = std::make_unique<SpellCatalogue>();
    SpellNameList sink;
};

}  // namespace vyr::testing
