#include "main_dialog.h"

#include "calculation_run.h"
#include "cp1252.h"
#include "dialog_form.h"
#include "fields.h"
#include "resource.h"
#include "spell_file.h"
#include "spell_record.h"

namespace vyr {
namespace {

HINSTANCE storedInstance = nullptr;

// Texts are Windows-1252: "Impossible de charger le fichier de données".
constexpr const char* loadFailedText =
    "Impossible de charger le fichier de donn\xE9"
    "es";
constexpr const char* loadFailedCaption = "Erreur de chargement";

INT_PTR onInitDialog(HWND dialog) {
    DialogForm form(dialog);
    // Relative path: the data file is looked for in the current directory.
    if (loadSpellFile(spellFileName, form) == 0) {
        showMessage(dialog, loadFailedText, loadFailedCaption, MB_ICONINFORMATION | MB_OK);
        // Start-up goes on; the message loop ends when it reaches this request.
        ::PostQuitMessage(0);
    }
    const HICON icon = ::LoadIconW(storedInstance, MAKEINTRESOURCEW(VYR_IDI_MAIN));
    ::SetClassLongPtrW(dialog, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
    setDefaults(form);
    return FALSE;  // no control is given the focus
}

INT_PTR onQuit(HWND) {
    ::PostQuitMessage(0);
    return TRUE;
}

INT_PTR onGo(HWND dialog) {
    runCalculationOn(dialog);
    return TRUE;
}

struct ButtonCommand {
    int id;
    INT_PTR (*handler)(HWND dialog);
};

// Buttons act whatever their notification.
constexpr ButtonCommand buttonCommands[] = {
    {field::quitButton, &onQuit},
    {field::goButton, &onGo},
};

INT_PTR onCommand(HWND dialog, int id, int notification) {
    for (const ButtonCommand& command : buttonCommands) {
        if (command.id == id) return command.handler(dialog);
    }
    // Only edits report EN_KILLFOCUS: the spell list's own edit reports to the combo box,
    // which tells the dialog CBN_KILLFOCUS, so the list never receives "100".
    if (notification == EN_KILLFOCUS) {
        DialogForm form(dialog);
        onFieldLeft(form, id);
        return TRUE;
    }
    return FALSE;
}

INT_PTR onSysCommand(WPARAM command) {
    // The close box, the system menu's close entry and Alt+F4 all send SC_CLOSE; every
    // other system command keeps its default handling. The system may use the four low
    // bits of the command, so they are masked off before the comparison.
    if ((command & 0xFFF0) != SC_CLOSE) return FALSE;
    ::PostQuitMessage(0);
    return TRUE;
}

}  // namespace

void setModuleInstance(HINSTANCE instance) { storedInstance = instance; }

int showMessage(HWND owner, const char* text, const char* caption, UINT type) {
    return ::MessageBoxW(owner, cp1252ToWide(text).c_str(), cp1252ToWide(caption).c_str(), type);
}

void runCalculationOn(HWND dialog) {
    DialogForm form(dialog);
    runCalculation(form, spellCatalogue(), [dialog](const char* text, const char* caption) {
        showMessage(dialog, text, caption, MB_ICONEXCLAMATION | MB_OK);
    });
}

INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return onInitDialog(dialog);
        case WM_COMMAND:
            return onCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        case WM_SYSCOMMAND:
            return onSysCommand(wParam);
        default:
            return FALSE;
    }
}

}  // namespace vyr
