#include "file_bytes.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "error.h"
#include "platform.h"

namespace vyr::cli {

namespace {
std::filesystem::path fromUtf8(const std::string& path) { return std::u8string(path.begin(), path.end()); }

// Uses errno as the failed call left it.
Error failure(const std::string& path) {
    const int reason = errno;
    std::error_code ignored;
    if (std::filesystem::is_directory(fromUtf8(path), ignored)) return Error(path + ": is a folder, not a file");
    return Error(path + ": " + std::strerror(reason));
}
}  // namespace

std::string readFile(const std::string& path) {
    errno = 0;
    std::FILE* file = openFile(path, "rb");
    if (!file) throw failure(path);
    std::string bytes;
    char chunk[64 * 1024];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    const bool failed = std::ferror(file) != 0;
    const int reason = errno;
    std::fclose(file);
    errno = reason;
    if (failed) throw failure(path);  // a folder opens on some systems and fails at the first read
    return bytes;
}

// The bytes go to a temporary file beside the target, which replaces the target only once
// complete: a failed write (disk full, quota) leaves the previous file as it was.
void writeFile(const std::string& path, const std::string& bytes) {
    static unsigned attempt = 0;
    const std::string temporary = path + ".vyr-" + std::to_string(processId()) + "-" + std::to_string(++attempt);
    std::error_code ignored;
    const auto fail = [&](int reason) {
        std::filesystem::remove(fromUtf8(temporary), ignored);
        errno = reason;
        const Error error = failure(path);
        return Error(std::string(error.what()) + " (rien n'est écrit ; le fichier précédent reste tel quel)");
    };
    errno = 0;
    std::FILE* file = openFile(temporary, "wb");
    if (!file) throw fail(errno);
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
    int reason = errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        reason = errno;
    }
    if (!written) throw fail(reason);
    errno = 0;
    if (!replaceFile(temporary, path)) throw fail(errno);
}

void writeResult(const std::string& path, const std::string& bytes, std::ostream& fallback) {
    if (!path.empty() && path != "-") return writeFile(path, bytes);
    fallback << bytes;
    fallback.flush();
    if (!fallback) throw Error("standard output: the result could not be written in full");
}

SpellList readSpellList(const std::string& path, std::ostream& notes, std::string_view command) {
    SpellList list = spellListFromBytes(readFile(path), path);
    if (!list.note.empty()) notes << "vyr " << command << ": " << list.note << '\n';
    return list;
}

}  // namespace vyr::cli
