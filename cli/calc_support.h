#pragma once
// The loaded spell list as the data commands take it.

#include <string>

#include "error.h"
#include "spell_list.h"

namespace vyr::cli {

using SpellData = SpellList;

// False with error "PATH: reason" when the file cannot be loaded.
inline bool loadSpellData(const std::string& path, SpellData& data, std::string& error) {
    try {
        data = loadSpellList(path);
        return true;
    } catch (const Error& e) {
        error = e.what();
        return false;
    }
}

}  // namespace vyr::cli
