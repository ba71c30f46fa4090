#pragma once
// One press of "GO !" or Enter: snapshot of the inputs, cast timing, effect, final writes.

#include <array>
#include <cstdint>
#include <functional>

#include "calculator_form.h"
#include "spell_record.h"
#include "trace.h"

namespace vyr {

// The 23 inputs a run reads, each taken bit for bit as a signed 32-bit value
// (invalid text counts as 0; 2^31 and more count as negative).
struct CharacterInputs {
    std::int32_t rebirths = 0;
    std::int32_t dexterityBase = 0;
    std::int32_t strengthBase = 0;
    std::int32_t wisdomBase = 0;
    std::int32_t strengthBoosted = 0;
    std::int32_t dexterityBoosted = 0;
    std::int32_t enduranceBoosted = 0;
    std::int32_t intelligenceBase = 0;
    std::int32_t intelligenceBoosted = 0;
    std::int32_t wisdomBoosted = 0;
    std::int32_t level = 0;
    std::int32_t targetArmour = 0;
    std::int32_t fireResist = 0;
    std::int32_t waterResist = 0;
    std::int32_t necroResist = 0;
    std::int32_t airResist = 0;
    std::int32_t earthResist = 0;
    std::int32_t firePower = 0;
    std::int32_t waterPower = 0;
    std::int32_t airPower = 0;
    std::int32_t necroPower = 0;
    std::int32_t earthPower = 0;
    std::int32_t lightPower = 0;
};

using InputMember = std::int32_t CharacterInputs::*;

// The 23 inputs in the order a run reads them (the order is part of the run), each with
// the member it fills.
struct CharacterInputField {
    int id;
    InputMember member;
};
extern const std::array<CharacterInputField, 23> characterInputFields;

// Invalid text reads 0: the validity flag is ignored.
CharacterInputs readCharacterInputs(const CalculatorForm& form);

struct CastTiming {
    std::int32_t moveDelayMs = 0;
    std::int32_t recastDelayMs = 0;
};

CastTiming computeCastTiming(const SpellRecord& record, std::int32_t level, CalcTrace* trace = nullptr);

// Shows a modal message (text and caption in Windows-1252) and returns once dismissed.
using ShowMessage = std::function<void(const char* text, const char* caption)>;

// With no spell selected it only shows "Veuillez selectionner un sort".
void runCalculation(CalculatorForm& form, const SpellCatalogue& catalogue, const ShowMessage& showMessage,
                    CalcTrace* trace = nullptr);
// The run once its inputs are read: for a caller that holds them as numbers already, the
// very numbers readCharacterInputs would read back from the form.
void runCalculation(CalculatorForm& form, const SpellRecord& record, const CharacterInputs& inputs,
                    CalcTrace* trace = nullptr);

}  // namespace vyr
