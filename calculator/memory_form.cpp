#include "memory_form.h"

namespace vyr {

std::string InMemoryForm::fieldText(int id) const {
    if (id < field::firstId || id > field::lastId) return {};
    return texts_[static_cast<std::size_t>(id - field::firstId)];
}

void InMemoryForm::writeText(int id, const char* text) {
    // Ids outside the form address no field; writing to them changes nothing.
    if (id < field::firstId || id > field::lastId) return;
    texts_[static_cast<std::size_t>(id - field::firstId)] = text;
}

}  // namespace vyr
