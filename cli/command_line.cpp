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

// CLI11's words in the help, in French (CLI11 puts the colon right after "Utilisation ").
constexpr std::pair<const char*, const char*> helpLabels[] = {
    {"Usage", "Utilisation "},    {"SUBCOMMAND", "COMMANDE"}, {"SUBCOMMANDS", "COMMANDES"}, {"REQUIRED", "OBLIGATOIRE"},
    {"Positionals", "Arguments"}, {"Needs", "Demande"},       {"Excludes", "Exclut"},
};

// The help flag and the commands' heading in French on every command. And "/o" is not an
// option, whatever CLI11 does by default on Windows: a Unix-style path such as
// "/tmp/list.txt" must stay a file name (under Wine, for instance).
void inFrench(CLI::App& app) {
    app.allow_windows_style_options(false);
    app.set_help_flag("-h,--help", "Affiche cette aide et s'arrête");
    for (CLI::App* sub : app.get_subcommands(std::function<bool(CLI::App*)>{})) {
        sub->group("Commandes");
        inFrench(*sub);
    }
}

std::string suggested(const std::string& typed, const std::vector<std::string>& known) {
    const std::string nearest = nearestName(typed, known);
    return nearest.empty() ? "" : " ; vouliez-vous dire \"" + nearest + "\" ?";
}

// An argument that nothing takes: an option is matched to the nearest option of the
// command, a word where a command is needed to the nearest command.
std::string unexpected(const CLI::App& command, bool wantCommand) {
    const std::vector<std::string> extras = command.remaining();
    std::vector<std::string> known;
    if (wantCommand) {
        const std::string typed = extras.empty() ? "" : extras.front();
        for (const CLI::App* sub : command.get_subcommands(std::function<bool(const CLI::App*)>{}))
            known.push_back(sub->get_name());
        return "commande inconnue \"" + typed + "\"" + suggested(typed, known);
    }
    const auto option =
        std::find_if(extras.begin(), extras.end(), [](const std::string& a) { return a.starts_with('-'); });
    if (option == extras.end()) return "argument inattendu \"" + (extras.empty() ? "" : extras.front()) + "\"";
    const std::string typed = option->substr(0, option->find('='));
    for (const CLI::Option* o : command.get_options()) {
        for (const std::string& name : o->get_lnames()) known.push_back("--" + name);
        for (const std::string& name : o->get_snames()) known.push_back("-" + name);
    }
    return "option inconnue \"" + typed + "\"" + suggested(typed, known);
}

// CLI11's own texts in ours ($1, $2: what the pattern caught); a text not listed stays.
std::string reworded(const std::string& text) {
    static const std::pair<std::regex, const char*> rewrites[] = {
        {std::regex("Could not convert: (\\S+) = (.*)"), "$1 : \"$2\" n'est pas une valeur valide"},
        {std::regex("(\\S+): At Most 1 required but received (\\d+)"), "$1 est donné $2 fois ; donnez-le une fois"},
        {std::regex("(\\S+): \\d+ required \\S+ missing"), "$1 attend une valeur"},
        {std::regex("(\\S+) excludes (\\S+)"), "$1 et $2 ne se donnent pas ensemble"},
        {std::regex("(\\S+) requires (\\S+)"), "$1 demande $2"},
        {std::regex("(\\S+): (.*) not in \\{(.*)\\}"), "$1 : \"$2\" n'est pas l'une des valeurs $3"},
        {std::regex("(\\S+) is required"), "$1 est obligatoire"},
        {std::regex("A subcommand is required"), "il faut une commande"},
    };
    std::smatch match;
    for (const auto& [pattern, ours] : rewrites) {
        if (std::regex_match(text, match, pattern)) return match.format(ours);
    }
    return text;
}

std::string usageMessage(const CLI::App& app, const CLI::App* command, const CLI::ParseError& e) {
    const std::vector<std::string> extras = app.remaining();
    // A mistyped command first: its options mean nothing until the command is known.
    if (!command && !extras.empty() && !extras.front().starts_with('-')) return unexpected(app, true);
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
    app.set_version_flag("--version", "vyr " VYR_VERSION, "Affiche la version de vyr et s'arrête");
    inFrench(app);
    for (const char* type : {"INT", "UINT", "FLOAT"}) app.get_formatter()->label(type, "NUMBER");
    for (const auto& [label, french] : helpLabels) app.get_formatter()->label(label, french);
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
        err << name() << " : " << usageMessage(app, command(), e) << " (voir " << name() << " --help)\n";
        return exitUsage;
    } catch (const Error& e) {
        // A batch line's problem is said where the line is read; what reaches here stops the command.
        err << name() << " : " << sentence(e) << '\n';
        return exitUsage;
    } catch (const Failure& e) {
        err << name() << " : " << e.what() << '\n';
        return e.exitCode();
    }
}

}  // namespace vyr::cli
