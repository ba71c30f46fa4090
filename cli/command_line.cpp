#include "command_line.h"

#include <algorithm>
#include <regex>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>

#include "platform.h"
#include "spell_file.h"
#include "spell_list.h"

namespace vyr::cli {

namespace {

// "/o" is not an option, whatever CLI11 does by default on Windows: a Unix-style path
// such as "/tmp/list.txt" must stay a file name (under Wine, for instance).
void slashesAreNotOptions(CLI::App& app) {
    app.allow_windows_style_options(false);
    for (CLI::App* sub : app.get_subcommands(std::function<bool(CLI::App*)>{})) slashesAreNotOptions(*sub);
}

// The nearest known name, unless even that one is mostly different.
std::string didYouMean(const std::string& typed, const std::vector<std::string>& known) {
    const auto distance = [&typed](const std::string& name) { return editDistance(typed, name); };
    const auto nearest = std::min_element(
        known.begin(), known.end(), [&distance](const auto& a, const auto& b) { return distance(a) < distance(b); });
    if (nearest == known.end() || distance(*nearest) > std::max<std::size_t>(2, typed.size() / 2)) return "";
    return "; did you mean \"" + *nearest + "\"?";
}

// An argument that nothing takes: an option is matched to the nearest option of the
// command, a word where a command is needed to the nearest command.
std::string unexpected(const CLI::App& command, bool wantCommand) {
    const std::vector<std::string> extras = command.remaining();
    const auto option =
        std::find_if(extras.begin(), extras.end(), [](const std::string& a) { return a.starts_with('-'); });
    const bool isOption = option != extras.end();
    const std::string typed = isOption ? option->substr(0, option->find('=')) : extras.empty() ? "" : extras.front();
    if (!isOption && !wantCommand) return "unexpected argument \"" + typed + "\"";
    std::vector<std::string> known;
    for (const CLI::App* sub : command.get_subcommands(std::function<bool(const CLI::App*)>{}))
        known.push_back(sub->get_name());
    for (const CLI::Option* o : command.get_options()) {
        for (const std::string& name : o->get_lnames()) known.push_back("--" + name);
        for (const std::string& name : o->get_snames()) known.push_back("-" + name);
    }
    return (isOption ? "unknown option \"" : "unknown command \"") + typed + "\"" + didYouMean(typed, known);
}

// CLI11's own texts in ours ($1, $2: what the pattern caught); a text not listed stays.
std::string reworded(const std::string& text) {
    static const std::pair<std::regex, const char*> rewrites[] = {
        {std::regex("Could not convert: (\\S+) = (.*)"), "$1: \"$2\" is not a valid value"},
        {std::regex("(\\S+): At Most 1 required but received (\\d+)"), "$1 is given $2 times; give it once"},
        {std::regex("(\\S+): \\d+ required \\S+ missing"), "$1 needs a value"},
        {std::regex("(\\S+) excludes (\\S+)"), "$1 and $2 cannot be given together"},
        {std::regex("(\\S+) requires (\\S+)"), "$1 needs $2"},
        {std::regex("(\\S+): (.*) not in \\{(.*)\\}"), "$1: \"$2\" is not one of $3"},
        {std::regex("A subcommand is required"), "a command is needed"},
    };
    std::smatch match;
    for (const auto& [pattern, ours] : rewrites) {
        if (std::regex_match(text, match, pattern)) return match.format(ours);
    }
    return text;
}

std::string usageMessage(const CLI::App& app, const CLI::App* command, const CLI::ParseError& e) {
    const std::vector<std::string> extras = app.remaining();
    if (std::any_of(extras.begin(), extras.end(), [](const std::string& a) { return a.starts_with('-'); })) {
        return unexpected(app, false);
    }
    if (dynamic_cast<const CLI::ExtrasError*>(&e)) return unexpected(command ? *command : app, false);
    // CLI11 reports a mistyped command only as a missing one.
    return command || extras.empty() ? reworded(e.what()) : unexpected(app, true);
}

}  // namespace

std::string defaultDataPath() {
    const std::string here = spellFileName;
    for (const std::string& path : {here, executableDirectory() + spellFileName}) {
        if (std::FILE* file = openFile(path, "rb")) {
            std::fclose(file);
            return path;
        }
    }
    return here;
}

int runCommandLine(CLI::App& app, int argc, const char* const* argv, const int& exitCode, std::ostream& out,
                   std::ostream& err) {
    app.require_subcommand(1);
    app.set_version_flag("--version", "vyr " VYR_VERSION, "Print the version of vyr and exit");
    slashesAreNotOptions(app);
    for (const char* type : {"INT", "UINT", "FLOAT"}) app.get_formatter()->label(type, "NUMBER");
    const auto command = [&app]() -> CLI::App* {
        const auto chosen = app.get_subcommands();
        return chosen.empty() ? nullptr : chosen.front();
    };
    const auto name = [&command] { return command() ? "vyr " + command()->get_name() : std::string("vyr"); };
    try {
        app.parse(argc, argv);
        return exitCode;
    } catch (const CLI::Success& e) {
        return app.exit(e, out, err);
    } catch (const CLI::ParseError& e) {
        err << name() << ": " << usageMessage(app, command(), e) << " (see " << name() << " --help)\n";
        return exitUsage;
    } catch (const Error& e) {
        err << name() << ": " << e.what() << '\n';
        return e.exitCode();
    }
}

}  // namespace vyr::cli
