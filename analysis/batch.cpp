#include "batch.h"

#include <algorithm>
#include <charconv>
#include <deque>
#include <optional>

#ifdef VYR_HAVE_SIMDJSON
#include <simdjson.h>
#else
#include <nlohmann/json.hpp>
#endif

#include "calculator_form.h"
#include "cp1252.h"
#include "error.h"

namespace vyr {

namespace {

Error nestedValue(std::string_view name) { return Error(ErrorKind::nestedValue, {{"name", std::string(name)}}); }

bool blank(std::string_view text) { return text.find_first_not_of(" \t\r") == std::string_view::npos; }

// Cells of one CSV line (RFC 4180 quoting; a quoted cell does not span lines here).
std::vector<std::string> splitCsv(std::string_view line) {
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            cells.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            cells.emplace_back();
        } else if (c != '\r' || quoted) {
            cells.back() += c;
        }
    }
    if (quoted) throw Error(ErrorKind::unclosedQuote, {});
    return cells;
}

std::uint32_t wholeNumber(const GivenValue& v) {
    if (v.isWhole && v.number <= 0xFFFFFFFFu) return static_cast<std::uint32_t>(v.number);
    const UnsignedRead read = v.isString ? parseUnsigned(v.text) : UnsignedRead{};
    if (!read.valid) {
        Error refused(ErrorKind::notWholeNumber, {{"input", std::string(v.name)}, {"typed", std::string(v.text)}});
        if (!v.isString) refused.add("form", "number");
        throw refused;
    }
    return read.value;
}

}  // namespace

#ifdef VYR_HAVE_SIMDJSON

// Reads one line's flat object straight into names and values: no document is built, and
// a name given twice stays visible.
class BatchRunner::JsonReader {
  public:
    void read(std::string_view text, std::vector<GivenValue>& given) {
        // The parser reads up to SIMDJSON_PADDING bytes past the end.
        padded_.reserve(text.size() + simdjson::SIMDJSON_PADDING);
        padded_.assign(text);
        simdjson::dom::element document;
        simdjson::dom::object object;
        if (parser_.parse(padded_.data(), text.size(), false).get(document) || document.get_object().get(object))
            throw Error(ErrorKind::jsonObjectExpected, {});
        numbers_.clear();
        for (const simdjson::dom::key_value_pair field : object) {
            GivenValue& v = given.emplace_back();
            v.name = field.key;
            switch (field.value.type()) {
                case simdjson::dom::element_type::OBJECT:
                case simdjson::dom::element_type::ARRAY:
                    throw nestedValue(v.name);
                case simdjson::dom::element_type::STRING:
                    v.text = std::string_view(field.value);  // in the parser, until the next line
                    v.isString = true;
                    break;
                case simdjson::dom::element_type::INT64:
                case simdjson::dom::element_type::UINT64:
                    v.isWhole = !field.value.get_uint64().get(v.number);
                    if (v.isWhole && v.number <= 0xFFFFFFFFu) break;  // the text only names a value refused
                    [[fallthrough]];
                default:
                    v.text = numbers_.emplace_back(simdjson::minify(field.value));
            }
        }
    }

  private:
    simdjson::dom::parser parser_;
    std::string padded_;
    std::deque<std::string> numbers_;  // values other than strings, as written
};

#else

// The same reading with nlohmann's event reader, for builds without simdjson (Windows,
// WebAssembly).
class BatchRunner::JsonReader : public nlohmann::json_sax<nlohmann::json> {
  public:
    void read(std::string_view text, std::vector<GivenValue>& given) {
        given_ = &given;
        texts_.clear();
        depth_ = 0;
        nestedName_.reset();
        if (!nlohmann::json::sax_parse(text, this))
            throw nestedName_ ? nestedValue(*nestedName_) : Error(ErrorKind::jsonObjectExpected, {});
    }

    bool null() override { return value("null"); }
    bool boolean(bool v) override { return value(v ? "true" : "false"); }
    bool number_integer(number_integer_t v) override { return value(std::to_string(v)); }
    bool number_unsigned(number_unsigned_t v) override {
        if (!value(std::to_string(v))) return false;
        given_->back().isWhole = true;
        given_->back().number = v;
        return true;
    }
    bool number_float(number_float_t, const string_t& text) override { return value(text); }
    bool string(string_t& v) override {
        if (!value(std::move(v))) return false;
        given_->back().isString = true;
        return true;
    }
    bool binary(binary_t&) override { return nested(); }
    bool start_object(std::size_t) override { return depth_++ == 0 || nested(); }
    bool key(string_t& k) override {
        given_->emplace_back().name = texts_.emplace_back(std::move(k));
        return true;
    }
    bool end_object() override { return --depth_ >= 0; }
    bool start_array(std::size_t) override { return nested(); }
    bool end_array() override { return false; }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

  private:
    bool value(std::string text) {
        if (depth_ != 1) return nested();
        given_->back().text = texts_.emplace_back(std::move(text));
        return true;
    }
    bool nested() {
        if (depth_ > 0) nestedName_ = std::string(given_->back().name);
        return false;
    }
    std::vector<GivenValue>* given_ = nullptr;
    std::deque<std::string> texts_;          // names and values, until the next line
    std::optional<std::string> nestedName_;  // the name whose value is an object or an array
    int depth_ = 0;
};

#endif

namespace {

std::vector<Column> outputColumns() {
    std::vector<Column> columns{{"line", ""}, {"spell", ""}, {"index", ""}};
    for (const OutputField& f : outputFields) columns.push_back({std::string(f.name), ""});
    return columns;
}

}  // namespace

BatchRunner::BatchRunner(const SpellList& list, const Setup& base, Format output)
    : list_(list),
      base_(base),
      writer_(outputColumns(), output == Format::json ? Format::json : Format::csv),
      json_(output == Format::json),
      reader_(std::make_unique<JsonReader>()) {
    for (const std::string& name : list.utf8Names) names_.push_back(writer_.quote(name));
}

BatchRunner::~BatchRunner() = default;

std::string BatchRunner::header() const { return writer_.header(); }

std::size_t BatchRunner::spellNamed(std::string_view name) {
    // Names repeat from line to line: each is looked up once.
    if (const auto it = found_.find(name); it != found_.end()) return it->second;
    return found_.emplace(name, findSpell(list_, name)).first->second;
}

void BatchRunner::line(std::size_t lineNumber, std::string_view text, std::string& out) {
    const ErrorValue where{"line", std::to_string(lineNumber)};
    if (lineNumber == 1 && text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // a UTF-8 byte order mark
    if (blank(text)) return;
    if (!started_) {
        // The first line that is not blank tells: an object is JSON Lines, anything else a CSV header.
        started_ = true;
        csvInput_ = text[text.find_first_not_of(" \t")] != '{';
        if (csvInput_) {
            csvColumns_ = splitCsv(text);
            bool spellOrIndex = false;
            for (const std::string& c : csvColumns_) {
                if (c != "spell" && c != "index" && !findInput(c))
                    throw Error(ErrorKind::unknownBatchColumn, {where, {"typed", c}, {"nearest", nearestInput(c)}});
                spellOrIndex = spellOrIndex || c == "spell" || c == "index";
            }
            if (!spellOrIndex) throw Error(ErrorKind::batchHeaderWithoutSpell, {where});
            return;
        }
    }
    try {
        given_.clear();
        if (csvInput_) {
            cells_ = splitCsv(text);
            const std::vector<std::string>& cells = cells_;
            if (cells.size() != csvColumns_.size())
                throw Error(ErrorKind::cellCount, {{"count", std::to_string(cells.size())},
                                                   {"expected", std::to_string(csvColumns_.size())}});
            // An empty cell gives nothing: the input keeps its value from under the lines.
            for (std::size_t k = 0; k < cells.size(); ++k) {
                if (!cells[k].empty()) given_.push_back({csvColumns_[k], cells[k], true});
            }
        } else {
            reader_->read(text, given_);
        }
        Setup setup = base_;
        std::optional<std::size_t> spell;
        std::uint32_t seen = 0;  // bit i: input i of inputFields given
        for (const GivenValue& v : given_) {
            if (spell && (v.name == "spell" || v.name == "index")) throw Error(ErrorKind::spellAndIndex, {});
            if (v.name == "spell") {
                if (!v.isString) throw Error(ErrorKind::spellNotText, {});
                spell = spellNamed(v.text);
            } else if (v.name == "index") {
                spell = wholeNumber(v);
                if (*spell >= list_.size())
                    throw Error(ErrorKind::spellIndexPastEnd, {{"role", "batchIndex"},
                                                               {"index", std::to_string(*spell)},
                                                               {"count", std::to_string(list_.size())}});
            } else if (const InputField* f = findInput(v.name)) {
                const std::uint32_t bit = 1u << inputPosition(f->id);
                if (seen & bit) throw Error(ErrorKind::givenTwice, {{"typed", std::string(v.name)}});
                seen |= bit;
                setup.set(f->id, wholeNumber(v));
            } else {
                throw Error(ErrorKind::unknownName,
                            {{"typed", std::string(v.name)}, {"nearest", nearestInput(v.name)}});
            }
        }
        if (!spell) throw Error(ErrorKind::noSpellNorIndex, {});
        run(lineNumber, *spell, setup, out);
    } catch (Error& e) {
        e.add(where.key, where.value);
        throw;
    }
}

void BatchRunner::run(std::size_t lineNumber, std::size_t spell, const Setup& setup, std::string& out) {
    const std::array<FormOutput, 16> outputs = runOnForm(list_, spell, setup);
    writer_.begin(out);
    writer_.whole(static_cast<std::int64_t>(lineNumber), out);
    writer_.quoted(names_[spell], out);
    writer_.whole(static_cast<std::int64_t>(spell), out);
    for (const FormOutput& v : outputs) {
        if (v.kind != OutputValue::Kind::text) {
            writer_.cell(outputCell({v.kind, v.number, {}}), out);
            continue;
        }
        // Special texts repeat from line to line: each is converted and escaped once.
        auto it = std::find_if(texts_.begin(), texts_.end(), [&](const auto& t) { return t.first == v.cp1252Text; });
        if (it == texts_.end())
            it = texts_.emplace(texts_.end(), v.cp1252Text, writer_.quote(cp1252ToUtf8(v.cp1252Text)));
        writer_.quoted(it->second, out);
    }
    writer_.end(out);
    if (json_) out += '\n';
}

}  // namespace vyr
