#pragma once
// What a new spell file changes against an old one: its records matched by name and compared field by field, then,
// for a setup, what each changed spell gives from one file to the other.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "setup.h"
#include "spell_list.h"
#include "table.h"

namespace vyr {

enum class RecordChangeKind { changed, renamed, removed, added };
// Stable names (CSV, JSON, the page) and the French words, in the enum's order.
inline constexpr std::string_view recordChangeNames[] = {"changed", "renamed", "removed", "added"};
inline constexpr std::string_view recordChangeWords[] = {"modifié", "renommé", "retiré", "ajouté"};

struct FieldChange {
    std::size_t field = 0;    // in recordFields
    Cell oldValue, newValue;  // as recordCell gives them
};

struct RecordChange {
    RecordChangeKind kind = RecordChangeKind::changed;
    // The spell's position in each list; none in the list it is not in. Positions alone never make a change.
    std::optional<std::size_t> oldIndex, newIndex;
    std::vector<FieldChange> fields;  // changed: the fields that differ, in recordFields order
};

struct SpellChanges {
    // Changed, renamed and removed spells in the old list's order, then the added ones in the new list's.
    std::vector<RecordChange> records;
    bool empty() const { return records.empty(); }
};

// Records are matched by name, folded as a player's search folds it (foldTypedName), and among namesakes by
// position: the k-th "X" of the old list is the k-th "X" of the new. A matched pair whose fields differ, or whose
// names are spelled otherwise, is changed. Of the records left, an old and a new one whose fields are all equal are
// the same spell renamed (each old one takes the first such new one); the others are removed and added.
SpellChanges compareSpellLists(const SpellList& oldList, const SpellList& newList);

// Only the changes of the spells a name designates in either list (its old or its new name, folded as above).
// Throws Error (unknownSpell, with the nearest names of the new list, else of the old one) when neither has it.
SpellChanges changesOfSpell(const SpellList& oldList, const SpellList& newList, const SpellChanges& changes,
                            std::string_view utf8Name);

// One row per change: the spell's positions and name, what changes (the name, a record field, then each output and
// derived figure that the setup's runs give differently from one list to the other), old and new, the difference
// and its percent of old. An added or removed spell is one row that says so.
Table changesTable(const SpellList& oldList, const SpellList& newList, const SpellChanges& changes, const Setup& setup);

// What the changed and renamed spells give otherwise for each setup: the outputs and derived figures of
// changesTable (no field, no added or removed spell), each row after a first column, its setup's position in setups;
// the rows that changed most first: by percent, then by difference, either sign (a figure from 0 before all others).
Table figureChanges(const SpellList& oldList, const SpellList& newList, const SpellChanges& changes,
                    const std::vector<Setup>& setups);

// How many spells of each kind changed, and how many of the changed and renamed ones give other figures for the
// setup: two runs per changed spell, no table.
struct ChangeSummary {
    std::array<std::size_t, std::size(recordChangeNames)> counts{};  // by RecordChangeKind
    std::size_t otherFigures = 0;
};
ChangeSummary summarizeChanges(const SpellList& oldList, const SpellList& newList, const SpellChanges& changes,
                               const Setup& setup);

}  // namespace vyr
