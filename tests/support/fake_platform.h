#pragma once
// A scripted Platform for tests: the boxes and dialogs of ScriptedDesktop (fake_desktop.h), and
// a record of every warp and of every text of the frames drawn onto it as their text surface,
// with a Shift state and a clipboard the test sets.

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "pointeditor/data/platform.h"
#include "pointeditor/display/text_surface.h"
#include "tests/support/fake_desktop.h"

namespace tavo::testing {

struct RecordedText {
    int x;
    int y;
    std::string text;
    uint32_t textColour;
    uint32_t backColour;
};

struct RecordedNumberQuestion {
    std::string text;
    std::string caption;
    int value, minimum, maximum;
};

struct RecordedQuestion {
    std::string text;
    std::string caption;
    std::string yes, discard, later;
};

class FakePlatform : public ScriptedDesktop<Platform>, public TextSurface {
public:
    std::vector<RecordedQuestion> questions;
    // Their answers in order; the default button (Yes) once it is empty.
    std::deque<DeferrableAnswer> questionAnswers;
    std::vector<RecordedNumberQuestion> numberQuestions;
    // Their answers in order; cancelled once it is empty.
    std::deque<std::optional<int>> numberAnswers;
    std::vector<std::pair<std::string, std::string>> helps; // text, caption
    std::vector<RecordedText> texts;
    std::vector<std::pair<int, int>> warps;
    bool shift = false;
    bool control = false;
    // The system clipboard: what setClipboard put there, or what the test offers.
    ClipboardContents clipboardHolds;

    DeferrableAnswer askDeferrable(std::string_view text, std::string_view caption,
                                   const DeferrableLabels& labels) override {
        questions.push_back({std::string(text), std::string(caption), std::string(labels.yes),
                             std::string(labels.discard), std::string(labels.later)});
        return modal(), next(questionAnswers, DeferrableAnswer::Yes);
    }
    std::optional<int> askInteger(std::string_view text, std::string_view caption, int value,
                                  int minimum, int maximum) override {
        numberQuestions.push_back(
            {std::string(text), std::string(caption), value, minimum, maximum});
        return modal(), next(numberAnswers, std::nullopt);
    }
    void showHelp(std::string_view richText, std::string_view caption) override {
        helps.push_back({std::string(richText), std::string(caption)});
    }
    bool shiftDown() override { return shift; }
    bool controlDown() override { return control; }
    void warpPointer(int clientX, int clientY) override { warps.emplace_back(clientX, clientY); }
    void setClipboard(std::string_view text, std::span<const uint8_t> points) override {
        clipboardHolds = {std::string(text), std::vector<uint8_t>(points.begin(), points.end())};
    }
    ClipboardContents clipboard() override { return clipboardHolds; }
    void drawText(int x, int y, std::string_view text, uint32_t textColour,
                  uint32_t backColour) override {
        texts.push_back({x, y, std::string(text), textColour, backColour});
    }
};

} // namespace tavo::testing
