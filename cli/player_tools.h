#pragma once
// The player's tools beside vyr calc: compare every spell, sweep one input across a range
// (with an SVG chart), and batch runs. Every number they show comes from one ordinary
// run of the calculator on the in-memory form (runOnce), never from a formula of their own.

#include <cstddef>
#include <cstdint>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "character_inputs.h"

namespace CLI {
class App;
}

namespace vyr {
struct InputField;
}

namespace vyr::cli {

enum class ResultFormat { table, csv, json };

// ---- vyr compare ------------------------------------------------------------------

struct CompareOptions {
    std::string dataPath;
    InputTexts inputs;         // profile, then command line
    std::string sort = "index";  // a column name of the CSV output
    bool descending = false;
    std::string only;          // "", "standard" or "special"
    ResultFormat format = ResultFormat::table;
    std::string outputPath;    // -o; empty: out
};

// Exit code: 0 done, 2 bad usage or unreadable data file.
int runCompare(const CompareOptions& options, std::ostream& out, std::ostream& err);

// ---- vyr sweep --------------------------------------------------------------------

inline constexpr std::uint64_t maxSweepRows = 100000;

// NAME=FIRST..LAST[:STEP], NAME an input's option or field name.
struct SweepRange {
    const InputField* input = nullptr;
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    std::uint32_t step = 1;
    std::uint64_t count = 0;  // values from first to last, step apart
};

// False with a one-line error for an unknown input, an empty, reversed or too long
// range, or a bad STEP.
bool parseSweepRange(std::string_view text, SweepRange& range, std::string& error);

struct SweepOptions {
    std::string dataPath;
    std::optional<std::string> spell;
    std::optional<std::size_t> index;
    InputTexts inputs;
    std::string vary;
    ResultFormat format = ResultFormat::table;
    std::string svgPath;     // --svg; empty: no chart
    std::string outputPath;  // -o; empty: out
};

int runSweep(const SweepOptions& options, std::ostream& out, std::ostream& err);

// ---- vyr batch --------------------------------------------------------------------

enum class BatchInput { detect, jsonLines, csv };

struct BatchOptions {
    std::string dataPath;
    InputTexts inputs;         // under every line's own inputs
    std::string inputPath;     // empty or "-": in
    BatchInput inputFormat = BatchInput::detect;
    bool jsonOutput = false;   // JSON lines; otherwise CSV with a header
    std::string outputPath;    // -o; empty: out
};

// Exit code: 0 every line computed, 1 some line failed (each one reported on err with its
// line number), 2 bad usage or unreadable file.
int runBatch(const BatchOptions& options, std::istream& in, std::ostream& out, std::ostream& err);

// Adds compare, sweep and batch; the one that runs stores its exit code in exitCode.
// batch reads in when no input file is named; results go to out unless -o names a file.
void registerPlayerTools(CLI::App& app, const std::string& defaultDataPath, int& exitCode, std::istream& in = std::cin,
                         std::ostream& out = std::cout, std::ostream& err = std::cerr);

}  // namespace vyr::cli
