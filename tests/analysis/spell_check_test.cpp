// vyr check's findings, each problem class on the line and at the field where it stands, worded as
// vyr words them (tests/data/spell_check.json);
// spell files as players give them, and names folded as they are matched (tests/data/spell_files.json).

#include <gtest/gtest.h>

#include "data_table.h"
#include "error.h"
#include "error_words.h"
#include "finding_words.h"
#include "spell_check.h"
#include "spell_list.h"
#include "temp_file.h"

namespace vyr {
namespace {

using testing::caseName;
using testing::cases;
using testing::json;
using ::testing::ValuesIn;

struct CheckSpellText : testing::TableCase {};

// The text of a case: given whole, or one line repeated, {n} counting the lines.
std::string plainOf(const json& c) {
    if (c.contains("plain")) return testing::bytes(c["plain"]);
    std::string text;
    for (int i = 0; i < c["times"].get<int>(); ++i) {
        std::string line = testing::bytes(c["line"]);
        text += (i == 0 ? "" : "\n") + line.replace(line.find("{n}"), 3, std::to_string(i));
    }
    return text;
}

TEST_P(CheckSpellText, ReportsEachProblemOnItsLine) {
    const json& c = GetParam();
    const CheckReport report = checkSpellText(plainOf(c));
    EXPECT_EQ(report.loaded, c["loaded"].get<std::size_t>());
    // A tabled finding names a part of vyr's message: a message holding it is written as that part;
    // its column is compared where the table gives one.
    json got = json::array();
    for (std::size_t i = 0; i < report.findings.size(); ++i) {
        const Finding& f = report.findings[i];
        const json expected = i < c["findings"].size() ? c["findings"][i] : json::object();
        const std::string message = cli::findingSentence(f), part = expected.value("has", message);
        got.push_back({{"line", f.line},
                       {"kind", findingKindName(f.kind)},
                       {"severity", cli::severityWord(f.severity)},
                       {"has", message.find(part) != std::string::npos ? part : message}});
        if (expected.contains("column")) got.back()["column"] = f.column;
    }
    EXPECT_EQ(got, c["findings"]);
}

INSTANTIATE_TEST_SUITE_P(Table, CheckSpellText, ValuesIn(testing::readTable("spell_check.json")["cases"]), caseName);

struct SpellFile : testing::TableCase {};

TEST_P(SpellFile, IsReadAsItLooksOrRefusedWithTheReason) {
    const json& c = GetParam();
    const std::string bytes = testing::bytes(c["bytes"]);
    try {
        const SpellList list = spellListFromBytes(c.value("scrambled", false) ? testing::scrambled(bytes) : bytes, "f");
        EXPECT_EQ(json(list.utf8Names), c.value("names", json())) << "read, yet expected: " << c.value("error", "");
        EXPECT_EQ(list.form == SpellFileForm::plain, c.value("plain", false));
        EXPECT_EQ(list.garbledNames, c.value("garbled", false));
    } catch (const Error& e) {
        EXPECT_NE(cli::sentence(e).find(c.value("error", "<read>")), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Table, SpellFile, ValuesIn(testing::readTable("spell_files.json")["loads"]), caseName);

struct FoldedName : testing::TableCase {};

TEST_P(FoldedName, IsWhatAPlayerTypes) {
    EXPECT_EQ(foldTypedName(GetParam()["typed"].get<std::string>()), GetParam()["folded"]);
}

INSTANTIATE_TEST_SUITE_P(Table, FoldedName, ValuesIn(testing::readTable("spell_files.json")["folds"]), caseName);

struct RewrittenLine : testing::TableCase {};

TEST_P(RewrittenLine, KeepsWhatWasNotTyped) {
    const json& c = GetParam();
    EXPECT_EQ(rewriteRecordLine(testing::bytes(c["line"]), c["part"], testing::bytes(c["text"])),
              testing::bytes(c["written"]));
}

VYR_TABLE_CASES(RewrittenLine, "spell_check.json", "rewrites");

}  // namespace
}  // namespace vyr
