#include "expected_layout.h"

namespace vyr::e2e {

// clang-format off
const std::array<ExpectedControl, 90> expectedControls = {{
    {1000, Kind::DefaultButton, 0, L"Quitter", {422, 282, 50, 14}},  // quitButton
    {noId, Kind::GroupBox, 0, L"Vos stats", {13, 8, 138, 280}},
    {1002, Kind::Edit, digits, L"", {67, 69, 24, 12}},  // strengthBase
    {1003, Kind::Edit, digits, L"", {67, 90, 24, 12}},  // enduranceBase
    {noId, Kind::Label, 0, L"Force :", {17, 69, 27, 9}},
    {noId, Kind::Label, 0, L"Endurance :", {17, 90, 39, 9}},
    {1012, Kind::Edit, digits, L"", {67, 111, 24, 12}},  // dexterityBase
    {noId, Kind::Label, 0, L"Dexterit\u00e9 :", {17, 111, 31, 9}},
    {1013, Kind::Edit, digits, L"", {67, 132, 24, 12}},  // wisdomBase
    {noId, Kind::Label, 0, L"Sagesse :", {17, 132, 31, 9}},
    {1014, Kind::Edit, digits, L"", {67, 153, 24, 12}},  // intelligenceBase
    {noId, Kind::Label, 0, L"Intelligence :", {17, 153, 39, 9}},
    {1015, Kind::Edit, digits, L"", {111, 69, 24, 12}},  // strengthBoosted
    {1016, Kind::Edit, digits, L"", {111, 90, 24, 12}},  // enduranceBoosted
    {1017, Kind::Edit, digits, L"", {111, 111, 24, 12}},  // dexterityBoosted
    {1018, Kind::Edit, digits, L"", {111, 132, 24, 12}},  // wisdomBoosted
    {1019, Kind::Edit, digits, L"", {111, 153, 24, 12}},  // intelligenceBoosted
    {noId, Kind::GroupBox, 0, L"Pur", {63, 58, 36, 112}},
    {noId, Kind::GroupBox, 0, L"Boost\u00e9", {107, 58, 36, 112}},
    {noId, Kind::Label, 0, L"Puissances : (humain \u00e0 poil : tout \u00e0 100)", {15, 182, 128, 8}},
    {1020, Kind::Edit, digits, L"", {63, 202, 17, 12}},  // firePower
    {noId, Kind::Label, 0, L"Feu :", {15, 203, 39, 9}},
    {1021, Kind::Edit, digits, L"", {63, 219, 17, 12}},  // waterPower
    {noId, Kind::Label, 0, L"Eau :", {15, 220, 39, 9}},
    {1022, Kind::Edit, digits, L"", {63, 236, 17, 12}},  // airPower
    {noId, Kind::Label, 0, L"Air :", {15, 237, 39, 9}},
    {1023, Kind::Edit, digits, L"", {63, 253, 17, 12}},  // earthPower
    {noId, Kind::Label, 0, L"Terre :", {15, 254, 39, 9}},
    {1024, Kind::Edit, digits, L"", {63, 270, 17, 12}},  // necroPower
    {noId, Kind::Label, 0, L"Necro :", {15, 271, 39, 9}},
    {noId, Kind::GroupBox, 0, L"L'adversaire", {156, 8, 160, 124}},
    {noId, Kind::Label, 0, L"R\u00e9sistances :", {160, 28, 76, 8}},
    {1034, Kind::Edit, digits, L"", {207, 44, 17, 12}},  // fireResist
    {noId, Kind::Label, 0, L"Feu :", {161, 46, 39, 9}},
    {1035, Kind::Edit, digits, L"", {207, 62, 17, 12}},  // waterResist
    {noId, Kind::Label, 0, L"Eau :", {160, 62, 39, 9}},
    {1036, Kind::Edit, digits, L"", {207, 78, 17, 12}},  // airResist
    {noId, Kind::Label, 0, L"Air :", {160, 79, 39, 9}},
    {1037, Kind::Edit, digits, L"", {207, 95, 17, 12}},  // earthResist
    {noId, Kind::Label, 0, L"Terre :", {160, 97, 39, 9}},
    {1038, Kind::Edit, digits, L"", {207, 113, 17, 12}},  // necroResist
    {noId, Kind::Label, 0, L"Necro :", {160, 113, 39, 9}},
    {1004, Kind::Edit, digits, L"", {284, 28, 20, 12}},  // targetArmour
    {noId, Kind::Label, 0, L"CA :", {264, 28, 16, 8}},
    {noId, Kind::Label, 0, L"Choisissez un sort :", {321, 13, 108, 8}},
    {1006, Kind::ComboBox, 0, L"", {321, 25, 123, 271}},  // spellList
    {noId, Kind::Label, 0, L"D\u00e9gats sur l'adversaire ou PV gagn\u00e9s si sort de soin :", {321, 43, 99, 16}},
    {1008, Kind::Edit, readOnly, L"", {321, 63, 45, 12}},  // effectMin
    {noId, Kind::Label, 0, L"-", {373, 63, 8, 8}},
    {1009, Kind::Edit, readOnly | ES_AUTOHSCROLL, L"", {382, 63, 45, 12}},  // effectMax
    {noId, Kind::Label, 0, L"Temps avant mouvement  :", {321, 82, 89, 11}},
    {1010, Kind::Edit, readOnly, L"", {415, 79, 32, 12}},  // moveDelay
    {noId, Kind::Label, 0, L"1 coup toutes les *", {321, 102, 59, 10}},
    {1011, Kind::Edit, readOnly, L"", {385, 100, 33, 12}},  // recastDelay
    {noId, Kind::Label, 0, L"ms", {424, 102, 18, 10}},
    {noId, Kind::Label, 0, L"Level :", {19, 38, 32, 8}},
    {1025, Kind::Edit, digits, L"", {67, 36, 16, 12}},  // level
    {noId, Kind::Label, 0, L"Nombre de rennaissances :", {93, 16, 51, 16}},
    {1026, Kind::Edit, digits, L"", {107, 36, 14, 12}},  // rebirths
    {noId, Kind::Label, 0, L"Bonus Dexterit\u00e9  :", {163, 163, 60, 9}},
    {noId, Kind::Label, 0, L"Bonus Force  :", {163, 148, 62, 9}},
    {noId, Kind::Label, 0, L"Bonus Sagesse :", {163, 178, 66, 9}},
    {noId, Kind::Label, 0, L"Bonus Intelligence :", {163, 193, 65, 9}},
    {noId, Kind::Label, 0, L"Bonus CA :", {287, 148, 38, 9}},
    {noId, Kind::Label, 0, L"Bonus PV :", {163, 208, 55, 9}},
    {noId, Kind::Label, 0, L"Bonus Attaque :", {287, 161, 65, 9}},
    {noId, Kind::Label, 0, L"Bonus Archerie :", {287, 175, 65, 9}},
    {1027, Kind::Edit, readOnly, L"", {231, 145, 17, 12}},  // strengthBonus
    {1028, Kind::Edit, readOnly, L"", {231, 160, 17, 12}},  // dexterityBonus
    {1029, Kind::Edit, readOnly, L"", {231, 175, 17, 12}},  // wisdomBonus
    {1030, Kind::Edit, readOnly, L"", {231, 190, 17, 12}},  // intelligenceBonus
    {1031, Kind::Edit, readOnly, L"", {231, 205, 23, 12}},  // hitPointsBonusMin
    {1032, Kind::Edit, readOnly, L"", {269, 205, 23, 12}},  // hitPointsBonusMax
    {1039, Kind::Edit, readOnly, L"", {356, 158, 17, 12}},  // attackBonus
    {1040, Kind::Edit, readOnly, L"", {356, 172, 17, 12}},  // archeryBonus
    {noId, Kind::Label, 0, L"-", {259, 206, 8, 8}},
    {noId, Kind::Label, 0, L"Chances de r\u00e9ussite :", {321, 121, 69, 9}},
    {1042, Kind::Edit, readOnly, L"", {396, 119, 17, 12}},  // successChance
    {1043, Kind::Edit, digits, L"", {106, 234, 17, 12}},  // lightPower
    {noId, Kind::Label, 0, L"Lumiere :", {99, 222, 39, 9}},
    {noId, Kind::Label, 0, L"%", {417, 120, 13, 10}},
    {noId, Kind::Label, 0, L"Sp\u00e9cial :", {165, 228, 55, 9}},
    {1033, Kind::Edit, ES_MULTILINE | ES_READONLY, L"", {167, 240, 178, 40}},  // specialText
    {1007, Kind::DefaultButton, 0, L"GO !", {448, 25, 24, 12}},  // goButton
    {1044, Kind::Edit, readOnly, L"", {356, 145, 23, 12}},  // armourBonusMin
    {1045, Kind::Edit, readOnly, L"", {391, 145, 23, 12}},  // armourBonusMax
    {noId, Kind::Label, 0, L"-", {383, 145, 8, 8}},
    {noId, Kind::Label, 0, L"ms", {454, 82, 18, 10}},
    {noId, Kind::Label, 0, L"Vyr D\u00e9gats, calculateur de sorts\npar l'\u00e9quipe Vyr D\u00e9gats", {356, 259, 110, 17}},
    {noId, Kind::Label, 0, L"(*)  = Fatigue mentale : temps avant de pouvoir relancer un sort quelconque", {361, 189, 102, 27}},
}};
// clang-format on

std::wstring_view kindClass(Kind kind) {
    static constexpr std::wstring_view classes[] = {L"Button", L"Button", L"Static", L"Edit",
                                                    L"ComboBox"};
    return classes[static_cast<int>(kind)];
}

DWORD kindStyle(Kind kind) {
    // Every control is a visible child; what follows is each kind's own.
    static constexpr DWORD styles[] = {
        BS_DEFPUSHBUTTON | WS_TABSTOP,               // default push button
        BS_GROUPBOX,                                 // group box
        SS_LEFT | WS_GROUP,                          // label
        ES_LEFT | WS_BORDER | WS_TABSTOP,            // edit
        CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP,      // editable, list drops down, unsorted
    };
    return WS_CHILD | WS_VISIBLE | styles[static_cast<int>(kind)];
}

const char* kindName(Kind kind) {
    static constexpr const char* names[] = {"default push button", "group box", "label", "edit",
                                            "combo box"};
    return names[static_cast<int>(kind)];
}

}  // namespace vyr::e2e
