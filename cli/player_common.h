#pragma once
// Pieces shared by the player's subcommands compare, sweep and batch: choosing a spell,
// the file given with -o, reading an output as a number, and table, CSV and JSON cells.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "calc_support.h"

namespace vyr::cli {

// Exactly one of spell (UTF-8 name) and index; the index must name a loaded spell.
std::optional<std::size_t> chooseSpell(const SpellData& data, const std::optional<std::string>& spell,
                                       const std::optional<std::size_t>& index, std::string& error);

// Where a subcommand writes its result: the file given with -o, else the stream it was
// handed. Nothing is written anywhere else.
class ResultSink {
public:
    // False with error naming the file when it cannot be created.
    bool open(const std::string& path, std::ostream& fallback, std::string& error);
    std::ostream& stream() { return file_.is_open() ? static_cast<std::ostream&>(file_) : *fallback_; }
    // Flushes; false with error when the system could not take everything written.
    bool finish(std::string& error);

private:
    std::ofstream file_;
    std::ostream* fallback_ = nullptr;
    std::string path_;
};

// The text of one output of a run (Windows-1252), "" when the output is empty.
const std::string& outputText(const RunResult& result, int id);
// A numeric output as the number it shows; nothing when it is empty.
std::optional<std::uint32_t> outputNumber(const RunResult& result, int id);

// A short French column title for an output ("Effet min", "Relance (ms)", …), UTF-8.
std::string_view outputHeading(int id);
// An input's on-screen label without its closing " :" ("Level", "Puissance Feu"), UTF-8.
std::string inputHeading(std::string_view label);

// One CSV cell (RFC 4180): quoted when it holds a comma, a quote, a line break or edge spaces.
void appendCsvCell(std::string& out, std::string_view utf8);

// Columns padded to their widest cell; widths count characters, not UTF-8 bytes.
struct TextTable {
    std::vector<std::string> headings;
    std::vector<bool> rightAligned;
    std::vector<std::vector<std::string>> rows;
    void print(std::ostream& out) const;
};

std::size_t displayWidth(std::string_view utf8);

}  // namespace vyr::cli
