#pragma once
// One run of vyr-degats.exe, driven from outside through real window messages, as a
// user's clicks and keys would reach it.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace vyr::e2e {

inline constexpr DWORD defaultTimeoutMs = 15000;

std::wstring windowText(HWND window);
std::wstring className(HWND window);
// The direct children of a window in creation (stacking) order.
std::vector<HWND> childWindows(HWND parent);
// Top-level windows of a process.
std::vector<HWND> processWindows(DWORD processId);

class AppSession {
public:
    // Starts the program with workDir as its current directory.
    AppSession(const std::wstring& program, const std::wstring& workDir);
    ~AppSession();
    AppSession(const AppSession&) = delete;
    AppSession& operator=(const AppSession&) = delete;

    bool started() const { return process_.hProcess != nullptr; }
    DWORD processId() const { return process_.dwProcessId; }

    // Waits for the main dialog to be shown and the program idle in its message loop.
    bool waitReady(DWORD timeoutMs = defaultTimeoutMs);
    // The main dialog, found whether shown or not (during start-up it is not yet shown).
    HWND findDialog() const;
    HWND dialog() const { return dialog_; }
    HWND control(int id) const { return ::GetDlgItem(dialog_, id); }

    std::wstring text(int id) const { return windowText(control(id)); }
    void setText(int id, const std::wstring& text) const;

    // Mouse clicks, posted to the control at its centre.
    void click(HWND window) const;
    void click(int id) const { click(control(id)); }
    void postKeyDown(HWND window, UINT virtualKey) const;
    void postCommand(UINT message, WPARAM wParam, LPARAM lParam) const;

    // Returns once every message posted before the call has been handled: a marker is
    // posted behind them and awaited (a sent message would overtake posted ones).
    bool sync(DWORD timeoutMs = defaultTimeoutMs);

    // The focused window of the program's thread.
    HWND focus() const;

    // A message box of the program with this caption, once it is shown.
    HWND waitForBox(const std::wstring& caption, DWORD timeoutMs = defaultTimeoutMs) const;
    // Top-level windows of the program other than the main dialog.
    std::vector<HWND> otherWindows() const;

    // The exit code, once the process has ended; nothing on time-out.
    std::optional<DWORD> waitForExit(DWORD timeoutMs = defaultTimeoutMs) const;

private:
    PROCESS_INFORMATION process_{};
    HWND dialog_ = nullptr;
    unsigned marker_ = 0;
};

}  // namespace vyr::e2e
