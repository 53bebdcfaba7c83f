#include "pointeditor/data/texture_report.h"

#include <cstdio>

#include "common/text/cp932.h"

namespace tavo {
namespace {

std::string_view problemText(TextureProblem problem, bool english) {
    switch (problem) {
    case TextureProblem::NotFound:
        return english ? "not found" : "ファイルがありません";
    case TextureProblem::Unsupported:
        return english ? "unsupported format" : "読めない形式です";
    case TextureProblem::Damaged:
        return english ? "damaged" : "ファイルが壊れています";
    case TextureProblem::OverBudget:
        return english ? "over the texture budget" : "テクスチャの上限を超えています";
    case TextureProblem::None:
        break;
    }
    return {};
}

std::string escaped(unsigned char byte) {
    char text[5];
    std::snprintf(text, sizeof text, "\\x%02X", byte);
    return text;
}

// The stored name for a message: converted where it converts, every other byte and every
// control character written out, so that no raw byte reaches a terminal or a box.
std::string printableName(std::string_view stored) {
    if (const auto utf8 = cp932ToUtf8(stored)) {
        std::string shown;
        for (unsigned char c : *utf8) {
            shown += c < 0x20 || c == 0x7F ? escaped(c) : std::string(1, static_cast<char>(c));
        }
        return shown;
    }
    std::string shown;
    for (unsigned char c : stored) {
        shown += c < 0x20 || c >= 0x7F ? escaped(c) : std::string(1, static_cast<char>(c));
    }
    return shown;
}

} // namespace

std::string textureFindingLine(const TextureFinding& finding, bool english) {
    std::string slot = std::to_string(finding.slot);
    return (english ? "texture " + slot : "テクスチャ" + slot) + " " + printableName(finding.name) +
           ": " + std::string(problemText(finding.problem, english));
}

std::string textureReportText(const std::vector<TextureFinding>& findings, bool english) {
    std::string text = english ? "These textures did not load:" : "読み込めなかったテクスチャ:";
    for (const TextureFinding& finding : findings) {
        text += "\n" + textureFindingLine(finding, english);
    }
    return text;
}

std::string_view textureReportCaption(bool english) {
    return english ? "LOAD BLOCK" : "ブロック読込";
}

} // namespace tavo
