#include "common/font/window_font.h"

#include <QtCore/QStringList>

namespace tavo {

QFont windowFont() {
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(16);
    return font;
}

QFont backslashFont() {
    QFont font = windowFont();
    font.setFamilies(QStringList{QStringLiteral("DejaVu Sans"), QStringLiteral("IPAGothic")});
    return font;
}

} // namespace tavo
