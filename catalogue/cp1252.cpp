#include "cp1252.h"

#include <cstdio>

namespace vyr {

namespace {
constexpr char16_t high[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::size_t decodeUtf8(std::string_view text, std::size_t i, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    std::size_t length;
    char32_t minimum;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    if ((b0 & 0xE0) == 0xC0) {
        length = 2;
        cp = b0 & 0x1F;
        minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3;
        cp = b0 & 0x0F;
        minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4;
        cp = b0 & 0x07;
        minimum = 0x10000;
    } else
        return 0;
    if (i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}
char32_t cp1252ToCodePoint(unsigned char byte) { return byte >= 0x80 && byte < 0xA0 ? high[byte - 0x80] : byte; }

std::optional<unsigned char> codePointToCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
    for (unsigned k = 0; k < 32; ++k) {
        if (high[k] == cp) return static_cast<unsigned char>(0x80 + k);
    }
    return std::nullopt;
}

std::string cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) appendUtf8(out, cp1252ToCodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::wstring cp1252ToWide(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (char c : text) out += static_cast<wchar_t>(cp1252ToCodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::string wideToCp1252(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        auto byte = codePointToCp1252(static_cast<char32_t>(c));
        out += static_cast<char>(byte ? *byte : '?');
    }
    return out;
}

Utf8ToCp1252Result utf8ToCp1252(std::string_view utf8) {
    Utf8ToCp1252Result result;
    result.text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const std::size_t length = decodeUtf8(utf8, i, cp);
        if (length == 0) {
            result.errorOffset = i;
            result.error = "UTF-8 invalide";
            return result;
        }
        auto byte = codePointToCp1252(cp);
        if (!byte) {
            char name[16];
            std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(cp));
            result.errorOffset = i;
            result.error = std::string(name) + " n'a pas de forme Windows-1252";
            return result;
        }
        result.text += static_cast<char>(*byte);
        i += length;
    }
    return result;
}

}  // namespace vyr
