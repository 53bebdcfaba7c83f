#pragma once
// The overlay text: lines written straight onto the window's canvas in the editor's one font,
// each on a filled rectangle of its background colour, as wide as the text. Needs a
// QGuiApplication (any platform, offscreen included) for the font.

#include <QtGui/QFont>
#include <QtGui/QFontMetrics>
#include <QtGui/QImage>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pointeditor/view/device/canvas.h"

namespace tavo {

class TextOverlay {
public:
    explicit TextOverlay(Canvas& canvas);

    // Text at client pixel (x, y), the top-left corner of its cell; colours are 0x00BBGGRR.
    // No clipping to the panes and no wrapping; an empty text draws nothing. A text that the
    // canvas still shows at (x, y) from an earlier call, in the same colours and with no text
    // drawn over it since, is not drawn again: the pixels would be the same.
    void drawText(int x, int y, std::string_view utf8, uint32_t textColour, uint32_t backColour);

    const QFont& font() const { return font_; }

private:
    struct ShownText {
        QRect cell;
        std::string text;
        uint32_t textColour;
        uint32_t backColour;
    };

    bool stillShown(int x, int y, std::string_view utf8, uint32_t textColour,
                    uint32_t backColour) const;

    QImage image_;
    std::vector<ShownText> shown_; // cells outside the panes that hold their text unchanged
    QFont font_;
    QFontMetrics metrics_;
    int ascent_;
    int cellHeight_;
};

// A read-only image over the canvas's pixels, for showing or saving it; it must not outlive the
// canvas. Each call makes its own, so no copy of the canvas is ever shared with the painter.
QImage canvasImage(const Canvas& canvas);

// The overlay font: "IPAGothic" at 16 pixels, medium weight, fixed pitch, no antialiasing.
QFont overlayFont();

} // namespace tavo
