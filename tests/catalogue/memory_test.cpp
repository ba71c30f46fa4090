// The loader's memory: one file buffer, released before the load returns, plus the name and
// code of each stored record, for big and random files too; a failed allocation keeps the
// records completed before it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "catalogue_test.h"

namespace vyr::testing {
namespace {

// The array allocations (the loader's buffer and texts) during watchedLoad; the failAt-th fails.
struct ArrayLog {
    bool watching = false;
    std::size_t made = 0, released = 0, failAt = 0;
    const void* first = nullptr;  // the first array made: the file buffer
    const void* firstReleased = nullptr;
} arrays;

void* allocate(std::size_t size) {
    if (arrays.watching && ++arrays.made == arrays.failAt) return nullptr;
    void* p = std::malloc(size ? size : 1);
    if (arrays.watching && arrays.made == 1) arrays.first = p;
    return p;
}

Load watchedLoad(const std::string& path, std::size_t failAt = 0) {
    arrays = {true, 0, 0, failAt, nullptr, nullptr};
    Load load(path);
    arrays.watching = false;
    return load;
}

TEST(LoaderMemory, AFailedAllocationKeepsTheCompletedRecords) {
    for (const json& c : readTable("catalogue.json")["failingAllocation"]["cases"]) {
        const TempFile file =
            TempFile::scrambledFrom("Flamme:0 2 600 10 f 7 4 5 0 \nHalo:1 1 0 0 sli \nGivre:0 1 1 3 e 2 8 0 4 \n");
        const Load load = watchedLoad(file.path(), c["failingArray"]);
        EXPECT_EQ(arrays.released, arrays.made - 1 - 2 * load.count) << "all but the stored texts released";
        EXPECT_EQ(load.count, c["records"]) << c;
        load.expectConsistent();
    }
}

// splitmix64 from a fixed seed: cheap enough for 64 MiB in a debug build, and a failure reproduces.
std::string randomBytes(std::size_t size, std::uint64_t state, std::string_view excluded) {
    char byte[256];
    for (int b = 0; b < 256; ++b)
        byte[b] = excluded.find(static_cast<char>(b)) == std::string_view::npos ? static_cast<char>(b) : 'x';
    std::string out(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        std::uint64_t word = state += 0x9E3779B97F4A7C15ull;
        word = (word ^ (word >> 30)) * 0xBF58476D1CE4E5B9ull;
        word = (word ^ (word >> 27)) * 0x94D049BB133111EBull;
        out[i] = byte[(word ^ (word >> 31)) & 0xFF];
    }
    return out;
}

std::string lines(int count, const char* end) {
    std::string plain;
    for (int i = 0; i < count; ++i)
        plain.append("Sort ").append(std::to_string(i)).append(":0 1 600 10 f 7 4 5 0 ").append(end);
    return plain;
}

constexpr std::size_t mib = 1u << 20;

TEST(LoaderMemory, BigFilesUseOneBufferAndTwoTextsPerStoredRecord) {
    struct Case {
        const char* name;
        std::string stored;
        std::size_t count;
        std::size_t firstNameSize;  // 0: not checked
    };
    const Case cases[] = {
        {"64 MiB of random bytes", randomBytes(64 * mib, 1, ""), 0, 0},
        // Without a NUL in the plain text every search may run through all of it.
        {"64 MiB of random text without NUL", scrambled(randomBytes(64 * mib, 2, std::string(1, '\0'))), 100, 0},
        {"64 MiB of random text without NUL or colon", scrambled(randomBytes(64 * mib, 3, std::string("\0:", 2))), 0,
         0},
        {"100000 valid lines", scrambled(lines(100000, "\r\n")), 100, 6},
        {"one 4 MiB name", scrambled(std::string(4 * mib, 'N') + ":0 1 0 0 f 1 2 3 4 "), 1, 4 * mib},
        {"one 4 MiB number", scrambled("Chiffres:" + std::string(4 * mib, '7')), 1, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFile file(c.stored);
        const Load load = watchedLoad(file.path());
        EXPECT_EQ(arrays.made, 1 + 2 * load.count);
        EXPECT_EQ(arrays.released, 1u);
        EXPECT_EQ(arrays.firstReleased, arrays.first);
        EXPECT_EQ(load.count, c.count);
        EXPECT_TRUE(c.firstNameSize == 0 || load.sink.names.at(0).size() == c.firstNameSize);
        load.expectConsistent();
    }
}

}  // namespace
}  // namespace vyr::testing

void* operator new[](std::size_t size) {
    if (void* p = vyr::testing::allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return vyr::testing::allocate(size); }
void operator delete[](void* p) noexcept {
    auto& log = vyr::testing::arrays;
    if (p && log.watching && log.released++ == 0) log.firstReleased = p;
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept { operator delete[](p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { operator delete[](p); }
