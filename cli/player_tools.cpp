// The command-line side of compare, sweep and batch: options, then one run function each.
#include "player_tools.h"

#include <iostream>
#include <memory>

#include <CLI/CLI.hpp>

#include "command_line.h"

namespace vyr::cli {

namespace {

// Where the commands read and write: the process's own streams, or a test's.
struct Streams {
    std::istream* in;
    std::ostream* out;
    std::ostream* err;
};

// --csv and --json, one at most; the aligned table otherwise.
struct FormatFlags {
    bool csv = false;
    bool json = false;
    ResultFormat format() const { return csv ? ResultFormat::csv : json ? ResultFormat::json : ResultFormat::table; }
};

void addFormatFlags(CLI::App& command, FormatFlags& flags, const char* jsonHelp) {
    CLI::Option* csv = command.add_flag("--csv", flags.csv, "CSV with a header line");
    command.add_flag("--json", flags.json, jsonHelp)->excludes(csv);
}

CLI::Option* addOutputOption(CLI::App& command, std::string& path) {
    return command.add_option("-o,--output", path, "Write the result to FILE instead of the standard output");
}

void registerCompare(CLI::App& app, const std::string& defaultDataPath, int& exitCode, const Streams& io) {
    CLI::App* command = app.add_subcommand(
        "compare", "Compute every spell of the file for one character: one row per spell with its effect,\n"
                   "delays, chance and mean effect per second of recast ((min + max) / 2 x 1000 / recast).");
    struct State {
        CompareOptions options;
        FormatFlags flags;
    };
    auto state = std::make_shared<State>();
    state->options.dataPath = defaultDataPath;
    command->add_option("--data", state->options.dataPath, "Scrambled spell file")->capture_default_str();
    command->add_option("--sort", state->options.sort,
                        "Sort on a column of the CSV output: index, name, effectMin, effectMax, moveDelay,\n"
                        "recastDelay, successChance, effectPerSecond or any other output; empty cells last")
        ->capture_default_str();
    command->add_flag("--desc", state->options.descending, "Sort from the largest value down");
    command->add_option("--only", state->options.only, "Only standard or only special spells")
        ->check(CLI::IsMember({"standard", "special"}));
    addFormatFlags(*command, state->flags, "A JSON array, one object per spell (numbers; null when empty)");
    addOutputOption(*command, state->options.outputPath);
    auto inputs = std::make_shared<InputOptions>(*command);
    command->callback([state, inputs, io, &exitCode] {
        CompareOptions& o = state->options;
        o.format = state->flags.format();
        std::string error;
        if (!inputs->resolve(o.inputs, error)) {
            *io.err << "vyr compare: " << error << '\n';
            exitCode = exitUsage;
            return;
        }
        exitCode = runCompare(o, *io.out, *io.err);
    });
}

void registerSweep(CLI::App& app, const std::string& defaultDataPath, int& exitCode, const Streams& io) {
    CLI::App* command = app.add_subcommand(
        "sweep", "Compute one spell for every value of one input, the other inputs fixed: one row per\n"
                 "value with every output that is not empty. At most 100000 values.");
    struct State {
        SweepOptions options;
        FormatFlags flags;
        std::string spell;
        std::size_t index = 0;
    };
    auto state = std::make_shared<State>();
    state->options.dataPath = defaultDataPath;
    command->add_option("--data", state->options.dataPath, "Scrambled spell file")->capture_default_str();
    CLI::Option* spell = command->add_option("--spell", state->spell, "Spell name (case and accents may differ)");
    CLI::Option* index = command->add_option("--index", state->index, "Spell position in the list, from 0");
    spell->excludes(index);
    command
        ->add_option("--vary", state->options.vary,
                     "NAME=FIRST..LAST[:STEP]: the input to vary (its option name, such as level or\n"
                     "fire-power), from FIRST to LAST included, STEP apart (default 1). It overrides\n"
                     "the same input given by --profile or by its own option")
        ->required();
    addFormatFlags(*command, state->flags, "A JSON array, one object per value (numbers; null when empty)");
    command->add_option("--svg", state->options.svgPath,
                        "Also write a line chart to FILE: the effect range as a band, the two delays on\n"
                        "a second axis");
    addOutputOption(*command, state->options.outputPath);
    auto inputs = std::make_shared<InputOptions>(*command);
    command->callback([state, inputs, spell, index, io, &exitCode] {
        SweepOptions& o = state->options;
        o.format = state->flags.format();
        if (spell->count() > 0) o.spell = state->spell;
        if (index->count() > 0) o.index = state->index;
        std::string error;
        if (!inputs->resolve(o.inputs, error)) {
            *io.err << "vyr sweep: " << error << '\n';
            exitCode = exitUsage;
            return;
        }
        exitCode = runSweep(o, *io.out, *io.err);
    });
}

void registerBatch(CLI::App& app, const std::string& defaultDataPath, int& exitCode, const Streams& io) {
    CLI::App* command = app.add_subcommand(
        "batch", "Compute one run per input line and write one result line each, with all 16 outputs.\n"
                 "Input: JSON Lines, one object per line such as {\"spell\": \"Boule de feu\", \"level\": 40},\n"
                 "or CSV whose header names the columns (spell or index, then inputs by field name).\n"
                 "A bad line is reported on the standard error with its number and the run goes on;\n"
                 "the exit code is then 1.");
    struct State {
        BatchOptions options;
        std::string from;
        bool csv = false;
    };
    auto state = std::make_shared<State>();
    state->options.dataPath = defaultDataPath;
    command->add_option("--data", state->options.dataPath, "Scrambled spell file")->capture_default_str();
    command->add_option("input", state->options.inputPath, "Input file (default: the standard input)");
    command->add_option("--from", state->from, "Input format, when the first line does not tell: json or csv")
        ->check(CLI::IsMember({"json", "csv"}));
    CLI::Option* json = command->add_flag("--json", state->options.jsonOutput, "Write JSON lines");
    command->add_flag("--csv", state->csv, "Write CSV with a header line (the default)")->excludes(json);
    addOutputOption(*command, state->options.outputPath);
    auto inputs = std::make_shared<InputOptions>(*command);
    command->callback([state, inputs, io, &exitCode] {
        BatchOptions& o = state->options;
        if (state->from == "json") o.inputFormat = BatchInput::jsonLines;
        if (state->from == "csv") o.inputFormat = BatchInput::csv;
        std::string error;
        if (!inputs->resolve(o.inputs, error)) {
            *io.err << "vyr batch: " << error << '\n';
            exitCode = exitUsage;
            return;
        }
        exitCode = runBatch(o, *io.in, *io.out, *io.err);
    });
}

}  // namespace

void registerPlayerTools(CLI::App& app, const std::string& defaultDataPath, int& exitCode, std::istream& in,
                         std::ostream& out, std::ostream& err) {
    const Streams io{&in, &out, &err};
    registerCompare(app, defaultDataPath, exitCode, io);
    registerSweep(app, defaultDataPath, exitCode, io);
    registerBatch(app, defaultDataPath, exitCode, io);
}

}  // namespace vyr::cli
