#include "trace.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace vyr {

void traceStep(CalcTrace* trace, const char* format, ...) {
    if (!trace) return;
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    trace->step(line);
}

namespace {
// The fewest significant digits that read back to the same value.
template <typename T>
std::string shortest(T value, int maxDigits) {
    char text[64];
    // Whole numbers in plain digits: %g would write 40 as "4e+01".
    if (std::fabs(static_cast<double>(value)) < 1e15 && std::trunc(static_cast<double>(value)) == value) {
        std::snprintf(text, sizeof text, "%.0f", static_cast<double>(value));
        return text;
    }
    for (int digits = 1; digits <= maxDigits; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
        if (static_cast<T>(std::strtod(text, nullptr)) == value) break;
    }
    return text;
}
}  // namespace

std::string showDouble(double value) { return shortest(value, 17); }
std::string showFloat(float value) { return shortest(value, 9); }

}  // namespace vyr
