// vyr-e2e: end-to-end checks of vyr-degats.exe through real window messages.
// Usage: vyr-e2e SCENARIO PROGRAM DATA_DIR EMPTY_DIR
// Exits 0 when every check of the scenario passed, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "checks.h"
#include "scenarios.h"

namespace {

using namespace vyr::e2e;

struct NamedScenario {
    const wchar_t* name;
    void (*run)(const Environment&, Checks&);
};

constexpr NamedScenario scenarios[] = {
    {L"layout", &layoutScenario},
    {L"startup", &startupScenario},
    {L"timing", &timingScenario},
    {L"no-selection", &noSelectionScenario},
    {L"go", &goScenario},
    {L"enter", &enterScenario},
    {L"leave-field", &leaveFieldScenario},
    {L"emptied-enter", &emptiedEnterScenario},
    {L"quit-button", &quitButtonScenario},
    {L"close", &closeScenario},
    {L"missing-data", &missingDataScenario},
    {L"show", &showScenario},
};

// Paths from the build arrive in Unix form under Wine: "/x/y" is drive Z:'s "\x\y".
std::wstring windowsPath(std::wstring path) {
    if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: vyr-e2e SCENARIO PROGRAM DATA_DIR EMPTY_DIR\n");
        return 2;
    }
    const Environment env{windowsPath(argv[2]), windowsPath(argv[3]), windowsPath(argv[4])};
    for (const NamedScenario& scenario : scenarios) {
        if (std::wcscmp(scenario.name, argv[1]) != 0) continue;
        Checks checks;
        scenario.run(env, checks);
        std::printf("%s: %d checks passed, %d failed\n", utf8(argv[1]).c_str(), checks.passed(),
                    checks.failures());
        return checks.failures() == 0 && checks.passed() > 0 ? 0 : 1;
    }
    std::fprintf(stderr, "vyr-e2e: unknown scenario %s\n", utf8(argv[1]).c_str());
    return 2;
}
