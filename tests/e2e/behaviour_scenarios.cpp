// What the dialog does: "GO !", Enter, leaving a field, quitting, a missing data file.
#include <array>

#include "core_model.h"
#include "cp1252.h"
#include "fields.h"
#include "scenarios.h"

namespace vyr::e2e {
namespace {

constexpr std::wstring_view infoCaption = L"Info";
constexpr std::wstring_view noSelectionText = L"Veuillez selectionner un sort";
constexpr std::wstring_view loadCaption = L"Erreur de chargement";
constexpr std::wstring_view loadText = L"Impossible de charger le fichier de donn\u00e9es";
// What no calculation ever writes: an output still showing it was not written.
constexpr std::wstring_view untouched = L"untouched";

struct InputValue {
    int id;
    const wchar_t* text;
};
// A player whose figures are away from the defaults, so that most formulas give
// distinctive results.
constexpr InputValue playerInputs[] = {
    {field::level, L"37"},           {field::rebirths, L"2"},
    {field::strengthBase, L"40"},    {field::enduranceBase, L"33"},
    {field::dexterityBase, L"52"},   {field::wisdomBase, L"61"},
    {field::intelligenceBase, L"75"}, {field::strengthBoosted, L"48"},
    {field::enduranceBoosted, L"39"}, {field::dexterityBoosted, L"58"},
    {field::wisdomBoosted, L"140"},  {field::intelligenceBoosted, L"183"},
    {field::firePower, L"130"},      {field::waterPower, L"115"},
    {field::airPower, L"90"},        {field::earthPower, L"121"},
    {field::necroPower, L"107"},     {field::lightPower, L"88"},
    {field::fireResist, L"80"},      {field::waterResist, L"95"},
    {field::airResist, L"120"},      {field::earthResist, L"60"},
    {field::necroResist, L"100"},    {field::targetArmour, L"12"},
};

void enterPlayer(const AppSession& app) {
    for (const InputValue& input : playerInputs) app.setText(input.id, input.text);
}

void markOutputs(const AppSession& app) {
    for (const OutputField& output : outputFields) app.setText(output.id, std::wstring(untouched));
}

void select(const AppSession& app, std::optional<std::size_t> position) {
    ::SendMessageW(app.control(field::spellList), CB_SETCURSEL,
                   position ? static_cast<WPARAM>(*position) : static_cast<WPARAM>(-1), 0);
}

std::string spellLabel(const CoreModel& core, std::size_t index) {
    return "spell " + std::to_string(index) + " \"" + utf8(core.names()[index]) + "\"" +
           (core.isSpecial(index) ? " (special)" : " (standard)");
}

// The message box a run or the start-up shows: caption, text, owner, icon, one OK button.
void expectBox(Checks& checks, HWND box, std::wstring_view text, const wchar_t* icon, HWND owner,
               const std::string& when) {
    const BoxContent content = readBox(box);
    checks.expectEqual(content.text, text, when + ": box text");
    checks.expect(::GetWindow(box, GW_OWNER) == owner, when + ": box owned by the main dialog");
    checks.expect(content.buttons == std::vector<int>{IDOK}, when + ": one OK button");
    checks.expect(boxIcon(content) == icon, when + ": box icon");
    checks.expect(!::IsWindowEnabled(owner), when + ": the dialog waits for the box");
}

// Posts the action, lets the program handle it, and compares the fields with the core's
// run on the same form. Returns the form the dialog should now show.
template <class Action>
InMemoryForm expectRun(Checks& checks, AppSession& app, const CoreModel& core,
                       InMemoryForm expected, Action action, const std::string& when,
                       Fields fields = Fields::all) {
    const std::string message = core.run(expected);
    checks.expect(message.empty(), when + ": the core shows no message");
    action();
    if (checks.expect(app.sync(), when + ": the program handles it")) {
        checks.expect(app.otherWindows().empty(), when + ": no message box");
        expectFields(checks, app, expected, when, fields);
    }
    return expected;
}

}  // namespace

void noSelectionScenario(const Environment& env, Checks& checks) {
    const CoreModel core(env.dataDir);
    auto app = startApp(env.program, env.dataDir, checks);
    if (!app) return;

    markOutputs(*app);
    const InMemoryForm before = core.snapshot(*app, std::nullopt);
    app->click(field::goButton);
    HWND box = app->waitForBox(std::wstring(infoCaption));
    if (!checks.expect(box != nullptr, "GO with no selection shows \"Info\"")) return;
    app->sync();
    expectBox(checks, box, noSelectionText, IDI_EXCLAMATION, app->dialog(), "GO, no selection");
    checks.expect(dismissBox(*app, box), "the \"Info\" box closes with OK");
    app->sync();
    expectFields(checks, *app, before, "after GO with no selection");

    // After a run, a press with no selection leaves that run's outputs in place.
    const std::size_t first = 0;
    select(*app, first);
    InMemoryForm expected = core.snapshot(*app, first);
    expectRun(checks, *app, core, expected, [&] { app->click(field::goButton); }, "GO on " + spellLabel(core, first));
    select(*app, std::nullopt);
    const InMemoryForm afterRun = core.snapshot(*app, std::nullopt);
    app->click(field::level);
    app->postKeyDown(app->control(field::level), VK_RETURN);
    box = app->waitForBox(std::wstring(infoCaption));
    if (!checks.expect(box != nullptr, "Enter with no selection shows \"Info\"")) return;
    app->sync();
    expectBox(checks, box, noSelectionText, IDI_EXCLAMATION, app->dialog(), "Enter, no selection");
    checks.expect(dismissBox(*app, box), "the \"Info\" box closes with OK");
    app->sync();
    expectFields(checks, *app, afterRun, "after Enter with no selection");
}

void goScenario(const Environment& env, Checks& checks) {
    const CoreModel core(env.dataDir);
    checks.expect(core.firstStandard() && core.firstSpecial(),
                  "the sample file has standard and special spells");
    auto app = startApp(env.program, env.dataDir, checks);
    if (!app) return;
    enterPlayer(*app);
    // Every spell of the file. The dialog's state is followed in the driver rather than
    // read back before each press: inputs are compared once at the end.
    InMemoryForm shown = core.snapshot(*app, std::nullopt);
    for (std::size_t i = 0; i < core.count(); ++i) {
        select(*app, i);
        shown.select(i);
        // Every run writes the recast delay: a press that did nothing leaves this.
        app->setText(field::recastDelay, std::wstring(untouched));
        shown.writeText(field::recastDelay, utf8(untouched).c_str());
        shown = expectRun(checks, *app, core, shown, [&] { app->click(field::goButton); },
                          "GO on " + spellLabel(core, i), Fields::outputs);
    }
    expectFields(checks, *app, shown, "after GO on every spell");
}

void enterScenario(const Environment& env, Checks& checks) {
    const CoreModel core(env.dataDir);
    auto app = startApp(env.program, env.dataDir, checks);
    if (!app) return;
    enterPlayer(*app);
    const HWND list = app->control(field::spellList);
    const HWND listEdit = ::GetWindow(list, GW_CHILD);
    struct Target {
        const char* name;
        HWND window;
    };
    const std::array<Target, 4> targets = {{
        {"an input", app->control(field::wisdomBoosted)},
        {"an output", app->control(field::effectMin)},
        {"the spell list", list},
        {"the spell list's edit", listEdit},
    }};
    for (std::optional<std::size_t> spell : {core.firstStandard(), core.firstSpecial()}) {
        if (!checks.expect(spell.has_value(), "the sample file has the spell kind")) continue;
        select(*app, *spell);
        int level = 20;
        for (const Target& target : targets) {
            // A different level each time: the figures of every press are its own.
            app->setText(field::level, std::to_wstring(++level));
            markOutputs(*app);
            app->click(target.window);
            expectRun(checks, *app, core, core.snapshot(*app, *spell),
                      [&] { app->postKeyDown(target.window, VK_RETURN); },
                      std::string("Enter in ") + target.name + ", " + spellLabel(core, *spell));
            checks.expect(app->focus() == target.window || target.window == list,
                          std::string("Enter keeps the focus in ") + target.name);
        }
    }
}

void leaveFieldScenario(const Environment& env, Checks& checks) {
    const CoreModel core(env.dataDir);
    auto app = startApp(env.program, env.dataDir, checks);
    if (!app) return;

    // Every input: emptied, then left for the next one.
    for (std::size_t i = 0; i < inputFields.size(); ++i) {
        const int id = inputFields[i].id;
        const int next = inputFields[(i + 1) % inputFields.size()].id;
        app->click(id);
        app->setText(id, L"");
        app->click(next);
        app->sync();
        const std::string what = "leaving an emptied " + std::string(inputFields[i].name);
        checks.expect(app->focus() == app->control(next), what + ": the focus moved");
        checks.expectEqual(app->text(id), L"100", what);
    }

    struct Left {
        int id;
        const wchar_t* text;
        const wchar_t* after;
    };
    const Left cases[] = {
        {field::level, L"0", L"0"},
        {field::rebirths, L"4294967295", L"4294967295"},
        {field::targetArmour, L"4294967296", L"100"},
        {field::firePower, L"12a", L"100"},
        {field::waterResist, L"  7", L"  7"},
        {field::effectMin, L"", L""},            // outputs never change
        {field::specialText, L"abc", L"abc"},
        {field::successChance, L"x", L"x"},
    };
    for (const Left& c : cases) {
        app->setText(c.id, c.text);
        app->click(c.id);
        app->click(field::wisdomBase);
        app->sync();
        checks.expectEqual(app->text(c.id), c.after,
                           "leaving field " + std::to_string(c.id) + " holding \"" + utf8(c.text) + "\"");
    }

    // The spell list's edit part reports CBN_KILLFOCUS, never EN_KILLFOCUS to the dialog.
    const HWND listEdit = ::GetWindow(app->control(field::spellList), GW_CHILD);
    for (const wchar_t* text : {L"abc", L""}) {
        app->setText(field::spellList, text);
        app->click(listEdit);
        app->click(field::level);
        app->sync();
        checks.expectEqual(app->text(field::spellList), text,
                           "leaving the spell list holding \"" + utf8(text) + "\"");
    }

    // Clicking "GO !" from an emptied input: the field is left first, so the run reads 100.
    const std::optional<std::size_t> spell = core.firstStandard();
    if (!checks.expect(spell.has_value(), "the sample file has a standard spell")) return;
    select(*app, *spell);
    app->click(field::intelligenceBoosted);
    app->setText(field::intelligenceBoosted, L"");
    markOutputs(*app);
    InMemoryForm expected = core.snapshot(*app, *spell);
    onFieldLeft(expected, field::intelligenceBoosted);
    expectRun(checks, *app, core, expected, [&] { app->click(field::goButton); },
              "GO after emptying intelligenceBoosted");
    checks.expectEqual(app->text(field::intelligenceBoosted), L"100", "emptied input before GO");
}

void emptiedEnterScenario(const Environment& env, Checks& checks) {
    const CoreModel core(env.dataDir);
    auto app = startApp(env.program, env.dataDir, checks);
    if (!app) return;
    enterPlayer(*app);
    for (std::optional<std::size_t> spell : {core.firstStandard(), core.firstSpecial()}) {
        if (!checks.expect(spell.has_value(), "the sample file has the spell kind")) continue;
        select(*app, *spell);
        for (const int id : {field::level, field::intelligenceBoosted}) {
            app->setText(id, L"77");
            app->click(id);
            app->setText(id, L"");
            markOutputs(*app);
            const std::string when = "Enter in emptied field " + std::to_string(id) + ", " + spellLabel(core, *spell);
            // The field was not left: the run reads it as 0 and it stays empty.
            expectRun(checks, *app, core, core.snapshot(*app, *spell),
                      [&] { app->postKeyDown(app->control(id), VK_RETURN); }, when);
            checks.expectEqual(app->text(id), L"", when + ": the field stays empty");
            checks.expect(app->focus() == app->control(id), when + ": the focus stays");
        }
    }
}

void quitButtonScenario(const Environment& env, Checks& checks) {
    auto app = startApp(env.program, env.dataDir, checks);
    if (!app) return;
    app->click(field::quitButton);
    const std::optional<DWORD> code = app->waitForExit();
    if (checks.expect(code.has_value(), "\"Quitter\" ends the program")) {
        checks.expectEqual(*code, 0, "exit code after \"Quitter\"");
    }
}

void closeScenario(const Environment& env, Checks& checks) {
    // The system may set the four low bits of a system command: SC_CLOSE | 2 is a close too.
    for (const WPARAM close : {WPARAM{SC_CLOSE}, WPARAM{SC_CLOSE | 2}}) {
        auto app = startApp(env.program, env.dataDir, checks);
        if (!app) return;
        const std::string what = "the close command " + std::to_string(close);
        // Other system commands keep their default handling and do not quit.
        app->postCommand(WM_SYSCOMMAND, SC_RESTORE, 0);
        checks.expect(app->sync() && !app->waitForExit(200), "a system command other than close does not quit");
        app->postCommand(WM_SYSCOMMAND, close, 0);
        const std::optional<DWORD> code = app->waitForExit();
        if (checks.expect(code.has_value(), what + " ends the program")) {
            checks.expectEqual(*code, 0, "exit code after " + what);
        }
    }
}

void missingDataScenario(const Environment& env, Checks& checks) {
    AppSession app(env.program, env.emptyDir);
    if (!checks.expect(app.started(), "vyr-degats.exe starts")) return;
    const HWND box = app.waitForBox(std::wstring(loadCaption));
    if (!checks.expect(box != nullptr, "a missing data file shows \"Erreur de chargement\"")) return;
    const HWND dialog = app.findDialog();
    checks.expect(dialog != nullptr && !::IsWindowVisible(dialog),
                  "the box shows while the dialog is created, before it is shown");
    // The box comes before the defaults are written, with an empty list.
    checks.expectEqual(windowText(::GetDlgItem(dialog, field::level)), L"", "level while the box shows");
    checks.expectEqual(::SendMessageW(::GetDlgItem(dialog, field::spellList), CB_GETCOUNT, 0, 0), 0,
                       "spell list while the box shows");
    expectBox(checks, box, loadText, IDI_ASTERISK, dialog, "missing data file");
    checks.expect(dismissBox(app, box), "the box closes with OK");

    // Until the process ends, no other box may show.
    bool otherBox = false;
    std::optional<DWORD> code;
    for (int i = 0; i < 1500 && !(code = app.waitForExit(10)); ++i) {
        for (HWND window : processWindows(app.processId())) {
            otherBox = otherBox || (window != dialog && ::IsWindowVisible(window));
        }
    }
    checks.expect(!otherBox, "no other message after the load failure");
    if (checks.expect(code.has_value(), "the program ends after the box")) {
        checks.expectEqual(*code, 0, "exit code after a failed load");
    }
}

}  // namespace vyr::e2e
