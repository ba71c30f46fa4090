#pragma once
// The spell data file: stored XOR-scrambled, one record per line once unscrambled.
//
//   name:armourExempt delayFactor delayExtra delayLevel code [rollRange rollBase intDivisor wisDivisor] <rest of line>
//
// Every field, the last one included, ends with one space; a code starting with
// a lower-case "s" has no roll fields.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "spell_record.h"

namespace vyr {

// Key of the scrambling: even offsets XOR scrambleBase, odd offsets scrambleBase + 1.
// Every data file and every tool that writes one uses this value.
inline constexpr std::uint8_t scrambleBase = 0x5A;

// The name the programs look for in the current directory.
inline constexpr const char* spellFileName = "Vyr degats.dat";

class SpellNameSink {
  public:
    virtual ~SpellNameSink() = default;
    // Appends a name (NUL-terminated Windows-1252); the text stays the record's.
    virtual void addName(const char* name) = 0;
};

// A plain list of names, for tests and the command-line tool.
class SpellNameList : public SpellNameSink {
  public:
    void addName(const char* name) override { names.emplace_back(name); }
    std::vector<std::string> names;
};

// XOR works both ways: the same call scrambles plain text and unscrambles a file.
void unscramble(char* buffer, std::size_t size);

// Splits the unscrambled text in place into catalogue slots 0, 1, 2 ... and hands each
// stored name to the sink. text[size] must be writable; it receives the closing NUL.
// Returns the number of records stored (at most spellCapacity).
std::size_t parseSpellText(char* text, std::uint32_t size, SpellCatalogue& catalogue, SpellNameSink& sink);

// Reads the scrambled file at path into the catalogue. Returns the number of records
// loaded; 0 when the file cannot be read whole (then nothing is stored or sent to sink).
std::size_t loadSpellFile(const char* path, SpellNameSink& sink, SpellCatalogue& catalogue);
std::size_t loadSpellFile(const char* path, SpellNameSink& sink);  // process catalogue

// A number field: optional white space, one optional sign, decimal digits up to the
// first non-digit. No digits read 0. Values beyond the signed 32-bit range saturate
// at -2147483648 or 2147483647.
std::int32_t readNumberField(const char* text);

}  // namespace vyr
