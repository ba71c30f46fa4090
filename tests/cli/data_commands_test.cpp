// The maintainer's subcommands of vyr, run through the same command-line parsing as the
// executable, with their output captured.

#include <gtest/gtest.h>

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstring>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "command_line.h"
#include "cp1252.h"
#include "data_commands.h"
#include "spell_file.h"
#include "temp_file.h"

namespace vyr::cli {
namespace {

using vyr::testing::TempFile;

struct VyrRun {
    int code;
    std::string out;
    std::string err;
};

VyrRun vyr(std::vector<std::string> args, const std::string& defaultData = TempFile::absentPath()) {
    args.insert(args.begin(), "vyr");
    std::vector<const char*> argv;
    for (const auto& a : args) argv.push_back(a.c_str());
    std::ostringstream out, err;
    CLI::App app{"vyr", "vyr"};
    int exitCode = exitOk;
    registerDataCommands(app, defaultData, exitCode, out, err);
    const int code = runCommandLine(app, static_cast<int>(argv.size()), argv.data(), exitCode, out, err);
    return {code, out.str(), err.str()};
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::string samplePath = VYR_SAMPLE_SPELLS;

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
}
std::size_t lineCount(const std::string& text) { return count(text, "\n"); }

// The sample list as vyr encode stores it, in a temporary file.
TempFile encodedSample() {
    const std::string path = TempFile::absentPath();
    const VyrRun run = vyr({"encode", samplePath, "-o", path});
    EXPECT_EQ(run.code, exitOk) << run.err;
    TempFile file(readBytes(path));
    std::filesystem::remove(path);
    return file;
}

TEST(EncodeDecode, GiveBackTheSampleListByteForByte) {
    const std::string sample = readBytes(samplePath);
    ASSERT_FALSE(sample.empty());
    const TempFile datFile = encodedSample();
    const std::string plain = TempFile::absentPath(".txt");
    const VyrRun toFile = vyr({"decode", datFile.path(), "-o", plain});
    EXPECT_EQ(toFile.code, exitOk) << toFile.err;
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(readBytes(plain), sample);
    std::filesystem::remove(plain);

    const VyrRun toOut = vyr({"decode", datFile.path()});
    EXPECT_EQ(toOut.code, exitOk);
    EXPECT_EQ(toOut.out, sample);
}

TEST(EncodeDecode, EncodedSampleIsScrambledWindows1252) {
    const std::string sample = readBytes(samplePath);
    const TempFile datFile = encodedSample();
    std::string expected = utf8ToCp1252(sample).text;
    unscramble(expected.data(), expected.size());
    EXPECT_EQ(readBytes(datFile.path()), expected);

    const VyrRun raw = vyr({"decode", "--raw", datFile.path()});
    EXPECT_EQ(raw.out, utf8ToCp1252(sample).text);
}

TEST(EncodeDecode, EveryByteValueSurvivesDecodeThenEncode) {
    std::string stored;
    for (int i = 0; i < 512; ++i) stored += static_cast<char>(i * 37);
    TempFile dat(stored);
    const std::string plain = TempFile::absentPath(".txt"), again = TempFile::absentPath();
    ASSERT_EQ(vyr({"decode", dat.path(), "-o", plain}).code, exitOk);
    ASSERT_EQ(vyr({"encode", plain, "-o", again}).code, exitOk);
    EXPECT_EQ(readBytes(again), stored);
    std::filesystem::remove(plain);
    std::filesystem::remove(again);
}

struct EncodeErrorCase {
    const char* label;
    std::string utf8;
    std::string message;  // after "PLAIN:"
};
std::ostream& operator<<(std::ostream& os, const EncodeErrorCase& c) { return os << c.label; }

class EncodeRejects : public ::testing::TestWithParam<EncodeErrorCase> {};

TEST_P(EncodeRejects, NamesLineAndColumnAndWritesNothing) {
    TempFile plain(GetParam().utf8, ".txt");
    TempFile existing("avant");
    const VyrRun run = vyr({"encode", plain.path(), "-o", existing.path()});
    EXPECT_EQ(run.code, exitProblems);
    EXPECT_EQ(run.err, plain.path() + ":" + GetParam().message + "; nothing written\n");
    EXPECT_EQ(readBytes(existing.path()), "avant");

    const std::string absent = TempFile::absentPath();
    EXPECT_EQ(vyr({"encode", plain.path(), "-o", absent}).code, exitProblems);
    EXPECT_FALSE(std::filesystem::exists(absent));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EncodeRejects,
    ::testing::Values(
        EncodeErrorCase{"Snowman", "A:0 1 0 0 f 1 2 3 4 \nNeige \xE2\x98\x83:0 1 0 0 f 1 2 3 4 \n",
                        "2:7: error: U+2603 has no Windows-1252 form"},
        EncodeErrorCase{"AfterAccents", "\xC3\x89t\xC3\xA9 \xF0\x9F\x94\xA5:0 1 0 0 f 1 2 3 4 \n",
                        "1:5: error: U+1F525 has no Windows-1252 form"},
        EncodeErrorCase{"Windows1252Input", "A:0 1 0 0 f 1 2 3 4 \r\nB:0 1 0 0 f 1 2 3 4 \r\nCaf\xE9:0 1 0 0 f 1 2 3 4 \r\n",
                        "3:4: error: invalid UTF-8"},
        EncodeErrorCase{"ByteOrderMark", "\xEF\xBB\xBF" "A:0 1 0 0 f 1 2 3 4 \n",
                        "1:1: error: U+FEFF has no Windows-1252 form"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Check, SampleListIsClean) {
    const VyrRun run = vyr({"check", "--plain", samplePath});
    EXPECT_EQ(run.code, exitOk) << run.out;
    EXPECT_EQ(run.out, samplePath + ": 79 spells load, no problems\n");
    EXPECT_EQ(run.err, "");
}

TEST(Check, EncodedSampleIsClean) {
    const TempFile datFile = encodedSample();
    const VyrRun run = vyr({"check", datFile.path()});
    EXPECT_EQ(run.code, exitOk) << run.out;
}

TEST(Check, PrintsOneLinePerProblemAndASummary) {
    TempFile file = TempFile::scrambledFrom(
        "Sort:0 1 0 0 f 1 2 3 4 \n"
        "une note\n"
        "Mal:0 1 0 0 sxy \n"
        "Vide:0 1 0 0  1 2 3 4 \n");
    const VyrRun run = vyr({"check", file.path()});
    EXPECT_EQ(run.code, exitProblems);
    const std::string p = file.path();
    EXPECT_EQ(run.out,
              p + ":2: error: no \":\" on this line: it is not a record and the loader skips it\n" +
              p + ":3: error: special code \"sxy\" matches none of the 29 special rules: the spell computes nothing\n" +
              p + ":4: warning: empty code: the spell's range is not scaled\n" +
              p + ": 3 spells load; 2 errors, 1 warning\n");
    EXPECT_EQ(run.err, "");
}

TEST(Check, WarningsAloneGiveExitCodeOne) {
    TempFile file = TempFile::scrambledFrom("Sort:0 1 0 0 x 1 2 3 4 \n");
    EXPECT_EQ(vyr({"check", file.path()}).code, exitProblems);
}

TEST(Check, SuggestsPlainForAPlainFile) {
    TempFile file("Sort:0 1 0 0 f 1 2 3 4 \n");
    const VyrRun run = vyr({"check", file.path()});
    EXPECT_EQ(run.code, exitProblems);
    EXPECT_NE(run.err.find("try --plain"), std::string::npos);
}

TEST(Spells, ListsIndexNameCodeAndSpecial) {
    TempFile file = TempFile::scrambledFrom(
        "\xC9tincelle:0 1 400 1 f 4 2 10 0 \n"
        "Lueur:1 1 0 1 sli \n"
        "Fl\xE9" "au noir du n\xE9" "cromancien:0 2 1100 30 bd 20 40 0 0 \n");
    const VyrRun run = vyr({"spells", "--data", file.path()});
    EXPECT_EQ(run.code, exitOk) << run.err;
    EXPECT_EQ(run.out,
              "index  name                        code  special\n"
              "    0  \xC3\x89tincelle                   f     no\n"
              "    1  Lueur                       sli   yes\n"
              "    2  Fl\xC3\xA9" "au noir du n\xC3\xA9" "cromancien  bd    no\n");
}

TEST(Spells, ReadsTheDefaultDataFile) {
    TempFile file = TempFile::scrambledFrom("Lueur:1 1 0 1 sli \n");
    const VyrRun run = vyr({"spells"}, file.path());
    EXPECT_EQ(run.code, exitOk) << run.err;
    EXPECT_NE(run.out.find("Lueur"), std::string::npos);
}

TEST(Spells, ListsTheWholeSample) {
    const TempFile datFile = encodedSample();
    const VyrRun run = vyr({"spells", "--data", datFile.path()});
    EXPECT_EQ(run.code, exitOk);
    EXPECT_EQ(lineCount(run.out), 1u + 79u);
    EXPECT_EQ(count(run.out, "  yes\n"), 29u);
}

// Exit codes and messages of bad usage and unreadable files: always one line on stderr.
struct UsageCase {
    const char* label;
    std::vector<std::string> args;
    int code;
    std::string outExcerpt;
    std::string errExcerpt;
};
std::ostream& operator<<(std::ostream& os, const UsageCase& c) { return os << c.label; }

const std::string missing = TempFile::absentPath();
const std::string noSuchFile = std::strerror(ENOENT);

const UsageCase usageCases[] = {
    {"NoSubcommand", {}, exitUsage, "", "vyr: "},
    {"UnknownSubcommand", {"frobnicate"}, exitUsage, "", "frobnicate"},
    {"Help", {"--help"}, exitOk, "spells", ""},
    {"DecodeHelp", {"decode", "--help"}, exitOk, "XOR 0x5A at even offsets and XOR 0x5B at odd offsets", ""},
    {"EncodeHelp", {"encode", "-h"}, exitOk, "line and column", ""},
    {"CheckHelpDocumentsSaturation", {"check", "--help"}, exitOk, "saturate to -2147483648 or 2147483647", ""},
    {"SpellsHelp", {"spells", "--help"}, exitOk, "--data", ""},
    {"DecodeWithoutFile", {"decode"}, exitUsage, "", "vyr decode: "},
    {"EncodeWithoutOutput", {"encode", "liste.txt"}, exitUsage, "", "--output"},
    {"UnknownOption", {"check", "--frob", "x"}, exitUsage, "", "vyr check: "},
    {"ExtraArgument", {"decode", "a.dat", "b.dat"}, exitUsage, "", "vyr decode: "},
    {"DecodeMissingFile", {"decode", missing}, exitUsage, "", "vyr decode: " + missing + ": " + noSuchFile},
    {"EncodeMissingFile", {"encode", missing, "-o", missing + ".out"}, exitUsage, "",
     "vyr encode: " + missing + ": " + noSuchFile},
    {"CheckMissingFile", {"check", missing}, exitUsage, "", "vyr check: " + missing + ": " + noSuchFile},
    {"CheckDirectory", {"check", std::filesystem::temp_directory_path().string()}, exitUsage, "", "vyr check: "},
    {"SpellsMissingFile", {"spells", "--data", missing}, exitUsage, "", "vyr spells: " + missing + ": " + noSuchFile},
    {"SpellsMissingDefault", {"spells"}, exitUsage, "", "use --data FILE"},
    // Windows-style "/x" options are off: such an argument is a path on every system.
    {"SlashPathIsAFileName", {"check", "/vyr-absent/liste.dat"}, exitUsage, "", "vyr check: /vyr-absent/liste.dat: "},
};

class Usage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(Usage, GivesItsExitCodeAndOneLineErrors) {
    const VyrRun run = vyr(GetParam().args);
    EXPECT_EQ(run.code, GetParam().code) << run.err;
    EXPECT_NE(run.out.find(GetParam().outExcerpt), std::string::npos) << run.out;
    EXPECT_NE(run.err.find(GetParam().errExcerpt), std::string::npos) << run.err;
    if (GetParam().code == exitOk) {
        EXPECT_EQ(run.err, "");
    } else {
        EXPECT_EQ(lineCount(run.err), 1u) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, Usage, ::testing::ValuesIn(usageCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(Spells, UnloadableFileIsAnError) {
    TempFile file = TempFile::scrambledFrom("pas de sort\n");
    const VyrRun run = vyr({"spells", "--data", file.path()});
    EXPECT_EQ(run.code, exitUsage);
    EXPECT_NE(run.err.find("no spell could be loaded"), std::string::npos) << run.err;
}

TEST(Decode, UnwritableOutputIsAnError) {
    TempFile dat = TempFile::scrambledFrom("A:0 1 0 0 f 1 2 3 4 \n");
    const std::string folder = std::filesystem::temp_directory_path().string();
    const VyrRun run = vyr({"decode", dat.path(), "-o", folder});
    EXPECT_EQ(run.code, exitUsage);
    EXPECT_EQ(run.err.rfind("vyr decode: " + folder + ": ", 0), 0u) << run.err;
}

}  // namespace
}  // namespace vyr::cli
