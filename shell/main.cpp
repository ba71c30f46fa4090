// Entry of vyr-degats.exe: create the modeless main dialog, show it, run the one message
// loop of the process until a quit request arrives.
#include <windows.h>

#include "main_dialog.h"
#include "resource.h"

namespace {

// "Erreur à la création de la boite de dialogue", in Windows-1252.
constexpr const char* creationFailedText =
    "Erreur \xE0 la cr\xE9"
    "ation de la boite de dialogue";

bool isEnterKeyDown(const MSG& message) { return message.message == WM_KEYDOWN && message.wParam == VK_RETURN; }

// No dialog-manager keyboard handling (no IsDialogMessage): Enter reaches this loop,
// whatever window of the thread has the focus, and starts a run like "GO !".
int runMessageLoop(HWND dialog) {
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (isEnterKeyDown(message)) {
            vyr::runCalculationOn(dialog);
            continue;  // neither translated nor dispatched
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    vyr::setModuleInstance(instance);
    const HWND dialog = ::CreateDialogParamW(instance, MAKEINTRESOURCEW(VYR_IDD_MAIN), nullptr, vyr::mainDialogProc, 0);
    if (dialog == nullptr) {
        vyr::showMessage(nullptr, creationFailedText, "Erreur", MB_ICONEXCLAMATION | MB_OK);
        return -1;
    }
    // Always the plain show, whatever show command the process was started with.
    ::ShowWindow(dialog, SW_SHOW);
    ::UpdateWindow(dialog);
    return runMessageLoop(dialog);
}
