#pragma once
// The numbered fields of the calculator. An id is also the control id of the dialog.

#include <array>
#include <cstddef>
#include <string_view>

namespace vyr::field {

// Inputs (digits only on screen).
inline constexpr int level = 1025;
inline constexpr int rebirths = 1026;
inline constexpr int strengthBase = 1002;
inline constexpr int enduranceBase = 1003;  // shown and defaulted, read by nothing
inline constexpr int dexterityBase = 1012;
inline constexpr int wisdomBase = 1013;
inline constexpr int intelligenceBase = 1014;
inline constexpr int strengthBoosted = 1015;
inline constexpr int enduranceBoosted = 1016;
inline constexpr int dexterityBoosted = 1017;
inline constexpr int wisdomBoosted = 1018;
inline constexpr int intelligenceBoosted = 1019;
inline constexpr int firePower = 1020;
inline constexpr int waterPower = 1021;
inline constexpr int airPower = 1022;
inline constexpr int earthPower = 1023;
inline constexpr int necroPower = 1024;
inline constexpr int lightPower = 1043;
inline constexpr int fireResist = 1034;
inline constexpr int waterResist = 1035;
inline constexpr int airResist = 1036;
inline constexpr int earthResist = 1037;
inline constexpr int necroResist = 1038;
inline constexpr int targetArmour = 1004;

// Selection and buttons.
inline constexpr int spellList = 1006;
inline constexpr int goButton = 1007;
inline constexpr int quitButton = 1000;

// Outputs (read-only on screen).
inline constexpr int effectMin = 1008;
inline constexpr int effectMax = 1009;
inline constexpr int moveDelay = 1010;
inline constexpr int recastDelay = 1011;
inline constexpr int successChance = 1042;
inline constexpr int strengthBonus = 1027;
inline constexpr int dexterityBonus = 1028;
inline constexpr int wisdomBonus = 1029;
inline constexpr int intelligenceBonus = 1030;
inline constexpr int hitPointsBonusMin = 1031;
inline constexpr int hitPointsBonusMax = 1032;
inline constexpr int armourBonusMin = 1044;
inline constexpr int armourBonusMax = 1045;
inline constexpr int attackBonus = 1039;
inline constexpr int archeryBonus = 1040;
inline constexpr int specialText = 1033;

// Lowest and highest id of any field.
inline constexpr int firstId = 1000;
inline constexpr int lastId = 1045;

}  // namespace vyr::field

namespace vyr {

struct InputField {
    int id;
    std::string_view name;         // camelCase, as in JSON and batch input
    std::string_view option;       // kebab-case, as on the command line
    std::string_view defaultText;  // written at start-up
    std::string_view label;        // on-screen label (UTF-8), for the tools
};

struct OutputField {
    int id;
    std::string_view name;
    std::string_view label;  // on-screen label (UTF-8), for the tools
};

// The 24 inputs in the order the defaults are written at start-up.
extern const std::array<InputField, 24> inputFields;
// The output set in the order it is cleared.
extern const std::array<OutputField, 16> outputFields;

const InputField* findInput(std::string_view nameOrOption);
const InputField* findInputById(int id);
const OutputField* findOutput(int id);
bool isOutputField(int id);

}  // namespace vyr
