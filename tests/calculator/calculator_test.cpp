// The calculator against the tables of tests/data/calculator.json: field rules, the number model, cast timing, and
// whole runs of the standard effect and the special rules.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <set>

#include "calculation_run.h"
#include "cp1252.h"
#include "data_table.h"
#include "effects.h"
#include "memory_form.h"
#include "number_model.h"
#include "record_table.h"

namespace vyr::testing {
namespace {

const json& table() { return readTable("calculator.json"); }

int fieldId(const std::string& name) {
    if (const InputField* input = findInput(name)) return input->id;
    for (const OutputField& output : outputFields)
        if (output.name == name) return output.id;
    ADD_FAILURE() << "no field " << name;
    return 0;
}

// The in-memory form reads its numbers by a faster path: it must agree, and keep the text as written.
TEST(FieldRules, ParseUnsigned) {
    InMemoryForm form;
    for (const json& c : table()["parseUnsigned"]["cases"]) {
        const std::string text = c["text"];
        form.writeText(field::level, text.c_str());
        EXPECT_EQ(form.fieldText(field::level), text);
        for (const UnsignedRead read : {parseUnsigned(text), form.readUnsigned(field::level)})
            EXPECT_EQ(json({{"value", read.value}, {"valid", read.valid}}),
                      json({{"value", c["value"]}, {"valid", c["valid"]}}))
                << text;
    }
}

TEST(FieldRules, DefaultsThenLeavingAField) {
    InMemoryForm form;
    setDefaults(form);
    json defaults = table()["defaults"];
    defaults.erase("_about");
    for (const auto& [name, text] : defaults.items()) EXPECT_EQ(form.fieldText(fieldId(name)), text) << name;
    EXPECT_EQ(defaults.size(), inputFields.size());
    for (const OutputField& output : outputFields) EXPECT_EQ(form.fieldText(output.id), "") << output.name;
    for (const json& c : table()["leaveField"]["cases"]) {
        InMemoryForm left;
        left.writeText(fieldId(c["field"]), c["typed"].get<std::string>().c_str());
        onFieldLeft(left, fieldId(c["field"]));
        EXPECT_EQ(left.fieldText(fieldId(c["field"])), c["shown"]) << c;
    }
}

TEST(NumberModel, DisplayValueTruncatesAndKeepsTheLow32Bits) {
    for (const json& c : table()["displayValue"]["cases"]) {
        const double value = std::strtod(c["double"].get<std::string>().c_str(), nullptr);
        EXPECT_EQ(toDisplayValue(value), c["shown"].get<std::uint32_t>()) << c;
    }
}

struct CastTiming : TableCase {};
TEST_P(CastTiming, FallsTwentyPerLevelNeverBelowZeroAndWraps) {
    SpellRecord r;
    setRecord(r, GetParam());
    const vyr::CastTiming t = computeCastTiming(r, GetParam()["level"]);
    EXPECT_EQ(asUnsigned(t.moveDelayMs), GetParam()["moveDelay"].get<std::uint32_t>());
    EXPECT_EQ(asUnsigned(t.recastDelayMs), GetParam()["recastDelay"].get<std::uint32_t>());
}
VYR_TABLE_CASES(CastTiming, "calculator.json", "castTiming");

// Every output the case does not list shows its usual text; no input changes.
struct CalculationRun : TableCase {};
TEST_P(CalculationRun, ShowsExactlyTheTabledOutputs) {
    const json& run = GetParam();
    auto catalogue = std::make_unique<SpellCatalogue>();
    json record = table()["baseRecord"];
    record.erase("_about");
    record.update(run["record"]);
    setRecord((*catalogue)[0], record);

    InMemoryForm form;
    setDefaults(form);
    const json inputs = run.value("inputs", json::object());
    for (const auto& [name, text] : inputs.items()) form.writeText(fieldId(name), text.get<std::string>().c_str());
    std::map<int, std::string> inputsBefore;
    for (const InputField& input : inputFields) inputsBefore[input.id] = form.fieldText(input.id);
    const json selection = run.value("select", json(0));
    form.select(selection.is_null() ? std::nullopt : std::optional(selection.get<std::size_t>()));
    json shown = json::array();
    runCalculation(form, *catalogue, [&](const char* text, const char* caption) { shown.push_back({text, caption}); });
    EXPECT_EQ(shown, run.contains("message") ? json::array({run["message"]}) : json::array());

    const std::string code = record.value("code", "");
    json outputs = json::object(), expected = json::object();
    for (const OutputField& output : outputFields) {
        const std::string name(output.name);
        outputs[name] = cp1252ToUtf8(form.fieldText(output.id));
        const json& usual = name == "specialText" ? table()["specialTexts"] : table()["usualOutputs"];
        expected[name] = joined(run["expect"].value(name, usual.value(name == "specialText" ? code : name, json(""))));
    }
    EXPECT_EQ(outputs, expected);
    for (const auto& [id, text] : inputsBefore) EXPECT_EQ(form.fieldText(id), text) << "input " << id;
}
VYR_TABLE_CASES(CalculationRun, "calculator.json", "runs");

TEST(SpecialRules, TheTwentyNineCodesMatchWholeAndCaseSensitive) {
    const auto& codes = table()["specialCodes"]["codes"];
    std::set<std::string> listed;
    for (const SpecialRule& rule : specialRules()) listed.insert(rule.code);
    EXPECT_EQ(listed, codes.get<std::set<std::string>>());
    for (const json& code : codes) EXPECT_TRUE(isSpecialRuleCode(code.get<std::string>())) << code;
    for (const char* other : {"sblx", "SBL", "sb", ""}) EXPECT_FALSE(isSpecialRuleCode(other)) << other;
}

}  // namespace
}  // namespace vyr::testing
