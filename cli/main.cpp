// vyr: the command-line tool. Each area registers its subcommands on one CLI11 app.
#include <CLI/CLI.hpp>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

#include "calc_commands.h"
#include "command_line.h"
#include "data_commands.h"
#include "player_tools.h"

int main(int argc, char** argv) {
#ifdef _WIN32
    // Output is UTF-8, and decoded files must keep their exact bytes.
    ::SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    CLI::App app{"Vyr D\xC3\xA9gats spell tool: compute spells, and read, write and check the spell data file.",
                 "vyr"};
    int exitCode = vyr::cli::exitOk;
    const std::string dataPath = vyr::cli::defaultDataPath();

    // The maintainer's commands: decode, encode, check, spells.
    vyr::cli::registerDataCommands(app, dataPath, exitCode);
    // The player's commands.
    vyr::cli::registerCalcCommands(app, dataPath, exitCode);
    vyr::cli::registerPlayerTools(app, dataPath, exitCode);

    return vyr::cli::runCommandLine(app, argc, argv, exitCode);
}
