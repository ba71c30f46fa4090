#include "player_options.h"

#include <algorithm>
#include <filesystem>

#include <CLI/CLI.hpp>

#include "error_words.h"
#include "file_bytes.h"

namespace vyr::cli {

namespace {

// What each player command does, as --help says it, and which spells it takes.
struct CommandText {
    std::string_view name;
    Spells spells;
    const char* description;
    bool twoLists = false;  // names an old and a new spell file itself, instead of --data
};
constexpr CommandText commandTexts[] = {
    {"calc", Spells::one,
     "Calcule un sort pour un personnage, comme le bouton GO ! du calculateur.\n"
     "Les entrées non données gardent les valeurs par défaut du calculateur. Chaque entrée est un\n"
     "nombre entier de 0 à 4294967295 ; à partir de 2147483648, elle compte comme négative, comme dans\n"
     "la fenêtre."},
    {"compare", Spells::none,
     "Calcule tous les sorts pour un personnage : une ligne par sort avec ses sorties, son élément\n"
     "ou son genre, son effet moyen ((min + max) / 2), son effet par seconde (moyen x 1000 / relance)\n"
     "et ce dernier pondéré par les chances de réussite."},
    {"diff", Spells::one,
     "Compare de deux à six configurations, A, B… F, pour un sort ou pour tous : chaque sortie\n"
     "côte à côte avec son écart à A et cet écart en pourcentage de A ; les lignes qui diffèrent\n"
     "d'abord. Toutes partent des entrées données par --setup, --profile et les options d'entrée."},
    {"weights", Spells::one,
     "Quelle entrée aide le plus : pour un sort (ou les N meilleurs de compare), chacune des 23\n"
     "entrées qu'un calcul lit augmentée de --points, avec le gain en effet par seconde pondéré, en\n"
     "effet moyen et en chaque délai (deux calculs ordinaires par entrée), la plus utile d'abord."},
    {"sweep", Spells::several,
     "Calcule des sorts pour chaque valeur d'une entrée, les autres fixes : une ligne par sort et\n"
     "par valeur. Deux --vary donnent une grille de l'effet par seconde pondéré d'un sort.\n"
     "Au plus 100000 calculs."},
    {"batch", Spells::none,
     "Un calcul par ligne d'entrée, une ligne de résultat chacun avec les 16 sorties. Entrée : JSON\n"
     "Lines, un objet par ligne comme {\"spell\": \"Boule de feu\", \"level\": 40} (entrées par nom\n"
     "de champ), ou CSV dont l'en-tête nomme les colonnes. Une ligne fautive est signalée sur la\n"
     "sortie d'erreur avec son numéro et les autres sont calculées ; le code de sortie est alors 1."},
    {"changes", Spells::none,
     "Ce que change une nouvelle liste de sorts : chaque sort de OLD retrouvé dans NEW par son nom (casse\n"
     "et accents libres ; entre homonymes, par leur rang) et comparé champ par champ ; un sort aux mêmes\n"
     "champs sous un autre nom est renommé, les autres sont retirés ou ajoutés. Pour chaque sort changé,\n"
     "les sorties et chiffres dérivés qui diffèrent pour les entrées données, avec l'écart et son\n"
     "pourcentage. Code de sortie : 0 aucun changement, 1 des changements, 2 mauvais usage ou fichier\n"
     "illisible.",
     true},
};

}  // namespace

std::shared_ptr<SetupOptions> addSetupOptions(CLI::App& command) {
    auto o = std::make_shared<SetupOptions>();
    o->codeGiven = command
                       .add_option("--setup", o->code,
                                   "Code de configuration (comme vyr setup l'affiche) ou lien de partage de la "
                                   "page\n(...#config=CODE) : les entrées qu'il porte")
                       ->group("Entrées");
    command
        .add_option("--profile", o->profiles,
                    "Fichier de profil, lignes \"nom = valeur\", # commentaires ; à répéter\n"
                    "(un personnage, un adversaire) : les derniers l'emportent")
        ->group("Entrées");
    for (std::size_t i = 0; i < inputFields.size(); ++i) {
        const InputField& f = inputFields[i];
        o->given[i] = command
                          .add_option("--" + std::string(f.option), o->texts[i],
                                      std::string(f.label) + " (par défaut " + std::string(f.defaultText) + ")")
                          ->type_name("NUMBER")
                          ->group("Entrées");
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
    if (item.starts_with(setupCodePrefix) || setupCodeOfLink(item)) {
        const Setup decoded = decodeSetupCode(item);
        // Only what the code changes goes over the base.
        for (std::size_t i = 0; i < inputFields.size(); ++i) {
            if (decoded.values[i] != Setup::defaults().values[i]) setup.values[i] = decoded.values[i];
        }
    } else if (item.find('=') != std::string::npos) {
        for (std::size_t start = 0; start <= item.size();) {
            const std::size_t end = std::min(item.find(',', start), item.size());
            const std::string part = item.substr(start, end - start);
            const std::size_t equals = part.find('=');
            if (equals == std::string::npos) throw Failure(option + " : attendu NOM=VALEUR, pas \"" + part + "\"");
            applyChange(setup, part.substr(0, equals), part.substr(equals + 1), option);
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
        several ? "Nom du sort (casse et accents libres) ; à répéter" : "Nom du sort (casse et accents libres)");
    CLI::Option* index = command.add_option("--index", o->indices, "Position du sort dans la liste, à partir de 0");
    index->type_name("NUMBER");
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

std::shared_ptr<CommonOptions> addCommonOptions(CLI::App& command, const std::string& defaultDataPath, bool twoLists) {
    auto o = std::make_shared<CommonOptions>();
    o->dataPath = defaultDataPath;
    if (!twoLists) command.add_option("--data", o->dataPath, "Fichier de sorts brouillé")->capture_default_str();
    command.add_flag("--force", o->force,
                     twoLists ? "Lit OLD et NEW comme le programme, en fichiers brouillés, même s'ils ne ressemblent "
                                "pas à des listes de sorts"
                              : "Lit --data comme le programme, en fichier brouillé, même s'il ne ressemble pas "
                                "à une liste de sorts");
    CLI::Option* csv = command.add_flag("--csv", o->csv, "CSV (RFC 4180) avec une ligne d'en-tête");
    command.add_flag("--json", o->json, "JSON : un tableau d'objets ligne (nombres ; null si vide)")->excludes(csv);
    command.add_option("-o,--output", o->outputPath, "Écrit le résultat dans FILE (- : la sortie standard)");
    return o;
}

PlayerCommand addPlayerCommand(CLI::App& app, std::string_view name, const std::string& defaultDataPath) {
    const CommandText& text = *std::find_if(std::begin(commandTexts), std::end(commandTexts),
                                            [&](const CommandText& t) { return t.name == name; });
    const Spells spells = text.spells;
    PlayerCommand c;
    c.command = app.add_subcommand(std::string(name), text.description);
    c.common = addCommonOptions(*c.command, defaultDataPath, text.twoLists);
    c.spell = spells == Spells::none ? std::make_shared<SpellOptions>()
                                     : addSpellOptions(*c.command, spells == Spells::several);
    c.inputs = addSetupOptions(*c.command);
    return c;
}

void whenRun(const PlayerCommand& c, int& exitCode, std::ostream& out, std::ostream& err, Produce produce) {
    c.command->callback([c, &exitCode, &out, &err, produce] {
        const Setup setup = buildSetup(*c.inputs);
        const SpellList list = readSpellList(c.common->dataPath, err, c.command->get_name(), c.common->force);
        writeResult(c.common->outputPath, produce(setup, list), out);
        exitCode = exitOk;
    });
}

void checkDistinctOutputs(const std::string& outputPath, const std::string& otherPath, const std::string& otherOption) {
    if (samePath(outputPath, otherPath))
        throw Failure("-o et " + otherOption + " nomment le même fichier, " + otherPath +
                      " ; donnez deux fichiers différents");
}

}  // namespace vyr::cli
