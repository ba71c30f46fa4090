#pragma once
// What a maintainer must know about a spell file, line by line, as data: each finding has a
// kind and the values it speaks of; each front end words them. And the maintainer's plain
// list made into a data file's plain form.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "error.h"

namespace vyr {

enum class Severity { error, warning };

// A new kind goes at the end of the enum and of findingKindNames, and into each front end's
// wording. Values are named in the comments; field is one of the record's field names.
enum class FindingKind {
    noColon,             // a line without ":": not a record, the loader skips it
    blankLine,           //
    tooManySpells,       // capacity, leftOut (this record and the ones after it)
    emptyNumber,         // field, reads
    notANumber,          // field, text, reads
    trailingText,        // field, text, reads
    outOfRange,          // field, text, reads (saturated)
    armourLowBits,       // text: a nonzero armourExempt whose low 8 bits are 0
    emptyCode,           //
    unknownSpecialCode,  // code, rules
    upperCaseS,          // code
    notCodeLetter,       // code, letter, first, last, scaling (the codes that scale, listed)
    incompleteCode,      // code, prefix, seconds (the letters that may follow)
    noSpaceAfter,        // field, text, later ("1": fields after it missing), atEnd ("1": the file ends there)
    fieldsMissing,       // field (the first missing one), later, atEnd
    fieldsRunTogether,   // field, next, text, reads, separator ("tab" or ""): the fault of a line short of fields
    extraNumbers,        // text, special ("1" after a special code): ignored by the loader
    emptyName,           //
    duplicateName,       // name (UTF-8), firstLine
    finalLineBreak,      //
    nulByte,             //
    noSpell,             //
    invalidUtf8,         // a plain list that is not UTF-8
    notWindows1252,      // codePoint ("U+2744"): a character Windows-1252 cannot hold
    codeTooEarly,        // field, text: a number field of a line short of fields holds a code letter
};

std::string_view findingKindName(FindingKind kind);

struct Finding {
    std::size_t line = 0;  // from 1
    Severity severity = Severity::error;
    FindingKind kind = FindingKind::noColon;
    std::vector<ErrorValue> values;  // UTF-8
    std::size_t column = 0;          // from 1 (in characters); 0 when the whole line is meant

    // "" when the finding does not have it.
    std::string value(std::string_view key) const;
};

struct CheckReport {
    std::vector<Finding> findings;  // in line order
    std::size_t loaded = 0;         // records the program's loader stores from this text
    std::size_t errors() const;
};

// Checks the plain form of a data file (Windows-1252, unscrambled).
CheckReport checkSpellText(std::string_view plain);

// A text's lines, as the loader reads them: up to each line feed (a carriage return stays on its line).
std::vector<std::string_view> splitLines(std::string_view text);

// A line of a spell list split as the loader splits a record: the name up to the first ":", then the fields, each
// ended by a space on the line (five, nine after a code that is not special). colon is npos on a line without ":",
// which is no record.
struct RecordLine {
    struct Field {
        std::string_view text;  // a carriage return that ends the line left out
        std::size_t offset;     // in the line
    };
    std::size_t colon = std::string_view::npos;
    std::vector<Field> fields;
    std::size_t expected = 5;
    bool ended = true;      // the last field read ends with its space on this line
    std::string_view rest;  // what follows the fields: what the loader skips (a line's carriage return)
};
RecordLine splitRecordLine(std::string_view line);

// A record line with one part written anew (0: the name, k: field k - 1) in the record format: the name, ":", then
// every field followed by one space, the line of a special code stopping after it (its roll fields dropped), a
// field missing written empty, then what followed the fields as it was. A line without ":" becomes text (its
// carriage return kept).
std::string rewriteRecordLine(std::string_view line, std::size_t part, std::string_view text);
// The part of a line at a finding's column (from 1): 0 the name, k field k - 1; npos for the whole line.
std::size_t partAt(std::string_view line, std::size_t column);

// A plain list as maintainers edit it (UTF-8, or Windows-1252 when raw), made into the
// plain form of a data file: a leading UTF-8 byte-order mark is skipped and the line
// breaks at the end are dropped, which the flags say. A character that Windows-1252 cannot
// hold is the one finding and leaves text empty; otherwise text is checked.
struct PlainList {
    std::string text;
    bool markSkipped = false, breaksDropped = false;
    CheckReport report;
    bool encodable = true;
};
PlainList preparePlainList(std::string_view input, bool raw);

}  // namespace vyr
