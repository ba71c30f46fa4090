// Hostile spell files: the malformed files of tests/data/malformed (also the loader's
// fuzzing seeds), huge and random files within the loader's bounded memory, and a file
// that another program holds open for writing.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "array_allocation_log.h"
#include "record_values.h"
#include "spell_file.h"
#include "temp_file.h"

#ifndef VYR_MALFORMED_DIR
#error "VYR_MALFORMED_DIR must name the folder of the malformed spell files"
#endif

namespace vyr::testing {
namespace {

std::string malformedPath(const std::string& fileName) {
    std::string path = std::string(VYR_MALFORMED_DIR) + "/" + fileName;
#ifdef _WIN32
    // The cross-built tests run under Wine, where the build's POSIX paths live on Z:.
    if (path.front() == '/') path = "Z:" + path;
#endif
    return path;
}

LoadOutcome loadPath(const std::string& path) {
    LoadOutcome outcome;
    outcome.count = loadSpellFile(path.c_str(), outcome.sink, *outcome.catalogue);
    return outcome;
}

// Names are compared by size and content so that a 4 MiB name does not flood the log.
void expectNames(const std::vector<std::string>& got, const std::vector<std::string>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].size(), want[i].size()) << "name " << i;
        EXPECT_TRUE(got[i] == want[i]) << "name " << i << " starts \"" << got[i].substr(0, 40) << "\"";
    }
}

// Slots 0 .. count-1 carry the sink's names in order; every later slot is unloaded.
void expectConsistent(const LoadOutcome& outcome) {
    ASSERT_LE(outcome.count, spellCapacity);
    ASSERT_EQ(outcome.sink.names.size(), outcome.count);
    for (std::size_t i = 0; i < outcome.count; ++i) {
        const SpellRecord& record = (*outcome.catalogue)[i];
        ASSERT_NE(record.name(), nullptr) << "slot " << i;
        EXPECT_NE(record.code(), nullptr) << "slot " << i;
        EXPECT_TRUE(outcome.sink.names[i] == record.name()) << "slot " << i;
    }
    for (std::size_t i = outcome.count; i < spellCapacity; ++i) {
        EXPECT_EQ(valuesOf((*outcome.catalogue)[i]), unloadedRecord) << "slot " << i;
    }
}

std::vector<std::string> numberedNames(int count) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        std::string number = std::to_string(i);
        names.push_back("Sort " + std::string(3 - std::min<std::size_t>(3, number.size()), '0') + number);
    }
    return names;
}

const std::string lineAlpha = "Alpha:0 1 0 0 f 1 2 3 4 ";
const RecordValues alpha{"Alpha", 0, 1, 0, 0, "f", 1, 2, 3, 4};
const RecordValues beta{"Beta", 0, 2, 0, 0, "f", 5, 6, 7, 8};

constexpr std::size_t fourMiB = 4u << 20;
const std::string hugeName(fourMiB - lineAlpha.size() + std::string("Alpha").size(), 'N');

// The files too big to keep in the repository are built here, in plain form.
std::string thousandRecords() {
    std::string plain;
    for (int i = 0; i < 1000; ++i) plain += "Sort " + std::to_string(1000 + i).substr(1) + ":0 1 0 0 f 1 2 3 4 \n";
    return plain;
}
// One 4 MiB line, no line feed: a record whose name takes almost all of it.
std::string fourMiBRecordLine() {
    std::string plain = hugeName + lineAlpha.substr(std::string("Alpha").size());
    EXPECT_EQ(plain.size(), fourMiB);
    return plain;
}
// One 4 MiB line, no line feed and no space: its first number runs to the end.
std::string fourMiBNumberLine() {
    std::string plain = "Chiffres:" + std::string(fourMiB - 9, '7');
    EXPECT_EQ(plain.size(), fourMiB);
    return plain;
}

struct MalformedCase {
    const char* label;
    const char* file;          // in tests/data/malformed, or
    std::string (*plain)();    // built by the test and stored scrambled in a temporary file
    std::size_t count;
    std::vector<std::string> names;
    std::map<std::size_t, RecordValues> records;  // slots checked field by field
};

std::ostream& operator<<(std::ostream& os, const MalformedCase& c) { return os << c.label; }

const MalformedCase malformedCases[] = {
    {"Empty", "empty.dat", nullptr, 0, {}, {}},
    {"OnlyALineFeed", "only-line-feed.dat", nullptr, 0, {}, {}},
    {"NoColon", "no-colon.dat", nullptr, 0, {}, {}},
    {"TrailingCrLf", "trailing-cr-lf.dat", nullptr, 2, {"Alpha", "Beta"}, {{0, alpha}, {1, beta}}},
    {"LastLineWithoutItsSpace", "last-line-without-space.dat", nullptr, 2, {"Alpha", "Lueur"},
     {{1, {"Lueur", 1, 1, 0, 0, "sli", 0, 0, 0, 0}}}},
    {"TwoSpacesInARow", "two-spaces.dat", nullptr, 2, {"Double", "Beta"},
     {{0, {"Double", 0, 0, 2, 600, "10", 0, 7, 4, 5}}, {1, beta}}},
    {"NulInTheMiddle", "nul-in-middle.dat", nullptr, 1, {"Alpha"}, {{0, alpha}}},
    {"HundredAndOneRecords", "101-records.dat", nullptr, 100, numberedNames(100),
     {{99, {"Sort 099", 0, 1, 0, 0, "f", 1, 2, 3, 4}}}},
    {"ThousandRecords", nullptr, thousandRecords, 100, numberedNames(100),
     {{99, {"Sort 099", 0, 1, 0, 0, "f", 1, 2, 3, 4}}}},
    {"FourMiBRecordLine", nullptr, fourMiBRecordLine, 1, {hugeName}, {{0, {hugeName, 0, 1, 0, 0, "f", 1, 2, 3, 4}}}},
    {"FourMiBNumberLine", nullptr, fourMiBNumberLine, 1, {"Chiffres"},
     {{0, {"Chiffres", -1, 0, 0, 0, "", 0, 0, 0, 0}}}},
    {"ThirtyDigitNumbers", "thirty-digit-numbers.dat", nullptr, 1, {"Enorme"},
     {{0, {"Enorme", 0, 2147483647, -2147483647 - 1, 42, "f", 2147483647, -2147483647 - 1, 2147483647, 7}}}},
    {"HighBytesInEveryField", "high-bytes-everywhere.dat", nullptr, 2, {"\x80\x9F\xC9t\xE9\xFF", "Beta"},
     {{0, {"\x80\x9F\xC9t\xE9\xFF", 1, 2, 0, 4, "\xE9\x80\xFE", 5, 0, 7, 8}}, {1, beta}}},
    {"OnlyAColon", "colon-only.dat", nullptr, 1, {""}, {{0, {"", 0, 0, 0, 0, "", 0, 0, 0, 0}}}},
    // The colon's record takes its first field from the next line, so Beta's name is lost.
    {"LineOfOnlyAColonBetweenRecords", "colon-line-between-records.dat", nullptr, 2, {"Alpha", ""},
     {{0, alpha}, {1, {"", 0, 2, 0, 0, "f", 5, 6, 7, 8}}}},
    {"RecordCutShort", "record-cut-short.dat", nullptr, 2, {"Alpha", "Coupe"},
     {{1, {"Coupe", 0, 1, 6, 0, "", 0, 0, 0, 0}}}},
};

class MalformedFile : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedFile, LoadsAsExpectedAndStaysConsistent) {
    const MalformedCase& c = GetParam();
    const LoadOutcome outcome = c.file ? loadPath(malformedPath(c.file))
                                       : loadPath(TempFile::scrambledFrom(c.plain()).path());
    EXPECT_EQ(outcome.count, c.count);
    expectNames(outcome.sink.names, c.names);
    expectConsistent(outcome);
    for (const auto& [slot, values] : c.records) {
        const RecordValues got = valuesOf((*outcome.catalogue)[slot]);
        EXPECT_TRUE(got == values) << "slot " << slot << " holds " << ::testing::PrintToString(got).substr(0, 200);
    }
}

INSTANTIATE_TEST_SUITE_P(Corpus, MalformedFile, ::testing::ValuesIn(malformedCases),
                         [](const auto& info) { return std::string(info.param.label); });

// A seed added to the folder without an expected result here would go untested.
TEST(MalformedCorpus, EveryFileHasAnExpectedResult) {
    std::set<std::string> expected;
    for (const MalformedCase& c : malformedCases) {
        if (c.file) expected.insert(c.file);
    }
    std::set<std::string> present;
    for (const auto& entry : std::filesystem::directory_iterator(malformedPath(""))) {
        if (entry.path().extension() == ".dat") present.insert(entry.path().filename().string());
    }
    EXPECT_EQ(present, expected);
}

// Big inputs. Random content comes from a fixed seed, so a failure reproduces; the
// generator is splitmix64, cheap enough for 64 MiB in a debug build or under valgrind.
std::string randomBytes(std::size_t size, std::uint64_t seed, const std::string& excluded) {
    char replaced[256];
    for (int b = 0; b < 256; ++b) replaced[b] = static_cast<char>(b);
    for (char b : excluded) replaced[static_cast<unsigned char>(b)] = 'x';
    std::string bytes(size, '\0');
    char* out = bytes.data();
    std::uint64_t state = seed;
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (i % 8 == 0) {
            state += 0x9E3779B97F4A7C15ull;
            word = state;
            word = (word ^ (word >> 30)) * 0xBF58476D1CE4E5B9ull;
            word = (word ^ (word >> 27)) * 0x94D049BB133111EBull;
            word ^= word >> 31;
        }
        out[i] = replaced[static_cast<unsigned char>(word >> (8 * (i % 8)))];
    }
    return bytes;
}

constexpr std::size_t sixtyFourMiB = 64u << 20;

std::vector<std::string> hundredNames() {
    std::vector<std::string> names;
    for (int i = 0; i < 100; ++i) names.push_back("Sort " + std::to_string(i));
    return names;
}

struct PressureCase {
    const char* label;
    std::string (*stored)();  // the file's bytes as written to disk
    int count;                // -1: whatever the bytes give, within the bounds
    std::optional<std::vector<std::string>> names;
};

std::ostream& operator<<(std::ostream& os, const PressureCase& c) { return os << c.label; }

const PressureCase pressureCases[] = {
    {"RandomBytes64MiB", [] { return randomBytes(sixtyFourMiB, 1, ""); }, -1, {}},
    // Without a NUL in the plain text every search may run through all 64 MiB.
    {"RandomPlainTextWithoutNul64MiB", [] { return scrambled(randomBytes(sixtyFourMiB, 2, std::string(1, '\0'))); },
     100, {}},
    {"RandomPlainTextWithoutNulOrColon64MiB",
     [] { return scrambled(randomBytes(sixtyFourMiB, 3, std::string("\0:", 2))); }, 0, {}},
    {"HundredThousandValidLines",
     [] {
         std::string plain;
         for (int i = 0; i < 100000; ++i) plain += "Sort " + std::to_string(i) + ":0 1 600 10 f 7 4 5 0 \r\n";
         return scrambled(plain);
     },
     100, hundredNames()},
};

class LoadUnderPressure : public ::testing::TestWithParam<PressureCase> {};

TEST_P(LoadUnderPressure, UsesOneBufferAndTwoTextsPerStoredRecord) {
    const TempFile file(GetParam().stored());
    LoadOutcome outcome;
    std::vector<const void*> allocated, released;
    {
        ArrayAllocationLog log;
        outcome.count = loadSpellFile(file.path().c_str(), outcome.sink, *outcome.catalogue);
        allocated = log.allocated();
        released = log.released();
    }
    if (GetParam().count >= 0) {
        EXPECT_EQ(outcome.count, static_cast<std::size_t>(GetParam().count));
    }
    expectConsistent(outcome);

    // The file buffer comes first and is gone when the load returns; what stays is
    // exactly the name and the code of each stored record.
    ASSERT_EQ(allocated.size(), 1 + 2 * outcome.count);
    EXPECT_EQ(addresses(released), std::vector<std::uintptr_t>{address(allocated.front())});
    std::set<const void*> texts;
    for (std::size_t i = 0; i < outcome.count; ++i) {
        texts.insert((*outcome.catalogue)[i].name());
        texts.insert((*outcome.catalogue)[i].code());
    }
    EXPECT_EQ(texts, std::set<const void*>(allocated.begin() + 1, allocated.end()));
    if (GetParam().names) expectNames(outcome.sink.names, *GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(BigFiles, LoadUnderPressure, ::testing::ValuesIn(pressureCases),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(LockedFile, HeldOpenForWritingByAnotherProgramLoadsNothing) {
#ifndef _WIN32
    GTEST_SKIP() << "only Windows refuses a read-only share while another handle writes the file";
#else
    const TempFile file = TempFile::scrambledFrom(lineAlpha);
    // The share check is made per handle, so a writer in this process stands for one in
    // another: it lets others read and write, and the loader's read-only share must fail.
    HANDLE writer = ::CreateFileA(file.path().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    const LoadOutcome held = loadPath(file.path());
    ::CloseHandle(writer);
    EXPECT_EQ(held.count, 0u);
    EXPECT_TRUE(held.sink.names.empty());
    expectConsistent(held);

    // Once the writer has closed it the same file loads: the refusal was the share mode.
    const LoadOutcome afterwards = loadPath(file.path());
    EXPECT_EQ(afterwards.count, 1u);
#endif
}

}  // namespace
}  // namespace vyr::testing
