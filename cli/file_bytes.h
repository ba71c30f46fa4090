#pragma once
// Whole-file reads and writes for the tool, with the system's reason on failure.

#include <ostream>
#include <string>

namespace vyr::cli {

// Throwing forms, for commands that let vyr::Error reach the one place that reports it.
// A failure reads "PATH: reason" (the system's reason; a folder is "is a folder").
std::string readFile(const std::string& path);
// A failed write leaves no partial file behind.
void writeFile(const std::string& path, const std::string& bytes);
// A command's result: path empty or "-" means the stream the command was given.
void writeResult(const std::string& path, const std::string& bytes, std::ostream& fallback);

// On failure, error reads "PATH: reason" (the reason from the C library).
bool readFileBytes(const std::string& path, std::string& bytes, std::string& error);
// A failed write leaves no partial file behind.
bool writeFileBytes(const std::string& path, const std::string& bytes, std::string& error);

// The folder of the running executable, with a trailing separator; empty if unknown.
std::string executableDirectory();

}  // namespace vyr::cli
