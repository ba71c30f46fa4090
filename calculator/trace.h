#pragma once
// An optional listener for the steps of a calculation: the computing code itself reports
// each value as it stores it, so an explanation can never disagree with the result.

#include <string>

namespace vyr {

class CalcTrace {
  public:
    virtual ~CalcTrace() = default;
    // One step, in French (UTF-8), with its figures substituted.
    virtual void step(const std::string& line) = 0;
};

// printf-style, formatted only when a trace is attached.
void traceStep(CalcTrace* trace, const char* format, ...) __attribute__((format(printf, 2, 3)));

// The shortest text that reads back to the same double; whole values in plain digits.
std::string showDouble(double value);

}  // namespace vyr
