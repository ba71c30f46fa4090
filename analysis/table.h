#pragma once
// The one output model of every analysis: rows of typed cells under named columns, and
// its three writers. Every writer returns the whole text.
//
// JSON convention, the same for every command: an array with one object per row, keys
// the columns' camelCase names in column order, numbers as JSON numbers, an empty cell
// as null, texts as UTF-8 strings.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace vyr {

// Empty, a whole number, a figure (shown with two decimals in the aligned text), a text.
using Cell = std::variant<std::monostate, std::int64_t, double, std::string>;

struct Column {
    std::string name;     // camelCase key of CSV and JSON
    std::string heading;  // French heading of the aligned text
    bool inText = true;   // false: CSV and JSON only (long texts)
};

struct Table {
    std::vector<Column> columns;
    std::vector<std::vector<Cell>> rows;
    std::vector<std::string> notes;  // lines above the aligned text (not in CSV or JSON)
};

enum class Format { text, csv, json };

// Columns padded to their widest cell, numbers to the right; French headings.
std::string writeText(const Table& table);
// RFC 4180: a header of column names, CRLF line ends, quotes where needed.
std::string writeCsv(const Table& table);
std::string writeJson(const Table& table);
std::string writeTable(const Table& table, Format format);

// One CSV cell (RFC 4180): quoted when it holds a comma, a quote, a line break or edge spaces.
std::string csvCell(const std::string& text);
// The cell as CSV shows it: whole numbers in digits, figures in their shortest exact form.
std::string cellText(const Cell& cell);

}  // namespace vyr
