// The data-file loader: field splitting, numbers, line endings and every malformed
// shape a hand-edited file takes, always through the real read path (a temporary file).

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "record_values.h"
#include "spell_file.h"
#include "temp_file.h"

namespace vyr::testing {
namespace {

LoadOutcome loadPlain(std::string_view plain) {
    TempFile file = TempFile::scrambledFrom(plain);
    LoadOutcome outcome;
    outcome.count = loadSpellFile(file.path().c_str(), outcome.sink, *outcome.catalogue);
    return outcome;
}

std::vector<std::string> namesOf(const std::vector<RecordValues>& records) {
    std::vector<std::string> names;
    for (const auto& r : records) names.push_back(r.name.value_or("(none)"));
    return names;
}

void expectLoaded(const LoadOutcome& outcome, const std::vector<RecordValues>& expected) {
    ASSERT_EQ(outcome.count, expected.size());
    EXPECT_EQ(outcome.sink.names, namesOf(expected));
    for (std::size_t i = 0; i < spellCapacity; ++i) {
        const RecordValues& want = i < expected.size() ? expected[i] : unloadedRecord;
        EXPECT_EQ(valuesOf((*outcome.catalogue)[i]), want) << "slot " << i;
    }
}

struct LoadCase {
    const char* label;
    std::string plain;
    std::vector<RecordValues> expected;
};

std::ostream& operator<<(std::ostream& os, const LoadCase& c) { return os << c.label; }

const RecordValues boltA{"A", 0, 1, 0, 0, "f", 1, 2, 3, 4};
const RecordValues boltB{"B", 0, 2, 0, 0, "f", 5, 6, 7, 8};
const std::string lineA = "A:0 1 0 0 f 1 2 3 4 ";
const std::string lineB = "B:0 2 0 0 f 5 6 7 8 ";

const LoadCase loadCases[] = {
    {"StandardSpellLine", "Sort d'essai:0 2 600 10 f 7 4 5 0 \r\n",
     {{"Sort d'essai", 0, 2, 600, 10, "f", 7, 4, 5, 0}}},
    {"SpecialSpellLine", "Lueur d'essai:1 1 0 0 sli \r\n", {{"Lueur d'essai", 1, 1, 0, 0, "sli", 0, 0, 0, 0}}},
    {"SingleRecordEndingInItsSpace", lineA, {boltA}},
    {"LineFeedsBetweenAndAfterRecords", lineA + "\n" + lineB + "\n", {boltA, boltB}},
    {"CrLfBetweenAndAfterRecords", lineA + "\r\n" + lineB + "\r\n", {boltA, boltB}},
    {"LastLineWithoutLineBreak", lineA + "\n" + lineB, {boltA, boltB}},
    {"NameKeepsSpacesAndAccentsByteForByte", "  \xC9" "clair  glac\xE9 :0 1 0 0 f 1 2 3 4 \n",
     {{"  \xC9" "clair  glac\xE9 ", 0, 1, 0, 0, "f", 1, 2, 3, 4}}},
    {"HighBytesStayInNameAndCode", "\x80\x81\xFF:0 1 0 0 f\xE9 1 2 3 4 \n",
     {{"\x80\x81\xFF", 0, 1, 0, 0, "f\xE9", 1, 2, 3, 4}}},
    {"LineStartingWithColonGivesEmptyName", ":0 1 0 0 f 1 2 3 4 \n" + lineB,
     {{"", 0, 1, 0, 0, "f", 1, 2, 3, 4}, boltB}},
    {"UpperCaseSIsNotSpecial", "Grand:0 1 0 0 Sli 5 6 7 8 \n", {{"Grand", 0, 1, 0, 0, "Sli", 5, 6, 7, 8}}},
    {"EmptyCodeIsNotSpecial", "Vide:0 1 0 0  5 6 7 8 \n", {{"Vide", 0, 1, 0, 0, "", 5, 6, 7, 8}}},
    {"SpecialRecordKeepsZeroInRollFields", "Halo:0 1 0 0 sli 7 4 5 9 \n" + lineB,
     {{"Halo", 0, 1, 0, 0, "sli", 0, 0, 0, 0}, boltB}},
    {"TwoSpacesMakeAnEmptyFieldAndShiftTheRest", "A:0  2 600 10 f 7 4 5 0 \n",
     {{"A", 0, 0, 2, 600, "10", 0, 7, 4, 5}}},
    {"PlusSignReadsTheDigits", "A:+1 +2 +3 +4 f +5 +6 +7 +8 \n", {{"A", 1, 2, 3, 4, "f", 5, 6, 7, 8}}},
    {"MinusSignMakesTheNumberNegative", "A:-1 -2 -3 -4 f -5 -6 -7 -8 \n",
     {{"A", -1, -2, -3, -4, "f", -5, -6, -7, -8}}},
    {"DigitsFollowedByLettersReadTheDigits", "A:1x 2ab 3 4 f 5q 6 7 8\xE9 \n", {{"A", 1, 2, 3, 4, "f", 5, 6, 7, 8}}},
    {"LettersAloneReadZero", "A:x 1 abc 4 f 5 6 - zz \n", {{"A", 0, 1, 0, 4, "f", 5, 6, 0, 0}}},
    {"NumbersBeyondThirtyTwoBitsSaturate",
     "A:0 99999999999 -99999999999 2147483648 f -2147483649 2147483647 -2147483648 000000000000012 \n",
     {{"A", 0, 2147483647, -2147483647 - 1, 2147483647, "f", -2147483647 - 1, 2147483647, -2147483647 - 1, 12}}},
    {"LastNumberBeforeLineBreakWithASpaceFurtherOn", "A:0 1 0 0 f 1 2 3 4\n" + lineB + "\n", {boltA, boltB}},
    {"LastNumberBeforeCrLfWithASpaceFurtherOn", "A:0 1 0 0 f 1 2 3 4\r\n" + lineB + "\r\n", {boltA, boltB}},
    {"SpecialCodeWithoutItsSpaceRunsIntoTheNextLine", "L:0 1 0 0 sli\n" + lineB + "\n",
     {{"L", 0, 1, 0, 0, "sli\nB:0", 0, 0, 0, 0}, boltB}},
    {"RestOfTheLineIsSkipped", lineA + "texte libre 12 \n" + lineB, {boltA, boltB}},
    {"NulByteEndsTheText", lineA + "\n" + std::string("\0", 1) + lineB + "\n", {boltA}},
    {"NulByteInsideARecordEndsItThere", "A:0 1 2" + std::string("\0", 1) + " 3 f 1 2 3 4 \n" + lineB,
     {{"A", 0, 1, 2, 0, "", 0, 0, 0, 0}}},
    {"EmptyFile", "", {}},
    {"OnlyALineFeed", "\n", {}},
    {"OnlyCrLfLines", "\r\n\r\n", {}},
    {"TextWithoutColon", "pas de sort ici \n", {}},
    {"LinesWithoutColonBetweenRecordsAreSkipped", lineA + "\n\nune note\r\n\r\n" + lineB + "\n", {boltA, boltB}},
    {"LinesWithoutColonBeforeTheFirstRecordAreSkipped", "Liste des sorts\n\n" + lineA, {boltA}},
    {"TrailingTextWithoutColonIsIgnored", lineA + "\nfin du fichier", {boltA}},
    {"LastFieldWithoutSpaceEndsAtEndOfText", "A:0 1 0 0 f 1 2 3 4", {boltA}},
    {"SpecialCodeWithoutSpaceEndsAtEndOfText", "L:0 1 0 0 sli", {{"L", 0, 1, 0, 0, "sli", 0, 0, 0, 0}}},
    {"RecordCutShortKeepsWhatWasRead", lineA + "\nB:0 7 1", {boltA, {"B", 0, 7, 1, 0, "", 0, 0, 0, 0}}},
    {"RecordCutShortInItsName", lineA + "\nB:", {boltA, {"B", 0, 0, 0, 0, "", 0, 0, 0, 0}}},
    {"LineOfOnlyAColon", ":", {{"", 0, 0, 0, 0, "", 0, 0, 0, 0}}},
};

class LoadSpellFile : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadSpellFile, StoresTheRecordsAndSendsTheirNames) {
    expectLoaded(loadPlain(GetParam().plain), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Shapes, LoadSpellFile, ::testing::ValuesIn(loadCases),
                         [](const auto& info) { return std::string(info.param.label); });

// armourExempt keeps the low 8 bits of its number, read as a signed byte.
struct ArmourCase {
    const char* field;
    std::int32_t stored;
};
std::ostream& operator<<(std::ostream& os, const ArmourCase& c) { return os << c.field; }

class ArmourExempt : public ::testing::TestWithParam<ArmourCase> {};

TEST_P(ArmourExempt, KeepsTheLowEightBits) {
    const auto outcome = loadPlain(std::string("A:") + GetParam().field + " 1 0 0 f 1 2 3 4 \n");
    ASSERT_EQ(outcome.count, 1u);
    EXPECT_EQ((*outcome.catalogue)[0].armourExempt, GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Values, ArmourExempt,
                         ::testing::Values(ArmourCase{"256", 0}, ArmourCase{"255", -1}, ArmourCase{"1", 1},
                                           ArmourCase{"0", 0}, ArmourCase{"-1", -1}, ArmourCase{"257", 1},
                                           ArmourCase{"384", -128}, ArmourCase{"-256", 0},
                                           ArmourCase{"127", 127}, ArmourCase{"128", -128},
                                           // beyond 32 bits the number saturates first
                                           ArmourCase{"99999999999", -1}, ArmourCase{"-99999999999", 0}));

TEST(LoadSpellFileLineEndings, CrLfLoadsExactlyLikeLineFeed) {
    const std::string lines[] = {"Sort d'essai:0 2 600 10 f 7 4 5 0 ", "Lueur d'essai:1 1 0 0 sli ",
                                 "Bris\xE9:1 3 5 7 bd 11 12 13 14 "};
    std::string lf, crlf;
    for (const auto& line : lines) {
        lf += line + "\n";
        crlf += line + "\r\n";
    }
    const auto a = loadPlain(lf);
    const auto b = loadPlain(crlf);
    ASSERT_EQ(a.count, 3u);
    ASSERT_EQ(b.count, 3u);
    EXPECT_EQ(a.sink.names, b.sink.names);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(valuesOf((*a.catalogue)[i]), valuesOf((*b.catalogue)[i])) << "slot " << i;
        EXPECT_EQ(std::strchr((*b.catalogue)[i].name(), '\r'), nullptr);
        EXPECT_EQ(std::strchr((*b.catalogue)[i].code(), '\r'), nullptr);
    }
}

std::string numberedRecords(int count) {
    std::string plain;
    for (int i = 0; i < count; ++i) {
        // Appended piece by piece: GCC 12 warns falsely about a chain of string + at -O2.
        const std::string n = std::to_string(i);
        plain.append("R").append(n).append(":0 1 0 0 f ").append(n).append(" 0 0 0 \n");
    }
    return plain;
}

class OverfullFile : public ::testing::TestWithParam<int> {};

TEST_P(OverfullFile, KeepsTheFirstHundredRecordsAndOnlyTheirNames) {
    const auto outcome = loadPlain(numberedRecords(GetParam()));
    ASSERT_EQ(outcome.count, spellCapacity);
    ASSERT_EQ(outcome.sink.names.size(), spellCapacity);
    for (std::size_t i = 0; i < spellCapacity; ++i) {
        EXPECT_EQ(outcome.sink.names[i], std::string("R") + std::to_string(i));
        EXPECT_STREQ((*outcome.catalogue)[i].name(), outcome.sink.names[i].c_str());
        EXPECT_EQ((*outcome.catalogue)[i].rollRange, static_cast<std::int32_t>(i));
    }
}

INSTANTIATE_TEST_SUITE_P(RecordCounts, OverfullFile, ::testing::Values(101, 1000));

TEST(LoadSpellFileCapacity, ExactlyHundredRecordsAllLoad) {
    const auto outcome = loadPlain(numberedRecords(100));
    EXPECT_EQ(outcome.count, 100u);
    EXPECT_STREQ((*outcome.catalogue)[99].name(), "R99");
}

// A failed load leaves both the catalogue and the sink as they were.
void expectFailedLoad(const std::string& path) {
    LoadOutcome outcome;
    outcome.sink.names = {"d\xE9j\xE0 l\xE0"};
    EXPECT_EQ(loadSpellFile(path.c_str(), outcome.sink, *outcome.catalogue), 0u);
    EXPECT_EQ(outcome.sink.names, std::vector<std::string>{"d\xE9j\xE0 l\xE0"});
    for (std::size_t i = 0; i < spellCapacity; ++i) EXPECT_EQ(valuesOf((*outcome.catalogue)[i]), unloadedRecord);
}

TEST(LoadSpellFileFailure, MissingFileLoadsNothing) { expectFailedLoad(TempFile::absentPath()); }

TEST(LoadSpellFileFailure, UnreadableDirectoryLoadsNothing) {
    expectFailedLoad(std::filesystem::temp_directory_path().string());
}

#ifdef __linux__
// Kernel attribute files report a size of a page but deliver only a few bytes: a short read.
TEST(LoadSpellFileFailure, ShortReadLoadsNothing) {
    const std::string path = "/sys/kernel/mm/transparent_hugepage/enabled";
    std::error_code error;
    const auto reported = std::filesystem::file_size(path, error);
    std::ifstream in(path, std::ios::binary);
    const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (error || !in.is_open() || content.size() >= reported) GTEST_SKIP() << "no short-reading file here";
    expectFailedLoad(path);
}
#endif

// The program uses the process-wide catalogue; it is empty until the one load fills it.
TEST(ProcessCatalogue, IsEmptyBeforeTheLoadAndFilledByIt) {
    for (std::size_t i = 0; i < spellCapacity; ++i) ASSERT_EQ(valuesOf(spellCatalogue()[i]), unloadedRecord);
    TempFile file = TempFile::scrambledFrom(lineA + "\n" + lineB);
    SpellNameList sink;
    ASSERT_EQ(loadSpellFile(file.path().c_str(), sink), 2u);
    EXPECT_EQ(valuesOf(spellCatalogue()[0]), boltA);
    EXPECT_EQ(valuesOf(spellCatalogue()[1]), boltB);
    EXPECT_EQ(valuesOf(spellCatalogue()[2]), unloadedRecord);
}

// The sink is called once per record, after all of that record's fields are stored, with
// the record's own text (a sink that keeps it must copy it).
class CheckingSink : public SpellNameSink {
public:
    explicit CheckingSink(const SpellCatalogue& catalogue) : catalogue_(catalogue) {}
    void addName(const char* name) override {
        const SpellRecord& record = catalogue_[calls];
        EXPECT_EQ(name, record.name()) << "call " << calls;
        EXPECT_NE(record.code(), nullptr) << "call " << calls;
        EXPECT_EQ(record.wisDivisor, static_cast<std::int32_t>(calls) + 1) << "call " << calls;
        ++calls;
    }
    std::size_t calls = 0;

private:
    const SpellCatalogue& catalogue_;
};

TEST(LoadSpellFileSink, GetsEachNameAfterItsRecordIsComplete) {
    TempFile file = TempFile::scrambledFrom("A:0 1 0 0 f 0 0 0 1 \nB:0 1 0 0 f 0 0 0 2 \nC:0 1 0 0 f 0 0 0 3 ");
    auto catalogue = std::make_unique<SpellCatalogue>();
    CheckingSink sink(*catalogue);
    EXPECT_EQ(loadSpellFile(file.path().c_str(), sink, *catalogue), 3u);
    EXPECT_EQ(sink.calls, 3u);
}

// Whatever byte the text is cut at, the loader stays inside it (the sanitizer build
// catches any stray access) and what it stores agrees with what it reports.
TEST(LoadSpellFileBounds, EveryPrefixOfAFileLoadsWithinItsBytes) {
    const std::string full = "Sort d'essai:0 2 600 10 f 7 4 5 0 \r\nLueur:1 1 0 0 sli \nX:0  3 4 Sli 1 2 3 4 \n:";
    std::size_t previous = 0;
    for (std::size_t length = 0; length <= full.size(); ++length) {
        const auto outcome = loadPlain(full.substr(0, length));
        SCOPED_TRACE("prefix of " + std::to_string(length) + " bytes");
        EXPECT_GE(outcome.count, previous);  // a longer text never loads fewer records
        EXPECT_LE(outcome.count, 4u);
        ASSERT_EQ(outcome.sink.names.size(), outcome.count);
        for (std::size_t i = 0; i < outcome.count; ++i) {
            EXPECT_EQ(outcome.sink.names[i], (*outcome.catalogue)[i].name());
        }
        EXPECT_EQ(valuesOf((*outcome.catalogue)[outcome.count]), unloadedRecord);
        previous = outcome.count;
    }
    EXPECT_EQ(previous, 4u);
}

// The in-memory parse stops at the size it is given, even with more text after it.
TEST(ParseSpellText, ReadsNothingPastTheGivenSize) {
    std::string buffer = lineA + "\n" + lineB + "\n";
    const auto size = static_cast<std::uint32_t>(lineA.size());
    auto catalogue = std::make_unique<SpellCatalogue>();
    SpellNameList sink;
    EXPECT_EQ(parseSpellText(buffer.data(), size, *catalogue, sink), 1u);
    EXPECT_EQ(valuesOf((*catalogue)[0]), boltA);
    EXPECT_EQ(buffer[size], '\0');
}

}  // namespace
}  // namespace vyr::testing
