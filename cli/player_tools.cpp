#include "player_tools.h"

#include <cctype>
#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

#include <CLI/CLI.hpp>

#include "analyses.h"
#include "batch.h"
#include "charts.h"
#include "error_words.h"
#include "file_bytes.h"
#include "player_options.h"
#include "spell_changes.h"

namespace vyr::cli {

namespace {

void registerCompare(CLI::App& app, const std::string& dataPath, int& exitCode, std::ostream& out, std::ostream& err) {
    const PlayerCommand c = addPlayerCommand(app, "compare", dataPath);
    auto options = std::make_shared<CompareOptions>();
    c.command
        ->add_option("--sort", options->order,
                     "Trie sur une colonne (un en-tête CSV) : index, name, weightedPerSecond...")
        ->capture_default_str();
    c.command->add_flag("--desc", options->descending, "Trie de la plus grande valeur à la plus petite");
    c.command->add_option(
        "--only", options->only,
        "Seulement les sorts d'un élément ou d'un genre : feu, eau, air, terre, necro,\nlumière, neutre, bonus, "
        "spécial");
    CLI::Option* top = c.command->add_option("--top", options->top,
                                             "Seulement les N premières lignes une fois triées (N : 1 ou plus)");
    top->type_name("NUMBER");
    whenRun(c, exitCode, out, err, [common = c.common, options, top](const Setup& setup, const SpellList& list) {
        if (top->count() && options->top == 0) throw Failure("--top 0 ne laisserait aucune ligne ; donnez 1 ou plus");
        return writeTable(compareSpells(list, setup, *options), common->format());
    });
}

void registerDiff(CLI::App& app, const std::string& dataPath, int& exitCode, std::ostream& out, std::ostream& err) {
    const PlayerCommand c = addPlayerCommand(app, "diff", dataPath);
    // items[s]: what --a, --b, ... change over the common setup.
    auto items = std::make_shared<std::vector<std::vector<std::string>>>(maxDiffSetups);
    for (std::size_t s = 0; s < maxDiffSetups; ++s) {
        const char letter = static_cast<char>('a' + s);
        c.command->add_option(
            std::string("--") + letter, (*items)[s],
            std::string("Ce que change la configuration ") + static_cast<char>(std::toupper(letter)) +
                " : un code de configuration, un lien de partage de la page,\n"
                "NOM=VALEUR[,NOM=VALEUR...] (VALEUR +N ou -N : ajoute ou retire N) ou un fichier de profil ;\n"
                "à répéter");
    }
    whenRun(c, exitCode, out, err,
            [common = c.common, spell = c.spell, items](const Setup& setup, const SpellList& list) {
                // The setups run from A to the last letter given (B at least); a letter not given is the common setup.
                std::vector<Setup> setups(maxDiffSetups, setup);
                std::size_t count = 0;
                for (std::size_t s = 0; s < maxDiffSetups; ++s) {
                    for (const std::string& item : (*items)[s])
                        applySetupItem(setups[s], item, std::string("--") + static_cast<char>('a' + s));
                    if (!(*items)[s].empty()) count = s + 1;
                }
                if (count == 0) {
                    throw Failure("rien à comparer : donnez --a ou --b (et --c jusqu'à --f pour d'autres)");
                }
                setups.resize(std::max<std::size_t>(count, 2));
                const bool one = !spell->names.empty() || !spell->indices.empty();
                const auto index = one ? std::optional(chosenSpells(list, *spell, false).front()) : std::nullopt;
                return writeTable(diffSetups(list, setups, index), common->format());
            });
}

void registerWeights(CLI::App& app, const std::string& dataPath, int& exitCode, std::ostream& out, std::ostream& err) {
    const PlayerCommand c = addPlayerCommand(app, "weights", dataPath);
    auto best = std::make_shared<std::size_t>(0);
    auto points = std::make_shared<std::int64_t>(10);
    CLI::Option* bestOption =
        c.command->add_option("--best", *best, "Les N meilleurs sorts de compare au lieu d'un seul")
            ->type_name("NUMBER");
    c.command->add_option("--points", *points, "Points ajoutés à chaque entrée (négatif : retirés)")
        ->type_name("NUMBER")
        ->capture_default_str();
    whenRun(c, exitCode, out, err,
            [common = c.common, spell = c.spell, best, points, bestOption](const Setup& setup, const SpellList& list) {
                if (bestOption->count() && (!spell->names.empty() || !spell->indices.empty()))
                    throw Failure("donnez --best N ou un sort, pas les deux");
                const std::vector<std::size_t> spells =
                    bestOption->count() ? bestSpells(list, setup, *best) : chosenSpells(list, *spell, false);
                return writeTable(inputWeights(list, setup, spells, *points), common->format());
            });
}

void registerSweep(CLI::App& app, const std::string& dataPath, int& exitCode, std::ostream& out, std::ostream& err) {
    const PlayerCommand c = addPlayerCommand(app, "sweep", dataPath);
    auto vary = std::make_shared<std::vector<std::string>>();
    auto svg = std::make_shared<std::string>();
    c.command
        ->add_option("--vary", *vary,
                     "NOM=DÉBUT..FIN[:PAS] : une entrée (comme level ou fire-power) de DÉBUT\n"
                     "à FIN, de PAS en PAS (1 par défaut) ; deux fois pour une grille")
        ->required()
        ->expected(1, 2);
    c.command->add_option("--svg", *svg,
                          "Écrit aussi un graphique dans FILE : effet par seconde par sort, ou une carte de chaleur");
    whenRun(c, exitCode, out, err,
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
    c.command->add_option("input", *inputPath, "Fichier d'entrée (par défaut ou - : l'entrée standard)");
    auto common = c.common;
    auto inputs = c.inputs;
    c.command->callback([=, &exitCode, &in, &out, &err] {
        const Setup setup = buildSetup(*inputs);
        const SpellList list = readSpellList(common->dataPath, err, "batch", common->force);
        // Streamed both ways: a million lines are never held whole.
        auto openOrThrow = [](auto& stream, const std::string& path, std::ios::openmode mode) {
            const bool folder = std::filesystem::is_directory(path);  // a folder opens as a stream on some systems
            errno = 0;
            if (!folder) stream.open(path, mode);
            if (folder || !stream) throw fileFailure(path);
        };
        // Read a megabyte at a time, not the library's few kilobytes: a read costs a system call.
        std::vector<char> readBuffer(std::size_t{1} << 20);
        std::ifstream file;
        file.rdbuf()->pubsetbuf(readBuffer.data(), static_cast<std::streamsize>(readBuffer.size()));
        if (!inputPath->empty() && *inputPath != "-") openOrThrow(file, *inputPath, std::ios::binary);
        std::istream& source = file.is_open() ? file : in;
        // A result file replaces the previous one only once every line is written.
        std::optional<ReplacingFile> outFile;
        if (!common->outputPath.empty() && common->outputPath != "-") outFile.emplace(common->outputPath);
        const auto emit = [&](const std::string& text) { outFile ? outFile->write(text) : void(out << text); };
        BatchRunner runner(list, setup, common->json ? Format::json : Format::csv);
        std::string buffer = runner.header(), line;
        std::size_t lineNumber = 0, failures = 0;
        while (std::getline(source, line)) {
            try {
                runner.line(++lineNumber, line, buffer);
            } catch (const Error& e) {
                // A bad header stops the run; any other line's problem is said and the next line read.
                if (e.kind() == ErrorKind::unknownBatchColumn || e.kind() == ErrorKind::batchHeaderWithoutSpell) throw;
                ++failures;
                err << "vyr batch : " << sentence(e) << '\n';
            }
            if (buffer.size() >= (1u << 20)) emit(buffer), buffer.clear();
        }
        emit(buffer);
        if (outFile) outFile->commit();
        if (!outFile && !out.flush()) throw Failure("sortie standard : le résultat n'a pas pu être écrit en entier");
        if (failures)
            err << "vyr batch : " << failures << (failures == 1 ? " ligne a échoué" : " lignes ont échoué")
                << ", les autres ont été calculées\n";
        exitCode = failures ? exitProblems : exitOk;
    });
}

// Exit code 1 when something differs, as diff(1) does.
void registerChanges(CLI::App& app, const std::string& dataPath, int& exitCode, std::ostream& out, std::ostream& err) {
    const PlayerCommand c = addPlayerCommand(app, "changes", dataPath);
    auto files = std::make_shared<std::array<std::string, 2>>();
    auto spell = std::make_shared<std::string>();
    c.command->add_option("OLD", (*files)[0], "Fichier de sorts d'avant")->required();
    c.command->add_option("NEW", (*files)[1], "Fichier de sorts d'après")->required();
    CLI::Option* named = c.command->add_option(
        "--spell", *spell, "Seulement ce sort, de l'une ou l'autre liste (casse et accents libres)");
    c.command->callback([c, files, spell, named, &exitCode, &out, &err] {
        const Setup setup = buildSetup(*c.inputs);
        const SpellList before = readSpellList((*files)[0], err, "changes", c.common->force);
        const SpellList after = readSpellList((*files)[1], err, "changes", c.common->force);
        SpellChanges changes = compareSpellLists(before, after);
        if (named->count()) changes = changesOfSpell(before, after, changes, *spell);
        const Format format = c.common->format();
        writeResult(c.common->outputPath,
                    changes.empty() && format == Format::text
                        ? "Aucun changement entre les deux listes.\n"
                        : writeTable(changesTable(before, after, changes, setup), format),
                    out);
        exitCode = changes.empty() ? exitOk : exitProblems;
    });
}

}  // namespace

void registerPlayerTools(CLI::App& app, const std::string& defaultDataPath, int& exitCode, std::istream& in,
                         std::ostream& out, std::ostream& err) {
    registerCompare(app, defaultDataPath, exitCode, out, err);
    registerDiff(app, defaultDataPath, exitCode, out, err);
    registerWeights(app, defaultDataPath, exitCode, out, err);
    registerSweep(app, defaultDataPath, exitCode, out, err);
    registerBatch(app, defaultDataPath, exitCode, in, out, err);
    registerChanges(app, defaultDataPath, exitCode, out, err);
}

}  // namespace vyr::cli
