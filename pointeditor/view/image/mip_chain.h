#pragma once
// The levels of a mip chain, made on the processor: each level halves the sides of the one above
// (rounded down, never below 1) and each of its texels is the mean of the area of the level above
// that it covers, channel by channel, rounded to the nearest. On an odd side a texel covers one
// and a half texels of the level above, each weighted by the share of it covered, so no row or
// column is dropped and every level keeps the image's mean. Alpha is averaged like the colours.

#include <vector>

#include "pointeditor/view/image/image_decoder.h"

namespace tavo {

// The level below `image`; `image` must hold width x height texels, both sides at least 1.
DecodedImage nextMipLevel(const DecodedImage& image);

// Every level below `image`, down to 1 x 1: none for a 1 x 1 image.
std::vector<DecodedImage> mipChain(const DecodedImage& image);

} // namespace tavo
