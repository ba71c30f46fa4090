// The page's way into the core and its analyses. Inputs cross as {name: typed text}, the
// way the dialog's fields hold them; results as plain values (null for an empty output)
// and tables as {columns: [{name, heading}], rows: [[cell]]}. Every figure comes from
// here: the page only lays out what it gets.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "analyses.h"
#include "calculator_form.h"
#include "charts.h"
#include "code_letters.h"
#include "cp1252.h"
#include "effects.h"
#include "error.h"
#include "fields.h"
#include "sample_list.h"
#include "setup.h"
#include "spell_changes.h"
#include "spell_check.h"
#include "spell_file.h"

namespace vyr::web {
namespace {

using emscripten::val;

SpellList spells;                        // a file that loads no spell leaves it as it was
constexpr std::size_t shownRows = 2000;  // rows of a long table that the page shows at once

std::string text(std::string_view view) { return std::string(view); }

val object(std::initializer_list<std::pair<const char*, val>> members) {
    val out = val::object();
    for (const auto& [name, value] : members) out.set(name, value);
    return out;
}

// An input missing from the object keeps its default; text that is no number counts as 0,
// as a run reads it.
Setup setupOf(const val& inputs) {
    Setup setup = Setup::defaults();
    for (const InputField& f : inputFields) {
        const val typed = inputs[text(f.name)];
        if (!typed.isUndefined()) setup.set(f.id, parseUnsigned(typed.as<std::string>()).value);
    }
    return setup;
}

val inputsOf(const Setup& setup) {
    val inputs = val::object();
    for (const InputField& f : inputFields) inputs.set(text(f.name), std::to_string(setup[f.id]));
    return inputs;
}

val array(const auto& items, auto convert) {
    val out = val::array();
    for (const auto& item : items) out.call<void>("push", convert(item));
    return out;
}

val bestOf(Best best) {
    return best == Best::none ? val::null() : val(text(bestNames[static_cast<std::size_t>(best)]));
}

val cellOf(const Cell& cell) {
    return std::visit(
        [](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                return val::null();
            else if constexpr (std::is_same_v<T, std::int64_t>)
                return val(double(v));
            else
                return val(v);
        },
        cell);
}

// Columns not shown are those of CSV and JSON only; best: which end of a column of figures a
// player wants on top, as the table that makes the column says (null: neither).
val tableOf(const Table& table) {
    return object({{"columns", array(table.columns,
                                     [](const Column& c) {
                                         return object({{"name", val(c.name)},
                                                        {"heading", val(c.heading)},
                                                        {"shown", val(c.inText)},
                                                        {"best", bestOf(c.best)}});
                                     })},
                   {"rows", array(table.rows, [](const std::vector<Cell>& row) { return array(row, cellOf); })}});
}

// Runs body; an Error becomes {error: {kind, values}}, its kind's name and values as texts,
// which the page words in its own terms (src/words.js).
val attempt(auto body) {
    try {
        return body();
    } catch (const Error& e) {
        val values = val::object();
        for (const ErrorValue& v : e.values()) values.set(std::string(v.key), val(v.value));
        return object({{"error", object({{"kind", val(std::string(errorKindName(e.kind())))}, {"values", values}})}});
    }
}

// The 24 inputs ({name, label, pageLabel, group, default}; group: "character" or "opponent"), the 16
// outputs ({name, label, pageLabel, heading, unit}; heading: the short name that tells the two ends of a
// range apart, unit included; unit: "ms", "%" or ""), in the dialog's reading order; label is the
// dialog's own, pageLabel the page's (no closing " :"). setupLimit: how many setups diffMany takes at
// the most; shownRows: the rows of a long table shown at once; series: the values a chart can show ({name, title});
// chartHeight: a chart's height in px, the room its box keeps while it is drawn. record: a spell record's fields in the
// data file's order ({name, heading}), codeField: where the code stands among them (a special record's line stops
// there), capacity: the records the program loads at the most.
val fields() {
    return object({{"inputs", array(inputFields,
                                    [](const InputField& f) {
                                        return object(
                                            {{"name", val(text(f.name))},
                                             {"label", val(text(f.label))},
                                             {"pageLabel", val(text(f.pageLabel))},
                                             {"group", val(text(inputGroupNames[static_cast<std::size_t>(f.group)]))},
                                             {"default", val(text(f.defaultText))}});
                                    })},
                   {"outputs", array(outputFields,
                                     [](const OutputField& f) {
                                         return object({{"name", val(text(f.name))},
                                                        {"label", val(text(f.label))},
                                                        {"pageLabel", val(text(f.pageLabel))},
                                                        {"heading", val(text(f.heading))},
                                                        {"unit", val(text(f.unit))}});
                                     })},
                   {"setupLimit", val(double(maxDiffSetups))},
                   {"shownRows", val(double(shownRows))},
                   {"record", array(recordFields,
                                    [](const RecordField& f) {
                                        return object({{"name", val(text(f.name))}, {"heading", val(text(f.heading))}});
                                    })},
                   {"codeField", val(double(codeField))},
                   {"capacity", val(double(spellCapacity))},
                   {"chartHeight", val(chartHeight)},
                   {"series", array(chartSeries, [](const ChartSeries& c) {
                        return object({{"name", val(text(c.name))}, {"title", val(text(c.title))}});
                    })}});
}

// The spells whose name holds what was typed, ignoring case and accents as vyr does; both
// sides folded alike (the names in UTF-8, as typed), so "n°" or "€" find themselves.
val find(const std::string& typed) {
    const std::string wanted = foldTypedName(typed);
    val out = val::array();
    for (std::size_t i = 0; i < spells.size(); ++i) {
        if (foldTypedName(spells.utf8Names[i]).find(wanted) != std::string::npos)
            out.call<void>("push", val(double(i)));
    }
    return out;
}

constexpr std::string_view formNames[] = {"scrambled", "plain"};

// A file's bytes (a Uint8Array) as players give them, read in form: "" to guess it (a file that looks like no
// spell list is refused), "scrambled" as the program reads its data file, "plain" as it stands.
SpellList listOf(const std::string& bytes, const std::string& fileName, const std::string& form) {
    std::optional<SpellFileForm> given;
    if (form == formNames[0]) given = SpellFileForm::scrambled;
    if (form == formNames[1]) given = SpellFileForm::plain;
    return spellListFromBytes(bytes, fileName, given);
}

// Loads a file's bytes as listOf reads them: {names, form, garbled} (garbled: most names hold control
// characters), or {error: {kind, values}}; a refused file leaves the list as it was.
val load(const std::string& bytes, const std::string& fileName, const std::string& form) {
    return attempt([&] {
        spells = listOf(bytes, fileName, form);
        return object({{"names", array(spells.utf8Names, [](const std::string& name) { return val(name); })},
                       {"form", val(text(formNames[static_cast<std::size_t>(spells.form)]))},
                       {"garbled", val(spells.garbledNames)}});
    });
}

// Findings as the page takes them: [{line, column, severity, kind, values, part}], in line order, values as texts by
// name; part: where on its line (Windows-1252 text) the finding stands, 0 the name and k field k - 1, null for the
// whole line.
val findingsOf(const CheckReport& report, std::string_view plain) {
    const std::vector<std::string_view> lines = splitLines(plain);
    return array(report.findings, [&](const Finding& f) {
        val values = val::object();
        for (const ErrorValue& v : f.values) values.set(text(v.key), val(v.value));
        const std::size_t part = f.line <= lines.size() ? partAt(lines[f.line - 1], f.column) : std::string_view::npos;
        return object({{"line", val(double(f.line))},
                       {"column", val(double(f.column))},
                       {"severity", val(f.severity == Severity::error ? "error" : "warning")},
                       {"kind", val(text(findingKindName(f.kind)))},
                       {"values", values},
                       {"part", part == std::string_view::npos ? val::null() : val(double(part))}});
    });
}

// What the checks find in the loaded list's text.
val findings() { return findingsOf(checkSpellText(spells.text), spells.text); }

// The loaded list's text (UTF-8), as the loader read it: the workshop's lines.
std::string plainText() { return cp1252ToUtf8(spells.text); }

// A workshop's draft, a plain list (UTF-8) as vyr encode takes it, becomes the list that run computes (a draft from
// which no spell loads leaves none): {findings, loaded} (loaded: the records the program would store), as vyr
// encode checks the list.
val draft(const std::string& utf8) {
    const PlainList list = preparePlainList(utf8, false);
    try {
        spells = spellListFromBytes(utf8, "", SpellFileForm::plain);
    } catch (const Error&) {
        spells = SpellList{};
    }
    return object({{"findings", findingsOf(list.report, list.text)}, {"loaded", val(double(list.report.loaded))}});
}

// The data file of a draft, byte for byte what vyr encode writes of the same list (--force: errors do not stop it):
// {bytes (a Uint8Array), errors}; bytes null when a character has no Windows-1252 form.
val encode(const std::string& utf8) {
    PlainList list = preparePlainList(utf8, false);
    unscramble(list.text.data(), list.text.size());
    const val bytes =
        list.encodable ? val(emscripten::typed_memory_view(list.text.size(), list.text.data())) : val::null();
    return object(
        {{"bytes", list.encodable ? bytes.call<val>("slice") : bytes}, {"errors", val(double(list.report.errors()))}});
}

// A line of a plain list as the workshop shows it: {record, special, parts}; parts: the name then the fields as
// written, as many as the line holds (a special code's line: up to its code); a line without ":" is no record, and
// its one part is the line.
val recordLine(const std::string& line) {
    const RecordLine split = splitRecordLine(line);
    const bool record = split.colon != std::string_view::npos;
    val parts = val::array();
    parts.call<void>("push", val(record ? line.substr(0, split.colon) : line));
    for (const RecordLine::Field& f : split.fields) parts.call<void>("push", val(std::string(f.text)));
    return object({{"record", val(record)},
                   {"special", val(split.expected == codeField + 1 && split.fields.size() > codeField)},
                   {"parts", parts}});
}

// The line with one part typed anew, in the record format (rewriteRecordLine).
std::string rewriteLine(const std::string& line, std::size_t part, const std::string& typed) {
    return rewriteRecordLine(line, part, typed);
}

// The page's name of the input a member is read from.
val inputLabel(InputMember member) {
    for (const CharacterInputField& f : characterInputFields)
        if (f.member == member && member) return val(text(findInputById(f.id)->pageLabel));
    return val::null();
}

// What a code may be: {letters: [{prefix, element, power, resistance, bonus}] (power and resistance: the page's
// label of the input that scales the range, or null), rules: [{code, text}] (the special rules; text: the
// description the rule writes, "" for none)}.
val codes() {
    return object({{"letters", array(codeLetters(),
                                     [](const CodeLetter& l) {
                                         return object({{"prefix", val(text(l.prefix))},
                                                        {"element", val(text(l.element))},
                                                        {"power", inputLabel(l.power)},
                                                        {"resistance", inputLabel(l.resistance)},
                                                        {"bonus", val(l.armourBonus)}});
                                     })},
                   {"rules", array(specialRules(), [](const SpecialRule& r) {
                        return object({{"code", val(std::string(r.code))},
                                       {"text", val(r.text ? cp1252ToUtf8(r.text) : std::string())}});
                    })}});
}

// The sample list's scrambled bytes, built into the module (no file system needed).
val sample() { return val(emscripten::typed_memory_view(sampleList.size(), sampleList.data())).call<val>("slice"); }

// One press of "GO !": {name: value} for the 16 outputs, null where empty; a spell past the
// list is {error}, never a stale result.
val run(std::size_t spell, const val& inputs) {
    return attempt([&] {
        const RunResult result = runSpell(spells, chooseSpell(spells, {}, std::int64_t(spell)), setupOf(inputs));
        val outputs = val::object();
        for (std::size_t k = 0; k < outputFields.size(); ++k)
            outputs.set(text(outputFields[k].name), cellOf(outputCell(result.outputs[k])));
        return outputs;
    });
}

// A form of one field holding the whole typed text (a NUL byte included), so that the
// dialog's rule judges all of it.
class TypedField : public CalculatorForm {
  public:
    explicit TypedField(std::string typed) : text_(std::move(typed)) {}
    std::string fieldText(int) const override { return text_; }
    void writeText(int, const char* text) override { text_ = text; }
    std::optional<std::size_t> selectedSpell() const override { return std::nullopt; }
    void addName(const char*) override {}

  private:
    std::string text_;
};

// The text an input holds once the user leaves it; an unknown input is {error}.
val leave(const std::string& name, const std::string& typed) {
    return attempt([&] {
        const InputField* field = findInput(name);
        if (!field) throw Error(ErrorKind::unknownInput, {{"typed", name}});
        TypedField form(typed);
        onFieldLeft(form, field->id);
        return val(form.fieldText(field->id));
    });
}

std::string code(const val& inputs) { return setupCode(setupOf(inputs)); }
val decode(const std::string& code) {
    return attempt([&] { return inputsOf(decodeSetupCode(code)); });
}

// Up to setupLimit setups side by side for one spell, as vyr diff --a ... --f gives them: each
// {inputs, change} (change null, or {name, value}: one input set to a whole number or moved by
// "+N" / "-N", as vyr diff's NAME=VALUE; its fault is {error}, where the setup's letter).
val diffMany(const val& setups, std::size_t spell) {
    return attempt([&] {
        std::vector<Setup> all;
        for (unsigned i = 0; i < setups["length"].as<unsigned>(); ++i) {
            Setup setup = setupOf(setups[i]["inputs"]);
            const val change = setups[i]["change"];
            if (!change.isNull() && !change.isUndefined())
                applyChange(setup, change["name"].as<std::string>(), change["value"].as<std::string>(),
                            std::string(1, static_cast<char>('A' + i)));
            all.push_back(setup);
        }
        return tableOf(diffSetups(spells, all, spell));
    });
}

// The compare table, with vyr compare's --only (an element or kind, "" for all) and the effect kind ("" for all).
val compareFiltered(const val& inputs, const std::string& order, bool descending, const std::string& only,
                    const std::string& effect) {
    return attempt([&] {
        return tableOf(compareSpells(spells, setupOf(inputs), {only, order, descending, 0, effect}));
    });
}

// The spell's element or kind (feu, eau, ..., bonus, spécial).
std::string element(std::size_t spell) { return std::string(spellElement(spells.record(spell))); }

// The values the compare filters take: {elements: [...], effects: [...]}.
val kinds() {
    const auto texts = [](std::span<const std::string_view> list) {
        return array(list, [](auto v) { return val(text(v)); });
    };
    return object({{"elements", texts(codeElements)}, {"effects", texts(effectKinds)}});
}

val weights(const val& inputs, std::size_t spell, double delta) {
    return tableOf(inputWeights(spells, setupOf(inputs), {spell}, static_cast<std::int64_t>(delta)));
}

// The sweep's chart, width px wide, and its table when asked: {svg, table}.
val chart(const val& inputs, const val& chosen, const std::string& range, const std::string& series, int width,
          bool withTable) {
    return attempt([&] {
        const auto indices = emscripten::vecFromJSArray<std::size_t>(chosen);
        const Sweep sweep = runSweep(spells, setupOf(inputs), indices, parseSweepRange(range));
        const int height = width < 600 ? std::max(260, width * 3 / 4) : std::min(540, width * 9 / 16);
        return object({{"svg", val(sweepChart(spells, sweep, {width, height, series, true}))},
                       {"table", withTable ? tableOf(sweepTable(spells, sweep)) : val::null()}});
    });
}

// The steps behind the figures, their numbers written as the page writes every number: a decimal
// comma (a point between two digits), so that the page speaks with one voice.
val explain(const val& inputs, std::size_t spell) {
    return array(explainRun(spells, spell, setupOf(inputs)), [](std::string line) {
        for (std::size_t i = 1; i + 1 < line.size(); ++i) {
            const auto digit = [&](std::size_t k) { return line[k] >= '0' && line[k] <= '9'; };
            if (line[i] == '.' && digit(i - 1) && digit(i + 1)) line[i] = ',';
        }
        return val(line);
    });
}

// The spell a name stands for, as vyr --spell finds it: the whole name, case and accents folded; of
// namesakes, the first by position. {error} when no spell has that name.
val spellNamed(const std::string& name) {
    return attempt([&] { return val(double(findSpell(spells, name, true))); });
}

// Two lists, each {bytes, name, form} read as load reads a file (the list on screen left as it is), and their changes.
struct Compared {
    SpellList before, after;
    SpellChanges changes;
};
Compared compared(const val& before, const val& after) {
    const auto read = [](const val& file) {
        return listOf(file["bytes"].as<std::string>(), file["name"].as<std::string>(), file["form"].as<std::string>());
    };
    Compared c{read(before), read(after), {}};
    c.changes = compareSpellLists(c.before, c.after);
    return c;
}

// Each spell's change, in the core's order: {kind, word, oldIndex, newIndex, oldName, newName, fields}, kind one of
// changed, renamed, removed, added and word its French; an index or a name null in the list the spell is not in;
// fields, of a changed spell: [{name, heading, old, new}] (a record's field, its values as tables show them).
val listChanges(const val& before, const val& after) {
    return attempt([&] {
        const Compared lists = compared(before, after);
        const auto at = [](const std::optional<std::size_t>& index) {
            return index ? val(double(*index)) : val::null();
        };
        const auto name = [](const SpellList& list, const std::optional<std::size_t>& index) {
            return index ? val(list.utf8Names[*index]) : val::null();
        };
        return array(lists.changes.records, [&](const RecordChange& c) {
            const auto kind = static_cast<std::size_t>(c.kind);
            return object({{"kind", val(text(recordChangeNames[kind]))},
                           {"word", val(text(recordChangeWords[kind]))},
                           {"oldIndex", at(c.oldIndex)},
                           {"newIndex", at(c.newIndex)},
                           {"oldName", name(lists.before, c.oldIndex)},
                           {"newName", name(lists.after, c.newIndex)},
                           {"fields", array(c.fields, [](const FieldChange& f) {
                                return object({{"name", val(text(recordFields[f.field].name))},
                                               {"heading", val(text(recordFields[f.field].heading))},
                                               {"old", cellOf(f.oldValue)},
                                               {"new", cellOf(f.newValue)}});
                            })}});
        });
    });
}

// What the changed spells give otherwise for each setup (inputs as run takes them): the core's table, its first
// column the setup's position, the rows that changed most first, shownRows of them at most; total: all of them.
val changedFigures(const val& before, const val& after, const val& setups) {
    return attempt([&] {
        const Compared lists = compared(before, after);
        std::vector<Setup> all;
        for (unsigned i = 0; i < setups["length"].as<unsigned>(); ++i) all.push_back(setupOf(setups[i]));
        Table table = figureChanges(lists.before, lists.after, lists.changes, all);
        const std::size_t total = table.rows.size();
        table.rows.resize(std::min(total, shownRows));
        val out = tableOf(table);
        out.set("total", double(total));
        return out;
    });
}

// How many spells the change of list touches, for one setup: {otherFigures, counts}, otherFigures the changed and
// renamed spells that give other figures; counts [{kind, word, count}] in listChanges' kinds and words.
val changeSummary(const val& before, const val& after, const val& inputs) {
    return attempt([&] {
        const Compared lists = compared(before, after);
        const ChangeSummary s = summarizeChanges(lists.before, lists.after, lists.changes, setupOf(inputs));
        val kinds = val::array();
        for (std::size_t k = 0; k < s.counts.size(); ++k) {
            kinds.call<void>("push", object({{"kind", val(text(recordChangeNames[k]))},
                                             {"word", val(text(recordChangeWords[k]))},
                                             {"count", val(double(s.counts[k]))}}));
        }
        return object({{"otherFigures", val(double(s.otherFigures))}, {"counts", kinds}});
    });
}

}  // namespace
}  // namespace vyr::web

EMSCRIPTEN_BINDINGS(vyr) {
    using namespace vyr::web;
    emscripten::function("fields", &fields);
    emscripten::function("load", &load);
    emscripten::function("findings", &findings);
    emscripten::function("sample", &sample);
    emscripten::function("run", &run);
    emscripten::function("leave", &leave);
    emscripten::function("code", &code);
    emscripten::function("decode", &decode);
    emscripten::function("weights", &weights);
    emscripten::function("diffMany", &diffMany);
    emscripten::function("compareFiltered", &compareFiltered);
    emscripten::function("element", &element);
    emscripten::function("kinds", &kinds);
    emscripten::function("explain", &explain);
    emscripten::function("find", &find);
    emscripten::function("spellNamed", &spellNamed);
    emscripten::function("chart", &chart);
    emscripten::function("listChanges", &listChanges);
    emscripten::function("changedFigures", &changedFigures);
    emscripten::function("changeSummary", &changeSummary);
    emscripten::function("plainText", &plainText);
    emscripten::function("draft", &draft);
    emscripten::function("encode", &encode);
    emscripten::function("recordLine", &recordLine);
    emscripten::function("rewriteLine", &rewriteLine);
    emscripten::function("codes", &codes);
}
