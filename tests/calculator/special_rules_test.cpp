// The 29 special rules: each at the default inputs, then the cases off the defaults.
#include <gtest/gtest.h>

#include <string>

#include "calculation_vectors.h"
#include "effects.h"
#include "fields.h"

namespace vyr::test {
namespace {

using namespace field;

RecordSpec special(const char* code) {
    RecordSpec r;
    r.code = code;
    return r;
}

FieldTexts text(const char* utf8) { return {{specialText, cp1252(utf8)}}; }

FieldTexts plus(FieldTexts a, const FieldTexts& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::string senText = "Réduit l'esquive de la cible de 3/4" + std::string(33, ' ') +
                            "Durée (en ms) : 5000 + 1 nombre compris entre 1 et (12500-la force de "
                            "l'adversaire*25). La durée ne peut être inferieure à 5000ms";

const CalcVector atDefaults[] = {
    {"sbl", special("sbl"), {},
     {{hitPointsBonusMin, "25"}, {hitPointsBonusMax, "31"}, {attackBonus, "12"}, {archeryBonus, "12"}}},
    {"sct", special("sct"), {}, {{intelligenceBonus, "6"}}},
    {"scu", special("scu"), {}, text("Réduit la puissance lumiere pure de la cible de 2/3")},
    {"sds", special("sds"), {},
     plus({{moveDelay, "4910"}, {recastDelay, "5160"}}, text("Dissipe certains sorts maléfiques"))},
    {"sea", special("sea"), {}, {{strengthBonus, "12"}}},
    {"sen", special("sen"), {}, plus({{successChance, "50"}}, text(senText.c_str()))},
    {"sin", special("sin"), {},
     text("Rend la cible invisible. Peut être détécté par Révélation ou Detection de l'invisibilité")},
    {"saf", special("saf"), {}, {{effectMin, "1"}, {effectMax, "1"}}},
    {"sbu", special("sbu"), {}, {{armourBonusMin, "1"}, {armourBonusMax, "1"}}},
    {"srv", special("srv"), {}, {{hitPointsBonusMin, "2"}, {hitPointsBonusMax, "2"}}},
    {"sli", special("sli"), {}, text("Illumine les environs du jeteur de sort")},
    {"scp", special("scp"), {},
     plus({{successChance, "75"}}, text("Soigne le poison.Taux de réussite de 50 à 75% selon le poison"))},
    {"sdi", special("sdi"), {}, text("Detecte les personnes et les choses invisibles")},
    {"sdh", special("sdh"), {}, text("Detecte les personnes et les choses cachées")},
    {"smc", special("smc"), {},
     plus({{strengthBonus, "6"}}, text("Augmente l'attaque de la cible de 1/2 de son attaque pure, de même avec "
                                       "l'archerie, et de 1/3 de l'esquive pure pour l'esquive"))},
    {"smb", special("smb"), {},
     {{effectMin, "35"}, {effectMax, "60"}, {moveDelay, "1815"}, {recastDelay, "1940"}}},
    {"sms", special("sms"), {}, text("Augmente toutes les résistances pures de 1/3")},
    {"sma", special("sma"), {},
     text("Augmente toutes les puissances pures de 1/3, sauf pour la puissance pure necro augmentée de 1/4")},
    {"smi", special("smi"), {},
     text("Augmente l'attaque de la cible de 1/3 de son attaque pure, de même avec l'archerie, et de 1/4 de "
          "l'esquive pure pour l'esquive")},
    {"sni", special("sni"), {},
     plus({{dexterityBonus, "6"}}, text("Augmente l'esquive de la cible de 1/2 de son esquive pure"))},
    {"sab", special("sab"), {}, {{successChance, "0"}}},
    {"sah", special("sah"), {}, {{successChance, "0"}}},
    {"sas", special("sas"), {}, {{successChance, "0"}}},
    {"srf", special("srf"), {}, text("Augmente votre résistance au feu de 1 fois votre résistance pure au feu")},
    {"sri", special("sri"), {}, text("Augmente votre résistance à l'eau de 1 fois votre résistance pure à l'eau")},
    {"ssa", special("ssa"), {},
     plus({{moveDelay, "2790"}, {recastDelay, "135300"}, {armourBonusMin, "9000"}, {armourBonusMax, "9000"}},
          text("Met toutes les resistances à 50000. La cible devient invincible pendant 1 minute"))},
    {"str", special("str"), {}, {{wisdomBonus, "8"}}},
    {"sts", special("sts"), {}, text("Combine l'effet de Détection de l'invisibilité et du caché")},
    {"stu", special("stu"), {},
     plus({{effectMin, "0"}, {effectMax, "0"}}, text("Compté comme un tir sur un joueur (résistance lumière de 5000)"))},
};

FieldTexts five(const char* value) {
    return {{intelligenceBoosted, value}, {wisdomBoosted, value}, {strengthBoosted, value},
            {dexterityBoosted, value}, {enduranceBoosted, value}};
}

const CalcVector offDefaults[] = {
    {"ssa recast at 451", special("ssa"), {{level, "451"}},
     {{moveDelay, "750"}, {recastDelay, "300"}, {armourBonusMin, "9000"}, {armourBonusMax, "9000"},
      {specialText, cp1252("Met toutes les resistances à 50000. La cible devient invincible pendant 1 minute")}}},
    {"ssa recast 0 from 452", special("ssa"), {{level, "452"}},
     {{moveDelay, "750"}, {recastDelay, "0"}, {armourBonusMin, "9000"}, {armourBonusMax, "9000"},
      {specialText, cp1252("Met toutes les resistances à 50000. La cible devient invincible pendant 1 minute")}}},
    {"ssa recast stays 0 far above 452", special("ssa"), {{level, "100000"}},
     {{moveDelay, "750"}, {recastDelay, "0"}, {armourBonusMin, "9000"}, {armourBonusMax, "9000"},
      {specialText, cp1252("Met toutes les resistances à 50000. La cible devient invincible pendant 1 minute")}}},
    {"ssa move bottoms out at 103", special("ssa"), {{level, "103"}},
     {{moveDelay, "750"}, {recastDelay, "104700"}, {armourBonusMin, "9000"}, {armourBonusMax, "9000"},
      {specialText, cp1252("Met toutes les resistances à 50000. La cible devient invincible pendant 1 minute")}}},
    {"ssa at 102", special("ssa"), {{level, "102"}},
     {{moveDelay, "770"}, {recastDelay, "105000"}, {armourBonusMin, "9000"}, {armourBonusMax, "9000"},
      {specialText, cp1252("Met toutes les resistances à 50000. La cible devient invincible pendant 1 minute")}}},
    {"ssa ignores the record's timing", {"ssa", 0, 0, 0, 0, 0, 7, 900, 3}, {{level, "52"}},
     {{moveDelay, "1770"}, {recastDelay, "120000"}, {armourBonusMin, "9000"}, {armourBonusMax, "9000"},
      {specialText, cp1252("Met toutes les resistances à 50000. La cible devient invincible pendant 1 minute")}}},
    {"sds at 56", special("sds"), {{level, "56"}},
     plus({{moveDelay, "3810"}, {recastDelay, "4060"}}, text("Dissipe certains sorts maléfiques"))},
    {"sds at 108", special("sds"), {{level, "108"}},
     plus({{moveDelay, "2770"}, {recastDelay, "3020"}}, text("Dissipe certains sorts maléfiques"))},
    {"sds from 109", special("sds"), {{level, "109"}},
     plus({{moveDelay, "2750"}, {recastDelay, "3000"}}, text("Dissipe certains sorts maléfiques"))},
    {"sds ignores the record's factor", {"sds", 0, 0, 0, 0, 0, 5, 0, 0}, {{level, "200"}},
     plus({{moveDelay, "2750"}, {recastDelay, "3000"}}, text("Dissipe certains sorts maléfiques"))},
    {"smb from 73", special("smb"), {{level, "73"}},
     {{effectMin, "35"}, {effectMax, "60"}, {moveDelay, "375"}, {recastDelay, "500"}}},
    {"smb at 72", special("smb"), {{level, "72"}},
     {{effectMin, "35"}, {effectMax, "60"}, {moveDelay, "395"}, {recastDelay, "520"}}},
    {"sab with one rebirth", special("sab"), {{rebirths, "1"}},
     {{effectMin, "20"}, {effectMax, "24"}, {successChance, "1"}}},
    {"sah with one rebirth", special("sah"), {{rebirths, "1"}},
     {{effectMin, "26"}, {effectMax, "30"}, {successChance, "5"}}},
    {"sas with one rebirth", special("sas"), {{rebirths, "1"}},
     {{effectMin, "13"}, {effectMax, "17"}, {successChance, "5"}}},
    {"sab truncates -0.8 toward zero", special("sab"),
     {{rebirths, "1"}, {intelligenceBoosted, "4"}, {wisdomBoosted, "4"}, {strengthBoosted, "4"},
      {dexterityBoosted, "4"}, {enduranceBoosted, "5"}},
     {{effectMin, "0"}, {effectMax, "3"}, {successChance, "1"}}},
    {"sab with every characteristic 0 shows negatives", special("sab"), plus({{rebirths, "1"}}, five("0")),
     {{effectMin, "4294967291"}, {effectMax, "4294967295"}, {successChance, "1"}}},
    {"sas chance has no upper bound", special("sas"), {{rebirths, "21"}},
     {{effectMin, "13"}, {effectMax, "17"}, {successChance, "105"}}},
    {"sah chance wraps", special("sah"), {{rebirths, "2147483647"}},
     {{effectMin, "26"}, {effectMax, "30"}, {successChance, "2147483651"}}},
    {"sab sum is formed in double", special("sab"), plus({{rebirths, "7"}}, five("2147483647")),
     {{effectMin, "2147483642"}, {effectMax, "2147483646"}, {successChance, "7"}}},
    {"sen 200 over 50", special("sen"), {{earthPower, "200"}, {earthResist, "50"}},
     plus({{successChance, "200"}}, text(senText.c_str()))},
    {"sen 100 over 30 truncates", special("sen"), {{earthPower, "100"}, {earthResist, "30"}},
     plus({{successChance, "166"}}, text(senText.c_str()))},
    {"sen zero resistance gives 0", special("sen"), {{earthResist, "0"}},
     plus({{successChance, "0"}}, text(senText.c_str()))},
    {"sen zero over zero gives 0", special("sen"), {{earthPower, "0"}, {earthResist, "0"}},
     plus({{successChance, "0"}}, text(senText.c_str()))},
    {"sbl rounds the low end to single precision", special("sbl"), {{wisdomBoosted, "16777217"}},
     {{hitPointsBonusMin, "16777216"}, {hitPointsBonusMax, "20971522"}, {attackBonus, "8388608"},
      {archeryBonus, "8388608"}}},
    {"sbl rounds the high end to single precision", special("sbl"), {{wisdomBoosted, "13421777"}},
     {{hitPointsBonusMin, "13421777"}, {hitPointsBonusMax, "16777222"}, {attackBonus, "6710888"},
      {archeryBonus, "6710888"}}},
    {"sbl at 7", special("sbl"), {{wisdomBoosted, "7"}},
     {{hitPointsBonusMin, "7"}, {hitPointsBonusMax, "8"}, {attackBonus, "3"}, {archeryBonus, "3"}}},
    {"sbl halves toward zero", special("sbl"), {{wisdomBoosted, "4294967289"}},
     {{hitPointsBonusMin, "4294967289"}, {hitPointsBonusMax, "4294967288"}, {attackBonus, "4294967293"},
      {archeryBonus, "4294967293"}}},
    {"saf at 7", special("saf"), {{level, "7"}}, {{effectMin, "4"}, {effectMax, "10"}}},
    {"srv at 3", special("srv"), {{level, "3"}}, {{hitPointsBonusMin, "7"}, {hitPointsBonusMax, "7"}}},
    {"sbu at 60", special("sbu"), {{level, "60"}}, {{armourBonusMin, "1"}, {armourBonusMax, "60"}}},
    {"stu at level 10", special("stu"), {{wisdomBoosted, "1000"}, {lightPower, "300"}, {level, "10"}},
     plus({{effectMin, "135"}, {effectMax, "143"}}, text("Compté comme un tir sur un joueur (résistance lumière de 5000)"))},
    {"stu divides by zero when 2 × level wraps to -20", special("stu"),
     {{wisdomBoosted, "1000"}, {level, "2147483638"}},
     plus({{effectMin, "0"}, {effectMax, "0"}, {moveDelay, "950"}, {recastDelay, "1200"}},
          text("Compté comme un tir sur un joueur (résistance lumière de 5000)"))},
    {"stu level 4294967286 wraps the same way", special("stu"), {{wisdomBoosted, "1000"}, {level, "4294967286"}},
     plus({{effectMin, "0"}, {effectMax, "0"}, {moveDelay, "950"}, {recastDelay, "1200"}},
          text("Compté comme un tir sur un joueur (résistance lumière de 5000)"))},
    {"sct divides toward zero", special("sct"), {{intelligenceBase, "4294967289"}},
     {{intelligenceBonus, "4294967295"}}},
    {"str divides by 3", special("str"), {{wisdomBase, "100"}}, {{wisdomBonus, "33"}}},
    {"sea with other figures", special("sea"), {{wisdomBoosted, "300"}, {intelligenceBoosted, "100"}},
     {{strengthBonus, "35"}}},
    {"unknown s code: base timing and 100 only", special("sxx"), {}, {}},
    {"single s: base timing and 100 only", special("s"), {}, {}},
    {"a longer code never matches", special("sblx"), {}, {}},
    {"a shorter code never matches", special("sb"), {}, {}},
    {"special spells keep the record's base timing", {"sli", 0, 0, 0, 0, 0, 2, 500, 10}, {},
     plus({{moveDelay, "2860"}, {recastDelay, "3360"}}, text("Illumine les environs du jeteur de sort"))},
    {"the roll fields play no part", {"sct", 9, 9, 9, 9, 0, 1, 0, 0}, {{targetArmour, "50"}},
     {{intelligenceBonus, "6"}}},
};

class SpecialRuleAtDefaults : public ::testing::TestWithParam<CalcVector> {};
TEST_P(SpecialRuleAtDefaults, ShowsTheExpectedOutputs) {
    EXPECT_EQ(runVector(GetParam()), expectedOutputs(GetParam())) << GetParam().name;
}
INSTANTIATE_TEST_SUITE_P(Vectors, SpecialRuleAtDefaults, ::testing::ValuesIn(atDefaults));

class SpecialRuleCase : public ::testing::TestWithParam<CalcVector> {};
TEST_P(SpecialRuleCase, ShowsTheExpectedOutputs) {
    EXPECT_EQ(runVector(GetParam()), expectedOutputs(GetParam())) << GetParam().name;
}
INSTANTIATE_TEST_SUITE_P(Vectors, SpecialRuleCase, ::testing::ValuesIn(offDefaults));

TEST(SpecialRuleTable, HoldsTwentyNineDistinctThreeLetterCodesEachCoveredAbove) {
    for (std::size_t i = 0; i < specialRuleCount; ++i) {
        const std::string_view code = specialRuleCode(i);
        EXPECT_EQ(code.size(), 3u);
        EXPECT_EQ(code[0], 's');
        EXPECT_TRUE(isSpecialRuleCode(code));
        EXPECT_EQ(code, atDefaults[i].name) << "table order";
        for (std::size_t j = 0; j < i; ++j) EXPECT_NE(code, specialRuleCode(j));
    }
    EXPECT_FALSE(isSpecialRuleCode("sblx"));
    EXPECT_FALSE(isSpecialRuleCode("SBL"));
    EXPECT_FALSE(isSpecialRuleCode(""));
}

}  // namespace
}  // namespace vyr::test
