// The stored form: every byte XOR 0x5A at even file offsets, XOR 0x5B at odd ones.

#include <gtest/gtest.h>

#include <string>

#include "record_values.h"
#include "spell_file.h"
#include "temp_file.h"

namespace vyr::testing {
namespace {

TEST(Unscramble, XorsEvenOffsetsWith5AAndOddOffsetsWith5B) {
    std::string bytes(512, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i / 2);
    const std::string plain = bytes;
    unscramble(bytes.data(), bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned key = i % 2 == 0 ? 0x5A : 0x5B;
        ASSERT_EQ(static_cast<unsigned char>(bytes[i]), static_cast<unsigned char>(plain[i]) ^ key) << "offset " << i;
    }
}

TEST(Unscramble, AppliedTwiceGivesBackEveryByte) {
    std::string bytes;
    for (int i = 0; i < 3 * 256; ++i) bytes += static_cast<char>(i * 7);
    const std::string plain = bytes;
    unscramble(bytes.data(), bytes.size());
    EXPECT_NE(bytes, plain);
    unscramble(bytes.data(), bytes.size());
    EXPECT_EQ(bytes, plain);
}

TEST(Unscramble, ChangesNothingPastTheGivenSize) {
    std::string bytes = "abcdef";
    unscramble(bytes.data(), 3);
    EXPECT_EQ(bytes.substr(3), "def");
}

// A stored file written by hand from the key rule: its second line starts at an odd
// offset, so both halves of the key act on every kind of byte.
TEST(LoadSpellFileScrambling, ReadsAFileStoredWithTheAlternatingKey) {
    const unsigned char stored[] = {
        0x1C, 0x37, 0x3B, 0x36, 0x37, 0x3E, 0x60, 0x6B, 0x7A, 0x69, 0x7A, 0x6D, 0x6A, 0x6B, 0x7A, 0x6A,
        0x6A, 0x7B, 0x3C, 0x7B, 0x6D, 0x7B, 0x6E, 0x7B, 0x6F, 0x7B, 0x6A, 0x7B, 0x50, 0x13, 0x3B, 0x37,
        0x35, 0x61, 0x6B, 0x7B, 0x6B, 0x7B, 0x6A, 0x7B, 0x6A, 0x7B, 0x29, 0x37, 0x33, 0x7B};
    TempFile file(std::string(reinterpret_cast<const char*>(stored), sizeof stored));
    auto catalogue = std::make_unique<SpellCatalogue>();
    SpellNameList sink;
    ASSERT_EQ(loadSpellFile(file.path().c_str(), sink, *catalogue), 2u);
    EXPECT_EQ(valuesOf((*catalogue)[0]), (RecordValues{"Flamme", 0, 2, 600, 10, "f", 7, 4, 5, 0}));
    EXPECT_EQ(valuesOf((*catalogue)[1]), (RecordValues{"Halo", 1, 1, 0, 0, "sli", 0, 0, 0, 0}));
}

TEST(LoadSpellFileScrambling, APlainFileIsNotReadAsRecords) {
    TempFile file("Flamme:0 2 600 10 f 7 4 5 0 \n");
    SpellNameList sink;
    auto catalogue = std::make_unique<SpellCatalogue>();
    EXPECT_EQ(loadSpellFile(file.path().c_str(), sink, *catalogue), 0u);
}

}  // namespace
}  // namespace vyr::testing
