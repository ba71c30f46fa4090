#include "calculation_vectors.h"

#include <cstring>
#include <memory>

#include "calculation_run.h"
#include "cp1252.h"
#include "memory_form.h"

namespace vyr::test {

std::string cp1252(const char* utf8) { return utf8ToCp1252(utf8).text; }

FieldTexts runVector(const CalcVector& v) {
    auto catalogue = std::make_unique<SpellCatalogue>();
    SpellRecord& r = (*catalogue)[0];
    const std::size_t length = std::strlen(v.record.code);
    std::unique_ptr<char[]> code(new char[length + 1]);
    std::memcpy(code.get(), v.record.code, length + 1);
    r.setCode(std::move(code));
    r.rollRange = v.record.rollRange;
    r.rollBase = v.record.rollBase;
    r.intDivisor = v.record.intDivisor;
    r.wisDivisor = v.record.wisDivisor;
    r.armourExempt = v.record.armourExempt;
    r.delayFactor = v.record.delayFactor;
    r.delayExtra = v.record.delayExtra;
    r.delayLevel = v.record.delayLevel;

    InMemoryForm form;
    setDefaults(form);
    for (const auto& [id, text] : v.inputs) form.writeText(id, text.c_str());
    form.addName("Sort");
    form.select(0);
    int messages = 0;
    runCalculation(form, *catalogue, [&](const char*, const char*) { ++messages; });

    FieldTexts outputs;
    for (int id : outputDisplayOrder) outputs.emplace_back(id, form.fieldText(id));
    if (messages != 0) outputs.emplace_back(0, "unexpected message");
    return outputs;
}

FieldTexts expectedOutputs(const CalcVector& v) {
    FieldTexts outputs;
    for (int id : outputDisplayOrder) {
        std::string text;
        if (id == field::moveDelay) text = "750";
        if (id == field::recastDelay) text = "1000";
        if (id == field::successChance) text = "100";
        for (const auto& [eid, etext] : v.expected) {
            if (eid == id) text = etext;
        }
        outputs.emplace_back(id, text);
    }
    return outputs;
}

}  // namespace vyr::test
