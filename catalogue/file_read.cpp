// POSIX twin of file_read_win.cpp.
#include "file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <new>

namespace vyr {

std::unique_ptr<char[]> readWholeFile(const char* path, std::uint32_t& size) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info {};
    std::unique_ptr<char[]> buffer;
    // A size that does not fit a 32-bit count (with room for the NUL) is a failed load.
    if (::fstat(fd, &info) == 0 && info.st_size >= 0 && info.st_size < 0xFFFFFFFF) {
        const auto fileSize = static_cast<std::uint32_t>(info.st_size);
        buffer.reset(new (std::nothrow) char[std::size_t{fileSize} + 1]);
        if (buffer && fileSize > 0 && ::read(fd, buffer.get(), fileSize) != static_cast<ssize_t>(fileSize)) {
            buffer.reset();  // failed or short read
        }
        if (buffer) size = fileSize;
    }
    ::close(fd);
    return buffer;
}

}  // namespace vyr
