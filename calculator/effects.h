#pragma once
// The two effect operations of a run: the standard formula and the special rules.

#include <cstdint>
#include <span>
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

struct RuleContext;
// One special rule: its code, the description it writes (Windows-1252; nullptr where it writes
// none) and what it does besides (nullptr: nothing but its description).
struct SpecialRule {
    const char* code;
    const char* text;
    void (*action)(const RuleContext&);
};
// The special rules in table order: a run applies the one whose code is the whole spell code.
inline constexpr std::size_t specialRuleCount = 29;
std::span<const SpecialRule> specialRules();
bool isSpecialRuleCode(std::string_view code);

}  // namespace vyr
