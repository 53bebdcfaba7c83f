#include "pointeditor/data/finding_box.h"

#include <algorithm>

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

} // namespace tavo
