#include "pointeditor/shell/text_overlay.h"

#include <QtGui/QFontMetrics>
#include <QtGui/QPainter>
#include <algorithm>

#include "pointeditor/data/pane_layout.h"

#include "common/font/window_font.h"

namespace tavo {

namespace {

constexpr PaneOrigin PaneOrigins[] = {paneOrigin(TopPane), paneOrigin(FrontPane),
                                      paneOrigin(SidePane), paneOrigin(PerspectivePane)};

QColor fromColourRef(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

} // namespace

QFont overlayFont() {
    QFont font = windowFont();
    font.setWeight(QFont::Medium);
    font.setFixedPitch(true);
    font.setStyleHint(QFont::TypeWriter, QFont::NoAntialias);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setKerning(false);
    return font;
}

QImage canvasImage(const Canvas& canvas) {
    return QImage(reinterpret_cast<const uchar*>(canvas.pixels.data()), Canvas::Width,
                  Canvas::Height, Canvas::Width * static_cast<int>(sizeof(uint32_t)),
                  QImage::Format_RGB32);
}

TextOverlay::TextOverlay(Canvas& canvas)
    : image_(reinterpret_cast<uchar*>(canvas.pixels.data()), Canvas::Width, Canvas::Height,
             Canvas::Width * static_cast<int>(sizeof(uint32_t)), QImage::Format_RGB32),
      font_(overlayFont()), metrics_(font_) {
    // One text cell is exactly the font's 16 pixels high, as the window's rows are laid out for;
    // the font's own rounding would make it a pixel taller.
    QFontMetricsF metrics(font_);
    cellHeight_ = font_.pixelSize();
    ascent_ = qRound(metrics.ascent() * cellHeight_ / (metrics.ascent() + metrics.descent()));
}

bool TextOverlay::stillShown(int x, int y, std::string_view utf8, uint32_t textColour,
                             uint32_t backColour) const {
    return std::any_of(shown_.begin(), shown_.end(), [&](const ShownText& shown) {
        return shown.cell.topLeft() == QPoint(x, y) && shown.text == utf8 &&
               shown.textColour == textColour && shown.backColour == backColour;
    });
}

void TextOverlay::drawText(int x, int y, std::string_view utf8, uint32_t textColour,
                           uint32_t backColour) {
    if (utf8.empty() || stillShown(x, y, utf8, textColour, backColour)) {
        return;
    }
    const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    QPainter painter(&image_);
    painter.setFont(font_);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    const int width = metrics_.horizontalAdvance(text);
    const QRect cell(x, y, width, cellHeight_);
    // What this covers no longer shows its earlier text. A cell over a pane is never trusted
    // later, since the pane's present may overwrite it.
    std::erase_if(shown_, [&](const ShownText& shown) { return shown.cell.intersects(cell); });
    const bool overPane =
        std::any_of(std::begin(PaneOrigins), std::end(PaneOrigins), [&](PaneOrigin origin) {
            return cell.intersects(QRect(origin.left, origin.top, PaneSize, PaneSize));
        });
    if (!overPane) {
        shown_.push_back({cell, std::string(utf8), textColour, backColour});
    }
    painter.setClipRect(cell);
    painter.fillRect(cell, fromColourRef(backColour));
    painter.setPen(fromColourRef(textColour));
    painter.drawText(QPoint(x, y + ascent_), text);
}

} // namespace tavo
