#include "sweep_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace vyr::cli {

std::string xmlEscape(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default:
                // Control characters other than tab and line breaks are not allowed in XML 1.0.
                if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
                    out += ' ';
                } else {
                    out += c;
                }
        }
    }
    return out;
}

namespace {

constexpr double left = 90;
constexpr double right = chartWidth - 90;
constexpr double top = 70;
constexpr double bottom = chartHeight - 70;

std::string num(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", v);
    return text;
}

// Tick labels: whole numbers as digits; fractions (only on very short ranges) with two decimals.
std::string tickLabel(double v) {
    char text[48];
    if (std::fabs(v - std::round(v)) < 1e-9) {
        std::snprintf(text, sizeof text, "%.0f", v);
    } else {
        std::snprintf(text, sizeof text, "%.2f", v);
    }
    return text;
}

// A step of 1, 2 or 5 times a power of ten giving about `count` intervals over span.
double niceStep(double span, int count) {
    if (!(span > 0)) return 1;
    const double raw = span / count;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / magnitude;
    const double nice = f <= 1 ? 1 : f <= 2 ? 2 : f <= 5 ? 5 : 10;
    return std::max(1.0, nice * magnitude);  // the values are whole numbers
}

struct Axis {
    double low = 0;
    double high = 1;
    double step = 1;
};

// An axis from 0 (or below, for values under 0) to a round top, so that heights compare.
Axis valueAxis(double minValue, double maxValue) {
    Axis a;
    if (!(maxValue >= minValue)) return a;  // no value at all
    const double low = std::min(0.0, minValue);
    if (maxValue == low) {
        a.low = std::max(0.0, low - 1);
        a.high = maxValue + 1;
        a.step = niceStep(a.high - a.low, 4);
        return a;
    }
    a.step = niceStep(maxValue - low, 5);
    a.low = std::floor(low / a.step) * a.step;
    a.high = std::ceil(maxValue / a.step) * a.step;
    return a;
}

struct Scale {
    double d0, d1, r0, r1;
    double operator()(double v) const { return d1 == d0 ? (r0 + r1) / 2 : r0 + (v - d0) * (r1 - r0) / (d1 - d0); }
};

// Many more points than pixel columns: each column keeps its first, lowest, highest and
// last value, which draws the same picture with a bounded number of points.
struct Column {
    double x = 0;
    double first = 0, low = 0, high = 0, last = 0;
    bool breakBefore = false;  // a missing value came before: lift the pen
};

std::vector<Column> reduce(const std::vector<double>& x, const ChartValues& v, const Scale& sx) {
    std::vector<Column> columns;
    int current = 0;
    bool gap = false;
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (!v[i]) {
            gap = true;
            continue;
        }
        const double y = *v[i];
        const int px = static_cast<int>(std::floor(sx(x[i])));
        if (columns.empty() || px != current || gap) {
            Column c;
            c.x = sx(x[i]);
            c.first = c.low = c.high = c.last = y;
            c.breakBefore = gap;
            columns.push_back(c);
            current = px;
            gap = false;
            continue;
        }
        Column& c = columns.back();
        c.low = std::min(c.low, y);
        c.high = std::max(c.high, y);
        c.last = y;
    }
    return columns;
}

bool dense(const std::vector<double>& x) { return x.size() > static_cast<std::size_t>(2 * (right - left)); }

// Path data for one line; a missing value lifts the pen.
std::string linePath(const std::vector<double>& x, const ChartValues& v, const Scale& sx, const Scale& sy) {
    std::string d;
    bool penDown = false;
    auto point = [&](double px, double value) {
        d += penDown ? " L" : (d.empty() ? "M" : " M");
        d += num(px) + ' ' + num(sy(value));
        penDown = true;
    };
    if (!dense(x)) {
        for (std::size_t i = 0; i < x.size(); ++i) {
            if (v[i]) point(sx(x[i]), *v[i]); else penDown = false;
        }
        return d;
    }
    for (const Column& c : reduce(x, v, sx)) {
        if (c.breakBefore) penDown = false;
        point(c.x, c.first);
        if (c.low != c.first) point(c.x, c.low);
        if (c.high != c.low) point(c.x, c.high);
        if (c.last != c.high) point(c.x, c.last);
    }
    return d;
}

// Closed shapes between the low and the high line, one per stretch where both exist.
std::string bandPath(const std::vector<double>& x, const ChartValues& low, const ChartValues& high, const Scale& sx,
                     const Scale& sy) {
    // Only where both ends exist.
    ChartValues lows(x.size()), highs(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (low[i] && high[i]) {
            lows[i] = low[i];
            highs[i] = high[i];
        }
    }
    struct Edge {
        double x, low, high;
    };
    std::vector<Edge> stretch;
    std::string d;
    auto flush = [&] {
        if (stretch.empty()) return;
        d += d.empty() ? "M" : " M";
        for (std::size_t i = 0; i < stretch.size(); ++i) {
            if (i) d += " L";
            d += num(stretch[i].x) + ' ' + num(sy(stretch[i].high));
        }
        for (std::size_t i = stretch.size(); i-- > 0;) d += " L" + num(stretch[i].x) + ' ' + num(sy(stretch[i].low));
        d += " Z";
        stretch.clear();
    };
    if (!dense(x)) {
        for (std::size_t i = 0; i < x.size(); ++i) {
            if (lows[i]) stretch.push_back({sx(x[i]), *lows[i], *highs[i]});
            else flush();
        }
        flush();
        return d;
    }
    // Per pixel column, the envelope: the lowest low end and the highest high end. Both
    // series have the same gaps, so their columns line up.
    const std::vector<Column> lowColumns = reduce(x, lows, sx);
    const std::vector<Column> highColumns = reduce(x, highs, sx);
    for (std::size_t i = 0; i < lowColumns.size() && i < highColumns.size(); ++i) {
        if (lowColumns[i].breakBefore) flush();
        stretch.push_back({lowColumns[i].x, lowColumns[i].low, highColumns[i].high});
    }
    flush();
    return d;
}

// About how wide a line of 12-pixel text is: no font metrics without a renderer.
double textWidth(const std::string& utf8) {
    double characters = 0;
    for (char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
    }
    return characters * 7.0;
}

void range(const ChartValues& v, double& lo, double& hi) {
    for (const auto& value : v) {
        if (!value) continue;
        lo = std::min(lo, *value);
        hi = std::max(hi, *value);
    }
}

}  // namespace

std::string renderChart(const ChartData& data) {
    const double inf = std::numeric_limits<double>::infinity();
    const double xMin = data.x.empty() ? 0 : data.x.front();
    const double xMax = data.x.empty() ? 1 : data.x.back();
    const Scale sx{xMin, xMax, left, right};

    const bool hasBand = !data.bandLabel.empty();
    double bandLo = inf, bandHi = -inf;
    if (hasBand) {
        range(data.bandLow, bandLo, bandHi);
        range(data.bandHigh, bandLo, bandHi);
    }
    double delayLo = inf, delayHi = -inf;
    range(data.moveDelay, delayLo, delayHi);
    range(data.recastDelay, delayLo, delayHi);
    const Axis bandAxis = valueAxis(bandLo, bandHi);
    const Axis delayAxis = valueAxis(delayLo, delayHi);
    const Scale sBand{bandAxis.low, bandAxis.high, bottom, top};
    const Scale sDelay{delayAxis.low, delayAxis.high, bottom, top};

    // The band's fill is a light shade rather than a transparency: some renderers ignore opacity.
    const std::string band = "#e8892b";
    const std::string bandFill = "#f8d9b8";
    const std::string move = "#2a6fb0";
    const std::string recast = "#7a3e9d";

    std::string s;
    s += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    s += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(chartWidth) + "\" height=\"" +
         std::to_string(chartHeight) + "\" viewBox=\"0 0 " + std::to_string(chartWidth) + ' ' +
         std::to_string(chartHeight) + "\" font-family=\"DejaVu Sans, Verdana, Arial, sans-serif\" font-size=\"12\">\n";
    s += "<title>" + xmlEscape(data.title) + "</title>\n";
    s += "<rect x=\"0\" y=\"0\" width=\"" + std::to_string(chartWidth) + "\" height=\"" + std::to_string(chartHeight) +
         "\" fill=\"#ffffff\"/>\n";
    s += "<text x=\"" + num(chartWidth / 2.0) + "\" y=\"28\" text-anchor=\"middle\" font-size=\"16\" font-weight=\"bold\">" +
         xmlEscape(data.title) + "</text>\n";

    // Grid and ticks: x below, the band's values on the left, the delays on the right.
    s += "<g id=\"grid\" stroke=\"#e3e3e3\" stroke-width=\"1\">\n";
    const Axis xAxis{xMin, xMax, niceStep(xMax - xMin, 8)};
    const double firstTick = std::ceil(xMin / xAxis.step) * xAxis.step;
    std::string xTicks;
    for (double t = firstTick; t <= xMax + 1e-9; t += xAxis.step) {
        s += "<line x1=\"" + num(sx(t)) + "\" y1=\"" + num(top) + "\" x2=\"" + num(sx(t)) + "\" y2=\"" + num(bottom) + "\"/>\n";
        xTicks += "<text x=\"" + num(sx(t)) + "\" y=\"" + num(bottom + 18) + "\" text-anchor=\"middle\">" + tickLabel(t) +
                  "</text>\n";
    }
    const Axis& gridAxis = hasBand && bandHi >= bandLo ? bandAxis : delayAxis;
    const Scale& gridScale = hasBand && bandHi >= bandLo ? sBand : sDelay;
    for (double t = gridAxis.low; t <= gridAxis.high + 1e-9; t += gridAxis.step) {
        s += "<line x1=\"" + num(left) + "\" y1=\"" + num(gridScale(t)) + "\" x2=\"" + num(right) + "\" y2=\"" +
             num(gridScale(t)) + "\"/>\n";
    }
    s += "</g>\n";
    s += "<g id=\"x-axis\">\n" + xTicks;
    s += "<text x=\"" + num((left + right) / 2) + "\" y=\"" + num(bottom + 44) + "\" text-anchor=\"middle\" font-size=\"14\">" +
         xmlEscape(data.xLabel) + "</text>\n</g>\n";

    if (hasBand && bandHi >= bandLo) {
        s += "<g id=\"band-axis\" fill=\"" + band + "\">\n";
        for (double t = bandAxis.low; t <= bandAxis.high + 1e-9; t += bandAxis.step) {
            s += "<text x=\"" + num(left - 8) + "\" y=\"" + num(sBand(t) + 4) + "\" text-anchor=\"end\">" + tickLabel(t) +
                 "</text>\n";
        }
        s += "<text transform=\"translate(24 " + num((top + bottom) / 2) +
             ") rotate(-90)\" text-anchor=\"middle\" font-size=\"14\">" + xmlEscape(data.bandLabel) + "</text>\n</g>\n";
    }
    if (delayHi >= delayLo) {
        s += "<g id=\"delay-axis\" fill=\"#333333\">\n";
        for (double t = delayAxis.low; t <= delayAxis.high + 1e-9; t += delayAxis.step) {
            s += "<text x=\"" + num(right + 8) + "\" y=\"" + num(sDelay(t) + 4) + "\">" + tickLabel(t) + "</text>\n";
        }
        s += "<text transform=\"translate(" + num(chartWidth - 20.0) + ' ' + num((top + bottom) / 2) +
             ") rotate(90)\" text-anchor=\"middle\" font-size=\"14\">Délais (ms)</text>\n</g>\n";
    }
    s += "<rect x=\"" + num(left) + "\" y=\"" + num(top) + "\" width=\"" + num(right - left) + "\" height=\"" +
         num(bottom - top) + "\" fill=\"none\" stroke=\"#888888\"/>\n";

    // The series.
    if (hasBand) {
        s += "<g id=\"effect-band\">\n";
        s += "<path id=\"effect-range\" d=\"" + bandPath(data.x, data.bandLow, data.bandHigh, sx, sBand) + "\" fill=\"" +
             bandFill + "\" stroke=\"none\"/>\n";
        s += "<path id=\"effect-min\" d=\"" + linePath(data.x, data.bandLow, sx, sBand) + "\" fill=\"none\" stroke=\"" +
             band + "\" stroke-width=\"1.5\"/>\n";
        s += "<path id=\"effect-max\" d=\"" + linePath(data.x, data.bandHigh, sx, sBand) + "\" fill=\"none\" stroke=\"" +
             band + "\" stroke-width=\"1.5\"/>\n";
        s += "</g>\n";
    }
    s += "<path id=\"move-delay\" d=\"" + linePath(data.x, data.moveDelay, sx, sDelay) + "\" fill=\"none\" stroke=\"" +
         move + "\" stroke-width=\"2\"/>\n";
    s += "<path id=\"recast-delay\" d=\"" + linePath(data.x, data.recastDelay, sx, sDelay) +
         "\" fill=\"none\" stroke=\"" + recast + "\" stroke-width=\"2\" stroke-dasharray=\"6 4\"/>\n";

    // Legend, above the plot.
    s += "<g id=\"legend\" font-size=\"12\">\n";
    double lx = left;
    const double ly = 50;
    if (hasBand) {
        s += "<rect x=\"" + num(lx) + "\" y=\"" + num(ly - 9) + "\" width=\"18\" height=\"10\" fill=\"" + bandFill +
             "\" stroke=\"" + band + "\"/>\n";
        const std::string label = data.bandLabel + " (min - max, axe de gauche)";
        s += "<text x=\"" + num(lx + 24) + "\" y=\"" + num(ly) + "\">" + xmlEscape(label) + "</text>\n";
        lx += 24 + textWidth(label) + 30;
    }
    s += "<line x1=\"" + num(lx) + "\" y1=\"" + num(ly - 4) + "\" x2=\"" + num(lx + 18) + "\" y2=\"" + num(ly - 4) +
         "\" stroke=\"" + move + "\" stroke-width=\"2\"/>\n";
    s += "<text x=\"" + num(lx + 24) + "\" y=\"" + num(ly) + "\">Temps avant mouvement</text>\n";
    lx += 24 + textWidth("Temps avant mouvement") + 30;
    s += "<line x1=\"" + num(lx) + "\" y1=\"" + num(ly - 4) + "\" x2=\"" + num(lx + 18) + "\" y2=\"" + num(ly - 4) +
         "\" stroke=\"" + recast + "\" stroke-width=\"2\" stroke-dasharray=\"6 4\"/>\n";
    s += "<text x=\"" + num(lx + 24) + "\" y=\"" + num(ly) + "\">Relance (axe de droite)</text>\n";
    s += "</g>\n</svg>\n";
    return s;
}

}  // namespace vyr::cli
