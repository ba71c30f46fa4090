#include "data_commands.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include <CLI/CLI.hpp>

#include "calc_support.h"
#include "command_line.h"
#include "cp1252.h"
#include "file_bytes.h"
#include "spell_check.h"
#include "spell_file.h"

namespace vyr::cli {

namespace {

std::string hexByte(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value & 0xFFu);
    return text;
}

const std::string scramblingNote = "The data file is the plain list with every byte XOR " + hexByte(scrambleBase) +
                                   " at even offsets and XOR " + hexByte(scrambleBase + 1u) +
                                   " at odd offsets, counted from the start of the file.";

const std::string formatNote =
    "One spell per line: NAME:armourExempt delayFactor delayExtra delayLevel code "
    "[rollRange rollBase intDivisor wisDivisor] and a space after every field, the last one included. "
    "A code starting with a lower-case \"s\" is special and has no roll fields.";

const std::string numbersNote =
    "Numbers read like the program reads them: an optional sign, then digits up to the first other character. "
    "Out of the signed 32-bit range they saturate to -2147483648 or 2147483647; armourExempt then keeps the "
    "low 8 bits of that.";

// Width of a UTF-8 text in characters, for aligning columns.
std::size_t characterCount(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

void pad(std::ostream& out, std::string_view utf8, std::size_t width) {
    out << utf8;
    for (std::size_t n = characterCount(utf8); n < width; ++n) out << ' ';
}

int emit(const std::string& path, const std::string& bytes, std::ostream& out, std::ostream& err,
         std::string_view command) {
    if (path.empty()) {
        out << bytes;
        return exitOk;
    }
    std::string error;
    if (!writeFileBytes(path, bytes, error)) {
        err << "vyr " << command << ": " << error << '\n';
        return exitUsage;
    }
    return exitOk;
}

}  // namespace

int runDecode(const DecodeOptions& options, std::ostream& out, std::ostream& err) {
    std::string bytes, error;
    if (!readFileBytes(options.input, bytes, error)) {
        err << "vyr decode: " << error << '\n';
        return exitUsage;
    }
    unscramble(bytes.data(), bytes.size());
    return emit(options.output, options.raw ? bytes : cp1252ToUtf8(bytes), out, err, "decode");
}

int runEncode(const EncodeOptions& options, std::ostream& out, std::ostream& err) {
    std::string text, error;
    if (!readFileBytes(options.input, text, error)) {
        err << "vyr encode: " << error << '\n';
        return exitUsage;
    }
    Utf8ToCp1252Result converted = utf8ToCp1252(text);
    if (converted.errorOffset) {
        const TextPosition at = positionOfOffset(text, *converted.errorOffset);
        err << options.input << ':' << at.line << ':' << at.column << ": error: " << converted.error
            << "; nothing written\n";
        return exitProblems;
    }
    unscramble(converted.text.data(), converted.text.size());
    return emit(options.output, converted.text, out, err, "encode");
}

int runCheck(const CheckOptions& options, std::ostream& out, std::ostream& err) {
    std::string bytes, error;
    if (!readFileBytes(options.input, bytes, error)) {
        err << "vyr check: " << error << '\n';
        return exitUsage;
    }
    const std::string stored = options.plain ? std::string() : bytes;
    if (!options.plain) unscramble(bytes.data(), bytes.size());
    const CheckReport report = options.plain ? checkSpellTextUtf8(bytes) : checkSpellText(bytes);
    std::size_t errors = 0;
    for (const Finding& f : report.findings) {
        const bool isError = f.severity == Severity::error;
        errors += isError;
        out << options.input << ':' << f.line << ": " << (isError ? "error" : "warning") << ": " << f.message << '\n';
    }
    const std::size_t warnings = report.findings.size() - errors;
    out << options.input << ": " << report.loaded << (report.loaded == 1 ? " spell loads" : " spells load");
    if (report.findings.empty()) {
        out << ", no problems\n";
        return exitOk;
    }
    out << "; " << errors << (errors == 1 ? " error, " : " errors, ") << warnings
        << (warnings == 1 ? " warning\n" : " warnings\n");
    if (!options.plain && report.loaded == 0 && stored.find(':') != std::string::npos) {
        err << "vyr check: " << options.input << " may be plain text; try --plain\n";
    }
    return exitProblems;
}

int runSpells(const SpellsOptions& options, std::ostream& out, std::ostream& err) {
    SpellData data;
    std::string error;
    if (!loadSpellData(options.dataPath, data, error)) {
        err << "vyr spells: " << error;
        if (!options.dataGiven) err << " (looked in the current directory and beside vyr; use --data FILE)";
        err << '\n';
        return exitUsage;
    }
    std::vector<std::string> names, codes;
    std::size_t nameWidth = 4, codeWidth = 4;
    for (std::size_t i = 0; i < data.names.size(); ++i) {
        names.push_back(cp1252ToUtf8(data.names[i]));
        codes.push_back(cp1252ToUtf8((*data.catalogue)[i].code()));
        nameWidth = std::max(nameWidth, characterCount(names.back()));
        codeWidth = std::max(codeWidth, characterCount(codes.back()));
    }
    out << "index  ";
    pad(out, "name", nameWidth);
    out << "  ";
    pad(out, "code", codeWidth);
    out << "  special\n";
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string index = std::to_string(i);
        out << std::string(5 - std::min<std::size_t>(5, index.size()), ' ') << index << "  ";
        pad(out, names[i], nameWidth);
        out << "  ";
        pad(out, codes[i], codeWidth);
        out << "  " << (codes[i].starts_with('s') ? "yes" : "no") << '\n';
    }
    return exitOk;
}

void registerDataCommands(CLI::App& app, const std::string& defaultDataPath, int& exitCode, std::ostream& out,
                          std::ostream& err) {
    auto decode = std::make_shared<DecodeOptions>();
    CLI::App* decodeCommand = app.add_subcommand("decode", "Print the plain form of a scrambled data file, as UTF-8");
    decodeCommand->add_option("FILE", decode->input, "Scrambled data file, such as \"Vyr degats.dat\"")->required();
    decodeCommand->add_option("-o,--output", decode->output, "Write to this file instead of standard output");
    decodeCommand->add_flag("--raw", decode->raw, "Keep the Windows-1252 bytes instead of converting to UTF-8");
    decodeCommand->footer(scramblingNote);
    decodeCommand->callback([decode, &exitCode, &out, &err] { exitCode = runDecode(*decode, out, err); });

    auto encode = std::make_shared<EncodeOptions>();
    CLI::App* encodeCommand = app.add_subcommand(
        "encode", "Turn a plain UTF-8 spell list into a scrambled Windows-1252 data file");
    encodeCommand->add_option("PLAIN", encode->input, "Plain spell list, UTF-8")->required();
    encodeCommand->add_option("-o,--output", encode->output, "Data file to write")->required();
    encodeCommand->footer(scramblingNote +
                          "\nA character that Windows-1252 cannot hold is reported with its line and column, "
                          "and nothing is written (exit code 1).");
    encodeCommand->callback([encode, &exitCode, &out, &err] { exitCode = runEncode(*encode, out, err); });

    auto check = std::make_shared<CheckOptions>();
    CLI::App* checkCommand = app.add_subcommand(
        "check", "Report every problem of a spell file, one line each: FILE:LINE: error|warning: ...");
    checkCommand->add_option("FILE", check->input, "Scrambled data file (or plain list with --plain)")->required();
    checkCommand->add_flag("--plain", check->plain, "FILE is the plain UTF-8 list, as vyr encode takes it");
    checkCommand->footer(formatNote + "\n" + numbersNote +
                         "\nExit code: 0 no problems, 1 problems found, 2 the file cannot be read.");
    checkCommand->callback([check, &exitCode, &out, &err] { exitCode = runCheck(*check, out, err); });

    auto spells = std::make_shared<SpellsOptions>();
    spells->dataPath = defaultDataPath;
    CLI::App* spellsCommand = app.add_subcommand("spells", "List the spells of a data file: index, name, code, special");
    CLI::Option* data = spellsCommand->add_option("--data", spells->dataPath, "Scrambled data file")->capture_default_str();
    spellsCommand->callback([spells, data, &exitCode, &out, &err] {
        spells->dataGiven = data->count() > 0;
        exitCode = runSpells(*spells, out, err);
    });
}

}  // namespace vyr::cli
