#include "checks.h"

#include <windows.h>

#include <cstdio>

namespace vyr::e2e {

std::string utf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                          nullptr, nullptr);
    return out;
}

bool Checks::expect(bool ok, const std::string& what) {
    if (ok) {
        ++passed_;
    } else {
        ++failures_;
        std::printf("FAIL: %s\n", what.c_str());
        std::fflush(stdout);
    }
    return ok;
}

bool Checks::expectEqual(std::wstring_view actual, std::wstring_view expected,
                         const std::string& what) {
    return expect(actual == expected,
                  what + ": got \"" + utf8(actual) + "\", expected \"" + utf8(expected) + "\"");
}

bool Checks::expectEqual(long long actual, long long expected, const std::string& what) {
    return expect(actual == expected, what + ": got " + std::to_string(actual) + ", expected " +
                                          std::to_string(expected));
}

void Checks::note(const std::string& line) const {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace vyr::e2e
