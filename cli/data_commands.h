#pragma once
// The maintainer's subcommands of vyr: decode, encode, check and spells.

#include <iostream>
#include <string>

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace vyr::cli {

// The options of the four commands (only one of them runs).
struct DataOptions {
    std::string input, output;  // output empty or "-": the standard output
    std::string dataPath{};
    bool raw = false, force = false, plain = false;
    const CLI::Option* data = nullptr;  // spells' --data
};

// encode alone: a plain list (input) made into a data file (output).
int runEncode(const DataOptions& options, std::ostream& out, std::ostream& err);

// Adds the four subcommands. The one that runs stores its exit code in exitCode (check:
// exitProblems when it finds problems) and throws vyr::Error for whatever stops it.
// defaultDataPath is what "spells" reads without --data.
void registerDataCommands(CLI::App& app, const std::string& defaultDataPath, int& exitCode,
                          std::ostream& out = std::cout, std::ostream& err = std::cerr);

}  // namespace vyr::cli
