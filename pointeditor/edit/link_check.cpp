#include "pointeditor/edit/link_check.h"

#include <array>

#include "pointeditor/data/finding_box.h"
#include "pointeditor/data/platform.h"
#include "pointeditor/data/point_check.h"

namespace tavo {
namespace {

void selectInvolvedPoints(EditorState& state, const std::vector<Finding>& findings) {
    std::array<bool, MaxPoints> involved{};
    bool any = false;
    for (const Finding& finding : findings) {
        if (finding.slot >= 0) {
            involved[finding.slot] = any = true;
        }
        for (int slot : finding.relatedSlots) {
            involved[slot] = any = true;
        }
    }
    if (!any) {
        return;
    }
    for (int slot = 0; slot < MaxPoints; ++slot) {
        if (state.pointTable.pointUsed[slot] != SlotFree) {
            state.pointTable.pointUsed[slot] = involved[slot] ? SlotSelected : SlotUsed;
        }
    }
}

} // namespace

void runLinkCheck(EditorState& state) {
    const CheckReport report = checkPointTable(state.pointTable);
    selectInvolvedPoints(state, report.findings);
    if (state.platform == nullptr) {
        return;
    }
    const bool english = state.english != 0;
    const std::string errors = std::to_string(report.summary.errors);
    const std::string warnings = std::to_string(report.summary.warnings);
    const std::string heading = english ? "ERRORS " + errors + " / WARNINGS " + warnings
                                        : "エラー " + errors + " 件 / 警告 " + warnings + " 件";
    state.platform->messageBox(findingBoxText(state, heading, findingLines(state, report.findings)),
                               english ? "LINK CHECK" : "リンク確認", BoxButtons::Ok,
                               report.findings.empty() ? BoxIcon::None : BoxIcon::Warning);
}

} // namespace tavo
