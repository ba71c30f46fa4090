// The player's analyses in one process: the sample loaded from its bytes (beside the bare parse it
// wraps), weights for every sample spell, batch lines, a 100 000-level sweep, and what a new spell file changes.
// Output is built but not written.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <numeric>
#include <sstream>
#include <string>

#include "analyses.h"
#include "batch.h"
#include "cp1252.h"
#include "spell_changes.h"
#include "spell_file.h"

namespace {

const std::string& sampleBytes() {
    static const std::string bytes = [] {
        std::ifstream file(VYR_BENCH_DATA, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }();
    return bytes;
}

const vyr::SpellList& sample() {
    static const vyr::SpellList list = vyr::spellListFromBytes(sampleBytes(), VYR_BENCH_DATA);
    return list;
}

void LoadSample(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(vyr::spellListFromBytes(sampleBytes(), VYR_BENCH_DATA));
}

// What loading cost before the file's kind was guessed: unscramble, parse, names to UTF-8.
void ParseSampleBare(benchmark::State& state) {
    for (auto _ : state) {
        vyr::SpellList list;
        std::string text = sampleBytes();
        vyr::unscramble(text.data(), text.size());
        vyr::SpellNameList names;
        vyr::parseSpellText(text.data(), static_cast<std::uint32_t>(text.size()), *list.catalogue, names);
        for (const std::string& name : names.names) list.utf8Names.push_back(vyr::cp1252ToUtf8(name));
        benchmark::DoNotOptimize(list);
    }
}

void WeightsEverySpell(benchmark::State& state) {
    std::vector<std::size_t> spells(sample().size());
    std::iota(spells.begin(), spells.end(), 0);
    for (auto _ : state) benchmark::DoNotOptimize(vyr::inputWeights(sample(), vyr::Setup::defaults(), spells, 10));
    state.SetItemsProcessed(state.iterations() * std::int64_t(spells.size()) * 23);
}

// Every line a different spell or level, half by name and half by index.
void BatchJsonLines(benchmark::State& state) {
    std::vector<std::string> lines;
    for (int i = 0; i < 100000; ++i) {
        lines.push_back(i % 2 ? "{\"spell\": \"" + sample().utf8Names[std::size_t(i) % sample().size()] +
                                    "\", \"level\": " + std::to_string(1 + i % 200) +
                                    ", \"intelligenceBoosted\": " + std::to_string(25 + i % 400) + "}"
                              : "{\"index\": " + std::to_string(std::size_t(i) % sample().size()) + ", \"level\": \"" +
                                    std::to_string(1 + i % 200) +
                                    "\", \"fireResist\": " + std::to_string(50 + i % 200) + "}");
    }
    std::string out;
    for (auto _ : state) {
        vyr::BatchRunner runner(sample(), vyr::Setup::defaults(), vyr::Format::json);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            runner.line(i + 1, lines[i], out);
            if (out.size() > (1u << 20)) out.clear();
        }
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t(lines.size()));
}

void Sweep100000Levels(benchmark::State& state) {
    const vyr::SweepRange range = vyr::parseSweepRange("level=1..100000");
    for (auto _ : state) {
        const vyr::Sweep sweep = vyr::runSweep(sample(), vyr::Setup::defaults(), {2}, range);
        benchmark::DoNotOptimize(vyr::writeCsv(vyr::sweepTable(sample(), sweep)));
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}

// A list of 100 records made from the sample's lines (names past its end numbered), and a new version of it: a number
// changed in every third record, every seventh other one renamed, one removed and one added. Both scrambled.
const std::pair<std::string, std::string>& hundredRecordFiles() {
    static const std::pair<std::string, std::string> files = [] {
        std::vector<std::string> lines;
        std::istringstream text(sample().text);
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        std::string before, after;
        for (std::size_t i = 0; i < 100; ++i) {
            const std::string& line = lines[i % lines.size()];
            const std::size_t colon = line.find(':'), factor = line.find(' ', colon) + 1;
            const std::string name = line.substr(0, colon) + (i >= lines.size() ? " " + std::to_string(i) : "");
            before += name + line.substr(colon) + "\n";
            if (i == 50) continue;
            std::string fields = line.substr(colon);
            if (i % 3 == 0) fields.replace(factor - colon, line.find(' ', factor) - factor, "7");
            after += name + (i % 3 && i % 7 == 0 ? " bis" : "") + fields + "\n";
        }
        after += "Nouveau sort:0 1 0 1 f 5 10 6 0 ";
        before.pop_back();
        vyr::unscramble(before.data(), before.size());
        vyr::unscramble(after.data(), after.size());
        return std::pair{before, after};
    }();
    return files;
}

// What vyr changes does between reading the two files and writing its table.
void ChangesOfTwoHundredRecordFiles(benchmark::State& state) {
    vyr::Setup setup = vyr::Setup::defaults();
    setup.set(vyr::field::level, 40);
    std::size_t rows = 0;
    for (auto _ : state) {
        const vyr::SpellList before = vyr::spellListFromBytes(hundredRecordFiles().first, "old.dat");
        const vyr::SpellList after = vyr::spellListFromBytes(hundredRecordFiles().second, "new.dat");
        const vyr::SpellChanges changes = vyr::compareSpellLists(before, after);
        const vyr::Table table = vyr::changesTable(before, after, changes, setup);
        benchmark::DoNotOptimize(vyr::writeText(table));
        rows = table.rows.size();
    }
    state.counters["rows"] = static_cast<double>(rows);
}

// The page's one-line message for each pair of 20 characters and 5 opponents, the two lists compared once.
void ChangeSummariesOf100Pairs(benchmark::State& state) {
    const vyr::SpellList before = vyr::spellListFromBytes(hundredRecordFiles().first, "old.dat");
    const vyr::SpellList after = vyr::spellListFromBytes(hundredRecordFiles().second, "new.dat");
    std::vector<vyr::Setup> pairs;
    for (std::uint32_t character = 0; character < 20; ++character) {
        for (std::uint32_t opponent = 0; opponent < 5; ++opponent) {
            vyr::Setup& setup = pairs.emplace_back(vyr::Setup::defaults());
            setup.set(vyr::field::level, 10 + 5 * character);
            setup.set(vyr::field::intelligenceBoosted, 25 + 10 * character);
            setup.set(vyr::field::firePower, 100 + 5 * character);
            setup.set(vyr::field::fireResist, 60 + 20 * opponent);
            setup.set(vyr::field::targetArmour, 5 * opponent);
        }
    }
    std::size_t otherFigures = 0;
    for (auto _ : state) {
        const vyr::SpellChanges changes = vyr::compareSpellLists(before, after);
        otherFigures = 0;
        for (const vyr::Setup& setup : pairs)
            otherFigures += vyr::summarizeChanges(before, after, changes, setup).otherFigures;
    }
    state.counters["otherFigures"] = static_cast<double>(otherFigures);
    state.SetItemsProcessed(state.iterations() * std::int64_t(pairs.size()));
}

BENCHMARK(LoadSample)->Unit(benchmark::kMicrosecond);
BENCHMARK(ParseSampleBare)->Unit(benchmark::kMicrosecond);
BENCHMARK(WeightsEverySpell)->Unit(benchmark::kMillisecond);
BENCHMARK(BatchJsonLines)->Unit(benchmark::kMillisecond);
BENCHMARK(Sweep100000Levels)->Unit(benchmark::kMillisecond);
BENCHMARK(ChangesOfTwoHundredRecordFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(ChangeSummariesOf100Pairs)->Unit(benchmark::kMillisecond);

}  // namespace
