#pragma once
// The text of boxes that list findings in the editor's language: the warning after LOAD POINT
// when the file was not whole, and the link check's report. The commands show them.

#include <string>
#include <vector>

#include "pointeditor/data/editor_state.h"
#include "pointeditor/data/point_check.h"

namespace tavo {

// At most this many findings are listed in a box; a last line counts the rest.
inline constexpr int ShownFindings = 8;

// One line per finding, in the editor's language.
std::vector<std::string> findingLines(const EditorState& state,
                                      const std::vector<Finding>& findings);

// The heading, the first findings, and "... 3 MORE" for the rest.
std::string findingBoxText(const EditorState& state, const std::string& heading,
                           const std::vector<std::string>& lines);

} // namespace tavo
