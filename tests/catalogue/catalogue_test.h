#pragma once
// One load into a catalogue of its own, and its records as a table writes them.

#include <gtest/gtest.h>

#include <memory>

#include "record_table.h"
#include "spell_file.h"
#include "temp_file.h"

namespace vyr::testing {

struct Load {
    explicit Load(const std::string& path) : count(loadSpellFile(path.c_str(), sink, *catalogue)) {}

    json records() const {
        json rows = json::array();
        for (std::size_t i = 0; i < count; ++i) rows.push_back(recordRow((*catalogue)[i]));
        return rows;
    }

    // Slots 0 .. count-1 hold the sink's names in order; every later slot is unloaded.
    void expectConsistent() const {
        ASSERT_LE(count, spellCapacity);
        ASSERT_EQ(sink.names.size(), count);
        for (std::size_t i = 0; i < count; ++i) {
            EXPECT_TRUE((*catalogue)[i].name() == sink.names[i]) << "slot " << i;
            EXPECT_NE((*catalogue)[i].code(), nullptr) << "slot " << i;
        }
        for (std::size_t i = count; i < spellCapacity; ++i) EXPECT_EQ(recordRow((*catalogue)[i]), json::object()) << i;
    }

    std::unique_ptr<SpellCatalogue> catalogue = std::make_unique<SpellCatalogue>();
    SpellNameList sink;
    std::size_t count;
};

}  // namespace vyr::testing
