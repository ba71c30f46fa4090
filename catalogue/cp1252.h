#pragma once
// Windows-1252, the character set of the data file and of every program text.
// The five bytes that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to
// the C1 controls of the same value, as Windows does, so every byte converts both ways.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vyr {

char32_t cp1252ToCodePoint(unsigned char byte);
// The Windows-1252 byte of a code point, or nothing when the set cannot hold it.
std::optional<unsigned char> codePointToCp1252(char32_t codePoint);

std::string cp1252ToUtf8(std::string_view text);
std::wstring cp1252ToWide(std::string_view text);
// Characters outside Windows-1252 become '?'.
std::string wideToCp1252(std::wstring_view text);

// Decodes one UTF-8 sequence at text[i]; returns its length, or 0 if it is malformed
// (overlong forms, surrogates and values past U+10FFFF included).
std::size_t decodeUtf8(std::string_view text, std::size_t i, char32_t& cp);

struct Utf8ToCp1252Result {
    std::string text;
    // On failure: the byte offset of the offending character in the input.
    std::optional<std::size_t> errorOffset;
    std::string error;  // "UTF-8 invalide" or "U+XXXX n'a pas de forme Windows-1252"
};
Utf8ToCp1252Result utf8ToCp1252(std::string_view utf8);

}  // namespace vyr
