#pragma once
// Whole-file reads and writes for the tool. Paths are UTF-8 on every system; a failure
// throws vyr::Error "PATH: reason", with the system's reason.

#include <ostream>
#include <string>

#include "spell_list.h"

namespace vyr::cli {

std::string readFile(const std::string& path);
// A failed write leaves no partial file behind.
void writeFile(const std::string& path, const std::string& bytes);
// A command's result: path empty or "-" means the stream the command was given.
void writeResult(const std::string& path, const std::string& bytes, std::ostream& fallback);
// A scrambled data file read through the loader's own parser (the loader itself takes an
// 8-bit path, which on Windows cannot hold every accented name). A file that loads no
// spell is an error.
SpellList readSpellList(const std::string& path);

}  // namespace vyr::cli
