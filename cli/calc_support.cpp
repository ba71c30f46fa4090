#include "calc_support.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cp1252.h"
#include "fields.h"

namespace vyr::cli {

bool loadSpellData(const std::string& path, SpellData& data, std::string& error) {
    // The loader reports only a count; ask the system why a file cannot be read.
    if (std::FILE* probe = std::fopen(path.c_str(), "rb")) {
        std::fclose(probe);
    } else {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    SpellNameList names;
    if (loadSpellFile(path.c_str(), names, *data.catalogue) == 0) {
        error = path + ": no spell could be loaded from this file (vyr check tells why)";
        return false;
    }
    data.names = std::move(names.names);
    return true;
}

std::string foldForMatch(std::string_view text) {
    // Windows-1252 letters from 0xC0 on, folded to their unaccented lower-case letter.
    static constexpr char latin[] =
        "aaaaaaaceeeeiiii"  // C0-CF
        "dnooooo*ouuuuyts"  // D0-DF (D7 is the multiplication sign)
        "aaaaaaaceeeeiiii"  // E0-EF
        "dnooooo/ouuuuyty"; // F0-FF (F7 is the division sign)
    std::string out;
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 'A' && b <= 'Z') out += static_cast<char>(b - 'A' + 'a');
        else if (b >= 0xC0) out += latin[b - 0xC0];
        else if (b == 0x8A || b == 0x9A) out += 's';   // Š š
        else if (b == 0x8E || b == 0x9E) out += 'z';   // Ž ž
        else if (b == 0x9F) out += 'y';                // Ÿ
        else if (b == 0x8C || b == 0x9C) out += "oe";  // Œ œ
        else out += c;
    }
    return out;
}

std::optional<std::size_t> findSpell(const SpellData& data, std::string_view utf8Name, std::string& error) {
    const Utf8ToCp1252Result wanted = utf8ToCp1252(utf8Name);
    if (!wanted.errorOffset) {
        std::vector<std::size_t> matches;
        for (std::size_t i = 0; i < data.names.size(); ++i) {
            if (data.names[i] == wanted.text) matches.push_back(i);
        }
        if (matches.empty()) {
            const std::string folded = foldForMatch(wanted.text);
            for (std::size_t i = 0; i < data.names.size(); ++i) {
                if (foldForMatch(data.names[i]) == folded) matches.push_back(i);
            }
        }
        if (matches.size() == 1) return matches[0];
        if (matches.size() > 1) {
            error = "several spells are named \"" + std::string(utf8Name) + "\" (use --index):";
            for (std::size_t i : matches) error += "\n  " + std::to_string(i) + "  " + cp1252ToUtf8(data.names[i]);
            return std::nullopt;
        }
    }
    // No match: offer the names that contain what was typed.
    error = "no spell is named \"" + std::string(utf8Name) + "\"";
    const std::string folded = foldForMatch(wanted.text);
    std::string candidates;
    for (std::size_t i = 0; i < data.names.size(); ++i) {
        if (!folded.empty() && foldForMatch(data.names[i]).find(folded) != std::string::npos)
            candidates += "\n  " + std::to_string(i) + "  " + cp1252ToUtf8(data.names[i]);
    }
    error += candidates.empty() ? " (vyr spells lists them)" : "; did you mean:" + candidates;
    return std::nullopt;
}

bool checkInputText(std::string_view option, std::string_view text, std::string& error) {
    if (parseUnsigned(text).valid) return true;
    error = "--" + std::string(option) + ": \"" + std::string(text) +
            "\" is not a whole number from 0 to 4294967295";
    return false;
}

RunResult runOnce(const SpellData& data, std::size_t index, const std::vector<std::pair<int, std::string>>& inputs,
                  CalcTrace* trace) {
    InMemoryForm form;
    setDefaults(form);
    for (const auto& [id, text] : inputs) form.writeText(id, text.c_str());
    form.select(index);
    runCalculation(form, *data.catalogue, [](const char*, const char*) {}, trace);
    RunResult result;
    result.index = index;
    for (int id : outputDisplayOrder) result.outputs.emplace_back(id, form.fieldText(id));
    return result;
}

namespace {

const std::string& textOf(const RunResult& r, int id) {
    static const std::string none;
    for (const auto& [fid, text] : r.outputs) {
        if (fid == id) return text;
    }
    return none;
}

struct Line {
    int first;
    int second;  // 0: a single value
    const char* label;
    const char* unit;
};

// The dialog's reading order; pairs show as "low - high".
constexpr Line lines[] = {
    {field::effectMin, field::effectMax, "Dégats sur l'adversaire ou PV gagnés si sort de soin :", ""},
    {field::moveDelay, 0, "Temps avant mouvement  :", " ms"},
    {field::recastDelay, 0, "1 coup toutes les * :", " ms"},
    {field::successChance, 0, "Chances de réussite :", " %"},
    {field::strengthBonus, 0, "Bonus Force  :", ""},
    {field::dexterityBonus, 0, "Bonus Dexterité  :", ""},
    {field::wisdomBonus, 0, "Bonus Sagesse :", ""},
    {field::intelligenceBonus, 0, "Bonus Intelligence :", ""},
    {field::hitPointsBonusMin, field::hitPointsBonusMax, "Bonus PV :", ""},
    {field::armourBonusMin, field::armourBonusMax, "Bonus CA :", ""},
    {field::attackBonus, 0, "Bonus Attaque :", ""},
    {field::archeryBonus, 0, "Bonus Archerie :", ""},
    {field::specialText, 0, "Spécial :", ""},
};

}  // namespace

void printOutputsText(std::ostream& out, const RunResult& result) {
    for (const Line& line : lines) {
        const std::string& a = textOf(result, line.first);
        const std::string& b = line.second ? textOf(result, line.second) : a;
        if (a.empty() && b.empty()) continue;
        out << line.label << ' ' << cp1252ToUtf8(a);
        if (line.second) out << " - " << cp1252ToUtf8(b);
        out << line.unit << '\n';
    }
}

std::string jsonString(std::string_view utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (b < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", b);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + '"';
}

void printOutputsJson(std::ostream& out, const RunResult& result) {
    out << '{';
    bool first = true;
    for (const auto& [id, text] : result.outputs) {
        out << (first ? "" : ", ") << '"' << findOutput(id)->name << "\": " << jsonString(cp1252ToUtf8(text));
        first = false;
    }
    out << '}';
}

}  // namespace vyr::cli
