#include "error_words.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace vyr::cli {

namespace {

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// A list value (one item a line) in a sentence.
std::string joined(std::string text, std::string_view separator = ", ") {
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + separator.size()))
        text.replace(at, 1, separator);
    return text;
}

std::string suggested(const Error& e) {
    const std::string nearest = e.value("nearest");
    return nearest.empty() ? "" : " ; vouliez-vous dire " + quoted(nearest) + " ?";
}

// "Boule de feu (2), Boule de glace (3)": the names and indices a spell error lists.
std::string spells(const Error& e) {
    const std::string names = e.value("names") + '\n', indices = e.value("indices") + '\n';
    std::string text;
    for (std::size_t n = 0, i = 0; n < names.size() && i < indices.size();) {
        const std::size_t nameEnd = names.find('\n', n), indexEnd = indices.find('\n', i);
        text +=
            (text.empty() ? "" : ", ") + names.substr(n, nameEnd - n) + " (" + indices.substr(i, indexEnd - i) + ")";
        n = nameEnd + 1;
        i = indexEnd + 1;
    }
    return text;
}

// The option a role stands for.
std::string option(const Error& e) {
    static constexpr std::pair<std::string_view, std::string_view> options[] = {
        {"setupCode", "--setup"},   {"sortColumn", "--sort"}, {"onlyElement", "--only"},
        {"effectKind", "--effect"}, {"vary", "--vary"},       {"spellIndex", "--index"}};
    const std::string role = e.value("role");
    for (const auto& [name, spelled] : options) {
        if (name == role) return std::string(spelled);
    }
    return role;
}

// Where a setup's value came from: "p.txt:3 : ", "--level : ", "--vary " (the input follows), or nothing.
std::string lead(const Error& e) {
    if (e.has("where")) return e.value("where") + " : ";
    return e.has("role") ? option(e) + " " : "";
}

std::string setupCode(const Error& e) { return "--setup : " + quoted(e.value("code")); }
std::string varied(const Error& e) { return "--vary " + e.value("input") + " : "; }
const std::string inputsAre = " (les entrées se nomment comme level ou fire-power)";
const std::string noWhole = " n'est pas un nombre entier de 0 à 4294967295";
const std::string spellNumbers = " sorts, numérotés à partir de 0)";

struct Wording {
    ErrorKind kind;
    std::string (*words)(const Error&);
};

// Every kind vyr meets, in the order of ErrorKind.
constexpr Wording wordings[] = {
    {ErrorKind::notSpellList,
     [](const Error& e) {
         return "« " + e.value("file") + " » : pas une liste de sorts : " +
                (e.value("reason") == "noRecordLine"
                     ? "aucune ligne n'a la forme d'un sort (« nom:nombre nombre nombre nombre … »)"
                     : "trop peu de lignes ont la forme d'un sort") +
                " (--force le lit comme le programme, en fichier brouillé)";
     }},
    {ErrorKind::unknownInput,
     [](const Error& e) {
         if (e.value("role") == "vary")
             return "--vary " + e.value("text") + " : entrée inconnue" + suggested(e) + inputsAre;
         return lead(e) + "entrée inconnue " + quoted(e.value("typed")) + suggested(e) + inputsAre;
     }},
    {ErrorKind::notWholeNumber,
     [](const Error& e) {
         const std::string typed = e.value("form") == "number" ? e.value("typed") : quoted(e.value("typed"));
         return lead(e) + e.value("input") + " : " + typed + noWhole;
     }},
    {ErrorKind::nameValueExpected, [](const Error& e) { return lead(e) + "attendu \"nom = valeur\""; }},
    {ErrorKind::givenTwice,
     [](const Error& e) {
         const std::string typed = quoted(e.value("typed"));
         return lead(e) + typed + " est donné deux fois";
     }},
    {ErrorKind::notSetupCode,
     [](const Error& e) {
         return setupCode(e) + " n'est ni un code de configuration (il commence par " + e.value("reads") +
                ") ni un lien de partage (il contient config=)";
     }},
    {ErrorKind::setupCodeVersion,
     [](const Error& e) {
         return setupCode(e) + " est d'une version que ce vyr ne lit pas (il lit " + e.value("reads") + ")";
     }},
    {ErrorKind::damagedSetupCode,
     [](const Error& e) {
         return setupCode(e) + " est abîmé ou mal recopié (sa somme de contrôle ne correspond pas)";
     }},
    {ErrorKind::setupCodeCharacter,
     [](const Error& e) {
         return setupCode(e) + " : '" + e.value("character") + "' ne peut pas figurer dans un code de configuration";
     }},
    {ErrorKind::unknownColumn,
     [](const Error& e) {
         return option(e) + " : colonne inconnue " + quoted(e.value("typed")) + suggested(e) +
                " (colonnes : " + joined(e.value("known")) + ")";
     }},
    {ErrorKind::notAnyOf,
     [](const Error& e) {
         return option(e) + " : " + quoted(e.value("typed")) + " n'est aucun de " + joined(e.value("known"));
     }},
    {ErrorKind::setupCount,
     [](const Error& e) {
         return "il faut de " + e.value("least") + " à " + e.value("most") + " configurations à comparer, pas " +
                e.value("count");
     }},
    {ErrorKind::sweepForm,
     [](const Error& e) {
         return "--vary " + e.value("text") + " : attendu NOM=DÉBUT..FIN[:PAS], comme level=1..200:5";
     }},
    {ErrorKind::zeroStep, [](const Error& e) { return varied(e) + "le pas doit valoir 1 ou plus"; }},
    {ErrorKind::reversedRange,
     [](const Error& e) {
         return varied(e) + "l'intervalle " + e.value("first") + ".." + e.value("last") +
                " est à l'envers ; écrivez la plus petite valeur d'abord";
     }},
    {ErrorKind::tooManyValues,
     [](const Error& e) {
         return varied(e) + e.value("count") + " valeurs, au plus " + e.value("most") + " (donnez un PAS plus grand)";
     }},
    {ErrorKind::tooManyRuns,
     [](const Error& e) {
         return "--vary : " + e.value("count") + " calculs" + (e.has("grid") ? " dans la grille" : "") + ", au plus " +
                e.value("most");
     }},
    {ErrorKind::sameSweepInputs,
     [](const Error&) { return std::string("--vary : les deux entrées qui varient doivent être différentes"); }},
    {ErrorKind::unknownSeries, [](const Error& e) { return "aucune courbe ne montre " + quoted(e.value("typed")); }},
    {ErrorKind::unknownSpell,
     [](const Error& e) {
         const bool none = e.value("names").empty();
         return "aucun sort ne se nomme " + quoted(e.value("typed")) +
                (none ? " (vyr spells les liste)" : " ; les plus proches : " + spells(e));
     }},
    {ErrorKind::ambiguousSpell,
     [](const Error& e) {
         return "plusieurs sorts se nomment " + quoted(e.value("typed")) + " (utilisez --index) : " + spells(e);
     }},
    {ErrorKind::spellNameOrIndex, [](const Error&) { return std::string("donnez soit --spell NOM, soit --index N"); }},
    {ErrorKind::negativeSpellIndex,
     [](const Error& e) {
         return "--index " + e.value("index") + " : négatif ; les sorts sont numérotés à partir de 0";
     }},
    {ErrorKind::spellIndexPastEnd,
     [](const Error& e) {
         const std::string index = (e.value("role") == "spellIndex" ? "--index " : "l'index ") + e.value("index");
         return index + " est au-delà de la liste (" + e.value("count") + spellNumbers;
     }},
    {ErrorKind::unclosedQuote,
     [](const Error&) { return std::string("une cellule entre guillemets n'est pas refermée"); }},
    {ErrorKind::jsonObjectExpected,
     [](const Error&) {
         return std::string("attendu un objet JSON, tel que {\"spell\": \"Boule de feu\", \"level\": 40}");
     }},
    {ErrorKind::nestedValue,
     [](const Error& e) { return "la valeur de " + quoted(e.value("name")) + " doit être un nombre ou un texte"; }},
    {ErrorKind::cellCount,
     [](const Error& e) { return e.value("count") + " cellules, l'en-tête en a " + e.value("expected"); }},
    {ErrorKind::spellAndIndex, [](const Error&) { return std::string("donnez spell ou index, pas les deux"); }},
    {ErrorKind::spellNotText, [](const Error&) { return std::string("spell : attendu un nom entre guillemets"); }},
    {ErrorKind::unknownName,
     [](const Error& e) {
         return "nom inconnu " + quoted(e.value("typed")) + suggested(e) +
                " (donnez spell ou index, et des entrées comme level)";
     }},
    {ErrorKind::noSpellNorIndex, [](const Error&) { return std::string("ni spell ni index"); }},
    {ErrorKind::unknownBatchColumn,
     [](const Error& e) {
         return "colonne inconnue " + quoted(e.value("typed")) + suggested(e) +
                " (colonnes : spell ou index, et des entrées comme level)";
     }},
    {ErrorKind::batchHeaderWithoutSpell,
     [](const Error&) { return std::string("l'en-tête ne nomme ni spell ni index"); }},
    {ErrorKind::unreadableFile,
     [](const Error& e) { return e.value("path") + " : " + systemReason(std::stoi(e.value("errno"))); }},
    {ErrorKind::unwritableFile,
     [](const Error& e) {
         return e.value("path") + " : " + systemReason(std::stoi(e.value("errno")), true) +
                " (rien n'est écrit ; le fichier précédent reste tel quel)";
     }},
    {ErrorKind::noSpellLoads,
     [](const Error& e) { return "« " + e.value("file") + " » : aucun sort ne se charge (vyr check dit pourquoi)"; }},
    {ErrorKind::fileTooLarge,
     [](const Error& e) { return "« " + e.value("file") + " » : bien trop grand pour une liste de sorts"; }},
};
static_assert(std::size(wordings) == std::size(errorKindNames), "every kind has its words");

}  // namespace

std::string sentence(const Error& e) {
    const auto row =
        std::find_if(std::begin(wordings), std::end(wordings), [&](const Wording& w) { return w.kind == e.kind(); });
    const std::string said = row == std::end(wordings) ? e.what() : row->words(e);
    return e.has("line") ? "ligne " + e.value("line") + " : " + said : said;
}

std::string systemReason(int error, bool writing) {
    switch (error) {
        case ENOENT:
            return writing ? "dossier introuvable" : "fichier introuvable";
        case EACCES:
        case EPERM:
            return "permission refusée";
        case EISDIR:
            return "est un dossier, pas un fichier";
        case ENOSPC:
            return "disque plein";
#ifdef EDQUOT
        case EDQUOT:
            return "quota de disque dépassé";
#endif
        case EROFS:
            return "disque en lecture seule";
        case EFBIG:
            return "fichier trop grand";
        case ENAMETOOLONG:
            return "nom de fichier trop long";
        case ENOTDIR:
            return "une partie du chemin n'est pas un dossier";
        case EMFILE:
        case ENFILE:
            return "trop de fichiers ouverts";
        case EIO:
            return "erreur du disque en lecture ou en écriture";
        case EBUSY:
            return "fichier occupé par un autre programme";
        default:
            return std::strerror(error);
    }
}

}  // namespace vyr::cli
