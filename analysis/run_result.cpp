#include "run_result.h"

#include "calculation_run.h"
#include "cp1252.h"
#include "memory_form.h"
#include "number_model.h"

namespace vyr {

namespace {

class LineTrace : public CalcTrace {
  public:
    void step(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> lines;
};

}  // namespace

Cell outputCell(const OutputValue& v) {
    if (v.kind == OutputValue::Kind::number) return std::int64_t{v.number};
    if (v.kind == OutputValue::Kind::text) return v.text;
    return {};
}

std::optional<double> RunResult::number(int fieldId) const {
    const OutputValue& v = (*this)[fieldId];
    if (v.kind != OutputValue::Kind::number) return std::nullopt;
    return static_cast<double>(v.number);
}

std::array<FormOutput, 16> runOnForm(const SpellList& list, std::size_t index, const Setup& setup, CalcTrace* trace) {
    // One form per thread, reused: every run empties every output first. The inputs go to the
    // run as the numbers the form would read back, had they been written to it.
    thread_local InMemoryForm form;
    // A position past the table names no record: nothing runs, and no output of an earlier run stays.
    if (index < spellCapacity) {
        CharacterInputs inputs;
        for (const CharacterInputField& f : characterInputFields) inputs.*f.member = asSigned(setup[f.id]);
        runCalculation(form, (*list.catalogue)[index], inputs, trace);
    } else {
        form.clearOutputs();
    }
    std::array<FormOutput, 16> outputs;
    for (std::size_t k = 0; k < outputs.size(); ++k) {
        const int id = outputFields[k].id;
        FormOutput& out = outputs[k];
        if (const auto n = form.storedNumber(id)) {
            out.kind = OutputValue::Kind::number;
            out.number = *n;
            continue;
        }
        const std::string_view text = form.storedText(id);
        if (text.empty()) continue;
        const UnsignedRead read = parseUnsigned(text);
        if (id != field::specialText && read.valid) {
            out.kind = OutputValue::Kind::number;
            out.number = read.value;
        } else {
            out.kind = OutputValue::Kind::text;
            out.cp1252Text = text;
        }
    }
    return outputs;
}

RunResult runSpell(const SpellList& list, std::size_t index, const Setup& setup, CalcTrace* trace) {
    const std::array<FormOutput, 16> outputs = runOnForm(list, index, setup, trace);
    RunResult result;
    result.spell = index;
    for (std::size_t k = 0; k < outputs.size(); ++k) {
        result.outputs[k].kind = outputs[k].kind;
        result.outputs[k].number = outputs[k].number;
        if (outputs[k].kind == OutputValue::Kind::text) result.outputs[k].text = cp1252ToUtf8(outputs[k].cp1252Text);
    }
    return result;
}

std::vector<std::string> explainRun(const SpellList& list, std::size_t index, const Setup& setup) {
    LineTrace trace;
    runSpell(list, index, setup, &trace);
    return trace.lines;
}

double meanEffectOf(double min, double max) { return (min + max) / 2.0; }

std::optional<double> meanEffect(const RunResult& r) {
    const auto low = r.number(field::effectMin);
    const auto high = r.number(field::effectMax);
    if (!low || !high) return std::nullopt;
    return meanEffectOf(*low, *high);
}

std::optional<double> effectPerSecond(const RunResult& r) {
    const auto mean = meanEffect(r);
    const auto recast = r.number(field::recastDelay);
    if (!mean || !recast || *recast == 0) return std::nullopt;
    return *mean * 1000.0 / *recast;
}

std::optional<double> weightedPerSecond(const RunResult& r) {
    const auto perSecond = effectPerSecond(r);
    const auto chance = r.number(field::successChance);
    if (!perSecond || !chance) return std::nullopt;
    return *perSecond * (*chance / 100.0);  // a chance of 100 leaves the figure exactly as it is
}

}  // namespace vyr
