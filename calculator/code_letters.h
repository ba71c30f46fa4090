#pragma once
// What a standard spell's code means, from its first letter ("b": its first two letters):
// the element it belongs to, how its range is scaled, and the text it writes. The run, the
// analyses and the data-file checks all read this one table.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "calculation_run.h"

namespace vyr {

struct CodeLetter {
    std::string_view prefix;   // the code's first letter, or first two ("bd")
    std::string_view element;  // UTF-8, one of codeElements
    // Each end x becomes (power × x) / resistance; a missing power multiplies by 100, a
    // missing resistance divides by 100. Neither: the range is not scaled.
    InputMember power = nullptr;
    InputMember resistance = nullptr;
    const char* text = nullptr;  // written to specialText (Windows-1252), or none
    bool armourBonus = false;    // the range is an armour bonus, not an effect

    bool scales() const { return power || resistance; }
};

// Every element or kind a code can give, in listing order.
inline constexpr std::string_view codeElements[] = {"feu",     "eau",    "air",   "terre",  "necro",
                                                    "lumière", "neutre", "bonus", "spécial"};

// The text that "bd" spells write to specialText (Windows-1252).
extern const char* const drainText;

// The rules in letter order: the twenty letters from "a" to "t" a code may begin with.
std::span<const CodeLetter> codeLetters();

// The rule a code follows (the longest prefix that matches); nullptr when its first byte
// is none of the letters: such a code is not scaled and its element is "neutre".
const CodeLetter* codeLetterOf(std::string_view code);

// The element of a code: its rule's, or "neutre".
std::string_view codeElement(std::string_view code);

}  // namespace vyr
