#pragma once
// The vyr command line: the default data file, number options, and running one command
// with every error reported the same way.

#include <cstddef>
#include <iostream>
#include <string>
#include <string_view>

#include "error.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace vyr::cli {

// "Vyr degats.dat" in the current directory if it is there, else beside the executable
// if it is there, else the current directory's (whose absence the command then reports).
std::string defaultDataPath();

// A whole number from 0 up: shown as NUMBER in --help; any other text, a negative
// number included, is a usage error that names the option.
CLI::Option* asNumber(CLI::Option* option);

// Insertions, deletions and substitutions from one text to the other, byte by byte:
// what a "did you mean" ranks the candidates by.
std::size_t editDistance(std::string_view a, std::string_view b);

// Parses argv and runs the chosen subcommand, whose callback stores its code in exitCode.
// --help and --version print to out and give 0. A usage error is one line on err,
// "vyr COMMAND: message (see vyr COMMAND --help)", and gives exitUsage; a vyr::Error
// thrown by the command is one line "vyr COMMAND: message" and gives its exit code.
int runCommandLine(CLI::App& app, int argc, const char* const* argv, const int& exitCode,
                   std::ostream& out = std::cout, std::ostream& err = std::cerr);

}  // namespace vyr::cli
