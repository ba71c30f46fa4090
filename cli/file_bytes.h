#pragma once
// Whole-file reads and writes for the tool. Paths are UTF-8 on every system; a failure
// throws vyr::Error "PATH: reason", with the system's reason.

#include <ostream>
#include <string>
#include <string_view>

#include "spell_list.h"

namespace vyr::cli {

std::string readFile(const std::string& path);
// Replaces the file only once every byte is written: a failed write leaves the previous
// file byte for byte, and no partial or temporary file behind.
void writeFile(const std::string& path, const std::string& bytes);
// A command's result: path empty or "-" means the stream the command was given.
void writeResult(const std::string& path, const std::string& bytes, std::ostream& fallback);
// A spell file as players give it (spellListFromBytes); how it was read, when it was not a
// data file, is one line "vyr COMMAND: note" on notes.
SpellList readSpellList(const std::string& path, std::ostream& notes, std::string_view command);

}  // namespace vyr::cli
