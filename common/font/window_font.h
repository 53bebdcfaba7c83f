#pragma once
// The font both programs lay their windows out for: IPA Gothic at 16 pixels, the stand-in for
// the 16-pixel MS Gothic of the original windows. Each program adds its own rendering settings.

#include <QtGui/QFont>

namespace tavo {

QFont windowFont();

// The window font's size and its Japanese characters, but a Western font (DejaVu Sans) first for
// the characters it has: IPA Gothic, like MS Gothic on a Japanese system, draws the byte 0x5C as
// a yen sign, which an English system showed as the backslash it is.
QFont backslashFont();

} // namespace tavo
