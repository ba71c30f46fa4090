#pragma once
// The one error type of the tools: thrown where a problem is found, caught once where the
// command runs, and shown there as one line "vyr COMMAND: message".

#include <stdexcept>
#include <string>

namespace vyr {

inline constexpr int exitOk = 0;
inline constexpr int exitProblems = 1;  // ran, but some lines or spells failed
inline constexpr int exitUsage = 2;     // bad usage, or input that cannot be read or written

class Error : public std::runtime_error {
  public:
    // message: one line, naming the file or option and the reason.
    explicit Error(const std::string& message, int exitCode = exitUsage)
        : std::runtime_error(message), exitCode_(exitCode) {}
    int exitCode() const { return exitCode_; }

  private:
    int exitCode_;
};

}  // namespace vyr
