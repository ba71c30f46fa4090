#pragma once
// vyr calc: one calculation run without a window.

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace CLI {
class App;
}

namespace vyr::cli {

struct CalcOptions {
    std::string dataPath;
    std::optional<std::string> spell;   // UTF-8 name
    std::optional<std::size_t> index;   // list position
    std::vector<std::pair<int, std::string>> inputs;  // field id, valid text, written over the defaults
    bool json = false;
    bool explain = false;
};

// Exit code: 0 done, 2 bad usage or unreadable data file.
int runCalc(const CalcOptions& options, std::ostream& out, std::ostream& err);

// Adds "calc" to the tool; when it runs, its exit code lands in exitCode.
// defaultDataPath is where the data file is looked for without --data.
void registerCalcCommands(CLI::App& app, const std::string& defaultDataPath, int& exitCode);

}  // namespace vyr::cli
