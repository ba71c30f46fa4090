#pragma once
// A spell record as a table writes it: an object of its loaded texts and non-zero numbers (an unloaded slot is {}).

#include <cstring>
#include <memory>

#include "data_table.h"
#include "spell_record.h"

namespace vyr::testing {

inline constexpr std::pair<const char*, std::int32_t SpellRecord::*> recordNumbers[] = {
    {"delayFactor", &SpellRecord::delayFactor}, {"delayExtra", &SpellRecord::delayExtra},
    {"delayLevel", &SpellRecord::delayLevel},   {"rollRange", &SpellRecord::rollRange},
    {"rollBase", &SpellRecord::rollBase},       {"intDivisor", &SpellRecord::intDivisor},
    {"wisDivisor", &SpellRecord::wisDivisor}};

inline json recordRow(const SpellRecord& r) {
    json row = json::object();
    if (r.name()) row["name"] = byteText(r.name());
    if (r.code()) row["code"] = byteText(r.code());
    if (r.armourExempt) row["armourExempt"] = r.armourExempt;
    for (const auto& [key, member] : recordNumbers)
        if (r.*member) row[key] = r.*member;
    return row;
}

// Sets a record's code (as bytes) and numbers from a row.
inline void setRecord(SpellRecord& r, const json& row) {
    const std::string code = bytes(row.value("code", ""));
    if (row.contains("code")) r.setCode(std::unique_ptr<char[]>(std::strcpy(new char[code.size() + 1], code.c_str())));
    r.armourExempt = static_cast<std::int8_t>(row.value("armourExempt", 0));
    for (const auto& [key, member] : recordNumbers) r.*member = row.value(key, 0);
}

}  // namespace vyr::testing
