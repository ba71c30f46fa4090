// The player's analyses in one process: the sample loaded from its bytes (beside the bare parse it
// wraps), weights for every sample spell, batch lines, and a 100 000-level sweep. Output is built but not written.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <numeric>
#include <string>

#include "analyses.h"
#include "batch.h"
#include "cp1252.h"
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

BENCHMARK(LoadSample)->Unit(benchmark::kMicrosecond);
BENCHMARK(ParseSampleBare)->Unit(benchmark::kMicrosecond);
BENCHMARK(WeightsEverySpell)->Unit(benchmark::kMillisecond);
BENCHMARK(BatchJsonLines)->Unit(benchmark::kMillisecond);
BENCHMARK(Sweep100000Levels)->Unit(benchmark::kMillisecond);

}  // namespace
