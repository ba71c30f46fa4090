// The standard formula, one vector per behaviour. Record code "x", no roll range, no
// divisors, armour subtracted and default inputs, unless the vector says otherwise.
#include <gtest/gtest.h>

#include "calculation_vectors.h"
#include "fields.h"

namespace vyr::test {
namespace {

using namespace field;

RecordSpec rec(const char* code, std::int32_t rollBase, std::int32_t rollRange = 0, std::int32_t intDivisor = 0,
               std::int32_t wisDivisor = 0, std::int8_t armourExempt = 0) {
    RecordSpec r;
    r.code = code;
    r.rollBase = rollBase;
    r.rollRange = rollRange;
    r.intDivisor = intDivisor;
    r.wisDivisor = wisDivisor;
    r.armourExempt = armourExempt;
    return r;
}

FieldTexts effect(const char* low, const char* high) { return {{effectMin, low}, {effectMax, high}}; }

const std::string drain =
    cp1252("Réduit la puissance lumière de la cible de 1/50 et réduit les PV max de 1/4. Reduit les PV toutes les "
           "6sec pendant 5min");

const CalcVector standardVectors[] = {
    {"fixed roll", rec("x", 10), {}, effect("10", "10")},
    {"roll range", rec("x", 10, 5), {}, effect("11", "15")},
    {"negative roll range swaps nothing", rec("x", 10, -5), {}, effect("11", "5")},
    {"roll sum formed in double, high end rounds to 2^32",
     rec("x", 2147483647, 2147483647), {}, effect("2147483648", "0")},
    {"intelligence is a real division", rec("x", 10, 0, 4), {}, effect("16", "16")},
    {"intelligence then wisdom", rec("x", 10, 0, 4, 3), {}, effect("24", "24")},
    {"negative divisor subtracts", rec("x", 10, 0, -4), {}, effect("3", "3")},
    {"wisdom alone", rec("x", 10, 0, 0, 2), {{wisdomBoosted, "7"}}, effect("13", "13")},
    {"single precision after the intelligence step shows 2 not 3",
     rec("f", 2, 0, 10), {{intelligenceBoosted, "1"}, {firePower, "100"}, {fireResist, "70"}}, effect("2", "2")},
    {"fire", rec("f", 20), {{firePower, "150"}, {fireResist, "50"}}, effect("60", "60")},
    {"air", rec("a", 20), {{airPower, "150"}, {airResist, "50"}, {firePower, "1"}}, effect("60", "60")},
    {"necro", rec("d", 20), {{necroPower, "150"}, {necroResist, "50"}, {firePower, "1"}}, effect("60", "60")},
    {"water", rec("e", 20), {{waterPower, "150"}, {waterResist, "50"}, {firePower, "1"}}, effect("60", "60")},
    {"earth", rec("t", 20), {{earthPower, "150"}, {earthResist, "50"}, {firePower, "1"}}, effect("60", "60")},
    {"light over 100", rec("l", 20), {{lightPower, "150"}}, effect("30", "30")},
    {"light ignores every resistance", rec("light", 20), {{lightPower, "50"}, {fireResist, "1"}}, effect("10", "10")},
    {"only the first letter counts", rec("fa", 20), {{firePower, "200"}, {airPower, "1"}}, effect("40", "40")},
    {"bd: necro resistance alone, with its text", rec("bd", 50), {{necroResist, "200"}},
     {{effectMin, "25"}, {effectMax, "25"}, {specialText, drain}}},
    {"bd with more letters keeps the text", rec("bdx", 50), {{necroResist, "200"}},
     {{effectMin, "25"}, {effectMax, "25"}, {specialText, drain}}},
    {"bf: fire resistance alone", rec("bf", 50), {{fireResist, "200"}, {firePower, "1"}}, effect("25", "25")},
    {"ba: air resistance alone", rec("ba", 50), {{airResist, "200"}}, effect("25", "25")},
    {"be: water resistance alone", rec("be", 50), {{waterResist, "200"}}, effect("25", "25")},
    {"bt: no scaling, no text", rec("bt", 50), {{necroResist, "200"}}, effect("50", "50")},
    {"b alone: no scaling, no text", rec("b", 50), {{necroResist, "200"}}, effect("50", "50")},
    {"bD: second letter is case-sensitive", rec("bD", 50), {{necroResist, "200"}}, effect("50", "50")},
    {"zero resistance gives infinity, shown 0", rec("f", 20), {{fireResist, "0"}}, effect("0", "0")},
    {"zero over zero is NaN, floored to 1", rec("f", 0), {{fireResist, "0"}}, effect("1", "1")},
    {"zero power and zero resistance is NaN", rec("f", 20), {{firePower, "0"}, {fireResist, "0"}}, effect("1", "1")},
    {"negative over zero is -infinity, floored", rec("f", -20), {{fireResist, "0"}}, effect("1", "1")},
    {"power typed 4294967295 counts as -1", rec("f", 20), {{firePower, "4294967295"}}, effect("1", "1")},
    {"armour larger than the effect floors at 1", rec("x", 10), {{targetArmour, "50"}}, effect("1", "1")},
    {"armour subtracted", rec("x", 10, 5), {{targetArmour, "3"}}, effect("8", "12")},
    {"armour ignored for exempt spells", rec("x", 10, 0, 0, 0, 1), {{targetArmour, "50"}}, effect("10", "10")},
    {"armour typed 4294967295 counts as -1 and adds", rec("x", 10), {{targetArmour, "4294967295"}},
     effect("11", "11")},
    {"p: armour bonus pair, effect empty", rec("p", 20), {{targetArmour, "5"}},
     {{armourBonusMin, "15"}, {armourBonusMax, "15"}}},
    {"p exempt from armour", rec("p", 20, 0, 0, 0, 1), {{targetArmour, "5"}},
     {{armourBonusMin, "20"}, {armourBonusMax, "20"}}},
    {"upper-case F is not scaled", rec("F", 20), {{firePower, "200"}}, effect("20", "20")},
    {"upper-case S is a standard spell", rec("Sbl", 20), {}, effect("20", "20")},
    {"letters after t are not scaled", rec("u", 20), {{firePower, "200"}}, effect("20", "20")},
    {"c, g to k, m to r are not scaled", rec("c", 20), {{firePower, "200"}}, effect("20", "20")},
    {"n is not scaled", rec("n", 20), {{firePower, "200"}}, effect("20", "20")},
    {"empty code is not scaled", rec("", 20), {}, effect("20", "20")},
    {"high byte code is not scaled", rec("\xE9", 20), {}, effect("20", "20")},
    {"zero roll floors at 1", rec("x", 0), {}, effect("1", "1")},
    {"a roll of 2^24 + 1 rounds in single precision", rec("x", 16777217), {}, effect("16777216", "16777216")},
    {"value past 2^32 keeps its low 32 bits", rec("f", 2000000000), {{firePower, "300"}},
     effect("1705032704", "1705032704")},
    {"huge power times roll still finite", rec("f", 2147483647), {{firePower, "2147483647"}, {fireResist, "1"}},
     effect("0", "0")},
    {"zero divisor is no term, not a division", rec("x", 10, 0, 0, 0), {{intelligenceBoosted, "0"}},
     effect("10", "10")},
    {"intelligence 0 over a divisor adds 0", rec("x", 10, 0, 3), {{intelligenceBoosted, "0"}}, effect("10", "10")},
    {"timing stays the base timing", {"x", 0, 10, 0, 0, 0, 2, 500, 10}, {},
     {{effectMin, "10"}, {effectMax, "10"}, {moveDelay, "2860"}, {recastDelay, "3360"}}},
};

class StandardEffect : public ::testing::TestWithParam<CalcVector> {};

TEST_P(StandardEffect, ShowsTheExpectedOutputs) {
    EXPECT_EQ(runVector(GetParam()), expectedOutputs(GetParam())) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Vectors, StandardEffect, ::testing::ValuesIn(standardVectors));

}  // namespace
}  // namespace vyr::test
