#include "calculation_run.h"

#include "effects.h"
#include "number_model.h"

namespace vyr {

namespace {
using I = CharacterInputs;
}  // namespace

const std::array<CharacterInputField, 23> characterInputFields = {{
    {field::rebirths, &I::rebirths},
    {field::dexterityBase, &I::dexterityBase},
    {field::strengthBase, &I::strengthBase},
    {field::wisdomBase, &I::wisdomBase},
    {field::strengthBoosted, &I::strengthBoosted},
    {field::dexterityBoosted, &I::dexterityBoosted},
    {field::enduranceBoosted, &I::enduranceBoosted},
    {field::intelligenceBase, &I::intelligenceBase},
    {field::intelligenceBoosted, &I::intelligenceBoosted},
    {field::wisdomBoosted, &I::wisdomBoosted},
    {field::level, &I::level},
    {field::targetArmour, &I::targetArmour},
    {field::fireResist, &I::fireResist},
    {field::waterResist, &I::waterResist},
    {field::necroResist, &I::necroResist},
    {field::airResist, &I::airResist},
    {field::earthResist, &I::earthResist},
    {field::firePower, &I::firePower},
    {field::waterPower, &I::waterPower},
    {field::airPower, &I::airPower},
    {field::necroPower, &I::necroPower},
    {field::earthPower, &I::earthPower},
    {field::lightPower, &I::lightPower},
}};

CharacterInputs readCharacterInputs(const CalculatorForm& form) {
    CharacterInputs in;
    for (const CharacterInputField& f : characterInputFields) in.*f.member = asSigned(form.readUnsigned(f.id).value);
    return in;
}

CastTiming computeCastTiming(const SpellRecord& record, std::int32_t level, CalcTrace* trace) {
    const std::int32_t levelTerm = wrapMul(wrapSub(level, record.delayLevel), 20);
    const std::int32_t rawExtra = wrapSub(record.delayExtra, levelTerm);
    const std::int32_t extra = zeroIfNegative(rawExtra);
    CastTiming timing;
    timing.moveDelayMs = wrapMul(record.delayFactor, wrapAdd(extra, 750));
    timing.recastDelayMs = wrapMul(record.delayFactor, wrapAdd(extra, 1000));
    if (!trace) return timing;  // four calls fewer on every untraced run
    traceStep(trace, "Terme de niveau : (niveau %d - niveau du sort %d) × 20 = %d", level, record.delayLevel,
              levelTerm);
    traceStep(trace, "Délai supplémentaire : %d - (%d) = %d%s", record.delayExtra, levelTerm, rawExtra,
              rawExtra < 0 ? ", négatif donc 0" : "");
    traceStep(trace, "Temps avant mouvement de base : %d × (%d + 750) = %d ms", record.delayFactor, extra,
              timing.moveDelayMs);
    traceStep(trace, "Relance de base : %d × (%d + 1000) = %d ms", record.delayFactor, extra, timing.recastDelayMs);
    return timing;
}

void runCalculation(CalculatorForm& form, const SpellCatalogue& catalogue, const ShowMessage& showMessage,
                    CalcTrace* trace) {
    const std::optional<std::size_t> selected = form.selectedSpell();
    // A position past the table cannot name a record; it is treated like no selection.
    if (!selected || *selected >= spellCapacity) {
        showMessage("Veuillez selectionner un sort", "Info");
        return;
    }
    runCalculation(form, catalogue[*selected], readCharacterInputs(form), trace);
}

void runCalculation(CalculatorForm& form, const SpellRecord& record, const CharacterInputs& inputs, CalcTrace* trace) {
    PendingResults pending;
    pending.chancePercent = 100;
    const CastTiming timing = computeCastTiming(record, inputs.level, trace);
    pending.moveDelayMs = timing.moveDelayMs;
    pending.recastDelayMs = timing.recastDelayMs;
    form.clearOutputs();

    const char* code = record.code() ? record.code() : "";
    if (isSpecialCode(code)) {
        applySpecialRules(form, code, inputs, pending, trace);
    } else {
        applyStandardEffect(form, record, inputs, trace);
    }

    form.writeUnsigned(field::recastDelay, asUnsigned(pending.recastDelayMs));
    form.writeUnsigned(field::moveDelay, asUnsigned(pending.moveDelayMs));
    form.writeUnsigned(field::successChance, asUnsigned(pending.chancePercent));
    // The unsigned form is what the fields show (-750 shows 4294966546).
    traceStep(trace, "Affiché : relance %u ms, mouvement %u ms, chances %u %%", asUnsigned(pending.recastDelayMs),
              asUnsigned(pending.moveDelayMs), asUnsigned(pending.chancePercent));
}

}  // namespace vyr
