// The analyses: setups and their codes, profiles, finding spells, and every analysis checked
// against single ordinary runs. Expected values live in tests/data/analysis/cases.json.

#include <gtest/gtest.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <map>

#include "analyses.h"
#include "batch.h"
#include "charts.h"
#include "data_table.h"
#include "error_words.h"
#include "record_table.h"
#include "sample_spells.h"

namespace vyr {
namespace {

using nlohmann::json;
using testing::sample;

const json& cases() { return testing::readTable("analysis/cases.json"); }

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

TEST(SetupCodes, PinnedCodesEncodeAndDecodeInAnyCase) {
    for (const json& c : cases()["setupCodes"]) {
        const vyr::Setup s = setupOf(c["inputs"]);
        std::string code = c["code"];
        EXPECT_EQ(setupCode(s), code);
        EXPECT_EQ(decodeSetupCode(code), s) << code;
        for (char& ch : code) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        EXPECT_EQ(decodeSetupCode(code), s) << code;
    }
}

TEST(SetupCodes, RoundTripEveryInputAtItsEdges) {
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

TEST(SetupCodes, RefuseEveryMistypedCharacterAndSwap) {
    const std::string code = cases()["setupCodes"][3]["code"];
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
    for (const json& c : cases()["setupCodeErrors"])
        EXPECT_EQ(errorOf([&] { decodeSetupCode(c["code"].get<std::string>()); }), testing::joined(c["error"]));
}

TEST(Profiles, ApplyInOrderThenTheOptions) {
    for (const json& c : cases()["profiles"]) {
        vyr::Setup s = vyr::Setup::defaults();
        for (const json& p : c["profiles"]) applyProfile(s, p.get<std::string>(), "p.txt");
        const json options = c.value("options", json::object());
        for (const auto& [name, value] : options.items()) assign(s, name, value.get<std::string>(), "--" + name);
        for (const auto& [name, value] : c["expect"].items())
            EXPECT_EQ(s[findInput(name)->id], value.get<std::uint32_t>()) << c.dump();
        vyr::Setup back = vyr::Setup::defaults();
        applyProfile(back, profileText(s), "back.txt");
        EXPECT_EQ(back, s);
    }
    for (const json& c : cases()["profileErrors"]) {
        vyr::Setup s = vyr::Setup::defaults();
        EXPECT_EQ(errorOf([&] { applyProfile(s, c["text"].get<std::string>(), "p.txt"); }),
                  testing::joined(c["error"]));
    }
}

TEST(Spells, FoundIgnoringCaseAndAccentsOrTheNearestNamesOffered) {
    for (const json& c : cases()["spellNames"]) {
        const std::string typed = c["typed"];
        if (c.contains("index")) {
            EXPECT_EQ(findSpell(sample(), typed), c["index"].get<std::size_t>()) << typed;
        } else
            EXPECT_EQ(errorOf([&] { findSpell(sample(), typed); }), testing::joined(c["error"]));
    }
    for (const json& c : cases()["spellIndexes"]) {
        const std::string got = errorOf([&] {
            EXPECT_EQ(chooseSpell(sample(), std::nullopt, c["index"].get<std::int64_t>()), c.value("chosen", json()));
        });
        EXPECT_EQ(got, c.value("error", "<no error>"));
    }
}

TEST(Spells, ElementFollowsTheScalingLetters) {
    for (const json& c : cases()["elements"]) {
        SpellRecord record;
        testing::setRecord(record, c);
        EXPECT_EQ(spellElement(record), c["element"].get<std::string>()) << c["code"];
    }
}

RunResult madeRun(std::uint32_t effect, std::uint32_t recast) {
    RunResult r;
    for (const auto& [id, v] : {std::pair{field::effectMin, effect},
                                {field::effectMax, effect},
                                {field::recastDelay, recast},
                                {field::successChance, 100u}})
        r.outputs[outputPosition(id)] = {OutputValue::Kind::number, v, {}};
    return r;
}

TEST(Analyses, DerivedFiguresAreThoseOfTheRunsOutputs) {
    for (const json& c : cases()["derived"]) {
        const RunResult r = runSpell(sample(), c["spell"], setupOf(c["inputs"]));
        for (const std::string name : {"meanEffect", "effectPerSecond", "weightedPerSecond"})
            EXPECT_EQ(expected(r, name), c[name].is_null() ? Cell() : Cell(c[name].get<double>())) << name << c.dump();
    }
    EXPECT_FALSE(effectPerSecond(madeRun(10, 0)));  // no recast delay, no rate
}

TEST(Analyses, CompareRowsAreSingleRunsFilteredAndSorted) {
    const vyr::Setup s = setupOf({{"level", 40}, {"rebirths", 2}});
    const Table all = compareSpells(sample(), s, {});
    ASSERT_EQ(all.rows.size(), sample().size());
    for (const auto& row : all.rows) {
        const RunResult r = runSpell(sample(), static_cast<std::size_t>(whole(row[0])), s);
        for (std::size_t c = 3; c < all.columns.size(); ++c)
            EXPECT_EQ(row[c], expected(r, all.columns[c].name)) << all.columns[c].name;
    }
    const Table fire = compareSpells(sample(), s, {"feu", "weightedPerSecond", true, 0});
    EXPECT_EQ(fire.rows.size(), 7u);  // six "f" spells and one "bf"
    for (std::size_t i = 0; i < fire.rows.size(); ++i) {
        EXPECT_EQ(std::get<std::string>(fire.rows[i][2]), "feu");
        if (i) {
            EXPECT_GE(std::get<double>(fire.rows[i - 1].back()), std::get<double>(fire.rows[i].back()));
        }
    }
    const std::vector<std::size_t> best = bestSpells(sample(), s, 3);
    EXPECT_EQ(best, (std::vector<std::size_t>{65, 57, 35}));
    EXPECT_EQ(errorOf([&] {
                  compareSpells(sample(), s, {"", "levle", false, 0});
              }).substr(0, 33),
              "--sort : colonne inconnue \"levle\"");
}

// Each setup's column holds its own single run; each difference is that column minus A's, the
// percent in A's terms; rows where some setup differs from A come first.
TEST(Analyses, DiffColumnsAreSingleRunsOfEachSetupWithTheirDifferencesToTheFirst) {
    for (const json& c : cases()["diffs"]["cases"]) {
        SCOPED_TRACE(c["name"].get<std::string>());
        std::vector<vyr::Setup> setups;
        for (const json& inputs : c["setups"]) setups.push_back(setupOf(inputs));
        const std::size_t n = setups.size();
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
            const std::size_t index = static_cast<std::size_t>(whole(row[0]));
            const std::string output = std::get<std::string>(row[2]);
            bool differs = false;
            for (std::size_t s = 0; s < n; ++s) {
                EXPECT_EQ(row[4 + s], expected(runSpell(sample(), index, setups[s]), output)) << output << " " << s;
                differs = differs || row[4 + s] != row[4];
                if (s == 0) continue;
                const Cell &difference = row[4 + n + s - 1], &percent = row[3 + 2 * n + s - 1];
                if (std::holds_alternative<std::int64_t>(row[4]) && std::holds_alternative<std::int64_t>(row[4 + s])) {
                    EXPECT_EQ(whole(difference), whole(row[4 + s]) - whole(row[4])) << output;
                }
                if (std::holds_alternative<double>(row[4])) {
                    const double a = std::get<double>(row[4]), other = std::get<double>(row[4 + s]);
                    EXPECT_EQ(std::get<double>(difference), other - a) << output;
                    if (a != 0) {
                        EXPECT_EQ(std::get<double>(percent), (other - a) / a * 100.0) << output;
                    }
                }
            }
            EXPECT_FALSE(sameSeen && differs) << "a differing row after an equal one: " << output;
            sameSeen = sameSeen || !differs;
        }
    }
    for (const json& c : cases()["diffs"]["errors"]) {
        const std::vector<vyr::Setup> setups(c["count"].get<std::size_t>(), vyr::Setup::defaults());
        EXPECT_EQ(errorOf([&] { diffSetups(sample(), setups, 2); }), testing::joined(c["error"]));
    }
}

TEST(Analyses, EffectKindsFollowWhatTheRunShowsAndFilterCompare) {
    for (const json& c : cases()["effectKinds"]["cases"]) {
        const RunResult r = runSpell(sample(), c["spell"], vyr::Setup::defaults());
        EXPECT_EQ(effectKind(r), c["kind"].get<std::string>()) << c["name"];
    }
    std::size_t total = 0;
    for (std::string_view kind : effectKinds) {
        CompareOptions options;
        options.effect = kind;
        const Table t = compareSpells(sample(), vyr::Setup::defaults(), options);
        for (const auto& row : t.rows) {
            const RunResult r = runSpell(sample(), static_cast<std::size_t>(whole(row[0])), vyr::Setup::defaults());
            EXPECT_EQ(effectKind(r), kind);
        }
        EXPECT_FALSE(t.rows.empty()) << kind;
        total += t.rows.size();
    }
    EXPECT_EQ(total, sample().size());
    CompareOptions wrong;
    wrong.effect = "soin";
    EXPECT_EQ(errorOf([&] { compareSpells(sample(), vyr::Setup::defaults(), wrong); }),
              "--effect : \"soin\" n'est aucun de effet, bonus, texte");
}

TEST(SetupCodes, AShareLinkGivesItsCode) {
    for (const json& c : cases()["links"]["cases"]) {
        const std::string text = c["text"];
        const auto code = setupCodeOfLink(text);
        EXPECT_EQ(code ? json(std::string(*code)) : json(nullptr), c["code"]) << c["text"];
    }
}

TEST(Analyses, WeightsAreTheDifferencesOfTwoRunsMostHelpfulFirst) {
    const vyr::Setup s = setupOf({{"level", 40}});
    for (std::int64_t delta : {std::int64_t{10}, std::int64_t{-10}, std::int64_t{4294967295}}) {
        const Table t = inputWeights(sample(), s, {2, 70}, delta);
        ASSERT_EQ(t.rows.size(), 46u);
        for (std::size_t i = 0; i < t.rows.size(); ++i) {
            const auto& row = t.rows[i];
            const std::string input = std::get<std::string>(row[2]);
            EXPECT_NE(input, "enduranceBase");
            const std::int64_t to =
                std::clamp<std::int64_t>(std::int64_t{s[findInput(input)->id]} + delta, 0, 4294967295);
            EXPECT_EQ(whole(row[5]), to);
            vyr::Setup raised = s;
            raised.set(findInput(input)->id, static_cast<std::uint32_t>(to));
            const std::size_t spell = static_cast<std::size_t>(whole(row[0]));
            const RunResult before = runSpell(sample(), spell, s), after = runSpell(sample(), spell, raised);
            const auto w0 = weightedPerSecond(before), w1 = weightedPerSecond(after);
            EXPECT_EQ(row[6], w0 && w1 ? Cell(*w1 - *w0) : Cell()) << input;
            EXPECT_EQ(whole(row[9]), whole(expected(after, "recastDelay")) - whole(expected(before, "recastDelay")));
            if (i % 23 && std::holds_alternative<double>(row[6]) && std::holds_alternative<double>(t.rows[i - 1][6])) {
                EXPECT_GE(std::get<double>(t.rows[i - 1][6]), std::get<double>(row[6]));
            }
        }
    }
}

TEST(Analyses, SweepRangesAreReadOrRefused) {
    for (const json& c : cases()["sweepRanges"]) {
        const std::string got = errorOf([&] {
            const SweepRange r = parseSweepRange(c["text"].get<std::string>());
            EXPECT_EQ(json({r.first, r.last, r.step}), json({c["first"], c["last"], c["step"]})) << c;
        });
        EXPECT_EQ(got, testing::joined(c.value("error", json("<no error>"))));
    }
}

TEST(Analyses, SweepAndGridCellsAreSingleRuns) {
    const vyr::Setup s = setupOf({{"fireResist", 80}});
    const SweepRange levels = parseSweepRange("level=1..61:20"), power = parseSweepRange("fire-power=50..250:100");
    const Table t = sweepTable(sample(), runSweep(sample(), s, {2, 70}, levels));
    ASSERT_EQ(t.rows.size(), 8u);
    for (const auto& row : t.rows) {
        const RunResult r = runSpell(sample(), static_cast<std::size_t>(whole(row[1])),
                                     setupOf({{"fireResist", 80}, {"level", whole(row[0])}}));
        for (std::size_t c = 3; c < t.columns.size(); ++c) EXPECT_EQ(row[c], expected(r, t.columns[c].name));
    }
    const Table g = gridTable(runSweepGrid(sample(), s, 3, levels, power));
    ASSERT_EQ(g.rows.size(), 12u);
    for (const auto& row : g.rows) {
        const vyr::Setup at = setupOf({{"fireResist", 80}, {"level", whole(row[0])}, {"firePower", whole(row[1])}});
        EXPECT_EQ(row[2], expected(runSpell(sample(), 3, at), "weightedPerSecond"));
    }
}

TEST(Writers, TextCsvAndJsonOfOneTable) {
    const json& w = cases()["writers"];
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
TEST(Charts, AreWellFormedSvgWithTheExpectedMarks) {
    Sweep two{parseSweepRange("level=1..5"), {2, 3}, {}};
    two.runs = {{madeRun(10, 3000), madeRun(11, 3000), madeRun(12, 3000), madeRun(13, 3000), madeRun(14, 3000)},
                {madeRun(20, 4000), madeRun(20, 3500), madeRun(20, 3000), madeRun(20, 3000), madeRun(20, 3000)}};
    Sweep one{parseSweepRange("level=7..7"), {2}, {{madeRun(10, 1000)}}};
    Sweep spike{parseSweepRange("level=1..100"), {2}, {std::vector<RunResult>(100, madeRun(10, 1000))}};
    spike.runs[0][50] = madeRun(5000, 1000);
    const SweepGrid grid = runSweepGrid(sample(), vyr::Setup::defaults(), 3, parseSweepRange("level=1..3"),
                                        parseSweepRange("fire-power=1..4"));
    const ChartOptions onPhone{360, 270, "effectPerSecond", true};  // as the page asks for it
    const std::map<std::string, std::string> charts{{"two", sweepChart(sample(), two)},
                                                    {"one", sweepChart(sample(), one)},
                                                    {"spike", sweepChart(sample(), spike)},
                                                    {"grid", gridChart(sample(), grid)},
                                                    {"phone", sweepChart(sample(), two, onPhone)}};
    for (const json& c : cases()["charts"]) {  // what an XPath expression selects, as libxml2 parses the chart
        const testing::TempFile file(charts.at(c["chart"]), ".svg");
        std::FILE* pipe = popen(("xmllint --noout --nonet --xpath \"count(" + c["xpath"].get<std::string>() + ")\" " +
                                 file.path() + " 2>&1")
                                    .c_str(),
                                "r");
        char text[64] = "-1";  // stays so when nothing is read
        std::fgets(text, sizeof text, pipe);
        pclose(pipe);
        EXPECT_EQ(std::atoi(text), c["count"]) << c["xpath"];
    }
}
#endif

TEST(Batch, GoodLinesGiveTheirRunAndBadLinesAreNamed) {
    const json& b = cases()["batch"];
    const vyr::Setup base = setupOf(b["base"]);
    BatchRunner runner(sample(), base, Format::json);
    std::size_t number = 0;
    for (const json& line : b["lines"]) {
        std::string out;
        const std::string key = std::to_string(++number);
        EXPECT_EQ(errorOf([&] { runner.line(number, line.get<std::string>(), out); }),
                  testing::joined(b["errors"].value(key, json("<no error>"))))
            << line;
        json expected = b["results"].value(key, json());  // a long special text is held as pieces
        if (expected.contains("specialText") && expected["specialText"].is_array())
            expected["specialText"] = testing::joined(expected["specialText"]);
        EXPECT_EQ(out.empty() ? json() : json::parse(out), expected) << line;
    }
}

}  // namespace
}  // namespace vyr
