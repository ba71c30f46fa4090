// The data-file loader on arbitrary bytes. Each input is parsed twice: as plain text,
// which is where the fields and lines live, and as a stored file that is unscrambled
// first. One input in 64 also goes through loadSpellFile and a real file, which must
// load exactly as the in-memory parse of the same bytes: the parse is shared, so the
// file path only adds the open, the size and the one read. Every input also goes through
// the one load of vyr and the page, which must store what the loader stores from the
// reading it chose, and exactly what the program stores when told the data file's form.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include <unistd.h>

#include "error.h"
#include "fuzz_check.h"
#include "spell_file.h"
#include "spell_list.h"
#include "spell_reading.h"
#include "spell_record.h"

namespace {

using vyr::spellCapacity;
using vyr::SpellCatalogue;
using vyr::SpellNameList;
using vyr::SpellRecord;

#define EXPECT(condition, pass, slot) FUZZ_CHECK(condition, "%s load, slot %zu", pass, std::size_t{slot})

bool allNumbersZero(const SpellRecord& r) {
    return r.armourExempt == 0 && r.delayFactor == 0 && r.delayExtra == 0 && r.delayLevel == 0 && r.rollRange == 0 &&
           r.rollBase == 0 && r.intDivisor == 0 && r.wisDivisor == 0;
}

void checkLoad(std::size_t count, const SpellCatalogue& catalogue, const SpellNameList& sink, const char* pass) {
    EXPECT(count <= spellCapacity, pass, count);
    EXPECT(sink.names.size() == count, pass, count);
    for (std::size_t i = 0; i < count; ++i) {
        const SpellRecord& r = catalogue[i];
        EXPECT(r.name() != nullptr, pass, i);
        EXPECT(r.code() != nullptr, pass, i);
        EXPECT(sink.names[i] == r.name(), pass, i);
        // A name is what precedes the first ":" of its own line; a code ends at a space.
        EXPECT(std::strpbrk(r.name(), ":\n") == nullptr, pass, i);
        EXPECT(std::strchr(r.code(), ' ') == nullptr, pass, i);
        // A special spell's line has no roll fields: they stay 0.
        if (vyr::isSpecialCode(r.code())) {
            EXPECT(r.rollRange == 0 && r.rollBase == 0 && r.intDivisor == 0 && r.wisDivisor == 0, pass, i);
        }
    }
    for (std::size_t i = count; i < spellCapacity; ++i) {
        const SpellRecord& r = catalogue[i];
        EXPECT(r.name() == nullptr && r.code() == nullptr && allNumbersZero(r), pass, i);
    }
}

struct Load {
    std::size_t count = 0;
    std::unique_ptr<SpellCatalogue> catalogue = std::make_unique<SpellCatalogue>();
    SpellNameList sink;
};

Load parseCopy(const std::uint8_t* data, std::size_t size, bool stored) {
    // Exactly size + 1 bytes, like the loader's buffer: ASan flags any access past it.
    std::unique_ptr<char[]> text(new char[size + 1]);
    if (size > 0) std::memcpy(text.get(), data, size);
    if (stored) vyr::unscramble(text.get(), size);
    Load load;
    load.count = vyr::parseSpellText(text.get(), static_cast<std::uint32_t>(size), *load.catalogue, load.sink);
    checkLoad(load.count, *load.catalogue, load.sink, stored ? "stored" : "plain");
    return load;
}

bool sameText(const char* a, const char* b) {
    return (a == nullptr) == (b == nullptr) && (a == nullptr || std::strcmp(a, b) == 0);
}

bool sameRecord(const SpellRecord& a, const SpellRecord& b) {
    return sameText(a.name(), b.name()) && sameText(a.code(), b.code()) && a.armourExempt == b.armourExempt &&
           a.delayFactor == b.delayFactor && a.delayExtra == b.delayExtra && a.delayLevel == b.delayLevel &&
           a.rollRange == b.rollRange && a.rollBase == b.rollBase && a.intDivisor == b.intDivisor &&
           a.wisDivisor == b.wisDivisor;
}

void loadThroughFile(const std::uint8_t* data, std::size_t size, const Load& expected) {
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("vyr-fuzz-loader-" + std::to_string(::getpid()) + ".dat")).string();
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return;  // no temporary directory: the in-memory checks still ran
    const bool written = std::fwrite(data, 1, size, out) == size;
    if (std::fclose(out) != 0 || !written) return;

    Load load;
    load.count = vyr::loadSpellFile(path.c_str(), load.sink, *load.catalogue);
    std::error_code ignored;
    std::filesystem::remove(path, ignored);

    checkLoad(load.count, *load.catalogue, load.sink, "file");
    EXPECT(load.count == expected.count, "file", load.count);
    EXPECT(load.sink.names == expected.sink.names, "file", load.count);
    for (std::size_t i = 0; i < spellCapacity; ++i) {
        EXPECT(sameRecord((*load.catalogue)[i], (*expected.catalogue)[i]), "file", i);
    }
}

bool sameLoad(const vyr::SpellList& list, const Load& load) {
    if (list.size() != load.count || list.names != load.sink.names) return false;
    for (std::size_t i = 0; i < spellCapacity; ++i)
        if (!sameRecord(list.record(i), (*load.catalogue)[i])) return false;
    return true;
}

void loadAsPlayersGiveIt(const std::uint8_t* data, std::size_t size, const Load& stored) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        EXPECT(sameLoad(vyr::spellListFromBytes(bytes, "f", vyr::SpellFileForm::scrambled), stored), "forced", 0);
    } catch (const vyr::Error& e) {
        EXPECT(e.kind() == vyr::ErrorKind::noSpellLoads && stored.count == 0, "forced", 0);
    }
    try {
        const vyr::SpellList list = vyr::spellListFromBytes(bytes, "f");
        const std::string text = vyr::loaderText(bytes, list.form);
        EXPECT(sameLoad(list, parseCopy(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), false)),
               "guessed", 0);
    } catch (const vyr::Error& e) {
        EXPECT(e.kind() != vyr::ErrorKind::notSpellList || !vyr::guessSpellFile(bytes).plausible, "refused", 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    parseCopy(data, size, false);
    const Load stored = parseCopy(data, size, true);

    // A cheap content hash picks the inputs that also take the file path.
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
    if (hash % 64 == 0) loadThroughFile(data, size, stored);
    loadAsPlayersGiveIt(data, size, stored);
    return 0;
}
