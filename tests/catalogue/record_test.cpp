// SpellRecord ownership and the catalogue's lifetime: who allocates and releases which texts.

#include <gtest/gtest.h>

#include <memory>
#include <type_traits>
#include <vector>

#include "array_allocation_log.h"
#include "record_values.h"
#include "spell_file.h"
#include "temp_file.h"

namespace vyr::testing {
namespace {

// Records stay in their slot for the life of the process.
static_assert(!std::is_copy_constructible_v<SpellRecord> && !std::is_copy_assignable_v<SpellRecord>);
static_assert(!std::is_move_constructible_v<SpellRecord> && !std::is_move_assignable_v<SpellRecord>);

const char* const threeRecords =
    "Flamme:0 2 600 10 f 7 4 5 0 \n"
    "Halo:1 1 0 0 sli \n"
    "Givre:0 1 100 3 e 2 8 0 4 \n";

TEST(SpellCatalogue, StartsWithHundredUnloadedRecords) {
    auto catalogue = std::make_unique<SpellCatalogue>();
    for (std::size_t i = 0; i < spellCapacity; ++i) EXPECT_EQ(valuesOf((*catalogue)[i]), unloadedRecord) << i;
}

TEST(SpellCatalogue, DestroyingAnUnloadedCatalogueReleasesNothing) {
    auto catalogue = std::make_unique<SpellCatalogue>();
    ArrayAllocationLog log;
    catalogue.reset();
    EXPECT_TRUE(log.released().empty());
}

TEST(SpellRecord, TakesOwnershipOfTheTextsItIsGiven) {
    auto record = std::make_unique<SpellRecord>();
    std::unique_ptr<char[]> name(new char[4]{'N', 'o', 'm', '\0'});
    std::unique_ptr<char[]> code(new char[2]{'f', '\0'});
    const std::uintptr_t nameText = address(name.get());
    const std::uintptr_t codeText = address(code.get());
    record->setName(std::move(name));
    record->setCode(std::move(code));
    EXPECT_EQ(address(record->name()), nameText);
    EXPECT_EQ(address(record->code()), codeText);

    ArrayAllocationLog log;
    record.reset();
    EXPECT_EQ(addresses(log.released()), (std::vector<std::uintptr_t>{nameText, codeText}));  // name first, then code
}

// Loading costs one buffer, released before the load returns, plus two texts per record.
TEST(LoadSpellFileAllocations, TwoTextsPerRecordAndOneTemporaryBuffer) {
    TempFile file = TempFile::scrambledFrom(threeRecords);
    auto catalogue = std::make_unique<SpellCatalogue>();
    SpellNameList sink;
    ArrayAllocationLog log;
    ASSERT_EQ(loadSpellFile(file.path().c_str(), sink, *catalogue), 3u);
    ASSERT_EQ(log.allocated().size(), 1u + 2u * 3u);
    EXPECT_EQ(log.released(), std::vector<const void*>{log.allocated().front()});

    std::vector<std::uintptr_t> texts{address(log.allocated().front())};
    for (std::size_t i = 0; i < 3; ++i) {
        texts.push_back(address((*catalogue)[i].name()));
        texts.push_back(address((*catalogue)[i].code()));
    }
    EXPECT_EQ(addresses(log.allocated()), texts);
}

// Slots are destroyed from the last to the first; each releases its name, then its code.
TEST(SpellCatalogue, DestroyingItReleasesExactlyTheLoadedTextsInReverseSlotOrder) {
    TempFile file = TempFile::scrambledFrom(threeRecords);
    auto catalogue = std::make_unique<SpellCatalogue>();
    SpellNameList sink;
    ASSERT_EQ(loadSpellFile(file.path().c_str(), sink, *catalogue), 3u);
    std::vector<std::uintptr_t> expected;
    for (std::size_t i = 3; i-- > 0;) {
        expected.push_back(address((*catalogue)[i].name()));
        expected.push_back(address((*catalogue)[i].code()));
    }
    ArrayAllocationLog log;
    catalogue.reset();
    EXPECT_EQ(addresses(log.released()), expected);
}

TEST(SpellCatalogue, DestroyingAFullCatalogueReleasesTwoHundredTexts) {
    std::string plain;
    for (int i = 0; i < 120; ++i) plain.append("S").append(std::to_string(i)).append(":0 1 0 0 sli \n");
    TempFile file = TempFile::scrambledFrom(plain);
    auto catalogue = std::make_unique<SpellCatalogue>();
    SpellNameList sink;
    ASSERT_EQ(loadSpellFile(file.path().c_str(), sink, *catalogue), spellCapacity);
    ArrayAllocationLog log;
    catalogue.reset();
    EXPECT_EQ(log.released().size(), 2 * spellCapacity);
}

// When a text cannot be allocated, the load ends with the records completed before it;
// a half-made record goes back to unloaded and its name never reaches the sink.
struct AllocationFailureCase {
    const char* label;
    std::size_t failingAllocation;  // 1: the buffer, then name and code of each record in turn
    std::size_t loaded;
};
std::ostream& operator<<(std::ostream& os, const AllocationFailureCase& c) { return os << c.label; }

class LoadSpellFileOutOfMemory : public ::testing::TestWithParam<AllocationFailureCase> {};

TEST_P(LoadSpellFileOutOfMemory, KeepsOnlyTheCompletedRecords) {
    TempFile file = TempFile::scrambledFrom(threeRecords);
    auto catalogue = std::make_unique<SpellCatalogue>();
    SpellNameList sink;
    {
        ArrayAllocationLog log;
        log.failAllocation(GetParam().failingAllocation);
        EXPECT_EQ(loadSpellFile(file.path().c_str(), sink, *catalogue), GetParam().loaded);
        EXPECT_EQ(log.released().size(), log.allocated().size() - 2 * GetParam().loaded)
            << "everything but the stored texts is released";
    }
    EXPECT_EQ(sink.names.size(), GetParam().loaded);
    for (std::size_t i = GetParam().loaded; i < spellCapacity; ++i) {
        EXPECT_EQ(valuesOf((*catalogue)[i]), unloadedRecord) << "slot " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Allocations, LoadSpellFileOutOfMemory,
                         ::testing::Values(AllocationFailureCase{"Buffer", 1, 0},
                                           AllocationFailureCase{"FirstName", 2, 0},
                                           AllocationFailureCase{"FirstCode", 3, 0},
                                           AllocationFailureCase{"SecondName", 4, 1},
                                           AllocationFailureCase{"LastCode", 7, 2}),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace vyr::testing
