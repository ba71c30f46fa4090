#pragma once
// The sample spell list (data/spells.txt) loaded as the programs load it.

#include <string>

#include <nlohmann/json.hpp>

#include "cp1252.h"
#include "spell_list.h"
#include "temp_file.h"

namespace vyr::testing {

inline const TempFile& sampleFile() {
    // The plain list is UTF-8; the stored file is Windows-1252.
    static const TempFile file = TempFile::scrambledFrom(utf8ToCp1252(fileText(VYR_SAMPLE_SPELLS)).text);
    return file;
}

inline const SpellList& sample() {
    static const SpellList list = spellListFromBytes(fileText(sampleFile().path()), sampleFile().path());
    return list;
}

}  // namespace vyr::testing
