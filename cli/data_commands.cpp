#include "data_commands.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include <CLI/CLI.hpp>

#include "command_line.h"
#include "cp1252.h"
#include "file_bytes.h"
#include "finding_words.h"
#include "spell_check.h"
#include "spell_file.h"
#include "spell_list.h"
#include "spell_reading.h"
#include "table.h"

namespace vyr::cli {

namespace {

// The options of the four commands (only one of them runs).
struct DataOptions {
    std::string input, output, dataPath;  // output empty or "-": the standard output
    bool raw = false, force = false, plain = false, csv = false, json = false;
    const CLI::Option* data = nullptr;  // spells' --data
};

std::string scramblingNote() {
    char text[200];
    std::snprintf(text, sizeof text,
                  "Le fichier de sorts est la liste en clair, chaque octet XOR 0x%02X aux positions paires et "
                  "XOR 0x%02X aux positions impaires, comptées depuis le début du fichier.",
                  scrambleBase, (scrambleBase + 1u) & 0xFFu);
    return text;
}

std::string counted(std::size_t n, const std::string& thing) {
    return std::to_string(n) + " " + thing + (n == 1 ? "" : "s");
}

// Stops before anything is written when the file looks like the other form: more of its
// lines read as records in that form than in the one the command expects.
void refuseOtherForm(const DataOptions& o, std::string_view bytes, bool wantScrambled) {
    const SpellFileGuess guess = guessSpellFile(bytes);
    const std::size_t other = wantScrambled ? guess.plainRecords : guess.scrambledRecords;
    if (o.force || other <= (wantScrambled ? guess.scrambledRecords : guess.plainRecords)) return;
    const std::string looks = wantScrambled ? "une liste de sorts en clair" : "un fichier de sorts brouillé";
    const std::string read = wantScrambled ? " telles quelles" : " une fois débrouillées";
    throw Failure(o.input + " semble déjà " + looks + " (" + counted(other, "ligne") + " lue" +
                  (other == 1 ? "" : "s") + " comme des sorts" + read + ") ; rien n'est écrit (--force passe outre)");
}

// "PATH:LINE[:COLUMN]: erreur|avertissement : message" each, or a table row each with --csv or --json.
void printFindings(std::ostream& os, const DataOptions& o, const CheckReport& report) {
    if (o.csv || o.json) {
        Table table;
        table.columns = {{"line", "Ligne"},
                         {"column", "Colonne"},
                         {"severity", "Gravité"},
                         {"kind", "Genre"},
                         {"message", "Message"}};
        for (const Finding& f : report.findings) {
            table.rows.push_back({std::int64_t(f.line), std::int64_t(f.column), severityWord(f.severity),
                                  std::string(findingKindName(f.kind)), findingSentence(f)});
        }
        os << writeTable(table, o.csv ? Format::csv : Format::json);
        return;
    }
    for (const Finding& f : report.findings) {
        os << o.input << ':' << f.line << (f.column ? ":" + std::to_string(f.column) : "") << ": "
           << severityWord(f.severity) << " : " << findingSentence(f) << '\n';
    }
}

int runDecode(const DataOptions& o, std::ostream& out, std::ostream&) {
    std::string bytes = readFile(o.input);
    refuseOtherForm(o, bytes, true);
    if (samePath(o.input, o.output)) throw Failure(o.input + " : -o désigne le fichier lu ; rien n'est écrit");
    unscramble(bytes.data(), bytes.size());
    writeResult(o.output, o.raw ? bytes : cp1252ToUtf8(bytes), out);
    return exitOk;
}

int runEncode(const DataOptions& o, std::ostream& out, std::ostream& err) {
    const std::string input = readFile(o.input);
    refuseOtherForm(o, input, false);
    if (samePath(o.input, o.output))
        throw Failure(o.input + " : -o désigne la liste lue, qui serait perdue ; rien n'est écrit");
    PlainList list = preparePlainList(input, o.raw);
    const std::string about = "vyr encode : " + o.input + " : ";
    if (list.markSkipped) err << about << "marque d'ordre des octets UTF-8 du début sautée\n";
    if (list.breaksDropped) {
        err << about << "saut de ligne de la fin retiré : "
            << "un fichier de données finit juste après son dernier champ\n";
    }
    printFindings(err, o, list.report);
    const std::size_t errors = list.report.errors();
    if (!list.encodable || (errors > 0 && !o.force)) {
        throw Failure(o.input + " : " + counted(errors, "erreur") + " ; rien n'est écrit" +
                          (list.encodable ? " (--force écrit quand même)" : ""),
                      exitProblems);
    }
    unscramble(list.text.data(), list.text.size());
    writeResult(o.output, list.text, out);
    const std::string where = o.output == "-" ? "la sortie standard" : "« " + o.output + " »";
    err << "vyr encode : " << counted(list.report.loaded, "sort") << " écrit" << (list.report.loaded == 1 ? "" : "s")
        << " dans " << where << '\n';
    return exitOk;
}

// The file is checked in the form it looks like, which a note says when --plain said otherwise;
// a file that is no spell list is refused unless --force, which checks it as the program reads it.
int runCheck(const DataOptions& o, std::ostream& out, std::ostream& err) {
    const std::string bytes = readFile(o.input);
    const SpellFileGuess guess = guessSpellFile(bytes);
    if (!o.force) requirePlausible(guess, o.input);
    const bool plain = guess.plausible && guess.form == SpellFileForm::plain;
    if (plain != o.plain) {
        err << "vyr check : « " << o.input << " » : "
            << (plain ? "liste en clair (non brouillée), lue comme --plain"
                      : "fichier de données brouillé, lu comme tel malgré --plain")
            << '\n';
    }
    // A plain list that is no UTF-8 is Windows-1252 already, as the loaders read it.
    const CheckReport report = plain ? preparePlainList(bytes, !plainListText(bytes).wasUtf8).report
                                     : checkSpellText(loaderText(bytes, SpellFileForm::scrambled));
    printFindings(out, o, report);
    const std::size_t errors = report.errors();
    if (o.csv || o.json) return report.findings.empty() ? exitOk : exitProblems;
    out << o.input << " : " << report.loaded << (report.loaded == 1 ? " sort se charge" : " sorts se chargent");
    if (report.findings.empty()) {
        out << ", aucun problème\n";
        return exitOk;
    }
    out << " ; " << counted(errors, "erreur") << ", " << counted(report.findings.size() - errors, "avertissement")
        << '\n';
    return exitProblems;
}

int runSpells(const DataOptions& o, std::ostream& out, std::ostream& err) {
    const SpellList list = [&o, &err] {
        try {
            return readSpellList(o.dataPath, err, "spells");
        } catch (const Error& e) {
            if (o.data->count() > 0) throw;
            const std::string searched = " (cherché dans le dossier courant et à côté de vyr";
            throw Failure(sentence(e) + searched + " ; utilisez --data FILE)");
        }
    }();
    Table table;
    table.columns = {{"index", "n°"}, {"name", "Sort"}, {"code", "Code"}, {"special", "Spécial"}};
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string code = cp1252ToUtf8(list.record(i).code());
        table.rows.push_back(
            {std::int64_t(i), list.utf8Names[i], code, std::string(isSpecialCode(code) ? "oui" : "non")});
    }
    out << writeTable(table, o.csv ? Format::csv : o.json ? Format::json : Format::text);
    return exitOk;
}

}  // namespace

void registerDataCommands(CLI::App& app, const std::string& defaultDataPath, int& exitCode, std::ostream& out,
                          std::ostream& err) {
    auto o = std::make_shared<DataOptions>();
    o->dataPath = defaultDataPath;
    const auto add = [&](const char* name, const std::string& help,
                         int (*run)(const DataOptions&, std::ostream&, std::ostream&)) {
        CLI::App* command = app.add_subcommand(name, help);
        command->callback([o, run, &exitCode, &out, &err] { exitCode = run(*o, out, err); });
        return command;
    };
    const std::string outputHelp = "Écrit dans ce fichier (\"-\" : la sortie standard)";
    CLI::App* decode = add("decode", "Affiche la forme en clair d'un fichier de sorts brouillé, en UTF-8", runDecode);
    decode->add_option("FILE", o->input, "Fichier de sorts brouillé, comme \"Vyr degats.dat\"")->required();
    decode->add_option("-o,--output", o->output, outputHelp + " au lieu de la sortie standard");
    decode->add_flag("--raw", o->raw, "Garde les octets Windows-1252 au lieu de les convertir en UTF-8");
    decode->add_flag("--force", o->force, "Décode même un fichier qui semble une liste en clair");
    decode->footer(scramblingNote());

    CLI::App* encode = add(
        "encode", "Fait d'une liste de sorts en clair (UTF-8) un fichier de sorts brouillé (Windows-1252)", runEncode);
    encode->add_option("PLAIN", o->input, "Liste de sorts en clair, UTF-8")->required();
    encode->add_option("-o,--output", o->output, outputHelp)->required();
    encode->add_flag("--raw", o->raw, "PLAIN est en Windows-1252, comme decode --raw l'écrit");
    encode->add_flag("--force", o->force,
                     "Écrit même une liste avec des erreurs, ou un fichier qui semble déjà brouillé");
    encode->footer(scramblingNote() +
                   "\nUne marque d'ordre des octets UTF-8 au début est sautée et les sauts de ligne à la fin "
                   "sont retirés. La liste est vérifiée comme par check --plain : les avertissements sont "
                   "affichés ; des erreurs, ou un caractère que Windows-1252 ne connaît pas, l'arrêtent sans "
                   "rien écrire (code de sortie 1).");

    CLI::App* check = add("check",
                          "Signale chaque problème d'un fichier de sorts, un par ligne : "
                          "FILE:LIGNE: erreur|avertissement : ...",
                          runCheck);
    check->add_option("FILE", o->input, "Fichier de sorts brouillé (ou liste en clair avec --plain)")->required();
    check->add_flag("--plain", o->plain, "FILE est la liste en clair UTF-8, comme vyr encode la prend");
    check->add_flag("--force", o->force,
                    "Vérifie comme un fichier brouillé même un fichier qui ne semble pas une liste de sorts");
    CLI::Option* checkCsv = check->add_flag("--csv", o->csv,
                                            "CSV : une ligne par problème (line, column, "
                                            "severity, kind, message)");
    check->add_flag("--json", o->json, "JSON : un objet par problème")->excludes(checkCsv);
    check->footer(
        "Un sort par ligne : NOM:armourExempt delayFactor delayExtra delayLevel code [rollRange rollBase intDivisor "
        "wisDivisor], une espace après chaque champ, le dernier compris, et pas de saut de ligne après la dernière "
        "ligne. Un code qui commence par un \"s\" minuscule est spécial et n'a pas de champs de jet.\nLes nombres "
        "se lisent comme le programme les lit : un signe facultatif, puis des chiffres jusqu'au premier autre "
        "caractère ; hors de l'intervalle signé sur 32 bits, ils saturent à -2147483648 ou 2147483647, et "
        "armourExempt en garde les 8 bits bas.\nCode de sortie : 0 aucun problème, 1 des problèmes trouvés, 2 le "
        "fichier ne peut pas être lu.");

    CLI::App* spells = add("spells", "Liste les sorts d'un fichier de sorts : n°, nom, code, spécial", runSpells);
    o->data = spells->add_option("--data", o->dataPath, "Fichier de sorts brouillé")->capture_default_str();
    CLI::Option* csv = spells->add_flag("--csv", o->csv, "CSV (RFC 4180) avec une ligne d'en-tête");
    spells->add_flag("--json", o->json, "JSON : un tableau d'objets ligne")->excludes(csv);
}

}  // namespace vyr::cli
