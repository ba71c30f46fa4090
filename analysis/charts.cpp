#include "charts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "error.h"

namespace vyr {

namespace {

constexpr const char* colours[] = {"#d1495b", "#2a6fb0", "#3c9d5d", "#e8892b",
                                   "#7a3e9d", "#00798c", "#8c6d31", "#c2185b"};

// The plot's place in the picture: wide pictures keep roomy margins, narrow ones (a phone)
// give the plot every pixel the 12 px texts leave.
struct Frame {
    double width, height, left, right, top, bottom;
    static Frame of(int width, int height, double legendRows) {
        const double w = width, h = height;
        if (w >= 600) return {w, h, 90, w - 40, 80, h - 80};
        return {w, h, 50, w - 12, 56 + 18 * legendRows, h - 50};
    }
};
const Frame wide = Frame::of(chartWidth, chartHeight, 0);

std::string num(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", v);
    return text;
}

std::string label(double v) {
    char text[32];
    std::snprintf(text, sizeof text, std::fabs(v - std::round(v)) < 1e-9 ? "%.0f" : "%.2f", v);
    return text;
}

std::string xml(const std::string& utf8) {
    std::string out;
    for (char c : utf8) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;  // controls are not XML
        }
    }
    return out;
}

std::string text(double x, double y, const std::string& content, const std::string& extra = "") {
    return "<text x=\"" + num(x) + "\" y=\"" + num(y) + "\"" + extra + ">" + xml(content) + "</text>\n";
}

// A step of 1, 2 or 5 times a power of ten giving about `count` intervals over span.
double niceStep(double span, int count) {
    if (!(span > 0)) return 1;
    const double magnitude = std::pow(10.0, std::floor(std::log10(span / count)));
    const double f = span / count / magnitude;
    return (f <= 1 ? 1 : f <= 2 ? 2 : f <= 5 ? 5 : 10) * magnitude;
}

struct Scale {
    double d0, d1, r0, r1;
    double operator()(double v) const { return d1 == d0 ? (r0 + r1) / 2 : r0 + (v - d0) * (r1 - r0) / (d1 - d0); }
};

std::string unitOf(int input) {
    return input == field::level ? "niveau" : input == field::rebirths ? "renaissances" : "points";
}

// The level and the rebirths by their names alone; other inputs by their name and unit.
std::string inputTitle(int input) {
    const std::string name(findInputById(input)->pageLabel);
    return input == field::level || input == field::rebirths ? name : name + " (" + unitOf(input) + ")";
}

std::string header(const Frame& f, const std::string& title, bool shown = true) {
    const std::string w = num(f.width), h = num(f.height);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w +
           "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h +
           "\" font-family=\"DejaVu Sans, Verdana, Arial, sans-serif\" font-size=\"12\">\n<title>" + xml(title) +
           "</title>\n<rect class=\"fond\" width=\"" + w + "\" height=\"" + h + "\" fill=\"#ffffff\"/>\n" +
           (shown ? text(f.width / 2, 28, title, " text-anchor=\"middle\" font-size=\"16\" font-weight=\"bold\"") : "");
}

// The title of the vertical axis: turned a quarter left beside it; on a narrow picture, over
// the plot instead, on two lines when too long for one (about 7 px a letter).
std::string verticalTitle(const Frame& f, const std::string& title) {
    if (f.left >= 90)
        return "<text transform=\"translate(24 " + num((f.top + f.bottom) / 2) +
               ") rotate(-90)\" text-anchor=\"middle\" font-size=\"14\" stroke=\"none\">" + xml(title) + "</text>\n";
    const std::size_t cut = title.find(", ");
    const bool two = double(title.size()) * 7 > f.right - 8 && cut != std::string::npos;
    return text(8, f.top - (two ? 26 : 10), two ? title.substr(0, cut + 1) : title, " stroke=\"none\"") +
           (two ? text(8, f.top - 10, title.substr(cut + 2), " stroke=\"none\"") : "");
}

// Ticks and the title of the x axis below the plot, one tick per 80 px or so.
std::string xAxis(const Frame& f, const SweepRange& range, const Scale& sx) {
    std::string s = "<g id=\"x-axis\" stroke=\"#e3e3e3\">\n";
    const int ticks = std::max(2, int((f.right - f.left) / 80));
    const double step = std::max(1.0, niceStep(double(range.last) - range.first, ticks));
    for (double t = std::ceil(range.first / step) * step; t <= range.last; t += step) {
        s += "<line x1=\"" + num(sx(t)) + "\" y1=\"" + num(f.top) + "\" x2=\"" + num(sx(t)) + "\" y2=\"" +
             num(f.bottom) + "\"/>\n";
        s += text(sx(t), f.bottom + 18, label(t), " stroke=\"none\" text-anchor=\"middle\"");
    }
    return s +
           text((f.left + f.right) / 2, f.bottom + 40, inputTitle(range.input),
                " stroke=\"none\" text-anchor=\"middle\" font-size=\"14\"") +
           "</g>\n";
}

// A figure as the page reads it: at most two decimals, no trailing zero, a decimal comma.
std::string said(double v) {
    std::string t = label(v);
    if (t.find('.') != std::string::npos) {
        t.erase(t.find_last_not_of('0') + 1);
        if (t.back() == '.') t.pop_back();
    }
    std::replace(t.begin(), t.end(), '.', ',');
    return t;
}

std::optional<double> recastOf(const RunResult& r) { return r.number(field::recastDelay); }
std::optional<double> moveOf(const RunResult& r) { return r.number(field::moveDelay); }

// About 7 px per byte of a 12 px name, plus the swatch.
double legendWidth(const std::string& name) { return 40 + 7.0 * double(name.size()); }

// Points a page steps through by keyboard or tap: about one per 8 px, at most 60; each group
// holds a hairline and a dot per spell, and says the value and every spell's figure.
std::string marks(const SpellList& list, const Sweep& sweep, const ChartSeries& series, const Frame& f, const Scale& sx,
                  const Scale& sy, double yTop) {
    const std::uint64_t count = sweep.range.count();
    const std::uint64_t most = std::clamp<std::uint64_t>(std::uint64_t((f.right - f.left) / 8), 2, 60);
    const std::uint64_t every = (count + most - 1) / most;
    const std::string unit = unitOf(sweep.range.input);
    std::string s = "<g id=\"marks\">\n";
    for (std::uint64_t i = 0;; i = std::min(i + every, count - 1)) {
        const double x = sx(sweep.range.at(i));
        std::string say = unit + " " + std::to_string(sweep.range.at(i)) + " : ", dots;
        for (std::size_t k = 0; k < sweep.spells.size(); ++k) {
            const auto v = series.value(sweep.runs[k][i]);
            say += (k ? " ; " : "") + list.utf8Names[sweep.spells[k]] + " " + (v ? said(*v) : "sans valeur");
            if (v)
                dots += "<circle cx=\"" + num(x) + "\" cy=\"" + num(sy(std::min(*v, yTop))) + "\" r=\"5\" fill=\"" +
                        colours[k % std::size(colours)] + "\"/>";
        }
        s += "<g class=\"mark\" data-x=\"" + num(x) + "\" data-say=\"" + xml(say) + "\"><line x1=\"" + num(x) +
             "\" y1=\"" + num(f.top) + "\" x2=\"" + num(x) + "\" y2=\"" + num(f.bottom) + "\"/>" + dots + "</g>\n";
        if (i == count - 1) break;
    }
    return s + "</g>\n";
}

}  // namespace

const std::vector<ChartSeries> chartSeries = {
    {"weightedPerSecond", "Effet par seconde, pondéré par les chances (points / s)", &weightedPerSecond},
    {"effectPerSecond", "Effet par seconde (points / s)", &effectPerSecond},
    {"recastDelay", "Relance (ms)", &recastOf},
    {"moveDelay", "Mouvement (ms)", &moveOf},
};

std::string sweepChart(const SpellList& list, const Sweep& sweep, const ChartOptions& options) {
    const auto series = std::find_if(chartSeries.begin(), chartSeries.end(),
                                     [&](const ChartSeries& c) { return c.name == options.series; });
    if (series == chartSeries.end()) throw Error(ErrorKind::unknownSeries, {{"typed", std::string(options.series)}});
    const SweepRange& range = sweep.range;
    // The legend's rows, when the picture is too narrow for one.
    double legendRows = 1, rowX = 8;
    for (std::size_t s : sweep.spells) {
        const double w = legendWidth(list.utf8Names[s]);
        if (rowX > 8 && rowX + w > options.width - 12) ++legendRows, rowX = 8;
        rowX += w;
    }
    const Frame f = Frame::of(options.width, options.height, legendRows);
    std::vector<double> values;
    for (const auto& runs : sweep.runs) {
        for (const RunResult& r : runs) {
            if (const auto v = series->value(r)) values.push_back(*v);
        }
    }
    std::sort(values.begin(), values.end());
    // A robust top: an isolated spike (a few points far above the 95th percentile) is set on the edge.
    double high = values.empty() ? 1 : values.back();
    const double typical = values.empty() ? 1 : values[values.size() * 95 / 100];
    std::size_t clipped = 0;
    if (typical > 0 && high > 3 * typical) {
        clipped =
            static_cast<std::size_t>(values.end() - std::upper_bound(values.begin(), values.end(), typical * 1.5));
        if (clipped <= values.size() / 50 + 1)
            high = typical * 1.5;
        else
            clipped = 0;
    }
    const double low = std::min(0.0, values.empty() ? 0 : values.front());
    const double yStep = niceStep(high - low, f.bottom - f.top < 200 ? 3 : 5);
    const double yTop = std::max(yStep, std::ceil(high / yStep) * yStep);
    const Scale sx{double(range.first), double(range.last), f.left, f.right}, sy{low, yTop, f.bottom, f.top};

    std::string names;
    for (std::size_t s : sweep.spells) names += (names.empty() ? "" : ", ") + list.utf8Names[s];
    std::string svg = header(f, names + " selon " + inputTitle(range.input), !options.marks);
    svg += xAxis(f, range, sx);
    svg += "<g id=\"y-axis\" stroke=\"#e3e3e3\">\n";
    for (double t = low; t <= yTop + 1e-9; t += yStep) {
        svg += "<line x1=\"" + num(f.left) + "\" y1=\"" + num(sy(t)) + "\" x2=\"" + num(f.right) + "\" y2=\"" +
               num(sy(t)) + "\"/>\n";
        svg += text(f.left - 6, sy(t) + 4, label(t), " stroke=\"none\" text-anchor=\"end\"");
    }
    svg += verticalTitle(f, std::string(series->title));
    svg += "</g>\n<rect x=\"" + num(f.left) + "\" y=\"" + num(f.top) + "\" width=\"" + num(f.right - f.left) +
           "\" height=\"" + num(f.bottom - f.top) + "\" fill=\"none\" stroke=\"#888888\"/>\n";
    if (clipped)
        svg += text(f.right, f.top - 8,
                    "Échelle coupée à " + label(yTop) + " : " + std::to_string(clipped) +
                        " point(s) plus haut(s), jusqu'à " + label(values.back()) + ", posé(s) sur le bord",
                    " id=\"clipped\" text-anchor=\"end\" fill=\"#b00020\"");

    const double legendTop = options.marks ? 12 : 44;
    const double legendLeft = f.left < 90 ? 8 : f.left;
    double legendX = legendLeft, legendY = legendTop;
    for (std::size_t s = 0; s < sweep.spells.size(); ++s) {
        const std::string colour = colours[s % std::size(colours)];
        const auto& runs = sweep.runs[s];
        // Many more points than pixels: a pixel column is drawn from its lowest to its highest value.
        const bool dense = runs.size() > 2000;
        std::string d, dots;
        bool penDown = false;
        auto point = [&](double x, double y) {
            d += (penDown ? " L" : d.empty() ? "M" : " M") + num(x) + " " + num(y);
            penDown = true;
        };
        bool inColumn = false;
        double columnX = 0, columnTop = 0, columnBottom = 0;
        auto flush = [&] {
            if (!inColumn) return;
            point(columnX, columnBottom);
            if (columnTop != columnBottom) point(columnX, columnTop);
            inColumn = false;
        };
        for (std::uint64_t i = 0; i < runs.size(); ++i) {
            const auto v = series->value(runs[i]);
            if (!v) {
                flush();
                penDown = false;
                continue;
            }
            const double x = sx(range.at(i)), y = sy(std::min(*v, yTop));
            if (!dense) {
                point(x, y);
            } else if (inColumn && std::floor(x) == std::floor(columnX)) {
                columnTop = std::min(columnTop, y);
                columnBottom = std::max(columnBottom, y);
            } else {
                flush();
                inColumn = true;
                columnX = x;
                columnTop = columnBottom = y;
            }
            if ((runs.size() <= 60 && !options.marks) || *v > yTop)
                dots += "<circle cx=\"" + num(x) + "\" cy=\"" + num(y) + "\" r=\"3\" fill=\"" + colour + "\"/>\n";
        }
        flush();
        svg += "<g id=\"series-" + std::to_string(s) + "\">\n<path d=\"" + d + "\" fill=\"none\" stroke=\"" + colour +
               "\" stroke-width=\"2\"/>\n" + dots + "</g>\n";
        // Where a delay reaches its floor: from there on it keeps its lowest value.
        for (int delay : {field::recastDelay, field::moveDelay}) {
            std::size_t first = runs.size();
            const auto floor = runs.empty() ? std::nullopt : runs.back().number(delay);
            while (first > 0 && floor && runs[first - 1].number(delay) == floor) --first;
            if (!floor || first == 0 || first == runs.size() || runs[first - 1].number(delay) < floor) continue;
            const double x = sx(range.at(first));
            const std::string said = std::string(delay == field::recastDelay ? "relance" : "mouvement") +
                                     " au plancher (" + label(*floor) + " ms) dès " + std::to_string(range.at(first));
            // Beside the mark, on the side with room for it (about 7 px a letter).
            const bool toRight = x + 4 + 7.0 * double(said.size()) <= f.right || x < (f.left + f.right) / 2;
            const bool fits =
                toRight ? x + 4 + 7.0 * double(said.size()) <= f.right : x - 4 - 7.0 * double(said.size()) >= f.left;
            const double at = fits ? (toRight ? x + 4 : x - 4) : f.right - 4;
            const bool leftHalf = fits && toRight;
            svg += "<g class=\"floor\"><line x1=\"" + num(x) + "\" y1=\"" + num(f.top) + "\" x2=\"" + num(x) +
                   "\" y2=\"" + num(f.bottom) + "\" stroke=\"" + colour + "\" stroke-dasharray=\"5 4\"/>\n" +
                   text(at, f.bottom - 8 - 14.0 * double(s), said,
                        " fill=\"" + colour + "\"" + (leftHalf ? "" : " text-anchor=\"end\"")) +
                   "</g>\n";
            break;  // both delays usually reach their floor at the same value: one mark is enough
        }
        const std::string& name = list.utf8Names[sweep.spells[s]];
        if (legendX > legendLeft && legendX + legendWidth(name) > f.width - 12) legendX = legendLeft, legendY += 18;
        svg += "<g class=\"legend\"><rect x=\"" + num(legendX) + "\" y=\"" + num(legendY) +
               "\" width=\"18\" height=\"10\" fill=\"" + colour + "\"/>\n" + text(legendX + 24, legendY + 10, name) +
               "</g>\n";
        legendX += legendWidth(name);
    }
    if (options.marks) svg += marks(list, sweep, *series, f, sx, sy, yTop);
    return svg + "</svg>\n";
}

std::string gridChart(const SpellList& list, const SweepGrid& grid) {
    const double left = wide.left, right = wide.right, top = wide.top, bottom = wide.bottom;
    const std::uint64_t nx = grid.x.count(), ny = grid.y.count();
    double lo = INFINITY, hi = -INFINITY;
    for (const auto& v : grid.perSecond) {
        if (v) lo = std::min(lo, *v), hi = std::max(hi, *v);
    }
    const double plotRight = right - 80;
    const double cw = (plotRight - left) / double(nx), ch = (bottom - top) / double(ny);
    // Dark blue for the least, through green, to yellow for the most.
    auto colour = [&](double v) {
        static constexpr double stops[][3] = {
            {68, 1, 84}, {59, 82, 139}, {33, 145, 140}, {94, 201, 98}, {253, 231, 37}};
        const double t = hi > lo ? (v - lo) / (hi - lo) * 4 : 0;
        const int k = std::min(3, int(t));
        char hex[8];
        int rgb[3];
        for (int c = 0; c < 3; ++c) rgb[c] = int(std::lround(stops[k][c] + (stops[k + 1][c] - stops[k][c]) * (t - k)));
        std::snprintf(hex, sizeof hex, "#%02x%02x%02x", rgb[0], rgb[1], rgb[2]);
        return std::string(hex);
    };
    std::string svg = header(wide, list.utf8Names[grid.spell] + " : effet par seconde pondéré");
    svg += "<g id=\"heat-map\" stroke=\"none\">\n";
    for (std::uint64_t iy = 0; iy < ny; ++iy) {
        for (std::uint64_t ix = 0; ix < nx; ++ix) {
            const auto& v = grid.perSecond[iy * nx + ix];
            svg += "<rect x=\"" + num(left + cw * double(ix)) + "\" y=\"" + num(bottom - ch * double(iy + 1)) +
                   "\" width=\"" + num(cw + 0.5) + "\" height=\"" + num(ch + 0.5) + "\" fill=\"" +
                   (v ? colour(*v) : "#dddddd") + "\"/>\n";
        }
    }
    svg += "</g>\n";
    // Axes: cell centres carry the values.
    auto ticks = [&](const SweepRange& r, bool horizontal) {
        std::string s;
        const std::uint64_t every = std::max<std::uint64_t>(1, r.count() / 8);
        for (std::uint64_t i = 0; i < r.count(); i += every) {
            s += horizontal ? text(left + cw * (double(i) + 0.5), bottom + 18, std::to_string(r.at(i)),
                                   " text-anchor=\"middle\"")
                            : text(left - 8, bottom - ch * (double(i) + 0.5) + 4, std::to_string(r.at(i)),
                                   " text-anchor=\"end\"");
        }
        return s;
    };
    svg += "<g id=\"x-axis\">\n" + ticks(grid.x, true) +
           text((left + plotRight) / 2, bottom + 44, inputTitle(grid.x.input),
                " text-anchor=\"middle\" font-size=\"14\"") +
           "</g>\n";
    svg += "<g id=\"y-axis\">\n" + ticks(grid.y, false) + verticalTitle(wide, inputTitle(grid.y.input)) + "</g>\n";
    svg += "<g id=\"colour-scale\" stroke=\"none\">\n";
    for (int k = 0; k < 50 && hi >= lo; ++k) {
        const double v = lo + (hi - lo) * k / 49.0;
        svg += "<rect x=\"" + num(plotRight + 30) + "\" y=\"" + num(bottom - (bottom - top) * (k + 1) / 50.0) +
               "\" width=\"18\" height=\"" + num((bottom - top) / 50.0 + 0.5) + "\" fill=\"" + colour(v) + "\"/>\n";
    }
    if (hi >= lo)
        svg += text(plotRight + 52, top + 10, label(std::round(hi * 100) / 100)) +
               text(plotRight + 52, bottom, label(std::round(lo * 100) / 100));
    svg += text(plotRight + 20, top - 12, "points / s", " font-size=\"11\"") + "</g>\n";
    return svg + "</svg>\n";
}

}  // namespace vyr
