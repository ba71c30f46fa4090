#include "player_tools.h"

#include <fstream>

#include <CLI/CLI.hpp>

#include "analyses.h"
#include "batch.h"
#include "charts.h"
#include "error.h"
#include "file_bytes.h"
#include "player_options.h"

namespace vyr::cli {

namespace {

void registerCompare(CLI::App& app, const std::string& dataPath, int& exitCode, std::ostream& out) {
    CLI::App* command = app.add_subcommand(
        "compare", "Compute every spell for one character: one row per spell with its outputs, its element\n"
                   "or kind, its mean effect ((min + max) / 2), effect per second (mean x 1000 / recast)\n"
                   "and that figure weighted by the chance of success.");
    auto common = addCommonOptions(*command, dataPath);
    auto options = std::make_shared<CompareOptions>();
    command->add_option("--sort", options->sort, "Sort on a column (a CSV heading): index, name, weightedPerSecond...")->capture_default_str();
    command->add_flag("--desc", options->descending, "Sort from the largest value down");
    command->add_option("--only", options->only, "Only the spells of one element or kind: feu, eau, air, terre, necro,\nlumière, neutre, bonus, spécial");
    command->add_option("--top", options->top, "Only the first N rows once sorted")->type_name("NUMBER");
    auto inputs = addSetupOptions(*command);
    command->callback([=, &exitCode, &out] {
        const Setup setup = buildSetup(*inputs);
        writeResult(common->outputPath, writeTable(compareSpells(loadSpellList(common->dataPath), setup, *options), common->format()), out);
        exitCode = exitOk;
    });
}

void registerDiff(CLI::App& app, const std::string& dataPath, int& exitCode, std::ostream& out) {
    CLI::App* command = app.add_subcommand(
        "diff", "Compare two setups, A and B, for one spell or for every spell: each output side by side\n"
                "with B - A and the change in percent of A; rows that differ first. Both start from the\n"
                "inputs given by --setup, --profile and the input options.");
    auto common = addCommonOptions(*command, dataPath);
    auto spell = addSpellOptions(*command, false);
    auto a = std::make_shared<std::vector<std::string>>(), b = std::make_shared<std::vector<std::string>>();
    const char* itemHelp = "What setup %s changes: a setup code, NAME=VALUE[,NAME=VALUE...] or a profile file; repeat it";
    char help[160];
    std::snprintf(help, sizeof help, itemHelp, "A");
    command->add_option("--a", *a, help);
    std::snprintf(help, sizeof help, itemHelp, "B");
    command->add_option("--b", *b, help);
    auto inputs = addSetupOptions(*command);
    command->callback([=, &exitCode, &out] {
        Setup setupA = buildSetup(*inputs), setupB = setupA;
        for (const std::string& item : *a) applySetupItem(setupA, item, "--a");
        for (const std::string& item : *b) applySetupItem(setupB, item, "--b");
        const SpellList list = loadSpellList(common->dataPath);
        const bool one = !spell->names.empty() || !spell->indices.empty();
        const auto index = one ? std::optional(chosenSpells(list, *spell, false).front()) : std::nullopt;
        writeResult(common->outputPath, writeTable(diffSetups(list, setupA, setupB, index), common->format()), out);
        exitCode = exitOk;
    });
}

void registerWeights(CLI::App& app, const std::string& dataPath, int& exitCode, std::ostream& out) {
    CLI::App* command = app.add_subcommand(
        "weights", "Which input helps most: for one spell (or the best N of compare), each of the 23 inputs\n"
                   "a run reads raised by --points, with the gain in weighted effect per second, in mean\n"
                   "effect and in each delay (two ordinary runs per input), the most helpful first.");
    auto common = addCommonOptions(*command, dataPath);
    auto spell = addSpellOptions(*command, false);
    auto best = std::make_shared<std::size_t>(0);
    auto points = std::make_shared<std::int64_t>(10);
    CLI::Option* bestOption = command->add_option("--best", *best, "The best N spells of compare instead of one")->type_name("NUMBER");
    command->add_option("--points", *points, "Points added to each input (negative: taken away)")->type_name("NUMBER")->capture_default_str();
    auto inputs = addSetupOptions(*command);
    command->callback([=, &exitCode, &out] {
        const Setup setup = buildSetup(*inputs);
        const SpellList list = loadSpellList(common->dataPath);
        if (bestOption->count() && (!spell->names.empty() || !spell->indices.empty()))
            throw Error("give --best N or one spell, not both");
        const std::vector<std::size_t> spells = bestOption->count() ? bestSpells(list, setup, *best) : chosenSpells(list, *spell, false);
        writeResult(common->outputPath, writeTable(inputWeights(list, setup, spells, *points), common->format()), out);
        exitCode = exitOk;
    });
}

void registerSweep(CLI::App& app, const std::string& dataPath, int& exitCode, std::ostream& out) {
    CLI::App* command = app.add_subcommand(
        "sweep", "Compute spells for every value of one input, the others fixed: one row per spell and\n"
                 "value. Two --vary give a grid of the weighted effect per second of one spell.\n"
                 "At most 100000 runs.");
    auto common = addCommonOptions(*command, dataPath);
    auto spell = addSpellOptions(*command, true);
    auto vary = std::make_shared<std::vector<std::string>>();
    auto svg = std::make_shared<std::string>();
    command->add_option("--vary", *vary, "NAME=FIRST..LAST[:STEP]: an input (such as level or fire-power) from FIRST\n"
                                         "to LAST, STEP apart (default 1); give it twice for a grid")
        ->required()
        ->expected(1, 2);
    command->add_option("--svg", *svg, "Also write a chart to FILE: effect per second per spell, or a heat map");
    auto inputs = addSetupOptions(*command);
    command->callback([=, &exitCode, &out] {
        checkDistinctOutputs(common->outputPath, *svg, "--svg");
        std::vector<SweepRange> ranges;
        for (const std::string& v : *vary) ranges.push_back(parseSweepRange(v));
        const Setup setup = buildSetup(*inputs);
        const SpellList list = loadSpellList(common->dataPath);
        const std::vector<std::size_t> spells = chosenSpells(list, *spell, ranges.size() == 1);
        Table table;
        std::string chart;
        if (ranges.size() == 2) {
            const SweepGrid grid = runSweepGrid(list, setup, spells.front(), ranges[0], ranges[1]);
            table = gridTable(grid);
            if (!svg->empty()) chart = gridChart(list, grid);
        } else {
            const Sweep sweep = runSweep(list, setup, spells, ranges[0]);
            table = sweepTable(list, sweep);
            if (!svg->empty()) chart = sweepChart(list, sweep);
        }
        // The chart first: if it cannot be written, nothing else is.
        if (!svg->empty()) writeFile(*svg, chart);
        writeResult(common->outputPath, writeTable(table, common->format()), out);
        exitCode = exitOk;
    });
}

void registerBatch(CLI::App& app, const std::string& dataPath, int& exitCode, std::istream& in, std::ostream& out,
                   std::ostream& err) {
    CLI::App* command = app.add_subcommand(
        "batch", "One run per input line, one result line each with all 16 outputs. Input: JSON Lines,\n"
                 "one object per line such as {\"spell\": \"Boule de feu\", \"level\": 40} (inputs by field\n"
                 "name), or CSV whose header names the columns. A bad line is reported on the standard\n"
                 "error with its number and the others are computed; the exit code is then 1.");
    auto common = addCommonOptions(*command, dataPath);
    auto inputPath = std::make_shared<std::string>();
    command->add_option("input", *inputPath, "Input file (default or -: the standard input)");
    auto inputs = addSetupOptions(*command);
    command->callback([=, &exitCode, &in, &out, &err] {
        const Setup setup = buildSetup(*inputs);
        const SpellList list = loadSpellList(common->dataPath);
        std::ifstream file;
        if (!inputPath->empty() && *inputPath != "-") {
            readFile(*inputPath);  // names the file and the reason when it cannot be read
            file.open(*inputPath, std::ios::binary);
        }
        std::istream& source = file.is_open() ? file : in;
        std::ofstream outFile;
        if (!common->outputPath.empty() && common->outputPath != "-") {
            outFile.open(common->outputPath, std::ios::binary | std::ios::trunc);
            if (!outFile) writeFile(common->outputPath, "");  // throws with the system's reason
        }
        std::ostream& target = outFile.is_open() ? outFile : out;
        BatchRunner runner(list, setup, common->json ? Format::json : Format::csv);
        std::string buffer = runner.header(), line;
        std::size_t lineNumber = 0, failures = 0;
        while (std::getline(source, line)) {
            try {
                runner.line(++lineNumber, line, buffer);
            } catch (const Error& e) {
                if (e.exitCode() != exitProblems) throw;
                ++failures;
                err << "vyr batch: " << e.what() << '\n';
            }
            if (buffer.size() >= (1u << 20)) target.write(buffer.data(), std::streamsize(buffer.size())), buffer.clear();
        }
        target << buffer << std::flush;
        if (!target) throw Error((outFile.is_open() ? common->outputPath : "standard output") + ": the result could not be written in full");
        if (failures) err << "vyr batch: " << failures << (failures == 1 ? " line" : " lines") << " failed, the others were computed\n";
        exitCode = failures ? exitProblems : exitOk;
    });
}

}  // namespace

void registerPlayerTools(CLI::App& app, const std::string& defaultDataPath, int& exitCode, std::istream& in,
                         std::ostream& out, std::ostream& err) {
    registerCompare(app, defaultDataPath, exitCode, out);
    registerDiff(app, defaultDataPath, exitCode, out);
    registerWeights(app, defaultDataPath, exitCode, out);
    registerSweep(app, defaultDataPath, exitCode, out);
    registerBatch(app, defaultDataPath, exitCode, in, out, err);
}

}  // namespace vyr::cli
