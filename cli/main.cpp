// vyr: the command-line tool. Each area registers its subcommands on one CLI11 app.
#include <CLI/CLI.hpp>

#include "calc_commands.h"
#include "command_line.h"
#include "data_commands.h"
#include "platform.h"
#include "player_tools.h"

int main(int argc, char** argv) {
    vyr::cli::prepareConsole();
    CLI::App app{
        "Vyr Dégats, l'outil des sorts : calcule les sorts, et lit, écrit et vérifie le "
        "fichier de sorts.",
        "vyr"};
    int exitCode = vyr::cli::exitOk;
    const std::string dataPath = vyr::cli::defaultDataPath();

    // The maintainer's commands: decode, encode, check, spells.
    vyr::cli::registerDataCommands(app, dataPath, exitCode);
    // The player's commands.
    vyr::cli::registerCalcCommands(app, dataPath, exitCode);
    vyr::cli::registerPlayerTools(app, dataPath, exitCode);

    // Arguments in UTF-8 on every system.
    const std::vector<std::string> arguments = vyr::cli::utf8Arguments(argc, argv);
    std::vector<const char*> pointers;
    for (const std::string& argument : arguments) pointers.push_back(argument.c_str());
    return vyr::cli::runCommandLine(app, static_cast<int>(pointers.size()), pointers.data(), exitCode);
}
