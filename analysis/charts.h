#pragma once
// Self-contained SVG charts (no scripts, fonts or images from elsewhere), UTF-8.

#include <string>

#include "analyses.h"

namespace vyr {

inline constexpr int chartWidth = 960;
inline constexpr int chartHeight = 540;

// Weighted effect per second of each spell against the varied input: one coloured path
// per spell (id "series-N"), a legend, a dashed mark where a delay reaches its floor,
// and a vertical scale that an isolated spike does not flatten (said on the chart).
std::string sweepChart(const SpellList& list, const Sweep& sweep);
// The grid as a heat map (cells in group "heat-map") with a colour scale.
std::string gridChart(const SpellList& list, const SweepGrid& grid);

}  // namespace vyr
