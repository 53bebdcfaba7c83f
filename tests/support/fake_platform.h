#pragma once
// A scripted Platform for tests: the boxes and dialogs of ScriptedDesktop (fake_desktop.h), and
// a record of every warp and of every text of the frames drawn onto it as their text surface,
// with a Shift state the test sets.

#include <cstdint>
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

class FakePlatform : public ScriptedDesktop<Platform>, public TextSurface {
public:
    std::vector<RecordedText> texts;
    std::vector<std::pair<int, int>> warps;
    bool shift = false;

    bool shiftDown() override { return shift; }
    void warpPointer(int clientX, int clientY) override { warps.emplace_back(clientX, clientY); }
    void drawText(int x, int y, std::string_view text, uint32_t textColour,
                  uint32_t backColour) override {
        texts.push_back({x, y, std::string(text), textColour, backColour});
    }
};

} // namespace tavo::testing
