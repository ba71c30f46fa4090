#include "data_commands.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include <CLI/CLI.hpp>

#include "command_line.h"
#include "cp1252.h"
#include "file_bytes.h"
#include "spell_check.h"
#include "spell_file.h"

namespace vyr::cli {

namespace {

// The options of the four commands (only one of them runs).
struct DataOptions {
    std::string input, output, dataPath;  // output empty or "-": the standard output
    bool raw = false, force = false, plain = false;
    const CLI::Option* data = nullptr;  // spells' --data
};

std::string scramblingNote() {
    char text[160];
    std::snprintf(text, sizeof text,
                  "The data file is the plain list with every byte XOR 0x%02X at even offsets and XOR "
                  "0x%02X at odd offsets, counted from the start of the file.",
                  scrambleBase, (scrambleBase + 1u) & 0xFFu);
    return text;
}

std::string counted(std::size_t n, const std::string& thing) {
    return std::to_string(n) + " " + thing + (n == 1 ? "" : "s");
}

// Stops before anything is written when the file looks like the other form.
void refuseOtherForm(const DataOptions& o, std::string_view bytes, bool wantScrambled) {
    const FormGuess guess = guessForm(bytes);
    if (o.force || !(wantScrambled ? guess.plain : guess.scrambled)) return;
    throw Error(o.input + " looks like " + (guess.plain ? "a plain spell list" : "a scrambled data file") +
                " already (" + counted(guess.recordLines, "line") + " read as records" +
                (guess.plain ? " as they stand" : " once unscrambled") + "); nothing written (--force goes on anyway)");
}

// "PATH:LINE[:COLUMN]: error|warning: message" each; returns the number of errors.
std::size_t printFindings(std::ostream& os, const std::string& path, const CheckReport& report) {
    std::size_t errors = 0;
    for (const Finding& f : report.findings) {
        errors += f.severity == Severity::error;
        os << path << ':' << f.line << (f.column ? ":" + std::to_string(f.column) : "") << ": "
           << (f.severity == Severity::error ? "error" : "warning") << ": " << f.message << '\n';
    }
    return errors;
}

// Padded to a width in characters, for aligning columns.
std::string padded(const std::string& utf8, std::size_t width) {
    return utf8 + std::string(width - std::min(width, characterCount(utf8)), ' ');
}

int runDecode(const DataOptions& o, std::ostream& out, std::ostream&) {
    std::string bytes = readFile(o.input);
    refuseOtherForm(o, bytes, true);
    unscramble(bytes.data(), bytes.size());
    writeResult(o.output, o.raw ? bytes : cp1252ToUtf8(bytes), out);
    return exitOk;
}

int runEncode(const DataOptions& o, std::ostream& out, std::ostream& err) {
    const std::string input = readFile(o.input);
    refuseOtherForm(o, input, false);
    PlainList list = preparePlainList(input, o.raw);
    for (const std::string& note : list.notes) err << "vyr encode: " << o.input << ": " << note << '\n';
    const std::size_t errors = printFindings(err, o.input, list.report);
    if (!list.encodable || (errors > 0 && !o.force)) {
        throw Error(o.input + ": " + counted(errors, "error") + "; nothing written" +
                        (list.encodable ? " (--force writes anyway)" : ""),
                    exitProblems);
    }
    unscramble(list.text.data(), list.text.size());
    writeResult(o.output, list.text, out);
    return exitOk;
}

// The file is checked in the form it looks like, which a note says when --plain said otherwise;
// a file that is no spell list is refused.
int runCheck(const DataOptions& o, std::ostream& out, std::ostream& err) {
    const std::string bytes = readFile(o.input);
    const SpellFileGuess guess = guessSpellFile(bytes);
    if (guess.kind == SpellFileGuess::Kind::notSpellList)
        throw Error("« " + o.input + " » : pas une liste de sorts : " + guess.reason);
    const bool plain = guess.kind == SpellFileGuess::Kind::plain;
    if (plain != o.plain) {
        err << "vyr check: « " << o.input << " » : "
            << (plain ? "liste en clair (non brouillée), lue comme --plain"
                      : "fichier de données brouillé, lu comme tel malgré --plain")
            << '\n';
    }
    std::string scrambled = bytes;
    unscramble(scrambled.data(), scrambled.size());
    const CheckReport report = plain ? preparePlainList(bytes, false).report : checkSpellText(scrambled);
    const std::size_t errors = printFindings(out, o.input, report);
    out << o.input << ": " << report.loaded << (report.loaded == 1 ? " spell loads" : " spells load");
    if (report.findings.empty()) {
        out << ", no problems\n";
        return exitOk;
    }
    out << "; " << counted(errors, "error") << ", " << counted(report.findings.size() - errors, "warning") << '\n';
    return exitProblems;
}

int runSpells(const DataOptions& o, std::ostream& out, std::ostream& err) {
    const SpellList list = [&o, &err] {
        try {
            return readSpellList(o.dataPath, err, "spells");
        } catch (const Error& e) {
            if (o.data->count() > 0) throw;
            throw Error(std::string(e.what()) + " (looked in the current directory and beside vyr; use --data FILE)");
        }
    }();
    std::vector<std::pair<std::string, std::string>> rows{{"name", "code"}};
    std::size_t nameWidth = 0, codeWidth = 0;
    for (std::size_t i = 0; i <= list.size(); ++i) {
        if (i > 0) rows.emplace_back(list.utf8Names[i - 1], cp1252ToUtf8(list.record(i - 1).code()));
        nameWidth = std::max(nameWidth, characterCount(rows.back().first));
        codeWidth = std::max(codeWidth, characterCount(rows.back().second));
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        char index[24];
        std::snprintf(index, sizeof index, "%5zu", i - 1);
        out << (i == 0 ? "index" : index) << "  " << padded(rows[i].first, nameWidth) << "  "
            << padded(rows[i].second, codeWidth) << "  "
            << (i == 0                            ? "special"
                : rows[i].second.starts_with('s') ? "yes"
                                                  : "no")
            << '\n';
    }
    return exitOk;
}

}  // namespace

void registerDataCommands(CLI::App& app, const std::string& defaultDataPath, int& exitCode, std::ostream& out,
                          std::ostream& err) {
    auto o = std::make_shared<DataOptions>();
    o->dataPath = defaultDataPath;
    const auto add = [&](const char* name, const std::string& help,
                         int (*run)(const DataOptions&, std::ostream&, std::ostream&)) {
        CLI::App* command = app.add_subcommand(name, help);
        command->callback([o, run, &exitCode, &out, &err] { exitCode = run(*o, out, err); });
        return command;
    };
    const std::string outputHelp = "Write to this file (\"-\": the standard output)";
    CLI::App* decode = add("decode", "Print the plain form of a scrambled data file, as UTF-8", runDecode);
    decode->add_option("FILE", o->input, "Scrambled data file, such as \"Vyr degats.dat\"")->required();
    decode->add_option("-o,--output", o->output, outputHelp + " instead of the standard output");
    decode->add_flag("--raw", o->raw, "Keep the Windows-1252 bytes instead of converting to UTF-8");
    decode->add_flag("--force", o->force, "Decode even a file that looks like a plain list");
    decode->footer(scramblingNote());

    CLI::App* encode =
        add("encode", "Turn a plain UTF-8 spell list into a scrambled Windows-1252 data file", runEncode);
    encode->add_option("PLAIN", o->input, "Plain spell list, UTF-8")->required();
    encode->add_option("-o,--output", o->output, outputHelp)->required();
    encode->add_flag("--raw", o->raw, "PLAIN is Windows-1252, as decode --raw writes it");
    encode->add_flag("--force", o->force, "Write even a list with errors, or a file that looks scrambled already");
    encode->footer(scramblingNote() +
                   "\nA leading UTF-8 byte-order mark is skipped and the line breaks at the end are "
                   "dropped. The list is checked as check --plain does: warnings are shown; errors, or a character "
                   "that Windows-1252 cannot hold, stop it with nothing written (exit code 1).");

    CLI::App* check =
        add("check", "Report every problem of a spell file, one line each: FILE:LINE: error|warning: ...", runCheck);
    check->add_option("FILE", o->input, "Scrambled data file (or plain list with --plain)")->required();
    check->add_flag("--plain", o->plain, "FILE is the plain UTF-8 list, as vyr encode takes it");
    check->footer(
        "One spell per line: NAME:armourExempt delayFactor delayExtra delayLevel code [rollRange rollBase intDivisor "
        "wisDivisor], a space after every field, the last one included, and no line break after the last line. A code "
        "starting with a lower-case \"s\" is special and has no roll fields.\nNumbers read as the program reads them: "
        "an optional sign, then digits up to the first other character; out of the signed 32-bit range they saturate "
        "to -2147483648 or 2147483647, and armourExempt keeps the low 8 bits of that.\n"
        "Exit code: 0 no problems, 1 problems found, 2 the file cannot be read.");

    CLI::App* spells = add("spells", "List the spells of a data file: index, name, code, special", runSpells);
    o->data = spells->add_option("--data", o->dataPath, "Scrambled data file")->capture_default_str();
}

}  // namespace vyr::cli
