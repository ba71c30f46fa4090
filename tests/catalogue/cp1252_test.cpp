// Windows-1252 conversions of names, codes and the plain form of the data file.

#include <gtest/gtest.h>

#include "cp1252.h"
#include "data_table.h"

namespace vyr::testing {
namespace {

TEST(Cp1252, TabledCharactersConvertBothWays) {
    for (const json& c : readTable("catalogue.json")["cp1252"]) {
        const std::string byte(1, static_cast<char>(c[0].get<int>()));
        EXPECT_EQ(cp1252ToCodePoint(static_cast<unsigned char>(byte[0])), c[1].get<char32_t>()) << c;
        EXPECT_EQ(codePointToCp1252(c[1].get<char32_t>()), static_cast<unsigned char>(byte[0])) << c;
        EXPECT_EQ(cp1252ToUtf8(byte), c[2]) << c;
        EXPECT_EQ(utf8ToCp1252(c[2].get<std::string>()).text, byte) << c;
        EXPECT_EQ(cp1252ToWide(byte), std::wstring(1, static_cast<wchar_t>(c[1].get<char32_t>()))) << c;
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
    for (const json& c : readTable("catalogue.json")["utf8Rejects"]) {
        const auto result = utf8ToCp1252(bytes(c[0]));
        EXPECT_EQ(result.errorOffset, std::optional<std::size_t>(c[1].get<std::size_t>())) << c;
        EXPECT_EQ(result.error, c[2]) << c;
    }
}

}  // namespace
}  // namespace vyr::testing
