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

std::string showDouble(double value) {
    // std::to_chars for doubles is missing from the WebAssembly build's standard library.
    char text[64];
    // Whole numbers in plain digits: %g would write 40 as "4e+01".
    if (std::fabs(value) < 1e15 && std::trunc(value) == value) {
        std::snprintf(text, sizeof text, "%.0f", value);
        return text;
    }
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value) break;
    }
    return text;
}

}  // namespace vyr
