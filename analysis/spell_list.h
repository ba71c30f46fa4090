#pragma once
// A loaded spell list, and finding a spell in it by the name a player types.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "spell_reading.h"
#include "spell_record.h"
#include "table.h"

namespace vyr {

struct SpellList {
    std::unique_ptr<SpellCatalogue> catalogue = std::make_unique<SpellCatalogue>();
    std::vector<std::string> names;                 // Windows-1252, in list order (= catalogue index)
    std::vector<std::string> utf8Names;             // the same, in UTF-8
    SpellFileForm form = SpellFileForm::scrambled;  // how the file was read
    bool garbledNames = false;                      // most names hold control characters
    std::string text;                               // what the loader read (Windows-1252, unscrambled)

    std::size_t size() const { return names.size(); }
    const SpellRecord& record(std::size_t index) const { return (*catalogue)[index]; }
};

// Throws the Error that refuses a file (named in UTF-8) that is no plausible spell list.
void requirePlausible(const SpellFileGuess& guess, const std::string& fileName);

// A record's fields in the data file's order: the name its format gives each, and a French heading. A special
// record's line stops after its code: it has the first five only.
struct RecordField {
    std::string_view name, heading;
};
inline constexpr RecordField recordFields[] = {{"armourExempt", "Exempté d'armure"},
                                               {"delayFactor", "Facteur de délai"},
                                               {"delayExtra", "Délai supplémentaire (ms)"},
                                               {"delayLevel", "Niveau du sort"},
                                               {"code", "Code"},
                                               {"rollRange", "Étendue du jet"},
                                               {"rollBase", "Base du jet"},
                                               {"intDivisor", "Diviseur d'intelligence"},
                                               {"wisDivisor", "Diviseur de sagesse"}};
inline constexpr std::size_t codeField = 4;
// A field of a record as tables show it: a whole number, the code as UTF-8, or empty where the record has no such
// field.
Cell recordCell(const SpellRecord& record, std::size_t field);

// A spell list from a file's bytes as players give them, in the form guessSpellFile decides:
// a file that is no plausible spell list is refused with an Error naming the file (UTF-8) and
// the reason, unless the form is given (then the bytes are read in that form whatever they
// look like). The records are exactly those the program's loader stores from that reading.
SpellList spellListFromBytes(std::string_view bytes, const std::string& fileName,
                             std::optional<SpellFileForm> form = std::nullopt);

// Lower case, accents removed, ligatures spelled out ("Œil" reads "oeil", "ß" "ss"), curly
// quotes and dashes as typed (Windows-1252 in and out): how names are matched.
std::string foldForMatch(std::string_view cp1252Text);
// The same for typed UTF-8 (UTF-8 out): combining accents dropped, and the Latin letters
// that Windows-1252 lacks folded too. The page folds with this.
std::string foldTypedName(std::string_view utf8);

// The spell a UTF-8 name designates: the exact name, else the one name equal once case and
// accents are ignored (of several, the first by position when firstOfNamesakes, as a page's link takes it).
// Throws Error (unknownSpell or ambiguousSpell) with the nearest names or the matches.
std::size_t findSpell(const SpellList& list, std::string_view utf8Name, bool firstOfNamesakes = false);

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
