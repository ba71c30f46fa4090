#include "fields.h"

#include <algorithm>

namespace vyr {

using namespace field;

const std::array<InputField, 24> inputFields = {{
    {level, "level", "level", "1", "Level :"},
    {rebirths, "rebirths", "rebirths", "0", "Nombre de rennaissances :"},
    {strengthBoosted, "strengthBoosted", "strength-boosted", "25", "Force (boosté) :"},
    {enduranceBoosted, "enduranceBoosted", "endurance-boosted", "25", "Endurance (boosté) :"},
    {dexterityBoosted, "dexterityBoosted", "dexterity-boosted", "25", "Dexterité (boosté) :"},
    {intelligenceBoosted, "intelligenceBoosted", "intelligence-boosted", "25", "Intelligence (boosté) :"},
    {wisdomBoosted, "wisdomBoosted", "wisdom-boosted", "25", "Sagesse (boosté) :"},
    {strengthBase, "strengthBase", "strength-base", "25", "Force (pur) :"},
    {enduranceBase, "enduranceBase", "endurance-base", "25", "Endurance (pur) :"},
    {dexterityBase, "dexterityBase", "dexterity-base", "25", "Dexterité (pur) :"},
    {intelligenceBase, "intelligenceBase", "intelligence-base", "25", "Intelligence (pur) :"},
    {wisdomBase, "wisdomBase", "wisdom-base", "25", "Sagesse (pur) :"},
    {firePower, "firePower", "fire-power", "100", "Puissance Feu :"},
    {waterPower, "waterPower", "water-power", "100", "Puissance Eau :"},
    {earthPower, "earthPower", "earth-power", "100", "Puissance Terre :"},
    {airPower, "airPower", "air-power", "100", "Puissance Air :"},
    {necroPower, "necroPower", "necro-power", "100", "Puissance Necro :"},
    {targetArmour, "targetArmour", "target-armour", "0", "CA :"},
    {fireResist, "fireResist", "fire-resist", "100", "Résistance Feu :"},
    {airResist, "airResist", "air-resist", "100", "Résistance Air :"},
    {waterResist, "waterResist", "water-resist", "100", "Résistance Eau :"},
    {earthResist, "earthResist", "earth-resist", "100", "Résistance Terre :"},
    {necroResist, "necroResist", "necro-resist", "100", "Résistance Necro :"},
    {lightPower, "lightPower", "light-power", "100", "Lumiere :"},
}};

const std::array<OutputField, 16> outputFields = {{
    {armourBonusMin, "armourBonusMin", "Bonus CA :"},
    {armourBonusMax, "armourBonusMax", "Bonus CA :"},
    {strengthBonus, "strengthBonus", "Bonus Force  :"},
    {dexterityBonus, "dexterityBonus", "Bonus Dexterité  :"},
    {intelligenceBonus, "intelligenceBonus", "Bonus Intelligence :"},
    {wisdomBonus, "wisdomBonus", "Bonus Sagesse :"},
    {hitPointsBonusMin, "hitPointsBonusMin", "Bonus PV :"},
    {hitPointsBonusMax, "hitPointsBonusMax", "Bonus PV :"},
    {attackBonus, "attackBonus", "Bonus Attaque :"},
    {archeryBonus, "archeryBonus", "Bonus Archerie :"},
    {recastDelay, "recastDelay", "1 coup toutes les *"},
    {moveDelay, "moveDelay", "Temps avant mouvement  :"},
    {effectMin, "effectMin", "Dégats sur l'adversaire ou PV gagnés si sort de soin :"},
    {effectMax, "effectMax", "Dégats sur l'adversaire ou PV gagnés si sort de soin :"},
    {successChance, "successChance", "Chances de réussite :"},
    {specialText, "specialText", "Spécial :"},
}};

const InputField* findInput(std::string_view nameOrOption) {
    auto it = std::find_if(inputFields.begin(), inputFields.end(),
                           [&](const InputField& f) { return f.name == nameOrOption || f.option == nameOrOption; });
    return it == inputFields.end() ? nullptr : &*it;
}

const InputField* findInputById(int id) {
    auto it = std::find_if(inputFields.begin(), inputFields.end(), [&](const InputField& f) { return f.id == id; });
    return it == inputFields.end() ? nullptr : &*it;
}

const OutputField* findOutput(int id) {
    auto it = std::find_if(outputFields.begin(), outputFields.end(), [&](const OutputField& f) { return f.id == id; });
    return it == outputFields.end() ? nullptr : &*it;
}

bool isOutputField(int id) { return findOutput(id) != nullptr; }

}  // namespace vyr
