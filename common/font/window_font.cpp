#include "common/font/window_font.h"

namespace tavo {

QFont windowFont() {
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(16);
    return font;
}

} // namespace tavo
