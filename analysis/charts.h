#pragma once
// Self-contained SVG charts (no scripts, fonts or images from elsewhere), UTF-8.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analyses.h"

namespace vyr {

inline constexpr int chartWidth = 960;
inline constexpr int chartHeight = 540;

// The figures a sweep chart can show: name (as in tables), the vertical axis's title.
struct ChartSeries {
    std::string_view name, title;
    std::optional<double> (*value)(const RunResult&);
};
extern const std::vector<ChartSeries> chartSeries;  // weighted effect per second first

struct ChartOptions {
    int width = chartWidth, height = chartHeight;   // in px: text stays 12 px or more at any width
    std::string_view series = "weightedPerSecond";  // a name of chartSeries
    // For a page: points the keyboard and a tap step through (groups "mark", one every few
    // values, each saying its values in data-say); no big title, the page has its own.
    bool marks = false;
};

// A figure (weighted effect per second by default) of each spell against the varied input:
// one coloured path per spell (id "series-N"), a legend, a dashed mark where a delay reaches
// its floor, and a vertical scale that an isolated spike does not flatten (said on the chart).
// Throws Error for an unknown series.
std::string sweepChart(const SpellList& list, const Sweep& sweep, const ChartOptions& options = {});
// The grid as a heat map (cells in group "heat-map") with a colour scale.
std::string gridChart(const SpellList& list, const SweepGrid& grid);

}  // namespace vyr
