#pragma once
// The font both programs lay their windows out for: IPA Gothic at 16 pixels, the stand-in for
// the 16-pixel MS Gothic of the original windows. Each program adds its own rendering settings.

#include <QtGui/QFont>

namespace tavo {

QFont windowFont();

} // namespace tavo
