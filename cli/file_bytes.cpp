#include "file_bytes.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>

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
    std::filesystem::remove(fromUtf8(path), ignored);
    throw error;
}

void writeResult(const std::string& path, const std::string& bytes, std::ostream& fallback) {
    if (!path.empty() && path != "-") return writeFile(path, bytes);
    fallback << bytes;
    fallback.flush();
    if (!fallback) throw Error("standard output: the result could not be written in full");
}

bool writeFileBytes(const std::string& path, const std::string& bytes, std::string& error) {
    try {
        writeFile(path, bytes);
        return true;
    } catch (const Error& e) {
        error = e.what();
        return false;
    }
}

std::size_t readSpellFile(const std::string& path, SpellCatalogue& catalogue, SpellNameSink& sink) {
    std::string text = readFile(path);
    if (text.size() >= UINT32_MAX) throw Error(path + ": too large for a data file");
    unscramble(text.data(), text.size());
    const auto size = static_cast<std::uint32_t>(text.size());
    text.push_back('\0');  // the parser ends the text with a NUL of its own
    const std::size_t loaded = parseSpellText(text.data(), size, catalogue, sink);
    if (loaded == 0) throw Error(path + ": no spell could be loaded from this file (vyr check tells why)");
    return loaded;
}

}  // namespace vyr::cli
