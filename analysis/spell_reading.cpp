#include "spell_reading.h"

#include <algorithm>

#include "cp1252.h"
#include "spell_check.h"
#include "spell_file.h"
#include "spell_record.h"

namespace vyr {

namespace {

struct Shape {
    std::size_t records = 0;       // lines whose fields all end on the line, as the loader splits them
    std::size_t shaped = 0;        // lines with a ":" and four spaces after it
    std::size_t lines = 0;         // non-blank lines
    bool recordsCutShort = false;  // every non-blank line holds a ":", and no control character stands anywhere
};

bool isControl(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || b == 0x7F;
}

Shape shapeOf(std::string_view text) {
    Shape shape;
    bool cutShort = !text.empty();
    for (const std::string_view line : splitLines(text)) {
        if (line.empty() || line == "\r") continue;
        ++shape.lines;
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            cutShort = false;
            continue;
        }
        const std::string_view fields = line.substr(colon + 1);
        // A whole record: every field the loader reads ends with a space on this line.
        shape.records += splitRecordLine(line).ended;
        shape.shaped += std::count(fields.begin(), fields.end(), ' ') >= 4;
        // A record cut short still starts with its first number right after the ":".
        const std::size_t sign = fields.starts_with('+') || fields.starts_with('-') ? 1 : 0;
        cutShort =
            cutShort && fields.size() > sign && fields[sign] >= '0' && fields[sign] <= '9' &&
            std::none_of(line.begin(), line.end(), [](char c) { return isControl(c) && c != '\t' && c != '\r'; });
    }
    shape.recordsCutShort = cutShort;
    return shape;
}

}  // namespace

SpellFileGuess guessSpellFile(std::string_view bytes) {
    std::string unscrambled(bytes);
    unscramble(unscrambled.data(), unscrambled.size());
    const Shape scrambled = shapeOf(unscrambled), plain = shapeOf(bytes);
    // Whole records decide; without any, lines that start like records; without any, records cut short.
    const int tier = plain.records || scrambled.records ? 0 : plain.shaped || scrambled.shaped ? 1 : 2;
    const auto score = [tier](const Shape& s) -> std::size_t {
        return tier == 0 ? s.records : tier == 1 ? s.shaped : s.recordsCutShort;
    };
    const bool isPlain = score(plain) > score(scrambled);
    const Shape& chosen = isPlain ? plain : scrambled;
    SpellFileGuess guess;
    guess.form = isPlain ? SpellFileForm::plain : SpellFileForm::scrambled;
    guess.scrambledRecords = scrambled.records;
    guess.plainRecords = plain.records;
    guess.lines = chosen.lines;
    guess.recordLines = chosen.shaped;
    guess.plausible = chosen.shaped > 0 ? chosen.shaped * 2 > chosen.lines : chosen.recordsCutShort;
    return guess;
}

TrimmedList trimPlainList(std::string_view bytes, bool skipMark) {
    TrimmedList trimmed;
    trimmed.markSkipped = skipMark && bytes.starts_with("\xEF\xBB\xBF");
    if (trimmed.markSkipped) bytes.remove_prefix(3);
    trimmed.breaksDropped = bytes.ends_with('\n');
    while (bytes.ends_with('\n')) bytes.remove_suffix(bytes.ends_with("\r\n") ? 2 : 1);
    trimmed.text = bytes;
    return trimmed;
}

PlainText plainListText(std::string_view whole) {
    const TrimmedList trimmed = trimPlainList(whole, true);
    const std::string_view bytes = trimmed.text;
    PlainText plain{{}, trimmed.markSkipped, trimmed.breaksDropped};
    // UTF-8 where the whole list is: a character the data file cannot hold reads "?".
    std::string text;
    char32_t cp = 0;
    for (std::size_t i = 0, length = 0; i < bytes.size(); i += length) {
        length = decodeUtf8(bytes, i, cp);
        if (length == 0) return {std::string(bytes), plain.markSkipped, plain.breaksDropped, false};
        text += static_cast<char>(codePointToCp1252(cp).value_or('?'));
    }
    plain.text = std::move(text);
    plain.wasUtf8 = true;
    return plain;
}

std::string loaderText(std::string_view bytes, SpellFileForm form) {
    if (form == SpellFileForm::plain) return plainListText(bytes).text;
    std::string text(bytes);
    unscramble(text.data(), text.size());
    return text;
}

bool hasControlCharacter(std::string_view cp1252) {
    return std::any_of(cp1252.begin(), cp1252.end(), [](char c) { return isControl(c) && c != '\t'; });
}

bool namesLookGarbled(std::size_t garbledNames, std::size_t names) { return garbledNames * 2 > names; }

}  // namespace vyr
