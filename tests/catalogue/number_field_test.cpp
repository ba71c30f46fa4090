// Number fields: white space, one sign, digits up to the first non-digit, saturation.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "spell_file.h"

namespace vyr::testing {
namespace {

constexpr std::int32_t int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t int32Min = std::numeric_limits<std::int32_t>::min();

struct NumberCase {
    std::string field;
    std::int32_t value;
};
std::ostream& operator<<(std::ostream& os, const NumberCase& c) { return os << '"' << c.field << '"'; }

class ReadNumberField : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ReadNumberField, ReadsTheLeadingDecimalNumber) {
    EXPECT_EQ(readNumberField(GetParam().field.c_str()), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ReadNumberField,
    ::testing::Values(NumberCase{"42", 42}, NumberCase{"+42", 42}, NumberCase{"-42", -42}, NumberCase{"007", 7},
                      NumberCase{"", 0}, NumberCase{"abc", 0}, NumberCase{"12ab", 12}, NumberCase{"-7x9", -7},
                      NumberCase{"+", 0}, NumberCase{"-", 0}, NumberCase{"+-5", 0}, NumberCase{"--5", 0},
                      NumberCase{"1.9", 1}, NumberCase{"\xEF\xBC\x95", 0},
                      // the white space that may lead a number, line breaks included
                      NumberCase{" \t\n\v\f\r8", 8}, NumberCase{"\r\n-3", -3}, NumberCase{"\n\nB:0", 0},
                      NumberCase{"- 5", 0},
                      // the 32-bit edges, and beyond them saturation
                      NumberCase{"2147483647", int32Max}, NumberCase{"2147483648", int32Max},
                      NumberCase{"-2147483648", int32Min}, NumberCase{"-2147483649", int32Min},
                      NumberCase{"-2147483647", -2147483647}, NumberCase{"4294967295", int32Max},
                      NumberCase{"4294967296", int32Max}, NumberCase{"4294967297", int32Max},
                      NumberCase{"99999999999999999999999999999", int32Max},
                      NumberCase{"-99999999999999999999999999999", int32Min},
                      NumberCase{"00000000000000000000000000001", 1}));

}  // namespace
}  // namespace vyr::testing
