#pragma once
// Scripted DialogServices: records every file request and error box, and answers file requests
// from a queue the test fills beforehand (an empty queue cancels).

#include <deque>
#include <optional>
#include <vector>

#include "missioneditor/dialog_services.h"

namespace tavo::mission::testing {

struct RecordedBox {
    QString text;
    QString caption;
};

class FakeDialogServices : public DialogServices {
  public:
    std::vector<FileRequest> requests;
    std::vector<RecordedBox> boxes;
    std::deque<std::optional<QString>> answers;

    std::optional<QString> chooseFile(QWidget*, const FileRequest& request) override {
        requests.push_back(request);
        if (answers.empty()) {
            return std::nullopt;
        }
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void errorBox(const QString& text, const QString& caption) override {
        boxes.push_back({text, caption});
    }
};

} // namespace tavo::mission::testing
