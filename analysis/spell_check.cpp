#include "spell_check.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>

#include "code_letters.h"
#include "cp1252.h"
#include "effects.h"
#include "spell_file.h"
#include "spell_record.h"

namespace vyr {

namespace {

constexpr std::string_view fieldNames[] = {"armourExempt", "delayFactor", "delayExtra", "delayLevel", "code",
                                           "rollRange",    "rollBase",    "intDivisor", "wisDivisor"};
constexpr std::size_t codeField = 4;
constexpr auto npos = std::string_view::npos;
using Add = std::function<void(Severity, std::string)>;  // a finding on the line being checked

// A field as it appears in a message: UTF-8, in quotes, control bytes escaped.
std::string quoted(std::string_view cp1252) {
    std::string text = "\"";
    for (char c : cp1252) {
        const auto b = static_cast<unsigned char>(c);
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
        text += b == '\r' ? "\\r" : b == '\t' ? "\\t" : b < 0x20 || b == 0x7F ? escaped : cp1252ToUtf8({&c, 1});
    }
    return text + "\"";
}

bool fitsInt32(std::string_view digits, bool negative) {
    digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
    const std::string_view limit = negative ? "2147483648" : "2147483647";
    return digits.size() < limit.size() || (digits.size() == limit.size() && digits <= limit);
}

// A number field must be an optional sign and decimal digits within 32 bits.
void checkNumber(const Add& add, std::size_t field, std::string_view text) {
    const std::string name(fieldNames[field]), shown = name + " " + quoted(text);
    const std::int32_t value = readNumberField(std::string(text).c_str());
    const std::string reads = " (se lit " + std::to_string(value) + ")";
    const std::size_t start = text.starts_with('+') || text.starts_with('-') ? 1 : 0;
    const std::size_t end = std::min(text.find_first_not_of("0123456789", start), text.size());
    if (text.empty()) {
        add(Severity::error, name + " est vide" + reads);
    } else if (end == start) {
        add(Severity::error, shown + " n'est pas un nombre" + reads);
    } else if (end < text.size()) {
        add(Severity::error, shown + " est suivi d'autre texte" + reads);
    } else if (!fitsInt32(text.substr(start), text[0] == '-')) {
        add(Severity::error, name + " " + std::string(text) + " sort de l'intervalle sur 32 bits (sature à " +
                                 std::to_string(value) + ")");
    } else if (field == 0 && value != 0 && (value & 0xFF) == 0) {
        add(Severity::warning, "armourExempt " + std::string(text) +
                                   " ne garde que ses 8 bits bas et se lit 0 : l'armure de la cible est soustraite");
    }
}

// "a, d ou f": the last joined by a word.
std::string listed(const std::vector<std::string_view>& texts, const char* last) {
    std::string out;
    for (std::size_t i = 0; i < texts.size(); ++i)
        out += (i == 0 ? "" : i + 1 == texts.size() ? std::string(" ") + last + " " : ", ") + std::string(texts[i]);
    return out;
}

// The code beginnings that scale the range, from the run's own table.
std::string scalingCodes() {
    std::vector<std::string_view> prefixes;
    for (const CodeLetter& rule : codeLetters()) {
        if (rule.scales()) prefixes.push_back(rule.prefix);
    }
    return listed(prefixes, "ou");
}

// Only some code beginnings give a standard spell an effect; "s" codes must name a rule.
void checkCode(const Add& add, std::string_view code) {
    const char first = code.empty() ? '\0' : code[0];
    const std::string shown = "code " + quoted(code);
    const CodeLetter* rule = codeLetterOf(code);
    // The letters a code may begin with, and the two-letter rows a one-letter row stands behind.
    const auto letters = codeLetters();
    std::vector<std::string_view> seconds;
    for (const CodeLetter& longer : letters) {
        if (rule && longer.prefix.size() > rule->prefix.size() && longer.prefix.starts_with(rule->prefix))
            seconds.push_back(longer.prefix.substr(rule->prefix.size()));
    }
    if (code.empty()) {
        add(Severity::warning, "code vide : la portée du sort n'est pas mise à l'échelle");
    } else if (first == 's' && !isSpecialRuleCode(code)) {
        add(Severity::error, "code spécial " + quoted(code) + " : ne correspond à aucune des " +
                                 std::to_string(specialRuleCount) + " règles spéciales, le sort ne calcule rien");
    } else if (first == 'S') {
        add(Severity::error,
            shown + " commence par un \"S\" majuscule : pas un sort spécial, quatre nombres de plus sont lus");
    } else if (!rule) {
        add(Severity::warning, shown + " : " + quoted(code.substr(0, 1)) + " n'est pas une lettre de code (de " +
                                   std::string(letters.front().prefix) + " à " + std::string(letters.back().prefix) +
                                   "), la portée reste telle quelle ; seuls les codes en " + scalingCodes() +
                                   " la mettent à l'échelle");
    } else if (!seconds.empty()) {
        add(Severity::warning, shown + " : " + quoted(rule->prefix) + " ne met la portée à l'échelle que suivi de " +
                                   listed(seconds, "ou"));
    }
}

// One record line: the fields after the first ":", each ended by one space.
void checkRecordLine(const Add& add, std::string_view fields, bool lastLine) {
    std::size_t expected = 5;
    for (std::size_t field = 0, pos = 0; field < expected; ++field) {
        const std::size_t space = fields.find(' ', pos);
        std::string_view text = fields.substr(pos, space == npos ? npos : space - pos);
        pos = space + 1;
        if (space == npos) {  // the loader would look for the space further on in the file
            if (text.ends_with('\r')) text.remove_suffix(1);
            const std::string name(fieldNames[field]);
            const bool later = field + 1 < expected;
            const std::string consequence = lastLine ? "le champ court jusqu'à la fin du fichier"
                                                     : "le chargeur lit la suite sur la ligne suivante";
            if (text.empty()) {
                return add(Severity::error, name + (later ? " et les champs suivants manquent" : " manque") + " : " +
                                                (lastLine ? "le sort finit avec le fichier" : consequence));
            }
            add(Severity::error, name + " " + quoted(text) + " n'est pas suivi d'une espace" +
                                     (later ? " ; les champs suivants manquent" : "") + " : " + consequence);
            if (field != codeField) checkNumber(add, field, text);
            return;
        }
        if (field != codeField) checkNumber(add, field, text);
        if (field == codeField) checkCode(add, text);
        if (field == codeField && !text.starts_with('s')) expected = std::size(fieldNames);
    }
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// A name, ":" and four numbers each ended by a space: what other text seldom gives by chance.
std::size_t recordLikeLines(std::string_view text) {
    const auto recordLike = [](std::string_view line) {
        std::size_t at = line.find(':');
        for (int field = 0; field < 4 && at != npos; ++field) {
            const std::size_t end = line.find(' ', ++at);
            const std::string_view number = line.substr(at, end == npos ? 0 : end - at);
            const std::size_t start = number.starts_with('-') || number.starts_with('+') ? 1 : 0;
            if (number.size() == start || number.find_first_not_of("0123456789", start) != npos) return false;
            at = end;
        }
        return at != npos;
    };
    const auto lines = splitLines(text);
    return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), recordLike));
}

}  // namespace

CheckReport checkSpellText(std::string_view plain) {
    CheckReport report;
    auto& findings = report.findings;
    // The loader's view: everything after a NUL byte is gone.
    const std::size_t nul = plain.find('\0');
    const std::string_view text = plain.substr(0, nul);
    const std::vector<std::string_view> lines = splitLines(text);

    const auto withColon = static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(), [](std::string_view l) { return l.find(':') != npos; }));
    for (std::size_t i = 0, records = 0; i < lines.size(); ++i) {
        const Add add = [&findings, i](Severity severity, std::string message) {
            findings.push_back({i + 1, severity, std::move(message)});
        };
        const std::size_t colon = lines[i].find(':');
        if (colon == npos && lines[i] != "" && lines[i] != "\r") {
            add(Severity::error, "pas de \":\" sur cette ligne : ce n'est pas un sort et le chargeur la saute");
        } else if (colon == npos) {
            add(Severity::warning, "ligne vide : le chargeur la saute");
        } else if (colon != npos && ++records == spellCapacity + 1) {
            add(Severity::error, "plus de " + std::to_string(spellCapacity) + " sorts : celui-ci et les " +
                                     std::to_string(withColon - records) + " suivants ne sont pas chargés");
        }
        if (colon != npos) checkRecordLine(add, lines[i].substr(colon + 1), i + 1 == lines.size());
    }
    if (nul == npos && text.ends_with('\n')) {
        findings.push_back({lines.size(), Severity::warning,
                            "le fichier finit par un saut de ligne : un autre lecteur peut refuser tout le fichier"});
    }
    if (nul != npos) {
        const auto line = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
        findings.push_back({line, Severity::error, "octet NUL : le chargeur s'arrête de lire ici"});
    }
    if (withColon == 0) findings.push_back({1, Severity::error, "aucun sort : le programme refuserait ce fichier"});
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });

    // What the program itself stores from this text.
    std::string buffer(plain);
    auto catalogue = std::make_unique<SpellCatalogue>();
    SpellNameList names;
    report.loaded = parseSpellText(buffer.data(), static_cast<std::uint32_t>(buffer.size()), *catalogue, names);
    return report;
}

PlainList preparePlainList(std::string_view input, bool raw) {
    PlainList list;
    if (!raw && input.starts_with("\xEF\xBB\xBF")) {
        input.remove_prefix(3);
        list.notes.push_back("marque d'ordre des octets UTF-8 du début sautée");
    }
    if (input.ends_with('\n')) {
        while (input.ends_with('\n')) input.remove_suffix(input.ends_with("\r\n") ? 2 : 1);
        list.notes.push_back(
            "saut de ligne de la fin retiré : un fichier de données finit juste après son dernier champ");
    }
    Utf8ToCp1252Result converted = raw ? Utf8ToCp1252Result{std::string(input), {}, {}} : utf8ToCp1252(input);
    list.encodable = !converted.errorOffset;
    if (list.encodable) {
        list.text = std::move(converted.text);
        list.report = checkSpellText(list.text);
        return list;
    }
    // The character's line, and its column counted in characters.
    const std::string_view before = input.substr(0, *converted.errorOffset);
    list.report.findings.push_back({static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n')) + 1,
                                    Severity::error, converted.error,
                                    characterCount(before.substr(before.rfind('\n') + 1)) + 1});
    return list;
}

namespace {

FormGuess guessForm(std::string_view bytes, std::string_view unscrambled) {
    const std::size_t asTheyStand = recordLikeLines(bytes), once = recordLikeLines(unscrambled);
    return {asTheyStand > once, once > asTheyStand, std::max(asTheyStand, once)};
}

}  // namespace

FormGuess guessForm(std::string_view bytes) {
    std::string unscrambled(bytes);
    unscramble(unscrambled.data(), unscrambled.size());
    return guessForm(bytes, unscrambled);
}

SpellFileGuess guessSpellFile(std::string_view bytes) {
    using Kind = SpellFileGuess::Kind;
    SpellFileGuess guess;
    guess.unscrambled = bytes;
    unscramble(guess.unscrambled.data(), guess.unscrambled.size());
    const FormGuess form = guessForm(bytes, guess.unscrambled);
    if (form.recordLines == 0) {
        guess.reason = "aucune ligne n'a la forme d'un sort (« nom:nombre nombre nombre nombre … »)";
        return guess;
    }
    // The names, as the loader would cut them: what stands before the ":" of each line.
    std::size_t names = 0, garbled = 0;
    for (std::string_view line : splitLines(form.plain ? bytes : std::string_view(guess.unscrambled))) {
        const std::size_t colon = line.find(':');
        if (colon == npos) continue;
        ++names;
        garbled += std::any_of(line.begin(), line.begin() + colon,
                               [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
    }
    if (garbled * 2 > names) {
        guess.reason = "ses noms sont pleins de caractères de contrôle";
        return guess;
    }
    guess.kind = form.plain ? Kind::plain : Kind::scrambled;
    return guess;
}

std::size_t characterCount(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace vyr
