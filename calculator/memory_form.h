#pragma once
// A CalculatorForm held in memory: the tools' and the tests' form. A number written as a
// number (or as the very text writeUnsigned would write) stays one and becomes text only
// when read as text, so a run costs no parsing and no formatting.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calculator_form.h"

namespace vyr {

class InMemoryForm : public CalculatorForm {
  public:
    std::string fieldText(int id) const override;
    void writeText(int id, const char* text) override;
    UnsignedRead readUnsigned(int id) const override;
    void writeUnsigned(int id, std::uint32_t value) override;
    void clearOutputs() override;
    std::optional<std::size_t> selectedSpell() const override { return selection_; }
    void addName(const char* name) override { spellNames_.emplace_back(name); }

    // The number the field holds, or nothing when it holds other text.
    std::optional<std::uint32_t> storedNumber(int id) const {
        if (!known(id) || !at(id).isNumber) return std::nullopt;
        return at(id).number;
    }
    // The text a field holds that holds no number, without a copy ("" for an unknown id).
    std::string_view storedText(int id) const { return known(id) ? std::string_view(at(id).text) : std::string_view(); }

    // Selects a list position (not checked against the list, as a real list never
    // offers more items than it holds), or clears the selection.
    void select(std::optional<std::size_t> position) { selection_ = position; }
    const std::vector<std::string>& spellNames() const { return spellNames_; }

  private:
    struct Field {
        std::string text;
        std::uint32_t number = 0;
        bool isNumber = false;
    };
    static bool known(int id) { return id >= field::firstId && id <= field::lastId; }
    Field& at(int id) { return fields_[static_cast<std::size_t>(id - field::firstId)]; }
    const Field& at(int id) const { return fields_[static_cast<std::size_t>(id - field::firstId)]; }

    std::array<Field, field::lastId - field::firstId + 1> fields_;
    std::vector<std::string> spellNames_;
    std::optional<std::size_t> selection_;
};

}  // namespace vyr
