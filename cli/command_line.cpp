#include "command_line.h"

#include <algorithm>
#include <numeric>
#include <regex>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>

#include "platform.h"
#include "spell_file.h"

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
    const auto nearest = std::min_element(known.begin(), known.end(),
                                          [&distance](const auto& a, const auto& b) { return distance(a) < distance(b); });
    if (nearest == known.end() || distance(*nearest) > std::max<std::size_t>(2, typed.size() / 3)) return "";
    return "; did you mean \"" + *nearest + "\"?";
}

// An argument that no option or operand takes: an option is matched to the command's nearest one.
std::string unexpected(const CLI::App& command) {
    const std::vector<std::string> extras = command.remaining();
    const auto option = std::find_if(extras.begin(), extras.end(), [](const std::string& a) { return a.starts_with('-'); });
    if (option == extras.end()) return "unexpected argument \"" + extras.front() + "\"";
    const std::string typed = option->substr(0, option->find('='));
    std::vector<std::string> known;
    for (const CLI::Option* o : command.get_options()) {
        for (const std::string& name : o->get_lnames()) known.push_back("--" + name);
        for (const std::string& name : o->get_snames()) known.push_back("-" + name);
    }
    return "unknown option \"" + typed + "\"" + didYouMean(typed, known);
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
    const auto option = [](const std::string& a) { return a.starts_with('-'); };
    if (std::any_of(extras.begin(), extras.end(), option)) return unexpected(app);
    if (dynamic_cast<const CLI::ExtrasError*>(&e)) return unexpected(command ? *command : app);
    if (command || extras.empty()) return reworded(e.what());
    // CLI11 reports a mistyped command only as a missing one.
    std::vector<std::string> commands;
    for (const CLI::App* sub : app.get_subcommands(std::function<bool(const CLI::App*)>{})) commands.push_back(sub->get_name());
    return "unknown command \"" + extras.front() + "\"" + didYouMean(extras.front(), commands);
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

CLI::Option* asNumber(CLI::Option* option) {
    const auto wholeNumber = [](std::string& text) -> std::string {
        if (!text.empty() && text.find_first_not_of("0123456789") == std::string::npos) return "";
        const bool negative = text.size() > 1 && text[0] == '-' && text.find_first_not_of("0123456789", 1) == std::string::npos;
        return "\"" + text + (negative ? "\" is negative; a number from 0 up is needed" : "\" is not a whole number");
    };
    return option->type_name("NUMBER")->check(CLI::Validator(wholeNumber, ""));
}

std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);  // distances from a's first i bytes to b's prefixes
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
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
