#pragma once
// vyr's side of errors: its exit codes, its own finished sentences (Failure), and the French
// words for each kind of the core's Error, in the terms of its options.

#include <stdexcept>
#include <string>

#include "error.h"

namespace vyr::cli {

inline constexpr int exitOk = 0;
inline constexpr int exitProblems = 1;  // ran, but some lines or spells failed
inline constexpr int exitUsage = 2;     // bad usage, or input that cannot be read or written

// A problem vyr itself finds and words: one line, naming the file or option and the reason.
class Failure : public std::runtime_error {
  public:
    explicit Failure(const std::string& message, int exitCode = exitUsage)
        : std::runtime_error(message), exitCode_(exitCode) {}
    int exitCode() const { return exitCode_; }

  private:
    int exitCode_;
};

// The line vyr shows for an Error ("ligne N : " first for a batch line's).
std::string sentence(const Error& e);
// A system error number (errno) in French; the system's text for the rarer ones. writing: the
// file was being written (a missing folder, then).
std::string systemReason(int error, bool writing = false);

}  // namespace vyr::cli
