#include "spell_file.h"

#include <cstring>
#include <limits>
#include <new>

#include "file_read.h"

namespace vyr {

void unscramble(char* buffer, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const auto key = static_cast<unsigned char>(scrambleBase + (i % 2));
        buffer[i] = static_cast<char>(static_cast<unsigned char>(buffer[i]) ^ key);
    }
}

std::int32_t readNumberField(const char* text) {
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    // Accumulate the magnitude, stopping once it is past any 32-bit value.
    std::uint64_t magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (magnitude <= 0xFFFFFFFFull) magnitude = magnitude * 10 + static_cast<unsigned>(*p - '0');
    }
    if (negative) {
        return magnitude >= 0x80000000ull ? std::numeric_limits<std::int32_t>::min()
                                          : -static_cast<std::int32_t>(magnitude);
    }
    return magnitude > 0x7FFFFFFFull ? std::numeric_limits<std::int32_t>::max() : static_cast<std::int32_t>(magnitude);
}

namespace {

// Cursor state of one parse. Every search stops at textEnd, the first NUL of the text.
class FieldSplitter {
  public:
    FieldSplitter(char* text, char* textEnd) : textEnd_(textEnd), fieldEnd_(text) {}

    // Finds the start of the next record: the first line at or after cursor that holds a
    // ":". Lines without one are skipped. Returns false when no such line remains.
    bool findRecord(char*& cursor, char*& colon) const {
        while (cursor < textEnd_) {
            char* lineEnd = find(cursor, '\n');
            colon = static_cast<char*>(std::memchr(cursor, ':', static_cast<std::size_t>(lineEnd - cursor)));
            if (colon) return true;
            if (lineEnd == textEnd_) return false;
            cursor = lineEnd + 1;
        }
        return false;
    }

    void startRecord(char* colon) { fieldEnd_ = colon; }

    // The field after the last one split off: up to the next space anywhere in the rest
    // of the text, which becomes a NUL. Without a space the field runs to the end of the
    // text, and every later field of the record is empty.
    char* nextField() {
        if (fieldEnd_ == textEnd_) return textEnd_;
        char* start = fieldEnd_ + 1;
        fieldEnd_ = find(start, ' ');
        *fieldEnd_ = '\0';
        return start;
    }

    // Puts back the space that ended the record's last field, so the line-feed search
    // from that field runs on to the end of its line. Returns false at the end of text.
    bool closeRecord() {
        if (fieldEnd_ == textEnd_) return false;
        *fieldEnd_ = ' ';
        return true;
    }

    char* find(char* from, char wanted) const {
        void* hit = std::memchr(from, wanted, static_cast<std::size_t>(textEnd_ - from));
        return hit ? static_cast<char*>(hit) : textEnd_;
    }

  private:
    char* textEnd_;
    char* fieldEnd_;
};

std::unique_ptr<char[]> copyText(const char* begin, const char* end) {
    const auto length = static_cast<std::size_t>(end - begin);
    std::unique_ptr<char[]> text(new (std::nothrow) char[length + 1]);
    if (text) {
        std::memcpy(text.get(), begin, length);
        text[length] = '\0';
    }
    return text;
}

}  // namespace

std::size_t parseSpellText(char* text, std::uint32_t size, SpellCatalogue& catalogue, SpellNameSink& sink) {
    text[size] = '\0';
    char* const textEnd = text + std::strlen(text);
    FieldSplitter splitter(text, textEnd);
    char* cursor = text;
    std::size_t count = 0;
    // Only the first spellCapacity records are kept, so list position equals slot index.
    while (cursor && count < spellCapacity) {
        char* colon = nullptr;
        if (!splitter.findRecord(cursor, colon)) break;
        SpellRecord& record = catalogue[count];
        auto name = copyText(cursor, colon);
        if (!name) break;
        record.setName(std::move(name));
        splitter.startRecord(colon);

        record.armourExempt = static_cast<std::int8_t>(readNumberField(splitter.nextField()) & 0xFF);
        record.delayFactor = readNumberField(splitter.nextField());
        record.delayExtra = readNumberField(splitter.nextField());
        record.delayLevel = readNumberField(splitter.nextField());
        cursor = splitter.nextField();
        auto code = copyText(cursor, cursor + std::strlen(cursor));
        if (!code) {  // out of memory: the slot goes back to unloaded and loading stops
            record.setName(nullptr);
            record.armourExempt = 0;
            record.delayFactor = record.delayExtra = record.delayLevel = 0;
            break;
        }
        const bool special = isSpecialCode(code.get());
        record.setCode(std::move(code));
        if (!special) {
            record.rollRange = readNumberField(cursor = splitter.nextField());
            record.rollBase = readNumberField(cursor = splitter.nextField());
            record.intDivisor = readNumberField(cursor = splitter.nextField());
            record.wisDivisor = readNumberField(cursor = splitter.nextField());
        }
        // cursor is the start of the last field read: the record ends at the line feed after it.
        if (splitter.closeRecord()) {
            char* lineFeed = splitter.find(cursor, '\n');
            cursor = lineFeed == textEnd ? nullptr : lineFeed + 1;
        } else {
            cursor = nullptr;  // the text ended inside this record
        }
        sink.addName(record.name());
        ++count;
    }
    return count;
}

std::size_t loadSpellFile(const char* path, SpellNameSink& sink, SpellCatalogue& catalogue) {
    std::uint32_t size = 0;
    std::unique_ptr<char[]> buffer = readWholeFile(path, size);
    if (!buffer) return 0;
    unscramble(buffer.get(), size);
    return parseSpellText(buffer.get(), size, catalogue, sink);
}

std::size_t loadSpellFile(const char* path, SpellNameSink& sink) { return loadSpellFile(path, sink, spellCatalogue()); }

}  // namespace vyr
