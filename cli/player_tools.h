#pragma once
// The player's analyses in vyr: compare, diff, weights, sweep, batch and changes. Each command only
// reads its options, calls analysis/ and writes the rows with the chosen writer.

#include <iostream>
#include <string>

namespace CLI {
class App;
}

namespace vyr::cli {

// Adds the commands; the one that runs stores its exit code in exitCode (1 when batch lines
// failed, or when changes finds some) and throws vyr::Error for bad usage or unreadable input. batch reads in when no
// input file is named; results go to out unless -o names a file; batch reports bad lines on err.
void registerPlayerTools(CLI::App& app, const std::string& defaultDataPath, int& exitCode, std::istream& in = std::cin,
                         std::ostream& out = std::cout, std::ostream& err = std::cerr);

}  // namespace vyr::cli
