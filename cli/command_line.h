#pragma once
// The vyr command line: exit codes, the default data file, and parsing with CLI11.

#include <iostream>
#include <string>

namespace CLI {
class App;
}

namespace vyr::cli {

inline constexpr int exitOk = 0;
inline constexpr int exitProblems = 1;  // the file was read and has problems
inline constexpr int exitUsage = 2;     // bad usage, or a file that cannot be read or written

// "Vyr degats.dat" in the current directory if it is there, else beside the executable
// if it is there, else the current directory's (whose absence the command then reports).
std::string defaultDataPath();

// Parses argv and runs the chosen subcommand, whose callback stores its code in exitCode.
// --help prints to out and gives 0; any parse error is one line on err and gives exitUsage.
int runCommandLine(CLI::App& app, int argc, const char* const* argv, const int& exitCode,
                   std::ostream& out = std::cout, std::ostream& err = std::cerr);

}  // namespace vyr::cli
