#include "tools/pointtool/check_output.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tavo::pointtool {
namespace {

const char* severityName(Severity severity) {
    return severity == Severity::Error ? "error" : "warning";
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
        array.append(object);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented).toStdString();
}

} // namespace tavo::pointtool
