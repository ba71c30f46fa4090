// The 29 special rules: one constant table of (code, text, action). Texts are
// Windows-1252; the accented originals stand in the comment above each entry.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>

#include "cp1252.h"
#include "effects.h"
#include "number_model.h"

namespace vyr {

struct RuleContext {
    CalculatorForm& form;
    const CharacterInputs& in;
    PendingResults& pending;
    CalcTrace* trace;
    const char* text;

    void writeText() const { form.writeText(field::specialText, text); }
    void setInteger(int id, std::int32_t value) const { form.writeUnsigned(id, asUnsigned(value)); }
    void setFloat(int id, double value) const { form.writeUnsigned(id, toDisplayValue(value)); }
};

namespace {

// Sum of the five boosted characteristics, added in double in this order.
double boostedSum(const CharacterInputs& in) {
    double s = static_cast<double>(in.intelligenceBoosted);
    s = s + static_cast<double>(in.wisdomBoosted);
    s = s + static_cast<double>(in.strengthBoosted);
    s = s + static_cast<double>(in.dexterityBoosted);
    s = s + static_cast<double>(in.enduranceBoosted);
    return s;
}

// What a float result shows: the value, then its truncation as the field holds it.
std::string shownFloat(double value) {
    return showDouble(value) + " → affiché " + std::to_string(toDisplayValue(value));
}

// An integer result, with the field's unsigned form when that differs (-1 shows 4294967295).
std::string shownInteger(std::int32_t value) {
    std::string text = std::to_string(value);
    if (value < 0) text += " (affiché " + std::to_string(asUnsigned(value)) + ")";
    return text;
}

// A level term that falls 20 ms per level above the reference level, never below 0.
std::int32_t levelTerm(std::int32_t start, std::int32_t level, std::int32_t reference, CalcTrace* trace) {
    const std::int32_t raw = wrapSub(start, wrapMul(wrapSub(level, reference), 20));
    traceStep(trace, "Terme de niveau : %d - (niveau %d - %d) × 20 = %d%s", start, level, reference, raw,
              raw < 0 ? ", négatif donc 0" : "");
    return zeroIfNegative(raw);
}

void overrideTiming(const RuleContext& c, std::int32_t term, std::int32_t move, std::int32_t recast) {
    c.pending.moveDelayMs = wrapAdd(term, move);
    c.pending.recastDelayMs = wrapAdd(term, recast);
    traceStep(c.trace, "Délais remplacés : mouvement %d + %d = %d ms, relance %d + %d = %d ms", term, move,
              c.pending.moveDelayMs, term, recast, c.pending.recastDelayMs);
}

void sbl(const RuleContext& c) {
    const std::int32_t w = c.in.wisdomBoosted;
    const float low = static_cast<float>(static_cast<double>(w));
    const double highExact = static_cast<double>(w) * 5.0 / 4.0;
    const float high = static_cast<float>(highExact);
    c.setFloat(field::hitPointsBonusMin, low);
    c.setFloat(field::hitPointsBonusMax, high);
    c.setInteger(field::attackBonus, divTowardZero(w, 2));
    c.setInteger(field::archeryBonus, divTowardZero(w, 2));
    c.form.writeUnsigned(field::successChance, 100);
    if (!c.trace) return;
    // Widened in full: the shortest text of a float would hide its rounding.
    traceStep(c.trace, "Bonus PV min : sagesse boostée %d → %s (simple précision) → affiché %u", w,
              showDouble(low).c_str(), toDisplayValue(low));
    traceStep(c.trace, "Bonus PV max : (%d × 5) / 4 = %s → %s (simple précision) → affiché %u", w,
              showDouble(highExact).c_str(), showDouble(high).c_str(), toDisplayValue(high));
    traceStep(c.trace, "Bonus Attaque et Archerie : %d / 2 = %s", w, shownInteger(divTowardZero(w, 2)).c_str());
    traceStep(c.trace, "Chances écrites à 100 tout de suite");
}

// A bonus of a fraction of one pure characteristic, then the rule's text where it has one.
struct PureBonus {
    int output;
    std::int32_t CharacterInputs::*pure;
    std::int32_t divisor;
    const char* said;  // how the trace names the bonus and the characteristic
};
constexpr PureBonus intelligenceQuarter{field::intelligenceBonus, &CharacterInputs::intelligenceBase, 4,
                                        "Bonus Intelligence : intelligence pure"};
constexpr PureBonus strengthQuarter{field::strengthBonus, &CharacterInputs::strengthBase, 4,
                                    "Bonus Force : force pure"};
constexpr PureBonus dexterityQuarter{field::dexterityBonus, &CharacterInputs::dexterityBase, 4,
                                     "Bonus Dexterité : dextérité pure"};
constexpr PureBonus wisdomThird{field::wisdomBonus, &CharacterInputs::wisdomBase, 3, "Bonus Sagesse : sagesse pure"};

template <const PureBonus& bonus>
void pureStatBonus(const RuleContext& c) {
    const std::int32_t pure = c.in.*bonus.pure;
    c.setInteger(bonus.output, divTowardZero(pure, bonus.divisor));
    if (c.trace) {
        traceStep(c.trace, "%s %d / %d = %s", bonus.said, pure, bonus.divisor,
                  shownInteger(divTowardZero(pure, bonus.divisor)).c_str());
    }
    if (c.text) c.writeText();
}

void sds(const RuleContext& c) {
    overrideTiming(c, levelTerm(1060, c.in.level, 56, c.trace), 2750, 3000);
    c.writeText();
}

void strengthFromWisdomAndIntelligence(const RuleContext& c) {
    const double w = static_cast<double>(c.in.wisdomBoosted) / 15.0 + 10.0;
    const double v = w + static_cast<double>(c.in.intelligenceBoosted) / 20.0;
    c.setFloat(field::strengthBonus, v);
    if (c.trace) {
        traceStep(c.trace, "Bonus Force : (sagesse boostée %d / 15 + 10) + (intelligence boostée %d / 20) = %s",
                  c.in.wisdomBoosted, c.in.intelligenceBoosted, shownFloat(v).c_str());
    }
}

void chanceFromEarth(const RuleContext& c) {
    const double v = static_cast<double>(c.in.earthPower) * 50.0 / static_cast<double>(c.in.earthResist);
    c.pending.chancePercent = asSigned(toDisplayValue(v));
    if (c.trace) {
        traceStep(c.trace, "Chances : (puissance terre %d × 50) / résistance terre %d = %s %%", c.in.earthPower,
                  c.in.earthResist, shownFloat(v).c_str());
    }
    c.writeText();
}

void saf(const RuleContext& c) {
    const std::int32_t l = c.in.level;
    c.setInteger(field::effectMin, wrapAdd(divTowardZero(l, 2), 1));
    c.setInteger(field::effectMax, wrapAdd(l, divTowardZero(l, 2)));
    if (c.trace) {
        traceStep(c.trace, "Effet : niveau %d / 2 + 1 = %s à %d + %d / 2 = %s", l,
                  shownInteger(wrapAdd(divTowardZero(l, 2), 1)).c_str(), l, l,
                  shownInteger(wrapAdd(l, divTowardZero(l, 2))).c_str());
    }
}

void sbu(const RuleContext& c) {
    c.setInteger(field::armourBonusMin, 1);
    c.setInteger(field::armourBonusMax, c.in.level);
    if (c.trace) traceStep(c.trace, "Bonus CA : 1 à %s (le niveau)", shownInteger(c.in.level).c_str());
}

void srv(const RuleContext& c) {
    const double v = static_cast<double>(c.in.level) * 2.5;
    c.setFloat(field::hitPointsBonusMin, v);
    c.setFloat(field::hitPointsBonusMax, v);
    if (c.trace) traceStep(c.trace, "Bonus PV : niveau %d × 2.5 = %s, min et max", c.in.level, shownFloat(v).c_str());
}

void scp(const RuleContext& c) {
    c.writeText();
    c.pending.chancePercent = 75;
    traceStep(c.trace, "Chances : 75 %%");
}

void smb(const RuleContext& c) {
    overrideTiming(c, levelTerm(820, c.in.level, 32, c.trace), 375, 500);
    const double q = static_cast<double>(c.in.intelligenceBoosted) / 13.0;
    c.setFloat(field::effectMin, q + 34.0);
    c.setFloat(field::effectMax, q + 59.0);
    if (c.trace) {
        traceStep(c.trace, "Effet min : intelligence boostée %d / 13 + 34 = %s", c.in.intelligenceBoosted,
                  shownFloat(q + 34.0).c_str());
        traceStep(c.trace, "Effet max : %d / 13 + 59 = %s", c.in.intelligenceBoosted, shownFloat(q + 59.0).c_str());
    }
}

// "sab", "sah", "sas": nothing but a chance of 0 without rebirths.
void rebirthRange(const RuleContext& c, double divisor, double lowOffset, double highOffset, std::int32_t chance,
                  const char* chanceTerm) {
    c.pending.chancePercent = 0;
    if (c.in.rebirths == 0) {
        traceStep(c.trace, "Aucune renaissance : chances 0, pas d'effet");
        return;
    }
    const double s = boostedSum(c.in);
    const double low = s / divisor + lowOffset;
    const double high = s / divisor + highOffset;
    c.setFloat(field::effectMin, low);
    c.setFloat(field::effectMax, high);
    c.pending.chancePercent = chance;
    if (!c.trace) return;
    traceStep(c.trace,
              "Somme des caractéristiques boostées S = intelligence %d + sagesse %d + force %d + dextérité %d + "
              "endurance %d = %s",
              c.in.intelligenceBoosted, c.in.wisdomBoosted, c.in.strengthBoosted, c.in.dexterityBoosted,
              c.in.enduranceBoosted, showDouble(s).c_str());
    traceStep(c.trace, "Effet min : %s / %g %c %g = %s", showDouble(s).c_str(), divisor, lowOffset < 0 ? '-' : '+',
              std::fabs(lowOffset), shownFloat(low).c_str());
    traceStep(c.trace, "Effet max : %s / %g %c %g = %s", showDouble(s).c_str(), divisor, highOffset < 0 ? '-' : '+',
              std::fabs(highOffset), shownFloat(high).c_str());
    traceStep(c.trace, "Chances : renaissances %d%s = %s %%", c.in.rebirths, chanceTerm, shownInteger(chance).c_str());
}

void sab(const RuleContext& c) { rebirthRange(c, 5.0, -5.0, -1.0, c.in.rebirths, ""); }
void sah(const RuleContext& c) { rebirthRange(c, 5.0, 1.0, 5.0, wrapAdd(c.in.rebirths, 4), " + 4"); }
void sas(const RuleContext& c) { rebirthRange(c, 10.0, 1.0, 5.0, wrapMul(c.in.rebirths, 5), " × 5"); }

void ssa(const RuleContext& c) {
    const std::int32_t l = c.in.level;
    c.pending.moveDelayMs = 0;
    c.pending.recastDelayMs = wrapSub(120000, wrapMul(wrapSub(l, 52), 300));
    if (l >= 452) c.pending.recastDelayMs = 0;
    const std::int32_t term = wrapSub(1020, wrapMul(wrapSub(l, 52), 20));
    if (term >= 0) c.pending.moveDelayMs = term;
    c.pending.moveDelayMs = wrapAdd(c.pending.moveDelayMs, 750);
    c.setInteger(field::armourBonusMin, 9000);
    c.setInteger(field::armourBonusMax, 9000);
    traceStep(c.trace, "Relance remplacée : 120000 - (niveau %d - 52) × 300 = %d ms%s", l,
              wrapSub(120000, wrapMul(wrapSub(l, 52), 300)), l >= 452 ? ", 0 à partir du niveau 452" : "");
    traceStep(c.trace, "Terme de niveau : 1020 - (niveau %d - 52) × 20 = %d%s", l, term,
              term < 0 ? ", négatif donc 0" : "");
    traceStep(c.trace, "Mouvement remplacé : %d + 750 = %d ms", term < 0 ? 0 : term, c.pending.moveDelayMs);
    traceStep(c.trace, "Bonus CA : 9000 à 9000");
    c.writeText();
}

void stu(const RuleContext& c) {
    const std::int32_t w = c.in.wisdomBoosted;
    const std::int32_t twiceLevel = wrapMul(2, c.in.level);  // wraps before it is converted
    const double divisor = static_cast<double>(twiceLevel) + 20.0;
    auto effect = [&](double offset) {
        const double t = (static_cast<double>(w) / 16.0 + offset) * static_cast<double>(c.in.lightPower) / 5000.0;
        return t * static_cast<double>(w) / divisor;
    };
    const double low = effect(28.0);
    const double high = effect(33.0);
    c.setFloat(field::effectMin, low);
    c.setFloat(field::effectMax, high);
    if (c.trace) {
        traceStep(c.trace, "D = 2 × niveau %d = %d (entier 32 bits), diviseur D + 20 = %s", c.in.level, twiceLevel,
                  showDouble(divisor).c_str());
        traceStep(c.trace, "Effet min : ((((sagesse boostée %d / 16) + 28) × lumière %d / 5000) × %d) / %s = %s", w,
                  c.in.lightPower, w, showDouble(divisor).c_str(), shownFloat(low).c_str());
        traceStep(c.trace, "Effet max : ((((%d / 16) + 33) × %d / 5000) × %d) / %s = %s", w, c.in.lightPower, w,
                  showDouble(divisor).c_str(), shownFloat(high).c_str());
    }
    c.writeText();
}

}  // namespace

constexpr SpecialRule rules[] = {
    {"sbl", nullptr, sbl},
    {"sct", nullptr, pureStatBonus<intelligenceQuarter>},
    // Réduit la puissance lumiere pure de la cible de 2/3
    {"scu",
     "R\xE9"
     "duit la puissance lumiere pure de la cible de 2/3",
     nullptr},
    // Dissipe certains sorts maléfiques
    {"sds",
     "Dissipe certains sorts mal\xE9"
     "fiques",
     sds},
    {"sea", nullptr, strengthFromWisdomAndIntelligence},
    // Réduit l'esquive de la cible de 3/4, 33 spaces, Durée (en ms) : 5000 + ... inferieure à 5000ms
    {"sen",
     "R\xE9"
     "duit l'esquive de la cible de 3/4                                 Dur\xE9"
     "e (en ms) : 5000 + 1 nombre compris entre 1 et (12500-la force de l'adversaire*25). La dur\xE9"
     "e ne peut \xEAtre inferieure \xE0 5000ms",
     chanceFromEarth},
    // Rend la cible invisible. Peut être détécté par Révélation ou Detection de l'invisibilité
    {"sin",
     "Rend la cible invisible. Peut \xEAtre d\xE9t\xE9"
     "ct\xE9 par R\xE9v\xE9lation ou Detection de l'invisibilit\xE9",
     nullptr},
    {"saf", nullptr, saf},
    {"sbu", nullptr, sbu},
    {"srv", nullptr, srv},
    {"sli", "Illumine les environs du jeteur de sort", nullptr},
    // Soigne le poison.Taux de réussite de 50 à 75% selon le poison
    {"scp", "Soigne le poison.Taux de r\xE9ussite de 50 \xE0 75% selon le poison", scp},
    {"sdi", "Detecte les personnes et les choses invisibles", nullptr},
    // Detecte les personnes et les choses cachées
    {"sdh",
     "Detecte les personnes et les choses cach\xE9"
     "es",
     nullptr},
    // Augmente l'attaque de la cible de 1/2 de son attaque pure, de même avec l'archerie, ...
    {"smc",
     "Augmente l'attaque de la cible de 1/2 de son attaque pure, de m\xEAme avec l'archerie, et de 1/3 de "
     "l'esquive pure pour l'esquive",
     pureStatBonus<strengthQuarter>},
    {"smb", nullptr, smb},
    // Augmente toutes les résistances pures de 1/3
    {"sms", "Augmente toutes les r\xE9sistances pures de 1/3", nullptr},
    // Augmente toutes les puissances pures de 1/3, sauf pour la puissance pure necro augmentée de 1/4
    {"sma",
     "Augmente toutes les puissances pures de 1/3, sauf pour la puissance pure necro augment\xE9"
     "e de 1/4",
     nullptr},
    // Augmente l'attaque de la cible de 1/3 de son attaque pure, de même avec l'archerie, ...
    {"smi",
     "Augmente l'attaque de la cible de 1/3 de son attaque pure, de m\xEAme avec l'archerie, et de 1/4 de "
     "l'esquive pure pour l'esquive",
     nullptr},
    {"sni", "Augmente l'esquive de la cible de 1/2 de son esquive pure", pureStatBonus<dexterityQuarter>},
    {"sab", nullptr, sab},
    {"sah", nullptr, sah},
    {"sas", nullptr, sas},
    // Augmente votre résistance au feu de 1 fois votre résistance pure au feu
    {"srf", "Augmente votre r\xE9sistance au feu de 1 fois votre r\xE9sistance pure au feu", nullptr},
    // Augmente votre résistance à l'eau de 1 fois votre résistance pure à l'eau
    {"sri", "Augmente votre r\xE9sistance \xE0 l'eau de 1 fois votre r\xE9sistance pure \xE0 l'eau", nullptr},
    // Met toutes les resistances à 50000. La cible devient invincible pendant 1 minute
    {"ssa", "Met toutes les resistances \xE0 50000. La cible devient invincible pendant 1 minute", ssa},
    {"str", nullptr, pureStatBonus<wisdomThird>},
    // Combine l'effet de Détection de l'invisibilité et du caché
    {"sts", "Combine l'effet de D\xE9tection de l'invisibilit\xE9 et du cach\xE9", nullptr},
    // Compté comme un tir sur un joueur (résistance lumière de 5000)
    {"stu", "Compt\xE9 comme un tir sur un joueur (r\xE9sistance lumi\xE8re de 5000)", stu},
};
static_assert(std::size(rules) == specialRuleCount);

namespace {

// A run stops at the first rule of its code.
constexpr bool codesDiffer() {
    for (std::size_t i = 0; i < std::size(rules); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (std::string_view(rules[i].code) == rules[j].code) return false;
        }
    }
    return true;
}
static_assert(codesDiffer());

}  // namespace

void applySpecialRules(CalculatorForm& form, const char* code, const CharacterInputs& inputs, PendingResults& pending,
                       CalcTrace* trace) {
    // Whole-code, case-sensitive match: "sblx" and "SBL" match nothing.
    for (const SpecialRule& rule : rules) {
        if (std::strcmp(rule.code, code) != 0) continue;
        traceStep(trace, "Sort spécial, règle « %s »%s", rule.code, rule.text ? ", avec sa description" : "");
        const RuleContext context{form, inputs, pending, trace, rule.text};
        if (rule.action) {
            rule.action(context);
        } else {
            context.writeText();
            traceStep(trace, "Description seulement : délais de base, chances 100 %%");
        }
        return;
    }
    if (trace) {
        traceStep(trace, "Sort spécial « %s » : aucune règle ne porte ce code ; délais de base, chances 100 %%",
                  cp1252ToUtf8(code).c_str());
    }
}

std::span<const SpecialRule> specialRules() { return rules; }

bool isSpecialRuleCode(std::string_view code) {
    return std::any_of(std::begin(rules), std::end(rules), [&](const SpecialRule& rule) { return code == rule.code; });
}

}  // namespace vyr
