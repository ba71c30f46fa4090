#include "file_bytes.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "cp1252.h"
#include "error.h"
#include "platform.h"
#include "spell_file.h"

namespace vyr::cli {

namespace {
std::filesystem::path fromUtf8(const std::string& path) { return std::u8string(path.begin(), path.end()); }

// Uses errno as the failed call left it.
Error failure(const std::string& path) {
    const int reason = errno;
    std::error_code ignored;
    if (std::filesystem::is_directory(fromUtf8(path), ignored))
        return Error(path + " : est un dossier, pas un fichier");
    return Error(path + " : " + std::strerror(reason));
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

void writeFile(const std::string& path, const std::string& bytes) {
    errno = 0;
    std::FILE* file = openFile(path, "wb");
    if (!file) throw failure(path);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int reason = errno;
    if (std::fclose(file) == 0 && written) return;
    if (!written) errno = reason;
    const Error error = failure(path);
    std::error_code ignored;
    if (std::filesystem::is_regular_file(fromUtf8(path), ignored)) std::filesystem::remove(fromUtf8(path), ignored);
    throw error;
}

void writeResult(const std::string& path, const std::string& bytes, std::ostream& fallback) {
    if (!path.empty() && path != "-") return writeFile(path, bytes);
    fallback << bytes;
    fallback.flush();
    if (!fallback) throw Error("sortie standard : le résultat n'a pas pu être écrit en entier");
}

SpellList readSpellList(const std::string& path) {
    std::string text = readFile(path);
    if (text.size() >= UINT32_MAX) throw Error(path + " : trop grand pour un fichier de sorts");
    unscramble(text.data(), text.size());
    SpellList list;
    SpellNameList names;
    // The parser's closing NUL goes where std::string keeps one already.
    if (parseSpellText(text.data(), static_cast<std::uint32_t>(text.size()), *list.catalogue, names) == 0)
        throw Error(path + " : aucun sort n'a pu être chargé de ce fichier (vyr check dit pourquoi)");
    list.names = std::move(names.names);
    for (const std::string& name : list.names) list.utf8Names.push_back(cp1252ToUtf8(name));
    return list;
}

}  // namespace vyr::cli
