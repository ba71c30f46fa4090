// The data-file loader against the tables of tests/data/catalogue.json: every shape a
// hand-edited or hostile file takes, through the real read path (a file on disk).

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "catalogue_test.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vyr::testing {
namespace {

const json& table() { return readTable("catalogue.json"); }

// A case with its repeat written out: {n} is the line's number on three digits.
json expanded(json c) {
    if (!c.contains("repeat")) return c;
    c["plain"] = "";
    c["records"] = json::array();
    for (int n = 0; n < c["repeat"]["lines"]; ++n) {
        std::string text = c["repeat"].dump(), number = std::to_string(1000 + n).substr(1);
        for (std::size_t at; (at = text.find("{n}")) != std::string::npos;) text.replace(at, 3, number);
        const json line = json::parse(text);
        c["plain"] = c["plain"].get<std::string>() + line["plain"].get<std::string>();
        if (n < line["records"]) c["records"].push_back(line["record"]);
    }
    return c;
}

struct TabledLoad : TableCase {};
TEST_P(TabledLoad, StoresTheRecordsAndSendsTheirNames) {
    const json c = expanded(GetParam());
    const Load load(TempFile::scrambledFrom(bytes(c["plain"])).path());
    load.expectConsistent();
    EXPECT_EQ(load.records(), c["records"]);
}
VYR_TABLE_CASES(TabledLoad, "catalogue.json", "loads");

// The malformed corpus is what tests/data/malformed/generate writes from the cases that name a file.
TEST(LoadSpellFile, TheMalformedCorpusHoldsTheCasesThatNameAFile) {
    std::set<std::string> tabled, present;
    for (const json& c : cases("catalogue.json", "loads")) {
        const std::string file = c.value("file", "");
        if (!file.empty() && tabled.insert(file).second) {
            EXPECT_TRUE(fileText(dataPath("malformed/" + file)) == scrambled(bytes(expanded(c)["plain"]))) << file;
        }
    }
    for (const auto& entry : std::filesystem::directory_iterator(dataPath("malformed"))) {
        if (entry.path().extension() == ".dat") present.insert(entry.path().filename().string());
    }
    EXPECT_EQ(present, tabled);
}

// armourExempt keeps the low 8 bits of its (saturated) number, as a signed byte.
TEST(LoadSpellFile, ArmourExemptAndNumberFields) {
    for (const json& c : table()["armourExempt"]["cases"]) {
        const Load load(TempFile::scrambledFrom("A:" + c["text"].get<std::string>() + " 1 0 0 f 1 2 3 4 \n").path());
        EXPECT_EQ((*load.catalogue)[0].armourExempt, c["stored"]) << c;
    }
    for (const json& c : table()["numberFields"]["cases"])
        EXPECT_EQ(readNumberField(bytes(c["text"]).c_str()), c["value"]) << c;
}

// Whatever byte the text is cut at, the loader stays inside it (the sanitizer build
// catches any stray access) and what it stores agrees with what it reports.
TEST(LoadSpellFile, EveryPrefixOfAFileLoadsWithinItsBytes) {
    const std::string full = "Sort d'essai:0 2 600 10 f 7 4 5 0 \r\nLueur:1 1 0 0 sli \nX:0  3 4 Sli 1 2 3 4 \n:";
    std::size_t previous = 0;
    for (std::size_t length = 0; length <= full.size(); ++length) {
        SCOPED_TRACE(length);
        const Load load(TempFile::scrambledFrom(full.substr(0, length)).path());
        load.expectConsistent();
        EXPECT_GE(load.count, previous);
        previous = load.count;
    }
    EXPECT_EQ(previous, 4u);
}

// A failed load leaves the catalogue and the sink as they were.
TEST(LoadSpellFile, AnUnreadablePathLoadsNothing) {
    std::vector<std::string> paths = {TempFile::absentPath(), std::filesystem::temp_directory_path().string()};
#ifdef __linux__
    // A kernel attribute file reports a page but delivers a few bytes: a short read.
    paths.push_back("/sys/kernel/mm/transparent_hugepage/enabled");
#endif
    for (const std::string& path : paths) {
        SpellNameList sink;
        sink.names = {"avant"};
        auto catalogue = std::make_unique<SpellCatalogue>();
        EXPECT_EQ(loadSpellFile(path.c_str(), sink, *catalogue), 0u) << path;
        EXPECT_EQ(sink.names, std::vector<std::string>{"avant"});
        EXPECT_EQ((*catalogue)[0].name(), nullptr);
    }
}

TEST(LoadSpellFile, TheProcessCatalogueIsEmptyUntilLoaded) {
    EXPECT_EQ(spellCatalogue()[0].name(), nullptr);
    SpellNameList sink;
    EXPECT_EQ(loadSpellFile(TempFile::scrambledFrom("A:0 1 0 0 f 1 2 3 4 ").path().c_str(), sink), 1u);
    EXPECT_STREQ(spellCatalogue()[0].name(), "A");
}

#ifdef _WIN32
// Windows refuses a read-only share while another handle writes the file.
TEST(LoadSpellFile, AFileHeldOpenForWritingLoadsNothing) {
    const TempFile file = TempFile::scrambledFrom("A:0 1 0 0 f 1 2 3 4 ");
    HANDLE writer = ::CreateFileA(file.path().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Load(file.path()).count, 0u);
    ::CloseHandle(writer);
    EXPECT_EQ(Load(file.path()).count, 1u);
}
#endif

}  // namespace
}  // namespace vyr::testing
