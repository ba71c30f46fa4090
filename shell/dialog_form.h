#pragma once
// The main dialog as the calculator's form: a field id is the id of the control that
// shows it. Texts cross the wide API, converted from and to Windows-1252 explicitly, so
// that accents show right whatever the system's ANSI code page.

#include <windows.h>

#include "calculator_form.h"

namespace vyr {

class DialogForm final : public CalculatorForm {
  public:
    explicit DialogForm(HWND dialog) : dialog_(dialog) {}

    std::string fieldText(int id) const override;
    void writeText(int id, const char* text) override;
    std::optional<std::size_t> selectedSpell() const override;
    // The spell list is a combo box: a name is appended with its add-string message.
    void addName(const char* name) override;

  private:
    HWND dialog_;
};

}  // namespace vyr
