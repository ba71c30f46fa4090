#pragma once
// One run of vyr-degats.exe, driven from outside through real window messages, as a
// user's clicks and keys would reach it.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace vyr::e2e {

inline constexpr DWORD timeoutMs = 15000;

// Polls every 10 ms until ready() or the time-out.
template <class Predicate>
bool waitUntil(Predicate ready, DWORD waitMs = timeoutMs) {
    for (const ULONGLONG end = ::GetTickCount64() + waitMs; !ready(); ::Sleep(10))
        if (::GetTickCount64() >= end) return false;
    return true;
}

// WM_GETTEXT, as GetWindowText would not ask another process's control.
inline std::wstring windowText(HWND window) {
    std::wstring text(8192, L'\0');
    text.resize(::SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
    return text;
}

inline bool isClass(HWND window, const wchar_t* name) {  // without regard to case, as classes compare
    wchar_t found[256] = {};
    return ::GetClassNameW(window, found, 256) && ::_wcsicmp(found, name) == 0;
}

inline std::vector<HWND> childWindows(HWND parent) {  // in creation (stacking) order
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

class AppSession {
  public:
    // Starts the program with workDir as its current directory.
    AppSession(const std::wstring& program, const std::wstring& workDir) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!::CreateProcessW(program.c_str(), (L"\"" + program + L"\"").data(), nullptr, nullptr, FALSE, 0, nullptr,
                              workDir.c_str(), &startup, &process_))
            process_ = {};
    }
    ~AppSession() {
        if (!process_.hProcess) return;
        if (!waitForExit(0)) ::TerminateProcess(process_.hProcess, 99), waitForExit();
        ::CloseHandle(process_.hThread);
        ::CloseHandle(process_.hProcess);
    }

    bool started() const { return process_.hProcess != nullptr; }
    // The top-level windows of the program's one thread but the dialog, only the shown ones
    // unless all are asked for.
    std::vector<HWND> otherWindows(bool all = false) const {
        std::vector<HWND> windows;
        auto add = [](HWND window, LPARAM list) {
            return reinterpret_cast<std::vector<HWND>*>(list)->push_back(window), TRUE;
        };
        ::EnumThreadWindows(process_.dwThreadId, add, reinterpret_cast<LPARAM>(&windows));
        std::erase_if(windows, [&](HWND w) { return !all && (w == dialog_ || !::IsWindowVisible(w)); });
        return windows;
    }
    // A top-level dialog of the program with this caption (shown or not: during start-up the
    // main dialog is not yet shown), waiting for it; nullptr on time-out.
    HWND waitForBox(const std::wstring& caption, bool shown = true) const {
        HWND box = nullptr;
        waitUntil([&] {
            for (HWND w : otherWindows(!shown)) box = isClass(w, L"#32770") && windowText(w) == caption ? w : box;
            return box != nullptr;
        });
        return box;
    }
    // Waits for the main dialog to be shown and the program idle in its message loop.
    bool waitReady() {
        return started() && waitUntil([&] {
                   return (dialog_ = waitForBox(L"Vyr D\u00e9gats", false)) && ::IsWindowVisible(dialog_);
               }) &&
               ::WaitForInputIdle(process_.hProcess, timeoutMs) == 0 && sync();
    }
    HWND dialog() const { return dialog_; }
    HWND control(int id) const { return ::GetDlgItem(dialog_, id); }
    std::wstring text(int id) const { return windowText(control(id)); }
    void setText(int id, const std::wstring& text) const {
        ::SendMessageW(control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

    // Posted as a user's mouse and keyboard would: a click at the centre, a key press.
    void click(HWND window) const {
        RECT client{};
        ::GetClientRect(window, &client);
        const LPARAM at = MAKELPARAM(client.right / 2, client.bottom / 2);
        ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(window, WM_LBUTTONUP, 0, at);
    }
    void click(int id) const { click(control(id)); }
    void pressKey(HWND window, UINT key) const {
        ::PostMessageW(window, WM_KEYDOWN, key, 1 | static_cast<LPARAM>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16);
    }

    // Returns once every message posted before is handled: a marker posted behind them (a sent
    // one would overtake them), the text limit of the "Spécial :" box, is read back.
    bool sync() {
        const unsigned marker = 0x40000000 + ++marker_;
        return ::PostMessageW(control(1033), EM_SETLIMITTEXT, marker, 0) &&
               waitUntil([&] { return ::SendMessageW(control(1033), EM_GETLIMITTEXT, 0, 0) == LRESULT(marker); });
    }
    HWND focus() const {  // the focused window of the program's thread
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return ::GetGUIThreadInfo(process_.dwThreadId, &info) ? info.hwndFocus : nullptr;
    }
    // The exit code, once the process has ended; nothing on time-out.
    std::optional<DWORD> waitForExit(DWORD waitMs = timeoutMs) const {
        DWORD code = 0;
        const bool ended = ::WaitForSingleObject(process_.hProcess, waitMs) == WAIT_OBJECT_0;
        return ended && ::GetExitCodeProcess(process_.hProcess, &code) ? std::optional(code) : std::nullopt;
    }

  private:
    PROCESS_INFORMATION process_{};
    HWND dialog_ = nullptr;
    unsigned marker_ = 0;
};

}  // namespace vyr::e2e
