#include "calc_commands.h"

#include <iostream>
#include <memory>
#include <sstream>

#include <CLI/CLI.hpp>

#include "calc_support.h"
#include "character_inputs.h"
#include "cp1252.h"
#include "fields.h"
#include "player_common.h"

namespace vyr::cli {

namespace {

class PrintTrace : public CalcTrace {
public:
    explicit PrintTrace(std::ostream& out) : out_(out) {}
    void step(const std::string& line) override { out_ << "  " << line << '\n'; }

private:
    std::ostream& out_;
};

}  // namespace

int runCalc(const CalcOptions& options, std::ostream& out, std::ostream& err) {
    std::string error;
    SpellData data;
    if (!loadSpellData(options.dataPath, data, error)) {
        err << "vyr calc: " << error << '\n';
        return 2;
    }
    const std::optional<std::size_t> chosen = chooseSpell(data, options.spell, options.index, error);
    if (!chosen) {
        err << "vyr calc: " << error << '\n';
        return 2;
    }
    const std::size_t index = *chosen;

    std::ostringstream steps;
    PrintTrace trace(steps);
    const RunResult result = runOnce(data, index, options.inputs, options.explain ? &trace : nullptr);
    const std::string name = cp1252ToUtf8(data.names[index]);
    if (options.json) {
        out << "{\"spell\": " << jsonString(name) << ", \"index\": " << index << ", \"outputs\": ";
        printOutputsJson(out, result);
        if (options.explain) {
            // The explanation rides along as an array of lines.
            out << ", \"explain\": [";
            std::istringstream lines(steps.str());
            std::string line;
            bool first = true;
            while (std::getline(lines, line)) {
                out << (first ? "" : ", ") << jsonString(line.substr(2));
                first = false;
            }
            out << ']';
        }
        out << "}\n";
        return 0;
    }
    out << "Sort : " << name << " (n\xC2\xB0 " << index << ")\n";
    printOutputsText(out, result);
    if (options.explain) out << "\nD\xC3\xA9tail du calcul :\n" << steps.str();
    return 0;
}

void registerCalcCommands(CLI::App& app, const std::string& defaultDataPath, int& exitCode) {
    CLI::App* calc = app.add_subcommand(
        "calc", "Compute one spell for one character, as the calculator's GO ! button does.\n"
                "Inputs not given keep the calculator's defaults. Every input is a whole number\n"
                "from 0 to 4294967295; from 2147483648 up a value counts as negative, as in the dialog.");
    struct State {
        CalcOptions options;
        std::string spell;
        std::size_t index = 0;
        std::string outputPath;
    };
    auto state = std::make_shared<State>();
    state->options.dataPath = defaultDataPath;
    calc->add_option("--data", state->options.dataPath, "Scrambled spell file")->capture_default_str();
    CLI::Option* spell = calc->add_option("--spell", state->spell, "Spell name (case and accents may differ)");
    CLI::Option* index = calc->add_option("--index", state->index, "Spell position in the list, from 0");
    spell->excludes(index);
    calc->add_flag("--json", state->options.json, "One JSON object with all 16 outputs");
    calc->add_flag("--explain", state->options.explain, "Show the steps behind every number");
    calc->add_option("-o,--output", state->outputPath, "Write the result to FILE instead of the standard output");
    auto inputs = std::make_shared<InputOptions>(*calc);
    calc->callback([state, inputs, spell, index, &exitCode] {
        CalcOptions& o = state->options;
        if (spell->count() > 0) o.spell = state->spell;
        if (index->count() > 0) o.index = state->index;
        std::string error;
        if (!inputs->resolve(o.inputs, error)) {
            std::cerr << "vyr calc: " << error << '\n';
            exitCode = 2;
            return;
        }
        ResultSink sink;
        if (!sink.open(state->outputPath, std::cout, error)) {
            std::cerr << "vyr calc: " << error << '\n';
            exitCode = 2;
            return;
        }
        exitCode = runCalc(o, sink.stream(), std::cerr);
        if (!sink.finish(error)) {
            std::cerr << "vyr calc: " << error << '\n';
            exitCode = 2;
        }
    });
}

}  // namespace vyr::cli
