// vyr check's findings, each problem class on the line where it stands; the cases are in
// tests/data/spell_check.json.

#include <gtest/gtest.h>

#include "data_table.h"
#include "spell_check.h"

namespace vyr::cli {
namespace {

using testing::json;

class CheckSpellText : public ::testing::TestWithParam<json> {};

TEST_P(CheckSpellText, ReportsEachProblemOnItsLine) {
    const json& c = GetParam();
    const CheckReport report = checkSpellText(testing::bytes(c["plain"]));
    EXPECT_EQ(report.loaded, c["loaded"].get<std::size_t>());
    std::string got, want;
    for (const Finding& f : report.findings) got += std::to_string(f.line) + (f.severity == Severity::error ? " error: " : " warning: ") + f.message + "\n";
    ASSERT_EQ(report.findings.size(), c["findings"].size()) << got;
    for (std::size_t i = 0; i < report.findings.size(); ++i) {
        const json& f = c["findings"][i];
        const Finding& finding = report.findings[i];
        EXPECT_EQ(finding.line, f[0].get<std::size_t>()) << got;
        EXPECT_EQ(finding.severity == Severity::error ? "error" : "warning", f[1].get<std::string>()) << got;
        EXPECT_NE(finding.message.find(f[2].get<std::string>()), std::string::npos) << got;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, CheckSpellText, ::testing::ValuesIn(testing::readTable("spell_check.json")["cases"]),
                         [](const auto& info) { return info.param["name"].template get<std::string>(); });

}  // namespace
}  // namespace vyr::cli
