#include "character_inputs.h"

#include <fstream>
#include <sstream>

#include <CLI/CLI.hpp>

#include "calc_support.h"
#include "fields.h"

namespace vyr::cli {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

}  // namespace

bool parseProfile(std::string_view text, const std::string& fileName, InputTexts& inputs, std::string& error) {
    std::vector<const InputField*> seen;
    std::size_t lineNumber = 0;
    // Notepad starts a UTF-8 file with a byte order mark.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
        line = trim(line);
        if (line.empty()) continue;
        const std::string where = fileName + ":" + std::to_string(lineNumber) + ": ";
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            error = where + "expected \"name = value\"";
            return false;
        }
        const std::string_view name = trim(line.substr(0, equals));
        const std::string_view value = trim(line.substr(equals + 1));
        const InputField* f = findInput(name);
        if (!f) {
            error = where + "unknown input \"" + std::string(name) + "\" (names are the options of vyr calc, such as level or fire-power)";
            return false;
        }
        if (name != f->option) {
            error = where + "unknown input \"" + std::string(name) + "\" (write it as the option: " + std::string(f->option) + ")";
            return false;
        }
        for (const InputField* s : seen) {
            if (s == f) {
                error = where + "\"" + std::string(name) + "\" is given twice";
                return false;
            }
        }
        seen.push_back(f);
        if (!parseUnsigned(value).valid) {
            error = where + std::string(name) + ": \"" + std::string(value) + "\" is not a whole number from 0 to 4294967295";
            return false;
        }
        inputs.emplace_back(f->id, std::string(value));
    }
    return true;
}

bool loadProfile(const std::string& path, InputTexts& inputs, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be read";
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    return parseProfile(content.str(), path, inputs, error);
}

struct InputOptions::State {
    std::string profile;
    CLI::Option* profileOption = nullptr;
    std::vector<std::string> texts = std::vector<std::string>(inputFields.size());
    std::vector<CLI::Option*> options;
};

InputOptions::InputOptions(CLI::App& command) : state_(std::make_shared<State>()) {
    state_->profileOption =
        command.add_option("--profile", state_->profile, "Character profile: \"name = value\" lines, # comments")
            ->group("Inputs");
    for (std::size_t i = 0; i < inputFields.size(); ++i) {
        const InputField& f = inputFields[i];
        state_->options.push_back(
            command.add_option("--" + std::string(f.option), state_->texts[i],
                               std::string(f.label) + " (default " + std::string(f.defaultText) + ")")
                ->group("Inputs"));
    }
}

bool InputOptions::resolve(InputTexts& inputs, std::string& error) const {
    if (state_->profileOption->count() > 0 && !loadProfile(state_->profile, inputs, error)) return false;
    for (std::size_t i = 0; i < inputFields.size(); ++i) {
        if (state_->options[i]->count() == 0) continue;
        if (!checkInputText(inputFields[i].option, state_->texts[i], error)) return false;
        // A later write of the same field wins, so the command line overrides the profile.
        inputs.emplace_back(inputFields[i].id, state_->texts[i]);
    }
    return true;
}

}  // namespace vyr::cli
