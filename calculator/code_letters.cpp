#include "code_letters.h"

#include <algorithm>

namespace vyr {

// "Réduit la puissance lumière de la cible de 1/50 et réduit les PV max de 1/4. Reduit les
// PV toutes les 6sec pendant 5min", in Windows-1252.
const char* const drainText =
    "R\xE9"
    "duit la puissance lumi\xE8re de la cible de 1/50 et r\xE9"
    "duit les PV max de 1/4. "
    "Reduit les PV toutes les 6sec pendant 5min";

namespace {

using I = CharacterInputs;

// Two-letter rows come before the one-letter row they start with: the first match wins.
const CodeLetter letters[] = {
    {"a", "air", &I::airPower, &I::airResist},
    {"ba", "air", nullptr, &I::airResist},
    {"bd", "necro", nullptr, &I::necroResist, drainText},
    {"be", "eau", nullptr, &I::waterResist},
    {"bf", "feu", nullptr, &I::fireResist},
    {"b", "neutre"},
    {"c", "neutre"},
    {"d", "necro", &I::necroPower, &I::necroResist},
    {"e", "eau", &I::waterPower, &I::waterResist},
    {"f", "feu", &I::firePower, &I::fireResist},
    {"g", "neutre"},
    {"h", "neutre"},
    {"i", "neutre"},
    {"j", "neutre"},
    {"k", "neutre"},
    {"l", "lumière", &I::lightPower, nullptr},
    {"m", "neutre"},
    {"n", "neutre"},
    {"o", "neutre"},
    {"p", "bonus", nullptr, nullptr, nullptr, true},
    {"q", "neutre"},
    {"r", "neutre"},
    {"s", "spécial"},
    {"t", "terre", &I::earthPower, &I::earthResist},
};

}  // namespace

std::span<const CodeLetter> codeLetters() { return letters; }

const CodeLetter* codeLetterOf(std::string_view code) {
    const auto rule = std::find_if(std::begin(letters), std::end(letters),
                                   [code](const CodeLetter& l) { return code.starts_with(l.prefix); });
    return rule == std::end(letters) ? nullptr : &*rule;
}

std::string_view codeElement(std::string_view code) {
    const CodeLetter* rule = codeLetterOf(code);
    return rule ? rule->element : codeElements[6];
}

}  // namespace vyr
