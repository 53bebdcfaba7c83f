#include "tools/pointtool/commands.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>

#include "common/about/about_options.h"
#include "common/files/file_read.h"
#include "common/files/file_write.h"
#include "common/files/printable.h"
#include "missioneditor/mission_file.h"
#include "missioneditor/mission_paths.h"
#include "pointeditor/data/block_file.h"
#include "pointeditor/data/point_check.h"
#include "pointeditor/data/point_file.h"
#include "pointeditor/data/point_text_form.h"
#include "tools/pointtool/check_output.h"

namespace tavo::pointtool {
namespace {

const char* const Description =
    "Checks, dumps and builds point files (.pd1) of TAVO missions, and checks whole missions.\n"
    "\n"
    "  check FILE.pd1 [--map FILE.bd1] [--json]\n"
    "      reports links to missing or shared ids (errors) and other slips (warnings);\n"
    "      exits 1 when there is an error\n"
    "  check-mission FILE.mif [--root DIR] [--json]\n"
    "      checks a mission: its fields, every file it names as the game finds them\n"
    "      (from the game's folder, case ignored), the map and points as check --map does,\n"
    "      where humans and weapons stand on the map, the briefing images; exits 1 on an error\n"
    "  dump FILE.pd1 [-o FILE.txt]\n"
    "      writes the points as text, one a line, with their names in comments\n"
    "  build FILE.txt -o FILE.pd1\n"
    "      reads that text back and writes the point file\n"
    "\n"
    "-o - writes to standard output. A file is replaced atomically, never in place; a\n"
    "read-only file, a device, a FIFO or the command's own input is refused.";

const char* const Usage = "Usage: pointtool [options] command file\n";

const char* const OptionsHelp =
    "Options:\n"
    "  --map FILE.bd1       check: the map whose blocks bound the points.\n"
    "  --json               check: print the findings as a JSON array;\n"
    "                       check-mission: as a JSON object with the root.\n"
    "  --root DIR           check-mission: the game's folder, which the mission's paths\n"
    "                       start from (default: the nearest folder from the mission's\n"
    "                       upwards from which its map is found).\n"
    "  -o, --output FILE    dump: the text file to write (default: standard output);\n"
    "                       build: the point file to write. - is standard output.\n"
    "  -h, --help           show this text and end.\n"
    "  -v, --version        show the version and end.\n"
    "\n"
    "Arguments:\n"
    "  command              check, check-mission, dump or build\n"
    "  file                 the point file to check or dump, the mission to check, or the\n"
    "                       text to build\n";

int fileFailure(std::ostream& err, const FileError& error) {
    err << "pointtool: " << error.text << "\n";
    return 1;
}

struct Invocation {
    std::string input;
    std::optional<std::string> map;
    std::optional<std::string> output;
    std::optional<std::string> root;
    bool json = false;
};

// Writes a command's output where -o says, refusing to write over one of its inputs.
int writeOutput(const Invocation& call, std::span<const uint8_t> bytes, std::ostream& out,
                std::ostream& err) {
    if (!call.output || *call.output == "-") {
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return 0;
    }
    for (const std::string& input : {call.input, call.map.value_or("")}) {
        if (!input.empty() && isSameFile(*call.output, input)) {
            return fileFailure(
                err, {FileErrorKind::SameAsInput, "cannot write " + printable(*call.output) +
                                                      ": it is the file this command reads"});
        }
    }
    const FileResult<void> written = writeFileAtomically(*call.output, bytes);
    if (!written) {
        FileError error = written.error();
        if (error.kind == FileErrorKind::NotRegular) {
            error.text += " (standard output is -o -)";
        }
        return fileFailure(err, error);
    }
    return 0;
}

int runCheck(const Invocation& call, std::ostream& out, std::ostream& err) {
    const FileResult<std::vector<uint8_t>> points = readWholeFile(call.input, DataFileLimit);
    if (!points) {
        return fileFailure(err, points.error());
    }
    const PointFileContents contents = decodePointFile(*points);
    std::optional<BlockFileContents> map;
    if (call.map) {
        const FileResult<std::vector<uint8_t>> blocks = readWholeFile(*call.map, DataFileLimit);
        if (!blocks) {
            return fileFailure(err, blocks.error());
        }
        map = decodeBlockFile(*blocks);
    }
    const CheckReport report = checkPoints(contents, map ? &*map : nullptr);
    if (call.json) {
        out << findingsToJson(report.findings);
        err << formatSummary(report.summary) << "\n";
    } else {
        for (const Finding& finding : report.findings) {
            out << formatFinding(finding) << "\n";
        }
        out << formatSummary(report.summary) << "\n";
    }
    return report.summary.errors > 0 ? 1 : 0;
}

int runCheckMission(const Invocation& call, std::ostream& out, std::ostream& err) {
    const FileResult<std::string> bytes = mission::readFileBytes(call.input);
    if (!bytes) {
        return fileFailure(err, bytes.error());
    }
    const mission::MissionRead read = mission::readMissionFile(*bytes);
    const MissionReport report =
        checkMission(read.info, &read, mission::startFolder(call.input), call.root);
    if (call.json) {
        out << missionReportToJson(report);
        err << formatSummary(report.summary) << "\n";
    } else {
        out << describeRoot(report, true) << "\n";
        for (const MissionFinding& finding : report.findings) {
            out << describeMissionFinding(finding, true) << "\n";
        }
        out << formatSummary(report.summary) << "\n";
    }
    return report.summary.errors > 0 ? 1 : 0;
}

// Comments for the head of a dump whose file the text cannot reproduce exactly: what check says
// about the file as a whole, so both commands tell the same, and the points build refuses.
std::vector<std::string> dumpNotes(const std::string& path, const PointFileContents& contents) {
    std::vector<std::string> notes;
    for (const Finding& finding : pointFileFindings(contents)) {
        if (finding.slot < 0) {
            notes.push_back(printable(path) + ": " + finding.message);
        }
    }
    for (std::size_t slot = 0; slot < contents.records.size(); ++slot) {
        const PointRecord& p = contents.records[slot];
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z) ||
            !std::isfinite(p.r)) {
            notes.push_back("slot " + std::to_string(slot) +
                            " holds a value that is not a finite number; build refuses it");
        }
    }
    return notes;
}

int runDump(const Invocation& call, std::ostream& out, std::ostream& err) {
    const FileResult<std::vector<uint8_t>> points = readWholeFile(call.input, DataFileLimit);
    if (!points) {
        return fileFailure(err, points.error());
    }
    const PointFileContents contents = decodePointFile(*points);
    if (!contents.hasCount) {
        err << "pointtool: " << printable(call.input) << " is " << contents.fileSize
            << " bytes long, too short to hold its count; nothing dumped\n";
        return 1;
    }
    const std::vector<std::string> notes = dumpNotes(call.input, contents);
    for (const std::string& note : notes) {
        err << "pointtool: warning: " << note << "\n";
    }
    const std::string text = writePointText(contents.records, notes);
    return writeOutput(call, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()),
                       out, err);
}

int runBuild(const Invocation& call, std::ostream& out, std::ostream& err) {
    const FileResult<std::vector<uint8_t>> text = readWholeFile(call.input, DataFileLimit);
    if (!text) {
        return fileFailure(err, text.error());
    }
    const auto parsed =
        parsePointText(std::string_view(reinterpret_cast<const char*>(text->data()), text->size()));
    if (!parsed) {
        for (const TextError& error : parsed.error().kept) {
            err << printable(call.input) << ":" << error.line << ": " << error.message << "\n";
        }
        if (parsed.error().more > 0) {
            err << "... and " << parsed.error().more << " more bad lines\n";
        }
        err << "pointtool: " << printable(*call.output) << " not written\n";
        return 1;
    }
    // The editor's own encoder, so the bytes are the ones it would save for these points.
    return writeOutput(call, encodePointFile(*parsed), out, err);
}

int usageError(std::ostream& err, const std::string& message) {
    err << "pointtool: " << message << "\nTry 'pointtool --help'.\n";
    return 1;
}

enum class Option { Map, Root, Output, Json, Help, Version };

struct OptionName {
    std::string_view name;
    Option option;
    bool takesValue;
};

constexpr OptionName OptionNames[] = {
    {"--map", Option::Map, true},          {"--root", Option::Root, true},
    {"-o", Option::Output, true},          {"--output", Option::Output, true},
    {"--json", Option::Json, false},       {"-h", Option::Help, false},
    {"--help", Option::Help, false},       {"-?", Option::Help, false},
    {"--help-all", Option::Help, false},   {"-v", Option::Version, false},
    {"--version", Option::Version, false},
};

struct Arguments {
    std::vector<std::string> positional;
    Invocation call;
    bool help = false;
    bool version = false;
};

// The option an argument names, with the value written into it ("--map=a.bd1", "-oa.txt"),
// nullopt for an argument no option has.
std::optional<std::pair<const OptionName*, std::optional<std::string>>>
matchOption(const std::string& argument) {
    for (const OptionName& option : OptionNames) {
        if (argument == option.name) {
            return std::pair(&option, std::nullopt);
        }
        if (!argument.starts_with(option.name)) {
            continue;
        }
        const std::string_view rest = std::string_view(argument).substr(option.name.size());
        const bool shortName = option.name.size() == 2;
        if (rest.starts_with('=') && !shortName) {
            return std::pair(&option, std::optional(std::string(rest.substr(1))));
        }
        if (shortName && option.takesValue) {
            return std::pair(&option, std::optional(std::string(rest)));
        }
    }
    return std::nullopt;
}

// The arguments as the bytes the shell gave, never through a text encoding: a file name need
// not be UTF-8, and the file named is the file read or written. "--" ends the options.
Result<Arguments, std::string> parseArguments(const std::vector<std::string>& arguments) {
    Arguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument == "-" || !argument.starts_with('-')) {
            parsed.positional.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        auto matched = matchOption(argument);
        if (!matched) {
            return "unknown option '" + printable(argument) + "'";
        }
        auto& [option, value] = *matched;
        if (option->takesValue && !value) {
            if (i + 1 == arguments.size()) {
                return "missing value after '" + printable(argument) + "'";
            }
            value = arguments[++i];
        } else if (!option->takesValue && value) {
            return "unexpected value after '" + std::string(option->name) + "'";
        }
        switch (option->option) {
        case Option::Map:
            parsed.call.map = *value;
            break;
        case Option::Root:
            parsed.call.root = *value;
            break;
        case Option::Output:
            parsed.call.output = *value;
            break;
        case Option::Json:
            parsed.call.json = true;
            break;
        case Option::Help:
            parsed.help = true;
            break;
        case Option::Version:
            parsed.version = true;
            break;
        }
    }
    return parsed;
}

} // namespace

int runPointTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    auto parsed = parseArguments(arguments);
    if (!parsed) {
        return usageError(err, parsed.error());
    }
    if (parsed->help) {
        out << Usage << Description << "\n\n" << OptionsHelp;
        return 0;
    }
    if (parsed->version) {
        out << "pointtool " << version() << "\n";
        return 0;
    }
    if (parsed->positional.size() != 2) {
        return usageError(err, "expected a command and one file");
    }
    const std::string& command = parsed->positional[0];
    Invocation& call = parsed->call;
    call.input = parsed->positional[1];

    if (command == "check" || command == "check-mission") {
        if (call.output) {
            return usageError(err, command + " writes no file; -o does not apply");
        }
        const bool mission = command == "check-mission";
        if (mission ? call.map.has_value() : call.root.has_value()) {
            return usageError(err, mission ? "--map belongs to check; a mission names its map"
                                           : "--root belongs to check-mission");
        }
        return mission ? runCheckMission(call, out, err) : runCheck(call, out, err);
    }
    if (call.map || call.json || call.root) {
        return usageError(err, "--map, --root and --json belong to check and check-mission");
    }
    if (command == "dump") {
        return runDump(call, out, err);
    }
    if (command == "build") {
        if (!call.output) {
            return usageError(err, "build needs the point file to write: -o FILE.pd1");
        }
        return runBuild(call, out, err);
    }
    return usageError(err, "unknown command '" + printable(command) +
                               "'; expected check, check-mission, dump or build");
}

} // namespace tavo::pointtool
