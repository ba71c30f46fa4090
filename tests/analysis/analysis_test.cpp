// The analyses: setups and their codes, profiles, finding spells, and every analysis checked
// against single ordinary runs. Expected values live in tests/data/analysis/cases.json (and
// spell_changes.json), one table a suite, each case a test of its own.

#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <stdexcept>

#include "analyses.h"
#include "batch.h"
#include "charts.h"
#include "data_table.h"
#include "error_words.h"
#include "record_table.h"
#include "sample_spells.h"
#include "spell_changes.h"

namespace vyr {
namespace {

using nlohmann::json;
using testing::caseName;
using testing::sample;
using testing::TableCase;

constexpr const char* file = "analysis/cases.json";
const json& tables() { return testing::readTable(file); }
const json& caseNamed(const char* table, const std::string& name) {
    for (const json& c : tables()[table]["cases"])
        if (c["name"] == name) return c;
    throw std::runtime_error(std::string("no case \"") + name + "\" in " + table);
}
#define VYR_ANALYSIS_CASES(suite, table) VYR_TABLE_CASES(suite, file, table)
using testing::cases;

vyr::Setup setupOf(const json& inputs) {
    vyr::Setup s = vyr::Setup::defaults();
    for (const auto& [name, value] : inputs.items()) s.set(findInput(name)->id, value.get<std::uint32_t>());
    return s;
}

template <typename F>
std::string errorOf(F&& f) {
    try {
        f();
    } catch (const Error& e) {
        return cli::sentence(e);  // the words players read, from the one table that has them
    }
    return "<no error>";
}

// What a column of an analysis must hold for run r: an output, or a derived figure.
Cell expected(const RunResult& r, const std::string& column) {
    for (const OutputField& info : outputFields) {
        const OutputValue& v = r[info.id];
        if (info.name != column) continue;
        if (v.kind == OutputValue::Kind::number) return std::int64_t{v.number};
        return v.kind == OutputValue::Kind::text ? Cell(v.text) : Cell();
    }
    const auto figure = column == "meanEffect"        ? meanEffect(r)
                        : column == "effectPerSecond" ? effectPerSecond(r)
                                                      : weightedPerSecond(r);
    return figure ? Cell(*figure) : Cell();
}

std::int64_t whole(const Cell& c) { return std::get<std::int64_t>(c); }

// A row's cell under the column of that name.
const Cell& cellOf(const Table& table, const std::vector<Cell>& row, const std::string& name) {
    for (std::size_t c = 0; c < table.columns.size(); ++c)
        if (table.columns[c].name == name) return row[c];
    throw std::runtime_error("no column " + name);
}
std::size_t spellOf(const Table& table, const std::vector<Cell>& row) {
    return static_cast<std::size_t>(whole(cellOf(table, row, "index")));
}
// Every column of a run's outputs and derived figures holds what the run gives (the others name the row).
void expectRunCells(const Table& table, const std::vector<Cell>& row, const RunResult& r,
                    const std::set<std::string>& naming) {
    for (const Column& column : table.columns) {
        if (naming.contains(column.name)) continue;
        EXPECT_EQ(cellOf(table, row, column.name), expected(r, column.name)) << column.name;
    }
}

struct SetupCodes : TableCase {};
TEST_P(SetupCodes, EncodeAndDecodeInAnyCase) {
    const json& c = GetParam();
    const vyr::Setup s = setupOf(c["inputs"]);
    std::string code = c["code"];
    EXPECT_EQ(setupCode(s), code);
    EXPECT_EQ(decodeSetupCode(code), s) << code;
    for (char& ch : code) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    EXPECT_EQ(decodeSetupCode(code), s) << code;
}
VYR_ANALYSIS_CASES(SetupCodes, "setupCodes");

TEST(SetupCodeEdges, RoundTripEveryInputAtItsEdges) {
    for (std::uint32_t v : {0u, 1u, 127u, 128u, 16384u, 2147483647u, 2147483648u, 4294967295u}) {
        vyr::Setup all = vyr::Setup::defaults();
        for (std::size_t i = 0; i < all.values.size(); ++i) {
            vyr::Setup one = vyr::Setup::defaults();
            one.values[i] = all.values[i] = v;
            EXPECT_EQ(decodeSetupCode(setupCode(one)), one) << inputFields[i].name << " = " << v;
        }
        EXPECT_EQ(decodeSetupCode(setupCode(all)), all) << v;
        EXPECT_LT(setupCode(all).size(), 240u);
    }
}

TEST(SetupCodeEdges, RefuseEveryMistypedCharacterAndSwap) {
    const std::string code = caseNamed("setupCodes", "a full character (mistyped)")["code"];
    for (std::size_t i = 3; i < code.size(); ++i) {
        for (char c : std::string("0123456789ABCDEFGHJKMNPQRSTVWXYZ")) {
            std::string bad = code;
            bad[i] = c;
            if (c != code[i]) {
                EXPECT_NE(errorOf([&] { decodeSetupCode(bad); }), "<no error>") << bad;
            }
        }
        std::string swapped = code;
        std::swap(swapped[i], swapped[std::min(i + 1, code.size() - 1)]);
        if (swapped != code) {
            EXPECT_NE(errorOf([&] { decodeSetupCode(swapped); }), "<no error>") << swapped;
        }
    }
}

struct SetupCodeErrors : TableCase {};
TEST_P(SetupCodeErrors, AreRefusedInVyrsWords) {
    const json& c = GetParam();
    EXPECT_EQ(errorOf([&] { decodeSetupCode(c["code"].get<std::string>()); }), testing::joined(c["error"]));
}
VYR_ANALYSIS_CASES(SetupCodeErrors, "setupCodeErrors");

struct Profiles : TableCase {};
TEST_P(Profiles, ApplyInOrderThenTheOptionsAndReadBack) {
    const json& c = GetParam();
    vyr::Setup s = vyr::Setup::defaults();
    for (const json& p : c["profiles"]) applyProfile(s, p.get<std::string>(), "p.txt");
    const json options = c.value("options", json::object());
    for (const auto& [name, value] : options.items()) applyChange(s, name, value.get<std::string>(), "--" + name);
    for (const auto& [name, value] : c["expect"].items())
        EXPECT_EQ(s[findInput(name)->id], value.get<std::uint32_t>()) << name;
    vyr::Setup back = vyr::Setup::defaults();
    applyProfile(back, profileText(s), "back.txt");
    EXPECT_EQ(back, s);
}
VYR_ANALYSIS_CASES(Profiles, "profiles");

struct ProfileErrors : TableCase {};
TEST_P(ProfileErrors, AreRefusedInVyrsWords) {
    const json& c = GetParam();
    vyr::Setup s = vyr::Setup::defaults();
    EXPECT_EQ(errorOf([&] { applyProfile(s, c["text"].get<std::string>(), "p.txt"); }), testing::joined(c["error"]));
}
VYR_ANALYSIS_CASES(ProfileErrors, "profileErrors");

struct SpellNames : TableCase {};
TEST_P(SpellNames, FoundIgnoringCaseAndAccentsOrTheNearestNamesOffered) {
    const json& c = GetParam();
    const std::string typed = c["typed"];
    if (c.contains("index")) {
        EXPECT_EQ(findSpell(sample(), typed), c["index"].get<std::size_t>());
    } else {
        EXPECT_EQ(errorOf([&] { findSpell(sample(), typed); }), testing::joined(c["error"]));
    }
}
VYR_ANALYSIS_CASES(SpellNames, "spellNames");

struct SpellIndexes : TableCase {};
TEST_P(SpellIndexes, ChosenOrRefused) {
    const json& c = GetParam();
    const std::string got = errorOf([&] {
        EXPECT_EQ(chooseSpell(sample(), std::nullopt, c["index"].get<std::int64_t>()), c.value("chosen", json()));
    });
    EXPECT_EQ(got, c.value("error", "<no error>"));
}
VYR_ANALYSIS_CASES(SpellIndexes, "spellIndexes");

struct Elements : TableCase {};
TEST_P(Elements, FollowTheScalingLetters) {
    const json& c = GetParam();
    SpellRecord record;
    testing::setRecord(record, c);
    EXPECT_EQ(spellElement(record), c["element"].get<std::string>());
}
VYR_ANALYSIS_CASES(Elements, "elements");

RunResult madeRun(std::uint32_t effect, std::uint32_t recast) {
    RunResult r;
    for (const auto& [id, v] : {std::pair{field::effectMin, effect},
                                {field::effectMax, effect},
                                {field::recastDelay, recast},
                                {field::successChance, 100u}})
        r.outputs[outputPosition(id)] = {OutputValue::Kind::number, v, {}};
    return r;
}

struct Derived : TableCase {};
TEST_P(Derived, AreThoseOfTheRunsOutputs) {
    const json& c = GetParam();
    const RunResult r = runSpell(sample(), c["spell"], setupOf(c["inputs"]));
    for (const std::string name : {"meanEffect", "effectPerSecond", "weightedPerSecond"})
        EXPECT_EQ(expected(r, name), c[name].is_null() ? Cell() : Cell(c[name].get<double>())) << name;
}
VYR_ANALYSIS_CASES(Derived, "derived");

TEST(DerivedFigures, NoRecastDelayGivesNoRate) { EXPECT_FALSE(effectPerSecond(madeRun(10, 0))); }

TEST(Runs, PastTheTableShowNothingOfTheRunBefore) {
    runSpell(sample(), 0, vyr::Setup::defaults());
    for (const OutputValue& v : runSpell(sample(), vyr::spellCapacity, vyr::Setup::defaults()).outputs)
        EXPECT_EQ(v.kind, OutputValue::Kind::empty);
}

TEST(Analyses, CompareRowsAreSingleRunsFilteredAndSorted) {
    const vyr::Setup s = setupOf({{"level", 40}, {"rebirths", 2}});
    const Table all = compareSpells(sample(), s, {});
    ASSERT_EQ(all.rows.size(), sample().size());
    for (const auto& row : all.rows)
        expectRunCells(all, row, runSpell(sample(), spellOf(all, row), s), {"index", "name", "element"});
    const Table fire = compareSpells(sample(), s, {"feu", "weightedPerSecond", true, 0});
    EXPECT_EQ(fire.rows.size(), 7u);  // six "f" spells and one "bf"
    for (std::size_t i = 0; i < fire.rows.size(); ++i) {
        EXPECT_EQ(std::get<std::string>(cellOf(fire, fire.rows[i], "element")), "feu");
        if (i) {
            EXPECT_GE(std::get<double>(cellOf(fire, fire.rows[i - 1], "weightedPerSecond")),
                      std::get<double>(cellOf(fire, fire.rows[i], "weightedPerSecond")));
        }
    }
    const std::vector<std::size_t> best = bestSpells(sample(), s, 3);
    EXPECT_EQ(best, (std::vector<std::size_t>{65, 57, 35}));
    EXPECT_EQ(errorOf([&] {
                  compareSpells(sample(), s, {"", "levle", false, 0});
              }).substr(0, 33),
              "--sort : colonne inconnue \"levle\"");
}

// Each setup's column holds its own single run; each difference is that column minus the first's,
// the percent in the first's terms; rows where some setup differs from the first come first.
struct Diffs : TableCase {};
TEST_P(Diffs, ColumnsAreSingleRunsOfEachSetupWithTheirDifferencesToTheFirst) {
    const json& c = GetParam();
    std::vector<vyr::Setup> setups;
    for (const json& inputs : c["setups"]) setups.push_back(setupOf(inputs));
    const auto spell = c["spell"].is_null() ? std::nullopt : std::optional(c["spell"].get<std::size_t>());
    const Table t = diffSetups(sample(), setups, spell);
    std::vector<std::string> names;
    for (const Column& column : t.columns) names.push_back(column.name);
    EXPECT_EQ(names, c["columns"].get<std::vector<std::string>>());
    if (!c["rows"].is_null()) {
        EXPECT_EQ(t.rows.size(), c["rows"].get<std::size_t>());
    }
    bool sameSeen = false;
    for (const auto& row : t.rows) {
        const std::string output = std::get<std::string>(cellOf(t, row, "output"));
        const Cell& first = cellOf(t, row, c["first"]);
        EXPECT_EQ(first, expected(runSpell(sample(), spellOf(t, row), setups[0]), output)) << output;
        bool differs = false;
        for (std::size_t s = 1; s < setups.size(); ++s) {
            const json& later = c["later"][s - 1];
            const Cell& other = cellOf(t, row, later["column"]);
            EXPECT_EQ(other, expected(runSpell(sample(), spellOf(t, row), setups[s]), output)) << output << " " << s;
            differs = differs || other != first;
            const Cell &difference = cellOf(t, row, later["difference"]), &percent = cellOf(t, row, later["percent"]);
            if (std::holds_alternative<std::int64_t>(first) && std::holds_alternative<std::int64_t>(other)) {
                EXPECT_EQ(whole(difference), whole(other) - whole(first)) << output;
            }
            if (std::holds_alternative<double>(first)) {
                const double a = std::get<double>(first), b = std::get<double>(other);
                EXPECT_EQ(std::get<double>(difference), b - a) << output;
                if (a != 0) {
                    EXPECT_EQ(std::get<double>(percent), (b - a) / a * 100.0) << output;
                }
            }
        }
        EXPECT_FALSE(sameSeen && differs) << "a differing row after an equal one: " << output;
        sameSeen = sameSeen || !differs;
    }
}
VYR_ANALYSIS_CASES(Diffs, "diffs");

struct DiffErrors : TableCase {};
TEST_P(DiffErrors, RefuseTheSetupCount) {
    const json& c = GetParam();
    const std::vector<vyr::Setup> setups(c["count"].get<std::size_t>(), vyr::Setup::defaults());
    EXPECT_EQ(errorOf([&] { diffSetups(sample(), setups, 2); }), testing::joined(c["error"]));
}
VYR_ANALYSIS_CASES(DiffErrors, "diffErrors");

// A new spell list against an old one: records matched by folded name, namesakes by position, renames by equal
// fields; the table for a setup as CSV lines (tests/data/analysis/spell_changes.json).
struct SpellListChanges : TableCase {};
SpellList listOf(const json& lines) {
    std::string text;
    for (const json& line : lines) text += (text.empty() ? "" : "\n") + line.get<std::string>();
    return spellListFromBytes(text, "list.txt");
}
json valueOf(const Cell& cell) {
    if (const auto* n = std::get_if<std::int64_t>(&cell)) return *n;
    if (const auto* s = std::get_if<std::string>(&cell)) return *s;
    return nullptr;
}
json position(const std::optional<std::size_t>& index) { return index ? json(*index) : json(); }
// A table's rows as CSV lines, and the expected ones (a long one in pieces).
json csvRows(const Table& table) {
    const std::string csv = writeCsv(table);
    json rows = json::array();
    for (std::size_t at = csv.find("\r\n") + 2; at < csv.size(); at = csv.find("\r\n", at) + 2)
        rows.push_back(csv.substr(at, csv.find("\r\n", at) - at));
    return rows;
}
json expectedRows(const json& lines) {
    json rows = json::array();
    for (const json& row : lines) rows.push_back(testing::joined(row));
    return rows;
}

TEST_P(SpellListChanges, AreMatchedComparedFieldByFieldAndRunForTheSetup) {
    const json& c = GetParam();
    const SpellList before = listOf(c["old"]), after = listOf(c["new"]);
    const SpellChanges changes = compareSpellLists(before, after);
    json records = json::array();
    for (const RecordChange& r : changes.records) {
        json fields = json::object();
        for (const FieldChange& f : r.fields)
            fields[std::string(recordFields[f.field].name)] = {valueOf(f.oldValue), valueOf(f.newValue)};
        records.push_back({{"kind", recordChangeNames[static_cast<std::size_t>(r.kind)]},
                           {"old", position(r.oldIndex)},
                           {"new", position(r.newIndex)},
                           {"fields", fields}});
    }
    EXPECT_EQ(records, c["changes"]);
    const vyr::Setup setup = setupOf(c.value("inputs", json::object()));
    EXPECT_EQ(csvRows(changesTable(before, after, changes, setup)), expectedRows(c["table"]));
    const ChangeSummary s = summarizeChanges(before, after, changes, setup);
    json summary = {{"otherFigures", s.otherFigures}};
    for (std::size_t k = 0; k < s.counts.size(); ++k) summary[std::string(recordChangeNames[k])] = s.counts[k];
    EXPECT_EQ(summary, c["summary"]);
}
VYR_TABLE_CASES(SpellListChanges, "analysis/spell_changes.json", "lists");

// The changed figures of several setups in one table, each row after its setup's position.
struct FigureChanges : TableCase {};
TEST_P(FigureChanges, OfEverySetupTheMostChangedFirst) {
    const json& c = GetParam();
    const SpellList before = listOf(c["old"]), after = listOf(c["new"]);
    std::vector<vyr::Setup> setups;
    for (const json& inputs : c["setups"]) setups.push_back(setupOf(inputs));
    EXPECT_EQ(csvRows(figureChanges(before, after, compareSpellLists(before, after), setups)), expectedRows(c["rows"]));
}
VYR_TABLE_CASES(FigureChanges, "analysis/spell_changes.json", "figures");

struct EffectKinds : TableCase {};
TEST_P(EffectKinds, FollowWhatTheRunShows) {
    const json& c = GetParam();
    EXPECT_EQ(effectKind(runSpell(sample(), c["spell"], vyr::Setup::defaults())), c["kind"].get<std::string>());
}
VYR_ANALYSIS_CASES(EffectKinds, "effectKinds");

TEST(Analyses, EffectKindsFilterCompare) {
    std::size_t total = 0;
    for (std::string_view kind : effectKinds) {
        CompareOptions options;
        options.effect = kind;
        const Table t = compareSpells(sample(), vyr::Setup::defaults(), options);
        for (const auto& row : t.rows)
            EXPECT_EQ(effectKind(runSpell(sample(), spellOf(t, row), vyr::Setup::defaults())), kind);
        EXPECT_FALSE(t.rows.empty()) << kind;
        total += t.rows.size();
    }
    EXPECT_EQ(total, sample().size());
    CompareOptions wrong;
    wrong.effect = "soin";
    EXPECT_EQ(errorOf([&] { compareSpells(sample(), vyr::Setup::defaults(), wrong); }),
              "--effect : \"soin\" n'est aucun de effet, bonus, texte");
}

struct Links : TableCase {};
TEST_P(Links, GiveTheirSetupCode) {
    const json& c = GetParam();
    const std::string text = c["text"];
    const auto code = setupCodeOfLink(text);
    EXPECT_EQ(code ? json(std::string(*code)) : json(nullptr), c["code"]);
}
VYR_ANALYSIS_CASES(Links, "links");

TEST(Analyses, WeightsAreTheDifferencesOfTwoRunsMostHelpfulFirst) {
    const vyr::Setup s = setupOf({{"level", 40}});
    for (std::int64_t delta : {std::int64_t{10}, std::int64_t{-10}, std::int64_t{4294967295}}) {
        const Table t = inputWeights(sample(), s, {2, 70}, delta);
        ASSERT_EQ(t.rows.size(), 46u);
        for (std::size_t i = 0; i < t.rows.size(); ++i) {
            const auto& row = t.rows[i];
            const std::string input = std::get<std::string>(cellOf(t, row, "input"));
            EXPECT_NE(input, "enduranceBase");
            const std::int64_t to =
                std::clamp<std::int64_t>(std::int64_t{s[findInput(input)->id]} + delta, 0, 4294967295);
            EXPECT_EQ(whole(cellOf(t, row, "to")), to);
            vyr::Setup raised = s;
            raised.set(findInput(input)->id, static_cast<std::uint32_t>(to));
            const std::size_t spell = spellOf(t, row);
            const RunResult before = runSpell(sample(), spell, s), after = runSpell(sample(), spell, raised);
            const auto w0 = weightedPerSecond(before), w1 = weightedPerSecond(after);
            const Cell& gain = cellOf(t, row, "weightedPerSecondGain");
            EXPECT_EQ(gain, w0 && w1 ? Cell(*w1 - *w0) : Cell()) << input;
            EXPECT_EQ(whole(cellOf(t, row, "recastDelayChange")),
                      whole(expected(after, "recastDelay")) - whole(expected(before, "recastDelay")));
            // Within a spell's rows, the greater weighted gain first.
            if (i == 0 || spellOf(t, t.rows[i - 1]) != spell) continue;
            const Cell& above = cellOf(t, t.rows[i - 1], "weightedPerSecondGain");
            if (std::holds_alternative<double>(gain) && std::holds_alternative<double>(above)) {
                EXPECT_GE(std::get<double>(above), std::get<double>(gain));
            }
        }
    }
}

struct SweepRanges : TableCase {};
TEST_P(SweepRanges, AreReadOrRefused) {
    const json& c = GetParam();
    const std::string got = errorOf([&] {
        const SweepRange r = parseSweepRange(c["text"].get<std::string>());
        EXPECT_EQ(json({r.first, r.last, r.step}), json({c["first"], c["last"], c["step"]}));
    });
    EXPECT_EQ(got, testing::joined(c.value("error", json("<no error>"))));
}
VYR_ANALYSIS_CASES(SweepRanges, "sweepRanges");

TEST(Analyses, SweepAndGridCellsAreSingleRuns) {
    const vyr::Setup s = setupOf({{"fireResist", 80}});
    const SweepRange levels = parseSweepRange("level=1..61:20"), power = parseSweepRange("fire-power=50..250:100");
    const Table t = sweepTable(sample(), runSweep(sample(), s, {2, 70}, levels));
    ASSERT_EQ(t.rows.size(), 8u);
    for (const auto& row : t.rows) {
        const RunResult r = runSpell(sample(), spellOf(t, row),
                                     setupOf({{"fireResist", 80}, {"level", whole(cellOf(t, row, "level"))}}));
        expectRunCells(t, row, r, {"level", "index", "spell"});
    }
    const Table g = gridTable(runSweepGrid(sample(), s, 3, levels, power));
    ASSERT_EQ(g.rows.size(), 12u);
    for (const auto& row : g.rows) {
        const vyr::Setup at = setupOf({{"fireResist", 80},
                                       {"level", whole(cellOf(g, row, "level"))},
                                       {"firePower", whole(cellOf(g, row, "firePower"))}});
        EXPECT_EQ(cellOf(g, row, "weightedPerSecond"), expected(runSpell(sample(), 3, at), "weightedPerSecond"));
    }
}

TEST(Writers, TextCsvAndJsonOfOneTable) {
    const json& w = tables()["writers"];
    Table t;
    for (const json& c : w["columns"]) t.columns.push_back({c["name"], c["heading"]});
    for (const json& r : w["rows"]) {
        auto& row = t.rows.emplace_back();
        for (const json& v : r)
            row.push_back(v.is_null()             ? Cell()
                          : v.is_string()         ? Cell(v.get<std::string>())
                          : v.is_number_integer() ? Cell(v.get<std::int64_t>())
                                                  : Cell(v.get<double>()));
    }
    EXPECT_EQ(writeText(t), testing::joined(w["text"]));
    EXPECT_EQ(writeCsv(t), testing::joined(w["csv"]));
    EXPECT_EQ(writeJson(t), testing::joined(w["json"]));
}

#ifndef _WIN32  // libxml2's xmllint runs beside the native build
// Only the second spell of "two" has its recast fall to a floor; the spike must not stretch the
// scale (it tops at 15, not 5000) but be marked clipped.
const std::map<std::string, std::string>& charts() {
    static const std::map<std::string, std::string> made = [] {
        Sweep two{parseSweepRange("level=1..5"), {2, 3}, {}};
        two.runs = {{madeRun(10, 3000), madeRun(11, 3000), madeRun(12, 3000), madeRun(13, 3000), madeRun(14, 3000)},
                    {madeRun(20, 4000), madeRun(20, 3500), madeRun(20, 3000), madeRun(20, 3000), madeRun(20, 3000)}};
        Sweep one{parseSweepRange("level=7..7"), {2}, {{madeRun(10, 1000)}}};
        Sweep spike{parseSweepRange("level=1..100"), {2}, {std::vector<RunResult>(100, madeRun(10, 1000))}};
        spike.runs[0][50] = madeRun(5000, 1000);
        const SweepGrid grid = runSweepGrid(sample(), vyr::Setup::defaults(), 3, parseSweepRange("level=1..3"),
                                            parseSweepRange("fire-power=1..4"));
        const ChartOptions onPhone{360, 270, "effectPerSecond", true};  // as the page asks for it
        return std::map<std::string, std::string>{{"two", sweepChart(sample(), two)},
                                                  {"one", sweepChart(sample(), one)},
                                                  {"spike", sweepChart(sample(), spike)},
                                                  {"grid", gridChart(sample(), grid)},
                                                  {"phone", sweepChart(sample(), two, onPhone)}};
    }();
    return made;
}

// What an XPath expression selects, as libxml2 parses the chart.
struct Charts : TableCase {};
TEST_P(Charts, AreWellFormedSvgWithTheExpectedMarks) {
    const json& c = GetParam();
    const testing::TempFile svg(charts().at(c["chart"]), ".svg");
    std::FILE* pipe = popen(
        ("xmllint --noout --nonet --xpath \"count(" + c["xpath"].get<std::string>() + ")\" " + svg.path() + " 2>&1")
            .c_str(),
        "r");
    char text[64] = "-1";  // stays so when nothing is read
    std::fgets(text, sizeof text, pipe);
    pclose(pipe);
    EXPECT_EQ(std::atoi(text), c["count"]) << c["xpath"];
}
VYR_ANALYSIS_CASES(Charts, "charts");
#endif

// A line's result depends on the lines before it (the first decides the format): each case runs them first.
struct Batch : TableCase {};
TEST_P(Batch, GoodLinesGiveTheirRunAndBadLinesAreNamed) {
    const json& table = tables()["batch"];
    BatchRunner runner(sample(), setupOf(table["base"]), Format::json);
    std::size_t number = 0;
    std::string out;
    for (const json& line : table["cases"]) {
        out.clear();
        const std::string error = errorOf([&] { runner.line(++number, line["line"].get<std::string>(), out); });
        if (line["name"] != GetParam()["name"]) continue;
        EXPECT_EQ(error, testing::joined(line.value("error", json("<no error>"))));
        json expected = line.value("result", json());  // a long special text is held as pieces
        if (expected.contains("specialText") && expected["specialText"].is_array())
            expected["specialText"] = testing::joined(expected["specialText"]);
        EXPECT_EQ(out.empty() ? json() : json::parse(out), expected);
        return;
    }
}
VYR_ANALYSIS_CASES(Batch, "batch");

}  // namespace
}  // namespace vyr
