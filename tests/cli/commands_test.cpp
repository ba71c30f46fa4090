// Every subcommand of vyr, run through the same command-line parsing as the executable with
// its output captured (cases in tests/data/vyr_commands.json).

#include <gtest/gtest.h>

#include <CLI/CLI.hpp>

#include <filesystem>
#include <optional>
#include <fstream>
#include <sstream>

#include "calc_commands.h"
#include "command_line.h"
#include "cp1252.h"
#include "data_commands.h"
#include "player_tools.h"
#include "spell_check.h"
#include "spell_list.h"
#include "table.h"
#include "data_table.h"
#include "sample_spells.h"

namespace vyr::cli {
namespace {

using vyr::testing::json;
using vyr::testing::TempFile;

struct VyrRun {
    int code;
    std::string out, err;
};

VyrRun vyr(std::vector<std::string> args, const std::string& data = testing::sampleFile().path(),
           const std::string& input = "") {
    args.insert(args.begin(), "vyr");
    std::vector<const char*> argv;
    for (const auto& a : args) argv.push_back(a.c_str());
    std::istringstream in(input);
    std::ostringstream out, err;
    CLI::App app{"vyr", "vyr"};
    int exitCode = exitOk;
    registerDataCommands(app, data, exitCode, out, err);
    registerCalcCommands(app, data, exitCode, out, err);
    registerPlayerTools(app, data, exitCode, in, out, err);
    const int code = runCommandLine(app, static_cast<int>(argv.size()), argv.data(), exitCode, out, err);
    return {code, out.str(), err.str()};
}

struct VyrCommand : testing::TableCase {};

// What vyr says of a path through a file: Windows says it is not found.
#ifdef _WIN32
const std::string notAFolder = "fichier introuvable";
#else
const std::string notAFolder = "une partie du chemin n'est pas un dossier";
#endif

TEST_P(VyrCommand, GivesItsCodeOutputAndFile) {
    const json& c = GetParam();
    const std::string in = TempFile::absentPath(".txt"), out = TempFile::absentPath();
    const std::filesystem::path dir = TempFile::absentPath("");
    const std::size_t dataLength = testing::dataPath("given").size() - std::string("/given").size();
    std::filesystem::create_directories(dir);
    const json files = c.value("files", json::object());
    for (const auto& [name, text] : files.items()) std::ofstream(dir / name, std::ios::binary) << testing::joined(text);
    const std::pair<std::string, std::string> places[] = {{"{in}", in},
                                                          {"{out}", out},
                                                          {"{missing}", TempFile::absentPath()},
                                                          {"{version}", VYR_VERSION},
                                                          {"{dir}", dir.string()},
                                                          {"{data}", testing::dataPath("given").substr(0, dataLength)},
                                                          {"{ENOENT}", "fichier introuvable"},
                                                          {"{ENOTDIR}", notAFolder}};
    const auto fill = [&places](std::string text) {
        for (const auto& [name, value] : places) {
            for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + value.size()))
                text.replace(at, name.size(), value);
        }
        return text;
    };
    // A text of the case with its places filled in, as the bytes it stands for.
    const auto expand = [&](const std::string& key) {
        std::string text = fill(testing::joined(c.value(key, json(""))));
        for (int i = 1; i < c.value(key + "Times", 1); ++i) text += "\n" + fill(testing::joined(c[key]));
        const std::string as = c.value(key + "As", "text");
        return as == "text" ? text : as == "bytes" ? testing::bytes(text) : testing::scrambled(testing::bytes(text));
    };
    // Each part a case expects somewhere in a text.
    const auto expectParts = [&](const std::string& key, const std::string& text) {
        const json parts = c.value(key, json::array());
        for (const json& part : parts.is_array() ? parts : json::array({parts}))
            EXPECT_NE(text.find(fill(testing::joined(part))), std::string::npos) << part << " in:\n" << text;
    };
    if (c.contains("input")) std::ofstream(in, std::ios::binary) << expand("input");
    std::vector<std::string> args;
    for (const json& arg : c["args"]) args.push_back(fill(arg));
    const VyrRun run =
        vyr(args, c.contains("data") ? fill(c["data"]) : testing::sampleFile().path(), c.value("stdin", ""));
    const auto file = std::filesystem::exists(out) ? std::optional(testing::fileText(out)) : std::nullopt;
    EXPECT_EQ(run.code, c["code"].get<int>()) << run.err;
    if (!c.contains("stdoutHas")) {
        EXPECT_EQ(run.out, expand("stdout"));
    }
    if (!c.contains("stderrHas")) {
        EXPECT_EQ(run.err, expand("stderr"));
    }
    expectParts("stdoutHas", run.out);
    expectParts("stderrHas", run.err);
    expectParts("writtenHas", file.value_or(""));
    if (c.contains("written")) {
        EXPECT_EQ(file, c["written"].is_null() ? std::nullopt : std::optional(expand("written")));
    }
    std::filesystem::remove(in);
    std::filesystem::remove(out);
    std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Table, VyrCommand, ::testing::ValuesIn(testing::readTable("vyr_commands.json")["cases"]),
                         testing::caseName);

TEST(EditDistance, CountsInsertionsDeletionsAndSubstitutions) {
    for (const json& c : testing::readTable("vyr_commands.json")["editDistances"])
        EXPECT_EQ(editDistance(c["from"].get<std::string>(), c["to"].get<std::string>()), c["edits"].get<int>()) << c;
}

struct NarrowTable : testing::TableCase {};

// Every line of the aligned text within 100 characters (not bytes: "é" and "…" count one).
TEST_P(NarrowTable, FitsHundredColumns) {
    std::vector<std::string> args;
    for (const json& arg : GetParam()["args"]) args.push_back(arg);
    const VyrRun run = vyr(args);
    ASSERT_EQ(run.code, exitOk) << run.err;
    std::istringstream lines(run.out);
    std::size_t count = 0;
    for (std::string line; std::getline(lines, line); ++count) EXPECT_LE(characterCount(line), 100u) << line;
    EXPECT_GE(count, 3u);
}

INSTANTIATE_TEST_SUITE_P(Table, NarrowTable,
                         ::testing::ValuesIn(testing::readTable("vyr_commands.json")["narrowTables"]),
                         testing::caseName);

// The list in the repository, and the data file the build makes from it.
const std::string sample = testing::fileText(VYR_SAMPLE_SPELLS), shipped = VYR_DATA_FILE;

TEST(ShippedDataFile, IsTheSampleListInTheExactForm) {
    std::string plain = sample.substr(0, sample.find_last_not_of("\r\n") + 1);
    ASSERT_TRUE(plain.ends_with(' '));
    const VyrRun check = vyr({"check", shipped});
    EXPECT_EQ(check.out, shipped + " : 79 sorts se chargent, aucun problème\n");
    EXPECT_EQ(vyr({"decode", shipped}).out, plain);
    plain = utf8ToCp1252(plain).text;
    EXPECT_EQ(testing::fileText(shipped), testing::scrambled(plain));
}

TEST(EncodeDecode, KeepEveryByteValue) {
    std::string stored;
    for (int i = 0; i < 512; ++i) stored += static_cast<char>(i * 37);
    const TempFile data(stored);
    for (const bool raw : {false, true}) {
        const std::string plain = TempFile::absentPath(".txt"), again = TempFile::absentPath();
        ASSERT_EQ(vyr({"decode", "--force", data.path(), "-o", plain, raw ? "--raw" : "--force"}).code, exitOk);
        ASSERT_EQ(vyr({"encode", "--force", plain, "-o", again, raw ? "--raw" : "--force"}).code, exitOk);
        EXPECT_EQ(testing::fileText(again), stored);
        std::filesystem::remove(plain);
        std::filesystem::remove(again);
    }
}

}  // namespace
}  // namespace vyr::cli
