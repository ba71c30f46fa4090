#include "app_session.h"

#include <algorithm>

namespace vyr::e2e {
namespace {

constexpr wchar_t dialogClass[] = L"#32770";
constexpr wchar_t mainCaption[] = L"Vyr D\u00e9gats";
// Marker values: far above any text limit the program could use itself.
constexpr unsigned markerBase = 0x40000000;
constexpr DWORD pollMs = 10;

template <class Predicate>
bool waitUntil(DWORD timeoutMs, Predicate ready) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (!ready()) {
        if (::GetTickCount64() >= end) return false;
        ::Sleep(pollMs);
    }
    return true;
}

}  // namespace

std::wstring windowText(HWND window) {
    // One WM_GETTEXT into a buffer larger than any text of the program: under a loaded
    // machine every message to another process costs a few milliseconds. (GetWindowText
    // would not ask another process's control at all.)
    constexpr std::size_t capacity = 8192;
    std::wstring text(capacity, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, capacity, reinterpret_cast<LPARAM>(text.data()),
                               SMTO_ABORTIFHUNG, defaultTimeoutMs, &copied)) {
        return L"<no answer>";
    }
    text.resize(std::min<std::size_t>(copied, capacity - 1));
    return text;
}

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    ::GetClassNameW(window, name, 256);
    return name;
}

std::vector<HWND> childWindows(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

std::vector<HWND> processWindows(DWORD processId) {
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId, {}};
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == s->processId) s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

AppSession::AppSession(const std::wstring& program, const std::wstring& workDir) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workDir.c_str(), &startup, &process_)) {
        process_ = {};
    }
}

AppSession::~AppSession() {
    if (!process_.hProcess) return;
    if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_.hProcess, 99);
        ::WaitForSingleObject(process_.hProcess, defaultTimeoutMs);
    }
    ::CloseHandle(process_.hThread);
    ::CloseHandle(process_.hProcess);
}

HWND AppSession::findDialog() const {
    for (HWND window : processWindows(process_.dwProcessId)) {
        if (className(window) == dialogClass && windowText(window) == mainCaption) return window;
    }
    return nullptr;
}

bool AppSession::waitReady(DWORD timeoutMs) {
    if (!started()) return false;
    const bool shown = waitUntil(timeoutMs, [&] {
        dialog_ = findDialog();
        return dialog_ && ::IsWindowVisible(dialog_);
    });
    return shown && ::WaitForInputIdle(process_.hProcess, timeoutMs) == 0 && sync(timeoutMs);
}

void AppSession::setText(int id, const std::wstring& text) const {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                          SMTO_ABORTIFHUNG, defaultTimeoutMs, &result);
}

void AppSession::click(HWND window) const {
    RECT client{};
    ::GetClientRect(window, &client);
    const LPARAM at = MAKELPARAM(client.right / 2, client.bottom / 2);
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(window, WM_LBUTTONUP, 0, at);
}

void AppSession::postKeyDown(HWND window, UINT virtualKey) const {
    const UINT scanCode = ::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    ::PostMessageW(window, WM_KEYDOWN, virtualKey, 1 | (static_cast<LPARAM>(scanCode) << 16));
}

void AppSession::postCommand(UINT message, WPARAM wParam, LPARAM lParam) const {
    ::PostMessageW(dialog_, message, wParam, lParam);
}

bool AppSession::sync(DWORD timeoutMs) {
    // The text limit of the "Spécial :" box is the marker: posting it is harmless, and
    // reading it back tells that the program's thread got that far in its queue.
    const HWND target = control(1033);
    const unsigned marker = markerBase + ++marker_;
    if (!::PostMessageW(target, EM_SETLIMITTEXT, marker, 0)) return false;
    return waitUntil(timeoutMs, [&] {
        DWORD_PTR limit = 0;
        return ::SendMessageTimeoutW(target, EM_GETLIMITTEXT, 0, 0, SMTO_ABORTIFHUNG, timeoutMs,
                                     &limit) &&
               limit == marker;
    });
}

HWND AppSession::focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(process_.dwThreadId, &info)) return nullptr;
    return info.hwndFocus;
}

HWND AppSession::waitForBox(const std::wstring& caption, DWORD timeoutMs) const {
    HWND box = nullptr;
    waitUntil(timeoutMs, [&] {
        for (HWND window : processWindows(process_.dwProcessId)) {
            if (window != dialog_ && className(window) == dialogClass && ::IsWindowVisible(window) &&
                windowText(window) == caption) {
                box = window;
                return true;
            }
        }
        return false;
    });
    return box;
}

std::vector<HWND> AppSession::otherWindows() const {
    std::vector<HWND> others;
    for (HWND window : processWindows(process_.dwProcessId)) {
        if (window != dialog_ && ::IsWindowVisible(window)) others.push_back(window);
    }
    return others;
}

std::optional<DWORD> AppSession::waitForExit(DWORD timeoutMs) const {
    if (::WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

}  // namespace vyr::e2e
