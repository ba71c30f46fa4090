// vyr batch: one ordinary run per line of JSON Lines or CSV, one result line each.
// Built for millions of lines: input read in large blocks, output gathered in one
// buffer, spell names looked up once, and no allocation per line beyond the run itself.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <unordered_map>
#include <vector>

#include "calc_support.h"
#include "calculator_form.h"
#include "command_line.h"
#include "cp1252.h"
#include "fields.h"
#include "player_common.h"
#include "player_tools.h"

namespace vyr::cli {

namespace {

// Lines of a stream, read a megabyte at a time. A line ending in CR LF loses its CR.
// A line is a view into the block, or into carry_ when it spans two blocks.
class LineReader {
public:
    explicit LineReader(std::istream& in) : in_(in), block_(1u << 20) {}

    bool next(std::string_view& line) {
        if (carryReturned_) {
            carry_.clear();
            carryReturned_ = false;
        }
        for (;;) {
            if (pos_ < size_) {
                const char* start = block_.data() + pos_;
                if (const char* end = static_cast<const char*>(std::memchr(start, '\n', size_ - pos_))) {
                    const std::size_t length = static_cast<std::size_t>(end - start);
                    pos_ += length + 1;
                    if (carry_.empty()) {
                        line = std::string_view(start, length);
                    } else {
                        carry_.append(start, length);
                        line = carry_;
                        carryReturned_ = true;
                    }
                    return finish(line);
                }
                carry_.append(start, size_ - pos_);
                pos_ = size_;
            }
            if (ended_) break;
            in_.read(block_.data(), static_cast<std::streamsize>(block_.size()));
            size_ = static_cast<std::size_t>(in_.gcount());
            pos_ = 0;
            ended_ = size_ == 0;
        }
        if (carry_.empty()) return false;
        line = carry_;  // the last line, without a line break after it
        carryReturned_ = true;
        return finish(line);
    }

private:
    bool finish(std::string_view& line) {
        if (first_) {
            first_ = false;
            if (line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);  // a UTF-8 byte order mark
        }
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return true;
    }

    std::istream& in_;
    std::vector<char> block_;
    std::size_t pos_ = 0;
    std::size_t size_ = 0;
    std::string carry_;
    bool carryReturned_ = false;
    bool ended_ = false;
    bool first_ = true;
};

// One "key": value pair of a line; the strings keep their capacity from line to line.
struct Pair {
    std::string key;
    std::string value;
    bool isString = false;
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// A flat JSON object whose values are strings or numbers (nothing nested): enough for
// one batch line, and strict about everything else.
class JsonLineParser {
public:
    bool parse(std::string_view text, std::vector<Pair>& pairs, std::size_t& count, std::string& error) {
        s_ = text;
        i_ = 0;
        count = 0;
        skip();
        if (!take('{')) return fail("expected a JSON object, starting with {", error);
        skip();
        if (take('}')) return end(error);
        for (;;) {
            if (count == pairs.size()) pairs.emplace_back();
            Pair& p = pairs[count];
            skip();
            if (!string(p.key, error)) return false;
            skip();
            if (!take(':')) return fail("expected : after \"" + p.key + "\"", error);
            skip();
            if (!value(p, error)) return false;
            ++count;
            skip();
            if (take('}')) return end(error);
            if (!take(',')) return fail("expected , or } after the value of \"" + p.key + "\"", error);
        }
    }

private:
    bool fail(const std::string& message, std::string& error) {
        error = message + " (column " + std::to_string(i_ + 1) + ")";
        return false;
    }
    void skip() {
        while (i_ < s_.size() && isBlank(s_[i_])) ++i_;
    }
    bool take(char c) {
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    bool end(std::string& error) {
        skip();
        return i_ == s_.size() || fail("text after the end of the object", error);
    }
    bool hex4(std::uint32_t& v) {
        if (s_.size() - i_ < 4) return false;
        v = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = s_[i_++];
            v <<= 4;
            if (c >= '0' && c <= '9') v |= static_cast<std::uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f') v |= static_cast<std::uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F') v |= static_cast<std::uint32_t>(c - 'A' + 10);
            else return false;
        }
        return true;
    }
    bool string(std::string& out, std::string& error) {
        out.clear();
        if (!take('"')) return fail("expected a quoted name", error);
        while (i_ < s_.size()) {
            const char c = s_[i_++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return fail("control character in a string", error);
            if (c != '\\') {
                out += c;
                continue;
            }
            if (i_ >= s_.size()) break;
            const char e = s_[i_++];
            switch (e) {
                case '"': case '\\': case '/': out += e; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                case 'u': {
                    std::uint32_t cp = 0;
                    if (!hex4(cp)) return fail("bad \\u escape", error);
                    if (cp >= 0xD800 && cp < 0xDC00) {
                        std::uint32_t low = 0;
                        if (!take('\\') || !take('u') || !hex4(low) || low < 0xDC00 || low > 0xDFFF)
                            return fail("unpaired surrogate in a \\u escape", error);
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    } else if (cp >= 0xDC00 && cp < 0xE000) {
                        return fail("unpaired surrogate in a \\u escape", error);
                    }
                    appendUtf8(out, cp);
                    break;
                }
                default: return fail(std::string("bad escape \\") + e, error);
            }
        }
        return fail("unterminated string", error);
    }
    bool value(Pair& p, std::string& error) {
        if (i_ < s_.size() && s_[i_] == '"') {
            p.isString = true;
            return string(p.value, error);
        }
        p.isString = false;
        const std::size_t start = i_;
        // A JSON number; whether it is a whole number in range is checked by its user.
        if (i_ < s_.size() && s_[i_] == '-') ++i_;
        while (i_ < s_.size() && ((s_[i_] >= '0' && s_[i_] <= '9') || s_[i_] == '.' || s_[i_] == 'e' ||
                                  s_[i_] == 'E' || s_[i_] == '+' || s_[i_] == '-')) {
            ++i_;
        }
        if (i_ == start) {
            return fail("the value of \"" + p.key + "\" must be a number or a string", error);
        }
        p.value.assign(s_.substr(start, i_ - start));
        return true;
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

// Cells of one CSV line (RFC 4180 quoting; a quoted cell cannot span lines here).
bool splitCsv(std::string_view line, std::vector<std::string>& cells, std::size_t& count, std::string& error) {
    count = 0;
    std::size_t i = 0;
    for (;;) {
        if (count == cells.size()) cells.emplace_back();
        std::string& cell = cells[count++];
        cell.clear();
        if (i < line.size() && line[i] == '"') {
            ++i;
            for (;;) {
                if (i >= line.size()) {
                    error = "unterminated quoted cell";
                    return false;
                }
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        cell += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                cell += line[i++];
            }
            if (i < line.size() && line[i] != ',') {
                error = "text after a quoted cell";
                return false;
            }
        } else {
            const std::size_t comma = line.find(',', i);
            const std::size_t end = comma == std::string_view::npos ? line.size() : comma;
            cell.assign(line.substr(i, end - i));
            i = end;
        }
        if (i >= line.size()) return true;
        ++i;  // the comma
    }
}

bool blankLine(std::string_view line) {
    for (char c : line) {
        if (!isBlank(c)) return false;
    }
    return true;
}

// What a line asks for, before it runs.
struct LineRequest {
    bool hasSpell = false;
    bool hasIndex = false;
    std::string_view spell;  // UTF-8
    std::string_view index;
};

class BatchRunner {
public:
    BatchRunner(const BatchOptions& options, const SpellData& data, std::ostream& out, std::ostream& err)
        : options_(options), data_(data), out_(out), err_(err), inputs_(options.inputs) {
        buffer_.reserve(2u << 20);
        names_.resize(data.names.size());
        for (std::size_t i = 0; i < data.names.size(); ++i) {
            const std::string utf8 = cp1252ToUtf8(data.names[i]);
            names_[i].json = jsonString(utf8);
            appendCsvCell(names_[i].csv, utf8);
        }
    }

    bool failed() const { return failures_ > 0; }
    std::size_t failures() const { return failures_; }

    void header() {
        if (options_.jsonOutput) return;
        buffer_ += "line,spell,index";
        for (int id : outputDisplayOrder) {
            buffer_ += ',';
            buffer_ += findOutput(id)->name;
        }
        buffer_ += '\n';
    }

    // One JSON object line.
    void jsonLine(std::size_t lineNumber, std::string_view line) {
        std::string error;
        std::size_t count = 0;
        if (!json_.parse(line, pairs_, count, error)) return report(lineNumber, error);
        LineRequest request;
        inputs_.resize(options_.inputs.size());
        seen_.assign(inputFields.size() + 2, false);
        for (std::size_t k = 0; k < count; ++k) {
            const Pair& p = pairs_[k];
            if (!take(p.key, p.value, p.isString, request, error)) return report(lineNumber, error);
        }
        run(lineNumber, request);
    }

    // The header line of a CSV input. False: the whole input is unusable.
    bool csvHeader(std::size_t lineNumber, std::string_view line) {
        std::string error;
        std::size_t count = 0;
        if (!splitCsv(line, cells_, count, error)) {
            err_ << "vyr batch: line " << lineNumber << ": header: " << error << '\n';
            return false;
        }
        columns_.assign(cells_.begin(), cells_.begin() + static_cast<std::ptrdiff_t>(count));
        std::vector<std::string> seen;
        bool spellOrIndex = false;
        for (std::string& c : columns_) {
            c = std::string(trimmed(c));
            if (c != "spell" && c != "index" && !findInput(c)) {
                err_ << "vyr batch: line " << lineNumber << ": unknown column \"" << c
                     << "\" (columns: spell or index, and inputs by their field names such as level)\n";
                return false;
            }
            for (const std::string& s : seen) {
                if (s == c) {
                    err_ << "vyr batch: line " << lineNumber << ": column \"" << c << "\" is given twice\n";
                    return false;
                }
            }
            seen.push_back(c);
            spellOrIndex = spellOrIndex || c == "spell" || c == "index";
        }
        if (!spellOrIndex) {
            err_ << "vyr batch: line " << lineNumber << ": the header names neither a spell nor an index column\n";
            return false;
        }
        return true;
    }

    void csvLine(std::size_t lineNumber, std::string_view line) {
        std::string error;
        std::size_t count = 0;
        if (!splitCsv(line, cells_, count, error)) return report(lineNumber, error);
        if (count != columns_.size()) {
            return report(lineNumber, std::to_string(count) + " cells, the header has " + std::to_string(columns_.size()));
        }
        LineRequest request;
        inputs_.resize(options_.inputs.size());
        seen_.assign(inputFields.size() + 2, false);
        for (std::size_t k = 0; k < count; ++k) {
            // An empty cell gives nothing: the input keeps its default (or the profile's value).
            if (cells_[k].empty()) continue;
            if (!take(columns_[k], cells_[k], true, request, error)) return report(lineNumber, error);
        }
        run(lineNumber, request);
    }

    void flush(bool force) {
        if (force || buffer_.size() >= (1u << 20)) {
            out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
            buffer_.clear();
        }
    }

private:
    struct NameTexts {
        std::string json;  // quoted and escaped
        std::string csv;   // one CSV cell
    };

    static std::string_view trimmed(std::string_view s) {
        while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
        while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
        return s;
    }

    bool take(const std::string& key, const std::string& value, bool isString, LineRequest& request,
              std::string& error) {
        std::size_t slot = 0;
        const InputField* input = nullptr;
        if (key == "spell") {
            slot = inputFields.size();
        } else if (key == "index") {
            slot = inputFields.size() + 1;
        } else {
            input = findInput(key);
            if (!input) {
                error = "unknown name \"" + key + "\" (give spell or index, and inputs by their field names such as level)";
                return false;
            }
            slot = static_cast<std::size_t>(input - inputFields.data());
        }
        if (seen_[slot]) {
            error = "\"" + key + "\" is given twice";
            return false;
        }
        seen_[slot] = true;
        if (key == "spell") {
            request.hasSpell = true;
            request.spell = value;
            return true;
        }
        // Whole numbers only: a JSON 25.0 or -1 is as wrong as the text "2 5".
        if (!parseUnsigned(value).valid) {
            error = key + ": " + (isString ? "\"" + value + "\"" : value) + " is not a whole number from 0 to 4294967295";
            return false;
        }
        if (key == "index") {
            request.hasIndex = true;
            request.index = value;
            return true;
        }
        inputs_.emplace_back(input->id, value);
        return true;
    }

    std::optional<std::size_t> resolve(const LineRequest& request, std::string& error) {
        if (request.hasSpell == request.hasIndex) {
            error = request.hasSpell ? "give spell or index, not both" : "no spell or index";
            return std::nullopt;
        }
        if (request.hasIndex) {
            const std::uint32_t index = parseUnsigned(request.index).value;
            if (index < data_.names.size()) return index;
            error = "index " + std::to_string(index) + " is past the list (" + std::to_string(data_.names.size()) +
                    " spells, numbered from 0)";
            return std::nullopt;
        }
        // Names repeat from line to line: each is looked up once.
        spellKey_.assign(request.spell);
        if (auto it = found_.find(spellKey_); it != found_.end()) return it->second;
        if (auto it = notFound_.find(spellKey_); it != notFound_.end()) {
            error = it->second;
            return std::nullopt;
        }
        std::string why;
        const std::optional<std::size_t> index = findSpell(data_, request.spell, why);
        if (index) {
            found_.emplace(spellKey_, *index);
            return index;
        }
        // The list of candidates that vyr calc offers does not fit in one line of a report.
        why = why.rfind("several", 0) == 0 ? "several spells are named \"" + spellKey_ + "\" (give index instead)"
                                           : "no spell is named \"" + spellKey_ + "\"";
        notFound_.emplace(spellKey_, why);
        error = why;
        return std::nullopt;
    }

    void run(std::size_t lineNumber, const LineRequest& request) {
        std::string error;
        const std::optional<std::size_t> index = resolve(request, error);
        if (!index) return report(lineNumber, error);
        const RunResult result = runOnce(data_, *index, inputs_);
        if (options_.jsonOutput) {
            buffer_ += "{\"line\": ";
            buffer_ += std::to_string(lineNumber);
            buffer_ += ", \"spell\": ";
            buffer_ += names_[*index].json;
            buffer_ += ", \"index\": ";
            buffer_ += std::to_string(*index);
            buffer_ += ", \"outputs\": {";
            for (std::size_t k = 0; k < result.outputs.size(); ++k) {
                const auto& [id, text] = result.outputs[k];
                buffer_ += k ? ", \"" : "\"";
                buffer_ += findOutput(id)->name;
                buffer_ += "\": ";
                appendText(id, text, true);
            }
            buffer_ += "}}\n";
        } else {
            buffer_ += std::to_string(lineNumber);
            buffer_ += ',';
            buffer_ += names_[*index].csv;
            buffer_ += ',';
            buffer_ += std::to_string(*index);
            for (const auto& [id, text] : result.outputs) {
                buffer_ += ',';
                appendText(id, text, false);
            }
            buffer_ += '\n';
        }
        flush(false);
    }

    // Numbers go as they are; the few distinct special texts are converted once.
    void appendText(int id, const std::string& cp1252, bool json) {
        if (id != field::specialText) {
            if (json) buffer_ += '"';
            buffer_ += cp1252;
            if (json) buffer_ += '"';
            return;
        }
        for (const auto& [text, converted] : texts_) {
            if (text == cp1252) {
                buffer_ += json ? converted.json : converted.csv;
                return;
            }
        }
        NameTexts converted;
        const std::string utf8 = cp1252ToUtf8(cp1252);
        converted.json = jsonString(utf8);
        appendCsvCell(converted.csv, utf8);
        buffer_ += json ? converted.json : converted.csv;
        texts_.emplace_back(cp1252, std::move(converted));
    }

    void report(std::size_t lineNumber, const std::string& error) {
        ++failures_;
        err_ << "vyr batch: line " << lineNumber << ": " << error << '\n';
    }

    const BatchOptions& options_;
    const SpellData& data_;
    std::ostream& out_;
    std::ostream& err_;
    std::string buffer_;
    InputTexts inputs_;
    std::vector<bool> seen_;
    std::vector<Pair> pairs_;
    std::vector<std::string> cells_;
    std::vector<std::string> columns_;
    JsonLineParser json_;
    std::vector<NameTexts> names_;
    std::string spellKey_;
    std::unordered_map<std::string, std::size_t> found_;
    std::unordered_map<std::string, std::string> notFound_;
    std::vector<std::pair<std::string, NameTexts>> texts_;
    std::size_t failures_ = 0;
};

}  // namespace

int runBatch(const BatchOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
    std::string error;
    SpellData data;
    if (!loadSpellData(options.dataPath, data, error)) {
        err << "vyr batch: " << error << '\n';
        return exitUsage;
    }
    std::ifstream file;
    std::istream* source = &in;
    if (!options.inputPath.empty() && options.inputPath != "-") {
        file.open(options.inputPath, std::ios::binary);
        if (!file) {
            err << "vyr batch: " << options.inputPath << ": cannot be read\n";
            return exitUsage;
        }
        source = &file;
    }
    ResultSink sink;
    if (!sink.open(options.outputPath, out, error)) {
        err << "vyr batch: " << error << '\n';
        return exitUsage;
    }

    BatchRunner runner(options, data, sink.stream(), err);
    runner.header();
    LineReader reader(*source);
    std::string_view line;
    std::size_t lineNumber = 0;
    BatchInput format = options.inputFormat;
    bool headerRead = false;
    while (reader.next(line)) {
        ++lineNumber;
        if (blankLine(line)) continue;
        if (format == BatchInput::detect) {
            // The first line that is not blank tells: an object is JSON Lines, anything else a CSV header.
            std::size_t k = 0;
            while (k < line.size() && isBlank(line[k])) ++k;
            format = line[k] == '{' ? BatchInput::jsonLines : BatchInput::csv;
        }
        if (format == BatchInput::jsonLines) {
            runner.jsonLine(lineNumber, line);
        } else if (!headerRead) {
            if (!runner.csvHeader(lineNumber, line)) return exitUsage;
            headerRead = true;
        } else {
            runner.csvLine(lineNumber, line);
        }
    }
    if (source->bad()) {
        err << "vyr batch: " << (source == &in ? std::string("standard input") : options.inputPath)
            << ": reading failed after line " << lineNumber << '\n';
        return exitUsage;
    }
    runner.flush(true);
    if (!sink.finish(error)) {
        err << "vyr batch: " << error << '\n';
        return exitUsage;
    }
    if (runner.failed()) {
        err << "vyr batch: " << runner.failures() << (runner.failures() == 1 ? " line" : " lines")
            << " failed, the others were computed\n";
        return exitProblems;
    }
    return exitOk;
}

}  // namespace vyr::cli
