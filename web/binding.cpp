// The page's way into the core. Texts cross in UTF-8 (the core keeps its Windows-1252);
// every figure comes from the core: the page only lays out what it gets.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <memory>
#include <string>

#include "calculation_run.h"
#include "cp1252.h"
#include "fields.h"
#include "memory_form.h"
#include "spell_file.h"

namespace vyr::web {
namespace {

using emscripten::val;

// The loaded list; a file that loads no spell leaves it as it was.
std::unique_ptr<SpellCatalogue> catalogue = std::make_unique<SpellCatalogue>();

std::string text(std::string_view view) { return std::string(view); }

// The 24 inputs (name, label, default) and the 16 outputs (name, label), in the
// dialog's reading order.
val fields() {
    val inputs = val::array(), outputs = val::array();
    for (const InputField& f : inputFields) {
        val input = val::object();
        input.set("name", text(f.name));
        input.set("label", text(f.label));
        input.set("default", text(f.defaultText));
        inputs.call<void>("push", input);
    }
    for (int id : outputDisplayOrder) {
        val output = val::object();
        output.set("name", text(findOutput(id)->name));
        output.set("label", text(findOutput(id)->label));
        outputs.call<void>("push", output);
    }
    val all = val::object();
    all.set("inputs", inputs);
    all.set("outputs", outputs);
    return all;
}

// Loads a file of the in-memory file system; returns the spell names, none on failure.
val load(const std::string& path) {
    auto fresh = std::make_unique<SpellCatalogue>();
    SpellNameList names;
    val list = val::array();
    if (loadSpellFile(path.c_str(), names, *fresh) == 0) return list;
    catalogue = std::move(fresh);
    for (const std::string& name : names.names) list.call<void>("push", cp1252ToUtf8(name));
    return list;
}

void fill(InMemoryForm& form, const val& inputs) {
    for (const InputField& f : inputFields) {
        const val value = inputs[text(f.name)];
        if (!value.isUndefined()) form.writeText(f.id, value.as<std::string>().c_str());
    }
}

// One press of "GO !" on the inputs {name: text} with the spell at that position
// (negative: none selected). Returns {name: text} for the 16 outputs, and "message".
val run(int spell, const val& inputs) {
    InMemoryForm form;
    fill(form, inputs);
    if (spell >= 0) form.select(static_cast<std::size_t>(spell));
    std::string message;
    runCalculation(form, *catalogue, [&](const char* said, const char*) { message = cp1252ToUtf8(said); });
    val outputs = val::object();
    for (const OutputField& f : outputFields) outputs.set(text(f.name), cp1252ToUtf8(form.fieldText(f.id)));
    outputs.set("message", message);
    return outputs;
}

// The text an input holds once the user leaves it.
std::string leave(const std::string& name, const std::string& typed) {
    const InputField* field = findInput(name);
    if (!field) return typed;
    InMemoryForm form;
    form.writeText(field->id, typed.c_str());
    onFieldLeft(form, field->id);
    return form.fieldText(field->id);
}

}  // namespace
}  // namespace vyr::web

EMSCRIPTEN_BINDINGS(vyr) {
    emscripten::function("fields", &vyr::web::fields);
    emscripten::function("load", &vyr::web::load);
    emscripten::function("run", &vyr::web::run);
    emscripten::function("leave", &vyr::web::leave);
}
