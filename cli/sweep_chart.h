#pragma once
// The chart of vyr sweep: one self-contained SVG file (no scripts, fonts or images from
// elsewhere), with the range a spell gives as a band on the left axis and the two delays
// as lines on the right axis.

#include <optional>
#include <string>
#include <vector>

namespace vyr::cli {

using ChartValues = std::vector<std::optional<double>>;  // one per x; nothing: no point

struct ChartData {
    std::string title;      // UTF-8, escaped when written
    std::string xLabel;
    std::vector<double> x;  // increasing
    std::string bandLabel;  // empty: no band
    ChartValues bandLow;
    ChartValues bandHigh;
    ChartValues moveDelay;
    ChartValues recastDelay;
};

// Width and height of the drawing, in pixels.
inline constexpr int chartWidth = 960;
inline constexpr int chartHeight = 540;

// The SVG document, UTF-8. The band is the group with id "effect-band", the delays the
// paths with ids "move-delay" and "recast-delay".
std::string renderChart(const ChartData& data);

// Text escaped for XML content and attribute values.
std::string xmlEscape(const std::string& utf8);

}  // namespace vyr::cli
