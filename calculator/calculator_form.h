#pragma once
// The logic-side view of the dialog: fields addressed by id (see fields.h).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fields.h"
#include "spell_file.h"

namespace vyr {

struct UnsignedRead {
    std::uint32_t value = 0;
    bool valid = false;
};

// The one reading of a field's text as a number: optional leading spaces or tabs, then
// one or more decimal digits and nothing else, at most 4294967295. No sign. Anything
// else reads 0, not valid.
UnsignedRead parseUnsigned(std::string_view text);

// A form is also the spell list's SpellNameSink: addName appends to spellList.
class CalculatorForm : public SpellNameSink {
  public:
    // Texts are Windows-1252.
    virtual std::string fieldText(int id) const = 0;
    virtual void writeText(int id, const char* text) = 0;
    // Position of the selected spell in spellList, or nothing when none is selected.
    virtual std::optional<std::size_t> selectedSpell() const = 0;

    // A form that keeps numbers as numbers may answer these without any text.
    virtual UnsignedRead readUnsigned(int id) const { return parseUnsigned(fieldText(id)); }
    // Plain decimal digits, no sign, no grouping.
    virtual void writeUnsigned(int id, std::uint32_t value);
    // Writes "" to the 16 outputs in outputClearOrder, as every run does first.
    virtual void clearOutputs();
};

void setDefaults(CalculatorForm& form);
// Leaving an input that holds no valid number turns it into "100"; outputs never change.
void onFieldLeft(CalculatorForm& form, int id);

}  // namespace vyr
