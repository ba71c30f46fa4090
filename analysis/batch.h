#pragma once
// Batch runs: one input line in, one result line out, no I/O (the caller reads the lines).
//
// Input, JSON Lines: one object per line, "spell" (a name) or "index" (a number), and
// any inputs by camelCase field name, as numbers or digit strings. Or CSV: a header line
// naming the columns (spell or index, then inputs), then one line per run.
// Output, JSON Lines: {"line":N,"spell":NAME,"index":I, then the 16 outputs by field
// name: a number, null when empty, a string for specialText}. Or CSV with a header.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "run_result.h"
#include "table.h"

namespace vyr {

// One name and value of an input line, as read; the texts last until the next line is read.
struct GivenValue {
    std::string_view name;
    std::string_view text;  // a string's text, else the value as written
    bool isString = false;
    bool isWhole = false;   // a JSON number from 0 to 2^64 - 1, in number
    bool isNested = false;  // an object or an array
    std::uint64_t number = 0;
};

class BatchRunner {
  public:
    // base: the setup every line's own inputs are written over.
    BatchRunner(const SpellList& list, const Setup& base, Format output);
    ~BatchRunner();

    // The CSV header of the output ("" for JSON Lines).
    std::string header() const;
    // Appends the result line of one input line to out. Throws Error for a bad line, with the
    // value "line"; a bad CSV header throws unknownBatchColumn or batchHeaderWithoutSpell.
    // Blank lines give nothing.
    void line(std::size_t lineNumber, std::string_view text, std::string& out);

    class JsonReader;  // the fastest JSON reader the build has

  private:
    void run(std::size_t lineNumber, std::size_t spell, const Setup& setup, std::string& out);
    std::size_t spellNamed(std::string_view name);

    // Looks names up without making a string of each.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    };

    const SpellList& list_;
    Setup base_;
    RowWriter writer_;
    bool json_;
    bool csvInput_ = false;
    bool started_ = false;
    std::vector<std::string> csvColumns_;
    std::vector<std::string> names_;  // spell names, quoted once
    std::unordered_map<std::string, std::size_t, NameHash, std::equal_to<>> found_;
    std::vector<std::string> cells_;                          // one CSV line's cells
    std::vector<std::pair<std::string, std::string>> texts_;  // special texts (Windows-1252), quoted once
    std::vector<GivenValue> given_;                           // one line's names and values
    std::unique_ptr<JsonReader> reader_;
};

}  // namespace vyr
