#pragma once
// A scripted DesktopServices for tests: records every box and dialog, and answers from queues
// that the test fills beforehand (an empty queue presses the default button: Ok, Save, Yes or No,
// unless unplannedAnswer says otherwise; and cancels the dialog). ScriptedDesktop<Platform> is
// the base of the point editor's fake.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "common/desktop/desktop_services.h"

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

template <class Services> class ScriptedDesktop : public Services {
public:
    std::vector<RecordedBox> boxes;
    std::vector<RecordedDialog> dialogs;
    std::deque<BoxAnswer> boxAnswers;
    std::deque<std::optional<std::string>> dialogAnswers;
    // What a box with a choice answers when boxAnswers is empty; the default button when unset.
    std::optional<BoxAnswer> unplannedAnswer;
    // Runs each time a box or dialog opens, to look at the state while it is open.
    std::function<void()> whileModal;

    BoxAnswer messageBox(std::string_view text, std::string_view caption, BoxButtons buttons,
                         BoxIcon icon, bool ownerless) override {
        boxes.push_back({std::string(text), std::string(caption), buttons, icon, ownerless});
        if (modal(); buttons == BoxButtons::Ok) {
            return BoxAnswer::Ok;
        }
        return next(boxAnswers, unplannedAnswer.value_or(
                                    buttons == BoxButtons::SaveDiscardCancel ? BoxAnswer::Save
                                    : buttons == BoxButtons::YesNo           ? BoxAnswer::Yes
                                    : buttons == BoxButtons::YesNoDefaultNo  ? BoxAnswer::No
                                                                             : BoxAnswer::Ok));
    }
    std::optional<std::string> openFileDialog(std::string_view title,
                                              const FileFilter& filter) override {
        dialogs.push_back({false, std::string(title), filter, {}});
        return modal(), next(dialogAnswers, std::nullopt);
    }
    std::optional<std::string> saveFileDialog(std::string_view title, const FileFilter& filter,
                                              std::string_view proposedPath) override {
        dialogs.push_back({true, std::string(title), filter, std::string(proposedPath)});
        return modal(), next(dialogAnswers, std::nullopt);
    }

protected:
    void modal() const {
        if (whileModal) {
            whileModal();
        }
    }
    // The queue's first answer, taken off it; `otherwise` when it is empty.
    template <class T> static T next(std::deque<T>& queue, std::type_identity_t<T> otherwise) {
        if (queue.empty()) {
            return otherwise;
        }
        T answer = std::move(queue.front());
        queue.pop_front();
        return answer;
    }
};

using FakeDesktop = ScriptedDesktop<DesktopServices>;

} // namespace tavo::testing
