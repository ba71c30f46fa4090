#pragma once
// The dialog template as stored in the program's resources (DLGTEMPLATEEX), read back
// so that the styles the template asks for can be checked before the dialog manager
// adjusts them on the live windows.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "expected_layout.h"

namespace vyr::e2e {

struct TemplateItem {
    DWORD style = 0;
    int id = 0;
    std::wstring className;  // predefined classes by name: "Button", "Edit", ...
    std::wstring text;
    DialogUnits units{};
};

struct DialogTemplate {
    DWORD style = 0;
    DialogUnits units{};
    std::wstring caption;
    std::wstring font;
    WORD points = 0;
    std::vector<TemplateItem> items;
};

// Reads dialog id in the given language from a module loaded as a data file.
std::optional<DialogTemplate> readDialogTemplate(HMODULE module, int id, LANGID language);

}  // namespace vyr::e2e
