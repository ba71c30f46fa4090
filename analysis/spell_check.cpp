#include "spell_check.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "code_letters.h"
#include "cp1252.h"
#include "effects.h"
#include "spell_file.h"
#include "spell_list.h"
#include "spell_reading.h"
#include "spell_record.h"
#include "table.h"

namespace vyr {

namespace {

constexpr std::string_view kindNames[] = {
    "noColon",           "blankLine",     "tooManySpells",  "emptyNumber",    "notANumber",
    "trailingText",      "outOfRange",    "armourLowBits",  "emptyCode",      "unknownSpecialCode",
    "upperCaseS",        "notCodeLetter", "incompleteCode", "noSpaceAfter",   "fieldsMissing",
    "fieldsRunTogether", "extraNumbers",  "emptyName",      "duplicateName",  "finalLineBreak",
    "nulByte",           "noSpell",       "invalidUtf8",    "notWindows1252", "codeTooEarly",
};
static_assert(std::size(kindNames) == static_cast<std::size_t>(FindingKind::codeTooEarly) + 1);

constexpr auto npos = std::string_view::npos;

// The findings of one line.
class LineFindings {
  public:
    LineFindings(std::vector<Finding>& findings, std::size_t line) : findings_(findings), line_(line) {}
    void add(Severity severity, FindingKind kind, std::vector<ErrorValue> values = {}, std::size_t column = 0) {
        findings_.push_back({line_, severity, kind, std::move(values), column});
    }

  private:
    std::vector<Finding>& findings_;
    std::size_t line_;
};

std::string utf8(std::string_view cp1252) { return cp1252ToUtf8(cp1252); }
std::string number(std::int64_t n) { return std::to_string(n); }
std::int32_t reads(std::string_view text) { return readNumberField(std::string(text).c_str()); }

bool fitsInt32(std::string_view digits, bool negative) {
    digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
    const std::string_view limit = negative ? "2147483648" : "2147483647";
    return digits.size() < limit.size() || (digits.size() == limit.size() && digits <= limit);
}

// Where a number field's digits end (after an optional sign).
std::size_t digitsEnd(std::string_view text) {
    const std::size_t start = text.starts_with('+') || text.starts_with('-') ? 1 : 0;
    return std::min(text.find_first_not_of("0123456789", start), text.size());
}

// A number field must be an optional sign and decimal digits within 32 bits.
void checkNumber(LineFindings& add, std::size_t field, std::string_view text, std::size_t column) {
    const std::int32_t value = reads(text);
    const std::vector<ErrorValue> shown = {
        {"field", std::string(recordFields[field].name)}, {"text", utf8(text)}, {"reads", number(value)}};
    const std::size_t start = text.starts_with('+') || text.starts_with('-') ? 1 : 0;
    const std::size_t end = digitsEnd(text);
    if (text.empty()) {
        add.add(Severity::error, FindingKind::emptyNumber, shown, column);
    } else if (end == start) {
        add.add(Severity::error, FindingKind::notANumber, shown, column);
    } else if (end < text.size()) {
        add.add(Severity::error, FindingKind::trailingText, shown, column);
    } else if (!fitsInt32(text.substr(start), text[0] == '-')) {
        add.add(Severity::error, FindingKind::outOfRange, shown, column);
    } else if (field == 0 && value != 0 && (value & 0xFF) == 0) {
        add.add(Severity::warning, FindingKind::armourLowBits, {{"text", std::string(text)}}, column);
    }
}

// "a, d ou f": the last joined by a word.
std::string listed(const std::vector<std::string_view>& texts) {
    std::string out;
    for (std::size_t i = 0; i < texts.size(); ++i)
        out += (i == 0 ? "" : i + 1 == texts.size() ? " ou " : ", ") + std::string(texts[i]);
    return out;
}

// The code beginnings that scale the range, from the run's own table.
std::string scalingCodes() {
    std::vector<std::string_view> prefixes;
    for (const CodeLetter& rule : codeLetters()) {
        if (rule.scales()) prefixes.push_back(rule.prefix);
    }
    return listed(prefixes);
}

// Only some code beginnings give a standard spell an effect; "s" codes must name a rule.
void checkCode(LineFindings& add, std::string_view code, std::size_t column) {
    const CodeLetter* rule = codeLetterOf(code);
    // The letters a code may begin with, and the two-letter rows a one-letter row stands behind.
    const auto letters = codeLetters();
    std::vector<std::string_view> seconds;
    for (const CodeLetter& longer : letters) {
        if (rule && longer.prefix.size() > rule->prefix.size() && longer.prefix.starts_with(rule->prefix))
            seconds.push_back(longer.prefix.substr(rule->prefix.size()));
    }
    const ErrorValue shown{"code", utf8(code)};
    if (code.empty()) {
        add.add(Severity::warning, FindingKind::emptyCode, {}, column);
    } else if (isSpecialCode(code) && !isSpecialRuleCode(code)) {
        add.add(Severity::error, FindingKind::unknownSpecialCode, {shown, {"rules", number(specialRuleCount)}}, column);
    } else if (code[0] == 'S') {
        add.add(Severity::error, FindingKind::upperCaseS, {shown}, column);
    } else if (!rule) {
        add.add(Severity::warning, FindingKind::notCodeLetter,
                {shown,
                 {"letter", utf8(code.substr(0, 1))},
                 {"first", std::string(letters.front().prefix)},
                 {"last", std::string(letters.back().prefix)},
                 {"scaling", scalingCodes()}},
                column);
    } else if (!seconds.empty()) {
        add.add(Severity::warning, FindingKind::incompleteCode,
                {shown, {"prefix", std::string(rule->prefix)}, {"seconds", listed(seconds)}}, column);
    }
}

// In a line short of fields, whether this field holds two that run together: a number
// followed by other text (a tab included), or a code followed by a number.
bool holdsTwoFields(std::size_t field, std::string_view text) {
    if (field != codeField) {
        const std::size_t sign = text.starts_with('+') || text.starts_with('-') ? 1 : 0;
        return digitsEnd(text) > sign && digitsEnd(text) < text.size();
    }
    const std::size_t digit = text.find_first_of("0123456789");
    return digit != npos && digit > 0 && digitsEnd(text.substr(digit)) == text.size() - digit;
}

// One record line: the fields after the first ":", each ended by one space.
void checkRecordLine(LineFindings& add, std::string_view line, bool lastLine) {
    const RecordLine split = splitRecordLine(line);
    const auto& read = split.fields;
    const std::size_t expected = split.expected;
    const bool ended = split.ended;
    // A line short of fields: the first field that holds two of them is where the fault is;
    // else a number field that holds a code shows that a space went missing before it.
    const bool shortOfFields = !ended && (read.size() < expected || read.back().text.empty());
    std::size_t fault = npos;
    for (std::size_t field = 0; shortOfFields && fault == npos && field < read.size(); ++field)
        if (holdsTwoFields(field, read[field].text)) fault = field;
    for (std::size_t field = 0; shortOfFields && fault == npos && field < std::min(read.size(), codeField); ++field)
        if (codeLetterOf(read[field].text) != nullptr && digitsEnd(read[field].text) == 0) fault = field;
    const std::size_t last = read.size() - 1;
    for (std::size_t field = 0; field < read.size(); ++field) {
        const std::string_view text = read[field].text;
        const std::size_t column = read[field].offset + 1;
        if (field == fault && holdsTwoFields(field, text)) {
            add.add(Severity::error, FindingKind::fieldsRunTogether,
                    {{"field", std::string(recordFields[field].name)},
                     {"next", std::string(recordFields[std::min(field + 1, std::size(recordFields) - 1)].name)},
                     {"text", utf8(text)},
                     {"reads", field == codeField ? utf8(text) : number(reads(text))},
                     {"separator", text.find('\t') != npos ? "tab" : ""}},
                    column);
        } else if (field == fault) {
            add.add(Severity::error, FindingKind::codeTooEarly,
                    {{"field", std::string(recordFields[field].name)}, {"text", utf8(text)}}, column);
        }
        if (!ended && field == last) {
            const std::vector<ErrorValue> where = {{"field", std::string(recordFields[field].name)},
                                                   {"later", field + 1 < expected ? "1" : ""},
                                                   {"atEnd", lastLine ? "1" : ""}};
            if (text.empty()) return add.add(Severity::error, FindingKind::fieldsMissing, where);
            std::vector<ErrorValue> shown = where;
            shown.insert(shown.begin() + 1, {"text", utf8(text)});
            add.add(Severity::error, FindingKind::noSpaceAfter, shown, column);
        }
        if (field >= fault) continue;  // the fields after a fault are shifted: their faults are its
        if (field == codeField)
            checkCode(add, text, column);
        else
            checkNumber(add, field, text, column);
    }
    if (!ended) return;
    // What the loader skips after the last field: numbers there were meant as fields.
    std::string_view rest = split.rest;
    if (rest.ends_with('\r')) rest.remove_suffix(1);
    if (rest.find_first_of("0123456789") == (rest.starts_with('+') || rest.starts_with('-') ? 1u : 0u)) {
        add.add(Severity::warning, FindingKind::extraNumbers,
                {{"text", utf8(rest)}, {"special", expected == 5 ? "1" : ""}},
                static_cast<std::size_t>(rest.data() - line.data()) + 1);
    }
}

}  // namespace

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

RecordLine splitRecordLine(std::string_view line) {
    RecordLine split;
    split.colon = line.find(':');
    if (split.colon == npos) return split;
    std::size_t pos = split.colon + 1;
    while (split.fields.size() < split.expected) {
        const std::size_t space = line.find(' ', pos);
        std::string_view text = line.substr(pos, space == npos ? npos : space - pos);
        split.fields.push_back({text, pos});
        if (space == npos) {  // the loader would look for the space further on in the file
            if (text.ends_with('\r')) {
                split.rest = line.substr(line.size() - 1);
                split.fields.back().text.remove_suffix(1);
            }
            split.ended = false;
            return split;
        }
        pos = space + 1;
        if (split.fields.size() == codeField + 1 && !isSpecialCode(text)) split.expected = std::size(recordFields);
    }
    split.rest = line.substr(pos);
    return split;
}

std::string rewriteRecordLine(std::string_view line, std::size_t part, std::string_view text) {
    const RecordLine split = splitRecordLine(line);
    if (split.colon == npos) {  // no record: the text typed, with the line's carriage return (a field drops it)
        std::string out(text);
        if (line.ends_with('\r') && !out.ends_with('\r')) out += '\r';
        return out;
    }
    std::vector<std::string_view> parts{line.substr(0, split.colon)};
    for (const RecordLine::Field& field : split.fields) parts.push_back(field.text);
    parts.resize(std::max(parts.size(), part + 1));
    parts[part] = text;
    const bool special = parts.size() > 1 + codeField && isSpecialCode(parts[1 + codeField]);
    parts.resize(1 + (special ? codeField + 1 : std::size(recordFields)));
    std::string out(parts[0]);
    out += ':';
    for (std::size_t k = 1; k < parts.size(); ++k) (out += parts[k]) += ' ';
    return out += split.rest;
}

std::size_t partAt(std::string_view line, std::size_t column) {
    const RecordLine split = splitRecordLine(line);
    if (column == 0 || split.colon == npos) return npos;
    std::size_t part = 0;
    for (std::size_t k = 0; k < split.fields.size(); ++k)
        if (split.fields[k].offset < column) part = k + 1;
    return part;
}

std::string_view findingKindName(FindingKind kind) { return kindNames[static_cast<std::size_t>(kind)]; }

std::string Finding::value(std::string_view key) const {
    const auto it = std::find_if(values.begin(), values.end(), [&](const ErrorValue& v) { return v.key == key; });
    return it == values.end() ? std::string() : it->value;
}

std::size_t CheckReport::errors() const {
    return static_cast<std::size_t>(std::count_if(findings.begin(), findings.end(),
                                                  [](const Finding& f) { return f.severity == Severity::error; }));
}

CheckReport checkSpellText(std::string_view plain) {
    CheckReport report;
    auto& findings = report.findings;
    // The loader's view: everything after a NUL byte is gone.
    const std::size_t nul = plain.find('\0');
    const std::string_view text = plain.substr(0, nul);
    const std::vector<std::string_view> lines = splitLines(text);

    const auto withColon = static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(), [](std::string_view l) { return l.find(':') != npos; }));
    std::vector<std::pair<std::string_view, std::size_t>> names;  // name, line: the first of each
    for (std::size_t i = 0, records = 0; i < lines.size(); ++i) {
        LineFindings add(findings, i + 1);
        const std::size_t colon = lines[i].find(':');
        if (colon == npos) {
            const bool blank = lines[i].empty() || lines[i] == "\r";
            add.add(blank ? Severity::warning : Severity::error, blank ? FindingKind::blankLine : FindingKind::noColon);
            continue;
        }
        if (++records == spellCapacity + 1) {
            add.add(Severity::error, FindingKind::tooManySpells,
                    {{"capacity", number(spellCapacity)}, {"leftOut", number(withColon - spellCapacity)}});
        }
        const std::string_view name = lines[i].substr(0, colon);
        const auto first = std::find_if(names.begin(), names.end(), [&](const auto& n) { return n.first == name; });
        if (name.empty()) add.add(Severity::warning, FindingKind::emptyName);
        if (first != names.end() && !name.empty()) {
            add.add(Severity::warning, FindingKind::duplicateName,
                    {{"name", utf8(name)}, {"firstLine", number(first->second)}});
        } else if (first == names.end()) {
            names.emplace_back(name, i + 1);
        }
        checkRecordLine(add, lines[i], i + 1 == lines.size());
    }
    if (nul == npos && text.ends_with('\n'))
        findings.push_back({lines.size(), Severity::warning, FindingKind::finalLineBreak, {}});
    if (nul != npos) {
        const auto line = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
        findings.push_back({line, Severity::error, FindingKind::nulByte, {}});
    }
    if (withColon == 0) findings.push_back({1, Severity::error, FindingKind::noSpell, {}});
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });

    // What the program itself stores from this text.
    std::string buffer(plain);
    auto catalogue = std::make_unique<SpellCatalogue>();
    SpellNameList sink;
    report.loaded = parseSpellText(buffer.data(), static_cast<std::uint32_t>(buffer.size()), *catalogue, sink);
    return report;
}

PlainList preparePlainList(std::string_view input, bool raw) {
    PlainList list;
    const TrimmedList trimmed = trimPlainList(input, !raw);
    input = trimmed.text;
    list.markSkipped = trimmed.markSkipped;
    list.breaksDropped = trimmed.breaksDropped;
    Utf8ToCp1252Result converted = raw ? Utf8ToCp1252Result{std::string(input), {}, {}} : utf8ToCp1252(input);
    list.encodable = !converted.errorOffset;
    if (list.encodable) {
        list.text = std::move(converted.text);
        list.report = checkSpellText(list.text);
        return list;
    }
    // The character's line, and its column counted in characters.
    const std::string_view before = input.substr(0, *converted.errorOffset);
    char32_t cp = 0;
    const bool invalid = decodeUtf8(input, *converted.errorOffset, cp) == 0;
    char codePoint[16];
    std::snprintf(codePoint, sizeof codePoint, "U+%04X", static_cast<unsigned>(cp));
    list.report.findings.push_back({static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n')) + 1,
                                    Severity::error,
                                    invalid ? FindingKind::invalidUtf8 : FindingKind::notWindows1252,
                                    {{"codePoint", invalid ? std::string() : std::string(codePoint)}},
                                    characterCount(before.substr(before.rfind('\n') + 1)) + 1});
    return list;
}

}  // namespace vyr
