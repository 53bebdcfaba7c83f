#pragma once
// What a map load tells the author about the textures that did not load: one finding per slot,
// one line of text per finding, in the user's language. The editor shows the lines in one box,
// pointeditor-render prints them.

#include <string>
#include <string_view>
#include <vector>

#include "pointeditor/data/texture_finding.h"

namespace tavo {

// "texture 3 wall.jpg: not found" (Japanese: "テクスチャ3 wall.jpg: ファイルがありません"). The
// name is shown in UTF-8 with any control or unconvertible byte as \xNN.
std::string textureFindingLine(const TextureFinding& finding, bool english);

// The warning box after LOAD BLOCK: a heading and one line per finding.
std::string textureReportText(const std::vector<TextureFinding>& findings, bool english);
std::string_view textureReportCaption(bool english);

} // namespace tavo
