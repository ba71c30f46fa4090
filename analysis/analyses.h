#pragma once
// The player's analyses: each a function from (spell list, setups, options) to a Table
// (table.h). Every figure comes from ordinary runs (run_result.h); nothing here computes
// a spell's effect itself.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "run_result.h"
#include "table.h"

namespace vyr {

// What every table shows of runs: each of the 16 outputs, then each derived figure (mean effect, effect per second,
// weighted), with its name, its French heading and the cell of each run (empty where the run shows none).
struct RunFigure {
    std::string_view name, heading;
    std::vector<Cell> cells;  // one per run, in the runs' order
};
std::vector<RunFigure> runFigures(const std::vector<RunResult>& runs);
// From one cell to another: the difference (whole numbers stay whole) and that in percent of the first; both
// empty unless both cells are numbers, the percent also when the first is 0.
std::pair<Cell, Cell> cellChange(const Cell& from, const Cell& to);

// One run as a table of the 16 outputs (with their labels), then the derived figures.
Table calcTable(const SpellList& list, const RunResult& result);
// calc --csv and --json: one row of the spell, its index and element, the setup code, the
// 24 inputs, the 16 outputs, the derived figures, and the explanation (lines joined by a
// line break) when given.
Table calcRecord(const SpellList& list, const Setup& setup, const RunResult& result,
                 const std::vector<std::string>& explanation);

struct CompareOptions {
    std::string only;             // "": every spell; else a value of codeElements
    std::string order = "index";  // the name of the column the rows are ordered by
    bool descending = false;
    std::size_t top = 0;   // 0: every row
    std::string effect{};  // "": every spell; else a value of effectKinds
};
// One row per spell: outputs, element, mean effect, effect per second and weighted.
// Throws Error for an unknown order column, element or effect kind.
Table compareSpells(const SpellList& list, const Setup& setup, const CompareOptions& options);
// The indices of the best `count` spells by weighted effect per second.
std::vector<std::size_t> bestSpells(const SpellList& list, const Setup& setup, std::size_t count);

// What a run shows: "effet" (a range: damage on the opponent or hit points healed, which the
// run itself does not tell apart), "bonus" (a bonus to a stat, hit points or armour) or
// "texte" (a special text alone, or nothing).
inline constexpr std::string_view effectKinds[] = {"effet", "bonus", "texte"};
std::string_view effectKind(const RunResult& result);

// Setups A, B, C... side by side for one spell (or every spell): each output and derived
// figure in a column per setup, then the difference of each later setup to A, absolute and
// in percent of A; rows where some setup differs from A first. Two to maxDiffSetups setups,
// else Error.
inline constexpr std::size_t maxDiffSetups = 6;
Table diffSetups(const SpellList& list, const std::vector<Setup>& setups, std::optional<std::size_t> spell);

// For each spell, each of the 23 inputs a run reads raised by delta points (clamped to
// 0..4294967295): the gain in weighted effect per second, in mean effect, and in each
// delay, from two ordinary runs; the input that helps most first.
Table inputWeights(const SpellList& list, const Setup& setup, const std::vector<std::size_t>& spells,
                   std::int64_t delta);

// NAME=FIRST..LAST[:STEP]; NAME an input's option or field name.
struct SweepRange {
    int input = 0;  // field id
    std::uint32_t first = 0, last = 0, step = 1;
    std::uint64_t count() const { return (std::uint64_t{last} - first) / step + 1; }
    std::uint32_t at(std::uint64_t i) const { return static_cast<std::uint32_t>(first + i * step); }
};
inline constexpr std::uint64_t maxSweepRuns = 100000;
// Throws Error (role vary) for an unknown input, an empty or reversed range, a bad step, a range too long.
SweepRange parseSweepRange(std::string_view text);

// One input varied for one or more spells: one run per spell and value.
struct Sweep {
    SweepRange range;
    std::vector<std::size_t> spells;
    std::vector<std::vector<RunResult>> runs;  // [spell][value]
};
Sweep runSweep(const SpellList& list, const Setup& setup, const std::vector<std::size_t>& spells,
               const SweepRange& range);
// One row per spell and value: the value, the spell, the outputs shown, the derived figures.
Table sweepTable(const SpellList& list, const Sweep& sweep);

// Two inputs varied for one spell: weighted effect per second over the grid.
struct SweepGrid {
    SweepRange x, y;
    std::size_t spell = 0;
    std::vector<std::optional<double>> perSecond;  // [iy * x.count() + ix]
};
SweepGrid runSweepGrid(const SpellList& list, const Setup& setup, std::size_t spell, const SweepRange& x,
                       const SweepRange& y);
Table gridTable(const SweepGrid& grid);

// The explanation of one run as a one-column table.
Table explainTable(const std::vector<std::string>& lines);

}  // namespace vyr
