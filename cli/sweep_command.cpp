// vyr sweep: one ordinary run per value of one input, the other inputs fixed.
#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "calc_support.h"
#include "calculator_form.h"
#include "command_line.h"
#include "cp1252.h"
#include "fields.h"
#include "file_bytes.h"
#include "player_common.h"
#include "player_tools.h"
#include "sweep_chart.h"

namespace vyr::cli {

namespace {

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

constexpr std::string_view rangeForm = "NAME=FIRST..LAST[:STEP], such as level=1..200 or level=1..200:5";

}  // namespace

bool parseSweepRange(std::string_view text, SweepRange& range, std::string& error) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        error = "--vary: expected " + std::string(rangeForm);
        return false;
    }
    const std::string_view name = trimBlanks(text.substr(0, equals));
    range.input = findInput(name);
    if (!range.input) {
        error = "--vary: unknown input \"" + std::string(name) + "\" (the inputs are the options of vyr calc, such as "
                "level or fire-power)";
        return false;
    }
    const std::string_view values = trimBlanks(text.substr(equals + 1));
    const std::size_t dots = values.find("..");
    const std::string_view firstText = dots == std::string_view::npos ? values : trimBlanks(values.substr(0, dots));
    std::string_view lastText;
    std::string_view stepText;
    if (dots != std::string_view::npos) {
        const std::string_view rest = values.substr(dots + 2);
        const std::size_t colon = rest.find(':');
        lastText = trimBlanks(rest.substr(0, colon));
        if (colon != std::string_view::npos) stepText = trimBlanks(rest.substr(colon + 1));
    }
    if (values.empty() || firstText.empty() || lastText.empty()) {
        error = "--vary " + std::string(name) + ": the range is empty; expected " + std::string(rangeForm);
        return false;
    }
    const UnsignedRead first = parseUnsigned(firstText);
    const UnsignedRead last = parseUnsigned(lastText);
    for (const auto& [read, part] : {std::pair{first, firstText}, std::pair{last, lastText}}) {
        if (!read.valid) {
            error = "--vary " + std::string(name) + ": \"" + std::string(part) +
                    "\" is not a whole number from 0 to 4294967295";
            return false;
        }
    }
    range.step = 1;
    if (dots != std::string_view::npos && values.substr(dots + 2).find(':') != std::string_view::npos) {
        const UnsignedRead step = parseUnsigned(stepText);
        if (!step.valid || step.value == 0) {
            error = "--vary " + std::string(name) + ": the step \"" + std::string(stepText) +
                    "\" must be a whole number from 1 to 4294967295";
            return false;
        }
        range.step = step.value;
    }
    range.first = first.value;
    range.last = last.value;
    if (range.first > range.last) {
        error = "--vary " + std::string(name) + ": the range " + std::to_string(range.first) + ".." +
                std::to_string(range.last) + " is reversed; write the smaller value first";
        return false;
    }
    range.count = (static_cast<std::uint64_t>(range.last) - range.first) / range.step + 1;
    if (range.count > maxSweepRows) {
        error = "--vary " + std::string(name) + ": " + std::to_string(range.count) + " values, at most " +
                std::to_string(maxSweepRows) + " (give a larger STEP)";
        return false;
    }
    return true;
}

namespace {

// One run's outputs, kept small: a sweep may hold 100 000 of them.
struct SweepRow {
    std::uint32_t value = 0;
    std::array<std::uint32_t, 16> numbers{};  // in outputDisplayOrder
    std::uint16_t present = 0;                // bit i: output i is not empty
    std::uint32_t text = 0;                   // specialText, an index into the distinct texts
};

// Where specialText stands in outputDisplayOrder.
const std::size_t specialTextPosition = static_cast<std::size_t>(
    std::find(outputDisplayOrder.begin(), outputDisplayOrder.end(), field::specialText) - outputDisplayOrder.begin());

struct SweepTable {
    const InputField* input = nullptr;
    std::vector<SweepRow> rows;
    std::vector<std::string> texts{std::string()};  // UTF-8; 0 is the empty text
    std::uint16_t shown = 0;                         // outputs not empty in some row

    bool has(const SweepRow& row, std::size_t i) const { return (row.present >> i) & 1u; }
    std::optional<double> number(const SweepRow& row, int id) const {
        const auto position = static_cast<std::size_t>(
            std::find(outputDisplayOrder.begin(), outputDisplayOrder.end(), id) - outputDisplayOrder.begin());
        if (!has(row, position)) return std::nullopt;
        return static_cast<double>(row.numbers[position]);
    }
};

SweepRow keep(SweepTable& table, std::uint32_t value, const RunResult& result) {
    SweepRow row;
    row.value = value;
    for (std::size_t i = 0; i < result.outputs.size() && i < outputDisplayOrder.size(); ++i) {
        const std::string& text = result.outputs[i].second;
        if (text.empty()) continue;
        row.present = static_cast<std::uint16_t>(row.present | (1u << i));
        if (i == specialTextPosition) {
            const std::string utf8 = cp1252ToUtf8(text);
            auto it = std::find(table.texts.begin(), table.texts.end(), utf8);
            if (it == table.texts.end()) it = table.texts.insert(table.texts.end(), utf8);
            row.text = static_cast<std::uint32_t>(it - table.texts.begin());
        } else {
            row.numbers[i] = parseUnsigned(text).value;
        }
    }
    table.shown = static_cast<std::uint16_t>(table.shown | row.present);
    return row;
}

std::vector<std::size_t> shownColumns(const SweepTable& table, bool withText) {
    std::vector<std::size_t> columns;
    for (std::size_t i = 0; i < outputDisplayOrder.size(); ++i) {
        if (((table.shown >> i) & 1u) && (withText || i != specialTextPosition)) columns.push_back(i);
    }
    return columns;
}

// Large results are written in pieces rather than built whole.
void drain(std::string& buffer, std::ostream& out, bool force = false) {
    if (force || buffer.size() >= (1u << 20)) {
        out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        buffer.clear();
    }
}

void printTable(std::ostream& out, const SweepTable& table) {
    // The text of a special spell does not change from row to row: it is shown once,
    // above the table, unless it does.
    const bool textColumn = table.texts.size() > 2;
    if (!textColumn && table.texts.size() == 2) out << "Spécial : " << table.texts[1] << "\n\n";
    const std::vector<std::size_t> columns = shownColumns(table, textColumn);
    std::vector<std::string> headings{inputHeading(table.input->label)};
    for (std::size_t i : columns) headings.emplace_back(outputHeading(outputDisplayOrder[i]));
    std::vector<std::size_t> widths;
    for (const std::string& h : headings) widths.push_back(displayWidth(h));
    std::uint32_t widest = 0;
    for (const SweepRow& row : table.rows) widest = std::max(widest, row.value);
    widths[0] = std::max(widths[0], std::to_string(widest).size());
    for (std::size_t c = 0; c < columns.size(); ++c) {
        std::size_t w = 0;
        for (const SweepRow& row : table.rows) {
            if (!table.has(row, columns[c])) continue;
            w = std::max(w, columns[c] == specialTextPosition ? displayWidth(table.texts[row.text])
                                                              : std::to_string(row.numbers[columns[c]]).size());
        }
        widths[c + 1] = std::max(widths[c + 1], w);
    }
    std::string buffer;
    auto cell = [&](std::size_t c, const std::string& text, bool rightAligned) {
        if (c > 0) buffer += "  ";
        const std::string pad(widths[c] - std::min(widths[c], displayWidth(text)), ' ');
        buffer += rightAligned ? pad + text : text + (c + 1 < widths.size() ? pad : std::string());
    };
    for (std::size_t c = 0; c < headings.size(); ++c) cell(c, headings[c], c + 1 < headings.size() || !textColumn);
    buffer += '\n';
    for (std::size_t c = 0; c < widths.size(); ++c) cell(c, std::string(widths[c], '-'), true);
    buffer += '\n';
    for (const SweepRow& row : table.rows) {
        cell(0, std::to_string(row.value), true);
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const std::size_t i = columns[c];
            if (!table.has(row, i)) cell(c + 1, std::string(), true);
            else if (i == specialTextPosition) cell(c + 1, table.texts[row.text], false);
            else cell(c + 1, std::to_string(row.numbers[i]), true);
        }
        while (!buffer.empty() && buffer.back() == ' ') buffer.pop_back();
        buffer += '\n';
        drain(buffer, out);
    }
    drain(buffer, out, true);
}

void printCsv(std::ostream& out, const SweepTable& table) {
    const std::vector<std::size_t> columns = shownColumns(table, true);
    std::string buffer(table.input->name);
    for (std::size_t i : columns) {
        buffer += ',';
        buffer += findOutput(outputDisplayOrder[i])->name;
    }
    buffer += '\n';
    for (const SweepRow& row : table.rows) {
        buffer += std::to_string(row.value);
        for (std::size_t i : columns) {
            buffer += ',';
            if (!table.has(row, i)) continue;
            if (i == specialTextPosition) appendCsvCell(buffer, table.texts[row.text]);
            else buffer += std::to_string(row.numbers[i]);
        }
        buffer += '\n';
        drain(buffer, out);
    }
    drain(buffer, out, true);
}

void printJson(std::ostream& out, const SweepTable& table) {
    const std::vector<std::size_t> columns = shownColumns(table, true);
    std::string buffer = "[";
    bool firstRow = true;
    for (const SweepRow& row : table.rows) {
        buffer += firstRow ? "\n  {\"" : ",\n  {\"";
        firstRow = false;
        buffer += table.input->name;
        buffer += "\": " + std::to_string(row.value);
        for (std::size_t i : columns) {
            buffer += ", \"";
            buffer += findOutput(outputDisplayOrder[i])->name;
            buffer += "\": ";
            if (!table.has(row, i)) buffer += "null";
            else if (i == specialTextPosition) buffer += jsonString(table.texts[row.text]);
            else buffer += std::to_string(row.numbers[i]);
        }
        buffer += '}';
        drain(buffer, out);
    }
    buffer += table.rows.empty() ? "]\n" : "\n]\n";
    drain(buffer, out, true);
}

ChartData chartOf(const SweepTable& table, const std::string& spellName) {
    ChartData chart;
    const std::string x = inputHeading(table.input->label);
    chart.xLabel = x;
    chart.title = spellName + " selon " + x;
    // The band shows the range the spell gives: damage or heal, else hit points, else armour.
    const std::pair<int, int> pairs[] = {{field::effectMin, field::effectMax},
                                         {field::hitPointsBonusMin, field::hitPointsBonusMax},
                                         {field::armourBonusMin, field::armourBonusMax}};
    const char* labels[] = {"Dégats ou PV gagnés", "Bonus PV", "Bonus CA"};
    int low = 0;
    int high = 0;
    for (std::size_t p = 0; p < std::size(pairs) && !low; ++p) {
        for (const SweepRow& row : table.rows) {
            if (table.number(row, pairs[p].first) || table.number(row, pairs[p].second)) {
                low = pairs[p].first;
                high = pairs[p].second;
                chart.bandLabel = labels[p];
                break;
            }
        }
    }
    for (const SweepRow& row : table.rows) {
        chart.x.push_back(static_cast<double>(row.value));
        chart.moveDelay.push_back(table.number(row, field::moveDelay));
        chart.recastDelay.push_back(table.number(row, field::recastDelay));
        if (low) {
            chart.bandLow.push_back(table.number(row, low));
            chart.bandHigh.push_back(table.number(row, high));
        }
    }
    return chart;
}

}  // namespace

int runSweep(const SweepOptions& options, std::ostream& out, std::ostream& err) {
    std::string error;
    SweepRange range;
    if (!parseSweepRange(options.vary, range, error)) {
        err << "vyr sweep: " << error << '\n';
        return exitUsage;
    }
    SpellData data;
    if (!loadSpellData(options.dataPath, data, error)) {
        err << "vyr sweep: " << error << '\n';
        return exitUsage;
    }
    const std::optional<std::size_t> index = chooseSpell(data, options.spell, options.index, error);
    if (!index) {
        err << "vyr sweep: " << error << '\n';
        return exitUsage;
    }
    ResultSink sink;
    if (!sink.open(options.outputPath, out, error)) {
        err << "vyr sweep: " << error << '\n';
        return exitUsage;
    }

    // The varied input is written last, over the profile and the options.
    InputTexts inputs = options.inputs;
    inputs.emplace_back(range.input->id, std::string());
    SweepTable table;
    table.input = range.input;
    table.rows.reserve(static_cast<std::size_t>(range.count));
    std::uint64_t value = range.first;
    for (std::uint64_t n = 0; n < range.count; ++n, value += range.step) {
        inputs.back().second = std::to_string(value);
        table.rows.push_back(keep(table, static_cast<std::uint32_t>(value), runOnce(data, *index, inputs)));
    }

    // The chart first: if it cannot be written, nothing else is.
    if (!options.svgPath.empty()) {
        const std::string svg = renderChart(chartOf(table, cp1252ToUtf8(data.names[*index])));
        if (!writeFileBytes(options.svgPath, svg, error)) {
            err << "vyr sweep: " << error << '\n';
            return exitUsage;
        }
    }
    std::ostream& target = sink.stream();
    switch (options.format) {
        case ResultFormat::table: printTable(target, table); break;
        case ResultFormat::csv: printCsv(target, table); break;
        case ResultFormat::json: printJson(target, table); break;
    }
    if (!sink.finish(error)) {
        err << "vyr sweep: " << error << '\n';
        return exitUsage;
    }
    return exitOk;
}

}  // namespace vyr::cli
