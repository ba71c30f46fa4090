#include "spell_check.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "cp1252.h"
#include "effects.h"
#include "spell_file.h"
#include "spell_record.h"

namespace vyr::cli {

namespace {

constexpr std::string_view fieldNames[] = {"armourExempt", "delayFactor", "delayExtra", "delayLevel", "code",
                                           "rollRange",    "rollBase",    "intDivisor", "wisDivisor"};
constexpr std::size_t codeField = 4;
constexpr std::size_t specialFieldCount = 5;
constexpr std::size_t standardFieldCount = 9;

// A field as it appears in a message: UTF-8, in quotes, control bytes escaped.
std::string quoted(std::string_view cp1252) {
    std::string text = "\"";
    for (char c : cp1252) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '\r') text += "\\r";
        else if (b == '\t') text += "\\t";
        else if (b < 0x20 || b == 0x7F) {
            static const char hex[] = "0123456789ABCDEF";
            text += "\\x";
            text += hex[b >> 4];
            text += hex[b & 15];
        } else {
            text += cp1252ToUtf8(std::string_view(&c, 1));
        }
    }
    return text + "\"";
}

class LineChecker {
public:
    LineChecker(std::vector<Finding>& findings, std::size_t line) : findings_(findings), line_(line) {}

    void error(std::string message) { findings_.push_back({line_, Severity::error, std::move(message)}); }
    void warning(std::string message) { findings_.push_back({line_, Severity::warning, std::move(message)}); }

    // A number field must be an optional sign and decimal digits within 32 bits.
    void checkNumber(std::size_t field, std::string_view text) {
        const std::string name(fieldNames[field]);
        const std::int32_t value = readNumberField(std::string(text).c_str());
        const std::string reads = "(reads " + std::to_string(value) + ")";
        if (text.empty()) return error(name + " is empty " + reads);
        std::size_t digitsStart = text[0] == '+' || text[0] == '-' ? 1 : 0;
        std::size_t digitsEnd = digitsStart;
        while (digitsEnd < text.size() && text[digitsEnd] >= '0' && text[digitsEnd] <= '9') ++digitsEnd;
        if (digitsEnd == digitsStart) return error(name + " " + quoted(text) + " is not a number " + reads);
        if (digitsEnd < text.size()) return error(name + " " + quoted(text) + " has trailing text " + reads);
        if (!fitsInt32(text.substr(digitsStart, digitsEnd - digitsStart), text[0] == '-')) {
            return error(name + " " + std::string(text) + " is out of the 32-bit range (saturates to " +
                         std::to_string(value) + ")");
        }
        if (field == 0 && value != 0 && (value & 0xFF) == 0) {
            warning("armourExempt " + std::string(text) +
                    " keeps only its low 8 bits and reads 0: the target's armour is subtracted");
        }
    }

    // Only some first letters give a standard spell an effect; "s" codes must name a rule.
    void checkCode(std::string_view code) {
        if (code.empty()) return warning("empty code: the spell's range is not scaled");
        const char first = code[0];
        if (first == 's') {
            if (!isSpecialRuleCode(code)) {
                error("special code " + quoted(code) + " matches none of the " +
                      std::to_string(specialRuleCount) + " special rules: the spell computes nothing");
            }
        } else if (first == 'S') {
            error("code " + quoted(code) + " starts with an upper-case \"S\": not a special spell, "
                  "four more numbers are read");
        } else if (first < 'a' || first > 't') {
            warning("code " + quoted(code) + " has no effect: only a first letter from \"a\" to \"t\" scales the range");
        } else if (first == 'b' && (code.size() < 2 || std::string_view("faed").find(code[1]) == std::string_view::npos)) {
            warning("code " + quoted(code) + ": \"b\" scales only when followed by \"f\", \"a\", \"e\" or \"d\"");
        }
    }

private:
    static bool fitsInt32(std::string_view digits, bool negative) {
        digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
        const std::string_view limit = negative ? "2147483648" : "2147483647";
        return digits.size() < limit.size() || (digits.size() == limit.size() && digits <= limit);
    }

    std::vector<Finding>& findings_;
    std::size_t line_;
};

// One record line: the fields after the first ":", each ended by one space.
void checkRecordLine(LineChecker& check, std::string_view fields, bool lastLine) {
    std::size_t expected = specialFieldCount;
    std::size_t pos = 0;
    for (std::size_t field = 0; field < expected; ++field) {
        const std::size_t space = fields.find(' ', pos);
        if (space == std::string_view::npos) {
            // The loader would look for the space further on in the file.
            std::string_view text = fields.substr(pos);
            if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
            const std::string consequence =
                lastLine ? "the field runs to the end of the file" : "the loader reads on into the next line";
            const bool later = field + 1 < expected;
            const std::string name(fieldNames[field]);
            if (text.empty()) {
                check.error("missing " + name + (later ? " and the fields after it" : "") + ": " +
                            (lastLine ? "the record ends with the file" : "the loader reads on into the next line"));
            } else {
                check.error(name + " " + quoted(text) + " has no trailing space" +
                            (later ? "; the fields after it are missing" : "") + ": " + consequence);
                if (field != codeField) check.checkNumber(field, text);
            }
            return;
        }
        const std::string_view text = fields.substr(pos, space - pos);
        pos = space + 1;
        if (field == codeField) {
            check.checkCode(text);
            if (text.empty() || text[0] != 's') expected = standardFieldCount;
        } else {
            check.checkNumber(field, text);
        }
    }
}

}  // namespace

CheckReport checkSpellText(std::string_view plain) {
    CheckReport report;
    auto& findings = report.findings;

    // The loader's view: everything after a NUL byte is gone.
    const std::size_t nul = plain.find('\0');
    const std::string_view text = plain.substr(0, nul);

    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (nul != std::string_view::npos && (text.empty() || text.back() == '\n')) lines.push_back({});

    const auto recordLines = static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(), [](std::string_view l) { return l.find(':') != l.npos; }));
    std::size_t records = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        LineChecker check(findings, i + 1);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            if (line.empty() || line == "\r") {
                if (i + 1 < lines.size() || nul == std::string_view::npos) check.warning("empty line: the loader skips it");
            } else {
                check.error("no \":\" on this line: it is not a record and the loader skips it");
            }
            continue;
        }
        if (++records == spellCapacity + 1) {
            check.error("more than " + std::to_string(spellCapacity) + " records: this one and the " +
                        std::to_string(recordLines - records) + " after it are not loaded");
        }
        checkRecordLine(check, line.substr(colon + 1), i + 1 == lines.size());
    }
    if (nul != std::string_view::npos) {
        const auto line = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
        findings.push_back({line, Severity::error, "NUL byte: the loader stops reading here"});
    }
    if (recordLines == 0) findings.push_back({1, Severity::error, "no record: the program would refuse this file"});
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });

    // What the program itself stores from this text.
    std::string buffer(plain);
    auto catalogue = std::make_unique<SpellCatalogue>();
    SpellNameList names;
    report.loaded = parseSpellText(buffer.data(), static_cast<std::uint32_t>(buffer.size()), *catalogue, names);
    return report;
}

CheckReport checkSpellTextUtf8(std::string_view utf8) {
    const Utf8ToCp1252Result converted = utf8ToCp1252(utf8);
    if (!converted.errorOffset) return checkSpellText(converted.text);
    const TextPosition at = positionOfOffset(utf8, *converted.errorOffset);
    CheckReport report;
    report.findings.push_back({at.line, Severity::error,
                               "column " + std::to_string(at.column) + ": " + converted.error +
                                   ": the file cannot be encoded"});
    return report;
}

TextPosition positionOfOffset(std::string_view utf8, std::size_t offset) {
    TextPosition at;
    for (std::size_t i = 0; i < offset && i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b == '\n') {
            ++at.line;
            at.column = 1;
        } else if ((b & 0xC0) != 0x80) {
            ++at.column;  // continuation bytes belong to the character before them
        }
    }
    return at;
}

}  // namespace vyr::cli
