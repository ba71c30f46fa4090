#pragma once
// What the main dialog's template must create: the dialog itself and its 90 controls in
// creation order. Written from the dialog's description, not from the .rc file, so that
// the two are checked against each other.

#include <windows.h>

#include <array>
#include <string_view>

namespace vyr::e2e {

enum class Kind { DefaultButton, GroupBox, Label, Edit, ComboBox };

struct DialogUnits {
    int x, y, width, height;
};

struct ExpectedControl {
    int id;                  // -1: no id
    Kind kind;
    DWORD extraStyle;        // beyond the kind's own styles
    std::wstring_view text;  // template text (edits: none)
    DialogUnits units;
};

inline constexpr int noId = -1;
inline constexpr DWORD digits = ES_NUMBER;
inline constexpr DWORD readOnly = ES_NUMBER | ES_READONLY;

extern const std::array<ExpectedControl, 90> expectedControls;

// Window class and base style of each kind of control.
std::wstring_view kindClass(Kind kind);
DWORD kindStyle(Kind kind);
const char* kindName(Kind kind);

inline constexpr std::wstring_view dialogCaption = L"Vyr D\u00e9gats";
inline constexpr int dialogWidthUnits = 485;
inline constexpr int dialogHeightUnits = 303;
inline constexpr std::wstring_view dialogFont = L"MS Sans Serif";
inline constexpr WORD dialogFontPoints = 8;
inline constexpr DWORD dialogStyle = DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;

}  // namespace vyr::e2e
