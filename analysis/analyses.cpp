#include "analyses.h"

#include <algorithm>
#include <span>
#include <tuple>

#include "calculator_form.h"
#include "code_letters.h"
#include "cp1252.h"
#include "error.h"

namespace vyr {

namespace {

Cell figureCell(const std::optional<double>& v) { return v ? Cell(*v) : Cell(); }

std::optional<double> cellNumber(const Cell& c) {
    if (const auto* n = std::get_if<std::int64_t>(&c)) return static_cast<double>(*n);
    if (const double* v = std::get_if<double>(&c)) return *v;
    return std::nullopt;
}

struct Derived {
    std::string_view name, heading;
    std::optional<double> (*of)(const RunResult&);
};
constexpr Derived derived[] = {{"meanEffect", "Effet moyen", meanEffect},
                               {"effectPerSecond", "Effet par s", effectPerSecond},
                               {"weightedPerSecond", "Effet par s pondéré", weightedPerSecond}};

// The columns of the outputs some run shows (specialText in CSV and JSON only), then the derived figures.
void addRunColumns(Table& table, const std::vector<const RunResult*>& runs, std::vector<std::size_t>& shown) {
    for (std::size_t k = 0; k < outputFields.size(); ++k) {
        if (std::none_of(runs.begin(), runs.end(),
                         [&](const RunResult* r) { return r->outputs[k].kind != OutputValue::Kind::empty; }))
            continue;
        shown.push_back(k);
        const OutputField& f = outputFields[k];
        table.columns.push_back({std::string(f.name), std::string(f.heading), f.id != field::specialText, f.best});
    }
    for (const Derived& d : derived)
        table.columns.push_back({std::string(d.name), std::string(d.heading), true, Best::high});
}

void addRunCells(std::vector<Cell>& row, const RunResult& r, const std::vector<std::size_t>& shown) {
    for (std::size_t k : shown) row.push_back(outputCell(r.outputs[k]));
    for (const Derived& d : derived) row.push_back(figureCell(d.of(r)));
}

std::vector<const RunResult*> pointers(const std::vector<RunResult>& runs) {
    std::vector<const RunResult*> p;
    for (const RunResult& r : runs) p.push_back(&r);
    return p;
}

// Greater first (or smaller first), empty cells last whatever the direction; ties keep their order.
void sortRows(Table& table, std::size_t column, bool descending) {
    auto key = [&](const Cell& c) {
        const std::string* s = std::get_if<std::string>(&c);
        return s ? foldTypedName(*s) : std::string();
    };
    std::stable_sort(table.rows.begin(), table.rows.end(), [&](const auto& a, const auto& b) {
        const Cell& x = a[column];
        const Cell& y = b[column];
        if (std::holds_alternative<std::monostate>(x) || std::holds_alternative<std::monostate>(y))
            return !std::holds_alternative<std::monostate>(x) && std::holds_alternative<std::monostate>(y);
        const auto nx = cellNumber(x), ny = cellNumber(y);
        if (nx && ny) return descending ? *ny < *nx : *nx < *ny;
        return descending ? key(y) < key(x) : key(x) < key(y);
    });
}

std::size_t columnNamed(const Table& table, std::string_view name, std::string_view role) {
    std::string names;
    std::vector<std::string> known;
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        if (table.columns[c].name == name) return c;
        names += (c ? "\n" : "") + table.columns[c].name;
        known.push_back(table.columns[c].name);
    }
    throw Error(ErrorKind::unknownColumn, {{"role", std::string(role)},
                                           {"typed", std::string(name)},
                                           {"nearest", nearestName(name, known)},
                                           {"known", names}});
}

}  // namespace

std::vector<RunFigure> runFigures(const std::vector<RunResult>& runs) {
    std::vector<RunFigure> figures;
    for (std::size_t k = 0; k < outputFields.size(); ++k) {
        RunFigure& f = figures.emplace_back(RunFigure{outputFields[k].name, outputFields[k].heading, {}});
        for (const RunResult& r : runs) f.cells.push_back(outputCell(r.outputs[k]));
    }
    for (const Derived& d : derived) {
        RunFigure& f = figures.emplace_back(RunFigure{d.name, d.heading, {}});
        for (const RunResult& r : runs) f.cells.push_back(figureCell(d.of(r)));
    }
    return figures;
}

std::pair<Cell, Cell> cellChange(const Cell& from, const Cell& to) {
    const auto a = cellNumber(from), b = cellNumber(to);
    if (!a || !b) return {};
    const Cell difference = std::holds_alternative<double>(from)
                                ? Cell(*b - *a)
                                : Cell(std::get<std::int64_t>(to) - std::get<std::int64_t>(from));
    return {difference, *a != 0 ? Cell((*b - *a) / *a * 100.0) : Cell()};
}

Table calcTable(const SpellList& list, const RunResult& result) {
    Table table;
    table.columns = {{"output", "Sortie", false}, {"label", "Sortie"}, {"value", "Valeur"}};
    table.notes.push_back("Sort : " + list.utf8Names[result.spell] + " (n° " + std::to_string(result.spell) + ")");
    table.notes.push_back("Élément : " + std::string(spellElement(list.record(result.spell))));
    for (const RunFigure& f : runFigures({result})) {
        if (!std::holds_alternative<std::monostate>(f.cells[0]))
            table.rows.push_back({std::string(f.name), std::string(f.heading), f.cells[0]});
    }
    return table;
}

Table calcRecord(const SpellList& list, const Setup& setup, const RunResult& result,
                 const std::vector<std::string>& explanation) {
    Table table;
    std::vector<Cell> row;
    const auto add = [&](std::string_view name, Cell cell) {
        table.columns.push_back({std::string(name), std::string(name)});
        row.push_back(std::move(cell));
    };
    add("spell", list.utf8Names[result.spell]);
    add("index", std::int64_t(result.spell));
    add("element", std::string(spellElement(list.record(result.spell))));
    add("setupCode", setupCode(setup));
    for (std::size_t i = 0; i < inputFields.size(); ++i) add(inputFields[i].name, std::int64_t{setup.values[i]});
    for (const RunFigure& f : runFigures({result})) add(f.name, f.cells[0]);
    if (!explanation.empty()) {
        std::string lines;
        for (const std::string& line : explanation) lines += (lines.empty() ? "" : "\n") + line;
        add("explain", lines);
    }
    table.rows.push_back(std::move(row));
    return table;
}

namespace {

// An option's value must be empty (no filter) or one of the known values.
void requireKnown(const char* role, const std::string& value, std::span<const std::string_view> known) {
    if (value.empty() || std::find(known.begin(), known.end(), value) != known.end()) return;
    std::string names;
    for (std::string_view k : known) names += (names.empty() ? "" : "\n") + std::string(k);
    throw Error(ErrorKind::notAnyOf, {{"role", role}, {"typed", value}, {"known", names}});
}

}  // namespace

Table compareSpells(const SpellList& list, const Setup& setup, const CompareOptions& options) {
    requireKnown("onlyElement", options.only, codeElements);
    requireKnown("effectKind", options.effect, effectKinds);
    std::vector<RunResult> runs;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!options.only.empty() && spellElement(list.record(i)) != options.only) continue;
        RunResult r = runSpell(list, i, setup);
        if (options.effect.empty() || effectKind(r) == options.effect) runs.push_back(std::move(r));
    }
    Table table;
    table.columns = {{"index", "n°"}, {"name", "Sort"}, {"element", "Élément"}};
    std::vector<std::size_t> shown;
    addRunColumns(table, pointers(runs), shown);
    for (const RunResult& r : runs) {
        std::vector<Cell> row{std::int64_t(r.spell), list.utf8Names[r.spell],
                              std::string(spellElement(list.record(r.spell)))};
        addRunCells(row, r, shown);
        table.rows.push_back(std::move(row));
    }
    sortRows(table, columnNamed(table, options.order, "sortColumn"), options.descending);
    if (options.top && table.rows.size() > options.top) table.rows.resize(options.top);
    return table;
}

std::vector<std::size_t> bestSpells(const SpellList& list, const Setup& setup, std::size_t count) {
    CompareOptions options;
    options.order = "weightedPerSecond";
    options.descending = true;
    options.top = count;
    const Table table = compareSpells(list, setup, options);
    const std::size_t index = columnNamed(table, "index", "sortColumn");
    std::vector<std::size_t> best;
    for (const auto& row : table.rows) best.push_back(static_cast<std::size_t>(std::get<std::int64_t>(row[index])));
    return best;
}

std::string_view effectKind(const RunResult& result) {
    static constexpr int bonuses[] = {field::strengthBonus,     field::dexterityBonus,    field::wisdomBonus,
                                      field::intelligenceBonus, field::hitPointsBonusMin, field::armourBonusMin,
                                      field::attackBonus,       field::archeryBonus};
    const auto shows = [&](int id) { return result[id].kind != OutputValue::Kind::empty; };
    if (shows(field::effectMin)) return effectKinds[0];
    return std::any_of(std::begin(bonuses), std::end(bonuses), shows) ? effectKinds[1] : effectKinds[2];
}

Table diffSetups(const SpellList& list, const std::vector<Setup>& setups, std::optional<std::size_t> spell) {
    const std::size_t n = setups.size();
    if (n < 2 || n > maxDiffSetups)
        throw Error(ErrorKind::setupCount,
                    {{"least", "2"}, {"most", std::to_string(maxDiffSetups)}, {"count", std::to_string(n)}});
    Table table;
    table.columns = {{"index", "n°"}, {"spell", "Sort"}, {"output", "Sortie", false}, {"heading", "Sortie"}};
    // Two setups keep the plain names (difference, percent); more name each difference by its setup's letter.
    auto letter = [](std::size_t s) { return std::string(1, static_cast<char>('A' + s)); };
    auto lower = [](std::size_t s) { return std::string(1, static_cast<char>('a' + s)); };
    for (std::size_t s = 0; s < n; ++s) table.columns.push_back({lower(s), letter(s)});
    // Where each later setup's difference and percent stand.
    std::vector<std::size_t> differences(n), percents(n);
    for (const bool percent : {false, true}) {
        for (std::size_t s = 1; s < n; ++s) {
            const std::string name = percent ? "percent" : "difference", unit = percent ? " (%)" : "";
            (percent ? percents : differences)[s] = table.columns.size();
            if (n == 2)
                table.columns.push_back({name, "Écart" + unit});
            else
                table.columns.push_back({name + letter(s), "Écart " + letter(s) + unit});
        }
    }
    std::vector<std::vector<Cell>> same;
    for (std::size_t i = spell.value_or(0); i < (spell ? *spell + 1 : list.size()); ++i) {
        std::vector<RunResult> runs;
        for (const Setup& setup : setups) runs.push_back(runSpell(list, i, setup));
        auto add = [&](std::string_view name, std::string_view heading, const std::vector<Cell>& cells) {
            if (std::all_of(cells.begin(), cells.end(),
                            [](const Cell& c) { return std::holds_alternative<std::monostate>(c); }))
                return;
            std::vector<Cell> row{std::int64_t(i), list.utf8Names[i], std::string(name), std::string(heading)};
            row.insert(row.end(), cells.begin(), cells.end());
            row.resize(table.columns.size());
            bool differs = false;
            for (std::size_t s = 1; s < n; ++s) {
                differs = differs || cells[0] != cells[s];
                std::tie(row[differences[s]], row[percents[s]]) = cellChange(cells[0], cells[s]);
            }
            (differs ? table.rows : same).push_back(std::move(row));
        };
        for (const RunFigure& f : runFigures(runs)) add(f.name, f.heading, f.cells);
    }
    table.rows.insert(table.rows.end(), same.begin(), same.end());
    return table;
}

Table inputWeights(const SpellList& list, const Setup& setup, const std::vector<std::size_t>& spells,
                   std::int64_t delta) {
    Table table;
    table.columns = {{"index", "n°"},
                     {"spell", "Sort"},
                     {"input", "Entrée", false},
                     {"heading", "Entrée"},
                     {"from", "Valeur"},
                     {"to", "Nouvelle valeur"},
                     {"weightedPerSecondGain", "Gain effet par s pondéré", true, Best::high},
                     {"meanEffectGain", "Gain effet moyen", true, Best::high},
                     {"moveDelayChange", "Écart mouvement (ms)", true, Best::low},
                     {"recastDelayChange", "Écart relance (ms)", true, Best::low}};
    auto gain = [](const std::optional<double>& before, const std::optional<double>& after) {
        return before && after ? Cell(*after - *before) : Cell();
    };
    auto change = [](const OutputValue& before, const OutputValue& after) {
        const bool both = before.kind == OutputValue::Kind::number && after.kind == OutputValue::Kind::number;
        return both ? Cell(std::int64_t{after.number} - std::int64_t{before.number}) : Cell();
    };
    for (std::size_t spell : spells) {
        const RunResult base = runSpell(list, spell, setup);
        Table part{table.columns, {}, {}};
        for (const InputField& f : inputFields) {
            if (f.id == field::enduranceBase) continue;  // no run reads it
            Setup raised = setup;
            const std::int64_t to = std::clamp<std::int64_t>(std::int64_t{setup[f.id]} + delta, 0, 0xFFFFFFFF);
            raised.set(f.id, static_cast<std::uint32_t>(to));
            const RunResult r = runSpell(list, spell, raised);
            part.rows.push_back(
                {std::int64_t(spell), list.utf8Names[spell], std::string(f.name), std::string(f.pageLabel),
                 std::int64_t{setup[f.id]}, to, gain(weightedPerSecond(base), weightedPerSecond(r)),
                 gain(meanEffect(base), meanEffect(r)), change(base[field::moveDelay], r[field::moveDelay]),
                 change(base[field::recastDelay], r[field::recastDelay])});
        }
        // The input that helps most first: weighted gain, then mean effect, then the shorter recast.
        sortRows(part, columnNamed(part, "recastDelayChange", "sortColumn"), false);
        sortRows(part, columnNamed(part, "meanEffectGain", "sortColumn"), true);
        sortRows(part, columnNamed(part, "weightedPerSecondGain", "sortColumn"), true);
        table.rows.insert(table.rows.end(), part.rows.begin(), part.rows.end());
    }
    return table;
}

SweepRange parseSweepRange(std::string_view text) {
    const std::size_t equals = text.find('=');
    const std::size_t dots = text.find("..");
    const ErrorValue vary{"role", "vary"};
    const Error form(ErrorKind::sweepForm, {vary, {"text", std::string(text)}});
    if (equals == std::string_view::npos) throw form;
    const InputField* f = findInput(text.substr(0, equals));
    if (!f) {
        const std::string_view typed = text.substr(0, equals);
        throw Error(
            ErrorKind::unknownInput,
            {vary, {"text", std::string(text)}, {"typed", std::string(typed)}, {"nearest", nearestInput(typed)}});
    }
    if (dots == std::string_view::npos || dots < equals) throw form;
    const ErrorValue input{"input", std::string(f->option)};
    const std::string_view rest = text.substr(dots + 2);
    const std::size_t colon = rest.find(':');
    auto number = [&](std::string_view part) {
        const UnsignedRead read = parseUnsigned(part);
        if (!read.valid) throw Error(ErrorKind::notWholeNumber, {vary, input, {"typed", std::string(part)}});
        return read.value;
    };
    SweepRange range;
    range.input = f->id;
    range.first = number(text.substr(equals + 1, dots - equals - 1));
    range.last = number(rest.substr(0, colon));
    range.step = colon == std::string_view::npos ? 1 : number(rest.substr(colon + 1));
    if (range.step == 0) throw Error(ErrorKind::zeroStep, {vary, input});
    if (range.first > range.last)
        throw Error(ErrorKind::reversedRange,
                    {vary, input, {"first", std::to_string(range.first)}, {"last", std::to_string(range.last)}});
    if (range.count() > maxSweepRuns)
        throw Error(ErrorKind::tooManyValues,
                    {vary, input, {"count", std::to_string(range.count())}, {"most", std::to_string(maxSweepRuns)}});
    return range;
}

Sweep runSweep(const SpellList& list, const Setup& setup, const std::vector<std::size_t>& spells,
               const SweepRange& range) {
    if (range.count() * spells.size() > maxSweepRuns)
        throw Error(ErrorKind::tooManyRuns, {{"role", "vary"},
                                             {"count", std::to_string(range.count() * spells.size())},
                                             {"most", std::to_string(maxSweepRuns)}});
    Sweep sweep{range, spells, {}};
    for (std::size_t spell : spells) {
        auto& runs = sweep.runs.emplace_back();
        Setup s = setup;
        for (std::uint64_t i = 0; i < range.count(); ++i) {
            s.set(range.input, range.at(i));
            runs.push_back(runSpell(list, spell, s));
        }
    }
    return sweep;
}

Table sweepTable(const SpellList& list, const Sweep& sweep) {
    const InputField& f = *findInputById(sweep.range.input);
    Table table;
    table.columns = {{std::string(f.name), std::string(f.pageLabel)},
                     {"index", "n°", false},
                     {"spell", "Sort", sweep.spells.size() > 1}};
    std::vector<const RunResult*> all;
    for (const auto& runs : sweep.runs) {
        for (const RunResult& r : runs) all.push_back(&r);
    }
    std::vector<std::size_t> shown;
    addRunColumns(table, all, shown);
    for (std::size_t s = 0; s < sweep.spells.size(); ++s) {
        if (sweep.spells.size() == 1) table.notes.push_back("Sort : " + list.utf8Names[sweep.spells[s]]);
        for (std::uint64_t i = 0; i < sweep.range.count(); ++i) {
            std::vector<Cell> row{std::int64_t{sweep.range.at(i)}, std::int64_t(sweep.spells[s]),
                                  list.utf8Names[sweep.spells[s]]};
            addRunCells(row, sweep.runs[s][i], shown);
            table.rows.push_back(std::move(row));
        }
    }
    return table;
}

SweepGrid runSweepGrid(const SpellList& list, const Setup& setup, std::size_t spell, const SweepRange& x,
                       const SweepRange& y) {
    if (x.input == y.input) throw Error(ErrorKind::sameSweepInputs, {{"role", "vary"}});
    if (x.count() * y.count() > maxSweepRuns)
        throw Error(ErrorKind::tooManyRuns, {{"role", "vary"},
                                             {"count", std::to_string(x.count() * y.count())},
                                             {"most", std::to_string(maxSweepRuns)},
                                             {"grid", "1"}});
    SweepGrid grid{x, y, spell, {}};
    Setup s = setup;
    for (std::uint64_t iy = 0; iy < y.count(); ++iy) {
        s.set(y.input, y.at(iy));
        for (std::uint64_t ix = 0; ix < x.count(); ++ix) {
            s.set(x.input, x.at(ix));
            grid.perSecond.push_back(weightedPerSecond(runSpell(list, spell, s)));
        }
    }
    return grid;
}

Table gridTable(const SweepGrid& grid) {
    const InputField& fx = *findInputById(grid.x.input);
    const InputField& fy = *findInputById(grid.y.input);
    Table table;
    table.columns = {{std::string(fx.name), std::string(fx.pageLabel)},
                     {std::string(fy.name), std::string(fy.pageLabel)},
                     {"weightedPerSecond", "Effet par s pondéré", true, Best::high}};
    for (std::uint64_t iy = 0; iy < grid.y.count(); ++iy) {
        for (std::uint64_t ix = 0; ix < grid.x.count(); ++ix)
            table.rows.push_back({std::int64_t{grid.x.at(ix)}, std::int64_t{grid.y.at(iy)},
                                  figureCell(grid.perSecond[iy * grid.x.count() + ix])});
    }
    return table;
}

Table explainTable(const std::vector<std::string>& lines) {
    Table table;
    table.columns = {{"step", "Détail du calcul"}};
    for (const std::string& line : lines) table.rows.push_back({line});
    return table;
}

}  // namespace vyr
