#include "spell_list.h"

#include <algorithm>
#include <optional>
#include <cstdint>

#include "code_letters.h"
#include "cp1252.h"
#include "error.h"
#include "spell_check.h"
#include "spell_file.h"

namespace vyr {

void requirePlausible(const SpellFileGuess& guess, const std::string& fileName) {
    if (guess.plausible) return;
    throw Error(ErrorKind::notSpellList,
                {{"file", fileName}, {"reason", guess.recordLines == 0 ? "noRecordLine" : "fewRecordLines"}});
}

SpellList spellListFromBytes(std::string_view bytes, const std::string& fileName, std::optional<SpellFileForm> form) {
    if (bytes.size() >= UINT32_MAX) throw Error(ErrorKind::fileTooLarge, {{"file", fileName}});
    if (!form) {
        const SpellFileGuess guess = guessSpellFile(bytes);
        requirePlausible(guess, fileName);
        form = guess.form;
    }
    SpellList list;
    list.form = *form;
    list.text = loaderText(bytes, *form);
    std::string buffer = list.text;
    SpellNameList names;
    // The parser's closing NUL goes where std::string keeps one already.
    if (parseSpellText(buffer.data(), static_cast<std::uint32_t>(buffer.size()), *list.catalogue, names) == 0)
        throw Error(ErrorKind::noSpellLoads, {{"file", fileName}});
    list.names = std::move(names.names);
    std::size_t garbled = 0;
    for (const std::string& name : list.names) {
        list.utf8Names.push_back(cp1252ToUtf8(name));
        garbled += hasControlCharacter(name);
    }
    list.garbledNames = namesLookGarbled(garbled, list.names.size());
    return list;
}

namespace {

// What each Windows-1252 byte from 0x80 on folds to: its unaccented lower-case letters, the
// ligatures spelled out; typographic quotes, dashes and the no-break space as typed on a
// keyboard. An empty entry keeps the byte.
// clang-format off
constexpr std::string_view high[128] = {
    "", "", "", "f", "", "", "", "", "", "", "s", "", "oe", "", "z", "",           // 80
    "", "'", "'", "\"", "\"", "", "-", "-", "", "", "s", "", "oe", "", "z", "y",  // 90
    " ", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",              // A0
    "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",               // B0
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",  // C0
    "d", "n", "o", "o", "o", "o", "o", "*", "o", "u", "u", "u", "u", "y", "th", "ss", // D0 (D7: ×)
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",  // E0
    "d", "n", "o", "o", "o", "o", "o", "/", "o", "u", "u", "u", "u", "y", "th", "y",  // F0 (F7: ÷)
};
// clang-format on

// Latin Extended-A (U+0100 to U+017F), which Windows-1252 mostly lacks, by base letter;
// "." keeps the character (the "ij" ligatures).
constexpr std::string_view extendedA =
    "aaaaaaccccccccddddeeeeeeeeeegggggggghhhhiiiiiiiiii..jjkkklllllll"   // 0100-013F
    "lllnnnnnnnnnoooooooorrrrrrssssssssttttttuuuuuuuuuuuuwwyyyzzzzzzs";  // 0140-017F

}  // namespace

std::string foldForMatch(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 'A' && b <= 'Z')
            out += static_cast<char>(b - 'A' + 'a');
        else if (b >= 0x80 && !high[b - 0x80].empty())
            out += high[b - 0x80];
        else
            out += c;
    }
    return out;
}

std::string foldTypedName(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const std::size_t length = decodeUtf8(utf8, i, cp);
        const std::optional<unsigned char> byte = codePointToCp1252(cp);
        if (length == 0) {
            out += utf8[i++];  // not UTF-8: kept as it is
            continue;
        }
        if (byte) {
            out += cp1252ToUtf8(foldForMatch(std::string(1, static_cast<char>(*byte))));
        } else if (cp >= 0x0300 && cp <= 0x036F) {
            // a combining accent, as some systems type "é": dropped
        } else if (cp >= 0x0100 && cp < 0x0100 + extendedA.size() && extendedA[cp - 0x0100] != '.') {
            out += extendedA[cp - 0x0100];
        } else {
            out += utf8.substr(i, length);
        }
        i += length;
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

std::vector<std::size_t> nearestSpells(const SpellList& list, std::string_view utf8Name, std::size_t count) {
    const std::string typed = foldTypedName(utf8Name);
    // Close enough to be a typo: a third of the name, at least two.
    const std::size_t limit = std::max<std::size_t>(2, typed.size() / 3);
    std::vector<std::pair<std::size_t, std::size_t>> ranked;  // distance, index
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::size_t distance = editDistance(typed, foldTypedName(list.utf8Names[i]));
        if (distance <= limit) ranked.emplace_back(distance, i);
    }
    std::stable_sort(ranked.begin(), ranked.end());
    std::vector<std::size_t> nearest;
    for (std::size_t k = 0; k < ranked.size() && k < count; ++k) nearest.push_back(ranked[k].second);
    return nearest;
}

std::size_t findSpell(const SpellList& list, std::string_view utf8Name, bool firstOfNamesakes) {
    const auto exact = std::find(list.utf8Names.begin(), list.utf8Names.end(), utf8Name);
    if (exact != list.utf8Names.end() && std::count(exact, list.utf8Names.end(), utf8Name) == 1)
        return static_cast<std::size_t>(exact - list.utf8Names.begin());
    const std::string typed = foldTypedName(utf8Name);
    std::vector<std::size_t> matches;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (foldTypedName(list.utf8Names[i]) == typed) matches.push_back(i);
    }
    if (matches.size() == 1 || (firstOfNamesakes && !matches.empty())) return matches[0];
    // The spells as two lists, one a line: their names and their indices.
    const auto refused = [&](ErrorKind kind, const std::vector<std::size_t>& spells) {
        std::string names, indices;
        for (std::size_t i : spells) {
            names += (names.empty() ? "" : "\n") + list.utf8Names[i];
            indices += (indices.empty() ? "" : "\n") + std::to_string(i);
        }
        return Error(kind, {{"typed", std::string(utf8Name)}, {"names", names}, {"indices", indices}});
    };
    if (matches.size() > 1) throw refused(ErrorKind::ambiguousSpell, matches);
    throw refused(ErrorKind::unknownSpell, nearestSpells(list, utf8Name));
}

std::size_t chooseSpell(const SpellList& list, const std::optional<std::string>& name,
                        const std::optional<std::int64_t>& index) {
    if (name.has_value() == index.has_value()) throw Error(ErrorKind::spellNameOrIndex, {{"role", "spell"}});
    if (name) return findSpell(list, *name);
    const ErrorValue role{"role", "spellIndex"}, typed{"index", std::to_string(*index)};
    if (*index < 0) throw Error(ErrorKind::negativeSpellIndex, {role, typed});
    if (static_cast<std::uint64_t>(*index) >= list.size())
        throw Error(ErrorKind::spellIndexPastEnd, {role, typed, {"count", std::to_string(list.size())}});
    return static_cast<std::size_t>(*index);
}

Cell recordCell(const SpellRecord& record, std::size_t field) {
    // In the order of recordFields; armourExempt is a byte and the code a text.
    static constexpr std::int32_t SpellRecord::*numbers[] = {nullptr,
                                                             &SpellRecord::delayFactor,
                                                             &SpellRecord::delayExtra,
                                                             &SpellRecord::delayLevel,
                                                             nullptr,
                                                             &SpellRecord::rollRange,
                                                             &SpellRecord::rollBase,
                                                             &SpellRecord::intDivisor,
                                                             &SpellRecord::wisDivisor};
    const char* code = record.code() ? record.code() : "";
    if (field == codeField) return cp1252ToUtf8(code);
    if (field > codeField && isSpecialCode(code)) return {};
    return field == 0 ? std::int64_t{record.armourExempt} : std::int64_t{record.*numbers[field]};
}

std::string_view spellElement(const SpellRecord& record) { return codeElement(record.code() ? record.code() : ""); }

}  // namespace vyr
