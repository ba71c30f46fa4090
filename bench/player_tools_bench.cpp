// The player's tools in one process: batch lines per second (JSON Lines and CSV in, CSV
// out) and a sweep over 100 000 levels. bench/process_per_run compares them with one
// vyr calc process per run.
#include <benchmark/benchmark.h>

#include <sstream>
#include <streambuf>
#include <string>

#include "player_tools.h"

namespace {

// Output is thrown away: what is measured is computing and formatting it.
class Discard : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

const std::string dataPath = VYR_BENCH_DATA;
constexpr int sampleSpells = 79;

// Every line a different spell or level, half by name and half by index.
std::string jsonLines(int count) {
    const char* names[] = {"Boule de feu", "Brasier", "\\u00c9clair", "Soin", "Trait de mana", "Sanctuaire"};
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += i % 2 ? "{\"spell\": \"" + std::string(names[i % 6]) + "\", \"level\": " + std::to_string(1 + i % 200) +
                            ", \"intelligenceBoosted\": " + std::to_string(25 + i % 400) + "}\n"
                      : "{\"index\": " + std::to_string(i % sampleSpells) + ", \"level\": \"" +
                            std::to_string(1 + i % 200) + "\", \"fireResist\": " + std::to_string(50 + i % 200) + "}\n";
    }
    return text;
}

std::string csvLines(int count) {
    std::string text = "index,level,fire-resist\n";
    for (int i = 0; i < count; ++i) {
        text += std::to_string(i % sampleSpells) + "," + std::to_string(1 + i % 200) + "," + std::to_string(50 + i % 200) + "\n";
    }
    return text;
}

void runBatchOn(benchmark::State& state, const std::string& input) {
    vyr::cli::BatchOptions options;
    options.dataPath = dataPath;
    Discard discard;
    std::ostream out(&discard);
    std::ostringstream err;
    for (auto _ : state) {
        std::istringstream in(input);
        if (vyr::cli::runBatch(options, in, out, err) != 0) state.SkipWithError(err.str().c_str());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BatchJsonLines(benchmark::State& state) { runBatchOn(state, jsonLines(static_cast<int>(state.range(0)))); }
void BatchCsv(benchmark::State& state) { runBatchOn(state, csvLines(static_cast<int>(state.range(0)))); }

void Sweep100000Levels(benchmark::State& state) {
    vyr::cli::SweepOptions options;
    options.dataPath = dataPath;
    options.index = 2;
    options.vary = "level=1..100000";
    options.format = vyr::cli::ResultFormat::csv;
    Discard discard;
    std::ostream out(&discard);
    std::ostringstream err;
    for (auto _ : state) {
        if (vyr::cli::runSweep(options, out, err) != 0) state.SkipWithError(err.str().c_str());
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}

BENCHMARK(BatchJsonLines)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BatchCsv)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(Sweep100000Levels)->Unit(benchmark::kMillisecond);

}  // namespace
