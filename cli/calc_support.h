#pragma once
// What every computing subcommand of vyr shares: choosing a spell, checking input
// texts, running one calculation on the in-memory form, and showing its outputs.

#include <cstddef>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "calculation_run.h"
#include "memory_form.h"

namespace vyr::cli {

// A loaded data file: the catalogue and the names in list order (Windows-1252).
struct SpellData {
    std::unique_ptr<SpellCatalogue> catalogue = std::make_unique<SpellCatalogue>();
    std::vector<std::string> names;
};

// Loads a scrambled data file. On failure error names the path and the reason.
bool loadSpellData(const std::string& path, SpellData& data, std::string& error);

// Finds a spell by its UTF-8 name: an exact match first, then a match that ignores case
// and accents if exactly one spell gives it. On failure, error says why and lists the
// candidates.
std::optional<std::size_t> findSpell(const SpellData& data, std::string_view utf8Name, std::string& error);

// Lower case, accents removed, for matching names typed on a keyboard (Windows-1252 in and out).
std::string foldForMatch(std::string_view cp1252Text);

// A value given for an input must be what the form reads as valid; the error names the option.
bool checkInputText(std::string_view option, std::string_view text, std::string& error);

// The texts of one run's 16 outputs, in outputDisplayOrder (Windows-1252).
struct RunResult {
    std::size_t index = 0;
    std::vector<std::pair<int, std::string>> outputs;
};

// One run: defaults, then the given inputs (field id, text), then the spell selected.
RunResult runOnce(const SpellData& data, std::size_t index, const std::vector<std::pair<int, std::string>>& inputs,
                  CalcTrace* trace = nullptr);

// The dialog's French labels with their values; empty outputs left out (UTF-8).
void printOutputsText(std::ostream& out, const RunResult& result);
// {"effectMin": "...", ...}: all 16 outputs under their field names, "" when empty.
void printOutputsJson(std::ostream& out, const RunResult& result);
std::string jsonString(std::string_view utf8);

}  // namespace vyr::cli
