#pragma once
// One spell as the data file describes it, and the process-wide table of 100 of them.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace vyr {

// A code starting with a lower-case "s" marks a special spell: the special rules compute it,
// and its line in the data file stops after the code.
constexpr bool isSpecialCode(std::string_view code) { return code.starts_with('s'); }

class SpellRecord {
  public:
    SpellRecord() = default;
    ~SpellRecord() = default;
    // Records stay in their catalogue slot for the life of the process.
    SpellRecord(const SpellRecord&) = delete;
    SpellRecord& operator=(const SpellRecord&) = delete;
    SpellRecord(SpellRecord&&) = delete;
    SpellRecord& operator=(SpellRecord&&) = delete;

    // The record takes ownership of a NUL-terminated Windows-1252 text.
    void setName(std::unique_ptr<char[]> text) { name_ = std::move(text); }
    void setCode(std::unique_ptr<char[]> text) { code_ = std::move(text); }

    // nullptr while the slot is unloaded.
    const char* name() const { return name_.get(); }
    const char* code() const { return code_.get(); }

    std::int8_t armourExempt = 0;  // nonzero: the target's armour is not subtracted
    std::int32_t delayFactor = 0;
    std::int32_t delayExtra = 0;  // milliseconds, at delayLevel
    std::int32_t delayLevel = 0;
    std::int32_t rollRange = 0;
    std::int32_t rollBase = 0;
    std::int32_t intDivisor = 0;  // 0: no intelligence term
    std::int32_t wisDivisor = 0;  // 0: no wisdom term

  private:
    // Members are destroyed in reverse order: the name is released, then the code.
    std::unique_ptr<char[]> code_;
    std::unique_ptr<char[]> name_;
};

inline constexpr std::size_t spellCapacity = 100;

class SpellCatalogue {
  public:
    SpellCatalogue() = default;
    SpellCatalogue(const SpellCatalogue&) = delete;
    SpellCatalogue& operator=(const SpellCatalogue&) = delete;

    SpellRecord& operator[](std::size_t index) { return records_[index]; }
    const SpellRecord& operator[](std::size_t index) const { return records_[index]; }

  private:
    SpellRecord records_[spellCapacity];
};

// The one table the programs use; it lives in static storage and is empty before main.
SpellCatalogue& spellCatalogue();

}  // namespace vyr
