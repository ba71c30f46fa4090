#include "file_bytes.h"

#include <cerrno>
#include <filesystem>

#include "error_words.h"
#include "platform.h"

namespace vyr::cli {

namespace {
std::filesystem::path fromUtf8(const std::string& path) { return std::u8string(path.begin(), path.end()); }

}  // namespace

Error fileFailure(const std::string& path, ErrorKind kind) {
    int reason = errno;
    std::error_code ignored;
    if (std::filesystem::is_directory(fromUtf8(path), ignored)) reason = EISDIR;
    return Error(kind, {{"path", path}, {"errno", std::to_string(reason)}});
}

bool samePath(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty() || a == "-" || b == "-") return false;
    std::error_code ignored;
    const auto normal = [&](const std::string& p) {
        return std::filesystem::absolute(fromUtf8(p), ignored).lexically_normal();
    };
    return a == b || normal(a) == normal(b) || std::filesystem::equivalent(fromUtf8(a), fromUtf8(b), ignored);
}

std::string readFile(const std::string& path) {
    errno = 0;
    std::FILE* file = openFile(path, "rb");
    if (!file) throw fileFailure(path);
    std::string bytes;
    char chunk[64 * 1024];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    const bool failed = std::ferror(file) != 0;
    const int reason = errno;
    std::fclose(file);
    errno = reason;
    if (failed) throw fileFailure(path);  // a folder opens on some systems and fails at the first read
    return bytes;
}

ReplacingFile::ReplacingFile(std::string path) : path_(std::move(path)) {
    std::error_code ignored;
    const std::filesystem::file_status target = std::filesystem::status(fromUtf8(path_), ignored);
    // A device or a pipe (/dev/null) cannot be replaced: it is written in place.
    const bool special = std::filesystem::exists(target) && !std::filesystem::is_regular_file(target) &&
                         !std::filesystem::is_directory(target);
    static unsigned made = 0;
    temporary_ = special ? path_ : path_ + ".vyr-" + std::to_string(processId()) + "-" + std::to_string(++made);
    errno = 0;
    file_ = openFile(temporary_, "wb");
    if (!file_) throw failed(errno);
    if (std::filesystem::is_regular_file(target))
        std::filesystem::permissions(fromUtf8(temporary_), target.permissions(), ignored);
}

ReplacingFile::~ReplacingFile() {
    if (file_) std::fclose(file_);
    std::error_code ignored;
    if (!committed_ && temporary_ != path_) std::filesystem::remove(fromUtf8(temporary_), ignored);
}

Error ReplacingFile::failed(int reason) {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    std::error_code ignored;
    if (temporary_ != path_) std::filesystem::remove(fromUtf8(temporary_), ignored);
    errno = reason;
    return fileFailure(path_, ErrorKind::unwritableFile);
}

void ReplacingFile::write(std::string_view bytes) {
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) throw failed(errno);
}

void ReplacingFile::commit() {
    errno = 0;
    if (std::fflush(file_) != 0) throw failed(errno);
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (closed != 0) throw failed(errno);
    if (temporary_ != path_ && !replaceFile(temporary_, path_)) throw failed(errno);
    committed_ = true;
}

void writeFile(const std::string& path, const std::string& bytes) {
    ReplacingFile file(path);
    file.write(bytes);
    file.commit();
}

void writeResult(const std::string& path, const std::string& bytes, std::ostream& fallback) {
    if (!path.empty() && path != "-") return writeFile(path, bytes);
    fallback << bytes;
    fallback.flush();
    if (!fallback) throw Failure("sortie standard : le résultat n'a pas pu être écrit en entier");
}

SpellList readSpellList(const std::string& path, std::ostream& notes, std::string_view command, bool force) {
    SpellList list =
        spellListFromBytes(readFile(path), path, force ? std::optional(SpellFileForm::scrambled) : std::nullopt);
    const std::string about = "vyr " + std::string(command) + " : « " + path + " » : ";
    if (list.form == SpellFileForm::plain) notes << about << "liste en clair (non brouillée), lue telle quelle\n";
    if (list.garbledNames) notes << about << garbledNamesNote << '\n';
    return list;
}

}  // namespace vyr::cli
