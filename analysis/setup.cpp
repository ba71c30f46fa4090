#include "setup.h"

#include <algorithm>
#include <vector>

#include "calculator_form.h"
#include "error.h"
#include "spell_list.h"

namespace vyr {

Setup Setup::defaults() {
    Setup s;
    for (std::size_t i = 0; i < inputFields.size(); ++i) s.values[i] = parseUnsigned(inputFields[i].defaultText).value;
    return s;
}

std::size_t inputPosition(int fieldId) {
    // Every run reads all 23 inputs of its setup: a table, not a search.
    static const auto positions = [] {
        std::array<std::uint8_t, field::lastId - field::firstId + 1> p{};
        for (std::size_t i = 0; i < inputFields.size(); ++i)
            p[static_cast<std::size_t>(inputFields[i].id - field::firstId)] = static_cast<std::uint8_t>(i);
        return p;
    }();
    return positions[static_cast<std::size_t>(fieldId - field::firstId)];
}
std::uint32_t Setup::operator[](int fieldId) const { return values[inputPosition(fieldId)]; }
void Setup::set(int fieldId, std::uint32_t value) { values[inputPosition(fieldId)] = value; }

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

}  // namespace

std::string nearestInput(std::string_view typed) {
    // Names in the form typed: camelCase (JSON, CSV) or kebab-case (options, profiles).
    const bool camel = std::any_of(typed.begin(), typed.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
    std::vector<std::string> known;
    for (const InputField& f : inputFields) known.emplace_back(camel ? f.name : f.option);
    return nearestName(typed, known);
}

void assign(Setup& setup, std::string_view name, std::string_view value, const std::string& where) {
    const InputField* f = findInput(name);
    if (!f)
        throw Error(ErrorKind::unknownInput,
                    {{"where", where}, {"typed", std::string(name)}, {"nearest", nearestInput(name)}});
    const UnsignedRead read = parseUnsigned(value);
    if (!read.valid)
        throw Error(ErrorKind::notWholeNumber,
                    {{"where", where}, {"input", std::string(f->option)}, {"typed", std::string(value)}});
    setup.set(f->id, read.value);
}

void applyChange(Setup& setup, std::string_view name, std::string_view value, const std::string& where) {
    const std::string_view bare = trim(value);
    const InputField* f = findInput(name);
    const UnsignedRead amount = parseUnsigned(bare.substr(std::min<std::size_t>(1, bare.size())));
    const bool relative = !bare.empty() && (bare.front() == '+' || bare.front() == '-');
    // Anything else is a value, worded as assign words its faults ("+x" included).
    if (!relative || !f || !amount.valid) return assign(setup, name, value, where);
    const std::int64_t step = bare.front() == '+' ? std::int64_t{amount.value} : -std::int64_t{amount.value};
    setup.set(f->id, static_cast<std::uint32_t>(std::clamp<std::int64_t>(setup[f->id] + step, 0, 0xFFFFFFFF)));
}

void applyProfile(Setup& setup, std::string_view text, const std::string& fileName) {
    // Notepad starts a UTF-8 file with a byte order mark.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<const InputField*> seen;
    for (std::size_t lineNumber = 1; !text.empty(); ++lineNumber) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        line = trim(line.substr(0, line.find('#')));
        if (line.empty()) continue;
        const std::string where = fileName + ":" + std::to_string(lineNumber);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) throw Error(ErrorKind::nameValueExpected, {{"where", where}});
        const std::string_view name = trim(line.substr(0, equals));
        const InputField* f = findInput(name);
        if (f && std::find(seen.begin(), seen.end(), f) != seen.end())
            throw Error(ErrorKind::givenTwice, {{"where", where}, {"typed", std::string(name)}});
        seen.push_back(f);
        assign(setup, name, trim(line.substr(equals + 1)), where);
    }
}

std::string profileText(const Setup& setup) {
    const Setup defaults = Setup::defaults();
    std::string text;
    for (std::size_t i = 0; i < inputFields.size(); ++i) {
        if (setup.values[i] != defaults.values[i])
            text += std::string(inputFields[i].option) + " = " + std::to_string(setup.values[i]) + "\n";
    }
    return text;
}

// The code: the prefix, then base-32 digits (Crockford's alphabet: no I, L, O or U) of
// bytes: for each input that differs from its default, its position in inputFields and
// its value in 7-bit groups, low group first, the top bit set on all but the last; then
// a CRC-16 of those bytes, which catches every typo of one or two neighbouring characters.
namespace {

constexpr std::string_view digits32 = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";

std::uint16_t crc16(const std::vector<std::uint8_t>& bytes) {
    std::uint16_t crc = 0xFFFF;
    for (std::uint8_t b : bytes) {
        crc = static_cast<std::uint16_t>(crc ^ (b << 8));
        for (int k = 0; k < 8; ++k) crc = static_cast<std::uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
    }
    return crc;
}

}  // namespace

std::string setupCode(const Setup& setup) {
    const Setup defaults = Setup::defaults();
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < inputFields.size(); ++i) {
        if (setup.values[i] == defaults.values[i]) continue;
        bytes.push_back(static_cast<std::uint8_t>(i));
        std::uint32_t v = setup.values[i];
        for (; v >= 0x80; v >>= 7) bytes.push_back(static_cast<std::uint8_t>(0x80 | (v & 0x7F)));
        bytes.push_back(static_cast<std::uint8_t>(v));
    }
    const std::uint16_t crc = crc16(bytes);
    bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
    bytes.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    std::string code(setupCodePrefix);
    std::uint32_t buffer = 0;
    int bits = 0;
    for (std::uint8_t b : bytes) {
        buffer = (buffer << 8) | b;
        for (bits += 8; bits >= 5; bits -= 5) code += digits32[(buffer >> (bits - 5)) & 31];
    }
    if (bits > 0) code += digits32[(buffer << (5 - bits)) & 31];
    return code;
}

Setup decodeSetupCode(std::string_view code) {
    const auto refused = [typed = std::string(code)](ErrorKind kind, std::vector<ErrorValue> more = {}) {
        more.insert(more.begin(), {{"role", "setupCode"}, {"code", typed}, {"reads", std::string(setupCodePrefix)}});
        return Error(kind, std::move(more));
    };
    // The page's share link: ...#config=CODE&sort=NAME.
    if (const auto linked = setupCodeOfLink(code)) code = *linked;
    if (code.size() < 2 || (code[0] != 'v' && code[0] != 'V') || code.find('-') == std::string_view::npos)
        throw refused(ErrorKind::notSetupCode);
    if (code.substr(1, code.find('-') - 1) != "1") throw refused(ErrorKind::setupCodeVersion);
    const auto damaged = [&] { return refused(ErrorKind::damagedSetupCode); };
    std::vector<std::uint8_t> bytes;
    std::uint32_t buffer = 0;
    int bits = 0;
    for (char c : code.substr(setupCodePrefix.size())) {
        // Letters read in either case; the look-alikes I, L and O read as 1, 1 and 0.
        const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        const char digit = upper == 'I' || upper == 'L' ? '1' : upper == 'O' ? '0' : upper;
        const std::size_t value = digits32.find(digit);
        if (value == std::string_view::npos || c == '\0')
            throw refused(ErrorKind::setupCodeCharacter, {{"character", std::string(1, c)}});
        buffer = (buffer << 5) | static_cast<std::uint32_t>(value);
        bits += 5;
        if (bits >= 8) {
            bytes.push_back(static_cast<std::uint8_t>(buffer >> (bits - 8)));
            bits -= 8;
        }
        buffer &= (1u << bits) - 1;
    }
    if (bytes.size() < 2 || buffer != 0) throw damaged();
    const std::uint16_t stored = static_cast<std::uint16_t>(bytes[bytes.size() - 2] << 8 | bytes.back());
    bytes.resize(bytes.size() - 2);
    if (crc16(bytes) != stored) throw damaged();
    Setup setup = Setup::defaults();
    std::vector<bool> seen(inputFields.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t position = bytes[i++];
        if (position >= inputFields.size() || seen[position]) throw damaged();
        seen[position] = true;
        std::uint64_t v = 0;
        int shift = 0;
        for (bool more = true; more; shift += 7) {
            if (i == bytes.size() || shift > 28) throw damaged();
            more = (bytes[i] & 0x80) != 0;
            v |= std::uint64_t{bytes[i++] & 0x7Fu} << shift;
        }
        if (v > 0xFFFFFFFFu) throw damaged();
        setup.values[position] = static_cast<std::uint32_t>(v);
    }
    return setup;
}

std::optional<std::string_view> setupCodeOfLink(std::string_view text) {
    constexpr std::string_view key = "config=";
    std::size_t at = text.find(key);
    // The key starts the fragment or follows "#", "?" or "&".
    while (at != std::string_view::npos && at != 0 &&
           std::string_view("#?&").find(text[at - 1]) == std::string_view::npos)
        at = text.find(key, at + 1);
    if (at == std::string_view::npos) return std::nullopt;
    const std::string_view rest = text.substr(at + key.size());
    return rest.substr(0, rest.find_first_of("&#"));
}

}  // namespace vyr
