#pragma once
// A setup: the 24 inputs of the calculator as one value. Built from the defaults, then
// profiles (several, later ones overriding earlier ones), then single assignments.
// A setup code carries every input that differs from its default in a short ASCII text.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fields.h"

namespace vyr {

struct Setup {
    // In the order of inputFields (fields.h).
    std::array<std::uint32_t, 24> values{};

    static Setup defaults();
    std::uint32_t operator[](int fieldId) const;
    void set(int fieldId, std::uint32_t value);
    bool operator==(const Setup&) const = default;
};

// Position of an input in inputFields; the id must be an input's.
std::size_t inputPosition(int fieldId);

// name = value, the name an input's camelCase field name or kebab option, the value a
// whole number from 0 to 4294967295. Throws Error with where (the caller's name for the place).
void assign(Setup& setup, std::string_view name, std::string_view value, const std::string& where);
// A change of one input: a whole number sets it, as assign does; "+N" adds N to its value and
// "-N" takes N away, the result kept within 0 ... 4294967295 (vyr diff's NAME=+N, the page's
// setups "with a change"). Throws Error as assign does.
void applyChange(Setup& setup, std::string_view name, std::string_view value, const std::string& where);
// Lines "name = value"; "#" starts a comment; blank lines are skipped. Errors have where "FILE:LINE".
void applyProfile(Setup& setup, std::string_view text, const std::string& fileName);
// The inputs that differ from their defaults as profile lines (kebab names).
std::string profileText(const Setup& setup);

// The input name (camelCase typed) or option (kebab-case typed) nearest to typed, or "".
std::string nearestInput(std::string_view typed);

// "v1-" then base-32 letters and digits; the empty setup is "v1-" plus its checksum.
std::string setupCode(const Setup& setup);
// A setup code, or a share link of the web page (any text holding "config=CODE", the code
// ending at the next "&"). Throws Error (role setupCode) for a code of another version, a
// damaged or mistyped code.
Setup decodeSetupCode(std::string_view code);
inline constexpr std::string_view setupCodePrefix = "v1-";
// The setup code a page's share link carries ("...#config=CODE&sort=NAME"), or nullopt when
// text holds no "config=".
std::optional<std::string_view> setupCodeOfLink(std::string_view text);

}  // namespace vyr
