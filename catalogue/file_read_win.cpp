// Windows twin of file_read.cpp: read access only, shared for reading only, so a file
// held open for writing by another process cannot be opened.
#include "file_read.h"

#include <windows.h>

#include <new>

namespace vyr {

std::unique_ptr<char[]> readWholeFile(const char* path, std::uint32_t& size) {
    HANDLE file =
        ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    std::unique_ptr<char[]> buffer;
    DWORD high = 0;
    const DWORD low = ::GetFileSize(file, &high);
    // A size that cannot be obtained, or one beyond a 32-bit count, is a failed load.
    const bool sized = !(low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR);
    if (sized && high == 0 && low != 0xFFFFFFFF) {
        buffer.reset(new (std::nothrow) char[std::size_t{low} + 1]);
        DWORD read = 0;
        if (buffer && low > 0 && (!::ReadFile(file, buffer.get(), low, &read, nullptr) || read != low)) {
            buffer.reset();  // failed or short read
        }
        if (buffer) size = low;
    }
    ::CloseHandle(file);
    return buffer;
}

}  // namespace vyr
