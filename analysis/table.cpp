#include "table.h"

#include <algorithm>
#include <cstdio>

#include <nlohmann/json.hpp>

#include "trace.h"

namespace vyr {

namespace {

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

// At most `room` characters: a longer text keeps room - 1 of them and ends with "…".
std::string cut(const std::string& utf8, std::size_t room) {
    if (characterCount(utf8) <= room || room == 0) return utf8;
    std::size_t kept = 0, at = 0;
    for (; at < utf8.size(); ++at) {
        if ((static_cast<unsigned char>(utf8[at]) & 0xC0) != 0x80 && kept++ == room - 1) break;
    }
    return utf8.substr(0, at) + "\xE2\x80\xA6";
}

}  // namespace

std::size_t characterCount(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string cellText(const Cell& cell) {
    if (const auto* n = std::get_if<std::int64_t>(&cell)) return std::to_string(*n);
    if (const auto* s = std::get_if<std::string>(&cell)) return *s;
    if (const double* v = std::get_if<double>(&cell)) return showDouble(*v);
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
    // Numbers and headings are never cut; long texts are, the widest first, until the line fits.
    std::vector<std::size_t> widths(shown.size()), floors(shown.size());
    for (std::size_t r = 0; r < cells.size(); ++r) {
        for (std::size_t k = 0; k < cells[r].size(); ++k) {
            widths[k] = std::max(widths[k], characterCount(cells[r][k]));
            if (r >= 2 && right[shown[k]] && !std::holds_alternative<std::string>(table.rows[r - 2][shown[k]]))
                floors[k] = std::max(floors[k], characterCount(cells[r][k]));
        }
    }
    for (std::size_t k = 0; k < widths.size(); ++k)
        floors[k] = std::max({floors[k], characterCount(cells[0][k]), std::min<std::size_t>(widths[k], 16)});
    auto total = [&] {
        std::size_t sum = widths.empty() ? 0 : 2 * (widths.size() - 1);
        for (std::size_t w : widths) sum += w;
        return sum;
    };
    for (std::size_t excess = total(); excess > textWidth; --excess) {
        std::size_t widest = widths.size();
        for (std::size_t k = 0; k < widths.size(); ++k) {
            if (widths[k] > floors[k] && (widest == widths.size() || widths[k] > widths[widest])) widest = k;
        }
        if (widest == widths.size()) break;
        --widths[widest];
    }
    for (auto& row : cells) {
        for (std::size_t k = 0; k < row.size(); ++k) row[k] = cut(row[k], widths[k]);
    }
    for (std::size_t w : widths) cells[1].push_back(std::string(w, '-'));
    // Columns that still do not fit go to further blocks below, each under the row's leading
    // columns (up to the first text, such as the number and name of a spell) and the texts right
    // after them (the output a diff row speaks of), so that every block says which row it is.
    std::size_t keys = shown.empty() ? 0 : 1;
    while (keys < shown.size() && keys < 2 && right[shown[keys - 1]]) ++keys;
    while (keys < shown.size() && !right[shown[keys]]) ++keys;
    std::vector<std::vector<std::size_t>> blocks(1);
    std::size_t used = 0;
    for (std::size_t k = 0; k < shown.size(); ++k) {
        if (k >= keys && blocks.back().size() > keys && used + 2 + widths[k] > textWidth) {
            blocks.emplace_back(blocks.front().begin(), blocks.front().begin() + static_cast<std::ptrdiff_t>(keys));
            used = 0;
            for (std::size_t key = 0; key < keys; ++key) used += widths[key] + (key ? 2 : 0);
        }
        used += widths[k] + (blocks.back().empty() ? 0 : 2);
        blocks.back().push_back(k);
    }
    std::string out;
    for (const std::string& note : table.notes) out += cut(note, textWidth) + "\n";
    if (!table.notes.empty()) out += "\n";
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        if (b) out += "\n";
        for (const auto& row : cells) {
            std::string line;
            for (std::size_t k : blocks[b]) {
                const std::string pad(widths[k] - characterCount(row[k]), ' ');
                line += (k == blocks[b].front() ? "" : "  ") + (right[shown[k]] ? pad + row[k] : row[k] + pad);
            }
            line.erase(line.find_last_not_of(' ') + 1);
            out += line + "\n";
        }
    }
    return out;
}

RowWriter::RowWriter(const std::vector<Column>& columns, Format format) : format_(format) {
    for (const Column& c : columns) {
        const std::string name = format == Format::json ? nlohmann::json(c.name).dump() + ":" : csvCell(c.name);
        keys_.push_back((keys_.empty() ? "" : ",") + name);
    }
}

std::string RowWriter::header() const {
    if (format_ == Format::json) return {};
    std::string out;
    for (const std::string& key : keys_) out += key;
    return out + "\r\n";
}

std::string RowWriter::quote(const std::string& utf8) const {
    return format_ == Format::json ? nlohmann::json(utf8).dump() : csvCell(utf8);
}

void RowWriter::cell(const Cell& cell, std::string& out) {
    if (const auto* n = std::get_if<std::int64_t>(&cell)) return whole(*n, out);
    if (std::holds_alternative<std::monostate>(cell)) return empty(out);
    if (const auto* s = std::get_if<std::string>(&cell)) return quoted(quote(*s), out);
    const double* v = std::get_if<double>(&cell);  // what is left
    // JSON figures as the library writes doubles (260 as 260.0), CSV in their shortest exact form.
    quoted(format_ == Format::json ? nlohmann::json(*v).dump() : cellText(cell), out);
}

std::string writeCsv(const Table& table) {
    RowWriter writer(table.columns, Format::csv);
    std::string out = writer.header();
    for (const auto& row : table.rows) {
        writer.begin(out);
        for (const Cell& cell : row) writer.cell(cell, out);
        writer.end(out);
    }
    return out;
}

std::string writeJson(const Table& table) {
    // One row object per line, so that a long result reads and diffs well.
    RowWriter writer(table.columns, Format::json);
    std::string out = "[";
    for (const auto& row : table.rows) {
        out += out.size() > 1 ? ",\n" : "\n";
        writer.begin(out);
        for (const Cell& cell : row) writer.cell(cell, out);
        writer.end(out);
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
