// loadSpellFile on a full 100-record file, through the real read path (a temporary file).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "spell_file.h"

namespace {

// 100 standard and special records with names of typical length, scrambled.
std::string hundredRecordFile() {
    std::string plain;
    for (int i = 0; i < 100; ++i) {
        const std::string n = std::to_string(i);
        if (i % 3 == 0) {
            plain += "Rituel num\xE9ro " + n + ":1 1 " + std::to_string(100 * i) + " " + n + " sli \n";
        } else {
            plain += "Boule de feu num\xE9ro " + n + ":0 2 " + std::to_string(600 + i) + " " + n + " f " +
                     std::to_string(i + 5) + " " + std::to_string(2 * i) + " 6 0 \n";
        }
    }
    std::string stored = plain;
    vyr::unscramble(stored.data(), stored.size());
    return stored;
}

void loadHundredRecords(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() / "vyr-loader-bench.dat";
    const std::string bytes = hundredRecordFile();
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const std::string pathText = path.string();
    for (auto _ : state) {
        // A fresh catalogue each time: the loader fills an unloaded one.
        auto catalogue = std::make_unique<vyr::SpellCatalogue>();
        vyr::SpellNameList sink;
        const std::size_t count = vyr::loadSpellFile(pathText.c_str(), sink, *catalogue);
        if (count != 100) state.SkipWithError("the file did not load whole");
        benchmark::DoNotOptimize(count);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes.size()));
    std::filesystem::remove(path);
}
BENCHMARK(loadHundredRecords);

}  // namespace
