// The player's tools: profiles, compare, sweep (and its chart), calc --explain and batch.
// Every expected figure is checked against an ordinary vyr calc run or worked out by hand.

#include <gtest/gtest.h>

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "calc_commands.h"
#include "calc_support.h"
#include "character_inputs.h"
#include "command_line.h"
#include "data_commands.h"
#include "fields.h"
#include "memory_form.h"
#include "player_tools.h"
#include "temp_file.h"

namespace vyr::cli {
namespace {

using vyr::testing::TempFile;

// ---- helpers -------------------------------------------------------------------------

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Cells of a CSV line without quoted commas (the names checked here have none).
std::vector<std::string> splitCells(const std::string& line) {
    std::vector<std::string> cells;
    std::string cell;
    bool quoted = false;
    for (char c : line) {
        if (c == '"') quoted = !quoted;
        else if (c == ',' && !quoted) cells.push_back(std::exchange(cell, {}));
        else cell += c;
    }
    cells.push_back(cell);
    return cells;
}

// The text of "name": "..." in a vyr calc --json object.
std::string jsonText(const std::string& json, const std::string& name) {
    const std::string key = "\"" + name + "\": \"";
    const std::size_t at = json.find(key);
    if (at == std::string::npos) return "<absent>";
    const std::size_t start = at + key.size();
    return json.substr(start, json.find('"', start) - start);
}

struct Outcome {
    int code;
    std::string out;
    std::string err;
};

// The sample spell list as the build stores it, in a temporary file.
const TempFile& sampleData() {
    static const TempFile file = [] {
        std::ostringstream out, err;
        const std::string path = TempFile::absentPath();
        EXPECT_EQ(runEncode({VYR_SAMPLE_SPELLS, path}, out, err), exitOk) << err.str();
        TempFile stored(readBytes(path));
        std::filesystem::remove(path);
        return stored;
    }();
    return file;
}

SpellData loadSample() {
    SpellData data;
    std::string error;
    EXPECT_TRUE(loadSpellData(sampleData().path(), data, error)) << error;
    return data;
}

// A few spells of our own with figures chosen for hand-checked explanations. The names
// are ASCII but for one, which needs escaping in XML.
const char* const testSpells =
    "Essai feu:0 1 0 0 f 0 2 10 0 \n"            // 0: 2 + 1/10 stored as 2.0999999, scaled by 100/70
    "Essai roule:0 2 500 10 x 5 10 4 3 \n"       // 1: range, both divisors, level term
    "Essai sds:1 1 0 1 sds \n"                   // 2: a timing override
    "Essai stu:0 1 0 1 stu \n"                   // 3: a float rule
    "Essai sab:0 3 2000 1 sab \n"                // 4: nothing without rebirths
    "Feu & <glace> \"vive\":0 1 600 5 f 8 6 8 0 \n"  // 5: a name XML must escape
    "Essai armure:0 1 0 0 p 0 20 0 0 \n";        // 6: an armour bonus pair instead of a range

const TempFile& testData() {
    static const TempFile file = TempFile::scrambledFrom(testSpells);
    return file;
}

// Runs the tool's player commands through the same command-line parsing as vyr.
Outcome vyr(std::vector<std::string> args, const std::string& input = {}) {
    args.insert(args.begin(), "vyr");
    std::vector<const char*> argv;
    for (const auto& a : args) argv.push_back(a.c_str());
    std::istringstream in(input);
    std::ostringstream out, err;
    CLI::App app{"vyr", "vyr"};
    int exitCode = exitOk;
    registerPlayerTools(app, sampleData().path(), exitCode, in, out, err);
    const int code = runCommandLine(app, static_cast<int>(argv.size()), argv.data(), exitCode, out, err);
    return {code, out.str(), err.str()};
}

Outcome calc(const std::string& dataPath, std::size_t index, const InputTexts& inputs, bool json, bool explain = false) {
    CalcOptions options;
    options.dataPath = dataPath;
    options.index = index;
    options.inputs = inputs;
    options.json = json;
    options.explain = explain;
    std::ostringstream out, err;
    const int code = runCalc(options, out, err);
    return {code, out.str(), err.str()};
}

std::vector<std::string> outputNames() {
    std::vector<std::string> names;
    for (int id : outputDisplayOrder) names.emplace_back(findOutput(id)->name);
    return names;
}

// ---- profiles ------------------------------------------------------------------------

struct ProfileError {
    const char* name;
    const char* text;
    const char* expected;  // the error begins with this
};

class ProfileErrors : public ::testing::TestWithParam<ProfileError> {};

TEST_P(ProfileErrors, NameTheFileAndTheLine) {
    InputTexts inputs;
    std::string error;
    EXPECT_FALSE(parseProfile(GetParam().text, "perso.txt", inputs, error));
    EXPECT_EQ(error.substr(0, std::string(GetParam().expected).size()), GetParam().expected) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, ProfileErrors,
    ::testing::Values(
        ProfileError{"unknown_name", "level = 10\nlevle = 3\n", "perso.txt:2: unknown input \"levle\""},
        ProfileError{"camel_case_name", "wisdomBoosted = 3\n",
                     "perso.txt:1: unknown input \"wisdomBoosted\" (write it as the option: wisdom-boosted)"},
        ProfileError{"duplicate_name", "# moi\nlevel = 10\n\nlevel = 11\n", "perso.txt:4: \"level\" is given twice"},
        ProfileError{"negative_value", "fire-power = -5\n",
                     "perso.txt:1: fire-power: \"-5\" is not a whole number from 0 to 4294967295"},
        ProfileError{"value_past_32_bits", "level = 1\nrebirths = 4294967296",
                     "perso.txt:2: rebirths: \"4294967296\" is not a whole number"},
        ProfileError{"empty_value", "target-armour =\n", "perso.txt:1: target-armour: \"\" is not a whole number"},
        ProfileError{"no_equals_sign", "level 10\n", "perso.txt:1: expected \"name = value\""},
        ProfileError{"option_dashes", "--level = 10\n", "perso.txt:1: unknown input \"--level\""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Profiles, ReadCommentsBlankLinesCrLfAndAByteOrderMark) {
    InputTexts inputs;
    std::string error;
    ASSERT_TRUE(parseProfile("\xEF\xBB\xBF# mon perso\r\nlevel = 40  # niveau\r\n\r\n  fire-power=250\r\n", "p",
                             inputs, error))
        << error;
    EXPECT_EQ(inputs, (InputTexts{{field::level, "40"}, {field::firePower, "250"}}));
}

TEST(Profiles, AMissingFileIsNamed) {
    InputTexts inputs;
    std::string error;
    const std::string path = TempFile::absentPath(".txt");
    EXPECT_FALSE(loadProfile(path, inputs, error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
}

// What a form holds once the resolved inputs are written over the defaults, as runOnce does.
std::map<int, std::string> formAfter(const InputTexts& inputs) {
    InMemoryForm form;
    setDefaults(form);
    for (const auto& [id, text] : inputs) form.writeText(id, text.c_str());
    std::map<int, std::string> values;
    for (const InputField& f : inputFields) values[f.id] = form.fieldText(f.id);
    return values;
}

TEST(Profiles, TheCommandLineOverridesTheProfileWhichOverridesTheDefaults) {
    const TempFile profile("level = 40\nfire-power = 250\nwisdom-boosted = 60\n", ".txt");
    CLI::App app;
    CLI::App* command = app.add_subcommand("x");
    InputOptions options(*command);
    const std::string profilePath = profile.path();
    const char* argv[] = {"vyr", "x", "--level", "90", "--profile", profilePath.c_str(), "--fire-resist", "70"};
    app.parse(static_cast<int>(std::size(argv)), argv);
    InputTexts inputs;
    std::string error;
    ASSERT_TRUE(options.resolve(inputs, error)) << error;
    const auto values = formAfter(inputs);
    EXPECT_EQ(values.at(field::level), "90");          // both: the command line wins
    EXPECT_EQ(values.at(field::firePower), "250");     // profile only
    EXPECT_EQ(values.at(field::wisdomBoosted), "60");  // profile only
    EXPECT_EQ(values.at(field::fireResist), "70");     // command line only
    EXPECT_EQ(values.at(field::airPower), "100");      // neither: the default
}

TEST(Profiles, ABadProfileStopsACommandWithFileAndLine) {
    const TempFile profile("level = 40\nlevel = 41\n", ".txt");
    const Outcome run = vyr({"compare", "--profile", profile.path()});
    EXPECT_EQ(run.code, exitUsage);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(profile.path() + ":2: \"level\" is given twice"), std::string::npos) << run.err;
}

TEST(Profiles, ABadOptionValueStopsACommand) {
    const Outcome run = vyr({"sweep", "--index", "0", "--vary", "level=1..3", "--fire-power", "1e3"});
    EXPECT_EQ(run.code, exitUsage);
    EXPECT_NE(run.err.find("--fire-power: \"1e3\" is not a whole number"), std::string::npos) << run.err;
}

// ---- compare -------------------------------------------------------------------------

TEST(Compare, EveryRowEqualsASingleCalcRunOfThatSpell) {
    const TempFile profile("level = 40\nintelligence-boosted = 80\nwisdom-boosted = 55\n", ".txt");
    const Outcome run = vyr({"compare", "--profile", profile.path(), "--fire-resist", "70", "--rebirths", "2", "--csv"});
    ASSERT_EQ(run.code, exitOk) << run.err;
    const std::vector<std::string> lines = splitLines(run.out);
    const SpellData sample = loadSample();
    ASSERT_EQ(lines.size(), sample.names.size() + 1);
    const std::vector<std::string> header = splitCells(lines[0]);
    const InputTexts inputs{{field::level, "40"},     {field::intelligenceBoosted, "80"},
                            {field::wisdomBoosted, "55"}, {field::fireResist, "70"},
                            {field::rebirths, "2"}};
    for (std::size_t i = 0; i < sample.names.size(); ++i) {
        const std::vector<std::string> cells = splitCells(lines[i + 1]);
        ASSERT_EQ(cells.size(), header.size()) << lines[i + 1];
        EXPECT_EQ(cells[0], std::to_string(i));
        const Outcome single = calc(sampleData().path(), i, inputs, true);
        ASSERT_EQ(single.code, exitOk) << single.err;
        EXPECT_EQ(cells[1], jsonText(single.out, "spell"));
        for (std::size_t c = 2; c < header.size(); ++c) {
            if (header[c] == "effectPerSecond") continue;
            EXPECT_EQ(cells[c], jsonText(single.out, header[c])) << "spell " << i << ", " << header[c];
        }
    }
}

TEST(Compare, MeanEffectPerSecondIsShownOnlyWithARangeAndANonZeroRecast) {
    const Outcome run = vyr({"compare", "--csv"});
    ASSERT_EQ(run.code, exitOk) << run.err;
    const std::vector<std::string> lines = splitLines(run.out);
    const std::vector<std::string> header = splitCells(lines[0]);
    auto column = [&](const char* name) {
        return static_cast<std::size_t>(std::find(header.begin(), header.end(), name) - header.begin());
    };
    std::size_t withMean = 0;
    std::size_t withoutMean = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> cells = splitCells(lines[i]);
        const std::string& low = cells[column("effectMin")];
        const std::string& high = cells[column("effectMax")];
        const std::string& recast = cells[column("recastDelay")];
        const std::string& mean = cells[column("effectPerSecond")];
        if (low.empty() || high.empty() || recast.empty() || recast == "0") {
            EXPECT_EQ(mean, "") << lines[i];
            ++withoutMean;
            continue;
        }
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.2f",
                      (std::stod(low) + std::stod(high)) / 2 * 1000 / std::stod(recast));
        EXPECT_EQ(mean, expected) << lines[i];
        ++withMean;
    }
    EXPECT_GT(withMean, 0u);
    EXPECT_GT(withoutMean, 0u);  // the sample has spells without a range
}

TEST(Compare, SortsOnAColumnWithEmptyCellsLast) {
    const Outcome run = vyr({"compare", "--csv", "--sort", "effectMax", "--desc"});
    ASSERT_EQ(run.code, exitOk) << run.err;
    const std::vector<std::string> lines = splitLines(run.out);
    const std::size_t column = 3;  // index, name, effectMin, effectMax
    ASSERT_EQ(splitCells(lines[0])[column], "effectMax");
    std::optional<long long> previous;
    bool emptySeen = false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string cell = splitCells(lines[i])[column];
        if (cell.empty()) {
            emptySeen = true;
            continue;
        }
        EXPECT_FALSE(emptySeen) << "a value after an empty cell: " << lines[i];
        const long long value = std::stoll(cell);
        if (previous) {
            EXPECT_LE(value, *previous) << lines[i];
        }
        previous = value;
    }
    EXPECT_TRUE(emptySeen);
}

TEST(Compare, OnlyKeepsStandardOrSpecialSpells) {
    const SpellData sample = loadSample();
    for (const std::string kind : {"standard", "special"}) {
        const Outcome run = vyr({"compare", "--csv", "--only", kind});
        ASSERT_EQ(run.code, exitOk) << run.err;
        const std::vector<std::string> lines = splitLines(run.out);
        std::size_t expected = 0;
        for (std::size_t i = 0; i < sample.names.size(); ++i) {
            expected += ((*sample.catalogue)[i].code()[0] == 's') == (kind == "special");
        }
        ASSERT_EQ(lines.size(), expected + 1) << kind;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const std::size_t index = std::stoul(splitCells(lines[i])[0]);
            EXPECT_EQ((*sample.catalogue)[index].code()[0] == 's', kind == "special") << lines[i];
        }
    }
}

TEST(Compare, JsonIsAnArrayWithOneObjectPerSpellAndNullForEmptyOutputs) {
    const Outcome run = vyr({"compare", "--json", "--data", testData().path()});
    ASSERT_EQ(run.code, exitOk) << run.err;
    const std::vector<std::string> lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 7u + 2);
    EXPECT_EQ(lines.front(), "[");
    EXPECT_EQ(lines.back(), "]");
    // "Essai feu" at the defaults: 2 + 25 / 10 = 4.5 shows 4; 750 and 1000 ms at level 1
    // (the extra delay 0 - 20 is negative, so 0); (4 + 4) / 2 × 1000 / 1000 = 4.
    EXPECT_EQ(lines[1],
              "  {\"index\": 0, \"name\": \"Essai feu\", \"effectMin\": 4, \"effectMax\": 4, \"moveDelay\": 750, "
              "\"recastDelay\": 1000, \"successChance\": 100, \"effectPerSecond\": 4.00, \"strengthBonus\": null, "
              "\"dexterityBonus\": null, \"wisdomBonus\": null, \"intelligenceBonus\": null, \"hitPointsBonusMin\": "
              "null, \"hitPointsBonusMax\": null, \"armourBonusMin\": null, \"armourBonusMax\": null, \"attackBonus\": "
              "null, \"archeryBonus\": null},");
}

TEST(Compare, TheTableShowsWhatEachSpellGives) {
    const Outcome run = vyr({"compare", "--data", testData().path()});
    ASSERT_EQ(run.code, exitOk) << run.err;
    // Names are padded by characters, not bytes ("n°" is three bytes wide in UTF-8).
    EXPECT_EQ(run.out,
              "n°  Sort                  Effet                   Mouvement (ms)  Relance (ms)  Chances (%)  Effet par s\n"
              "--  --------------------  ----------------------  --------------  ------------  -----------  -----------\n"
              " 0  Essai feu             4 - 4                              750          1000          100         4.00\n"
              " 1  Essai roule           25 - 29                           2860          3360          100         8.04\n"
              " 2  Essai sds             (texte, voir vyr calc)            4910          5160          100\n"
              " 3  Essai stu             0 - 0                              750          1000          100         0.00\n"
              " 4  Essai sab                                               8250          9000            0\n"
              " 5  Feu & <glace> \"vive\"  10 - 17                           1430          1680          100         8.04\n"
              " 6  Essai armure          CA 20 - 20                         750          1000          100\n");
}

TEST(Compare, RefusesAnUnknownSortColumn) {
    const Outcome run = vyr({"compare", "--sort", "damage"});
    EXPECT_EQ(run.code, exitUsage);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("--sort: unknown column \"damage\""), std::string::npos) << run.err;
}

TEST(Compare, WritesNothingToTheStandardOutputWithAnOutputFile) {
    const std::string path = TempFile::absentPath(".csv");
    const Outcome run = vyr({"compare", "--csv", "-o", path});
    EXPECT_EQ(run.code, exitOk) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(readBytes(path), vyr({"compare", "--csv"}).out);
    std::filesystem::remove(path);
}

// ---- sweep ---------------------------------------------------------------------------

struct RangeCase {
    const char* name;
    const char* text;
    std::uint64_t count;   // 0: refused
    std::uint32_t first;
    std::uint32_t last;
    std::uint32_t step;
    const char* error;     // a part of the error when refused
};

class SweepRanges : public ::testing::TestWithParam<RangeCase> {};

TEST_P(SweepRanges, AreReadOrRefusedClearly) {
    const RangeCase& c = GetParam();
    SweepRange range;
    std::string error;
    const bool read = parseSweepRange(c.text, range, error);
    if (c.count == 0) {
        EXPECT_FALSE(read);
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
        return;
    }
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(range.count, c.count);
    EXPECT_EQ(range.first, c.first);
    EXPECT_EQ(range.last, c.last);
    EXPECT_EQ(range.step, c.step);
}

INSTANTIATE_TEST_SUITE_P(
    Sweep, SweepRanges,
    ::testing::Values(
        RangeCase{"levels_one_to_two_hundred", "level=1..200", 200, 1, 200, 1, ""},
        RangeCase{"with_a_step", "level=1..200:5", 40, 1, 200, 5, ""},
        RangeCase{"step_past_the_end", "level=1..10:20", 1, 1, 10, 20, ""},
        RangeCase{"one_value", "level=7..7", 1, 7, 7, 1, ""},
        RangeCase{"field_name_and_blanks", " wisdomBoosted = 10 .. 30 : 10 ", 3, 10, 30, 10, ""},
        RangeCase{"whole_32_bit_span", "fire-power=0..4294967295:4294967295", 2, 0, 4294967295u, 4294967295u, ""},
        RangeCase{"exactly_the_limit", "level=0..99999", 100000, 0, 99999, 1, ""},
        RangeCase{"one_past_the_limit", "level=0..100000", 0, 0, 0, 0, "100001 values, at most 100000"},
        RangeCase{"huge", "level=0..4294967295", 0, 0, 0, 0, "at most 100000"},
        RangeCase{"reversed", "level=200..1", 0, 0, 0, 0, "the range 200..1 is reversed"},
        RangeCase{"empty", "level=", 0, 0, 0, 0, "the range is empty"},
        RangeCase{"no_last", "level=5..", 0, 0, 0, 0, "the range is empty"},
        RangeCase{"no_first", "level=..5", 0, 0, 0, 0, "the range is empty"},
        RangeCase{"single_value_without_dots", "level=5", 0, 0, 0, 0, "the range is empty"},
        RangeCase{"zero_step", "level=1..10:0", 0, 0, 0, 0, "the step \"0\" must be a whole number from 1"},
        RangeCase{"empty_step", "level=1..10:", 0, 0, 0, 0, "the step \"\" must be"},
        RangeCase{"negative_bound", "level=-1..10", 0, 0, 0, 0, "\"-1\" is not a whole number"},
        RangeCase{"unknown_input", "levle=1..10", 0, 0, 0, 0, "unknown input \"levle\""},
        RangeCase{"no_equals_sign", "level 1..10", 0, 0, 0, 0, "expected NAME=FIRST..LAST[:STEP]"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Sweep, RowsRunFromFirstToLastStepApartAndEqualSingleRuns) {
    const Outcome run = vyr({"sweep", "--spell", "brasier", "--vary", "level=1..60:7", "--intelligence-boosted", "90", "--csv"});
    ASSERT_EQ(run.code, exitOk) << run.err;
    const std::vector<std::string> lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 9u + 1);  // 1, 8, …, 57
    const std::vector<std::string> header = splitCells(lines[0]);
    EXPECT_EQ(header, (std::vector<std::string>{"level", "effectMin", "effectMax", "moveDelay", "recastDelay",
                                                "successChance"}));
    for (std::size_t r = 1; r < lines.size(); ++r) {
        const std::vector<std::string> cells = splitCells(lines[r]);
        const std::string level = std::to_string(1 + 7 * (r - 1));
        EXPECT_EQ(cells[0], level);
        const Outcome single = calc(sampleData().path(), 3, {{field::intelligenceBoosted, "90"}, {field::level, level}}, true);
        for (std::size_t c = 1; c < header.size(); ++c) EXPECT_EQ(cells[c], jsonText(single.out, header[c])) << level;
    }
}

TEST(Sweep, TheVariedInputOverridesTheSameOption) {
    const Outcome varied = vyr({"sweep", "--index", "3", "--vary", "level=50..50", "--level", "1", "--csv"});
    const Outcome plain = vyr({"sweep", "--index", "3", "--vary", "level=50..50", "--csv"});
    ASSERT_EQ(varied.code, exitOk) << varied.err;
    EXPECT_EQ(varied.out, plain.out);
}

TEST(Sweep, RefusesABadRangeBeforeComputingAnything) {
    for (const char* range : {"level=10..1", "level=", "level=1..100001"}) {
        const Outcome run = vyr({"sweep", "--index", "0", "--vary", range});
        EXPECT_EQ(run.code, exitUsage) << range;
        EXPECT_EQ(run.out, "") << range;
        EXPECT_NE(run.err.find("vyr sweep: --vary level:"), std::string::npos) << run.err;
    }
}

TEST(Sweep, JsonRowsHoldTheVariedValueAndTheOutputsByFieldName) {
    const Outcome run = vyr({"sweep", "--data", testData().path(), "--index", "4", "--vary", "rebirths=0..1", "--json"});
    ASSERT_EQ(run.code, exitOk) << run.err;
    // "sab": no range and a chance of 0 without rebirths; (5 × 25) / 5 - 5 = 20 to 24 and 1 with one.
    EXPECT_EQ(run.out,
              "[\n"
              "  {\"rebirths\": 0, \"effectMin\": null, \"effectMax\": null, \"moveDelay\": 8250, \"recastDelay\": 9000, "
              "\"successChance\": 0},\n"
              "  {\"rebirths\": 1, \"effectMin\": 20, \"effectMax\": 24, \"moveDelay\": 8250, \"recastDelay\": 9000, "
              "\"successChance\": 1}\n"
              "]\n");
}

TEST(Sweep, TheTableShowsASpecialTextOnceAboveTheRows) {
    const Outcome run = vyr({"sweep", "--data", testData().path(), "--index", "2", "--vary", "level=108..110"});
    ASSERT_EQ(run.code, exitOk) << run.err;
    // "sds": 1060 - (level - 56) × 20 is 20, 0, then negative and so 0.
    EXPECT_EQ(run.out,
              "Spécial : Dissipe certains sorts maléfiques\n"
              "\n"
              "Level  Mouvement (ms)  Relance (ms)  Chances (%)\n"
              "-----  --------------  ------------  -----------\n"
              "  108            2770          3020          100\n"
              "  109            2750          3000          100\n"
              "  110            2750          3000          100\n");
}

// A small XML well-formedness check: one root, nested tags closed in order, quoted and
// distinct attributes, known entities only, nothing after the root.
bool wellFormedXml(const std::string& xml, std::string& problem) {
    std::size_t i = 0;
    auto fail = [&](const std::string& why) {
        problem = why + " at byte " + std::to_string(i);
        return false;
    };
    auto nameChar = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == ':' || c == '.';
    };
    auto checkText = [&](std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < to; ++k) {
            if (xml[k] == '<') return false;
            if (xml[k] != '&') continue;
            const std::size_t semi = xml.find(';', k);
            if (semi == std::string::npos || semi > to) return false;
            const std::string entity = xml.substr(k + 1, semi - k - 1);
            const bool known = entity == "amp" || entity == "lt" || entity == "gt" || entity == "quot" ||
                               entity == "apos" || (entity.size() > 1 && entity[0] == '#');
            if (!known) return false;
        }
        return true;
    };
    if (xml.compare(0, 5, "<?xml") == 0) {
        i = xml.find("?>");
        if (i == std::string::npos) return fail("unterminated declaration");
        i += 2;
    }
    std::vector<std::string> open;
    bool rootDone = false;
    while (i < xml.size()) {
        const std::size_t lt = xml.find('<', i);
        const std::size_t textEnd = lt == std::string::npos ? xml.size() : lt;
        if (!checkText(i, textEnd)) return fail("bad character data");
        if ((open.empty()) && xml.find_first_not_of(" \t\r\n", i) < textEnd) return fail("text outside the root");
        if (lt == std::string::npos) break;
        i = lt + 1;
        if (xml.compare(i, 3, "!--") == 0) {
            const std::size_t end = xml.find("-->", i);
            if (end == std::string::npos) return fail("unterminated comment");
            i = end + 3;
            continue;
        }
        const bool closing = i < xml.size() && xml[i] == '/';
        if (closing) ++i;
        const std::size_t nameStart = i;
        while (i < xml.size() && nameChar(xml[i])) ++i;
        const std::string name = xml.substr(nameStart, i - nameStart);
        if (name.empty()) return fail("tag without a name");
        if (closing) {
            while (i < xml.size() && std::isspace(static_cast<unsigned char>(xml[i]))) ++i;
            if (i >= xml.size() || xml[i] != '>') return fail("bad closing tag");
            if (open.empty() || open.back() != name) return fail("</" + name + "> closes nothing open");
            open.pop_back();
            ++i;
            if (open.empty()) rootDone = true;
            continue;
        }
        if (rootDone && open.empty()) return fail("a second root");
        std::vector<std::string> attributes;
        for (;;) {
            while (i < xml.size() && std::isspace(static_cast<unsigned char>(xml[i]))) ++i;
            if (i >= xml.size()) return fail("unterminated tag");
            if (xml[i] == '>') {
                open.push_back(name);
                ++i;
                break;
            }
            if (xml.compare(i, 2, "/>") == 0) {
                i += 2;
                if (open.empty()) rootDone = true;
                break;
            }
            const std::size_t attributeStart = i;
            while (i < xml.size() && nameChar(xml[i])) ++i;
            const std::string attribute = xml.substr(attributeStart, i - attributeStart);
            if (attribute.empty() || i >= xml.size() || xml[i] != '=') return fail("bad attribute in <" + name + ">");
            if (std::find(attributes.begin(), attributes.end(), attribute) != attributes.end())
                return fail("attribute " + attribute + " twice");
            attributes.push_back(attribute);
            ++i;
            if (i >= xml.size() || (xml[i] != '"' && xml[i] != '\'')) return fail("unquoted attribute " + attribute);
            const char quote = xml[i++];
            const std::size_t end = xml.find(quote, i);
            if (end == std::string::npos || !checkText(i, end)) return fail("bad value of " + attribute);
            i = end + 1;
        }
    }
    if (!open.empty()) return fail("<" + open.back() + "> never closed");
    if (!rootDone) return fail("no root element");
    return true;
}

TEST(XmlCheck, CatchesWhatItIsMeantToCatch) {
    std::string problem;
    EXPECT_TRUE(wellFormedXml("<?xml version=\"1.0\"?>\n<a x=\"1\"><b/>t &amp; u</a>\n", problem)) << problem;
    for (const char* bad : {"<a><b></a></b>", "<a x=1/>", "<a>&nbsp;</a>", "<a>1 < 2</a>", "<a/><b/>",
                            "<a x=\"1\" x=\"2\"/>", "<a>", "<a y=\"<\"/>"}) {
        EXPECT_FALSE(wellFormedXml(bad, problem)) << bad;
    }
}

// The d attribute of the element with this id.
std::string pathData(const std::string& svg, const std::string& id) {
    const std::size_t at = svg.find("id=\"" + id + "\"");
    if (at == std::string::npos) return "<absent>";
    const std::size_t d = svg.find(" d=\"", at);
    const std::size_t end = svg.find('"', d + 4);
    return svg.substr(d + 4, end - d - 4);
}

struct ChartCase {
    const char* name;
    std::vector<std::string> args;
    bool band;
    const char* bandLabel;
};

class SweepCharts : public ::testing::TestWithParam<ChartCase> {};

TEST_P(SweepCharts, AreWellFormedSelfContainedSvgWithTheExpectedSeries) {
    const std::string path = TempFile::absentPath(".svg");
    std::vector<std::string> args{"sweep", "--data", testData().path(), "--svg", path};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    const Outcome run = vyr(args);
    ASSERT_EQ(run.code, exitOk) << run.err;
    const std::string svg = readBytes(path);
    std::filesystem::remove(path);
    std::string problem;
    EXPECT_TRUE(wellFormedXml(svg, problem)) << problem;
    EXPECT_NE(svg.find("<svg xmlns=\"http://www.w3.org/2000/svg\""), std::string::npos);
    for (const char* external : {"href", "<script", "<image", "url(", "@import"}) {
        EXPECT_EQ(svg.find(external), std::string::npos) << external;
    }
    for (const char* series : {"move-delay", "recast-delay"}) {
        EXPECT_EQ(pathData(svg, series).substr(0, 1), "M") << series;
    }
    EXPECT_EQ(svg.find("id=\"effect-band\"") != std::string::npos, GetParam().band);
    if (GetParam().band) {
        for (const char* series : {"effect-range", "effect-min", "effect-max"}) {
            EXPECT_EQ(pathData(svg, series).substr(0, 1), "M") << series;
        }
        EXPECT_NE(pathData(svg, "effect-range").find('Z'), std::string::npos);
        EXPECT_NE(svg.find(std::string(">") + GetParam().bandLabel), std::string::npos);
    }
    EXPECT_NE(svg.find(">Délais (ms)</text>"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Sweep, SweepCharts,
    ::testing::Values(
        ChartCase{"standard_spell_over_levels", {"--index", "1", "--vary", "level=1..200"}, true, "Dégats ou PV gagnés"},
        ChartCase{"many_more_values_than_pixels", {"--index", "1", "--vary", "level=1..20000"}, true,
                  "Dégats ou PV gagnés"},
        ChartCase{"a_range_with_a_gap", {"--index", "4", "--vary", "rebirths=0..5"}, true, "Dégats ou PV gagnés"},
        ChartCase{"armour_pair_as_the_band", {"--index", "6", "--vary", "target-armour=0..30"}, true, "Bonus CA"},
        ChartCase{"no_range_at_all", {"--index", "2", "--vary", "level=1..150"}, false, ""},
        ChartCase{"a_single_value", {"--index", "0", "--vary", "level=5..5"}, true, "Dégats ou PV gagnés"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Sweep, TheChartEscapesTheSpellName) {
    const std::string path = TempFile::absentPath(".svg");
    const Outcome run = vyr({"sweep", "--data", testData().path(), "--index", "5", "--vary", "level=1..9", "--svg", path});
    ASSERT_EQ(run.code, exitOk) << run.err;
    const std::string svg = readBytes(path);
    std::filesystem::remove(path);
    EXPECT_NE(svg.find("<title>Feu &amp; &lt;glace&gt; &quot;vive&quot; selon Level</title>"), std::string::npos);
    std::string problem;
    EXPECT_TRUE(wellFormedXml(svg, problem)) << problem;
}

TEST(Sweep, TheLongestSweepMakesASmallChartAndAFullTable) {
    const std::string path = TempFile::absentPath(".svg");
    const std::string table = TempFile::absentPath(".csv");
    const Outcome run = vyr({"sweep", "--data", testData().path(), "--index", "1", "--vary", "level=1..100000", "--svg",
                             path, "--csv", "-o", table});
    ASSERT_EQ(run.code, exitOk) << run.err;
    EXPECT_EQ(run.out, "");
    const std::string svg = readBytes(path);
    const std::vector<std::string> rows = splitLines(readBytes(table));
    std::filesystem::remove(path);
    std::filesystem::remove(table);
    ASSERT_EQ(rows.size(), 100000u + 1);
    EXPECT_EQ(splitCells(rows.back())[0], "100000");
    // A few points per pixel column, not 100 000 per line.
    EXPECT_LT(svg.size(), 200000u);
    std::string problem;
    EXPECT_TRUE(wellFormedXml(svg, problem)) << problem;
}

// ---- calc --explain ------------------------------------------------------------------

struct ExplainCase {
    const char* name;
    std::size_t index;
    InputTexts inputs;
    std::vector<std::string> lines;  // each must be one line of the explanation, in this order
};

class Explanations : public ::testing::TestWithParam<ExplainCase> {};

TEST_P(Explanations, ShowEveryStepWithItsFigures) {
    const ExplainCase& c = GetParam();
    const Outcome run = calc(testData().path(), c.index, c.inputs, false, true);
    ASSERT_EQ(run.code, exitOk) << run.err;
    const std::size_t start = run.out.find("Détail du calcul :\n");
    ASSERT_NE(start, std::string::npos) << run.out;
    const std::vector<std::string> steps = splitLines(run.out.substr(start));
    auto at = steps.begin();
    for (const std::string& expected : c.lines) {
        const auto found = std::find(at, steps.end(), "  " + expected);
        EXPECT_NE(found, steps.end()) << "missing or out of order: " << expected << "\nin:\n" << run.out;
        if (found != steps.end()) at = found + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Calc, Explanations,
    ::testing::Values(
        // 2 + 1/10 is 2.1 in double but 2.0999999046325684 once stored in single precision;
        // × 100 / 70 then gives 2.99999986…, stored as 2.999999761581421, shown 2 and not 3.
        ExplainCase{"single_precision_step_shows_2_not_3",
                    0,
                    {{field::intelligenceBoosted, "1"}, {field::fireResist, "70"}},
                    {"Terme de niveau : (niveau 1 - niveau du sort 0) × 20 = 20",
                     "Délai supplémentaire : 0 - (20) = -20, négatif donc 0",
                     "Temps avant mouvement de base : 1 × (0 + 750) = 750 ms",
                     "Relance de base : 1 × (0 + 1000) = 1000 ms",
                     "Jet fixe : 2 → 2 (stocké en simple précision, les deux bouts)",
                     "Intelligence : 1 / 10 = 0.1, ajouté aux deux bouts",
                     "Intelligence : bas 0.1 + 2 = 2.1 → 2.0999999046325684 ; haut 0.1 + 2 = 2.1 → "
                     "2.0999999046325684 (stockés en simple précision)",
                     "Sagesse : diviseur 0, pas de terme",
                     "Mise à l'échelle feu (puissance 100, résistance 70) : bas (100 × 2.0999999046325684) / 70 = "
                     "2.999999863760812 → 2.999999761581421 ; haut (100 × 2.0999999046325684) / 70 = "
                     "2.999999863760812 → 2.999999761581421 (stockés en simple précision)",
                     "Armure de la cible : bas 2.999999761581421 - 0 = 2.999999761581421 → 2.999999761581421 ; "
                     "haut 2.999999761581421 - 0 = 2.999999761581421 → 2.999999761581421 (stockés en simple "
                     "précision)",
                     "Plancher à 1 : bas 2.999999761581421 (inchangé), haut 2.999999761581421 (inchangé)",
                     "Effet affiché (tronqué vers zéro) : 2 - 2",
                     "Affiché : relance 1000 ms, mouvement 750 ms, chances 100 %"}},
        // Range 11 to 15, + 25/4 and + 25/3, armour 30 floors the low end.
        ExplainCase{"range_divisors_armour_and_floor",
                    1,
                    {{field::targetArmour, "30"}},
                    {"Terme de niveau : (niveau 1 - niveau du sort 10) × 20 = -180",
                     "Délai supplémentaire : 500 - (-180) = 680",
                     "Temps avant mouvement de base : 2 × (680 + 750) = 2860 ms",
                     "Jet : bas 10 + 1 = 11 → 11 ; haut 10 + 5 = 15 → 15 (stockés en simple précision)",
                     "Intelligence : 25 / 4 = 6.25, ajouté aux deux bouts",
                     "Sagesse : 25 / 3 = 8.333333333333334, ajouté aux deux bouts",
                     "Sagesse : bas 8.333333333333334 + 17.25 = 25.583333333333336 → 25.58333396911621 ; haut "
                     "8.333333333333334 + 21.25 = 29.583333333333336 → 29.58333396911621 (stockés en simple "
                     "précision)",
                     "Mise à l'échelle : aucune, la première lettre du code n'en demande pas",
                     "Plancher à 1 : bas -4.416666030883789 → 1, haut -0.41666603088378906 → 1",
                     "Effet affiché (tronqué vers zéro) : 1 - 1"}},
        ExplainCase{"special_rule_with_its_level_term",
                    2,
                    {},
                    {"Sort spécial, règle « sds », avec sa description",
                     "Terme de niveau : 1060 - (niveau 1 - 56) × 20 = 2160",
                     "Délais remplacés : mouvement 2160 + 2750 = 4910 ms, relance 2160 + 3000 = 5160 ms",
                     "Affiché : relance 5160 ms, mouvement 4910 ms, chances 100 %"}},
        ExplainCase{"special_rule_formula_with_figures",
                    3,
                    {{field::wisdomBoosted, "1000"}, {field::lightPower, "300"}, {field::level, "10"}},
                    {"Sort spécial, règle « stu », avec sa description",
                     "D = 2 × niveau 10 = 20 (entier 32 bits), diviseur D + 20 = 40",
                     "Effet min : ((((sagesse boostée 1000 / 16) + 28) × lumière 300 / 5000) × 1000) / 40 = 135.75 → "
                     "affiché 135",
                     "Effet max : ((((1000 / 16) + 33) × 300 / 5000) × 1000) / 40 = 143.25 → affiché 143"}},
        ExplainCase{"special_rule_without_rebirths",
                    4,
                    {},
                    {"Sort spécial, règle « sab »", "Aucune renaissance : chances 0, pas d'effet",
                     "Affiché : relance 9000 ms, mouvement 8250 ms, chances 0 %"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Calc, ExplainsNothingUnlessAsked) {
    const Outcome run = calc(testData().path(), 0, {}, false, false);
    ASSERT_EQ(run.code, exitOk) << run.err;
    EXPECT_EQ(run.out.find("Détail"), std::string::npos);
}

// ---- batch ---------------------------------------------------------------------------

Outcome batch(const std::vector<std::string>& extra, const std::string& input) {
    std::vector<std::string> args{"batch"};
    args.insert(args.end(), extra.begin(), extra.end());
    return vyr(args, input);
}

// The CSV result line that vyr calc gives for the same spell and inputs.
std::string expectedCsvLine(std::size_t line, std::size_t index, const InputTexts& inputs) {
    const Outcome single = calc(sampleData().path(), index, inputs, true);
    std::string text = std::to_string(line) + "," + jsonText(single.out, "spell") + "," + std::to_string(index);
    for (const std::string& name : outputNames()) text += "," + jsonText(single.out, name);
    return text;
}

TEST(Batch, ComputesGoodLinesReportsBadOnesAndFails) {
    const std::string input =
        "{\"spell\": \"Brasier\", \"level\": 40, \"intelligenceBoosted\": \"90\"}\n"  // 1
        "{\"index\": 3, \"fire-resist\": 70}\n"                                        // 2: option names too
        "\n"                                                                           // 3: blank, skipped
        "{\"spell\": \"Nulle part\"}\n"                                                // 4
        "{\"spell\": \"Brasier\", \"levle\": 3}\n"                                     // 5
        "{\"index\": 3, \"level\": 2.5}\n"                                             // 6
        "{\"index\": 3, \"level\": -1}\n"                                              // 7
        "{\"index\": 999}\n"                                                           // 8
        "{\"spell\": \"Brasier\", \"index\": 3}\n"                                     // 9
        "{\"level\": 3}\n"                                                             // 10
        "{\"index\": 3, \"level\": 3, \"level\": 4}\n"                                 // 11
        "{\"index\": 3, \"level\": true}\n"                                            // 12
        "pas du json\n"                                                                // 13
        "{\"spell\": \"\\u00c9clair\", \"wisdomBoosted\": 1e3}\n"                      // 14
        "{\"spell\": \"\\u00c9clair\", \"wisdomBoosted\": 1000}\r\n"                   // 15: escape, CR LF
        "{\"index\": 3} trailing\n"                                                    // 16
        "{\"index\": 0}";                                                              // 17: no final line break
    const Outcome run = batch({}, input);
    EXPECT_EQ(run.code, exitProblems);
    const std::vector<std::string> lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 1u + 4);
    std::string header = "line,spell,index";
    for (const std::string& name : outputNames()) header += "," + name;
    EXPECT_EQ(lines[0], header);
    EXPECT_EQ(lines[1], expectedCsvLine(1, 3, {{field::level, "40"}, {field::intelligenceBoosted, "90"}}));
    EXPECT_EQ(lines[2], expectedCsvLine(2, 3, {{field::fireResist, "70"}}));
    EXPECT_EQ(lines[3], expectedCsvLine(15, 13, {{field::wisdomBoosted, "1000"}}));
    EXPECT_EQ(lines[4], expectedCsvLine(17, 0, {}));
    const std::vector<std::string> errors = splitLines(run.err);
    const std::vector<std::string> expectedErrors = {
        "vyr batch: line 4: no spell is named \"Nulle part\"",
        "vyr batch: line 5: unknown name \"levle\"",
        "vyr batch: line 6: level: 2.5 is not a whole number from 0 to 4294967295",
        "vyr batch: line 7: level: -1 is not a whole number",
        "vyr batch: line 8: index 999 is past the list",
        "vyr batch: line 9: give spell or index, not both",
        "vyr batch: line 10: no spell or index",
        "vyr batch: line 11: \"level\" is given twice",
        "vyr batch: line 12: the value of \"level\" must be a number or a string",
        "vyr batch: line 13: expected a JSON object",
        "vyr batch: line 14: wisdomBoosted: 1e3 is not a whole number",
        "vyr batch: line 16: text after the end of the object",
        "vyr batch: 12 lines failed, the others were computed"};
    ASSERT_EQ(errors.size(), expectedErrors.size()) << run.err;
    for (std::size_t i = 0; i < errors.size(); ++i) {
        EXPECT_EQ(errors[i].substr(0, expectedErrors[i].size()), expectedErrors[i]);
    }
}

TEST(Batch, ReadsCsvWithAHeaderAndWritesJsonLines) {
    const std::string input =
        "spell,index,level, wisdom-boosted\n"
        "\"Brasier\",,40,\n"          // empty cells: not given
        ",75,451,7\n"                 // a special spell with its text
        "Brasier,,x,\n"               // bad value
        "Brasier,,1\n"                // too few cells
        "\"Moisson d'âmes\",,,\n";
    const Outcome run = batch({"--json"}, input);
    EXPECT_EQ(run.code, exitProblems);
    const std::vector<std::string> lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 3u);
    // The same outputs object as vyr calc --json, behind the line number.
    const Outcome brasier = calc(sampleData().path(), 3, {{field::level, "40"}}, true);
    const std::string outputs = brasier.out.substr(brasier.out.find("{\"effectMin\""));
    EXPECT_EQ(lines[0] + "\n", "{\"line\": 2, \"spell\": \"Brasier\", \"index\": 3, \"outputs\": " + outputs);
    const Outcome sanctuary = calc(sampleData().path(), 75, {{field::level, "451"}, {field::wisdomBoosted, "7"}}, true);
    EXPECT_EQ(jsonText(lines[1], "recastDelay"), "300");
    for (const std::string& name : outputNames()) EXPECT_EQ(jsonText(lines[1], name), jsonText(sanctuary.out, name));
    EXPECT_NE(jsonText(lines[1], "specialText"), "");
    EXPECT_EQ(jsonText(lines[2], "spell"), "Moisson d'âmes");
    EXPECT_EQ(splitLines(run.err),
              (std::vector<std::string>{"vyr batch: line 4: level: \"x\" is not a whole number from 0 to 4294967295",
                                        "vyr batch: line 5: 3 cells, the header has 4",
                                        "vyr batch: 2 lines failed, the others were computed"}));
}

TEST(Batch, ProfileAndOptionsApplyUnderEachLine) {
    const TempFile profile("level = 40\nintelligence-boosted = 90\n", ".txt");
    const Outcome run = batch({"--profile", profile.path(), "--fire-resist", "70"},
                          "index,level\n3,\n3,60\n");
    ASSERT_EQ(run.code, exitOk) << run.err;
    const std::vector<std::string> lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], expectedCsvLine(2, 3, {{field::level, "40"}, {field::intelligenceBoosted, "90"},
                                               {field::fireResist, "70"}}));
    EXPECT_EQ(lines[2], expectedCsvLine(3, 3, {{field::level, "60"}, {field::intelligenceBoosted, "90"},
                                               {field::fireResist, "70"}}));
}

TEST(Batch, AnUnusableCsvHeaderStopsTheRun) {
    for (const char* header : {"spell,levle\n", "spell,level,level\n", "level,fire-power\n"}) {
        const Outcome run = batch({}, std::string(header) + "Brasier,1\n");
        EXPECT_EQ(run.code, exitUsage) << header;
        EXPECT_NE(run.err.find("vyr batch: line 1: "), std::string::npos) << run.err;
    }
}

TEST(Batch, LinesLongerThanOneReadBlockAndManyLinesAreAllComputed) {
    // 1 MiB blocks: some of these lines straddle two blocks, and one is longer than a block.
    std::string input;
    const std::size_t count = 40000;
    for (std::size_t i = 0; i < count; ++i) {
        input += "{\"index\": " + std::to_string(i % 79) + ", \"level\": " + std::to_string(1 + i % 200) + "}\n";
    }
    input += "{\"index\": 2," + std::string(1500000, ' ') + "\"level\": 7}\n";
    const Outcome run = batch({"--json"}, input);
    ASSERT_EQ(run.code, exitOk) << run.err.substr(0, 500);
    const std::vector<std::string> lines = splitLines(run.out);
    ASSERT_EQ(lines.size(), count + 1);
    for (std::size_t i : {std::size_t{0}, std::size_t{12345}, count - 1}) {
        EXPECT_EQ(lines[i].substr(0, lines[i].find(',')), "{\"line\": " + std::to_string(i + 1));
        const Outcome single = calc(sampleData().path(), i % 79, {{field::level, std::to_string(1 + i % 200)}}, true);
        for (const std::string& name : outputNames()) EXPECT_EQ(jsonText(lines[i], name), jsonText(single.out, name));
    }
    const Outcome single = calc(sampleData().path(), 2, {{field::level, "7"}}, true);
    EXPECT_EQ(jsonText(lines[count], "moveDelay"), jsonText(single.out, "moveDelay"));
}

TEST(Batch, ReadsAnInputFileAndWritesAnOutputFile) {
    const TempFile input("{\"index\": 3}\n", ".jsonl");
    const std::string output = TempFile::absentPath(".csv");
    const Outcome run = batch({input.path(), "-o", output}, "");
    ASSERT_EQ(run.code, exitOk) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(splitLines(readBytes(output)).at(1), expectedCsvLine(1, 3, {}));
    std::filesystem::remove(output);
    const Outcome missing = batch({TempFile::absentPath(".jsonl")}, "");
    EXPECT_EQ(missing.code, exitUsage);
    EXPECT_NE(missing.err.find("cannot be read"), std::string::npos);
}

}  // namespace
}  // namespace vyr::cli
