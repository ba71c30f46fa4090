#pragma once
// Whole-file reads and writes for the tool, with the system's reason on failure.

#include <string>

namespace vyr::cli {

// On failure, error reads "PATH: reason" (the reason from the C library).
bool readFileBytes(const std::string& path, std::string& bytes, std::string& error);
// A failed write leaves no partial file behind.
bool writeFileBytes(const std::string& path, const std::string& bytes, std::string& error);

// The folder of the running executable, with a trailing separator; empty if unknown.
std::string executableDirectory();

}  // namespace vyr::cli
