#pragma once
// The vyr command line: the default data file, and running one command with every error
// reported the same way. Every number option shows NUMBER in --help.

#include <cstddef>
#include <iostream>
#include <string>
#include <string_view>

#include "error_words.h"

namespace CLI {
class App;
}

namespace vyr::cli {

// "Vyr degats.dat" in the current directory if it is there, else beside the executable
// if it is there, else the current directory's (whose absence the command then reports).
std::string defaultDataPath();

// Parses argv and runs the chosen subcommand, whose callback stores its code in exitCode.
// --help and --version print to out and give 0. A usage error is one line on err,
// "vyr COMMAND: message (see vyr COMMAND --help)", and gives exitUsage; a vyr::Error or a
// Failure thrown by the command is one line "vyr COMMAND: message" and gives its exit code.
int runCommandLine(CLI::App& app, int argc, const char* const* argv, const int& exitCode, std::ostream& out = std::cout,
                   std::ostream& err = std::cerr);

}  // namespace vyr::cli
