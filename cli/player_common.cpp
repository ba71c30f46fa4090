#include "player_common.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "calculator_form.h"
#include "fields.h"

namespace vyr::cli {

std::optional<std::size_t> chooseSpell(const SpellData& data, const std::optional<std::string>& spell,
                                       const std::optional<std::size_t>& index, std::string& error) {
    if (spell.has_value() == index.has_value()) {
        error = "give exactly one of --spell NAME and --index N";
        return std::nullopt;
    }
    if (index) {
        if (*index < data.names.size()) return *index;
        error = "--index " + std::to_string(*index) + " is past the list (" + std::to_string(data.names.size()) +
                " spells, numbered from 0)";
        return std::nullopt;
    }
    return findSpell(data, *spell, error);
}

bool ResultSink::open(const std::string& path, std::ostream& fallback, std::string& error) {
    fallback_ = &fallback;
    path_ = path;
    if (path.empty()) return true;
    errno = 0;
    file_.open(path, std::ios::binary | std::ios::trunc);
    if (file_.is_open()) return true;
    error = path + ": " + (errno ? std::strerror(errno) : "cannot be created");
    return false;
}

bool ResultSink::finish(std::string& error) {
    std::ostream& s = stream();
    s.flush();
    if (file_.is_open()) file_.close();
    if (!file_.fail() && s.good()) return true;
    error = (path_.empty() ? std::string("standard output") : path_) + ": the result could not be written in full";
    return false;
}

namespace {

int displayPosition(int id) {
    const auto it = std::find(outputDisplayOrder.begin(), outputDisplayOrder.end(), id);
    return it == outputDisplayOrder.end() ? -1 : static_cast<int>(it - outputDisplayOrder.begin());
}

}  // namespace

const std::string& outputText(const RunResult& result, int id) {
    static const std::string none;
    // runOnce lists the outputs in display order; look there first.
    const int position = displayPosition(id);
    if (position >= 0 && static_cast<std::size_t>(position) < result.outputs.size() &&
        result.outputs[static_cast<std::size_t>(position)].first == id) {
        return result.outputs[static_cast<std::size_t>(position)].second;
    }
    for (const auto& [fid, text] : result.outputs) {
        if (fid == id) return text;
    }
    return none;
}

std::optional<std::uint32_t> outputNumber(const RunResult& result, int id) {
    const UnsignedRead read = parseUnsigned(outputText(result, id));
    if (!read.valid) return std::nullopt;
    return read.value;
}

std::string_view outputHeading(int id) {
    switch (id) {
        case field::effectMin: return "Effet min";
        case field::effectMax: return "Effet max";
        case field::moveDelay: return "Mouvement (ms)";
        case field::recastDelay: return "Relance (ms)";
        case field::successChance: return "Chances (%)";
        case field::strengthBonus: return "Bonus Force";
        case field::dexterityBonus: return "Bonus Dexterité";
        case field::wisdomBonus: return "Bonus Sagesse";
        case field::intelligenceBonus: return "Bonus Intelligence";
        case field::hitPointsBonusMin: return "Bonus PV min";
        case field::hitPointsBonusMax: return "Bonus PV max";
        case field::armourBonusMin: return "Bonus CA min";
        case field::armourBonusMax: return "Bonus CA max";
        case field::attackBonus: return "Bonus Attaque";
        case field::archeryBonus: return "Bonus Archerie";
        case field::specialText: return "Spécial";
        default: return "";
    }
}

std::string inputHeading(std::string_view label) {
    if (label.size() >= 2 && label.substr(label.size() - 2) == " :") label.remove_suffix(2);
    return std::string(label);
}

void appendCsvCell(std::string& out, std::string_view utf8) {
    const bool quote = utf8.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!utf8.empty() && (utf8.front() == ' ' || utf8.back() == ' '));
    if (!quote) {
        out += utf8;
        return;
    }
    out += '"';
    for (char c : utf8) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

std::size_t displayWidth(std::string_view utf8) {
    // One character per lead byte: continuation bytes (10xxxxxx) add nothing.
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

void TextTable::print(std::ostream& out) const {
    std::vector<std::size_t> widths(headings.size(), 0);
    auto measure = [&](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size() && i < widths.size(); ++i)
            widths[i] = std::max(widths[i], displayWidth(cells[i]));
    };
    measure(headings);
    for (const auto& row : rows) measure(row);
    auto printRow = [&](const std::vector<std::string>& cells) {
        std::string line;
        for (std::size_t i = 0; i < widths.size(); ++i) {
            const std::string& cell = i < cells.size() ? cells[i] : std::string();
            const std::string pad(widths[i] - displayWidth(cell), ' ');
            if (i > 0) line += "  ";
            const bool right = i < rightAligned.size() && rightAligned[i];
            line += right ? pad + cell : cell + pad;
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out << line << '\n';
    };
    printRow(headings);
    std::vector<std::string> rule;
    for (std::size_t w : widths) rule.emplace_back(w, '-');
    printRow(rule);
    for (const auto& row : rows) printRow(row);
}

}  // namespace vyr::cli
