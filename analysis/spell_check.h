#pragma once
// vyr check: what a maintainer must know about a spell file, line by line, and the
// maintainer's plain list made into a data file's plain form.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vyr {

enum class Severity { error, warning };

struct Finding {
    std::size_t line = 0;  // from 1
    Severity severity = Severity::error;
    std::string message;     // UTF-8
    std::size_t column = 0;  // from 1 (in characters); 0 when the whole line is meant
};

struct CheckReport {
    std::vector<Finding> findings;  // in line order
    std::size_t loaded = 0;         // records the program's loader stores from this text
};

// Checks the plain form of a data file (Windows-1252, unscrambled).
CheckReport checkSpellText(std::string_view plain);

// A plain list as maintainers edit it (UTF-8, or Windows-1252 when raw), made into the
// plain form of a data file: a leading UTF-8 byte-order mark is skipped and the line
// breaks at the end are dropped, which notes say. A character that Windows-1252 cannot
// hold is the one finding and leaves text empty; otherwise text is checked.
struct PlainList {
    std::string text;
    std::vector<std::string> notes;
    CheckReport report;
    bool encodable = true;
};
PlainList preparePlainList(std::string_view input, bool raw);

// Which form a file's bytes look like, from the lines that read as records
// (name, ":" and four numbers) as the bytes stand and once unscrambled.
struct FormGuess {
    bool plain = false;
    bool scrambled = false;
    std::size_t recordLines = 0;  // in the form it looks like
};
FormGuess guessForm(std::string_view bytes);

// What a file given as a spell list is: a scrambled data file, a plain list, or no spell
// list at all (no line shaped like a record, or names full of control characters), with
// the reason in French. A file that could be either is taken as scrambled.
struct SpellFileGuess {
    enum class Kind { scrambled, plain, notSpellList } kind = Kind::notSpellList;
    std::string reason;       // why it is no spell list
    std::string unscrambled;  // the bytes unscrambled once, which a scrambled file's loader reads
};
SpellFileGuess guessSpellFile(std::string_view bytes);

// Characters of a UTF-8 text (continuation bytes belong to the character before them).
std::size_t characterCount(std::string_view utf8);

}  // namespace vyr
