#pragma once
// vyr check: what a maintainer must know about a spell file, line by line.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vyr::cli {

enum class Severity { error, warning };

struct Finding {
    std::size_t line = 0;  // from 1
    Severity severity = Severity::error;
    std::string message;   // UTF-8
};

struct CheckReport {
    std::vector<Finding> findings;  // in line order
    std::size_t loaded = 0;         // records the program's loader stores from this text
};

// Checks the plain form of a data file (Windows-1252, unscrambled).
CheckReport checkSpellText(std::string_view plain);

// The same for plain text as maintainers edit it (UTF-8): a character that Windows-1252
// cannot hold is reported with its line and column, and nothing else is checked.
CheckReport checkSpellTextUtf8(std::string_view utf8);

// Line and column (both from 1, the column counted in characters) of a byte offset.
struct TextPosition {
    std::size_t line = 1;
    std::size_t column = 1;
};
TextPosition positionOfOffset(std::string_view utf8, std::size_t offset);

}  // namespace vyr::cli
