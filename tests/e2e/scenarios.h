#pragma once
// The end-to-end scenarios: each starts vyr-degats.exe afresh and checks one area.

#include <memory>
#include <string>
#include <vector>

#include "app_session.h"
#include "checks.h"

namespace vyr::e2e {

struct Environment {
    std::wstring program;   // vyr-degats.exe
    std::wstring dataDir;   // holds the sample "Vyr degats.dat"
    std::wstring emptyDir;  // holds no data file
};

// Started and ready, or nothing (the failure is counted).
std::unique_ptr<AppSession> startApp(const std::wstring& program, const std::wstring& dir,
                                     Checks& checks);

// What a message box shows.
struct BoxContent {
    std::wstring text;
    std::vector<int> buttons;  // ids of the visible buttons
    HWND icon = nullptr;       // the icon control
};
BoxContent readBox(HWND box);
// Which standard icon the box shows: IDI_ASTERISK (information), IDI_EXCLAMATION,
// IDI_HAND, IDI_QUESTION, or nullptr if none matches.
const wchar_t* boxIcon(const BoxContent& box);
// Clicks the box's OK button and waits until the box is gone.
bool dismissBox(const AppSession& app, HWND box);

void layoutScenario(const Environment& env, Checks& checks);
void startupScenario(const Environment& env, Checks& checks);
void timingScenario(const Environment& env, Checks& checks);
void noSelectionScenario(const Environment& env, Checks& checks);
void goScenario(const Environment& env, Checks& checks);
void enterScenario(const Environment& env, Checks& checks);
void leaveFieldScenario(const Environment& env, Checks& checks);
void emptiedEnterScenario(const Environment& env, Checks& checks);
void quitButtonScenario(const Environment& env, Checks& checks);
void closeScenario(const Environment& env, Checks& checks);
void missingDataScenario(const Environment& env, Checks& checks);

// Not a test: for scripts/run. Starts the program on the sample file, prints
// "ready LEFT TOP RIGHT BOTTOM" (the window on the screen) once it is ready, waits for a
// line or the end of standard input, then clicks "Quitter".
void showScenario(const Environment& env, Checks& checks);

}  // namespace vyr::e2e
