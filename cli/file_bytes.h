#pragma once
// Whole-file reads and writes for the tool. Paths are UTF-8 on every system; a failure
// throws vyr::Error unreadableFile or unwritableFile, with the path and the system's errno.

#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>

#include "error.h"
#include "spell_list.h"

namespace vyr::cli {

std::string readFile(const std::string& path);
// The Error of a file that failed, from errno as the failed call left it; a folder is said as such whatever the
// system says.
Error fileFailure(const std::string& path, ErrorKind kind = ErrorKind::unreadableFile);
// Whether two paths (UTF-8) name one file, so that writing one would destroy the other; "" and "-" (a stream) name
// none.
bool samePath(const std::string& a, const std::string& b);
// A file written in pieces into a temporary file beside it, which replaces it only at
// commit: on any failure (disk full, quota, a folder in the way) the previous file stays
// byte for byte, the temporary is removed and the Error names the file and the reason.
class ReplacingFile {
  public:
    explicit ReplacingFile(std::string path);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;
    void write(std::string_view bytes);
    void commit();

  private:
    Error failed(int reason);
    std::string path_, temporary_;
    std::FILE* file_ = nullptr;
    bool committed_ = false;
};

// The whole file at once, through a ReplacingFile.
void writeFile(const std::string& path, const std::string& bytes);
// A command's result: path empty or "-" means the stream the command was given.
void writeResult(const std::string& path, const std::string& bytes, std::ostream& fallback);
// What vyr says of a file whose names look garbled (it still loads).
inline constexpr std::string_view garbledNamesNote =
    "la plupart des noms tiennent des caractères de contrôle : est-ce bien une liste de sorts ?";

// A spell file as players give it (spellListFromBytes; force: as the program reads it, whatever
// it looks like); how it was read, when it was not a data file, and names that look garbled
// are lines "vyr COMMAND : « PATH » : note" on notes.
SpellList readSpellList(const std::string& path, std::ostream& notes, std::string_view command, bool force = false);

}  // namespace vyr::cli
