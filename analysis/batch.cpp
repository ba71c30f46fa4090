#include "batch.h"

namespace vyr {

BatchRunner::BatchRunner(const SpellList& list, const Setup& base, Format output) : list_(list), base_(base), output_(output) {}
std::string BatchRunner::header() const { return {}; }
void BatchRunner::line(std::size_t, std::string_view, std::string&) {}

}  // namespace vyr
