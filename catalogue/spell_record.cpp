#include "spell_record.h"

namespace vyr {

namespace {
// Constant-initialised: the 100 empty slots exist before any code runs.
constinit SpellCatalogue processCatalogue;
}  // namespace

SpellCatalogue& spellCatalogue() { return processCatalogue; }

}  // namespace vyr
