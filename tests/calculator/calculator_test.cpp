// The calculator against the tables of tests/data/calculator.json: field rules, the
// number model, cast timing, and whole runs of the standard effect and the special rules.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>

#include "calculation_run.h"
#include "cp1252.h"
#include "data_table.h"
#include "effects.h"
#include "memory_form.h"
#include "number_model.h"

namespace vyr::testing {
namespace {

const json& table() { return readTable("calculator.json"); }

int fieldId(const std::string& name) {
    if (const InputField* input = findInput(name)) return input->id;
    for (const OutputField& output : outputFields) {
        if (output.name == name) return output.id;
    }
    ADD_FAILURE() << "no field " << name;
    return 0;
}

// The in-memory form reads its numbers by a faster path: it must agree, and keep the text as written.
TEST(FieldRules, ParseUnsigned) {
    InMemoryForm form;
    for (const json& c : table()["parseUnsigned"]) {
        const std::string text = c[0];
        form.writeText(field::level, text.c_str());
        EXPECT_EQ(form.fieldText(field::level), text);
        for (const UnsignedRead read : {parseUnsigned(text), form.readUnsigned(field::level)})
            EXPECT_EQ(json({read.value, read.valid}), json({c[1], c[2]})) << text;
    }
}

TEST(FieldRules, DefaultsThenLeavingAField) {
    InMemoryForm form;
    setDefaults(form);
    for (const auto& [name, text] : table()["defaults"].items()) EXPECT_EQ(form.fieldText(fieldId(name)), text) << name;
    EXPECT_EQ(table()["defaults"].size(), inputFields.size());
    for (const OutputField& output : outputFields) EXPECT_EQ(form.fieldText(output.id), "") << output.name;
    for (const json& c : table()["leaveField"]) {
        InMemoryForm left;
        left.writeText(fieldId(c[0]), c[1].get<std::string>().c_str());
        onFieldLeft(left, fieldId(c[0]));
        EXPECT_EQ(left.fieldText(fieldId(c[0])), c[2]) << c;
    }
}

TEST(NumberModel, DisplayValueTruncatesAndKeepsTheLow32Bits) {
    for (const json& c : table()["displayValue"]) {
        EXPECT_EQ(toDisplayValue(std::strtod(c[0].get<std::string>().c_str(), nullptr)), c[1].get<std::uint32_t>())
            << c;
    }
}

TEST(CastTiming, FallsTwentyPerLevelNeverBelowZeroAndWraps) {
    for (const json& c : table()["castTiming"]) {
        SpellRecord r;
        r.delayFactor = c[0];
        r.delayExtra = c[1];
        r.delayLevel = c[2];
        const CastTiming t = computeCastTiming(r, c[3]);
        EXPECT_EQ(asUnsigned(t.moveDelayMs), c[4].get<std::uint32_t>()) << c;
        EXPECT_EQ(asUnsigned(t.recastDelayMs), c[5].get<std::uint32_t>()) << c;
    }
}

// One run on a fresh form: the record and the inputs of the table's entry, the other
// inputs at their defaults, slot 0 or the entry's selection. Every output not listed must
// come out as its usual value (750, 1000 and 100 for the timing and the chance) or empty;
// no input may change; a message is shown only where the entry names one.
TEST(CalculationRun, ShowsExactlyTheTabledOutputs) {
    for (const json& run : table()["runs"]) {
        SCOPED_TRACE(run["name"].get<std::string>());
        auto catalogue = std::make_unique<SpellCatalogue>();
        SpellRecord& r = (*catalogue)[0];
        const json& record = run["record"];
        if (!record["code"].is_null()) {
            const std::string code = utf8ToCp1252(record["code"].get<std::string>()).text;
            r.setCode(std::unique_ptr<char[]>(strcpy(new char[code.size() + 1], code.c_str())));
        }
        for (const auto& [key, member] : {std::pair{"rollRange", &SpellRecord::rollRange},
                                          {"rollBase", &SpellRecord::rollBase},
                                          {"intDivisor", &SpellRecord::intDivisor},
                                          {"wisDivisor", &SpellRecord::wisDivisor},
                                          {"delayExtra", &SpellRecord::delayExtra},
                                          {"delayLevel", &SpellRecord::delayLevel}})
            r.*member = record.value(key, 0);
        r.armourExempt = static_cast<std::int8_t>(record.value("armourExempt", 0));
        r.delayFactor = record.value("delayFactor", 1);

        InMemoryForm form;
        setDefaults(form);
        for (const auto& [name, text] : run["inputs"].items())
            form.writeText(fieldId(name), text.get<std::string>().c_str());
        std::map<int, std::string> inputsBefore;
        for (const InputField& input : inputFields) inputsBefore[input.id] = form.fieldText(input.id);
        const json selection = run.value("select", json(0));
        form.select(selection.is_null() ? std::nullopt : std::optional(selection.get<std::size_t>()));
        json shown = json::array();
        runCalculation(form, *catalogue, [&](const char* text, const char* caption) {
            shown.push_back({text, caption});
        });
        EXPECT_EQ(shown, run.contains("message") ? json::array({run["message"]}) : json::array());

        json outputs = json::object(), expected = json::object();
        for (const OutputField& output : outputFields) {
            const std::string name(output.name);
            outputs[name] = cp1252ToUtf8(form.fieldText(output.id));
            const char* usual = output.id == field::moveDelay       ? "750"
                                : output.id == field::recastDelay   ? "1000"
                                : output.id == field::successChance ? "100"
                                                                    : "";
            expected[name] = run["expect"].value(name, usual);
        }
        EXPECT_EQ(outputs, expected);
        for (const auto& [id, text] : inputsBefore) EXPECT_EQ(form.fieldText(id), text) << "input " << id;
    }
}

TEST(SpecialRules, TheTwentyNineCodesMatchWholeAndCaseSensitive) {
    const auto& codes = table()["specialCodes"];
    std::set<std::string> listed;
    for (std::size_t i = 0; i < specialRuleCount; ++i) listed.insert(std::string(specialRuleCode(i)));
    EXPECT_EQ(listed, codes.get<std::set<std::string>>());
    for (const json& code : codes) EXPECT_TRUE(isSpecialRuleCode(code.get<std::string>())) << code;
    for (const char* other : {"sblx", "SBL", "sb", ""}) EXPECT_FALSE(isSpecialRuleCode(other)) << other;
}

}  // namespace
}  // namespace vyr::testing
