#pragma once
// The maintainer's subcommands of vyr: decode, encode, check and spells.

#include <iostream>
#include <string>

namespace CLI {
class App;
}

namespace vyr::cli {

// Adds the four subcommands. The one that runs stores its exit code in exitCode (check:
// exitProblems when it finds problems) and throws vyr::Error for whatever stops it.
// defaultDataPath is what "spells" reads without --data.
void registerDataCommands(CLI::App& app, const std::string& defaultDataPath, int& exitCode,
                          std::ostream& out = std::cout, std::ostream& err = std::cerr);

}  // namespace vyr::cli
