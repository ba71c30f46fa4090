#pragma once
// Shared harness for the calculator tests: one record, a few inputs changed from their
// defaults, one run; every output not listed in a vector must come out empty.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vyr::test {

struct RecordSpec {
    const char* code = "x";
    std::int32_t rollRange = 0;
    std::int32_t rollBase = 0;
    std::int32_t intDivisor = 0;
    std::int32_t wisDivisor = 0;
    std::int8_t armourExempt = 0;
    std::int32_t delayFactor = 1;
    std::int32_t delayExtra = 0;
    std::int32_t delayLevel = 0;
};

using FieldTexts = std::vector<std::pair<int, std::string>>;

struct CalcVector {
    const char* name;
    RecordSpec record;
    FieldTexts inputs;    // changed from the defaults
    FieldTexts expected;  // outputs; moveDelay 750, recastDelay 1000, successChance 100
                          // unless listed; every other output empty unless listed
};

// Runs one vector on a fresh in-memory form; returns the 16 outputs by id, in the
// order of outputDisplayOrder.
FieldTexts runVector(const CalcVector& v);
FieldTexts expectedOutputs(const CalcVector& v);

// Windows-1252 form of a UTF-8 literal.
std::string cp1252(const char* utf8);

}  // namespace vyr::test
