#include "core_model.h"

#include "calculation_run.h"
#include "cp1252.h"
#include "fields.h"
#include "spell_file.h"
#include "spell_record.h"

namespace vyr::e2e {

CoreModel::CoreModel(const std::wstring& dataDir) {
    // The loader takes a relative name, as the program does.
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ::SetCurrentDirectoryW(dataDir.c_str());
    SpellNameList list;
    loadSpellFile(spellFileName, list);
    ::SetCurrentDirectoryW(previous);
    names_ = std::move(list.names);
}

std::vector<std::wstring> CoreModel::names() const {
    std::vector<std::wstring> wide;
    for (const std::string& name : names_) wide.push_back(cp1252ToWide(name));
    return wide;
}

bool CoreModel::isSpecial(std::size_t index) const {
    const char* code = spellCatalogue()[index].code();
    return code && code[0] == 's';
}

std::optional<std::size_t> CoreModel::firstStandard() const {
    for (std::size_t i = 0; i < count(); ++i) {
        if (!isSpecial(i)) return i;
    }
    return std::nullopt;
}

std::optional<std::size_t> CoreModel::firstSpecial() const {
    for (std::size_t i = 0; i < count(); ++i) {
        if (isSpecial(i)) return i;
    }
    return std::nullopt;
}

InMemoryForm CoreModel::snapshot(const AppSession& app, std::optional<std::size_t> selection) const {
    InMemoryForm form;
    for (const std::string& name : names_) form.addName(name.c_str());
    for (const InputField& input : inputFields) {
        form.writeText(input.id, wideToCp1252(app.text(input.id)).c_str());
    }
    for (const OutputField& output : outputFields) {
        form.writeText(output.id, wideToCp1252(app.text(output.id)).c_str());
    }
    form.select(selection);
    return form;
}

std::string CoreModel::run(InMemoryForm& form) const {
    std::string shown;
    runCalculation(form, spellCatalogue(), [&](const char* text, const char*) { shown = text; });
    return shown;
}

void expectFields(Checks& checks, const AppSession& app, const InMemoryForm& expected,
                  const std::string& when, Fields fields) {
    for (const InputField& input : inputFields) {
        if (fields == Fields::outputs) break;
        checks.expectEqual(app.text(input.id), cp1252ToWide(expected.fieldText(input.id)),
                           when + ", input " + std::string(input.name));
    }
    for (const OutputField& output : outputFields) {
        checks.expectEqual(app.text(output.id), cp1252ToWide(expected.fieldText(output.id)),
                           when + ", output " + std::string(output.name));
    }
}

}  // namespace vyr::e2e
