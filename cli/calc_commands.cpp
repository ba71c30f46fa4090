#include "calc_commands.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "analyses.h"
#include "file_bytes.h"
#include "player_options.h"

namespace vyr::cli {

void registerCalcCommands(CLI::App& app, const std::string& defaultDataPath, int& exitCode, std::ostream& out,
                          std::ostream& err) {
    const PlayerCommand calc = addPlayerCommand(app, "calc", defaultDataPath);
    auto explain = std::make_shared<bool>(false);
    calc.command->add_flag("--explain", *explain, "Montre les étapes derrière chaque nombre");
    whenRun(calc, exitCode, out, err,
            [spell = calc.spell, common = calc.common, explain](const Setup& setup, const SpellList& list) {
                const std::size_t index = chosenSpells(list, *spell, false).front();
                const RunResult result = runSpell(list, index, setup);
                const std::vector<std::string> steps =
                    *explain ? explainRun(list, index, setup) : std::vector<std::string>{};
                if (common->format() != Format::text)
                    return writeTable(calcRecord(list, setup, result, steps), common->format());
                Table table = calcTable(list, result);
                table.notes.push_back("Code : " + setupCode(setup));
                return writeText(table) + (*explain ? "\n" + writeText(explainTable(steps)) : "");
            });

    CLI::App* setupCommand =
        app.add_subcommand("setup",
                           "Affiche le code de configuration des entrées données (pour les partager : --setup CODE\n"
                           "les refait), puis les mêmes entrées en lignes de profil.");
    auto inputs = addSetupOptions(*setupCommand);
    auto json = std::make_shared<bool>(false);
    setupCommand->add_flag("--json", *json, "Un objet JSON : le code de configuration et les 24 entrées");
    auto outputPath = std::make_shared<std::string>();
    setupCommand->add_option("-o,--output", *outputPath, "Écrit le résultat dans FILE (- : la sortie standard)");
    setupCommand->callback([=, &exitCode, &out] {
        const Setup setup = buildSetup(*inputs);
        nlohmann::ordered_json j;
        j["setupCode"] = setupCode(setup);
        for (std::size_t i = 0; i < inputFields.size(); ++i)
            j["inputs"][std::string(inputFields[i].name)] = setup.values[i];
        writeResult(*outputPath, *json ? j.dump(1) + "\n" : setupCode(setup) + "\n" + profileText(setup), out);
        exitCode = exitOk;
    });
}

}  // namespace vyr::cli
