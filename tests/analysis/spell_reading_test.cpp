// Files in the data file's format, made at random within the loader's rules: every path that
// reads a player's file must store exactly the records the program's own loader stores, and
// the same lists given plain must be read as plain lists.

#include <gtest/gtest.h>

#include <random>

#include "cp1252.h"
#include "record_table.h"
#include "spell_file.h"
#include "spell_list.h"
#include "temp_file.h"

namespace vyr {
namespace {

class SpellFileMaker {
  public:
    explicit SpellFileMaker(std::uint32_t seed) : random_(seed) {}

    // Names of any byte but ":" and line feed; fields empty, signed, with trailing text,
    // letters alone or past 32 bits; CR line ends, notes after the last field, a missing
    // final space or a final line feed (not both: a plain list's final breaks are dropped).
    std::string file() {
        const int records = pick(121);
        std::string text;
        for (int k = 0; k < records; ++k) text += (k ? "\n" : "") + record();
        if (records > 0 && pick(4) == 0 && text.ends_with(' '))
            text.pop_back();
        else if (pick(4) == 0)
            text += '\n';
        return text;
    }

  private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    std::string name() {
        std::string text;
        for (int i = pick(25); i > 0; --i) {
            const char c = static_cast<char>(pick(256));
            text += c == ':' || c == '\n' ? 'x' : c;
        }
        return text;
    }

    std::string number() {
        static const char* const shapes[] = {"", "+17", "-3", "600ms", "x", "99999999999", "-2147483649", "0"};
        return pick(3) == 0 ? shapes[pick(8)] : std::to_string(pick(2000) - 100);
    }

    std::string code() {
        static const char* const codes[] = {"f", "e", "ba", "a", "Sli", "", "zz", "sli", "sdx", "s", "sxyz"};
        return codes[pick(11)];
    }

    std::string record() {
        std::string line = name() + ":";
        for (int i = 0; i < 4; ++i) line += number() + " ";
        const std::string c = code();
        line += c + " ";
        if (!isSpecialCode(c))
            for (int i = 0; i < 4; ++i) line += number() + " ";
        static const char* const rests[] = {"", "", "\r", " une note", "x"};
        return line + rests[pick(5)];
    }

    std::mt19937 random_;
};

// Every field of the first count records, one line each.
std::string records(const SpellCatalogue& catalogue, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        const SpellRecord& r = catalogue[i];
        text += std::string(r.name()) + "|" + r.code() + "|" + std::to_string(r.armourExempt);
        for (const auto& [key, member] : testing::recordNumbers) text += " " + std::to_string(r.*member);
        text += "\n";
    }
    return text;
}

// What the program's loader stores from a file of these bytes: one file in 50 goes through
// the file system, the others straight to the parse that follows the read.
std::string programLoads(std::string_view bytes, bool throughAFile) {
    auto catalogue = std::make_unique<SpellCatalogue>();
    SpellNameList names;
    if (throughAFile)
        return records(*catalogue, loadSpellFile(testing::TempFile(bytes).path().c_str(), names, *catalogue));
    std::string text(bytes);
    unscramble(text.data(), text.size());
    return records(*catalogue, parseSpellText(text.data(), static_cast<std::uint32_t>(text.size()), *catalogue, names));
}

std::string listLoads(std::string_view bytes, SpellFileForm expectedForm) {
    try {
        const SpellList list = spellListFromBytes(bytes, "f");
        EXPECT_EQ(list.form, expectedForm);
        return records(*list.catalogue, list.size());
    } catch (const std::exception&) {
        return "";  // refused: only right for a file the program loads nothing from
    }
}

TEST(GeneratedSpellFiles, LoadAsTheProgramLoadsThem) {
    SpellFileMaker maker(20261207);
    for (int n = 0; n < 10000; ++n) {
        const std::string plain = maker.file();
        const std::string stored = testing::scrambled(plain);
        const std::string expected = programLoads(stored, n % 50 == 0);
        ASSERT_EQ(listLoads(stored, SpellFileForm::scrambled), expected) << "file " << n;
        if (expected.empty()) continue;
        // The same list given plain, as maintainers keep it.
        ASSERT_EQ(listLoads(cp1252ToUtf8(plain), SpellFileForm::plain), expected) << "UTF-8 list " << n;
        if (!plainListText(plain).wasUtf8) {
            ASSERT_EQ(listLoads(plain, SpellFileForm::plain), expected) << "Windows-1252 list " << n;
        }
    }
}

}  // namespace
}  // namespace vyr
