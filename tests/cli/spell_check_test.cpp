// vyr check's findings: each problem class, on the line where it stands.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spell_check.h"

namespace vyr::cli {
namespace {

struct Expected {
    std::size_t line;
    Severity severity;
    std::string excerpt;  // part of the message
};

struct CheckCase {
    const char* label;
    std::string plain;  // Windows-1252
    std::vector<Expected> findings;
    std::size_t loaded;
};
std::ostream& operator<<(std::ostream& os, const CheckCase& c) { return os << c.label; }

const std::string good = "A:0 1 0 0 f 1 2 3 4 \n";
constexpr Severity E = Severity::error;
constexpr Severity W = Severity::warning;

std::string records(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += good;
    return text;
}

const CheckCase checkCases[] = {
    {"CleanLineFeedFile", good + "Lueur:1 1 0 0 sli \n" + good, {}, 3},
    {"CleanCrLfFileWithoutFinalBreak", "A:0 1 0 0 f 1 2 3 4 \r\nLueur:1 1 0 0 sli ", {}, 2},
    {"TextAfterTheLastFieldIsFine", "A:0 1 0 0 f 1 2 3 4 suite libre\n", {}, 1},
    {"NumberEdgesAreInRange", "A:-128 1 -2147483648 2147483647 f +0 -0 0002147483647 -00002147483648 \n", {}, 1},
    {"LineWithoutColon", good + "note libre\n" + good, {{2, E, "no \":\" on this line"}}, 2},
    {"EmptyLine", good + "\n" + good, {{2, W, "empty line"}}, 2},
    {"EmptyCrLfLine", good + "\r\n" + good, {{2, W, "empty line"}}, 2},
    {"EmptyLastLine", good + "\n", {{2, W, "empty line"}}, 1},
    {"LastNumberWithoutSpace", good + "B:0 1 0 0 f 1 2 3 4\n" + good,
     {{2, E, "wisDivisor \"4\" has no trailing space: the loader reads on into the next line"}}, 3},
    {"LastNumberWithoutSpaceBeforeCrLf", "B:0 1 0 0 f 1 2 3 4\r\n" + good,
     {{1, E, "wisDivisor \"4\" has no trailing space"}}, 2},
    {"SpecialCodeWithoutSpaceAtEndOfFile", good + "L:0 1 0 0 sli",
     {{2, E, "code \"sli\" has no trailing space: the field runs to the end of the file"}}, 2},
    {"MissingFields", "B:0 1 0 0 f 1 2 \n" + good,
     {{1, E, "missing intDivisor and the fields after it: the loader reads on into the next line"}}, 1},
    {"FieldsCutShortAtEndOfFile", good + "B:0 7",
     {{2, E, "delayFactor \"7\" has no trailing space; the fields after it are missing"}}, 2},
    {"HundredRecordsAreFine", records(100), {}, 100},
    {"MoreThanHundredRecords", records(103),
     {{101, E, "more than 100 records: this one and the 2 after it are not loaded"}}, 100},
    {"EmptyNumber", "B:0 1 0 0 f 1 2 3  \n", {{1, E, "wisDivisor is empty (reads 0)"}}, 1},
    {"TrailingLetters", "B:0 1 0 0 f 1 2x 3 4 \n", {{1, E, "rollBase \"2x\" has trailing text (reads 2)"}}, 1},
    {"NotANumber", "B:0 un 0 0 f 1 2 3 4 \n", {{1, E, "delayFactor \"un\" is not a number (reads 0)"}}, 1},
    {"SignWithoutDigits", "B:0 1 - 0 f 1 2 3 4 \n", {{1, E, "delayExtra \"-\" is not a number (reads 0)"}}, 1},
    {"AboveTheRange", "B:0 1 2147483648 0 f 1 2 3 4 \n",
     {{1, E, "delayExtra 2147483648 is out of the 32-bit range (saturates to 2147483647)"}}, 1},
    {"BelowTheRange", "B:0 1 0 -2147483649 f 1 2 3 4 \n",
     {{1, E, "delayLevel -2147483649 is out of the 32-bit range (saturates to -2147483648)"}}, 1},
    {"ArmourExempt256ReadsZero", "B:256 1 0 0 f 1 2 3 4 \nC:255 1 0 0 f 1 2 3 4 \n",
     {{1, W, "armourExempt 256 keeps only its low 8 bits and reads 0"}}, 2},
    {"NulByteBetweenRecords", good + std::string("\0", 1) + good, {{2, E, "NUL byte"}}, 1},
    {"NulByteInsideARecord", "B:0 1" + std::string("\0", 1) + " 0 0 f 1 2 3 4 \n",
     {{1, E, "delayFactor \"1\" has no trailing space"}, {1, E, "NUL byte"}}, 1},
    {"UnknownSpecialCode", "B:0 1 0 0 sxy \n", {{1, E, "special code \"sxy\" matches none of the 29 special rules"}}, 1},
    {"SpecialCodeWithExtraLetters", "B:0 1 0 0 slix \n", {{1, E, "special code \"slix\""}}, 1},
    {"LoneS", "B:0 1 0 0 s \n", {{1, E, "special code \"s\""}}, 1},
    {"UpperCaseS", "B:0 1 0 0 Sli 1 2 3 4 \n", {{1, E, "code \"Sli\" starts with an upper-case \"S\""}}, 1},
    {"UpperCaseSWithoutRollFields", "B:0 1 0 0 Sli \n" + good,
     {{1, E, "upper-case \"S\""}, {1, E, "missing rollRange"}}, 1},
    {"EmptyCode", "B:0 1 0 0  1 2 3 4 \n", {{1, W, "empty code"}}, 1},
    {"LetterAfterT", "B:0 1 0 0 u 1 2 3 4 \n", {{1, W, "code \"u\" has no effect"}}, 1},
    {"UpperCaseLetter", "B:0 1 0 0 F 1 2 3 4 \n", {{1, W, "code \"F\" has no effect"}}, 1},
    {"AccentedLetter", "B:0 1 0 0 \xE9 1 2 3 4 \n", {{1, W, "code \"\xC3\xA9\" has no effect"}}, 1},
    {"BAlone", "B:0 1 0 0 b 1 2 3 4 \n", {{1, W, "code \"b\": \"b\" scales only when followed by"}}, 1},
    {"BWithOtherLetter", "B:0 1 0 0 bt 1 2 3 4 \n", {{1, W, "code \"bt\""}}, 1},
    {"ControlBytesAreShownEscaped", "B:0 1\t2 0 0 f 1 2 3 4 \n", {{1, E, "delayFactor \"1\\t2\" has trailing text"}}, 1},
    {"EmptyFile", "", {{1, E, "no record"}}, 0},
    {"OnlyALineFeed", "\n", {{1, W, "empty line"}, {1, E, "no record"}}, 0},
    {"NoColonAnywhere", "rien\n", {{1, E, "no \":\""}, {1, E, "no record"}}, 0},
};

class CheckSpellText : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckSpellText, ReportsEachProblemOnItsLine) {
    const CheckReport report = checkSpellText(GetParam().plain);
    EXPECT_EQ(report.loaded, GetParam().loaded);
    ASSERT_EQ(report.findings.size(), GetParam().findings.size()) << [&] {
        std::string all;
        for (const auto& f : report.findings) all += std::to_string(f.line) + ": " + f.message + "\n";
        return all;
    }();
    for (std::size_t i = 0; i < report.findings.size(); ++i) {
        const Finding& got = report.findings[i];
        const Expected& want = GetParam().findings[i];
        EXPECT_EQ(got.line, want.line) << got.message;
        EXPECT_EQ(got.severity, want.severity) << got.message;
        EXPECT_NE(got.message.find(want.excerpt), std::string::npos) << got.message;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, CheckSpellText, ::testing::ValuesIn(checkCases),
                         [](const auto& info) { return std::string(info.param.label); });

// Which first letters of a standard code are left alone: those the formula knows.
class StandardCodeLetter : public ::testing::TestWithParam<char> {};

TEST_P(StandardCodeLetter, IsFlaggedOnlyOutsideAToT) {
    const char letter = GetParam();
    const std::string code = letter == 'b' ? "bd" : std::string(1, letter);
    const CheckReport report = checkSpellText("B:0 1 0 0 " + code + " 1 2 3 4 \n");
    const bool known = letter >= 'a' && letter <= 't';
    EXPECT_EQ(report.findings.size(), known ? 0u : 1u) << code;
}

INSTANTIATE_TEST_SUITE_P(Letters, StandardCodeLetter,
                         ::testing::Values('a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', 'm', 'n', 'o',
                                           'p', 'q', 'r', 't', 'u', 'v', 'z', 'A', 'T', '0', '_'),
                         [](const auto& info) { return std::string("code_") + std::to_string(int{info.param}); });

class ScaledBCode : public ::testing::TestWithParam<const char*> {};

TEST_P(ScaledBCode, IsNotFlagged) {
    EXPECT_TRUE(checkSpellText(std::string("B:0 1 0 0 ") + GetParam() + " 1 2 3 4 \n").findings.empty());
}

INSTANTIATE_TEST_SUITE_P(Codes, ScaledBCode, ::testing::Values("bf", "ba", "be", "bd", "bfx"));

struct PositionCase {
    std::string utf8;
    std::size_t offset;
    std::size_t line;
    std::size_t column;
};
std::ostream& operator<<(std::ostream& os, const PositionCase& c) { return os << c.offset; }

class PositionOfOffset : public ::testing::TestWithParam<PositionCase> {};

TEST_P(PositionOfOffset, CountsLinesAndCharacters) {
    const TextPosition at = positionOfOffset(GetParam().utf8, GetParam().offset);
    EXPECT_EQ(at.line, GetParam().line);
    EXPECT_EQ(at.column, GetParam().column);
}

INSTANTIATE_TEST_SUITE_P(Offsets, PositionOfOffset,
                         ::testing::Values(PositionCase{"abc", 0, 1, 1}, PositionCase{"abc", 2, 1, 3},
                                           PositionCase{"a\nbc", 2, 2, 1}, PositionCase{"a\nbc", 3, 2, 2},
                                           PositionCase{"\xC3\xA9t\xC3\xA9 x", 5, 1, 4},
                                           PositionCase{"x\r\n\xE2\x82\xAC\xE2\x98\x83", 6, 2, 2}));

TEST(CheckSpellTextUtf8, ReportsAnUnencodableCharacterWithLineAndColumn) {
    const CheckReport report = checkSpellTextUtf8("A:0 1 0 0 f 1 2 3 4 \nN\xC3\xA9ige \xE2\x98\x83:0 1 0 0 f 1 2 3 4 \n");
    ASSERT_EQ(report.findings.size(), 1u);
    EXPECT_EQ(report.findings[0].line, 2u);
    EXPECT_EQ(report.findings[0].message, "column 7: U+2603 has no Windows-1252 form: the file cannot be encoded");
}

TEST(CheckSpellTextUtf8, ChecksTheConvertedText) {
    const CheckReport report = checkSpellTextUtf8("\xC3\x89tincelle:0 1 0 0 f 1 2 3 4 \nB:0 1 0 0 \xC3\xA9 1 2 3 4 \n");
    ASSERT_EQ(report.findings.size(), 1u);
    EXPECT_EQ(report.findings[0].message, "code \"\xC3\xA9\" has no effect: only a first letter from \"a\" to \"t\" scales the range");
}

}  // namespace
}  // namespace vyr::cli
