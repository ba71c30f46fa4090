#pragma once
// What a file given as a spell list is: one decision, taken the same way by every path that
// reads a player's file (vyr and the page). The program itself only ever unscrambles; the
// decision may add a note, never refuse or misread a file that the program loads.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vyr {

enum class SpellFileForm : std::uint8_t {
    scrambled,  // the data file's own form, as the program reads it
    plain,      // a list as maintainers edit it (UTF-8 or Windows-1252), read as it stands
};

// The bytes are read two ways, as they stand and once unscrambled. In each reading, a whole
// record is a line whose fields, split at spaces as the loader splits them, all end on that
// line. The reading with more whole records wins; without any, the one with more lines that
// start like records (a ":" followed by four spaces on the line); without any, the one whose
// every line holds a ":" followed by a number, and no control character (records cut short,
// as "A:0"). A tie goes to the data file. The file is a plausible spell list when more than
// half of the winning reading's non-blank lines start like records or, with no such line,
// when its lines are records cut short.
struct SpellFileGuess {
    SpellFileForm form = SpellFileForm::scrambled;
    std::size_t scrambledRecords = 0;  // whole records once unscrambled
    std::size_t plainRecords = 0;      // the same as the bytes stand
    std::size_t lines = 0;             // non-blank lines of the winning reading
    std::size_t recordLines = 0;       // its lines that start like records
    bool plausible = false;
};
SpellFileGuess guessSpellFile(std::string_view bytes);

// A plain list without what editors leave around it: a leading UTF-8 byte-order mark (when
// skipMark) and the line breaks at the end, which a data file does without.
struct TrimmedList {
    std::string_view text;
    bool markSkipped = false, breaksDropped = false;
};
TrimmedList trimPlainList(std::string_view bytes, bool skipMark);

// A plain list made into the text the loader reads: a leading UTF-8 byte-order mark skipped,
// the line breaks at the end dropped, and UTF-8 made Windows-1252 when the whole list is
// UTF-8 (a character Windows-1252 lacks reads "?"); any other list is Windows-1252 already.
struct PlainText {
    std::string text;
    bool markSkipped = false, breaksDropped = false, wasUtf8 = false;
};
PlainText plainListText(std::string_view bytes);

// The text the program's loader reads from these bytes in this form.
std::string loaderText(std::string_view bytes, SpellFileForm form);

// Names that look garbled: more than half of them hold a control character other than a tab, as a file read
// in the wrong form or damaged shows. Such a file still loads; a note says so.
bool namesLookGarbled(std::size_t garbledNames, std::size_t names);
bool hasControlCharacter(std::string_view cp1252);

}  // namespace vyr
