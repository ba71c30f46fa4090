#include "platform.h"

#include <unistd.h>

#include <csignal>

namespace vyr::cli {

std::vector<std::string> utf8Arguments(int argc, char** argv) { return {argv, argv + argc}; }

void prepareConsole() { std::signal(SIGXFSZ, SIG_IGN); }

std::FILE* openFile(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

bool replaceFile(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }

unsigned long processId() { return static_cast<unsigned long>(::getpid()); }

std::string executableDirectory() {
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || static_cast<std::size_t>(length) == sizeof path) return {};
    const std::string text(path, static_cast<std::size_t>(length));
    return text.substr(0, text.find_last_of('/') + 1);
}

}  // namespace vyr::cli
