#include "charts.h"

namespace vyr {

std::string sweepChart(const SpellList&, const Sweep&) { return {}; }
std::string gridChart(const SpellList&, const SweepGrid&) { return {}; }

}  // namespace vyr
