#pragma once
// The typed result of one ordinary run, and the figures derived from it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setup.h"
#include "spell_list.h"
#include "table.h"

namespace vyr {

class CalcTrace;

struct OutputValue {
    enum class Kind : std::uint8_t { empty, number, text };
    Kind kind = Kind::empty;
    std::uint32_t number = 0;  // the value the dialog shows
    std::string text;          // UTF-8, for specialText
    bool operator==(const OutputValue&) const = default;
};

// An output as every table, writer and the page hold it: empty, a whole number or a text.
Cell outputCell(const OutputValue& value);

struct RunResult {
    std::size_t spell = 0;
    std::array<OutputValue, 16> outputs;  // in outputFields order

    const OutputValue& operator[](int fieldId) const { return outputs[outputPosition(fieldId)]; }
    std::optional<double> number(int fieldId) const;
};

// One run as "GO !" does it, on the in-memory form with the setup's inputs.
RunResult runSpell(const SpellList& list, std::size_t index, const Setup& setup, CalcTrace* trace = nullptr);

// An output as the form holds it: a text is Windows-1252 and lasts until the thread's next run.
struct FormOutput {
    OutputValue::Kind kind = OutputValue::Kind::empty;
    std::uint32_t number = 0;
    std::string_view cp1252Text;
};
// runSpell without a copy of its texts, for a caller that converts each text once (batch).
std::array<FormOutput, 16> runOnForm(const SpellList& list, std::size_t index, const Setup& setup,
                                     CalcTrace* trace = nullptr);
// The steps behind every number of the run, one French line each (UTF-8).
std::vector<std::string> explainRun(const SpellList& list, std::size_t index, const Setup& setup);

// Derived figures, each present only where its parts are shown:
// mean effect = (effectMin + effectMax) / 2;
double meanEffectOf(double min, double max);
std::optional<double> meanEffect(const RunResult& r);
// effect per second = mean effect x 1000 / recastDelay (recastDelay not 0);
std::optional<double> effectPerSecond(const RunResult& r);
// weighted effect per second = effect per second x (successChance / 100).
std::optional<double> weightedPerSecond(const RunResult& r);

}  // namespace vyr
