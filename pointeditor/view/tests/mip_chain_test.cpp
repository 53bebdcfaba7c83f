// The mip chain against a reference that integrates each level's texels over the area they
// cover, in floating point, on sides that are odd, even and 1.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "pointeditor/view/image/mip_chain.h"

namespace tavo {
namespace {

DecodedImage randomImage(int width, int height, unsigned seed) {
    std::mt19937 random(seed);
    DecodedImage image{width, height, {}};
    for (int i = 0; i < width * height; ++i) {
        image.pixels.push_back(static_cast<uint32_t>(random()));
    }
    return image;
}

double channel(uint32_t texel, int c) {
    return (texel >> (8 * c)) & 0xFF;
}

// The length of [a, b) that falls in [c, d).
double overlap(double a, double b, double c, double d) {
    return std::max(0.0, std::min(b, d) - std::max(a, c));
}

// Each texel of `below` must be the mean of what it covers of `above`, rounded to the nearest.
void expectMeanOfCovered(const DecodedImage& above, const DecodedImage& below,
                         const std::string& what) {
    const double sx = static_cast<double>(above.width) / below.width;
    const double sy = static_cast<double>(above.height) / below.height;
    for (int y = 0; y < below.height; ++y) {
        for (int x = 0; x < below.width; ++x) {
            for (int c = 0; c < 4; ++c) {
                double sum = 0;
                for (int v = 0; v < above.height; ++v) {
                    for (int u = 0; u < above.width; ++u) {
                        const double share = overlap(x * sx, (x + 1) * sx, u, u + 1) *
                                             overlap(y * sy, (y + 1) * sy, v, v + 1);
                        sum += share * channel(above.pixels[v * above.width + u], c);
                    }
                }
                const double mean = sum / (sx * sy);
                const double got = channel(below.pixels[y * below.width + x], c);
                ASSERT_LE(std::abs(got - mean), 0.5 + 1e-9)
                    << what << " texel " << x << "," << y << " channel " << c << ": " << got
                    << " for a mean of " << mean;
            }
        }
    }
}

TEST(MipChainTest, EachLevelIsTheRoundedMeanOfWhatItCovers) {
    struct Case {
        int width, height;
        std::vector<std::pair<int, int>> sides; // of the levels below
    };
    const Case cases[] = {
        {1, 1, {}},
        {3, 5, {{1, 2}, {1, 1}}},
        {1024,
         1,
         {{512, 1}, {256, 1}, {128, 1}, {64, 1}, {32, 1}, {16, 1}, {8, 1}, {4, 1}, {2, 1}, {1, 1}}},
        {6, 7, {{3, 3}, {1, 1}}},
    };
    for (const Case& c : cases) {
        const std::string name = std::to_string(c.width) + "x" + std::to_string(c.height);
        const DecodedImage image = randomImage(c.width, c.height, 7u + c.width);
        const std::vector<DecodedImage> levels = mipChain(image);
        ASSERT_EQ(levels.size(), c.sides.size()) << name;
        const DecodedImage* above = &image;
        for (std::size_t i = 0; i < levels.size(); ++i) {
            const std::string level = name + " level " + std::to_string(i + 1);
            EXPECT_EQ(levels[i].width, c.sides[i].first) << level;
            EXPECT_EQ(levels[i].height, c.sides[i].second) << level;
            ASSERT_EQ(levels[i].pixels.size(), std::size_t(levels[i].width * levels[i].height))
                << level;
            expectMeanOfCovered(*above, levels[i], level);
            above = &levels[i];
        }
    }
}

// A mean of x.5 goes up, each channel on its own, alpha too.
TEST(MipChainTest, HalvesRoundUpAndChannelsStayApart) {
    const DecodedImage image{2, 1, {0x00FF0201, 0x01000001}};
    const DecodedImage next = nextMipLevel(image);
    EXPECT_EQ(next.pixels.at(0), 0x01800101u);
}

} // namespace
} // namespace tavo
