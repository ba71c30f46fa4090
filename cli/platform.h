#pragma once
// What differs on Windows: there the command line and paths are UTF-16 at the system's
// door, and a console needs telling that the output is UTF-8. The tool itself is UTF-8.

#include <cstdio>
#include <string>
#include <vector>

namespace vyr::cli {

// The program's arguments in UTF-8, whatever the system's code page.
std::vector<std::string> utf8Arguments(int argc, char** argv);

// UTF-8 output that a console shows right; the bytes of the standard output stay exact.
void prepareConsole();

// std::fopen for a UTF-8 path.
std::FILE* openFile(const std::string& path, const char* mode);

// The folder of the running executable (UTF-8), with a trailing separator; empty if unknown.
std::string executableDirectory();

}  // namespace vyr::cli
