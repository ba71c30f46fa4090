#pragma once
// The two effect operations of a run: the standard formula and the special rules.

#include <cstdint>
#include <string_view>

#include "calculation_run.h"

namespace vyr {

void applyStandardEffect(CalculatorForm& form, const SpellRecord& record, const CharacterInputs& inputs,
                         CalcTrace* trace = nullptr);

struct PendingResults {
    std::int32_t moveDelayMs = 0;
    std::int32_t recastDelayMs = 0;
    std::int32_t chancePercent = 100;
};

void applySpecialRules(CalculatorForm& form, const char* code, const CharacterInputs& inputs, PendingResults& pending,
                       CalcTrace* trace = nullptr);

// The codes of the special rules, in table order (for the tools and the file check).
inline constexpr std::size_t specialRuleCount = 29;
std::string_view specialRuleCode(std::size_t index);
bool isSpecialRuleCode(std::string_view code);

// The text that "bd" standard spells write to specialText (Windows-1252).
extern const char* const drainText;

}  // namespace vyr
