#include "spell_changes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <string>

#include "analyses.h"
#include "run_result.h"

namespace vyr {

namespace {

std::vector<FieldChange> fieldChanges(const SpellRecord& before, const SpellRecord& after) {
    std::vector<FieldChange> changes;
    for (std::size_t f = 0; f < std::size(recordFields); ++f) {
        Cell a = recordCell(before, f), b = recordCell(after, f);
        if (a != b) changes.push_back({f, std::move(a), std::move(b)});
    }
    return changes;
}

Cell indexCell(const std::optional<std::size_t>& index) { return index ? Cell(std::int64_t(*index)) : Cell(); }

std::vector<Column> changeColumns() {
    return {{"oldIndex", "n° avant"}, {"newIndex", "n° après"}, {"spell", "Sort"}, {"change", "Changement", false},
            {"item", "Quoi", false},  {"heading", "Quoi"},      {"old", "Avant"},  {"new", "Après"},
            {"difference", "Écart"},  {"percent", "Écart (%)"}};
}

// A change's rows, each after the cells of lead: what the files say (the name, the fields, or that the spell was
// added or removed) unless figuresOnly, then each output and derived figure that the setup's runs give otherwise.
void addChangeRows(Table& table, const SpellList& oldList, const SpellList& newList, const RecordChange& c,
                   const Setup& setup, bool figuresOnly, const std::vector<Cell>& lead = {}) {
    const std::string& name = c.newIndex ? newList.utf8Names[*c.newIndex] : oldList.utf8Names[*c.oldIndex];
    const auto kind = static_cast<std::size_t>(c.kind);
    const auto add = [&](Cell item, std::string_view heading, const Cell& before, const Cell& after) {
        auto [difference, percent] = cellChange(before, after);
        std::vector<Cell>& row = table.rows.emplace_back(lead);
        row.insert(row.end(),
                   {indexCell(c.oldIndex), indexCell(c.newIndex), name, std::string(recordChangeNames[kind]),
                    std::move(item), std::string(heading), before, after, std::move(difference), std::move(percent)});
    };
    if (!c.oldIndex || !c.newIndex) {
        if (!figuresOnly) add({}, "sort " + std::string(recordChangeWords[kind]), {}, {});
        return;
    }
    if (!figuresOnly) {
        const std::string& oldName = oldList.utf8Names[*c.oldIndex];
        if (oldName != name) add(std::string("name"), "Nom", oldName, name);
        for (const FieldChange& f : c.fields)
            add(std::string(recordFields[f.field].name), recordFields[f.field].heading, f.oldValue, f.newValue);
    }
    const std::vector<RunResult> runs = {runSpell(oldList, *c.oldIndex, setup), runSpell(newList, *c.newIndex, setup)};
    for (const RunFigure& f : runFigures(runs)) {
        if (f.cells[0] != f.cells[1]) add(std::string(f.name), f.heading, f.cells[0], f.cells[1]);
    }
}

// How much a row changed, for the greater first: its percent without the sign, then its difference so. A figure
// from 0 has a difference and no percent: more than any percent; a row without a difference (a text, or a figure
// that comes or goes) the least.
std::pair<double, double> changeSize(const Cell& difference, const Cell& percent) {
    const auto size = [](const Cell& cell) {
        if (const auto* whole = std::get_if<std::int64_t>(&cell)) return std::abs(double(*whole));
        if (const auto* figure = std::get_if<double>(&cell)) return std::abs(*figure);
        return -1.0;
    };
    const double by = size(difference);
    const bool fromZero = by >= 0 && std::holds_alternative<std::monostate>(percent);
    return {fromZero ? std::numeric_limits<double>::infinity() : size(percent), by};
}

}  // namespace

SpellChanges compareSpellLists(const SpellList& oldList, const SpellList& newList) {
    std::map<std::string, std::vector<std::size_t>> namesakes;  // the new list's positions of each folded name
    for (std::size_t j = 0; j < newList.size(); ++j) namesakes[foldTypedName(newList.utf8Names[j])].push_back(j);
    std::map<std::string, std::size_t> seen;  // how many of each folded name the old list has had so far
    std::vector<std::optional<std::size_t>> matchOf(oldList.size());
    std::vector<bool> matched(newList.size()), renamed(oldList.size());
    for (std::size_t i = 0; i < oldList.size(); ++i) {
        const std::string name = foldTypedName(oldList.utf8Names[i]);
        const std::size_t k = seen[name]++;
        const auto same = namesakes.find(name);
        if (same == namesakes.end() || k >= same->second.size()) continue;
        matchOf[i] = same->second[k];
        matched[same->second[k]] = true;
    }
    for (std::size_t i = 0; i < oldList.size(); ++i) {
        for (std::size_t j = 0; !matchOf[i] && j < newList.size(); ++j) {
            if (matched[j] || !fieldChanges(oldList.record(i), newList.record(j)).empty()) continue;
            matchOf[i] = j;
            matched[j] = renamed[i] = true;
        }
    }
    SpellChanges changes;
    for (std::size_t i = 0; i < oldList.size(); ++i) {
        if (!matchOf[i]) {
            changes.records.push_back({RecordChangeKind::removed, i, std::nullopt, {}});
            continue;
        }
        const std::size_t j = *matchOf[i];
        RecordChange change{renamed[i] ? RecordChangeKind::renamed : RecordChangeKind::changed, i, j,
                            fieldChanges(oldList.record(i), newList.record(j))};
        // A name matched once folded may still be spelled otherwise ("boule de feu" made "Boule de feu").
        if (renamed[i] || !change.fields.empty() || oldList.utf8Names[i] != newList.utf8Names[j])
            changes.records.push_back(std::move(change));
    }
    for (std::size_t j = 0; j < newList.size(); ++j) {
        if (!matched[j]) changes.records.push_back({RecordChangeKind::added, std::nullopt, j, {}});
    }
    return changes;
}

SpellChanges changesOfSpell(const SpellList& oldList, const SpellList& newList, const SpellChanges& changes,
                            std::string_view utf8Name) {
    const std::string typed = foldTypedName(utf8Name);
    const auto named = [&typed](const SpellList& list, const std::optional<std::size_t>& index) {
        return index && foldTypedName(list.utf8Names[*index]) == typed;
    };
    SpellChanges chosen;
    for (const RecordChange& c : changes.records) {
        if (named(oldList, c.oldIndex) || named(newList, c.newIndex)) chosen.records.push_back(c);
    }
    const auto holds = [&](const SpellList& list) {
        for (std::size_t i = 0; i < list.size(); ++i)
            if (named(list, i)) return true;
        return false;
    };
    // A name in neither list: the search's own refusal, with the nearest names of the new list, else the old one's.
    if (chosen.empty() && !holds(oldList) && !holds(newList))
        findSpell(nearestSpells(newList, utf8Name).empty() ? oldList : newList, utf8Name);
    return chosen;
}

Table changesTable(const SpellList& oldList, const SpellList& newList, const SpellChanges& changes,
                   const Setup& setup) {
    Table table;
    table.columns = changeColumns();
    for (const RecordChange& c : changes.records) addChangeRows(table, oldList, newList, c, setup, false);
    return table;
}

Table figureChanges(const SpellList& oldList, const SpellList& newList, const SpellChanges& changes,
                    const std::vector<Setup>& setups) {
    Table table;
    table.columns = changeColumns();
    table.columns.insert(table.columns.begin(), {"setup", "Configuration"});
    for (std::size_t s = 0; s < setups.size(); ++s) {
        for (const RecordChange& c : changes.records)
            addChangeRows(table, oldList, newList, c, setups[s], true, {Cell(std::int64_t(s))});
    }
    const std::size_t difference = table.columns.size() - 2, percent = difference + 1;
    std::stable_sort(table.rows.begin(), table.rows.end(), [&](const auto& a, const auto& b) {
        return changeSize(a[difference], a[percent]) > changeSize(b[difference], b[percent]);
    });
    return table;
}

ChangeSummary summarizeChanges(const SpellList& oldList, const SpellList& newList, const SpellChanges& changes,
                               const Setup& setup) {
    ChangeSummary summary;
    for (const RecordChange& c : changes.records) {
        ++summary.counts[static_cast<std::size_t>(c.kind)];
        // The derived figures follow from the outputs: the outputs alone tell whether anything shown differs.
        if (c.oldIndex && c.newIndex &&
            runSpell(oldList, *c.oldIndex, setup).outputs != runSpell(newList, *c.newIndex, setup).outputs)
            ++summary.otherFigures;
    }
    return summary;
}

}  // namespace vyr
