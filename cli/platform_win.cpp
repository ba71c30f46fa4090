#include "platform.h"

#include <cerrno>
#include <cstdlib>
#include <utility>

#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>

namespace vyr::cli {

namespace {
std::wstring widen(const std::string& utf8) {
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(static_cast<std::size_t>(::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)),
                      L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
    return wide;
}

std::string narrow(const std::wstring& wide) {
    const int size = static_cast<int>(wide.size());
    std::string utf8(
        static_cast<std::size_t>(::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr)),
        '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
    return utf8;
}

UINT callersCodePage = 0;
}  // namespace

// argv holds the arguments in the ANSI code page, where most accented names cannot be
// told apart: the wide command line has them all.
std::vector<std::string> utf8Arguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide) return {argv, argv + argc};
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(narrow(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

// The console's code page outlives the program, so the caller's one comes back at exit.
void prepareConsole() {
    callersCodePage = ::GetConsoleOutputCP();
    if (callersCodePage != 0 && ::SetConsoleOutputCP(CP_UTF8))
        std::atexit([] { ::SetConsoleOutputCP(callersCodePage); });
    _setmode(_fileno(stdout), _O_BINARY);
}

std::FILE* openFile(const std::string& path, const char* mode) {
    return ::_wfopen(widen(path).c_str(), widen(mode).c_str());
}

bool replaceFile(const std::string& from, const std::string& to) {
    if (::MoveFileExW(widen(from).c_str(), widen(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    // As errno, which vyr words in French; a reason not listed here is said as a disk error.
    static constexpr std::pair<DWORD, int> reasons[] = {{ERROR_ACCESS_DENIED, EACCES},
                                                        {ERROR_PATH_NOT_FOUND, ENOENT},
                                                        {ERROR_FILE_NOT_FOUND, ENOENT},
                                                        {ERROR_DISK_FULL, ENOSPC},
                                                        {ERROR_HANDLE_DISK_FULL, ENOSPC},
                                                        {ERROR_WRITE_PROTECT, EROFS},
                                                        {ERROR_SHARING_VIOLATION, EBUSY},
                                                        {ERROR_LOCK_VIOLATION, EBUSY},
                                                        {ERROR_FILENAME_EXCED_RANGE, ENAMETOOLONG},
                                                        {ERROR_TOO_MANY_OPEN_FILES, EMFILE}};
    const DWORD error = ::GetLastError();
    errno = EIO;
    for (const auto& [system, reason] : reasons) {
        if (system == error) errno = reason;
    }
    return false;
}

unsigned long processId() { return ::GetCurrentProcessId(); }

std::string executableDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), MAX_PATH);
    if (length == 0 || length == MAX_PATH) return {};
    path.resize(length);
    return narrow(path.substr(0, path.find_last_of(L"\\/") + 1));
}

}  // namespace vyr::cli
