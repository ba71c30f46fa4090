// The player commands as a player types them: options, errors, exit codes and files.
// The cases live in tests/data/analysis/cli.json; the figures are those of the analyses.

#include <gtest/gtest.h>

#include <CLI/CLI.hpp>

#include <filesystem>
#include <sstream>

#include "calc_commands.h"
#include "command_line.h"
#include "player_tools.h"
#include "sample_spells.h"

namespace vyr::cli {
namespace {

using nlohmann::json;

struct Outcome {
    int code;
    std::string out, err;
};

// Parses and runs one command line as vyr does.
Outcome vyr(std::vector<std::string> args, const std::string& input) {
    args.insert(args.begin(), "vyr");
    std::vector<const char*> argv;
    for (const auto& a : args) argv.push_back(a.c_str());
    std::istringstream in(input);
    std::ostringstream out, err;
    CLI::App app{"vyr", "vyr"};
    int exitCode = exitOk;
    registerCalcCommands(app, testing::sampleFile().path(), exitCode, out);
    registerPlayerTools(app, testing::sampleFile().path(), exitCode, in, out, err);
    const int code = runCommandLine(app, static_cast<int>(argv.size()), argv.data(), exitCode, out, err);
    return {code, out.str(), err.str()};
}

class Commands : public ::testing::TestWithParam<json> {};

TEST_P(Commands, GiveTheirResultOrOneLineNamingTheProblem) {
    const json& c = GetParam();
    const std::filesystem::path dir = testing::TempFile::absentPath("");
    std::filesystem::create_directories(dir);
    const json files = c.value("files", json::object());
    for (const auto& [name, text] : files.items()) {
        std::ofstream(dir / name, std::ios::binary) << text.get<std::string>();
    }
    std::vector<std::string> args;
    for (std::string a : c["args"]) {
        if (const std::size_t at = a.find("{dir}"); at != std::string::npos) a.replace(at, 5, dir.string());
        args.push_back(a);
    }
    const Outcome o = vyr(args, c.value("stdin", ""));
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
