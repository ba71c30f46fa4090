#include "calculation_run.h"

#include "effects.h"
#include "number_model.h"

namespace vyr {

CharacterInputs readCharacterInputs(const CalculatorForm& form) {
    // The read order is part of the run; the validity flag is ignored (invalid reads 0).
    auto read = [&](int id) { return asSigned(form.readUnsigned(id).value); };
    CharacterInputs in;
    in.rebirths = read(field::rebirths);
    in.dexterityBase = read(field::dexterityBase);
    in.strengthBase = read(field::strengthBase);
    in.wisdomBase = read(field::wisdomBase);
    in.strengthBoosted = read(field::strengthBoosted);
    in.dexterityBoosted = read(field::dexterityBoosted);
    in.enduranceBoosted = read(field::enduranceBoosted);
    in.intelligenceBase = read(field::intelligenceBase);
    in.intelligenceBoosted = read(field::intelligenceBoosted);
    in.wisdomBoosted = read(field::wisdomBoosted);
    in.level = read(field::level);
    in.targetArmour = read(field::targetArmour);
    in.fireResist = read(field::fireResist);
    in.waterResist = read(field::waterResist);
    in.necroResist = read(field::necroResist);
    in.airResist = read(field::airResist);
    in.earthResist = read(field::earthResist);
    in.firePower = read(field::firePower);
    in.waterPower = read(field::waterPower);
    in.airPower = read(field::airPower);
    in.necroPower = read(field::necroPower);
    in.earthPower = read(field::earthPower);
    in.lightPower = read(field::lightPower);
    return in;
}

CastTiming computeCastTiming(const SpellRecord& record, std::int32_t level, CalcTrace* trace) {
    const std::int32_t levelTerm = wrapMul(wrapSub(level, record.delayLevel), 20);
    const std::int32_t rawExtra = wrapSub(record.delayExtra, levelTerm);
    const std::int32_t extra = zeroIfNegative(rawExtra);
    CastTiming timing;
    timing.moveDelayMs = wrapMul(record.delayFactor, wrapAdd(extra, 750));
    timing.recastDelayMs = wrapMul(record.delayFactor, wrapAdd(extra, 1000));
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
    const SpellRecord& record = catalogue[*selected];
    const CharacterInputs inputs = readCharacterInputs(form);
    PendingResults pending;
    pending.chancePercent = 100;
    const CastTiming timing = computeCastTiming(record, inputs.level, trace);
    pending.moveDelayMs = timing.moveDelayMs;
    pending.recastDelayMs = timing.recastDelayMs;
    clearOutputs(form);

    const char* code = record.code() ? record.code() : "";
    if (code[0] == 's') {
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
