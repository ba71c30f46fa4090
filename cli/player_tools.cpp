#include "player_tools.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
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
    const PlayerCommand c = addPlayerCommand(app, "compare", dataPath);
    auto options = std::make_shared<CompareOptions>();
    c.command
        ->add_option("--sort", options->sort, "Sort on a column (a CSV heading): index, name, weightedPerSecond...")
        ->capture_default_str();
    c.command->add_flag("--desc", options->descending, "Sort from the largest value down");
    c.command->add_option(
        "--only", options->only,
        "Only the spells of one element or kind: feu, eau, air, terre, necro,\nlumière, neutre, bonus, spécial");
    c.command->add_option("--top", options->top, "Only the first N rows once sorted")->type_name("NUMBER");
    whenRun(c, exitCode, out, [common = c.common, options](const Setup& setup, const SpellList& list) {
        return writeTable(compareSpells(list, setup, *options), common->format());
    });
}

void registerDiff(CLI::App& app, const std::string& dataPath, int& exitCode, std::ostream& out) {
    const PlayerCommand c = addPlayerCommand(app, "diff", dataPath);
    // items[s]: what --a, --b, ... change over the common setup.
    auto items = std::make_shared<std::vector<std::vector<std::string>>>(maxDiffSetups);
    for (std::size_t s = 0; s < maxDiffSetups; ++s) {
        const char letter = static_cast<char>('a' + s);
        c.command->add_option(std::string("--") + letter, (*items)[s],
                              std::string("What setup ") + static_cast<char>(std::toupper(letter)) +
                                  " changes: a setup code, a page's share link, NAME=VALUE[,NAME=VALUE...]\n"
                                  "or a profile file; repeat it");
    }
    whenRun(c, exitCode, out, [common = c.common, spell = c.spell, items](const Setup& setup, const SpellList& list) {
        // The setups run from A to the last letter given; a letter between them not given is the common setup.
        std::vector<Setup> setups(maxDiffSetups, setup);
        std::size_t count = 0;
        for (std::size_t s = 0; s < maxDiffSetups; ++s) {
            for (const std::string& item : (*items)[s])
                applySetupItem(setups[s], item, std::string("--") + static_cast<char>('a' + s));
            if (!(*items)[s].empty()) count = s + 1;
        }
        if (count < 2)
            throw Error("il faut au moins deux configurations : donnez --b (et --c jusqu'à --f pour d'autres)");
        setups.resize(count);
        const bool one = !spell->names.empty() || !spell->indices.empty();
        const auto index = one ? std::optional(chosenSpells(list, *spell, false).front()) : std::nullopt;
        return writeTable(diffSetups(list, setups, index), common->format());
    });
}

void registerWeights(CLI::App& app, const std::string& dataPath, int& exitCode, std::ostream& out) {
    const PlayerCommand c = addPlayerCommand(app, "weights", dataPath);
    auto best = std::make_shared<std::size_t>(0);
    auto points = std::make_shared<std::int64_t>(10);
    CLI::Option* bestOption =
        c.command->add_option("--best", *best, "The best N spells of compare instead of one")->type_name("NUMBER");
    c.command->add_option("--points", *points, "Points added to each input (negative: taken away)")
        ->type_name("NUMBER")
        ->capture_default_str();
    whenRun(c, exitCode, out,
            [common = c.common, spell = c.spell, best, points, bestOption](const Setup& setup, const SpellList& list) {
                if (bestOption->count() && (!spell->names.empty() || !spell->indices.empty()))
                    throw Error("give --best N or one spell, not both");
                const std::vector<std::size_t> spells =
                    bestOption->count() ? bestSpells(list, setup, *best) : chosenSpells(list, *spell, false);
                return writeTable(inputWeights(list, setup, spells, *points), common->format());
            });
}

void registerSweep(CLI::App& app, const std::string& dataPath, int& exitCode, std::ostream& out) {
    const PlayerCommand c = addPlayerCommand(app, "sweep", dataPath);
    auto vary = std::make_shared<std::vector<std::string>>();
    auto svg = std::make_shared<std::string>();
    c.command
        ->add_option("--vary", *vary,
                     "NAME=FIRST..LAST[:STEP]: an input (such as level or fire-power) from FIRST\n"
                     "to LAST, STEP apart (default 1); give it twice for a grid")
        ->required()
        ->expected(1, 2);
    c.command->add_option("--svg", *svg, "Also write a chart to FILE: effect per second per spell, or a heat map");
    whenRun(c, exitCode, out,
            [common = c.common, spell = c.spell, vary, svg](const Setup& setup, const SpellList& list) {
                checkDistinctOutputs(common->outputPath, *svg, "--svg");
                std::vector<SweepRange> ranges;
                for (const std::string& v : *vary) ranges.push_back(parseSweepRange(v));
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
                return writeTable(table, common->format());
            });
}

void registerBatch(CLI::App& app, const std::string& dataPath, int& exitCode, std::istream& in, std::ostream& out,
                   std::ostream& err) {
    const PlayerCommand c = addPlayerCommand(app, "batch", dataPath);
    auto inputPath = std::make_shared<std::string>();
    c.command->add_option("input", *inputPath, "Input file (default or -: the standard input)");
    auto common = c.common;
    auto inputs = c.inputs;
    c.command->callback([=, &exitCode, &in, &out, &err] {
        const Setup setup = buildSetup(*inputs);
        const SpellList list = readSpellList(common->dataPath);
        // Streamed both ways: a million lines are never held whole.
        auto openOrThrow = [](auto& stream, const std::string& path, std::ios::openmode mode) {
            if (std::filesystem::is_directory(path)) throw Error(path + ": is a folder, not a file");
            errno = 0;
            stream.open(path, mode);
            if (!stream) throw Error(path + ": " + std::strerror(errno));
        };
        std::ifstream file;
        if (!inputPath->empty() && *inputPath != "-") openOrThrow(file, *inputPath, std::ios::binary);
        std::istream& source = file.is_open() ? file : in;
        std::ofstream outFile;
        if (!common->outputPath.empty() && common->outputPath != "-")
            openOrThrow(outFile, common->outputPath, std::ios::binary | std::ios::trunc);
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
            if (buffer.size() >= (1u << 20))
                target.write(buffer.data(), std::streamsize(buffer.size())), buffer.clear();
        }
        target << buffer << std::flush;
        if (!target)
            throw Error((outFile.is_open() ? common->outputPath : "standard output") +
                        ": the result could not be written in full");
        if (failures)
            err << "vyr batch: " << failures << (failures == 1 ? " line" : " lines")
                << " failed, the others were computed\n";
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
