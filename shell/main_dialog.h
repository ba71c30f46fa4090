#pragma once
// The program's one window: the modeless main dialog and what its commands do.

#include <windows.h>

namespace vyr {

// The module whose resources hold the dialog template and the icon; stored by the
// entry function before the dialog is created.
void setModuleInstance(HINSTANCE instance);

INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// One calculation run on the dialog, as "GO !" and the Enter key start it.
void runCalculationOn(HWND dialog);

// A modal box with Windows-1252 text and caption, shown through the wide API.
int showMessage(HWND owner, const char* text, const char* caption, UINT type);

}  // namespace vyr
