#include "finding_words.h"

#include <cstdio>

namespace vyr::cli {

namespace {

// A field as it appears in a message: in quotes, control bytes escaped.
std::string quoted(const std::string& utf8) {
    std::string text = "\"";
    for (char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
        text += b == '\r' ? "\\r" : b == '\t' ? "\\t" : b < 0x20 || b == 0x7F ? escaped : std::string(1, c);
    }
    return text + "\"";
}

std::string nextLine(const Finding& f) {
    return f.value("atEnd").empty() ? "le chargeur lit la suite sur la ligne suivante"
                                    : "le champ court jusqu'à la fin du fichier";
}

}  // namespace

std::string severityWord(Severity severity) { return severity == Severity::error ? "erreur" : "avertissement"; }

std::string findingSentence(const Finding& f) {
    const auto v = [&f](const char* key) { return f.value(key); };
    const std::string field = v("field"), shown = field + " " + quoted(v("text")),
                      readsAs = " (se lit " + v("reads") + ")";
    switch (f.kind) {
        case FindingKind::noColon:
            return "pas de \":\" sur cette ligne : ce n'est pas un sort et le chargeur la saute";
        case FindingKind::blankLine:
            return "ligne vide : le chargeur la saute";
        case FindingKind::tooManySpells:
            return "plus de " + v("capacity") + " sorts : celui-ci et les " +
                   std::to_string(std::stoul(v("leftOut")) - 1) + " suivants ne sont pas chargés";
        case FindingKind::emptyNumber:
            return field + " est vide" + readsAs;
        case FindingKind::notANumber:
            return shown + " n'est pas un nombre" + readsAs;
        case FindingKind::trailingText:
            return shown + " est suivi d'autre texte" + readsAs;
        case FindingKind::outOfRange:
            return field + " " + v("text") + " sort de l'intervalle sur 32 bits (sature à " + v("reads") + ")";
        case FindingKind::armourLowBits:
            return "armourExempt " + v("text") +
                   " ne garde que ses 8 bits bas et se lit 0 : l'armure de la cible est soustraite";
        case FindingKind::emptyCode:
            return "code vide : la portée du sort n'est pas mise à l'échelle";
        case FindingKind::unknownSpecialCode:
            return "code spécial " + quoted(v("code")) + " : ne correspond à aucune des " + v("rules") +
                   " règles spéciales, le sort ne calcule rien";
        case FindingKind::upperCaseS:
            return "code " + quoted(v("code")) +
                   " commence par un \"S\" majuscule : pas un sort spécial, quatre nombres de plus sont lus";
        case FindingKind::notCodeLetter:
            return "code " + quoted(v("code")) + " : " + quoted(v("letter")) + " n'est pas une lettre de code (de " +
                   v("first") + " à " + v("last") + "), la portée reste telle quelle ; seuls les codes en " +
                   v("scaling") + " la mettent à l'échelle";
        case FindingKind::incompleteCode:
            return "code " + quoted(v("code")) + " : " + quoted(v("prefix")) +
                   " ne met la portée à l'échelle que suivi de " + v("seconds");
        case FindingKind::noSpaceAfter:
            return shown + " n'est pas suivi d'une espace" +
                   (v("later").empty() ? "" : " ; les champs suivants manquent") + " : " + nextLine(f);
        case FindingKind::fieldsMissing:
            return field + (v("later").empty() ? " manque" : " et les champs suivants manquent") + " : " +
                   (v("atEnd").empty() ? nextLine(f) : "le sort finit avec le fichier");
        case FindingKind::fieldsRunTogether:
            return shown + " : " + field + " et " + v("next") +
                   (v("separator") == "tab" ? " sont séparés par une tabulation, pas une espace"
                                            : " se suivent sans espace") +
                   " ; " + field + " se lit " + (field == "code" ? quoted(v("reads")) : v("reads")) +
                   " et chaque champ suivant glisse d'une place";
        case FindingKind::codeTooEarly:
            return shown +
                   " a la forme d'un code : une espace manque sans doute entre deux nombres avant lui, et "
                   "chaque champ suivant glisse d'une place";
        case FindingKind::extraNumbers:
            return quoted(v("text")) + (v("special").empty()
                                            ? " après wisDivisor, le dernier champ : le chargeur l'ignore"
                                            : " après le code d'un sort spécial, qui n'a pas de champs de jet : "
                                              "le chargeur l'ignore");
        case FindingKind::emptyName:
            return "nom vide : le sort se charge sans nom";
        case FindingKind::duplicateName:
            return "le nom " + quoted(v("name")) + " est déjà celui de la ligne " + v("firstLine") +
                   " : la liste montre deux sorts du même nom";
        case FindingKind::finalLineBreak:
            return "le fichier finit par un saut de ligne : un autre lecteur peut refuser tout le fichier";
        case FindingKind::nulByte:
            return "octet NUL : le chargeur s'arrête de lire ici";
        case FindingKind::noSpell:
            return "aucun sort : le programme refuserait ce fichier";
        case FindingKind::invalidUtf8:
            return "UTF-8 invalide";
        case FindingKind::notWindows1252:
            return v("codePoint") + " n'a pas de forme Windows-1252";
    }
    return std::string(findingKindName(f.kind));
}

}  // namespace vyr::cli
