// The standard effect: a range whose two ends are single-precision values. Every step
// computes in double from the stored floats and stores its result back as a float.
#include <cstdint>
#include <cstdio>
#include <string>

#include "code_letters.h"
#include "effects.h"
#include "number_model.h"

namespace vyr {

namespace {

struct Range {
    float low;
    float high;
};

// A stored end as the next step reads it: the float widened to double, in full. The
// shortest text of the float itself would hide the rounding (2.0999999f prints as 2.1).
std::string stored(float value) { return showDouble(static_cast<double>(value)); }

// "bas <low> = exact → stored ; haut <high> = exact → stored": one step on both ends.
void traceEnds(CalcTrace* trace, const std::string& what, const std::string& lowFormula, double lowExact, float low,
               const std::string& highFormula, double highExact, float high) {
    traceStep(trace, "%s : bas %s = %s → %s ; haut %s = %s → %s (stockés en simple précision)", what.c_str(),
              lowFormula.c_str(), showDouble(lowExact).c_str(), stored(low).c_str(), highFormula.c_str(),
              showDouble(highExact).c_str(), stored(high).c_str());
}

// q is added to both ends: q + x, rounded to single precision.
void addQuotient(Range& r, std::int32_t characteristic, std::int32_t divisor, const char* what, CalcTrace* trace) {
    const double q = static_cast<double>(characteristic) / static_cast<double>(divisor);
    const float lowBefore = r.low;
    const float highBefore = r.high;
    const double low = q + static_cast<double>(r.low);
    const double high = q + static_cast<double>(r.high);
    r.low = static_cast<float>(low);
    r.high = static_cast<float>(high);
    if (!trace) return;
    const std::string term = showDouble(q);
    traceStep(trace, "%s : %d / %d = %s, ajouté aux deux bouts", what, characteristic, divisor, term.c_str());
    traceEnds(trace, what, term + " + " + stored(lowBefore), low, r.low, term + " + " + stored(highBefore), high,
              r.high);
}

// (power × x) / resistance on both ends, the product formed first; a missing power
// multiplies by 100 (x × 100, as the "b" codes write it), a missing resistance divides by 100.
void scaleBy(Range& r, const CodeLetter& rule, const CharacterInputs& in, CalcTrace* trace) {
    const std::int32_t factor = rule.power ? in.*rule.power : 100;
    const std::int32_t divisor = rule.resistance ? in.*rule.resistance : 100;
    const float lowBefore = r.low;
    const float highBefore = r.high;
    const double low = static_cast<double>(factor) * static_cast<double>(r.low) / static_cast<double>(divisor);
    const double high = static_cast<double>(factor) * static_cast<double>(r.high) / static_cast<double>(divisor);
    r.low = static_cast<float>(low);
    r.high = static_cast<float>(high);
    if (!trace) return;
    const std::string element(rule.element);
    const std::string what =
        rule.power ? "Mise à l'échelle " + element + " (puissance " + std::to_string(factor) +
                         (rule.resistance ? ", résistance " + std::to_string(divisor) : ", sur 100") + ")"
                   : "Mise à l'échelle par la résistance " + element + " seule (" + std::to_string(divisor) + ")";
    auto formula = [&](float x) {
        char text[96];
        if (rule.power)
            std::snprintf(text, sizeof text, "(%d × %s) / %d", factor, stored(x).c_str(), divisor);
        else
            std::snprintf(text, sizeof text, "(%s × 100) / %d", stored(x).c_str(), divisor);
        return std::string(text);
    };
    traceEnds(trace, what, formula(lowBefore), low, r.low, formula(highBefore), high, r.high);
}

void applyScaling(CalculatorForm& form, Range& r, const CodeLetter* rule, const CharacterInputs& in, CalcTrace* trace) {
    if (rule && rule->text) {
        form.writeText(field::specialText, rule->text);
        traceStep(trace, "Code « %s » : texte spécial écrit", std::string(rule->prefix).c_str());
    }
    if (rule && rule->scales()) return scaleBy(r, *rule, in, trace);
    traceStep(trace, "Mise à l'échelle : aucune, le début du code n'en demande pas");
}

}  // namespace

void applyStandardEffect(CalculatorForm& form, const SpellRecord& record, const CharacterInputs& in, CalcTrace* trace) {
    const CodeLetter* rule = codeLetterOf(record.code() ? record.code() : "");
    Range r;
    if (record.rollRange == 0) {
        const double base = static_cast<double>(record.rollBase);
        r.low = r.high = static_cast<float>(base);
        if (trace) {
            traceStep(trace, "Jet fixe : %d → %s (stocké en simple précision, les deux bouts)", record.rollBase,
                      stored(r.low).c_str());
        }
    } else {
        // Formed in double: it does not wrap at 32 bits.
        const double low = static_cast<double>(record.rollBase) + 1.0;
        const double high = static_cast<double>(record.rollBase) + static_cast<double>(record.rollRange);
        r.low = static_cast<float>(low);
        r.high = static_cast<float>(high);
        if (trace) {
            traceEnds(trace, "Jet", std::to_string(record.rollBase) + " + 1", low, r.low,
                      std::to_string(record.rollBase) + " + " + std::to_string(record.rollRange), high, r.high);
        }
    }
    if (record.intDivisor != 0) {
        addQuotient(r, in.intelligenceBoosted, record.intDivisor, "Intelligence", trace);
    } else {
        traceStep(trace, "Intelligence : diviseur 0, pas de terme");
    }
    if (record.wisDivisor != 0) {
        addQuotient(r, in.wisdomBoosted, record.wisDivisor, "Sagesse", trace);
    } else {
        traceStep(trace, "Sagesse : diviseur 0, pas de terme");
    }

    applyScaling(form, r, rule, in, trace);

    if (record.armourExempt == 0) {
        const float lowBefore = r.low;
        const float highBefore = r.high;
        const double low = static_cast<double>(r.low) - static_cast<double>(in.targetArmour);
        const double high = static_cast<double>(r.high) - static_cast<double>(in.targetArmour);
        r.low = static_cast<float>(low);
        r.high = static_cast<float>(high);
        if (trace) {
            const std::string armour = " - " + std::to_string(in.targetArmour);
            traceEnds(trace, "Armure de la cible", stored(lowBefore) + armour, low, r.low, stored(highBefore) + armour,
                      high, r.high);
        }
    } else {
        traceStep(trace, "Armure de la cible : ignorée (sort exempté)");
    }

    // Not at least 1, NaN included, becomes exactly 1; +infinity stays.
    const float lowBefore = r.low;
    const float highBefore = r.high;
    if (!(r.low >= 1.0f)) r.low = 1.0f;
    if (!(r.high >= 1.0f)) r.high = 1.0f;
    if (trace) {
        auto floored = [](float before, float after) {
            return before == after ? stored(after) + " (inchangé)" : stored(before) + " → 1";
        };
        traceStep(trace, "Plancher à 1 : bas %s, haut %s", floored(lowBefore, r.low).c_str(),
                  floored(highBefore, r.high).c_str());
    }

    const bool armourBonus = rule && rule->armourBonus;
    const std::uint32_t low = toDisplayValue(r.low);
    const std::uint32_t high = toDisplayValue(r.high);
    form.writeUnsigned(armourBonus ? field::armourBonusMin : field::effectMin, low);
    form.writeUnsigned(armourBonus ? field::armourBonusMax : field::effectMax, high);
    traceStep(trace, "%s affiché (tronqué vers zéro) : %u - %u", armourBonus ? "Bonus CA" : "Effet", low, high);
}

}  // namespace vyr
