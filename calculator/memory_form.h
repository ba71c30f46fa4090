#pragma once
// A CalculatorForm held in memory: the tools' and the tests' form.

#include <array>
#include <string>
#include <vector>

#include "calculator_form.h"

namespace vyr {

class InMemoryForm : public CalculatorForm {
public:
    std::string fieldText(int id) const override;
    void writeText(int id, const char* text) override;
    std::optional<std::size_t> selectedSpell() const override { return selection_; }
    void addName(const char* name) override { spellNames_.emplace_back(name); }

    // Selects a list position (not checked against the list, as a real list never
    // offers more items than it holds), or clears the selection.
    void select(std::optional<std::size_t> position) { selection_ = position; }
    const std::vector<std::string>& spellNames() const { return spellNames_; }

private:
    std::array<std::string, field::lastId - field::firstId + 1> texts_;
    std::vector<std::string> spellNames_;
    std::optional<std::size_t> selection_;
};

}  // namespace vyr
