#include "spell_list.h"

#include <algorithm>
#include <span>

#include "cp1252.h"
#include "error.h"
#include "spell_file.h"

namespace vyr {

SpellList loadSpellList(const std::string& path) {
    SpellList list;
    SpellNameList names;
    if (loadSpellFile(path.c_str(), names, *list.catalogue) == 0)
        throw Error(path + " : aucun sort n'a pu être chargé de ce fichier (vyr check dit pourquoi)");
    list.names = std::move(names.names);
    for (const std::string& name : list.names) list.utf8Names.push_back(cp1252ToUtf8(name));
    return list;
}

std::string foldForMatch(std::string_view text) {
    // Windows-1252 letters from 0xC0 on, folded to their unaccented lower-case letter.
    static constexpr char latin[] =
        "aaaaaaaceeeeiiii"   // C0-CF
        "dnooooo*ouuuuyts"   // D0-DF (D7 is the multiplication sign)
        "aaaaaaaceeeeiiii"   // E0-EF
        "dnooooo/ouuuuyty";  // F0-FF (F7 is the division sign)
    std::string out;
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 'A' && b <= 'Z')
            out += static_cast<char>(b - 'A' + 'a');
        else if (b >= 0xC0)
            out += latin[b - 0xC0];
        else if (b == 0x8A || b == 0x9A)
            out += 's';  // Š š
        else if (b == 0x8E || b == 0x9E)
            out += 'z';  // Ž ž
        else if (b == 0x9F)
            out += 'y';  // Ÿ
        else if (b == 0x8C || b == 0x9C)
            out += "oe";  // Œ œ
        else
            out += c;
    }
    return out;
}

std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        for (std::size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[a.size()][b.size()];
}

std::string suggestion(std::string_view typed, const std::vector<std::string>& known) {
    const auto lower = [](std::string_view text) {
        std::string out(text);
        std::transform(out.begin(), out.end(), out.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; });
        return out;
    };
    // A name that holds what was typed ("armour" in "target-armour"), else the nearest by edits.
    const std::string core = lower(typed.substr(std::min(typed.find_first_not_of('-'), typed.size())));
    const std::string* holder = nullptr;
    for (const std::string& name : known) {
        if (core.size() >= 4 && lower(name).find(core) != std::string::npos &&
            (!holder || name.size() < holder->size()))
            holder = &name;
    }
    if (holder) return " ; vouliez-vous dire \"" + *holder + "\" ?";
    const auto distance = [&](const std::string& name) { return editDistance(lower(typed), lower(name)); };
    const auto nearest = std::min_element(known.begin(), known.end(),
                                          [&](const auto& a, const auto& b) { return distance(a) < distance(b); });
    if (nearest == known.end() || distance(*nearest) > std::max<std::size_t>(2, typed.size() / 2)) return "";
    return " ; vouliez-vous dire \"" + *nearest + "\" ?";
}

namespace {

// What was typed, folded; text that has no Windows-1252 form matches nothing exactly.
std::string foldTyped(std::string_view utf8) {
    const Utf8ToCp1252Result typed = utf8ToCp1252(utf8);
    return foldForMatch(typed.errorOffset ? std::string(utf8) : typed.text);
}

std::string listed(const SpellList& list, const std::vector<std::size_t>& spells) {
    std::string text;
    for (std::size_t i : spells)
        text += (text.empty() ? "" : ", ") + list.utf8Names[i] + " (" + std::to_string(i) + ")";
    return text;
}

}  // namespace

std::vector<std::size_t> nearestSpells(const SpellList& list, std::string_view utf8Name, std::size_t count) {
    const std::string typed = foldTyped(utf8Name);
    // Close enough to be a typo: a third of the name, at least two.
    const std::size_t limit = std::max<std::size_t>(2, typed.size() / 3);
    std::vector<std::pair<std::size_t, std::size_t>> ranked;  // distance, index
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::size_t distance = editDistance(typed, foldForMatch(list.names[i]));
        if (distance <= limit) ranked.emplace_back(distance, i);
    }
    std::stable_sort(ranked.begin(), ranked.end());
    std::vector<std::size_t> nearest;
    for (std::size_t k = 0; k < ranked.size() && k < count; ++k) nearest.push_back(ranked[k].second);
    return nearest;
}

std::size_t findSpell(const SpellList& list, std::string_view utf8Name) {
    const auto exact = std::find(list.utf8Names.begin(), list.utf8Names.end(), utf8Name);
    if (exact != list.utf8Names.end() && std::count(exact, list.utf8Names.end(), utf8Name) == 1)
        return static_cast<std::size_t>(exact - list.utf8Names.begin());
    const std::string typed = foldTyped(utf8Name);
    std::vector<std::size_t> matches;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (foldForMatch(list.names[i]) == typed) matches.push_back(i);
    }
    const std::string quoted = "\"" + std::string(utf8Name) + "\"";
    if (matches.size() == 1) return matches[0];
    if (matches.size() > 1)
        throw Error("plusieurs sorts se nomment " + quoted + " (utilisez --index) : " + listed(list, matches));
    const std::vector<std::size_t> nearest = nearestSpells(list, utf8Name);
    throw Error("aucun sort ne se nomme " + quoted +
                (nearest.empty() ? " (vyr spells les liste)" : " ; les plus proches : " + listed(list, nearest)));
}

std::size_t chooseSpell(const SpellList& list, const std::optional<std::string>& name,
                        const std::optional<std::int64_t>& index) {
    if (name.has_value() == index.has_value()) throw Error("donnez soit --spell NOM, soit --index N");
    if (name) return findSpell(list, *name);
    if (*index < 0)
        throw Error("--index " + std::to_string(*index) + " : négatif ; les sorts sont numérotés à partir de 0");
    if (static_cast<std::uint64_t>(*index) >= list.size())
        throw Error("--index " + std::to_string(*index) + " est au-delà de la liste (" + std::to_string(list.size()) +
                    " sorts, numérotés à partir de 0)");
    return static_cast<std::size_t>(*index);
}

const std::vector<std::string_view> spellElements = {"feu",     "eau",    "air",   "terre",  "necro",
                                                     "lumière", "neutre", "bonus", "spécial"};

std::string_view spellElement(const SpellRecord& record) {
    const char* code = record.code() ? record.code() : "";
    struct Letter {
        char c;
        std::size_t element;  // in spellElements
    };
    // The scaling letters of the standard formula; "b" scales by the resistance its second letter names.
    static constexpr Letter byFirst[] = {{'f', 0}, {'e', 1}, {'a', 2}, {'t', 3},
                                         {'d', 4}, {'l', 5}, {'p', 7}, {'s', 8}};
    static constexpr Letter bySecond[] = {{'f', 0}, {'e', 1}, {'a', 2}, {'d', 4}};
    const bool resistanceOnly = code[0] == 'b';
    for (const Letter& l : resistanceOnly ? std::span<const Letter>(bySecond) : std::span<const Letter>(byFirst)) {
        if (l.c == code[resistanceOnly ? 1 : 0]) return spellElements[l.element];
    }
    return spellElements[6];
}

}  // namespace vyr
