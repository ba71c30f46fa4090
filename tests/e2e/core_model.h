#pragma once
// The core's answer for what the dialog shows: the driver loads the same data file with
// the same loader and runs the same calculation on an in-memory form, so the program's
// window can be compared with it field by field.

#include <string>
#include <vector>

#include "app_session.h"
#include "checks.h"
#include "memory_form.h"

namespace vyr::e2e {

class CoreModel {
public:
    // Loads "Vyr degats.dat" from dataDir into this process's catalogue.
    explicit CoreModel(const std::wstring& dataDir);

    std::size_t count() const { return names_.size(); }
    // Spell names as the list must show them, in file order.
    std::vector<std::wstring> names() const;
    bool isSpecial(std::size_t index) const;
    // Index of the first standard (or special) spell of the file, if any.
    std::optional<std::size_t> firstStandard() const;
    std::optional<std::size_t> firstSpecial() const;

    // The dialog's fields (inputs and outputs) and selection, as an in-memory form.
    InMemoryForm snapshot(const AppSession& app, std::optional<std::size_t> selection) const;
    // One calculation run as "GO !" or Enter does it; returns the message it showed.
    std::string run(InMemoryForm& form) const;

private:
    std::vector<std::string> names_;
};

enum class Fields { outputs, all };
// Every output (and input) of the dialog must read as the form's text.
void expectFields(Checks& checks, const AppSession& app, const InMemoryForm& expected,
                  const std::string& when, Fields fields = Fields::all);

}  // namespace vyr::e2e
