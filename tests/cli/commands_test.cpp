// The subcommands of vyr, run through the same command-line parsing as the executable with
// their output captured: the maintainer's (cases in tests/data/vyr_commands.json) and the
// player's as a player types them (cases in tests/data/analysis/cli.json).

#include <gtest/gtest.h>

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <fstream>
#include <sstream>

#include "calc_commands.h"
#include "command_line.h"
#include "cp1252.h"
#include "data_commands.h"
#include "player_tools.h"
#include "spell_list.h"
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

// The maintainer's commands, or given a standard input the player's.
VyrRun vyr(std::vector<std::string> args, const std::string& data = TempFile::absentPath(), const std::optional<std::string>& input = {}) {
    args.insert(args.begin(), "vyr");
    std::vector<const char*> argv;
    for (const auto& a : args) argv.push_back(a.c_str());
    std::istringstream in(input.value_or(""));
    std::ostringstream out, err;
    CLI::App app{"vyr", "vyr"};
    int exitCode = exitOk;
    std::size_t index = 0;
    if (input) {
        registerCalcCommands(app, data, exitCode, out);
        registerPlayerTools(app, data, exitCode, in, out, err);
    } else {
        registerDataCommands(app, data, exitCode, out, err);
        app.add_subcommand("count")->add_option("--index", index);
    }
    const int code = runCommandLine(app, static_cast<int>(argv.size()), argv.data(), exitCode, out, err);
    return {code, out.str(), err.str()};
}

class VyrCommand : public ::testing::TestWithParam<json> {};

TEST_P(VyrCommand, GivesItsCodeOutputAndFile) {
    const json& c = GetParam();
    const std::string in = TempFile::absentPath(".txt"), out = TempFile::absentPath();
    const std::pair<std::string, std::string> places[] = {{"{in}", in}, {"{out}", out}, {"{missing}", TempFile::absentPath()},
        {"{version}", VYR_VERSION}, {"{dir}", std::filesystem::temp_directory_path().string()}, {"{ENOENT}", std::strerror(ENOENT)}};
    const auto fill = [&places](std::string text) {
        for (const auto& [name, value] : places) {
            for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + value.size()))
                text.replace(at, name.size(), value);
        }
        return text;
    };
    // A text of the case with its places filled in, as the bytes it stands for.
    const auto expand = [&](const std::string& key) {
        const std::string text = fill(c.value(key, ""));
        const std::string as = c.value(key + "As", "text");
        return as == "text" ? text : as == "bytes" ? testing::bytes(text) : testing::scrambled(testing::bytes(text));
    };
    if (c.contains("input")) std::ofstream(in, std::ios::binary) << expand("input");
    std::vector<std::string> args;
    for (const json& arg : c["args"]) args.push_back(fill(arg));
    const VyrRun run = vyr(args, in);
    EXPECT_EQ(run.code, c["code"].get<int>()) << run.err;
    EXPECT_EQ(run.out, c.contains("stdoutHas") ? run.out : expand("stdout"));
    EXPECT_EQ(run.err, c.contains("stderrHas") ? run.err : expand("stderr"));
    EXPECT_NE(run.out.find(expand("stdoutHas")), std::string::npos) << run.out;
    EXPECT_NE(run.err.find(expand("stderrHas")), std::string::npos) << run.err;
    if (c.contains("written")) {
        const auto file = std::filesystem::exists(out) ? std::optional(testing::fileText(out)) : std::nullopt;
        EXPECT_EQ(file, c["written"].is_null() ? std::nullopt : std::optional(expand("written")));
    }
    std::filesystem::remove(in);
    std::filesystem::remove(out);
}

INSTANTIATE_TEST_SUITE_P(Table, VyrCommand, ::testing::ValuesIn(testing::readTable("vyr_commands.json")["cases"]),
                         [](const auto& info) { return info.param["name"].template get<std::string>(); });

TEST(EditDistance, CountsInsertionsDeletionsAndSubstitutions) {
    for (const json& pair : testing::readTable("vyr_commands.json")["editDistances"]) {
        EXPECT_EQ(editDistance(pair[0].get<std::string>(), pair[1].get<std::string>()), pair[2].get<std::size_t>())
            << pair;
    }
}

// The list in the repository, and the data file the build makes from it.
const std::string sample = testing::fileText(VYR_SAMPLE_SPELLS), shipped = VYR_DATA_FILE;

TEST(ShippedDataFile, IsTheSampleListInTheExactForm) {
    std::string plain = sample.substr(0, sample.find_last_not_of("\r\n") + 1);
    ASSERT_TRUE(plain.ends_with(' '));
    const VyrRun check = vyr({"check", shipped});
    EXPECT_EQ(check.out, shipped + ": 79 spells load, no problems\n");
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

class Commands : public ::testing::TestWithParam<json> {};

TEST_P(Commands, GiveTheirResultOrOneLineNamingTheProblem) {
    const json& c = GetParam();
    const std::filesystem::path dir = TempFile::absentPath("");
    std::filesystem::create_directories(dir);
    const json files = c.value("files", json::object());
    for (const auto& [name, text] : files.items()) std::ofstream(dir / name, std::ios::binary) << text.get<std::string>();
    std::vector<std::string> args;
    for (std::string a : c["args"]) {
        if (const std::size_t at = a.find("{dir}"); at != std::string::npos) a.replace(at, 5, dir.string());
        args.push_back(a);
    }
    const VyrRun o = vyr(args, testing::sampleFile().path(), c.value("stdin", ""));
    EXPECT_EQ(o.code, c["code"]) << o.err;
    for (const json& part : c.value("out", json::array())) EXPECT_NE(o.out.find(part.get<std::string>()), std::string::npos) << part << "\nin:\n" << o.out;
    const std::string file = c.contains("file") ? testing::fileText((dir / c["file"][0].get<std::string>()).string()) : "";
    EXPECT_EQ(o.out, c.value("outExactly", o.out));
    EXPECT_NE(o.err.find(c.value("err", "")), std::string::npos) << o.err;
    EXPECT_TRUE(c.contains("err") || o.err.empty()) << o.err;
    EXPECT_NE(file.find(c.contains("file") ? c["file"][1].get<std::string>() : ""), std::string::npos) << file;
    std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Vyr, Commands, ::testing::ValuesIn(json::parse(testing::fileText(VYR_CLI_CASES)).get<std::vector<json>>()),
                         [](const auto& info) { return std::to_string(info.index) + "_" + info.param["args"][0].template get<std::string>(); });

}  // namespace
}  // namespace vyr::cli
