#include "file_bytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "error.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace vyr::cli {

namespace {
std::string failure(const std::string& path) { return path + ": " + std::strerror(errno); }
}  // namespace

bool readFileBytes(const std::string& path, std::string& bytes, std::string& error) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = failure(path);
        return false;
    }
    bytes.clear();
    char chunk[64 * 1024];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    const bool failed = std::ferror(file) != 0;
    if (failed) error = failure(path);
    std::fclose(file);
    return !failed;
}

bool writeFileBytes(const std::string& path, const std::string& bytes, std::string& error) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = failure(path);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (!written) error = failure(path);
    const bool closed = std::fclose(file) == 0;
    if (written && !closed) error = failure(path);
    if (written && closed) return true;
    std::remove(path.c_str());
    return false;
}

std::string readFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) throw Error(path + ": is a folder, not a file");
    std::string bytes, error;
    if (!readFileBytes(path, bytes, error)) throw Error(error);
    return bytes;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::string error;
    if (!writeFileBytes(path, bytes, error)) throw Error(error);
}

void writeResult(const std::string& path, const std::string& bytes, std::ostream& fallback) {
    if (!path.empty() && path != "-") return writeFile(path, bytes);
    fallback << bytes;
    fallback.flush();
    if (!fallback) throw Error("standard output: the result could not be written in full");
}

std::string executableDirectory() {
#ifdef _WIN32
    char path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH) return {};
    std::string text(path, length);
    return text.substr(0, text.find_last_of("\\/") + 1);
#else
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || static_cast<std::size_t>(length) == sizeof path) return {};
    std::string text(path, static_cast<std::size_t>(length));
    return text.substr(0, text.find_last_of('/') + 1);
#endif
}

}  // namespace vyr::cli
