#include "tools/pointtool/check_output.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tavo::pointtool {
namespace {

const char* severityName(Severity severity) {
    return severity == Severity::Error ? "error" : "warning";
}

QJsonObject findingObject(const Finding& finding) {
    QJsonObject object;
    const bool aboutPoint = finding.slot >= 0;
    object["slot"] = aboutPoint ? QJsonValue(finding.slot) : QJsonValue();
    object["id"] = aboutPoint ? QJsonValue(finding.id) : QJsonValue();
    object["kind"] = aboutPoint ? QJsonValue(finding.kind) : QJsonValue();
    object["severity"] = severityName(finding.severity);
    object["message"] = QString::fromStdString(finding.message);
    QJsonArray related;
    for (int slot : finding.relatedSlots) {
        related.append(slot);
    }
    object["relatedSlots"] = related;
    return object;
}

// The fields by the names of MissionInfo's members.
const char* fieldKey(mission::Field field) {
    using enum mission::Field;
    switch (field) {
    case MissionName:
        return "missionName";
    case FullName:
        return "fullName";
    case BlockPath:
        return "blockPath";
    case PointPath:
        return "pointPath";
    case SkyIndex:
        return "skyIndex";
    case Flags:
        return "flags";
    case AddonObjectPath:
        return "addonObjectPath";
    case Image1Path:
        return "image1Path";
    case Image2Path:
        return "image2Path";
    case BriefingText:
        break;
    }
    return "briefingText";
}

const char* rootSourceName(RootSource source) {
    switch (source) {
    case RootSource::Given:
        return "given";
    case RootSource::Found:
        return "found";
    case RootSource::NotFound:
        break;
    }
    return "none";
}

std::string plural(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

std::string formatFinding(const Finding& finding) {
    return describeFinding(finding, true);
}

std::string formatSummary(const CheckSummary& summary) {
    return plural(summary.points, "point", "points") + ", " +
           plural(summary.humans, "human", "humans") + ", " +
           plural(summary.pathPoints, "path point", "path points") + ", " +
           plural(summary.events, "event", "events") + ": " +
           plural(summary.errors, "error", "errors") + ", " +
           plural(summary.warnings, "warning", "warnings");
}

std::string findingsToJson(const std::vector<Finding>& findings) {
    QJsonArray array;
    for (const Finding& finding : findings) {
        array.append(findingObject(finding));
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented).toStdString();
}

std::string missionReportToJson(const MissionReport& report) {
    QJsonArray findings;
    for (const MissionFinding& finding : report.findings) {
        QJsonObject object = findingObject(finding.finding);
        object["field"] = fieldKey(finding.field);
        findings.append(object);
    }
    QJsonObject top;
    top["root"] = QString::fromStdString(report.root);
    top["rootSource"] = rootSourceName(report.rootSource);
    top["findings"] = findings;
    return QJsonDocument(top).toJson(QJsonDocument::Indented).toStdString();
}

} // namespace tavo::pointtool
