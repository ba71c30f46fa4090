// The dialog as created: template, icon, start-up state, launch time.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwctype>

#include "core_model.h"
#include "dialog_template.h"
#include "expected_layout.h"
#include "fields.h"
#include "scenarios.h"
#include "screen.h"

namespace vyr::e2e {
namespace {

// Dialog units become pixels through a dialog's font: a hidden dialog of the driver's
// own, with the same font, converts them (MapDialogRect works in-process only).
class UnitConverter {
public:
    UnitConverter() {
        std::vector<WORD> words;
        auto push32 = [&](DWORD value) {
            words.push_back(LOWORD(value));
            words.push_back(HIWORD(value));
        };
        push32(WS_POPUP | WS_CAPTION | DS_SETFONT);
        push32(0);  // extended style
        for (WORD w : {0, 0, 0, dialogWidthUnits, dialogHeightUnits}) words.push_back(w);  // items, x, y, cx, cy
        words.insert(words.end(), {0, 0, 0});  // no menu, default class, no title
        words.push_back(dialogFontPoints);
        words.insert(words.end(), dialogFont.begin(), dialogFont.end());
        words.push_back(0);
        template_ = std::move(words);
        dialog_ = ::CreateDialogIndirectParamW(
            ::GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(template_.data()),
            nullptr, [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    }
    ~UnitConverter() {
        if (dialog_) ::DestroyWindow(dialog_);
    }
    UnitConverter(const UnitConverter&) = delete;
    UnitConverter& operator=(const UnitConverter&) = delete;

    bool ok() const { return dialog_ != nullptr; }
    // Position and size convert separately, as the dialog manager places controls.
    RECT toPixels(const DialogUnits& units) const {
        RECT r{units.x, units.y, units.width, units.height};
        ::MapDialogRect(dialog_, &r);
        return {r.left, r.top, r.left + r.right, r.top + r.bottom};
    }

private:
    std::vector<WORD> template_;
    HWND dialog_ = nullptr;
};

std::string describe(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::wstring lower(std::wstring_view text) {
    std::wstring out(text);
    for (wchar_t& c : out) c = static_cast<wchar_t>(std::towlower(c));
    return out;
}

RECT clientRectOf(HWND window, HWND dialog) {
    RECT r{};
    ::GetWindowRect(window, &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void checkDialog(Checks& checks, HWND dialog, const UnitConverter& units) {
    checks.expectEqual(windowText(dialog), dialogCaption, "dialog caption");
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(dialog, GWL_STYLE));
    // The system adds WS_CLIPSIBLINGS to every top-level window, and DS_3DLOOK to dialogs.
    checks.expectEqual(style & ~static_cast<DWORD>(WS_CLIPSIBLINGS | DS_3DLOOK),
                       dialogStyle | WS_VISIBLE, "dialog style");
    RECT client{};
    ::GetClientRect(dialog, &client);
    const RECT expected = units.toPixels({0, 0, dialogWidthUnits, dialogHeightUnits});
    checks.expect(sameRect(client, expected),
                  "dialog client area " + describe(client) + ", expected " + describe(expected));

    RECT window{};
    ::GetWindowRect(dialog, &window);
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const long dx = (window.left - work.left) - (work.right - window.right);
    const long dy = (window.top - work.top) - (work.bottom - window.bottom);
    checks.expect(dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1,
                  "dialog centred on the screen: " + describe(window) + " in " + describe(work));
}

// The style the template gave, recovered from what the dialog manager and the controls
// make of it on the live window.
DWORD templateStyleOf(HWND control, Kind kind) {
    DWORD style = static_cast<DWORD>(::GetWindowLongW(control, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongW(control, GWL_EXSTYLE));
    switch (kind) {
    case Kind::Edit:
        // A bordered edit of a dialog is drawn with a sunken edge instead.
        if (exStyle & WS_EX_CLIENTEDGE) style |= WS_BORDER;
        break;
    case Kind::DefaultButton:
        // The dialog manager moves the default-button look with the focus; the
        // template's own style is checked in the resource.
        if ((style & BS_TYPEMASK) == BS_PUSHBUTTON) style |= BS_DEFPUSHBUTTON;
        break;
    case Kind::ComboBox:
        // The combo box hands its scroll bar to its drop-down list, which shows it only
        // when the names overflow; the template's own style is checked in the resource.
        style |= WS_VSCROLL;
        break;
    default:
        break;
    }
    return style;
}

std::string controlName(const ExpectedControl& expected, std::size_t index) {
    return "control #" + std::to_string(index + 1) + " (" + kindName(expected.kind) + " " +
           std::to_string(expected.id) + " \"" + utf8(expected.text) + "\")";
}

void checkControl(Checks& checks, HWND dialog, HWND control, const ExpectedControl& expected,
                  std::size_t index, const UnitConverter& units) {
    const std::string name = controlName(expected, index);
    const int id = static_cast<int>(::GetWindowLongPtrW(control, GWLP_ID));
    checks.expectEqual(id, expected.id, name + " id");
    checks.expectEqual(lower(className(control)), lower(kindClass(expected.kind)), name + " class");
    checks.expectEqual(templateStyleOf(control, expected.kind),
                       kindStyle(expected.kind) | expected.extraStyle, name + " style");
    if (expected.kind != Kind::Edit && expected.kind != Kind::ComboBox) {
        checks.expectEqual(windowText(control), expected.text, name + " text");
    }

    const RECT want = units.toPixels(expected.units);
    const RECT got = clientRectOf(control, dialog);
    if (expected.kind == Kind::ComboBox) {
        checks.expect((::GetWindowLongW(control, GWL_STYLE) & CBS_SORT) == 0, name + " not sorted");
        // Closed, a drop-down combo box is as high as its edit part: the template's
        // height, which includes the list, is checked in the resource.
        checks.expect(got.left == want.left && got.top == want.top && got.right == want.right &&
                          got.bottom < want.bottom,
                      name + " rectangle " + describe(got) + ", expected " + describe(want) +
                          " with the list dropped down");
        return;
    }
    checks.expect(sameRect(got, want),
                  name + " rectangle " + describe(got) + ", expected " + describe(want));
}

// The template as stored: styles exactly as written, rectangles in dialog units.
void checkTemplate(Checks& checks, const std::wstring& program) {
    const HMODULE module = ::LoadLibraryExW(
        program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!checks.expect(module != nullptr, "program loads as a resource file")) return;
    const std::optional<DialogTemplate> dialog =
        readDialogTemplate(module, 1, MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH));
    ::FreeLibrary(module);
    if (!checks.expect(dialog.has_value(), "dialog template 1 in French (France)")) return;
    checks.expectEqual(dialog->style, dialogStyle, "template style");
    checks.expectEqual(dialog->caption, dialogCaption, "template caption");
    checks.expectEqual(dialog->font, dialogFont, "template font");
    checks.expectEqual(dialog->points, dialogFontPoints, "template font size");
    checks.expectEqual(dialog->units.width, dialogWidthUnits, "template width");
    checks.expectEqual(dialog->units.height, dialogHeightUnits, "template height");
    if (!checks.expectEqual(static_cast<long long>(dialog->items.size()), 90, "template controls")) return;
    for (std::size_t i = 0; i < expectedControls.size(); ++i) {
        const ExpectedControl& want = expectedControls[i];
        const TemplateItem& got = dialog->items[i];
        const std::string name = "template " + controlName(want, i);
        checks.expectEqual(got.id, want.id, name + " id");
        checks.expectEqual(lower(got.className), lower(kindClass(want.kind)), name + " class");
        checks.expectEqual(got.style, kindStyle(want.kind) | want.extraStyle, name + " style");
        checks.expectEqual(got.text, want.text, name + " text");
        checks.expect(got.units.x == want.units.x && got.units.y == want.units.y &&
                          got.units.width == want.units.width && got.units.height == want.units.height,
                      name + " rectangle in dialog units");
    }
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved, type, count;
};
#pragma pack(pop)

struct ExpectedImage {
    int size;
    int bitsPerPixel;
};
// 32 x 32 in 16 colours, 16 x 16 in 16 colours, 32 x 32 in 256 colours.
constexpr ExpectedImage iconImages[] = {{32, 4}, {16, 4}, {32, 8}};
constexpr int iconId = 103;

void checkIconResource(Checks& checks, const std::wstring& program) {
    const HMODULE module = ::LoadLibraryExW(
        program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!checks.expect(module != nullptr, "program loads as a resource file")) return;
    const HRSRC group = ::FindResourceW(module, MAKEINTRESOURCEW(iconId), RT_GROUP_ICON);
    if (checks.expect(group != nullptr, "icon resource 103")) {
        const auto* header = static_cast<const GroupIconHeader*>(::LockResource(::LoadResource(module, group)));
        const auto* entries = reinterpret_cast<const GroupIconEntry*>(header + 1);
        if (checks.expectEqual(header->count, 3, "icon 103 images")) {
            for (int i = 0; i < 3; ++i) {
                const std::string what = "icon 103 image " + std::to_string(i + 1);
                const int size = entries[i].width;
                checks.expectEqual(size, iconImages[i].size, what + " width");
                checks.expectEqual(entries[i].height, iconImages[i].size, what + " height");
                const HRSRC image = ::FindResourceW(module, MAKEINTRESOURCEW(entries[i].id), RT_ICON);
                if (!checks.expect(image != nullptr, what + " present")) continue;
                const auto* bitmap = static_cast<const BITMAPINFOHEADER*>(::LockResource(::LoadResource(module, image)));
                checks.expectEqual(bitmap->biBitCount, iconImages[i].bitsPerPixel, what + " bits per pixel");
            }
        }
    }
    ::FreeLibrary(module);
}

// The caption shows the window class's icon, in its 16 x 16 image.
void checkCaptionIcon(Checks& checks, const std::wstring& program, HWND dialog) {
    const HMODULE module = ::LoadLibraryExW(
        program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) return;
    const HICON small = static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(iconId), IMAGE_ICON, 16, 16, 0));
    RECT window{};
    ::GetWindowRect(dialog, &window);
    RECT client{};
    ::GetClientRect(dialog, &client);
    ::MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    // The caption bar: from the window's top edge down to the client area, left half.
    const RECT caption{window.left, window.top, window.left + (window.right - window.left) / 2, client.top};
    // The screen may lag behind a window that has just been drawn.
    bool shown = false;
    for (int attempt = 0; attempt < 30 && small && !shown; ++attempt) {
        if (attempt > 0) ::Sleep(100);
        shown = showsIcon(captureScreen(caption), small, 16);
    }
    checks.expect(shown, "the caption shows the program's icon");
    if (small) ::DestroyIcon(small);
    ::FreeLibrary(module);
}

struct DefaultText {
    int id;
    std::wstring_view text;
};
// The inputs after start-up, as the player first sees them.
constexpr DefaultText defaults[] = {
    {1025, L"1"},   {1026, L"0"},   {1002, L"25"},  {1003, L"25"},  {1012, L"25"},  {1013, L"25"},
    {1014, L"25"},  {1015, L"25"},  {1016, L"25"},  {1017, L"25"},  {1018, L"25"},  {1019, L"25"},
    {1020, L"100"}, {1021, L"100"}, {1022, L"100"}, {1023, L"100"}, {1024, L"100"}, {1043, L"100"},
    {1034, L"100"}, {1035, L"100"}, {1036, L"100"}, {1037, L"100"}, {1038, L"100"}, {1004, L"0"},
};
constexpr int outputs[] = {1008, 1009, 1010, 1011, 1042, 1027, 1028, 1029,
                           1030, 1031, 1032, 1044, 1045, 1039, 1040, 1033};

std::wstring listItem(HWND list, WPARAM index) {
    const LRESULT length = ::SendMessageW(list, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return L"<none>";
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = ::SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

}  // namespace

std::unique_ptr<AppSession> startApp(const std::wstring& program, const std::wstring& dir,
                                     Checks& checks) {
    auto app = std::make_unique<AppSession>(program, dir);
    if (!checks.expect(app->started(), "vyr-degats.exe starts")) return nullptr;
    if (!checks.expect(app->waitReady(), "the main dialog is shown and ready")) return nullptr;
    return app;
}

void layoutScenario(const Environment& env, Checks& checks) {
    const UnitConverter units;
    if (!checks.expect(units.ok(), "hidden dialog for unit conversion")) return;
    checkTemplate(checks, env.program);
    checkIconResource(checks, env.program);
    auto app = startApp(env.program, env.dataDir, checks);
    if (!app) return;
    checkDialog(checks, app->dialog(), units);
    const std::vector<HWND> children = childWindows(app->dialog());
    checks.expectEqual(static_cast<long long>(children.size()), 90, "number of controls");
    const std::size_t n = std::min(children.size(), expectedControls.size());
    for (std::size_t i = 0; i < n; ++i) {
        checkControl(checks, app->dialog(), children[i], expectedControls[i], i, units);
    }
}

void startupScenario(const Environment& env, Checks& checks) {
    const CoreModel core(env.dataDir);
    checks.expect(core.count() > 0, "the sample file loads in the driver");
    auto app = startApp(env.program, env.dataDir, checks);
    if (!app) return;

    const HWND list = app->control(field::spellList);
    const std::vector<std::wstring> names = core.names();
    checks.expectEqual(::SendMessageW(list, CB_GETCOUNT, 0, 0), static_cast<long long>(names.size()),
                       "spell list size");
    for (std::size_t i = 0; i < names.size(); ++i) {
        checks.expectEqual(listItem(list, i), names[i], "spell list item " + std::to_string(i));
    }
    checks.expectEqual(::SendMessageW(list, CB_GETCURSEL, 0, 0), CB_ERR, "no spell selected");
    checks.expectEqual(app->text(field::spellList), L"", "spell list text");
    for (const DefaultText& d : defaults) {
        checks.expectEqual(app->text(d.id), d.text, "default of field " + std::to_string(d.id));
    }
    for (int id : outputs) checks.expectEqual(app->text(id), L"", "output " + std::to_string(id) + " empty");
    checks.expect(app->otherWindows().empty(), "no other window at start-up");
    checkCaptionIcon(checks, env.program, app->dialog());
}

void timingScenario(const Environment& env, Checks& checks) {
    constexpr int runs = 5;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        AppSession app(env.program, env.dataDir);
        if (!checks.expect(app.started() && app.waitReady(), "launch " + std::to_string(i + 1))) return;
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        app.click(field::quitButton);
        checks.expect(app.waitForExit().value_or(1) == 0, "launch " + std::to_string(i + 1) + " quits");
    }
    std::string line = "launch to dialog ready (ms):";
    for (double t : times) line += " " + std::to_string(static_cast<int>(t));
    std::sort(times.begin(), times.end());
    line += "; median " + std::to_string(static_cast<int>(times[runs / 2]));
    checks.note(line);
}

void showScenario(const Environment& env, Checks& checks) {
    auto app = startApp(env.program, env.dataDir, checks);
    if (!app) return;
    RECT window{};
    ::GetWindowRect(app->dialog(), &window);
    std::printf("ready %ld %ld %ld %ld\n", window.left, window.top, window.right, window.bottom);
    std::fflush(stdout);
    char line[16];
    std::fgets(line, sizeof line, stdin);
    app->click(field::quitButton);
    checks.expect(app->waitForExit().value_or(1) == 0, "the program quits");
}

BoxContent readBox(HWND box) {
    BoxContent content;
    for (HWND child : childWindows(box)) {
        if (!::IsWindowVisible(child)) continue;
        const std::wstring kind = lower(className(child));
        const DWORD style = static_cast<DWORD>(::GetWindowLongW(child, GWL_STYLE));
        if (kind == L"button") {
            content.buttons.push_back(static_cast<int>(::GetWindowLongPtrW(child, GWLP_ID)));
        } else if (kind == L"static" && (style & SS_TYPEMASK) == SS_ICON) {
            content.icon = child;
        } else if (kind == L"static" && !windowText(child).empty()) {
            content.text = windowText(child);
        }
    }
    return content;
}

// The standard icon nearest to the pixels shown, if near enough.
const wchar_t* matchStandardIcon(const RECT& area) {
    const Pixels shown = captureScreen(area);
    const int size = area.right - area.left;
    // The control's corner is background: standard icons leave their corners clear.
    const std::uint32_t background = shown.at(0, 0);
    const wchar_t* best = nullptr;
    int bestDifference = size * size;
    for (const wchar_t* candidate : {IDI_ASTERISK, IDI_EXCLAMATION, IDI_HAND, IDI_QUESTION}) {
        const int d = difference(shown, drawIcon(::LoadIconW(nullptr, candidate), size, background));
        if (d < bestDifference) {
            bestDifference = d;
            best = candidate;
        }
    }
    // Drawn the same way by the same system: nearly every pixel matches.
    return bestDifference <= size * size / 20 ? best : nullptr;
}

const wchar_t* boxIcon(const BoxContent& box) {
    if (!box.icon) return nullptr;
    RECT area{};
    ::GetWindowRect(box.icon, &area);
    if (area.right - area.left != area.bottom - area.top || area.right <= area.left) return nullptr;
    // The screen may lag behind a box that has just been drawn.
    const wchar_t* icon = nullptr;
    for (int attempt = 0; attempt < 30 && !icon; ++attempt) {
        if (attempt > 0) ::Sleep(100);
        icon = matchStandardIcon(area);
    }
    return icon;
}

bool dismissBox(const AppSession& app, HWND box) {
    app.click(::GetDlgItem(box, IDOK));
    for (int i = 0; i < 1500 && ::IsWindow(box); ++i) ::Sleep(10);
    return !::IsWindow(box);
}

}  // namespace vyr::e2e
