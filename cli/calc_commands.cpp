#include "calc_commands.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "analyses.h"
#include "error.h"
#include "file_bytes.h"
#include "player_options.h"

namespace vyr::cli {

void registerCalcCommands(CLI::App& app, const std::string& defaultDataPath, int& exitCode, std::ostream& out) {
    CLI::App* calc = app.add_subcommand(
        "calc", "Compute one spell for one character, as the calculator's GO ! button does.\n"
                "Inputs not given keep the calculator's defaults. Every input is a whole number\n"
                "from 0 to 4294967295; from 2147483648 up a value counts as negative, as in the dialog.");
    auto common = addCommonOptions(*calc, defaultDataPath);
    auto spell = addSpellOptions(*calc, false);
    auto explain = std::make_shared<bool>(false);
    calc->add_flag("--explain", *explain, "Show the steps behind every number");
    auto inputs = addSetupOptions(*calc);
    calc->callback([=, &exitCode, &out] {
        const Setup setup = buildSetup(*inputs);
        const SpellList list = loadSpellList(common->dataPath);
        const std::size_t index = chosenSpells(list, *spell, false).front();
        const RunResult result = runSpell(list, index, setup);
        const std::vector<std::string> steps = *explain ? explainRun(list, index, setup) : std::vector<std::string>{};
        std::string text;
        if (common->format() == Format::json) {
            text = calcJson(list, setup, result, steps);
        } else {
            Table table = calcTable(list, result);
            table.notes.push_back("Code : " + setupCode(setup));
            text = writeTable(table, common->format());
            if (*explain) text += (common->format() == Format::text ? "\n" : "") + writeTable(explainTable(steps), common->format());
        }
        writeResult(common->outputPath, text, out);
        exitCode = exitOk;
    });

    CLI::App* setupCommand = app.add_subcommand(
        "setup", "Print the setup code of the inputs given (to share them: --setup CODE rebuilds them),\n"
                 "then the same inputs as profile lines.");
    auto setupInputs = addSetupOptions(*setupCommand);
    auto json = std::make_shared<bool>(false);
    setupCommand->add_flag("--json", *json, "One JSON object: the setup code and the 24 inputs");
    auto outputPath = std::make_shared<std::string>();
    setupCommand->add_option("-o,--output", *outputPath, "Write the result to FILE (- : the standard output)");
    setupCommand->callback([=, &exitCode, &out] {
        const Setup setup = buildSetup(*setupInputs);
        std::string text = setupCode(setup) + "\n" + profileText(setup);
        if (*json) {
            nlohmann::ordered_json j;
            j["setupCode"] = setupCode(setup);
            for (std::size_t i = 0; i < inputFields.size(); ++i) j["inputs"][std::string(inputFields[i].name)] = setup.values[i];
            text = j.dump(1) + "\n";
        }
        writeResult(*outputPath, text, out);
        exitCode = exitOk;
    });
}

}  // namespace vyr::cli
