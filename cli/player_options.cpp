#include "player_options.h"

#include <algorithm>
#include <filesystem>

#include <CLI/CLI.hpp>

#include "error.h"
#include "file_bytes.h"

namespace vyr::cli {

namespace {

// What each player command does, as --help says it, and which spells it takes.
struct CommandText {
    std::string_view name;
    Spells spells;
    const char* description;
};
constexpr CommandText commandTexts[] = {
    {"calc", Spells::one,
     "Compute one spell for one character, as the calculator's GO ! button does.\n"
     "Inputs not given keep the calculator's defaults. Every input is a whole number\n"
     "from 0 to 4294967295; from 2147483648 up a value counts as negative, as in the dialog."},
    {"compare", Spells::none,
     "Compute every spell for one character: one row per spell with its outputs, its element\n"
     "or kind, its mean effect ((min + max) / 2), effect per second (mean x 1000 / recast)\n"
     "and that figure weighted by the chance of success."},
    {"diff", Spells::one,
     "Compare two to six setups, A, B, ... F, for one spell or for every spell: each output\n"
     "side by side with its difference to A and the change in percent of A; rows that differ\n"
     "first. All start from the inputs given by --setup, --profile and the input options."},
    {"weights", Spells::one,
     "Which input helps most: for one spell (or the best N of compare), each of the 23 inputs\n"
     "a run reads raised by --points, with the gain in weighted effect per second, in mean\n"
     "effect and in each delay (two ordinary runs per input), the most helpful first."},
    {"sweep", Spells::several,
     "Compute spells for every value of one input, the others fixed: one row per spell and\n"
     "value. Two --vary give a grid of the weighted effect per second of one spell.\n"
     "At most 100000 runs."},
    {"batch", Spells::none,
     "One run per input line, one result line each with all 16 outputs. Input: JSON Lines,\n"
     "one object per line such as {\"spell\": \"Boule de feu\", \"level\": 40} (inputs by field\n"
     "name), or CSV whose header names the columns. A bad line is reported on the standard\n"
     "error with its number and the others are computed; the exit code is then 1."},
};

}  // namespace

std::shared_ptr<SetupOptions> addSetupOptions(CLI::App& command) {
    auto o = std::make_shared<SetupOptions>();
    o->codeGiven = command.add_option("--setup", o->code, "Setup code (as vyr setup prints it): the inputs it carries")
                       ->group("Inputs");
    command
        .add_option("--profile", o->profiles,
                    "Profile file of \"name = value\" lines, # comments; repeat it\n"
                    "(a character, an opponent): later files override earlier ones")
        ->group("Inputs");
    for (std::size_t i = 0; i < inputFields.size(); ++i) {
        const InputField& f = inputFields[i];
        o->given[i] = command
                          .add_option("--" + std::string(f.option), o->texts[i],
                                      std::string(f.label) + " (default " + std::string(f.defaultText) + ")")
                          ->type_name("NUMBER")
                          ->group("Inputs");
    }
    return o;
}

Setup buildSetup(const SetupOptions& o) {
    Setup setup = o.codeGiven->count() ? decodeSetupCode(o.code) : Setup::defaults();
    for (const std::string& path : o.profiles) applyProfile(setup, readFile(path), path);
    for (std::size_t i = 0; i < inputFields.size(); ++i) {
        if (o.given[i]->count())
            assign(setup, inputFields[i].option, o.texts[i], "--" + std::string(inputFields[i].option));
    }
    return setup;
}

void applySetupItem(Setup& setup, const std::string& item, const std::string& option) {
    const auto linked = setupCodeOfLink(item);
    if (linked || item.starts_with(setupCodePrefix)) {
        const Setup decoded = decodeSetupCode(linked.value_or(item));
        // Only what the code changes goes over the base.
        for (std::size_t i = 0; i < inputFields.size(); ++i) {
            if (decoded.values[i] != Setup::defaults().values[i]) setup.values[i] = decoded.values[i];
        }
    } else if (item.find('=') != std::string::npos) {
        for (std::size_t start = 0; start <= item.size();) {
            const std::size_t end = std::min(item.find(',', start), item.size());
            const std::string part = item.substr(start, end - start);
            const std::size_t equals = part.find('=');
            if (equals == std::string::npos) throw Error(option + ": expected NAME=VALUE, not \"" + part + "\"");
            assign(setup, part.substr(0, equals), part.substr(equals + 1), option);
            start = end + 1;
        }
    } else {
        applyProfile(setup, readFile(item), item);
    }
}

std::shared_ptr<SpellOptions> addSpellOptions(CLI::App& command, bool several) {
    auto o = std::make_shared<SpellOptions>();
    CLI::Option* name = command.add_option(
        "--spell", o->names,
        several ? "Spell name (case and accents may differ); repeat it" : "Spell name (case and accents may differ)");
    CLI::Option* index =
        command.add_option("--index", o->indices, "Spell position in the list, from 0")->type_name("NUMBER");
    if (!several) {
        name->expected(1);
        index->expected(1);
        name->excludes(index);
    }
    return o;
}

std::vector<std::size_t> chosenSpells(const SpellList& list, const SpellOptions& o, bool several) {
    if (!several || (o.names.empty() && o.indices.empty())) {
        return {chooseSpell(list, o.names.empty() ? std::nullopt : std::optional(o.names.front()),
                            o.indices.empty() ? std::nullopt : std::optional(o.indices.front()))};
    }
    std::vector<std::size_t> spells;
    for (const std::string& name : o.names) spells.push_back(findSpell(list, name));
    for (std::int64_t index : o.indices) spells.push_back(chooseSpell(list, std::nullopt, index));
    return spells;
}

std::shared_ptr<CommonOptions> addCommonOptions(CLI::App& command, const std::string& defaultDataPath) {
    auto o = std::make_shared<CommonOptions>();
    o->dataPath = defaultDataPath;
    command.add_option("--data", o->dataPath, "Scrambled spell file")->capture_default_str();
    CLI::Option* csv = command.add_flag("--csv", o->csv, "CSV (RFC 4180) with a header line");
    command.add_flag("--json", o->json, "JSON: an array of row objects (numbers; null when empty)")->excludes(csv);
    command.add_option("-o,--output", o->outputPath, "Write the result to FILE (- : the standard output)");
    return o;
}

PlayerCommand addPlayerCommand(CLI::App& app, std::string_view name, const std::string& defaultDataPath) {
    const CommandText& text = *std::find_if(std::begin(commandTexts), std::end(commandTexts),
                                            [&](const CommandText& t) { return t.name == name; });
    const Spells spells = text.spells;
    PlayerCommand c;
    c.command = app.add_subcommand(std::string(name), text.description);
    c.common = addCommonOptions(*c.command, defaultDataPath);
    c.spell = spells == Spells::none ? std::make_shared<SpellOptions>()
                                     : addSpellOptions(*c.command, spells == Spells::several);
    c.inputs = addSetupOptions(*c.command);
    return c;
}

void whenRun(const PlayerCommand& c, int& exitCode, std::ostream& out, Produce produce) {
    c.command->callback([c, &exitCode, &out, produce] {
        const Setup setup = buildSetup(*c.inputs);
        writeResult(c.common->outputPath, produce(setup, readSpellList(c.common->dataPath)), out);
        exitCode = exitOk;
    });
}

void checkDistinctOutputs(const std::string& outputPath, const std::string& otherPath, const std::string& otherOption) {
    if (outputPath.empty() || outputPath == "-" || otherPath.empty()) return;
    const auto normal = [](const std::string& p) { return std::filesystem::absolute(p).lexically_normal(); };
    if (normal(outputPath) == normal(otherPath))
        throw Error("-o and " + otherOption + " name the same file, " + otherPath + "; give two different files");
}

}  // namespace vyr::cli
