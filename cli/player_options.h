#pragma once
// The options every player command shares: the data file, the setup (--setup, --profile,
// one option per input), the spell, the output format and -o. Each throws vyr::Error
// naming the option when what was given cannot be used.

#include <array>
#include <functional>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "command_line.h"
#include "setup.h"
#include "spell_list.h"
#include "table.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace vyr::cli {

struct SetupOptions {
    std::string code;
    std::vector<std::string> profiles;
    std::array<std::string, 24> texts;
    std::array<CLI::Option*, 24> given{};
    CLI::Option* codeGiven = nullptr;
};
// --setup CODE, --profile FILE (repeatable) and the 24 input options.
std::shared_ptr<SetupOptions> addSetupOptions(CLI::App& command);
// The defaults, then the setup code, then the profiles in order, then the options.
Setup buildSetup(const SetupOptions& options);
// A setup code, NAME=VALUE assignments (comma-separated) or a profile file, over base.
void applySetupItem(Setup& setup, const std::string& item, const std::string& option);

struct SpellOptions {
    std::vector<std::string> names;
    std::vector<std::int64_t> indices;
};
// --spell NAME and --index N; several of each when several is true.
std::shared_ptr<SpellOptions> addSpellOptions(CLI::App& command, bool several);
// The spells chosen, in the order given (names first); one exactly unless several.
std::vector<std::size_t> chosenSpells(const SpellList& list, const SpellOptions& options, bool several);

// --data (unless the command names two lists itself), --force, --csv, --json and -o, and what they mean once parsed.
struct CommonOptions {
    std::string dataPath;
    bool force = false;  // --data read as the program reads it, whatever it looks like
    bool csv = false;
    bool json = false;
    std::string outputPath;
    Format format() const { return csv ? Format::csv : json ? Format::json : Format::text; }
};
std::shared_ptr<CommonOptions> addCommonOptions(CLI::App& command, const std::string& defaultDataPath,
                                                bool twoLists = false);
// A player command (calc, compare, diff, weights, sweep, batch, changes) with its description and
// the options all of them share; spell: none, one or several --spell.
enum class Spells { none, one, several };
struct PlayerCommand {
    CLI::App* command = nullptr;
    std::shared_ptr<CommonOptions> common;
    std::shared_ptr<SpellOptions> spell;
    std::shared_ptr<SetupOptions> inputs;
};
PlayerCommand addPlayerCommand(CLI::App& app, std::string_view name, const std::string& defaultDataPath);
// When the command runs: the text produce gives (from the setup and the spell list) goes to
// -o or to out, and the exit code is 0; how the spell file was read, if it was no data file, to err.
using Produce = std::function<std::string(const Setup&, const SpellList&)>;
void whenRun(const PlayerCommand& c, int& exitCode, std::ostream& out, std::ostream& err, Produce produce);

// The same file given to -o and another option (--svg) is refused.
void checkDistinctOutputs(const std::string& outputPath, const std::string& otherPath, const std::string& otherOption);

}  // namespace vyr::cli
