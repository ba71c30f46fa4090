// End-to-end tests of vyr-degats.exe, started afresh by each test and driven through real window messages; the
// dialog is compared with the core's answer for the same data file and inputs, and with tests/data/window.json.
// Usage: vyr-e2e [GTEST_OPTIONS] [show] PROGRAM DATA_DIR EMPTY_DIR ("show", for scripts/run: "ready L T R B", quit at
// end of input).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>

#include "app_session.h"
#include "calculation_run.h"
#include "cp1252.h"
#include "data_table.h"
#include "memory_form.h"

namespace vyr::e2e {
namespace {

using testing::json;

struct {
    std::wstring program, dataDir, emptyDir;
} paths;

const json& table() { return testing::readTable("window.json"); }

// Every text of the program is in Windows-1252.
std::wstring wide(const std::string& utf8) { return cp1252ToWide(utf8ToCp1252(utf8).text); }
std::string utf8(const std::wstring& text) { return cp1252ToUtf8(wideToCp1252(text)); }

int fieldId(const std::string& name) {
    if (const InputField* input = findInput(name)) return input->id;
    for (const OutputField& output : outputFields)
        if (output.name == name) return output.id;
    return name == "goButton" ? field::goButton : field::quitButton;
}

// The core's answer: the same data file through the same loader, on an in-memory form.
struct Core : SpellNameList {
    Core() { loadSpellFile((wideToCp1252(paths.dataDir) + "\\" + spellFileName).c_str(), *this); }
    std::optional<std::size_t> first(bool special) const {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (isSpecialCode(spellCatalogue()[i].code()) == special) return i;
        return std::nullopt;
    }
    InMemoryForm snapshot(const AppSession& app, std::optional<std::size_t> selection) const {
        InMemoryForm form;
        for (int id = field::firstId; id <= field::lastId; ++id) form.writeText(id, wideToCp1252(app.text(id)).c_str());
        form.select(selection);
        return form;
    }
};

const Core& core() {
    static const Core c;
    return c;
}

// Every input (unless only the outputs are asked for) and output reads as the form's text.
void expectFields(const AppSession& app, const InMemoryForm& expected, bool outputsOnly = false) {
    for (int id = field::firstId; id <= field::lastId; ++id) {
        if (!isOutputField(id) && (outputsOnly || !findInputById(id))) continue;
        EXPECT_EQ(utf8(app.text(id)), cp1252ToUtf8(expected.fieldText(id))) << "field " << id;
    }
}

// Pixels as 0xRRGGBB, rows top to bottom, of what paint draws on a width x height canvas.
template <class Paint>
std::vector<std::uint32_t> pixels(int width, int height, Paint paint) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::uint32_t* bits = nullptr;
    const HDC dc = ::CreateCompatibleDC(nullptr);
    const HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    const HGDIOBJ previous = ::SelectObject(dc, bitmap);
    paint(dc);
    ::GdiFlush();
    std::vector<std::uint32_t> out(bits, bits + width * height);
    for (std::uint32_t& p : out) p &= 0xFFFFFF;
    ::SelectObject(dc, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    return out;
}
// Which of the icons shows in the area at this size: the first whose pixels that draw alike over
// black and white match the screen there, but for at most 5 %; nullptr if none within 3 s.
HICON shownIcon(const RECT& area, int size, std::initializer_list<HICON> icons) {
    const int width = area.right - area.left, height = area.bottom - area.top, slack = size * size / 20;
    auto drawn = [&](HICON icon, COLORREF background) {
        return pixels(size, size, [&](HDC dc) {
            const RECT all{0, 0, size, size};
            ::SetDCBrushColor(dc, background);
            ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
            ::DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        });
    };
    for (int attempt = 0; size > 0 && attempt < 30; ++attempt, ::Sleep(100)) {
        const auto shown = pixels(width, height, [&](HDC dc) {
            const HDC desktop = ::GetDC(nullptr);
            ::BitBlt(dc, 0, 0, width, height, desktop, area.left, area.top, SRCCOPY);
            ::ReleaseDC(nullptr, desktop);
        });
        for (HICON icon : icons) {
            const auto black = drawn(icon, 0), white = drawn(icon, 0xFFFFFF);
            for (int at = 0; at < (height - size + 1) * (width - size + 1); ++at) {
                const int top = at / (width - size + 1), left = at % (width - size + 1);
                int differ = 0;
                for (int i = 0; differ <= slack && i < size * size; ++i) {
                    differ += black[i] == white[i] && shown[(top + i / size) * width + left + i % size] != black[i];
                }
                if (differ <= slack) return icon;
            }
        }
    }
    return nullptr;
}

class Window : public ::testing::Test {
  protected:
    void start(const std::wstring& dir = paths.dataDir) {
        app = std::make_unique<AppSession>(paths.program, dir);
        if (!app->started() || (dir == paths.dataDir && !app->waitReady())) {
            throw std::runtime_error("vyr-degats.exe did not start and show its window");
        }
    }
    void select(std::optional<std::size_t> at) const {
        ::SendMessageW(app->control(field::spellList), CB_SETCURSEL, at ? *at : -1, 0);
    }
    void markOutputs() const {  // with what no run writes: an output still showing it was not written
        for (const OutputField& f : outputFields) app->setText(f.id, L"untouched");
    }
    void enterPlayer() const {
        for (const auto& [name, text] : table()["player"].items())
            if (name != "_about") app->setText(fieldId(name), wide(text));
    }
    // Does the action and compares the fields with the core's run on the same form.
    template <class Action>
    InMemoryForm expectRun(InMemoryForm expected, Action action, bool outputsOnly = false) const {
        runCalculation(expected, spellCatalogue(), [](const char* text, const char*) { ADD_FAILURE() << text; });
        action();
        EXPECT_TRUE(app->sync());
        EXPECT_TRUE(app->otherWindows().empty()) << "a message box shows";
        expectFields(*app, expected, outputsOnly);
        return expected;
    }
    // The box of the table's entry: text, owner (waiting), one button, icon; then OK closes it.
    void expectBox(const char* entry, HWND owner, const wchar_t* icon) const {
        const json& box = table()[entry];
        const HWND window = app->waitForBox(wide(box["caption"]));
        ASSERT_NE(window, nullptr) << "no box " << box["caption"];
        std::vector<std::wstring> texts[2];  // statics, buttons
        RECT iconArea{};
        for (HWND child : childWindows(window)) {
            if ((::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && isClass(child, L"Static")) {
                ::GetWindowRect(child, &iconArea);
            } else if (::IsWindowVisible(child) && !windowText(child).empty()) {
                texts[isClass(child, L"Button")].push_back(windowText(child));
            }
        }
        EXPECT_EQ(texts[0], std::vector<std::wstring>{wide(box["text"])});
        EXPECT_EQ(texts[1].size(), 1u);
        EXPECT_EQ(::GetWindow(window, GW_OWNER), owner);
        EXPECT_FALSE(::IsWindowEnabled(owner)) << "the dialog waits for the box";
        auto standard = [](const wchar_t* id) { return ::LoadIconW(nullptr, id); };
        EXPECT_EQ(
            shownIcon(iconArea, iconArea.right - iconArea.left,
                      {standard(IDI_ASTERISK), standard(IDI_EXCLAMATION), standard(IDI_HAND), standard(IDI_QUESTION)}),
            standard(icon));
        app->click(::GetDlgItem(window, IDOK));
        EXPECT_TRUE(waitUntil([&] { return !::IsWindow(window); })) << "OK closes the box";
    }

    std::unique_ptr<AppSession> app;
};

TEST_F(Window, HoldsEveryFieldWithItsKindAndLabel) {
    start();
    const HWND dialog = app->dialog();
    EXPECT_EQ(utf8(windowText(dialog)), table()["caption"]);
    RECT window{}, work{};
    ::GetWindowRect(dialog, &window);
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_LE(std::abs(window.left + window.right - work.left - work.right) +
                  std::abs(window.top + window.bottom - work.top - work.bottom),
              2)
        << "centred";
    EXPECT_EQ(childWindows(dialog).size(), table()["controls"].get<std::size_t>());
    // The window's class, and the style flags it has and lacks, as the table's kind says.
    const std::map<std::string, DWORD> flags = {
        {"WS_POPUP", WS_POPUP},           {"WS_CAPTION", WS_CAPTION},    {"WS_SYSMENU", WS_SYSMENU},
        {"WS_THICKFRAME", WS_THICKFRAME}, {"WS_TABSTOP", WS_TABSTOP},    {"CBS_DROPDOWN", CBS_DROPDOWN},
        {"CBS_SIMPLE", CBS_SIMPLE},       {"CBS_SORT", CBS_SORT},        {"ES_NUMBER", ES_NUMBER},
        {"ES_READONLY", ES_READONLY},     {"ES_MULTILINE", ES_MULTILINE}};
    auto expectKind = [&](HWND control, const char* kind, std::string_view name) {
        const json& k = table()["kinds"][kind];
        EXPECT_TRUE(isClass(control, wide(k["class"]).c_str())) << name;
        const DWORD style = ::GetWindowLongW(control, GWL_STYLE);
        for (const auto& [flag, has] : k["styles"].items())
            EXPECT_EQ(style & flags.at(flag), has.get<bool>() ? flags.at(flag) : 0) << name << " " << flag;
    };
    expectKind(dialog, "dialog", "dialog");
    expectKind(app->control(field::spellList), "list", "spell list");
    for (const InputField& f : inputFields) expectKind(app->control(f.id), "input", f.name);
    std::vector<std::wstring> labels;
    for (HWND child : childWindows(dialog))
        if (isClass(child, L"Static")) labels.push_back(windowText(child));
    for (const OutputField& f : outputFields) {
        expectKind(app->control(f.id), f.id == field::specialText ? "text" : "output", f.name);
        EXPECT_NE(std::find(labels.begin(), labels.end(), wide(std::string(f.label))), labels.end()) << f.label;
    }
    for (const auto& [name, text] : table()["buttons"].items()) {
        expectKind(app->control(fieldId(name)), "button", name);
        EXPECT_EQ(utf8(app->text(fieldId(name))), text) << name;
    }
}

TEST_F(Window, StartsWithTheSpellsTheDefaultsAndTheIcon) {
    start();
    const HWND list = app->control(field::spellList);
    ASSERT_GT(core().names.size(), 0u);
    std::vector<std::string> shown;
    for (LRESULT i = 0; i < ::SendMessageW(list, CB_GETCOUNT, 0, 0); ++i) {
        std::wstring item(::SendMessageW(list, CB_GETLBTEXTLEN, i, 0) + 1, L'\0');
        item.resize(::SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data())));
        shown.push_back(wideToCp1252(item));
    }
    EXPECT_EQ(shown, core().names);
    EXPECT_EQ(::SendMessageW(list, CB_GETCURSEL, 0, 0), CB_ERR) << "no spell selected";
    InMemoryForm defaults;
    setDefaults(defaults);
    expectFields(*app, defaults);
    EXPECT_TRUE(app->otherWindows().empty());

    // The icon resource, and its small image in the caption.
    const HMODULE module =
        ::LoadLibraryExW(paths.program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr);
    const int iconId = table()["iconId"];
    auto resource = [&](int id, LPCWSTR type) {
        return static_cast<const BYTE*>(
            ::LockResource(::LoadResource(module, ::FindResourceW(module, MAKEINTRESOURCEW(id), type))));
    };
    // The group: three words, the last the image count, then 14-byte entries (width first, id last).
    const BYTE* group = resource(iconId, RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    json images = json::array();
    for (const BYTE* entry = group + 6; entry < group + 6 + 14 * group[4]; entry += 14) {
        const auto* bitmap = reinterpret_cast<const BITMAPINFOHEADER*>(resource(entry[12] | entry[13] << 8, RT_ICON));
        images.push_back({{"size", entry[0]}, {"bitsPerPixel", bitmap ? bitmap->biBitCount : 0}});
    }
    EXPECT_EQ(images, table()["iconImages"]["images"]);
    const HICON small = static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(iconId), IMAGE_ICON, 16, 16, 0));
    RECT window{}, client{};
    ::GetWindowRect(app->dialog(), &window);
    ::GetClientRect(app->dialog(), &client);
    ::MapWindowPoints(app->dialog(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_EQ(shownIcon({window.left, window.top, (window.left + window.right) / 2, client.top}, 16, {small}), small)
        << "the caption shows the program's icon";
}

TEST_F(Window, GoShowsWhatTheCoreComputesForEverySpell) {
    start();
    enterPlayer();
    InMemoryForm shown = core().snapshot(*app, std::nullopt);
    for (std::size_t i = 0; i < core().names.size(); ++i) {
        SCOPED_TRACE(cp1252ToUtf8(core().names[i]));
        select(i);
        shown.select(i);
        // Every run writes the recast delay: a press that did nothing leaves this.
        app->setText(field::recastDelay, L"untouched");
        shown.writeText(field::recastDelay, "untouched");
        shown = expectRun(
            shown, [&] { app->click(field::goButton); }, true);
    }
    expectFields(*app, shown);
}

TEST_F(Window, EnterRunsFromAnyWindowAndKeepsTheFocus) {
    start();
    enterPlayer();
    const HWND list = app->control(field::spellList);
    const std::pair<const char*, HWND> targets[] = {{"an input", app->control(field::wisdomBoosted)},
                                                    {"an output", app->control(field::effectMin)},
                                                    {"the list", list},
                                                    {"the list's edit", ::GetWindow(list, GW_CHILD)}};
    int level = 20;
    for (const bool special : {false, true}) {
        ASSERT_TRUE(core().first(special));
        select(core().first(special));
        for (const auto& [name, target] : targets) {
            SCOPED_TRACE(name);
            // A different level each time: the figures of every press are its own.
            app->setText(field::level, std::to_wstring(++level));
            markOutputs();
            app->click(target);
            expectRun(core().snapshot(*app, core().first(special)), [&] { app->pressKey(target, VK_RETURN); });
            EXPECT_EQ(app->focus(), target == list ? ::GetWindow(list, GW_CHILD) : target);  // a list types in its edit
        }
        // In a field just emptied and not left, the run reads 0 and the field stays empty.
        for (const int id : {field::level, field::intelligenceBoosted}) {
            SCOPED_TRACE(id);
            app->setText(id, L"77");
            app->click(id);
            app->setText(id, L"");
            markOutputs();
            expectRun(core().snapshot(*app, core().first(special)),
                      [&] { app->pressKey(app->control(id), VK_RETURN); });
            EXPECT_EQ(app->text(id), L"");
            EXPECT_EQ(app->focus(), app->control(id));
        }
    }
}

TEST_F(Window, LeavingAFieldWithoutANumberMakesIt100) {
    start();
    // The table's texts, then every input emptied; each field is left for the next one.
    json leave = table()["leaveField"]["cases"];
    for (const InputField& f : inputFields) leave.push_back({{"field", f.name}, {"typed", ""}, {"shown", "100"}});
    for (std::size_t i = 0; i < leave.size(); ++i) {
        const int id = fieldId(leave[i]["field"]), next = fieldId(leave[(i + 1) % leave.size()]["field"]);
        app->click(id);
        app->setText(id, wide(leave[i]["typed"]));
        app->click(next);
        app->sync();
        EXPECT_EQ(app->focus(), app->control(next)) << leave[i];
        EXPECT_EQ(utf8(app->text(id)), leave[i]["shown"]) << leave[i];
    }
    // The spell list's edit part is no field of the form.
    app->setText(field::spellList, L"abc");
    app->click(::GetWindow(app->control(field::spellList), GW_CHILD));
    app->click(field::level);
    app->sync();
    EXPECT_EQ(app->text(field::spellList), L"abc");

    // "GO !" takes the focus first: an emptied input turns into 100 before the run reads it.
    select(core().first(false));
    app->click(field::intelligenceBoosted);
    app->setText(field::intelligenceBoosted, L"");
    markOutputs();
    InMemoryForm expected = core().snapshot(*app, core().first(false));
    expected.writeText(field::intelligenceBoosted, "100");
    expectRun(expected, [&] { app->click(field::goButton); });
}

TEST_F(Window, WithoutASelectionGoAndEnterOnlyShowTheInfoBox) {
    start();
    // After a run, so that its outputs must stay.
    select(0);
    expectRun(core().snapshot(*app, 0), [&] { app->click(field::goButton); });
    select(std::nullopt);
    const InMemoryForm before = core().snapshot(*app, std::nullopt);
    for (const bool enter : {false, true}) {
        app->click(enter ? field::level : field::goButton);
        if (enter) app->pressKey(app->control(field::level), VK_RETURN);
        expectBox("noSelectionBox", app->dialog(), IDI_EXCLAMATION);
        app->sync();
        expectFields(*app, before);
    }
}

TEST_F(Window, QuitAndCloseEndTheProgramWithCode0) {
    start();
    app->click(field::quitButton);
    EXPECT_EQ(app->waitForExit(), DWORD{0});
    // The system may set the four low bits of a system command: SC_CLOSE | 2 closes too.
    for (const WPARAM close : {WPARAM{SC_CLOSE}, WPARAM{SC_CLOSE | 2}}) {
        start();
        ::PostMessageW(app->dialog(), WM_SYSCOMMAND, SC_RESTORE, 0);
        EXPECT_TRUE(app->sync() && !app->waitForExit(200)) << "another system command does not quit";
        ::PostMessageW(app->dialog(), WM_SYSCOMMAND, close, 0);
        EXPECT_EQ(app->waitForExit(), DWORD{0}) << close;
    }
}

TEST_F(Window, AMissingDataFileShowsOneBoxBeforeTheDialogThenEnds) {
    start(paths.emptyDir);
    const HWND dialog = app->waitForBox(wide(table()["caption"]), false);
    ASSERT_NE(app->waitForBox(wide(table()["loadFailureBox"]["caption"])), nullptr);
    EXPECT_FALSE(::IsWindowVisible(dialog)) << "the box comes while the dialog is created";
    EXPECT_EQ(windowText(::GetDlgItem(dialog, field::level)), L"") << "before the defaults";
    EXPECT_EQ(::SendMessageW(::GetDlgItem(dialog, field::spellList), CB_GETCOUNT, 0, 0), 0);
    expectBox("loadFailureBox", dialog, IDI_ASTERISK);
    std::optional<DWORD> code;
    for (int i = 0; i < 1500 && !(code = app->waitForExit(10)); ++i) {
        for (HWND window : app->otherWindows()) EXPECT_EQ(window, dialog) << "no other message after the load failure";
    }
    EXPECT_EQ(code, DWORD{0});
}

// Both programs of the package carry the project's version in their version resource.
TEST(Package, BothProgramsCarryTheProjectVersion) {
    for (const std::wstring name : {L"vyr-degats.exe", L"vyr.exe"}) {
        const std::wstring file = paths.program.substr(0, paths.program.find_last_of(L'\\') + 1) + name;
        std::vector<BYTE> info(::GetFileVersionInfoSizeW(file.c_str(), nullptr) + 1);
        ::GetFileVersionInfoW(file.c_str(), 0, static_cast<DWORD>(info.size()), info.data());
        std::wstring found;  // the fixed numbers, then the texts, each followed by a space
        for (const wchar_t* key :
             {L"\\", L"\\StringFileInfo\\040C04E4\\OriginalFilename", L"\\StringFileInfo\\040C04E4\\ProductVersion"}) {
            void* data = nullptr;
            UINT size = 0;
            if (!::VerQueryValueW(info.data(), key, &data, &size))
                found += L"(none) ";
            else if (const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(data); key[1] == 0) {
                found += std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                         std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
                         std::to_wstring(HIWORD(fixed->dwFileVersionLS)) + L" ";
            } else
                found += static_cast<const wchar_t*>(data) + std::wstring(L" ");
        }
        EXPECT_EQ(found, wide(VYR_PROJECT_VERSION " ") + name + L" " + wide(VYR_PROJECT_VERSION " "));
    }
}

// Paths from the build arrive in Unix form under Wine: "/x/y" is drive Z:'s "\x\y".
std::wstring windowsPath(const char* path) {
    std::wstring out = (path[0] == '/' ? L"Z:" : L"") + wide(path);
    std::replace(out.begin(), out.end(), L'/', L'\\');
    return out;
}

}  // namespace
}  // namespace vyr::e2e

int main(int argc, char** argv) {
    using namespace vyr::e2e;
    ::testing::InitGoogleTest(&argc, argv);
    const bool show = argc == 5 && std::string(argv[1]) == "show";
    if (argc != 4 + show) {
        std::fprintf(stderr, "usage: vyr-e2e [GTEST_OPTIONS] [show] PROGRAM DATA_DIR EMPTY_DIR\n");
        return 2;
    }
    paths = {windowsPath(argv[1 + show]), windowsPath(argv[2 + show]), windowsPath(argv[3 + show])};
    if (!show) return RUN_ALL_TESTS();
    AppSession app(paths.program, paths.dataDir);
    if (!app.waitReady()) return 1;
    RECT r{};
    ::GetWindowRect(app.dialog(), &r);
    std::printf("ready %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    std::fflush(stdout);
    char line[16];
    std::fgets(line, sizeof line, stdin);
    app.click(vyr::field::quitButton);
    return app.waitForExit().value_or(1) == 0 ? 0 : 1;
}
