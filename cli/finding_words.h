#pragma once
// What vyr says of each kind of a spell file's findings.

#include <string>

#include "spell_check.h"

namespace vyr::cli {

// The finding's message, without its place ("rollBase "25x" est suivi d'autre texte (se lit 25)").
std::string findingSentence(const Finding& finding);
// "erreur" or "avertissement".
std::string severityWord(Severity severity);

}  // namespace vyr::cli
