#include "fields.h"

#include <algorithm>

namespace vyr {

using namespace field;

constexpr InputGroup opponent = InputGroup::opponent;

const std::array<InputField, 24> inputFields = {{
    {level, "level", "level", "1", "Level :", "Niveau"},
    {rebirths, "rebirths", "rebirths", "0", "Nombre de rennaissances :", "Renaissances"},
    {strengthBoosted, "strengthBoosted", "strength-boosted", "25", "Force (boosté) :", "Force (boosté)"},
    {enduranceBoosted, "enduranceBoosted", "endurance-boosted", "25", "Endurance (boosté) :", "Endurance (boosté)"},
    {dexterityBoosted, "dexterityBoosted", "dexterity-boosted", "25",  // the dialog's label keeps its spelling
     "Dexterité (boosté) :", "Dextérité (boosté)"},
    {intelligenceBoosted, "intelligenceBoosted", "intelligence-boosted", "25",
     "Intelligence (boosté) :", "Intelligence (boosté)"},
    {wisdomBoosted, "wisdomBoosted", "wisdom-boosted", "25", "Sagesse (boosté) :", "Sagesse (boosté)"},
    {strengthBase, "strengthBase", "strength-base", "25", "Force (pur) :", "Force (pur)"},
    {enduranceBase, "enduranceBase", "endurance-base", "25", "Endurance (pur) :", "Endurance (pur)"},
    {dexterityBase, "dexterityBase", "dexterity-base", "25", "Dexterité (pur) :", "Dextérité (pur)"},
    {intelligenceBase, "intelligenceBase", "intelligence-base", "25", "Intelligence (pur) :", "Intelligence (pur)"},
    {wisdomBase, "wisdomBase", "wisdom-base", "25", "Sagesse (pur) :", "Sagesse (pur)"},
    {firePower, "firePower", "fire-power", "100", "Puissance Feu :", "Puissance Feu"},
    {waterPower, "waterPower", "water-power", "100", "Puissance Eau :", "Puissance Eau"},
    {earthPower, "earthPower", "earth-power", "100", "Puissance Terre :", "Puissance Terre"},
    {airPower, "airPower", "air-power", "100", "Puissance Air :", "Puissance Air"},
    {necroPower, "necroPower", "necro-power", "100", "Puissance Necro :", "Puissance Nécro"},
    {targetArmour, "targetArmour", "target-armour", "0", "CA :", "CA (classe d'armure)", opponent},
    {fireResist, "fireResist", "fire-resist", "100", "Résistance Feu :", "Résistance Feu", opponent},
    {airResist, "airResist", "air-resist", "100", "Résistance Air :", "Résistance Air", opponent},
    {waterResist, "waterResist", "water-resist", "100", "Résistance Eau :", "Résistance Eau", opponent},
    {earthResist, "earthResist", "earth-resist", "100", "Résistance Terre :", "Résistance Terre", opponent},
    {necroResist, "necroResist", "necro-resist", "100", "Résistance Necro :", "Résistance Nécro", opponent},
    {lightPower, "lightPower", "light-power", "100", "Lumiere :", "Puissance Lumière"},
}};

constexpr Best low = Best::low, high = Best::high;
constexpr std::string_view effectLabel = "Dégats sur l'adversaire ou PV gagnés si sort de soin :";
constexpr std::string_view effectPageLabel = "Dégâts sur l'adversaire ou PV gagnés si sort de soin";

const std::array<OutputField, 16> outputFields = {{
    {effectMin, "effectMin", effectLabel, effectPageLabel, "Effet min", "", high},
    {effectMax, "effectMax", effectLabel, effectPageLabel, "Effet max", "", high},
    {moveDelay, "moveDelay", "Temps avant mouvement  :", "Temps avant mouvement", "Mouvement (ms)", "ms", low},
    {recastDelay, "recastDelay", "1 coup toutes les *", "1 coup toutes les *", "Relance (ms)", "ms", low},
    {successChance, "successChance", "Chances de réussite :", "Chances de réussite", "Chances (%)", "%", high},
    {strengthBonus, "strengthBonus", "Bonus Force  :", "Bonus Force", "Bonus Force", "", high},
    {dexterityBonus, "dexterityBonus", "Bonus Dexterité  :", "Bonus Dextérité", "Bonus Dextérité", "", high},
    {wisdomBonus, "wisdomBonus", "Bonus Sagesse :", "Bonus Sagesse", "Bonus Sagesse", "", high},
    {intelligenceBonus, "intelligenceBonus", "Bonus Intelligence :", "Bonus Intelligence", "Bonus Intelligence", "",
     high},
    {hitPointsBonusMin, "hitPointsBonusMin", "Bonus PV :", "Bonus PV", "Bonus PV min", "", high},
    {hitPointsBonusMax, "hitPointsBonusMax", "Bonus PV :", "Bonus PV", "Bonus PV max", "", high},
    {armourBonusMin, "armourBonusMin", "Bonus CA :", "Bonus CA", "Bonus CA min", "", high},
    {armourBonusMax, "armourBonusMax", "Bonus CA :", "Bonus CA", "Bonus CA max", "", high},
    {attackBonus, "attackBonus", "Bonus Attaque :", "Bonus Attaque", "Bonus Attaque", "", high},
    {archeryBonus, "archeryBonus", "Bonus Archerie :", "Bonus Archerie", "Bonus Archerie", "", high},
    {specialText, "specialText", "Spécial :", "Spécial", "Spécial", "", Best::none},
}};

const std::array<int, 16> outputClearOrder = {armourBonusMin,    armourBonusMax, strengthBonus,     dexterityBonus,
                                              intelligenceBonus, wisdomBonus,    hitPointsBonusMin, hitPointsBonusMax,
                                              attackBonus,       archeryBonus,   recastDelay,       moveDelay,
                                              effectMin,         effectMax,      successChance,     specialText};

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

namespace {

std::array<std::uint8_t, lastId - firstId + 1> makePositions() {
    std::array<std::uint8_t, lastId - firstId + 1> positions{};
    for (std::size_t k = 0; k < outputFields.size(); ++k)
        positions[static_cast<std::size_t>(outputFields[k].id - firstId)] = static_cast<std::uint8_t>(k);
    return positions;
}

}  // namespace

std::size_t outputPosition(int id) {
    static const auto positions = makePositions();
    return positions[static_cast<std::size_t>(id - firstId)];
}

}  // namespace vyr
