// Windows-1252 conversions of names, codes and the plain form of the data file.

#include <gtest/gtest.h>

#include "cp1252.h"
#include "data_table.h"

namespace vyr::testing {
namespace {

TEST(Cp1252, TabledCharactersConvertBothWays) {
    for (const json& c : readTable("catalogue.json")["cp1252"]["cases"]) {
        const auto byte = c["byte"].get<unsigned char>();
        const auto codePoint = c["codePoint"].get<char32_t>();
        EXPECT_EQ(cp1252ToCodePoint(byte), codePoint) << c;
        EXPECT_EQ(codePointToCp1252(codePoint), byte) << c;
        EXPECT_EQ(cp1252ToUtf8(std::string(1, byte)), c["utf8"]) << c;
        EXPECT_EQ(utf8ToCp1252(c["utf8"].get<std::string>()).text, std::string(1, byte)) << c;
        EXPECT_EQ(cp1252ToWide(std::string(1, byte)), std::wstring(1, static_cast<wchar_t>(codePoint))) << c;
    }
}

TEST(Cp1252, EveryByteSurvivesTheRoundTripThroughUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    const auto back = utf8ToCp1252(cp1252ToUtf8(all));
    EXPECT_FALSE(back.errorOffset);
    EXPECT_EQ(back.text, all);
    EXPECT_EQ(wideToCp1252(L"\u00E9t\u00E9 \u2603\u20AC"), "\xE9t\xE9 ?\x80");
}

TEST(Cp1252, RejectedUtf8NamesTheOffendingOffset) {
    for (const json& c : readTable("catalogue.json")["utf8Rejects"]["cases"]) {
        const auto result = utf8ToCp1252(bytes(c["utf8"]));
        EXPECT_EQ(result.errorOffset, std::optional<std::size_t>(c["offset"].get<std::size_t>())) << c;
        EXPECT_EQ(result.error, c["error"]) << c;
    }
}

}  // namespace
}  // namespace vyr::testing
