#include "pointeditor/data/finding_box.h"

#include <algorithm>

#include "pointeditor/data/platform.h"

namespace tavo {

std::vector<std::string> findingLines(const EditorState& state,
                                      const std::vector<Finding>& findings) {
    std::vector<std::string> lines;
    lines.reserve(findings.size());
    for (const Finding& finding : findings) {
        lines.push_back(describeFinding(finding, state.english != 0));
    }
    return lines;
}

std::string findingBoxText(const EditorState& state, const std::string& heading,
                           const std::vector<std::string>& lines) {
    std::string text = heading;
    const std::size_t shown = std::min(lines.size(), std::size_t{ShownFindings});
    for (std::size_t i = 0; i < shown; ++i) {
        text += "\n" + lines[i];
    }
    if (lines.size() > shown) {
        const std::string more = std::to_string(lines.size() - shown);
        text += state.english != 0 ? "\n... " + more + " MORE" : "\nほか " + more + " 件";
    }
    return text;
}

void showPointFileWarning(EditorState& state, int loaded, const std::vector<std::string>& lines) {
    if (lines.empty() || state.platform == nullptr) {
        return;
    }
    const bool english = state.english != 0;
    const std::string count = std::to_string(loaded);
    const std::string heading =
        english ? "LOADED " + count + " POINTS" : count + " 個のポイントを読み込みました";
    state.platform->messageBox(findingBoxText(state, heading, lines),
                               english ? "LOAD POINT" : "ポイント読み込み", BoxButtons::Ok,
                               BoxIcon::Warning);
}

} // namespace tavo
