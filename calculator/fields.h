#pragma once
// The numbered fields of the calculator. An id is also the control id of the dialog.

#include <array>
#include <cstddef>
#include <cstdint>
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

// Whose figure an input is: the page keeps the opponent's apart from the character's.
enum class InputGroup : std::uint8_t { character, opponent };
inline constexpr std::string_view inputGroupNames[] = {"character", "opponent"};

// Which end of a figure a player wants: a delay is better short, an effect or a bonus large.
enum class Best : std::uint8_t { none, low, high };
inline constexpr std::string_view bestNames[] = {"", "low", "high"};

struct InputField {
    int id;
    std::string_view name;         // camelCase, as in JSON and batch input
    std::string_view option;       // kebab-case, as on the command line
    std::string_view defaultText;  // written at start-up
    std::string_view label;        // the dialog's own label (UTF-8), as it shows it
    std::string_view pageLabel;    // plain French, no closing " :": the page's label and every table's heading
    InputGroup group = InputGroup::character;
};

struct OutputField {
    int id;
    std::string_view name;       // camelCase field name (JSON, CSV)
    std::string_view label;      // the dialog's own label (UTF-8); the two ends of a range share it
    std::string_view pageLabel;  // plain French, no closing " :"
    std::string_view heading;    // short, for tables, the two ends apart and the unit included ("Mouvement (ms)")
    std::string_view unit;       // "ms", "%" or none, shown after a value
    Best best;
};

// The 24 inputs in the order the defaults are written at start-up.
extern const std::array<InputField, 24> inputFields;
// The 16 outputs in the dialog's reading order: every table's, the page's and a run's order.
extern const std::array<OutputField, 16> outputFields;
// The output ids in the order a run clears them.
extern const std::array<int, 16> outputClearOrder;

const InputField* findInput(std::string_view nameOrOption);
const InputField* findInputById(int id);
const OutputField* findOutput(int id);
bool isOutputField(int id);
// Where an output stands in outputFields, for a lookup without a search; id must be an output's.
std::size_t outputPosition(int id);

}  // namespace vyr
