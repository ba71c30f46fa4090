#include "batch.h"

#include <charconv>

#include <nlohmann/json.hpp>

#include "calculator_form.h"
#include "error.h"

namespace vyr {

namespace {

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
    if (quoted) throw Error("unterminated quoted cell", exitProblems);
    return cells;
}

std::uint32_t wholeNumber(const std::string& name, const nlohmann::json& value) {
    if (value.is_number_unsigned() && value.get<std::uint64_t>() <= 0xFFFFFFFFu) return value.get<std::uint32_t>();
    const UnsignedRead read = value.is_string() ? parseUnsigned(value.get_ref<const std::string&>()) : UnsignedRead{};
    if (!read.valid)
        throw Error(name + ": " + value.dump() + " is not a whole number from 0 to 4294967295", exitProblems);
    return read.value;
}

std::string quoted(const std::string& utf8) { return nlohmann::json(utf8).dump(); }

// Reads one line's flat object straight into (name, value) pairs: no document is built,
// and a name given twice stays visible.
class FlatObject : public nlohmann::json_sax<nlohmann::json> {
  public:
    explicit FlatObject(std::vector<std::pair<std::string, nlohmann::json>>& pairs) : pairs_(pairs) {}
    std::string error;

    bool null() override { return value(nullptr); }
    bool boolean(bool v) override { return value(v); }
    bool number_integer(number_integer_t v) override { return value(v); }
    bool number_unsigned(number_unsigned_t v) override { return value(v); }
    bool number_float(number_float_t v, const string_t&) override { return value(v); }
    bool string(string_t& v) override { return value(std::move(v)); }
    bool binary(binary_t&) override { return nested(); }
    bool start_object(std::size_t) override { return depth_++ == 0 || nested(); }
    bool key(string_t& k) override {
        pairs_.emplace_back(std::move(k), nullptr);
        return true;
    }
    bool end_object() override { return --depth_ >= 0; }
    bool start_array(std::size_t) override { return nested(); }
    bool end_array() override { return false; }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override {
        const std::string what = e.what();
        error = "not JSON: " + what.substr(what.find(']') + 2);
        return false;
    }

  private:
    bool value(nlohmann::json v) {
        if (depth_ != 1) return nested();
        pairs_.back().second = std::move(v);
        return true;
    }
    bool nested() {
        error = depth_ == 0 ? "expected a JSON object"
                            : "the value of \"" + pairs_.back().first + "\" must be a number or a string";
        return false;
    }
    std::vector<std::pair<std::string, nlohmann::json>>& pairs_;
    int depth_ = 0;
};

}  // namespace

BatchRunner::BatchRunner(const SpellList& list, const Setup& base, Format output)
    : list_(list), base_(base), output_(output) {
    for (const std::string& name : list.utf8Names)
        jsonNames_.push_back(output == Format::json ? quoted(name) : csvCell(name));
}

std::string BatchRunner::header() const {
    if (output_ == Format::json) return {};
    std::string text = "line,spell,index";
    for (const OutputInfo& info : outputInfos) text += "," + std::string(info.name);
    return text + "\r\n";
}

std::size_t BatchRunner::spellNamed(const std::string& name) {
    // Names repeat from line to line: each is looked up once.
    if (const auto it = found_.find(name); it != found_.end()) return it->second;
    try {
        return found_.emplace(name, findSpell(list_, name)).first->second;
    } catch (const Error& e) {
        throw Error(e.what(), exitProblems);
    }
}

void BatchRunner::line(std::size_t lineNumber, std::string_view text, std::string& out) {
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
                    throw Error("line " + std::to_string(lineNumber) + ": unknown column \"" + c +
                                "\" (columns: spell or index, and inputs such as level)");
                spellOrIndex = spellOrIndex || c == "spell" || c == "index";
            }
            if (!spellOrIndex)
                throw Error("line " + std::to_string(lineNumber) + ": the header names neither spell nor index");
            return;
        }
    }
    try {
        std::vector<std::pair<std::string, nlohmann::json>>& pairs = pairs_;
        pairs.clear();
        if (csvInput_) {
            const std::vector<std::string> cells = splitCsv(text);
            if (cells.size() != csvColumns_.size())
                throw Error(
                    std::to_string(cells.size()) + " cells, the header has " + std::to_string(csvColumns_.size()),
                    exitProblems);
            // An empty cell gives nothing: the input keeps its value from under the lines.
            for (std::size_t k = 0; k < cells.size(); ++k) {
                if (!cells[k].empty()) pairs.emplace_back(csvColumns_[k], cells[k]);
            }
        } else {
            FlatObject reader(pairs);
            if (!nlohmann::json::sax_parse(text, &reader)) throw Error(reader.error, exitProblems);
        }
        Setup setup = base_;
        std::optional<std::size_t> spell;
        std::uint32_t seen = 0;  // bit i: input i of inputFields given
        for (const auto& [key, value] : pairs) {
            if (spell && (key == "spell" || key == "index")) throw Error("give spell or index, not both", exitProblems);
            if (key == "spell") {
                if (!value.is_string()) throw Error("spell: expected a name in quotes", exitProblems);
                spell = spellNamed(value.get<std::string>());
            } else if (key == "index") {
                spell = wholeNumber(key, value);
                if (*spell >= list_.size())
                    throw Error("index " + std::to_string(*spell) + " is past the list (" +
                                    std::to_string(list_.size()) + " spells, numbered from 0)",
                                exitProblems);
            } else if (const InputField* f = findInput(key)) {
                const std::uint32_t bit = 1u << inputPosition(f->id);
                if (seen & bit) throw Error("\"" + key + "\" is given twice", exitProblems);
                seen |= bit;
                setup.set(f->id, wholeNumber(key, value));
            } else {
                throw Error("unknown name \"" + key + "\" (give spell or index, and inputs such as level)",
                            exitProblems);
            }
        }
        if (!spell) throw Error("no spell or index", exitProblems);
        run(lineNumber, *spell, setup, out);
    } catch (const Error& e) {
        throw Error("line " + std::to_string(lineNumber) + ": " + e.what(), e.exitCode());
    }
}

void BatchRunner::run(std::size_t lineNumber, std::size_t spell, const Setup& setup, std::string& out) {
    // Pieces the library escaped once (names, texts) joined with numbers; no escaping here.
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> k;
        for (const OutputInfo& info : outputInfos) k.push_back("," + quoted(std::string(info.name)) + ":");
        return k;
    }();
    const bool json = output_ == Format::json;
    const RunResult result = runSpell(list_, spell, setup);
    char digits[24];
    auto number = [&](std::uint64_t v) { out.append(digits, std::to_chars(digits, digits + sizeof digits, v).ptr); };
    out += json ? "{\"line\":" : "";
    number(lineNumber);
    out += json ? ",\"spell\":" : ",";
    out += jsonNames_[spell];
    out += json ? ",\"index\":" : ",";
    number(spell);
    for (std::size_t k = 0; k < result.outputs.size(); ++k) {
        const OutputValue& v = result.outputs[k];
        out += json ? keys[k] : ",";
        if (v.kind == OutputValue::Kind::number) {
            number(v.number);
        } else if (v.kind == OutputValue::Kind::text) {
            auto it = std::find_if(texts_.begin(), texts_.end(), [&](const auto& t) { return t.first == v.text; });
            if (it == texts_.end()) it = texts_.emplace(texts_.end(), v.text, json ? quoted(v.text) : csvCell(v.text));
            out += it->second;
        } else if (json) {
            out += "null";
        }
    }
    out += json ? "}\n" : "\r\n";
}

}  // namespace vyr
