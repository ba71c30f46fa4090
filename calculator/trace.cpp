#include "trace.h"

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
