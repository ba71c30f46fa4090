// The maintainer's subcommands of vyr, run through the same command-line parsing as the
// executable with their output captured; the cases are in tests/data/vyr_cases.tsv.

#include <gtest/gtest.h>

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "command_line.h"
#include "cp1252.h"
#include "data_commands.h"
#include "data_table.h"
#include "temp_file.h"

namespace vyr::cli {
namespace {

using vyr::testing::json;
using vyr::testing::TempFile;

struct VyrRun {
    int code;
    std::string out, err;
};

VyrRun vyr(std::vector<std::string> args, const std::string& defaultData = TempFile::absentPath()) {
    args.insert(args.begin(), "vyr");
    std::vector<const char*> argv;
    for (const auto& a : args) argv.push_back(a.c_str());
    std::ostringstream out, err;
    CLI::App app{"vyr", "vyr"};
    int exitCode = exitOk;
    registerDataCommands(app, defaultData, exitCode, out, err);
    std::size_t index = 0;
    asNumber(app.add_subcommand("count")->add_option("--index", index));
    const int code = runCommandLine(app, static_cast<int>(argv.size()), argv.data(), exitCode, out, err);
    return {code, out.str(), err.str()};
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class VyrCommand : public ::testing::TestWithParam<json> {};

TEST_P(VyrCommand, GivesItsCodeOutputAndFile) {
    const json& c = GetParam();
    const std::string in = TempFile::absentPath(".txt"), out = TempFile::absentPath();
    const std::pair<std::string, std::string> places[] = {
        {"{in}", in}, {"{out}", out}, {"{missing}", TempFile::absentPath()}, {"{version}", VYR_VERSION},
        {"{dir}", std::filesystem::temp_directory_path().string()}, {"{ENOENT}", std::strerror(ENOENT)}};
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
        EXPECT_EQ(std::filesystem::exists(out), !c["written"].is_null());
        if (!c["written"].is_null()) {
            EXPECT_EQ(readBytes(out), expand("written"));
        }
    }
    std::filesystem::remove(in);
    std::filesystem::remove(out);
}

INSTANTIATE_TEST_SUITE_P(Table, VyrCommand, ::testing::ValuesIn(testing::readTable("vyr_commands.json")["cases"]),
                         [](const auto& info) { return info.param["name"].template get<std::string>(); });

// The list in the repository, and the data file the build makes from it.
const std::string sample = readBytes(VYR_SAMPLE_SPELLS), shipped = VYR_DATA_FILE;

TEST(ShippedDataFile, IsTheSampleListInTheExactForm) {
    std::string plain = sample.substr(0, sample.find_last_not_of("\r\n") + 1);
    ASSERT_TRUE(plain.ends_with(' '));
    const VyrRun check = vyr({"check", shipped});
    EXPECT_EQ(check.out, shipped + ": 79 spells load, no problems\n");
    EXPECT_EQ(vyr({"decode", shipped}).out, plain);
    plain = utf8ToCp1252(plain).text;
    EXPECT_EQ(readBytes(shipped), testing::scrambled(plain));
}

TEST(EncodeDecode, KeepEveryByteValue) {
    std::string stored;
    for (int i = 0; i < 512; ++i) stored += static_cast<char>(i * 37);
    const TempFile data(stored);
    for (const bool raw : {false, true}) {
        const std::string plain = TempFile::absentPath(".txt"), again = TempFile::absentPath();
        ASSERT_EQ(vyr({"decode", "--force", data.path(), "-o", plain, raw ? "--raw" : "--force"}).code, exitOk);
        ASSERT_EQ(vyr({"encode", "--force", plain, "-o", again, raw ? "--raw" : "--force"}).code, exitOk);
        EXPECT_EQ(readBytes(again), stored);
        std::filesystem::remove(plain);
        std::filesystem::remove(again);
    }
}

}  // namespace
}  // namespace vyr::cli
