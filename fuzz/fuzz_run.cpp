// A whole calculation run on arbitrary field texts and an arbitrary record (any code
// bytes, any numbers), under ASan and UBSan. After each run: the message is shown
// exactly when no record can be selected, nothing but outputs changes, every numeric
// output is empty or an unsigned 32-bit value in plain decimal, and a second run on
// the same form shows the same thing.
#include <cstddef>
#include <cstdint>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "calculation_run.h"
#include "code_letters.h"
#include "effects.h"
#include "fields.h"
#include "fuzz_check.h"
#include "memory_form.h"

namespace {

using namespace vyr;

// Every field's text, by id.
class Texts {
  public:
    explicit Texts(const InMemoryForm& form) {
        for (int id = field::firstId; id <= field::lastId; ++id) texts_[index(id)] = form.fieldText(id);
    }
    const std::string& at(int id) const { return texts_[index(id)]; }
    bool operator==(const Texts&) const = default;

  private:
    static std::size_t index(int id) { return static_cast<std::size_t>(id - field::firstId); }
    std::array<std::string, field::lastId - field::firstId + 1> texts_;
};

// Empty, "0", or digits without a leading zero that stay within 4294967295.
bool isEmptyOrUnsigned32(const std::string& text) {
    if (text.empty() || text == "0") return true;
    if (text.size() > 10 || text[0] < '1' || text[0] > '9') return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return text.size() < 10 || text <= "4294967295";
}

// What an input field counts as in a run: its unsigned value, 0 when invalid.
std::uint32_t valueOf(const Texts& texts, int id) { return parseUnsigned(texts.at(id)).value; }

// The base cast timing, in plain unsigned 32-bit arithmetic (which wraps by definition).
std::pair<std::uint32_t, std::uint32_t> baseTiming(const SpellRecord& r, std::uint32_t level) {
    std::uint32_t extra =
        static_cast<std::uint32_t>(r.delayExtra) - (level - static_cast<std::uint32_t>(r.delayLevel)) * 20u;
    if (extra & 0x80000000u) extra = 0;
    const auto factor = static_cast<std::uint32_t>(r.delayFactor);
    return {factor * (extra + 750u), factor * (extra + 1000u)};
}

class CountingTrace : public CalcTrace {
  public:
    void step(const std::string& line) override {
        FUZZ_CHECK(!line.empty(), "empty trace line");
        ++lines;
    }
    std::size_t lines = 0;
};

std::string fieldTextFrom(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 4)) {
        case 0:
            return {};
        case 1:
            return in.ConsumeRandomLengthString(14);
        case 2: {  // blanks or zeros in front of a number
            std::string text(in.ConsumeIntegralInRange<std::size_t>(0, 3), in.ConsumeBool() ? ' ' : '0');
            return text + std::to_string(in.ConsumeIntegral<std::uint32_t>());
        }
        default:
            return std::to_string(in.ConsumeIntegral<std::uint32_t>());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);

    auto catalogue = std::make_unique<SpellCatalogue>();
    const auto slot = in.ConsumeIntegralInRange<std::size_t>(0, spellCapacity - 1);
    SpellRecord& record = (*catalogue)[slot];
    const std::string code = in.ConsumeRandomLengthString(8);
    const bool unloaded = in.ConsumeIntegralInRange<int>(0, 31) == 0;  // a slot never filled
    if (!unloaded) {
        auto copy = std::make_unique<char[]>(code.size() + 1);
        code.copy(copy.get(), code.size());
        record.setCode(std::move(copy));
        record.armourExempt = in.ConsumeIntegral<std::int8_t>();
        record.delayFactor = in.ConsumeIntegral<std::int32_t>();
        record.delayExtra = in.ConsumeIntegral<std::int32_t>();
        record.delayLevel = in.ConsumeIntegral<std::int32_t>();
        record.rollRange = in.ConsumeIntegral<std::int32_t>();
        record.rollBase = in.ConsumeIntegral<std::int32_t>();
        record.intDivisor = in.ConsumeIntegral<std::int32_t>();
        record.wisDivisor = in.ConsumeIntegral<std::int32_t>();
    }

    InMemoryForm form;
    form.addName("Sort");
    for (const InputField& input : inputFields) form.writeText(input.id, fieldTextFrom(in).c_str());
    // Whatever a previous run left in the outputs.
    for (const OutputField& output : outputFields) {
        if (in.ConsumeBool()) form.writeText(output.id, in.ConsumeRandomLengthString(12).c_str());
    }
    std::optional<std::size_t> selection = slot;
    switch (in.ConsumeIntegralInRange<int>(0, 15)) {
        case 0:
            selection.reset();
            break;
        case 1:
            selection = spellCapacity + in.ConsumeIntegral<std::uint16_t>();
            break;
        default:
            break;
    }
    form.select(selection);
    CountingTrace trace;
    const bool traced = in.ConsumeBool();

    const Texts before(form);
    std::vector<std::pair<std::string, std::string>> messages;
    const ShowMessage showMessage = [&](const char* text, const char* caption) {
        messages.emplace_back(text, caption);
    };
    runCalculation(form, *catalogue, showMessage, traced ? &trace : nullptr);
    const Texts after(form);

    FUZZ_CHECK(form.selectedSpell() == selection, "the selection changed");
    FUZZ_CHECK(form.spellNames() == std::vector<std::string>{"Sort"}, "the spell list changed");
    if (!selection || *selection >= spellCapacity) {
        FUZZ_CHECK(messages.size() == 1 && messages[0].first == "Veuillez selectionner un sort" &&
                       messages[0].second == "Info",
                   "%zu messages without a selection", messages.size());
        FUZZ_CHECK(after == before, "a run without a selection changed the form");
        return 0;
    }
    FUZZ_CHECK(messages.empty(), "message \"%s\" with a spell selected", messages[0].first.c_str());

    for (int id = field::firstId; id <= field::lastId; ++id) {
        if (!isOutputField(id)) {
            FUZZ_CHECK(after.at(id) == before.at(id), "field %d changed from \"%s\" to \"%s\"", id,
                       before.at(id).c_str(), after.at(id).c_str());
        } else if (id != field::specialText) {
            FUZZ_CHECK(isEmptyOrUnsigned32(after.at(id)), "output %d shows \"%s\"", id, after.at(id).c_str());
        }
    }
    for (int id : {field::recastDelay, field::moveDelay, field::successChance}) {
        FUZZ_CHECK(!after.at(id).empty(), "output %d left empty", id);
    }

    // The rule the code selects decides which outputs may be written.
    const std::string effective = unloaded ? std::string() : std::string(code.c_str());
    const auto [move, recast] = baseTiming(record, valueOf(before, field::level));
    auto expectBaseTiming = [&, move = move, recast = recast] {
        FUZZ_CHECK(after.at(field::moveDelay) == std::to_string(move) &&
                       after.at(field::recastDelay) == std::to_string(recast),
                   "code \"%s\": delays %s and %s, base timing %u and %u", effective.c_str(),
                   after.at(field::moveDelay).c_str(), after.at(field::recastDelay).c_str(), move, recast);
    };
    if (!isSpecialCode(effective)) {
        expectBaseTiming();
        FUZZ_CHECK(after.at(field::successChance) == "100", "standard spell with chance %s",
                   after.at(field::successChance).c_str());
        const bool armour = effective.starts_with("p");
        const bool drains = effective.starts_with("bd");
        for (const OutputField& output : outputFields) {
            const int id = output.id;
            const bool written = id == field::recastDelay || id == field::moveDelay || id == field::successChance ||
                                 id == (armour ? field::armourBonusMin : field::effectMin) ||
                                 id == (armour ? field::armourBonusMax : field::effectMax) ||
                                 (id == field::specialText && drains);
            FUZZ_CHECK(after.at(id).empty() != written, "code \"%s\": output %d shows \"%s\"", effective.c_str(), id,
                       after.at(id).c_str());
        }
        if (drains) FUZZ_CHECK(after.at(field::specialText) == drainText, "code \"%s\": wrong text", effective.c_str());
    } else if (!isSpecialRuleCode(effective)) {
        expectBaseTiming();
        for (const OutputField& output : outputFields) {
            const int id = output.id;
            const bool written = id == field::recastDelay || id == field::moveDelay || id == field::successChance;
            FUZZ_CHECK(after.at(id).empty() != written, "unknown code \"%s\": output %d shows \"%s\"",
                       effective.c_str(), id, after.at(id).c_str());
        }
        FUZZ_CHECK(after.at(field::successChance) == "100", "unknown code \"%s\": chance %s", effective.c_str(),
                   after.at(field::successChance).c_str());
    } else if (effective != "sds" && effective != "smb" && effective != "ssa") {
        expectBaseTiming();  // only those three replace the timing
    }
    if (traced) FUZZ_CHECK(trace.lines > 0, "a traced run explained nothing");

    // A run remembers nothing: running again on what it left shows the same.
    runCalculation(form, *catalogue, showMessage, nullptr);
    FUZZ_CHECK(messages.empty() && Texts(form) == after, "code \"%s\": a second run differs", effective.c_str());
    return 0;
}
