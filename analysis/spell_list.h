#pragma once
// A loaded spell list, and finding a spell in it by the name a player types.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "spell_record.h"

namespace vyr {

struct SpellList {
    std::unique_ptr<SpellCatalogue> catalogue = std::make_unique<SpellCatalogue>();
    std::vector<std::string> names;      // Windows-1252, in list order (= catalogue index)
    std::vector<std::string> utf8Names;  // the same, in UTF-8
    std::string note;                    // UTF-8: how the file was read when it was not a data file

    std::size_t size() const { return names.size(); }
    const SpellRecord& record(std::size_t index) const { return (*catalogue)[index]; }
};

// A spell list from a file's bytes as players give them: a scrambled data file; a plain
// list (UTF-8 or Windows-1252), read as it stands, which note says; anything else (no line
// shaped like a record, or names full of control characters) is refused with an Error
// naming the file (UTF-8) and the reason.
SpellList spellListFromBytes(std::string_view bytes, const std::string& fileName);

// Edits from one text to the other, where swapping two neighbours counts as one typo.
std::size_t editDistance(std::string_view a, std::string_view b);
// "; vouliez-vous dire "NAME" ?" for the nearest of known (case ignored), or "" when even
// that one is mostly different.
std::string suggestion(std::string_view typed, const std::vector<std::string>& known);

// Lower case, accents removed, ligatures spelled out ("Œil" reads "oeil", "ß" "ss"), curly
// quotes and dashes as typed (Windows-1252 in and out): how names are matched.
std::string foldForMatch(std::string_view cp1252Text);
// The same for typed UTF-8 (UTF-8 out): combining accents dropped, and the Latin letters
// that Windows-1252 lacks folded too. The page folds with this.
std::string foldTypedName(std::string_view utf8);

// The spell a UTF-8 name designates: the exact name, else the one name equal once case and
// accents are ignored. Throws Error (unknownSpell or ambiguousSpell) with the nearest names or the matches.
std::size_t findSpell(const SpellList& list, std::string_view utf8Name);

// The nearest names to what was typed (edit distance ignoring case and accents), best
// first, at most `count`; empty when nothing is close.
std::vector<std::size_t> nearestSpells(const SpellList& list, std::string_view utf8Name, std::size_t count = 3);

// Exactly one of a name and an index (negative or past the list is refused).
std::size_t chooseSpell(const SpellList& list, const std::optional<std::string>& name,
                        const std::optional<std::int64_t>& index);

// The element a standard spell scales with ("feu", "eau", "air", "terre", "necro",
// "lumière", "neutre"), or its kind: "bonus" (an armour bonus) or "spécial" (a special rule);
// one of codeElements.
std::string_view spellElement(const SpellRecord& record);

}  // namespace vyr
