#include "command_line.h"

#include <cstdio>

#include <CLI/CLI.hpp>

#include "file_bytes.h"
#include "spell_file.h"

namespace vyr::cli {

namespace {
// "/o" is not an option, whatever CLI11 does by default on Windows: a Unix-style path
// such as "/tmp/list.txt" must stay a file name (under Wine, for instance).
void slashesAreNotOptions(CLI::App& app) {
    app.allow_windows_style_options(false);
    for (CLI::App* sub : app.get_subcommands(std::function<bool(CLI::App*)>{})) slashesAreNotOptions(*sub);
}
}  // namespace

std::string defaultDataPath() {
    const std::string here = spellFileName;
    const std::string beside = executableDirectory() + spellFileName;
    for (const std::string& path : {here, beside}) {
        if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
            std::fclose(file);
            return path;
        }
    }
    return here;
}

int runCommandLine(CLI::App& app, int argc, const char* const* argv, const int& exitCode, std::ostream& out,
                   std::ostream& err) {
    app.require_subcommand(1);
    slashesAreNotOptions(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return app.exit(e, out, err);
        std::string command = "vyr";
        const auto chosen = app.get_subcommands();
        if (!chosen.empty()) command += " " + chosen.front()->get_name();
        std::string message = e.what();
        // CLI11 reports a mistyped command only as a missing one.
        if (chosen.empty() && !app.remaining().empty() && app.remaining().front().rfind('-', 0) != 0) {
            message = "unknown command \"" + app.remaining().front() + "\"";
        }
        err << command << ": " << message << " (see " << command << " --help)\n";
        return exitUsage;
    }
    return exitCode;
}

}  // namespace vyr::cli
