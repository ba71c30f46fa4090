#pragma once
// What differs on Windows: there the command line and paths are UTF-16 at the system's
// door, and a console needs telling that the output is UTF-8. The tool itself is UTF-8.

#include <cstdio>
#include <string>
#include <vector>

namespace vyr::cli {

// The program's arguments in UTF-8, whatever the system's code page.
std::vector<std::string> utf8Arguments(int argc, char** argv);

// UTF-8 output that a console shows right; the bytes of the standard output stay exact. A
// write past the file-size limit fails as a write (and is reported) instead of ending vyr.
void prepareConsole();

// std::fopen for a UTF-8 path.
std::FILE* openFile(const std::string& path, const char* mode);

// Puts from in the place of to (UTF-8 paths, on the same volume) in one step; false with
// errno set when that fails, and both files are then as they were.
bool replaceFile(const std::string& from, const std::string& to);

// This process's id, for temporary names no other vyr picks.
unsigned long processId();

// The folder of the running executable (UTF-8), with a trailing separator; empty if unknown.
std::string executableDirectory();

}  // namespace vyr::cli
