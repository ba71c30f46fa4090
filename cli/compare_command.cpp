// vyr compare: one ordinary run per spell of the file for the same character.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "calc_support.h"
#include "command_line.h"
#include "cp1252.h"
#include "fields.h"
#include "player_common.h"
#include "player_tools.h"

namespace vyr::cli {

namespace {

struct CompareRow {
    std::size_t index = 0;
    std::string name;        // UTF-8
    std::string sortName;    // folded, so that "Éclair" sorts among the E
    RunResult result;
    std::optional<double> perSecond;
};

// Columns of the CSV and JSON output, in order; every one of them can be sorted on.
// Outputs not listed here (delays and chance come right after the range) follow.
const int leadingOutputs[] = {field::effectMin, field::effectMax, field::moveDelay, field::recastDelay,
                              field::successChance};
const int trailingOutputs[] = {field::strengthBonus,     field::dexterityBonus,    field::wisdomBonus,
                               field::intelligenceBonus, field::hitPointsBonusMin, field::hitPointsBonusMax,
                               field::armourBonusMin,    field::armourBonusMax,    field::attackBonus,
                               field::archeryBonus};
constexpr std::string_view perSecondColumn = "effectPerSecond";

// The mean of the range per second of recast: only where the range and a non-zero
// recast delay are both shown. Derived from the outputs, as a player would on paper.
std::optional<double> meanPerSecond(const RunResult& r) {
    const auto low = outputNumber(r, field::effectMin);
    const auto high = outputNumber(r, field::effectMax);
    const auto recast = outputNumber(r, field::recastDelay);
    if (!low || !high || !recast || *recast == 0) return std::nullopt;
    return (static_cast<double>(*low) + static_cast<double>(*high)) / 2.0 * 1000.0 / static_cast<double>(*recast);
}

std::string formatPerSecond(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}

// What the spell gives, in one cell: the range, else or also the bonuses it shows.
std::string effectCell(const RunResult& r) {
    std::string cell;
    auto add = [&](const std::string& part) {
        if (!cell.empty()) cell += ", ";
        cell += part;
    };
    auto pair = [&](int low, int high, const char* label) {
        const std::string& a = outputText(r, low);
        const std::string& b = outputText(r, high);
        if (a.empty() && b.empty()) return;
        add(std::string(label) + cp1252ToUtf8(a) + " - " + cp1252ToUtf8(b));
    };
    pair(field::effectMin, field::effectMax, "");
    pair(field::hitPointsBonusMin, field::hitPointsBonusMax, "PV ");
    pair(field::armourBonusMin, field::armourBonusMax, "CA ");
    const std::pair<int, const char*> singles[] = {
        {field::strengthBonus, "Force "},      {field::dexterityBonus, "Dexterité "},
        {field::wisdomBonus, "Sagesse "},      {field::intelligenceBonus, "Intelligence "},
        {field::attackBonus, "Attaque "},      {field::archeryBonus, "Archerie "},
    };
    for (const auto& [id, label] : singles) {
        const std::string& v = outputText(r, id);
        if (!v.empty()) add(label + cp1252ToUtf8(v));
    }
    // A spell that only describes itself: its text is too long for a table cell.
    if (cell.empty() && !outputText(r, field::specialText).empty()) cell = "(texte, voir vyr calc)";
    return cell;
}

// A sort key: a number (absent when the cell is empty) or the folded name.
struct SortColumn {
    enum Kind { index, name, output, perSecond } kind = index;
    int id = 0;
};

bool findSortColumn(std::string_view name, SortColumn& column, std::string& error) {
    if (name == "index" || name == "name" || name == perSecondColumn) {
        column.kind = name == "index" ? SortColumn::index : name == "name" ? SortColumn::name : SortColumn::perSecond;
        return true;
    }
    for (const OutputField& f : outputFields) {
        if (f.name == name && f.id != field::specialText) {
            column = {SortColumn::output, f.id};
            return true;
        }
    }
    error = "--sort: unknown column \"" + std::string(name) + "\"; use index, name, ";
    for (int id : leadingOutputs) {
        error += findOutput(id)->name;
        error += ", ";
    }
    error += perSecondColumn;
    for (int id : trailingOutputs) {
        error += ", ";
        error += findOutput(id)->name;
    }
    return false;
}

std::optional<double> sortValue(const CompareRow& row, const SortColumn& column) {
    switch (column.kind) {
        case SortColumn::index: return static_cast<double>(row.index);
        case SortColumn::perSecond: return row.perSecond;
        case SortColumn::output: {
            const auto v = outputNumber(row.result, column.id);
            if (!v) return std::nullopt;
            return static_cast<double>(*v);
        }
        case SortColumn::name: break;
    }
    return std::nullopt;
}

void sortRows(std::vector<CompareRow>& rows, const SortColumn& column, bool descending) {
    // Empty cells go last whatever the direction; ties keep the list order.
    std::stable_sort(rows.begin(), rows.end(), [&](const CompareRow& a, const CompareRow& b) {
        if (column.kind == SortColumn::name) {
            return descending ? b.sortName < a.sortName : a.sortName < b.sortName;
        }
        const auto x = sortValue(a, column);
        const auto y = sortValue(b, column);
        if (!x || !y) return x.has_value() && !y.has_value();
        return descending ? *y < *x : *x < *y;
    });
}

void printTable(std::ostream& out, const std::vector<CompareRow>& rows) {
    TextTable table;
    table.headings = {"n°", "Sort", "Effet", "Mouvement (ms)", "Relance (ms)", "Chances (%)", "Effet par s"};
    table.rightAligned = {true, false, false, true, true, true, true};
    for (const CompareRow& row : rows) {
        table.rows.push_back({std::to_string(row.index), row.name, effectCell(row.result),
                              cp1252ToUtf8(outputText(row.result, field::moveDelay)),
                              cp1252ToUtf8(outputText(row.result, field::recastDelay)),
                              cp1252ToUtf8(outputText(row.result, field::successChance)),
                              row.perSecond ? formatPerSecond(*row.perSecond) : std::string()});
    }
    table.print(out);
}

void printCsv(std::ostream& out, const std::vector<CompareRow>& rows) {
    std::string text = "index,name";
    auto heading = [&](std::string_view name) {
        text += ',';
        text += name;
    };
    for (int id : leadingOutputs) heading(findOutput(id)->name);
    heading(perSecondColumn);
    for (int id : trailingOutputs) heading(findOutput(id)->name);
    text += '\n';
    for (const CompareRow& row : rows) {
        text += std::to_string(row.index);
        text += ',';
        appendCsvCell(text, row.name);
        auto cell = [&](int id) {
            text += ',';
            text += outputText(row.result, id);
        };
        for (int id : leadingOutputs) cell(id);
        text += ',';
        if (row.perSecond) text += formatPerSecond(*row.perSecond);
        for (int id : trailingOutputs) cell(id);
        text += '\n';
    }
    out << text;
}

void printJson(std::ostream& out, const std::vector<CompareRow>& rows) {
    out << '[';
    bool firstRow = true;
    for (const CompareRow& row : rows) {
        out << (firstRow ? "\n  " : ",\n  ") << "{\"index\": " << row.index << ", \"name\": " << jsonString(row.name);
        firstRow = false;
        auto number = [&](int id) {
            const auto v = outputNumber(row.result, id);
            out << ", \"" << findOutput(id)->name << "\": ";
            if (v) out << *v; else out << "null";
        };
        for (int id : leadingOutputs) number(id);
        out << ", \"" << perSecondColumn << "\": ";
        if (row.perSecond) out << formatPerSecond(*row.perSecond); else out << "null";
        for (int id : trailingOutputs) number(id);
        out << '}';
    }
    out << (rows.empty() ? "]\n" : "\n]\n");
}

}  // namespace

int runCompare(const CompareOptions& options, std::ostream& out, std::ostream& err) {
    std::string error;
    SortColumn column;
    if (!findSortColumn(options.sort, column, error)) {
        err << "vyr compare: " << error << '\n';
        return exitUsage;
    }
    if (!options.only.empty() && options.only != "standard" && options.only != "special") {
        err << "vyr compare: --only takes standard or special, not \"" << options.only << "\"\n";
        return exitUsage;
    }
    SpellData data;
    if (!loadSpellData(options.dataPath, data, error)) {
        err << "vyr compare: " << error << '\n';
        return exitUsage;
    }
    ResultSink sink;
    if (!sink.open(options.outputPath, out, error)) {
        err << "vyr compare: " << error << '\n';
        return exitUsage;
    }

    std::vector<CompareRow> rows;
    for (std::size_t i = 0; i < data.names.size(); ++i) {
        const char* code = (*data.catalogue)[i].code();
        // The run's own test: a lower-case "s" first makes a spell special.
        const bool special = code && code[0] == 's';
        if ((options.only == "standard" && special) || (options.only == "special" && !special)) continue;
        CompareRow row;
        row.index = i;
        row.name = cp1252ToUtf8(data.names[i]);
        row.sortName = foldForMatch(data.names[i]);
        row.result = runOnce(data, i, options.inputs);
        row.perSecond = meanPerSecond(row.result);
        rows.push_back(std::move(row));
    }
    sortRows(rows, column, options.descending);

    std::ostream& target = sink.stream();
    switch (options.format) {
        case ResultFormat::table: printTable(target, rows); break;
        case ResultFormat::csv: printCsv(target, rows); break;
        case ResultFormat::json: printJson(target, rows); break;
    }
    if (!sink.finish(error)) {
        err << "vyr compare: " << error << '\n';
        return exitUsage;
    }
    return exitOk;
}

}  // namespace vyr::cli
