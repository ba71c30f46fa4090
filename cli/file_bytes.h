#pragma once
// Whole-file reads and writes for the tool. Paths are UTF-8 on every system; a failure
// throws vyr::Error "PATH: reason", with the system's reason.

#include <cstddef>
#include <ostream>
#include <string>

namespace vyr {
class SpellCatalogue;
class SpellNameSink;
}  // namespace vyr

namespace vyr::cli {

std::string readFile(const std::string& path);
// A failed write leaves no partial file behind.
void writeFile(const std::string& path, const std::string& bytes);
// A command's result: path empty or "-" means the stream the command was given.
void writeResult(const std::string& path, const std::string& bytes, std::ostream& fallback);
// The same as writeFile, for callers that report the error themselves.
bool writeFileBytes(const std::string& path, const std::string& bytes, std::string& error);

// A scrambled data file read through the loader's own parser (the loader itself takes
// an 8-bit path, which on Windows cannot hold every accented name). Returns the count of
// records loaded; a file that loads none is an error.
std::size_t readSpellFile(const std::string& path, SpellCatalogue& catalogue, SpellNameSink& sink);

}  // namespace vyr::cli
