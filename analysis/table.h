#pragma once
// The one output model of every analysis: rows of typed cells under named columns, and
// its three writers. Every writer returns the whole text.
//
// JSON convention, the same for every command: an array with one object per row, keys
// the columns' camelCase names in column order, numbers as JSON numbers, an empty cell
// as null, texts as UTF-8 strings.

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "fields.h"

namespace vyr {

// Empty, a whole number, a figure (shown with two decimals in the aligned text), a text.
using Cell = std::variant<std::monostate, std::int64_t, double, std::string>;

struct Column {
    std::string name;        // camelCase key of CSV and JSON
    std::string heading;     // French heading of the aligned text
    bool inText = true;      // false: CSV and JSON only (long texts)
    Best best = Best::none;  // the end a player wants on top, for a column of figures that has one
};

struct Table {
    std::vector<Column> columns;
    std::vector<std::vector<Cell>> rows;
    std::vector<std::string> notes;  // lines above the aligned text (not in CSV or JSON)
};

enum class Format { text, csv, json };

// Rows written one at a time in CSV or JSON (one object per row): what writeCsv and
// writeJson write, and batch's result lines. Names are escaped once, numbers written
// with std::to_chars; no JSON document is built. The cell writers are inline: batch calls
// them some twenty times a line.
class RowWriter {
  public:
    RowWriter(const std::vector<Column>& columns, Format format);  // format: csv or json
    // CSV: the line of column names; JSON: nothing.
    std::string header() const;
    // A row is begin, one cell per column in order, then end ("}" in JSON, CRLF in CSV).
    void begin(std::string& out) {
        column_ = 0;
        if (format_ == Format::json) out += '{';
    }
    void cell(const Cell& cell, std::string& out);
    void whole(std::int64_t value, std::string& out) {
        next(out);
        char digits[24];
        out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    }
    // An empty cell: null in JSON, nothing in CSV.
    void empty(std::string& out) {
        next(out);
        if (format_ == Format::json) out += "null";
    }
    // A text already written by quote, to escape a repeated text once only.
    void quoted(std::string_view text, std::string& out) {
        next(out);
        out += text;
    }
    void end(std::string& out) { out += format_ == Format::json ? "}" : "\r\n"; }
    // A text as this format writes it: a JSON string, or a CSV cell.
    std::string quote(const std::string& utf8) const;

  private:
    void next(std::string& out) {
        if (format_ == Format::json)
            out += keys_[column_];
        else if (column_)
            out += ',';
        ++column_;
    }
    std::vector<std::string> keys_;  // JSON: "name": (after a comma but for the first)
    Format format_;
    std::size_t column_ = 0;
};

// Columns padded to their widest cell, numbers to the right; French headings. A text cell
// wider than its share of textWidth columns is cut and ends with "…".
inline constexpr std::size_t textWidth = 100;
std::string writeText(const Table& table);
// RFC 4180: a header of column names, CRLF line ends, quotes where needed.
std::string writeCsv(const Table& table);
std::string writeJson(const Table& table);
std::string writeTable(const Table& table, Format format);

// One CSV cell (RFC 4180): quoted when it holds a comma, a quote, a line break or edge spaces.
std::string csvCell(const std::string& text);
// Characters of a UTF-8 text (continuation bytes belong to the character before them).
std::size_t characterCount(std::string_view utf8);
// The cell as CSV shows it: whole numbers in digits, figures in their shortest exact form.
std::string cellText(const Cell& cell);

}  // namespace vyr
