// Windows-1252 conversions used for names, codes and the plain form of the data file.

#include <gtest/gtest.h>

#include <string>

#include "cp1252.h"

namespace vyr::testing {
namespace {

struct CharacterCase {
    unsigned char byte;
    char32_t codePoint;
    std::string utf8;
};
std::ostream& operator<<(std::ostream& os, const CharacterCase& c) { return os << static_cast<int>(c.byte); }

class Cp1252Character : public ::testing::TestWithParam<CharacterCase> {};

TEST_P(Cp1252Character, ConvertsBothWays) {
    const auto& c = GetParam();
    EXPECT_EQ(cp1252ToCodePoint(c.byte), c.codePoint);
    EXPECT_EQ(codePointToCp1252(c.codePoint), c.byte);
    EXPECT_EQ(cp1252ToUtf8(std::string(1, static_cast<char>(c.byte))), c.utf8);
    const auto back = utf8ToCp1252(c.utf8);
    EXPECT_FALSE(back.errorOffset);
    EXPECT_EQ(back.text, std::string(1, static_cast<char>(c.byte)));
    EXPECT_EQ(cp1252ToWide(std::string(1, static_cast<char>(c.byte))), std::wstring(1, static_cast<wchar_t>(c.codePoint)));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Cp1252Character,
    ::testing::Values(CharacterCase{'A', U'A', "A"}, CharacterCase{0x7F, 0x7F, "\x7F"},
                      CharacterCase{0x80, U'\u20AC', "\xE2\x82\xAC"},  // euro sign
                      CharacterCase{0x81, 0x81, "\xC2\x81"},           // undefined: the C1 control
                      CharacterCase{0x8C, U'\u0152', "\xC5\x92"},      // OE ligature
                      CharacterCase{0x99, U'\u2122', "\xE2\x84\xA2"},  // trade mark
                      CharacterCase{0x9D, 0x9D, "\xC2\x9D"}, CharacterCase{0x9F, U'\u0178', "\xC5\xB8"},
                      CharacterCase{0xA0, 0xA0, "\xC2\xA0"}, CharacterCase{0xE9, U'\u00E9', "\xC3\xA9"},
                      CharacterCase{0xFF, U'\u00FF', "\xC3\xBF"}));

TEST(Cp1252, EveryByteSurvivesTheRoundTripThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const auto back = utf8ToCp1252(cp1252ToUtf8(all));
    EXPECT_FALSE(back.errorOffset);
    EXPECT_EQ(back.text, all);
}

struct RejectCase {
    const char* label;
    std::string utf8;
    std::size_t offset;
    std::string error;
};
std::ostream& operator<<(std::ostream& os, const RejectCase& c) { return os << c.label; }

class Utf8ToCp1252Rejects : public ::testing::TestWithParam<RejectCase> {};

TEST_P(Utf8ToCp1252Rejects, NamesTheOffendingOffset) {
    const auto result = utf8ToCp1252(GetParam().utf8);
    ASSERT_TRUE(result.errorOffset);
    EXPECT_EQ(*result.errorOffset, GetParam().offset);
    EXPECT_EQ(result.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, Utf8ToCp1252Rejects,
    ::testing::Values(RejectCase{"Snowman", "ab\xE2\x98\x83", 2, "U+2603 has no Windows-1252 form"},
                      RejectCase{"ByteOrderMark", "\xEF\xBB\xBFSort", 0, "U+FEFF has no Windows-1252 form"},
                      RejectCase{"C1ControlWithGlyphByte", "\xC2\x80", 0, "U+0080 has no Windows-1252 form"},
                      RejectCase{"EmojiAfterAccent", "\xC3\xA9\xF0\x9F\x94\xA5", 2, "U+1F525 has no Windows-1252 form"},
                      RejectCase{"LoneContinuationByte", "a\x80", 1, "invalid UTF-8"},
                      RejectCase{"Windows1252Byte", "caf\xE9", 3, "invalid UTF-8"},
                      RejectCase{"TruncatedSequence", "x\xC3", 1, "invalid UTF-8"},
                      RejectCase{"OverlongSlash", "\xC0\xAF", 0, "invalid UTF-8"},
                      RejectCase{"EncodedSurrogate", "\xED\xA0\x80", 0, "invalid UTF-8"},
                      RejectCase{"BeyondUnicode", "\xF4\x90\x80\x80", 0, "invalid UTF-8"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Cp1252, WideTextOutsideTheSetBecomesQuestionMarks) {
    EXPECT_EQ(wideToCp1252(L"\u00E9t\u00E9 \u2603\u20AC"), "\xE9t\xE9 ?\x80");
}

}  // namespace
}  // namespace vyr::testing
