// The standard effect: a range whose two ends are single-precision values. Every step
// computes in double from the stored floats and stores its result back as a float.
#include <cstdint>

#include "effects.h"
#include "number_model.h"

namespace vyr {

// "Réduit la puissance lumière de la cible de 1/50 et réduit les PV max de 1/4. Reduit les
// PV toutes les 6sec pendant 5min", in Windows-1252.
const char* const drainText =
    "R\xE9" "duit la puissance lumi\xE8re de la cible de 1/50 et r\xE9" "duit les PV max de 1/4. "
    "Reduit les PV toutes les 6sec pendant 5min";

namespace {

using Member = std::int32_t CharacterInputs::*;

// Scaling by the first letter of the code: (power × x) / resistance, where a missing
// resistance divides by 100.
struct Scaling {
    char letter;
    Member power;
    Member resistance;
    const char* name;  // for the explanation
};

constexpr Scaling scalings[] = {
    {'a', &CharacterInputs::airPower, &CharacterInputs::airResist, "air"},
    {'d', &CharacterInputs::necroPower, &CharacterInputs::necroResist, "necro"},
    {'e', &CharacterInputs::waterPower, &CharacterInputs::waterResist, "eau"},
    {'f', &CharacterInputs::firePower, &CharacterInputs::fireResist, "feu"},
    {'t', &CharacterInputs::earthPower, &CharacterInputs::earthResist, "terre"},
    {'l', &CharacterInputs::lightPower, nullptr, "lumière"},
};

// "b" codes: (x × 100) / resistance, the resistance chosen by the second letter.
struct ResistanceOnly {
    char letter;
    Member resistance;
    const char* text;  // written to specialText, or none
    const char* name;
};

const ResistanceOnly resistanceOnly[] = {
    {'f', &CharacterInputs::fireResist, nullptr, "feu"},
    {'a', &CharacterInputs::airResist, nullptr, "air"},
    {'e', &CharacterInputs::waterResist, nullptr, "eau"},
    {'d', &CharacterInputs::necroResist, drainText, "necro"},
};

struct Range {
    float low;
    float high;
};

void traceRange(CalcTrace* trace, const char* step, double lowExact, float low, double highExact,
                float high) {
    if (!trace) return;
    traceStep(trace, "%s : bas %s → %s (simple précision), haut %s → %s (simple précision)", step,
              showDouble(lowExact).c_str(), showFloat(low).c_str(), showDouble(highExact).c_str(),
              showFloat(high).c_str());
}

// q is added to both ends: q + x, rounded to single precision.
void addQuotient(Range& r, std::int32_t characteristic, std::int32_t divisor, const char* what,
                 CalcTrace* trace) {
    const double q = static_cast<double>(characteristic) / static_cast<double>(divisor);
    traceStep(trace, "%s : %d / %d = %s", what, characteristic, divisor, showDouble(q).c_str());
    const double low = q + static_cast<double>(r.low);
    const double high = q + static_cast<double>(r.high);
    r.low = static_cast<float>(low);
    r.high = static_cast<float>(high);
    traceRange(trace, what, low, r.low, high, r.high);
}

void scaleBy(Range& r, std::int32_t power, std::int32_t divisor, CalcTrace* trace) {
    const double low = static_cast<double>(power) * static_cast<double>(r.low) / static_cast<double>(divisor);
    const double high = static_cast<double>(power) * static_cast<double>(r.high) / static_cast<double>(divisor);
    r.low = static_cast<float>(low);
    r.high = static_cast<float>(high);
    traceRange(trace, "Mise à l'échelle", low, r.low, high, r.high);
}

void applyScaling(CalculatorForm& form, Range& r, const char* code, const CharacterInputs& in,
                  CalcTrace* trace) {
    const char c0 = code[0];
    for (const Scaling& s : scalings) {
        if (s.letter != c0) continue;
        const std::int32_t power = in.*s.power;
        const std::int32_t divisor = s.resistance ? in.*s.resistance : 100;
        traceStep(trace, "Puissance %s : (%d × x) / %d", s.name, power, divisor);
        scaleBy(r, power, divisor, trace);
        return;
    }
    if (c0 != 'b') {
        traceStep(trace, "Pas de mise à l'échelle pour ce code");
        return;
    }
    for (const ResistanceOnly& b : resistanceOnly) {
        if (b.letter != code[1]) continue;
        if (b.text) form.writeText(field::specialText, b.text);
        const std::int32_t resistance = in.*b.resistance;
        traceStep(trace, "Résistance %s seule : (x × 100) / %d", b.name, resistance);
        const double low = static_cast<double>(r.low) * 100.0 / static_cast<double>(resistance);
        const double high = static_cast<double>(r.high) * 100.0 / static_cast<double>(resistance);
        r.low = static_cast<float>(low);
        r.high = static_cast<float>(high);
        traceRange(trace, "Mise à l'échelle", low, r.low, high, r.high);
        return;
    }
    traceStep(trace, "Code « b » sans résistance reconnue : pas de mise à l'échelle");
}

}  // namespace

void applyStandardEffect(CalculatorForm& form, const SpellRecord& record, const CharacterInputs& in,
                         CalcTrace* trace) {
    const char* code = record.code() ? record.code() : "";
    Range r;
    if (record.rollRange == 0) {
        r.low = r.high = static_cast<float>(static_cast<double>(record.rollBase));
        traceStep(trace, "Jet : %d à %d", record.rollBase, record.rollBase);
    } else {
        // Formed in double: it does not wrap at 32 bits.
        const double low = static_cast<double>(record.rollBase) + 1.0;
        const double high = static_cast<double>(record.rollBase) + static_cast<double>(record.rollRange);
        r.low = static_cast<float>(low);
        r.high = static_cast<float>(high);
        traceStep(trace, "Jet : %d + 1 à %d + %d", record.rollBase, record.rollBase, record.rollRange);
        traceRange(trace, "Jet", low, r.low, high, r.high);
    }
    if (record.intDivisor != 0) addQuotient(r, in.intelligenceBoosted, record.intDivisor, "Intelligence", trace);
    if (record.wisDivisor != 0) addQuotient(r, in.wisdomBoosted, record.wisDivisor, "Sagesse", trace);

    applyScaling(form, r, code, in, trace);

    if (record.armourExempt == 0) {
        const double low = static_cast<double>(r.low) - static_cast<double>(in.targetArmour);
        const double high = static_cast<double>(r.high) - static_cast<double>(in.targetArmour);
        r.low = static_cast<float>(low);
        r.high = static_cast<float>(high);
        traceStep(trace, "Armure : x - %d", in.targetArmour);
        traceRange(trace, "Armure", low, r.low, high, r.high);
    } else {
        traceStep(trace, "Armure : ignorée (sort exempté)");
    }

    // Not at least 1, NaN included, becomes exactly 1; +infinity stays.
    if (!(r.low >= 1.0f)) r.low = 1.0f;
    if (!(r.high >= 1.0f)) r.high = 1.0f;
    traceStep(trace, "Plancher à 1 : bas %s, haut %s", showFloat(r.low).c_str(), showFloat(r.high).c_str());

    const bool armourBonus = code[0] == 'p';
    const std::uint32_t low = toDisplayValue(r.low);
    const std::uint32_t high = toDisplayValue(r.high);
    form.writeUnsigned(armourBonus ? field::armourBonusMin : field::effectMin, low);
    form.writeUnsigned(armourBonus ? field::armourBonusMax : field::effectMax, high);
    traceStep(trace, "Affiché (tronqué) : %u - %u%s", low, high, armourBonus ? " (bonus CA)" : "");
}

}  // namespace vyr
