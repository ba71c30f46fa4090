#pragma once
// Checks of the end-to-end driver: every failed check prints one line and is counted;
// the scenario fails if any did.

#include <string>
#include <string_view>

namespace vyr::e2e {

// UTF-8 for the console: the driver's output goes to a pipe, byte for byte.
std::string utf8(std::wstring_view text);

class Checks {
public:
    // Returns ok, so that a caller can stop when a later step depends on this one.
    bool expect(bool ok, const std::string& what);
    bool expectEqual(std::wstring_view actual, std::wstring_view expected, const std::string& what);
    bool expectEqual(long long actual, long long expected, const std::string& what);
    void note(const std::string& line) const;

    int failures() const { return failures_; }
    int passed() const { return passed_; }

private:
    int failures_ = 0;
    int passed_ = 0;
};

}  // namespace vyr::e2e
