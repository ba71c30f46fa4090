#include "dialog_form.h"

#include <string>

#include "cp1252.h"

namespace vyr {

std::string DialogForm::fieldText(int id) const {
    const HWND control = ::GetDlgItem(dialog_, id);
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    const int length = ::GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return wideToCp1252(text);
}

void DialogForm::writeText(int id, const char* text) { ::SetDlgItemTextW(dialog_, id, cp1252ToWide(text).c_str()); }

std::optional<std::size_t> DialogForm::selectedSpell() const {
    const LRESULT position = ::SendDlgItemMessageW(dialog_, field::spellList, CB_GETCURSEL, 0, 0);
    if (position == CB_ERR) return std::nullopt;
    return static_cast<std::size_t>(position);
}

void DialogForm::addName(const char* name) {
    const std::wstring wide = cp1252ToWide(name);
    ::SendDlgItemMessageW(dialog_, field::spellList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

}  // namespace vyr
