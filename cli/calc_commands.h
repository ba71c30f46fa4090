#pragma once
// vyr calc (one run, as the calculator's GO ! button does it) and vyr setup (the setup code
// of a set of inputs).

#include <iostream>
#include <string>

namespace CLI {
class App;
}

namespace vyr::cli {

// Adds calc and setup; the command that runs stores its exit code in exitCode and throws
// vyr::Error for bad usage or unreadable input. defaultDataPath is used without --data.
void registerCalcCommands(CLI::App& app, const std::string& defaultDataPath, int& exitCode,
                          std::ostream& out = std::cout, std::ostream& err = std::cerr);

}  // namespace vyr::cli
