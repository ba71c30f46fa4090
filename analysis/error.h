#pragma once
// The one error type of the core: a kind and the values it speaks of, never a sentence.
// Each front end words the kinds in its own terms (vyr names its options, the page its
// fields) and decides what follows; what() is for debugging only.

#include <algorithm>
#include <iterator>
#include <exception>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vyr {

// A new kind goes at the end of the enum and of errorKindNames, and into each front end's
// wording table (vyr's falls back to the kind's name and values, the page's to a plain sentence).
enum class ErrorKind {
    notSpellList,        // file, reason ("noRecordLine" or "fewRecordLines"): no plausible spell list
    unknownInput,        // where or role (vary), typed (and text), nearest
    notWholeNumber,      // where or role (vary), input, typed, form ("number": a JSON number, shown bare)
    nameValueExpected,   // where: a profile line without "="
    givenTwice,          // where, typed
    notSetupCode,        // role (setupCode), code, reads (the prefix this version reads)
    setupCodeVersion,    // role, code, reads
    damagedSetupCode,    // role, code
    setupCodeCharacter,  // role, code, character
    unknownColumn,       // role (sortColumn), typed, nearest, known (one per line)
    notAnyOf,            // role (onlyElement, effectKind), typed, known (one per line)
    setupCount,          // least, most, count
    sweepForm,           // role (vary), text
    zeroStep,            // role, input
    reversedRange,       // role, input, first, last
    tooManyValues,       // role, input, count, most
    tooManyRuns,         // role, count, most, grid ("1" for a grid)
    sameSweepInputs,     // role
    unknownSeries,       // typed
    unknownSpell,        // typed, names and indices of the nearest (one per line, maybe none)
    ambiguousSpell,      // typed, names and indices of the matches
    spellNameOrIndex,    // role (spell): neither or both given
    negativeSpellIndex,  // role (spellIndex), index
    spellIndexPastEnd,   // role (spellIndex, batchIndex), index, count
    unclosedQuote,       // a batch CSV line
    jsonObjectExpected,  // a batch JSON line
    nestedValue,         // name
    cellCount,           // count, expected
    spellAndIndex,       // a batch line giving both
    spellNotText,        // a batch line's spell not a string
    unknownName,         // typed, nearest: a batch line's name
    noSpellNorIndex,     // a batch line giving neither
    unknownBatchColumn,  // typed, nearest: a batch CSV header's column
    batchHeaderWithoutSpell,
    unreadableFile,  // path, errno: met by a front end's own file access
    unwritableFile,  // path, errno
    noSpellLoads,    // file: the program's loader stores no record from it
    fileTooLarge,    // file
};

inline constexpr std::string_view errorKindNames[] = {
    "notSpellList",       "unknownInput",
    "notWholeNumber",     "nameValueExpected",
    "givenTwice",         "notSetupCode",
    "setupCodeVersion",   "damagedSetupCode",
    "setupCodeCharacter", "unknownColumn",
    "notAnyOf",           "setupCount",
    "sweepForm",          "zeroStep",
    "reversedRange",      "tooManyValues",
    "tooManyRuns",        "sameSweepInputs",
    "unknownSeries",      "unknownSpell",
    "ambiguousSpell",     "spellNameOrIndex",
    "negativeSpellIndex", "spellIndexPastEnd",
    "unclosedQuote",      "jsonObjectExpected",
    "nestedValue",        "cellCount",
    "spellAndIndex",      "spellNotText",
    "unknownName",        "noSpellNorIndex",
    "unknownBatchColumn", "batchHeaderWithoutSpell",
    "unreadableFile",     "unwritableFile",
    "noSpellLoads",       "fileTooLarge",
};
static_assert(std::size(errorKindNames) == static_cast<std::size_t>(ErrorKind::fileTooLarge) + 1);

// A stable ASCII name, the same in every front end ("unknownColumn").
inline std::string_view errorKindName(ErrorKind kind) { return errorKindNames[static_cast<std::size_t>(kind)]; }

struct ErrorValue {
    std::string_view key;  // a literal: a neutral name such as "typed" or "role"
    std::string value;
};

class Error : public std::exception {
  public:
    Error(ErrorKind kind, std::vector<ErrorValue> values) : kind_(kind), values_(std::move(values)) { describe(); }

    ErrorKind kind() const { return kind_; }
    const std::vector<ErrorValue>& values() const { return values_; }
    bool has(std::string_view key) const {
        return std::any_of(values_.begin(), values_.end(), [&](const ErrorValue& v) { return v.key == key; });
    }
    // "" when the error does not have it.
    std::string value(std::string_view key) const {
        const auto it = std::find_if(values_.begin(), values_.end(), [&](const ErrorValue& v) { return v.key == key; });
        return it == values_.end() ? std::string() : it->value;
    }
    // What a caller knows that the thrower did not (the batch line it was reading).
    void add(std::string_view key, std::string value) {
        values_.push_back({key, std::move(value)});
        describe();
    }
    // kindName key=value ..., for debugging.
    const char* what() const noexcept override { return described_.c_str(); }

  private:
    void describe() {
        described_ = std::string(errorKindName(kind_));
        for (const ErrorValue& v : values_) described_ += " " + std::string(v.key) + "=" + v.value;
    }
    ErrorKind kind_;
    std::vector<ErrorValue> values_;
    std::string described_;
};

std::size_t editDistance(std::string_view a, std::string_view b);

// The name of known a mistyped name most likely meant, or "" when none is close: a name that
// holds what was typed ("armour" in "target-armour"), else the nearest by edits, case ignored.
inline std::string nearestName(std::string_view typed, const std::vector<std::string>& known) {
    const auto lower = [](std::string_view text) {
        std::string out(text);
        std::transform(out.begin(), out.end(), out.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; });
        return out;
    };
    const std::string core = lower(typed.substr(std::min(typed.find_first_not_of('-'), typed.size())));
    const std::string* holder = nullptr;
    for (const std::string& name : known) {
        if (core.size() >= 4 && lower(name).find(core) != std::string::npos &&
            (!holder || name.size() < holder->size()))
            holder = &name;
    }
    if (holder) return *holder;
    const auto distance = [&](const std::string& name) { return editDistance(lower(typed), lower(name)); };
    const auto nearest = std::min_element(known.begin(), known.end(),
                                          [&](const auto& a, const auto& b) { return distance(a) < distance(b); });
    if (nearest == known.end() || distance(*nearest) > std::max<std::size_t>(2, typed.size() / 2)) return "";
    return *nearest;
}

}  // namespace vyr
