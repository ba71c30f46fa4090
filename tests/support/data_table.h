#pragma once
// The tests' expected values live in JSON tables under tests/data. A byte string is
// written there as a JSON string of the code points U+0000 to U+00FF, one per byte, so
// a table can hold any byte of a data file.

#include <fstream>
#include <string>

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

inline json readTable(const std::string& name) {
    std::ifstream in(dataPath(name), std::ios::binary);
    EXPECT_TRUE(in) << "cannot read " << dataPath(name);
    return json::parse(in);
}

// The bytes a table string stands for, and back.
inline std::string bytes(const json& text) {
    std::string out;
    const std::string utf8 = text.get<std::string>();
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        out += static_cast<char>(c < 0x80 ? c : ((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
    }
    return out;
}
inline json byteText(const char* text) {
    if (!text) return nullptr;
    std::string utf8;
    for (const char* p = text; *p; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c < 0x80) utf8 += static_cast<char>(c);
        else utf8 += {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    }
    return utf8;
}

}  // namespace vyr::testing
