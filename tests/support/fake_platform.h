#pragma once
// A scripted Platform for tests: records every box, dialog, warp and text, and answers from
// queues that the test fills beforehand (an empty queue presses the default button: Ok, Save or
// Yes; and cancels the dialog).

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "pointeditor/data/platform.h"

namespace tavo::testing {

struct RecordedBox {
    std::string text;
    std::string caption;
    BoxButtons buttons;
    BoxIcon icon;
    bool ownerless;
};

struct RecordedDialog {
    bool save;
    std::string title;
    FileFilter filter;
    std::string proposedPath;
};

struct RecordedText {
    int x;
    int y;
    std::string text;
    uint32_t textColour;
    uint32_t backColour;
};

class FakePlatform : public Platform {
public:
    std::vector<RecordedBox> boxes;
    std::vector<RecordedDialog> dialogs;
    std::vector<RecordedText> texts;
    std::vector<std::pair<int, int>> warps;
    std::deque<BoxAnswer> boxAnswers;
    std::deque<std::optional<std::string>> dialogAnswers;
    bool shift = false;
    // Runs each time a box or dialog opens, to look at the state while it is open.
    std::function<void()> whileModal;

    BoxAnswer messageBox(std::string_view text, std::string_view caption, BoxButtons buttons,
                         BoxIcon icon, bool ownerless) override {
        boxes.push_back({std::string(text), std::string(caption), buttons, icon, ownerless});
        if (whileModal) {
            whileModal();
        }
        if (buttons == BoxButtons::Ok) {
            return BoxAnswer::Ok;
        }
        if (boxAnswers.empty()) {
            return buttons == BoxButtons::SaveDiscardCancel ? BoxAnswer::Save
                   : buttons == BoxButtons::YesNo           ? BoxAnswer::Yes
                                                            : BoxAnswer::Ok;
        }
        BoxAnswer answer = boxAnswers.front();
        boxAnswers.pop_front();
        return answer;
    }
    std::optional<std::string> openFileDialog(std::string_view title,
                                              const FileFilter& filter) override {
        dialogs.push_back({false, std::string(title), filter, {}});
        return nextDialogAnswer();
    }
    std::optional<std::string> saveFileDialog(std::string_view title, const FileFilter& filter,
                                              std::string_view proposedPath) override {
        dialogs.push_back({true, std::string(title), filter, std::string(proposedPath)});
        return nextDialogAnswer();
    }
    bool shiftDown() override { return shift; }
    void warpPointer(int clientX, int clientY) override { warps.emplace_back(clientX, clientY); }
    void drawText(int x, int y, std::string_view text, uint32_t textColour,
                  uint32_t backColour) override {
        texts.push_back({x, y, std::string(text), textColour, backColour});
    }

private:
    std::optional<std::string> nextDialogAnswer() {
        if (whileModal) {
            whileModal();
        }
        if (dialogAnswers.empty()) {
            return std::nullopt;
        }
        auto answer = dialogAnswers.front();
        dialogAnswers.pop_front();
        return answer;
    }
};

} // namespace tavo::testing
