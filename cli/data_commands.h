#pragma once
// The maintainer's subcommands of vyr: decode, encode, check and spells.

#include <iostream>
#include <string>

namespace CLI {
class App;
}

namespace vyr::cli {

struct DecodeOptions {
    std::string input;
    std::string output;  // empty: standard output
    bool raw = false;    // keep the Windows-1252 bytes
};

struct EncodeOptions {
    std::string input;
    std::string output;
};

struct CheckOptions {
    std::string input;
    bool plain = false;  // UTF-8 plain text rather than a scrambled file
};

struct SpellsOptions {
    std::string dataPath;
    bool dataGiven = false;  // false: dataPath is the default one, and an error says so
};

// Each returns the exit code (exitOk, exitProblems, exitUsage of command_line.h).
int runDecode(const DecodeOptions& options, std::ostream& out, std::ostream& err);
int runEncode(const EncodeOptions& options, std::ostream& out, std::ostream& err);
int runCheck(const CheckOptions& options, std::ostream& out, std::ostream& err);
int runSpells(const SpellsOptions& options, std::ostream& out, std::ostream& err);

// Adds the four subcommands; the one that runs stores its exit code in exitCode.
// defaultDataPath is what "spells" reads without --data.
void registerDataCommands(CLI::App& app, const std::string& defaultDataPath, int& exitCode,
                          std::ostream& out = std::cout, std::ostream& err = std::cerr);

}  // namespace vyr::cli
