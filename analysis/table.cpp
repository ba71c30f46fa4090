#include "table.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include <nlohmann/json.hpp>

namespace vyr {

namespace {

// Characters, not bytes: UTF-8 continuation bytes take no room.
std::size_t width(const std::string& utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string shownInText(const Cell& cell) {
    if (const double* v = std::get_if<double>(&cell)) {
        char text[64];
        std::snprintf(text, sizeof text, "%.2f", *v);
        return text;
    }
    // A line break would tear the row apart.
    std::string text = cellText(cell);
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

}  // namespace

std::string cellText(const Cell& cell) {
    if (const auto* n = std::get_if<std::int64_t>(&cell)) return std::to_string(*n);
    if (const auto* s = std::get_if<std::string>(&cell)) return *s;
    if (const double* v = std::get_if<double>(&cell)) {
        // The fewest digits that read back as the same double (std::to_chars for doubles
        // is missing from the WebAssembly build's standard library).
        char text[32];
        // Whole figures in plain digits: %g would write 260 as "2.6e+02".
        if (std::fabs(*v) < 1e15 && std::trunc(*v) == *v) {
            std::snprintf(text, sizeof text, "%.0f", *v);
            return text;
        }
        for (int digits = 1;; ++digits) {
            std::snprintf(text, sizeof text, "%.*g", digits, *v);
            if (digits == 17 || std::strtod(text, nullptr) == *v) return text;
        }
    }
    return {};
}

std::string csvCell(const std::string& text) {
    const bool quote = text.find_first_of(",\"\r\n") != std::string::npos ||
                       (!text.empty() && (text.front() == ' ' || text.back() == ' '));
    if (!quote) return text;
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string writeText(const Table& table) {
    std::vector<std::size_t> shown;
    // A column no row fills says nothing here (CSV and JSON keep it, for a stable layout).
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        const bool filled =
            table.rows.empty() || std::any_of(table.rows.begin(), table.rows.end(), [&](const auto& row) {
                return !std::holds_alternative<std::monostate>(row[c]);
            });
        if (table.columns[c].inText && filled) shown.push_back(c);
    }
    std::vector<std::vector<std::string>> cells(table.rows.size() + 2);
    std::vector<bool> right(table.columns.size(), false);
    for (std::size_t c : shown) cells[0].push_back(table.columns[c].heading);
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        for (std::size_t c : shown) {
            cells[r + 2].push_back(shownInText(table.rows[r][c]));
            right[c] = right[c] || std::holds_alternative<std::int64_t>(table.rows[r][c]) ||
                       std::holds_alternative<double>(table.rows[r][c]);
        }
    }
    std::vector<std::size_t> widths(shown.size());
    for (const auto& row : cells) {
        for (std::size_t k = 0; k < row.size(); ++k) widths[k] = std::max(widths[k], width(row[k]));
    }
    for (std::size_t w : widths) cells[1].push_back(std::string(w, '-'));
    std::string out;
    for (const std::string& note : table.notes) out += note + "\n";
    if (!table.notes.empty()) out += "\n";
    for (const auto& row : cells) {
        std::string line;
        for (std::size_t k = 0; k < row.size(); ++k) {
            const std::string pad(widths[k] - width(row[k]), ' ');
            line += (k ? "  " : "") + (right[shown[k]] ? pad + row[k] : row[k] + pad);
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out += line + "\n";
    }
    return out;
}

std::string writeCsv(const Table& table) {
    std::string out;
    for (std::size_t c = 0; c < table.columns.size(); ++c) out += (c ? "," : "") + csvCell(table.columns[c].name);
    out += "\r\n";
    for (const auto& row : table.rows) {
        for (std::size_t c = 0; c < row.size(); ++c) out += (c ? "," : "") + csvCell(cellText(row[c]));
        out += "\r\n";
    }
    return out;
}

std::string writeJson(const Table& table) {
    // One row object per line, so that a long result reads and diffs well.
    std::string out = "[";
    for (const auto& row : table.rows) {
        nlohmann::ordered_json object = nlohmann::ordered_json::object();
        for (std::size_t c = 0; c < row.size(); ++c) {
            std::visit(
                [&](const auto& v) {
                    if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::monostate>) {
                        object[table.columns[c].name] = nullptr;
                    } else {
                        object[table.columns[c].name] = v;
                    }
                },
                row[c]);
        }
        out += (out.size() > 1 ? ",\n" : "\n") + object.dump();
    }
    return out + (table.rows.empty() ? "]\n" : "\n]\n");
}

std::string writeTable(const Table& table, Format format) {
    switch (format) {
        case Format::csv:
            return writeCsv(table);
        case Format::json:
            return writeJson(table);
        case Format::text:
            break;
    }
    return writeText(table);
}

}  // namespace vyr
