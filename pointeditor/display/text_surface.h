#pragma once
// Where the frame's text column goes: the window's canvas in the editor, the image in
// pointeditor-render, a recorder in tests.

#include <cstdint>
#include <string_view>

namespace tavo {

class TextSurface {
public:
    virtual ~TextSurface() = default;

    // Writes one line of UTF-8 text at pixel (x, y) (top-left of the text cell), opaque: the
    // cell is filled with backColour first. Colours are 0x00BBGGRR.
    virtual void drawText(int x, int y, std::string_view text, uint32_t textColour,
                          uint32_t backColour) = 0;
};

} // namespace tavo
