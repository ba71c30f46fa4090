// Form rules, the number model, cast timing and the run itself.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "calculation_run.h"
#include "calculation_vectors.h"
#include "memory_form.h"
#include "number_model.h"

namespace vyr {
namespace {

struct ParseCase {
    const char* text;
    std::uint32_t value;
    bool valid;
};

TEST(ParseUnsigned, AcceptsOnlyBlanksThenDigitsWithin32Bits) {
    const ParseCase cases[] = {
        {"0", 0, true},
        {"25", 25, true},
        {"007", 7, true},
        {"4294967295", 4294967295u, true},
        {"4294967296", 0, false},
        {"99999999999999999999", 0, false},
        {"000000000000004294967295", 4294967295u, true},
        {"", 0, false},
        {" ", 0, false},
        {"  12", 12, true},
        {"\t12", 12, true},
        {"\n12", 0, false},
        {"\r12", 0, false},
        {"\v12", 0, false},
        {"12 ", 0, false},
        {"1 2", 0, false},
        {"+5", 0, false},
        {"-5", 0, false},
        {"5a", 0, false},
        {"0x10", 0, false},
        {"\xB2", 0, false},  // superscript two is not a digit
    };
    for (const ParseCase& c : cases) {
        const UnsignedRead read = parseUnsigned(c.text);
        EXPECT_EQ(read.value, c.value) << '"' << c.text << '"';
        EXPECT_EQ(read.valid, c.valid) << '"' << c.text << '"';
    }
}

TEST(FormRules, DefaultsOnAFreshForm) {
    InMemoryForm form;
    setDefaults(form);
    const std::pair<int, const char*> expected[] = {
        {field::level, "1"}, {field::rebirths, "0"}, {field::targetArmour, "0"},
        {field::strengthBase, "25"}, {field::enduranceBase, "25"}, {field::dexterityBase, "25"},
        {field::wisdomBase, "25"}, {field::intelligenceBase, "25"}, {field::strengthBoosted, "25"},
        {field::enduranceBoosted, "25"}, {field::dexterityBoosted, "25"}, {field::wisdomBoosted, "25"},
        {field::intelligenceBoosted, "25"}, {field::firePower, "100"}, {field::waterPower, "100"},
        {field::airPower, "100"}, {field::earthPower, "100"}, {field::necroPower, "100"},
        {field::lightPower, "100"}, {field::fireResist, "100"}, {field::waterResist, "100"},
        {field::airResist, "100"}, {field::earthResist, "100"}, {field::necroResist, "100"},
    };
    for (const auto& [id, text] : expected) EXPECT_EQ(form.fieldText(id), text) << id;
    for (const OutputField& output : outputFields) EXPECT_EQ(form.fieldText(output.id), "") << output.id;
}

// Records every write, to pin down the order of setDefaults and clearOutputs.
class RecordingForm : public InMemoryForm {
public:
    void writeText(int id, const char* text) override {
        writes.push_back(id);
        InMemoryForm::writeText(id, text);
    }
    std::vector<int> writes;
};

TEST(FormRules, DefaultsAndClearingWriteInTheirFixedOrder) {
    RecordingForm form;
    setDefaults(form);
    EXPECT_EQ(form.writes, (std::vector<int>{1025, 1026, 1015, 1016, 1017, 1019, 1018, 1002, 1003, 1012, 1014, 1013,
                                             1020, 1021, 1023, 1022, 1024, 1004, 1034, 1036, 1035, 1037, 1038, 1043}));
    form.writes.clear();
    clearOutputs(form);
    EXPECT_EQ(form.writes, (std::vector<int>{1044, 1045, 1027, 1028, 1030, 1029, 1031, 1032, 1039, 1040, 1011, 1010,
                                             1008, 1009, 1042, 1033}));
}

TEST(FormRules, ClearOutputsLeavesInputsAndSelectionAlone) {
    InMemoryForm form;
    setDefaults(form);
    form.writeText(field::level, "77");
    for (const OutputField& output : outputFields) form.writeText(output.id, "9");
    form.addName("A");
    form.select(0);
    clearOutputs(form);
    for (const OutputField& output : outputFields) EXPECT_EQ(form.fieldText(output.id), "");
    EXPECT_EQ(form.fieldText(field::level), "77");
    EXPECT_EQ(form.fieldText(field::strengthBase), "25");
    EXPECT_EQ(form.selectedSpell(), std::optional<std::size_t>(0));
}

struct LeaveCase {
    int id;
    const char* before;
    const char* after;
};

TEST(FormRules, LeavingAFieldReplacesInvalidInputsBy100Only) {
    const LeaveCase cases[] = {
        {field::level, "", "100"},
        {field::rebirths, "", "100"},
        {field::targetArmour, "", "100"},
        {field::level, "0", "0"},
        {field::level, "4294967295", "4294967295"},
        {field::level, "4294967296", "100"},
        {field::fireResist, "abc", "100"},
        {field::wisdomBoosted, "  8", "  8"},
        {field::enduranceBase, "", "100"},
        {field::effectMin, "", ""},
        {field::specialText, "", ""},
        {field::successChance, "x", "x"},
    };
    for (const LeaveCase& c : cases) {
        InMemoryForm form;
        form.writeText(c.id, c.before);
        onFieldLeft(form, c.id);
        EXPECT_EQ(form.fieldText(c.id), c.after) << c.id << " \"" << c.before << '"';
    }
}

TEST(FormRules, WriteUnsignedIsPlainDecimal) {
    InMemoryForm form;
    const std::pair<std::uint32_t, const char*> cases[] = {{0, "0"}, {7, "7"}, {4294967295u, "4294967295"},
                                                           {4294966546u, "4294966546"}};
    for (const auto& [value, text] : cases) {
        form.writeUnsigned(field::effectMin, value);
        EXPECT_EQ(form.fieldText(field::effectMin), text);
    }
}

struct DisplayCase {
    double x;
    std::uint32_t shown;
};

TEST(NumberModel, DisplayValueTruncatesAndKeepsTheLow32Bits) {
    const double inf = std::numeric_limits<double>::infinity();
    const DisplayCase cases[] = {
        {1.0, 1},
        {2.9999998, 2},
        {static_cast<double>(2.9999998f), 2},
        {16.25, 16},
        {0.9999, 0},
        {-0.8, 0},
        {-3.7, 4294967293u},
        {-1.0, 4294967295u},
        {4294967295.5, 4294967295u},
        {4294967296.0, 0},
        {4294967808.0, 512},
        {-4294967296.0, 0},
        {9223372036854774784.0, 4294966272u},  // largest double below 2^63
        {9223372036854775808.0, 0},            // 2^63
        {-9223372036854775808.0, 0},           // -2^63 itself: its low 32 bits are 0
        {-9223372036854777856.0, 0},           // below -2^63
        {1e300, 0},
        {inf, 0},
        {-inf, 0},
        {std::nan(""), 0},
        {-std::nan(""), 0},
    };
    for (const DisplayCase& c : cases) EXPECT_EQ(toDisplayValue(c.x), c.shown) << c.x;
}

TEST(NumberModel, WrapAroundArithmetic) {
    EXPECT_EQ(wrapAdd(2147483647, 1), -2147483647 - 1);
    EXPECT_EQ(wrapSub(-2147483647 - 1, 1), 2147483647);
    EXPECT_EQ(wrapMul(2, 1073741824), -2147483647 - 1);
    EXPECT_EQ(wrapMul(2, 2147483638), -20);
    EXPECT_EQ(wrapMul(-1, -2147483647 - 1), -2147483647 - 1);
    EXPECT_EQ(divTowardZero(-7, 4), -1);
    EXPECT_EQ(divTowardZero(-2147483647 - 1, 2), -1073741824);
}

struct TimingCase {
    std::int32_t factor, extra, delayLevel, level;
    std::uint32_t move, recast;
};

TEST(CastTiming, ExtraDelayFallsTwentyPerLevelAndNeverBelowZero) {
    const TimingCase cases[] = {
        {1, 0, 0, 1, 750, 1000},
        {2, 500, 10, 1, 2860, 3360},
        {2, 500, 10, 30, 1700, 2200},
        {2, 500, 10, 35, 1500, 2000},
        {1, 500, 10, 1, 1430, 1680},    // extra 680
        {1, 500, 10, 30, 850, 1100},    // extra 100
        {1, 500, 10, 35, 750, 1000},    // extra 0
        {1, 500, 10, 36, 750, 1000},    // -20 becomes 0
        {1, 500, 10, -1, 1470, 1720},   // level typed 4294967295
        {0, 500, 10, 1, 0, 0},
        {-1, 0, 0, 100, 4294966546u, 4294966296u},
        {1, 2147483647, 0, 0, 2147484397u, 2147484647u},  // the sum wraps past 2^31
        {1, 0, 0, 107374183, 2147484386u, 2147484636u},   // the level term wraps to negative
        {65536, 0, 0, 100, 49152000u, 65536000u},
        {3000000, 0, 0, 100, 2250000000u, 3000000000u},  // the product wraps past 2^31
    };
    for (const TimingCase& c : cases) {
        SpellRecord r;
        r.delayFactor = c.factor;
        r.delayExtra = c.extra;
        r.delayLevel = c.delayLevel;
        const CastTiming t = computeCastTiming(r, c.level);
        EXPECT_EQ(asUnsigned(t.moveDelayMs), c.move) << c.factor << ' ' << c.extra << ' ' << c.level;
        EXPECT_EQ(asUnsigned(t.recastDelayMs), c.recast) << c.factor << ' ' << c.extra << ' ' << c.level;
    }
}

TEST(CalculationRun, InputsAreReadBitForBitAsSigned) {
    InMemoryForm form;
    setDefaults(form);
    form.writeText(field::level, "4294967295");
    form.writeText(field::rebirths, "3000000000");
    form.writeText(field::strengthBase, "");
    form.writeText(field::wisdomBase, "12a");
    const CharacterInputs in = readCharacterInputs(form);
    EXPECT_EQ(in.level, -1);
    EXPECT_EQ(in.rebirths, -1294967296);
    EXPECT_EQ(in.strengthBase, 0);
    EXPECT_EQ(in.wisdomBase, 0);
    EXPECT_EQ(in.intelligenceBoosted, 25);
    EXPECT_EQ(in.lightPower, 100);
}

// Counts reads of each field, to check which inputs a run looks at.
class CountingForm : public InMemoryForm {
public:
    std::string fieldText(int id) const override {
        reads.push_back(id);
        return InMemoryForm::fieldText(id);
    }
    UnsignedRead readUnsigned(int id) const override {
        reads.push_back(id);
        return InMemoryForm::readUnsigned(id);
    }
    mutable std::vector<int> reads;
};

TEST(CalculationRun, WithoutSelectionShowsTheMessageAndTouchesNothing) {
    SpellCatalogue catalogue;
    CountingForm form;
    setDefaults(form);
    form.writeText(field::effectMin, "42");
    form.writeText(field::specialText, "ancien");
    std::vector<std::pair<std::string, std::string>> messages;
    const bool result = runCalculation(form, catalogue, [&](const char* text, const char* caption) {
        messages.emplace_back(text, caption);
    });
    EXPECT_TRUE(result);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, "Veuillez selectionner un sort");
    EXPECT_EQ(messages[0].second, "Info");
    EXPECT_TRUE(form.reads.empty());
    EXPECT_EQ(form.fieldText(field::effectMin), "42");
    EXPECT_EQ(form.fieldText(field::specialText), "ancien");
    EXPECT_EQ(form.fieldText(field::moveDelay), "");
}

TEST(CalculationRun, ReadsTheTwentyThreeInputsInOrderButNeverEnduranceBase) {
    auto catalogue = std::make_unique<SpellCatalogue>();
    CountingForm form;
    setDefaults(form);
    form.addName("A");
    form.select(0);
    runCalculation(form, *catalogue, [](const char*, const char*) {});
    const std::vector<int> inputReads(form.reads.begin(), form.reads.begin() + 23);
    EXPECT_EQ(inputReads, (std::vector<int>{1026, 1012, 1002, 1013, 1015, 1017, 1016, 1014, 1019, 1018, 1025, 1004,
                                            1034, 1035, 1038, 1036, 1037, 1020, 1021, 1022, 1024, 1023, 1043}));
    for (int id : form.reads) EXPECT_NE(id, field::enduranceBase);
}

TEST(CalculationRun, EachRunShowsOnlyWhatTheSelectedSpellProduces) {
    auto catalogue = std::make_unique<SpellCatalogue>();
    (*catalogue)[0].setCode(std::unique_ptr<char[]>(new char[4]{'s', 'b', 'l', '\0'}));
    (*catalogue)[1].setCode(std::unique_ptr<char[]>(new char[2]{'f', '\0'}));
    (*catalogue)[1].rollBase = 7;
    (*catalogue)[1].delayFactor = 1;
    InMemoryForm form;
    setDefaults(form);
    form.addName("A");
    form.addName("B");
    auto ignore = [](const char*, const char*) {};
    form.select(0);
    runCalculation(form, *catalogue, ignore);
    EXPECT_EQ(form.fieldText(field::attackBonus), "12");
    form.select(1);
    runCalculation(form, *catalogue, ignore);
    EXPECT_EQ(form.fieldText(field::attackBonus), "");
    EXPECT_EQ(form.fieldText(field::hitPointsBonusMin), "");
    EXPECT_EQ(form.fieldText(field::effectMin), "7");
    EXPECT_EQ(form.fieldText(field::moveDelay), "750");
    // Inputs are never written by a run.
    EXPECT_EQ(form.fieldText(field::level), "1");
}

TEST(CalculationRun, AnUnloadedSlotRunsAsACodelessStandardSpell) {
    auto catalogue = std::make_unique<SpellCatalogue>();
    InMemoryForm form;
    setDefaults(form);
    form.select(5);
    runCalculation(form, *catalogue, [](const char*, const char*) {});
    EXPECT_EQ(form.fieldText(field::effectMin), "1");  // 0 floored to 1
    EXPECT_EQ(form.fieldText(field::moveDelay), "0");  // delayFactor 0
}

TEST(CalculationRun, ASelectionPastTheTableIsTreatedAsNone) {
    auto catalogue = std::make_unique<SpellCatalogue>();
    InMemoryForm form;
    setDefaults(form);
    form.select(spellCapacity);
    int messages = 0;
    runCalculation(form, *catalogue, [&](const char*, const char*) { ++messages; });
    EXPECT_EQ(messages, 1);
    EXPECT_EQ(form.fieldText(field::moveDelay), "");
}

}  // namespace
}  // namespace vyr
