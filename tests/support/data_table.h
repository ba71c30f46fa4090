#pragma once
// The tests' expected values: JSON tables under tests/data. A byte string is written there
// as the code points U+0000 to U+00FF, one per byte, so a table holds any byte of a file.

#include <cctype>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace vyr::testing {

using nlohmann::json;

// A file of tests/data; under Wine the build's POSIX paths are on drive Z:.
inline std::string dataPath(const std::string& name) {
    std::string path = std::string(VYR_TEST_DATA) + "/" + name;
#ifdef _WIN32
    if (path.front() == '/') path = "Z:" + path;
#endif
    return path;
}

// A table, read once per process: its rows stay valid to the end.
inline const json& readTable(const std::string& name) {
    static std::map<std::string, json> tables;
    const auto [table, added] = tables.try_emplace(name);
    std::ifstream in(dataPath(name), std::ios::binary);
    if (added && !in) throw std::runtime_error("cannot read " + dataPath(name));
    if (added) table->second = json::parse(in);
    return table->second;
}

// A table's text: a string, or the pieces of a long one (lines stay within 120 columns).
inline std::string joined(const json& text) {
    std::string out;
    for (const json& piece : text.is_array() ? text : json::array({text})) out += piece.get<std::string>();
    return out;
}

// The cases of a table ({"_about": ..., "cases": [...]}), each run by a TEST_P suite as a test of its own named
// after its "name" (letters and digits kept, any other byte made "_").
using TableCase = ::testing::TestWithParam<json>;
inline std::vector<json> cases(const std::string& file, const std::string& table) {
    return readTable(file).at(table).at("cases").get<std::vector<json>>();
}
inline std::string caseName(const ::testing::TestParamInfo<json>& info) {
    std::string name = info.param.at("name");
    for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}
#define VYR_TABLE_CASES(suite, file, table) \
    INSTANTIATE_TEST_SUITE_P(Table, suite, ::testing::ValuesIn(cases(file, table)), caseName)

// The bytes a table string (or its pieces) stands for (two-byte UTF-8 sequences are the bytes 0x80 to 0xFF).
inline std::string bytes(const json& text) {
    const std::string utf8 = joined(text);
    std::string out;
    for (auto p = utf8.begin(); p != utf8.end(); ++p)
        out += static_cast<char>(*p & 0x80 ? (*p & 0x03) << 6 | (*++p & 0x3F) : *p);
    return out;
}
// The table string of a NUL-terminated text, null for none.
inline json byteText(const char* text) {
    std::string utf8;
    for (const char* p = text; p && *p; ++p) {
        if (*p & 0x80) utf8 += static_cast<char>(0xC0 | (*p >> 6 & 0x03));
        utf8 += static_cast<char>(*p & 0x80 ? 0x80 | (*p & 0x3F) : *p);
    }
    return text ? json(utf8) : json(nullptr);
}

}  // namespace vyr::testing
