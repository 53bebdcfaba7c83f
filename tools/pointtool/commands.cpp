#include "tools/pointtool/commands.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <optional>

#include "common/about/about_options.h"
#include "common/files/file_read.h"
#include "common/files/file_write.h"
#include "common/files/printable.h"
#include "pointeditor/data/block_file.h"
#include "pointeditor/data/point_check.h"
#include "pointeditor/data/point_file.h"
#include "tools/pointtool/check_output.h"
#include "tools/pointtool/text_form.h"

namespace tavo::pointtool {
namespace {

const char* const Description =
    "Checks, dumps and builds point files (.pd1) of TAVO missions.\n"
    "\n"
    "  check FILE.pd1 [--map FILE.bd1] [--json]\n"
    "      reports links to missing or shared ids (errors) and other slips (warnings);\n"
    "      exits 1 when there is an error\n"
    "  dump FILE.pd1 [-o FILE.txt]\n"
    "      writes the points as text, one a line, with their names in comments\n"
    "  build FILE.txt -o FILE.pd1\n"
    "      reads that text back and writes the point file\n"
    "\n"
    "-o - writes to standard output. A file is replaced atomically, never in place; a\n"
    "read-only file, a device, a FIFO or the command's own input is refused.";

std::string toStd(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

int fileFailure(std::ostream& err, const FileError& error) {
    err << "pointtool: " << error.text << "\n";
    return 1;
}

struct Invocation {
    std::string input;
    std::optional<std::string> map;
    std::optional<std::string> output;
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

// Comments for the head of a dump whose file the text cannot reproduce exactly.
std::vector<std::string> dumpNotes(const std::string& path, const PointFileContents& contents) {
    std::vector<std::string> notes;
    const std::size_t expected =
        2 + static_cast<std::size_t>(std::max<int>(contents.declaredCount, 0)) * PointRecordSize;
    if (contents.fileSize != expected || contents.declaredCount < 0 ||
        contents.declaredCount > MaxPoints) {
        notes.push_back(printable(path) + ": the count says " +
                        std::to_string(contents.declaredCount) + " points, but the file is " +
                        std::to_string(contents.fileSize) + " bytes long; these are the " +
                        std::to_string(contents.records.size()) + " complete records read");
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

} // namespace

int runPointTool(const QStringList& arguments, std::ostream& out, std::ostream& err) {
    QCoreApplication::setApplicationName("pointtool");
    QCoreApplication::setApplicationVersion(
        QString::fromUtf8(version().data(), static_cast<qsizetype>(version().size())));

    QCommandLineParser parser;
    parser.setApplicationDescription(Description);
    parser.addPositionalArgument("command", "check, dump or build");
    parser.addPositionalArgument("file", "the point file to check or dump, or the text to build");
    const QCommandLineOption mapOption("map", "check: the map whose blocks bound the points.",
                                       "FILE.bd1");
    const QCommandLineOption jsonOption("json", "check: print the findings as a JSON array.");
    const QCommandLineOption outputOption(
        QStringList{"o", "output"},
        "dump: the text file to write (default: standard output); build: the point file to "
        "write. - is standard output.",
        "FILE");
    parser.addOption(mapOption);
    parser.addOption(jsonOption);
    parser.addOption(outputOption);
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();

    if (!parser.parse(arguments)) {
        return usageError(err, parser.errorText().toStdString());
    }
    if (parser.isSet(helpOption) || parser.isSet("help-all")) {
        out << parser.helpText().toStdString();
        return 0;
    }
    if (parser.isSet(versionOption)) {
        out << "pointtool " << version() << "\n";
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2) {
        return usageError(err, "expected a command and one file");
    }
    const QString command = positional[0];
    Invocation call;
    call.input = toStd(positional[1]);
    call.json = parser.isSet(jsonOption);
    if (parser.isSet(mapOption)) {
        call.map = toStd(parser.value(mapOption));
    }
    if (parser.isSet(outputOption)) {
        call.output = toStd(parser.value(outputOption));
    }

    if (command == "check") {
        if (call.output) {
            return usageError(err, "check writes no file; -o does not apply");
        }
        return runCheck(call, out, err);
    }
    if (call.map || call.json) {
        return usageError(err, "--map and --json belong to check");
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
    return usageError(err, "unknown command '" + command.toStdString() +
                               "'; expected check, dump or build");
}

} // namespace tavo::pointtool
