// vyr check's findings, each problem class on the line where it stands; the cases are in
// tests/data/spell_check.json.

#include <gtest/gtest.h>

#include "data_table.h"
#include "spell_check.h"

namespace vyr {
namespace {

using testing::json;

class CheckSpellText : public ::testing::TestWithParam<json> {};

TEST_P(CheckSpellText, ReportsEachProblemOnItsLine) {
    const json& c = GetParam();
    const CheckReport report = checkSpellText(testing::bytes(c["plain"]));
    EXPECT_EQ(report.loaded, c["loaded"].get<std::size_t>());
    // A tabled finding names a part of the message: a message holding it is written as that part.
    json got = json::array();
    for (std::size_t i = 0; i < report.findings.size(); ++i) {
        const Finding& f = report.findings[i];
        const std::string part = i < c["findings"].size() ? c["findings"][i][2].get<std::string>() : f.message;
        got.push_back({f.line, f.severity == Severity::error ? "error" : "warning",
                       f.message.find(part) != std::string::npos ? part : f.message});
    }
    EXPECT_EQ(got, c["findings"]);
}

INSTANTIATE_TEST_SUITE_P(Table, CheckSpellText, ::testing::ValuesIn(testing::readTable("spell_check.json")["cases"]),
                         [](const auto& info) { return info.param["name"].template get<std::string>(); });

}  // namespace
}  // namespace vyr
