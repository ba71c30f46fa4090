#pragma once
// The 24 calculator inputs as every computing subcommand takes them: one option each,
// named after its field in kebab case, and an optional profile file of "name = value"
// lines. Options given on the command line override the profile.

#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace vyr::cli {

// Field id and text, in the order they are written over the defaults.
using InputTexts = std::vector<std::pair<int, std::string>>;

// Parses a profile: "name = value" per line (name as the option, without "--"), "#"
// starts a comment, blank lines are skipped. Every value must be a valid input text.
// On failure error reads "FILE:LINE: ..." and false is returned.
bool parseProfile(std::string_view text, const std::string& fileName, InputTexts& inputs, std::string& error);
bool loadProfile(const std::string& path, InputTexts& inputs, std::string& error);

class InputOptions {
public:
    // Registers --profile and the 24 input options on a subcommand.
    explicit InputOptions(CLI::App& command);
    // The profile's inputs, then those given on the command line. False with a one-line
    // error naming the option, or the file and line, when a value is not valid.
    bool resolve(InputTexts& inputs, std::string& error) const;

private:
    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace vyr::cli
