// A file that several slots of a map name: read, decoded and uploaded once, the later slots
// given textures of the same image; and the same through the real device.

#include <gtest/gtest.h>

#include "gl_fixture.h"
#include "pointeditor/view/device/gl_texture.h"
#include "pointeditor/view/image/texture_set_decoder.h"
#include "tests/support/image_writers.h"

namespace tavo {
namespace {

using testing::encode;
using testing::TestImage;

struct CountedTexture : Texture {
    int width;
    explicit CountedTexture(int w) : width(w) {}
};

// How a set was loaded: the calls made, and each file's texture or problem.
struct Outcome {
    int uploads = 0;
    int shares = 0;
    std::vector<LoadedTexture> loaded;
};

enum class Sharing { Shares, Refuses, Absent };

Outcome load(const std::vector<std::string>& files, Sharing sharing) {
    Outcome out;
    const TextureUpload upload = [&out](const DecodedImage& image) {
        ++out.uploads;
        return std::make_unique<CountedTexture>(image.width);
    };
    const TextureShare share = [&out, sharing](const Texture& texture) {
        ++out.shares;
        return sharing == Sharing::Refuses
                   ? nullptr
                   : std::make_unique<CountedTexture>(
                         dynamic_cast<const CountedTexture&>(texture).width);
    };
    out.loaded = loadTextureSet(files, upload, sharing == Sharing::Absent ? TextureShare{} : share);
    return out;
}

struct Case {
    const char* name;
    std::vector<std::string> files; // of the scratch directory
    Sharing sharing;
    int uploads, shares;
    std::vector<TextureProblem> problems;
};

TEST(TextureSet, AFileNamedAgainIsUploadedOnceAndSharedWhereTheDeviceCan) {
    testing::ScratchDirectory dir;
    dir.write("a.png", encode(TestImage::filled(3, 2, 0xFF102030), "PNG"));
    dir.write("b.png", encode(TestImage::filled(5, 1, 0xFF102030), "PNG"));
    const std::vector<uint8_t> whole = encode(TestImage::filled(64, 64, 0xFF102030), "PNG");
    dir.write("cut.png", {whole.begin(), whole.begin() + 60});
    using P = TextureProblem;
    const P N = P::None;
    const Case cases[] = {
        {"twice", {"a.png", "a.png"}, Sharing::Shares, 1, 1, {N, N}},
        {"three times among others",
         {"a.png", "b.png", "a.png", "b.png", "a.png"},
         Sharing::Shares,
         2,
         3,
         {N, N, N, N, N}},
        {"a device that refuses to share", {"a.png", "a.png"}, Sharing::Refuses, 2, 1, {N, N}},
        {"no way to share", {"a.png", "a.png"}, Sharing::Absent, 2, 0, {N, N}},
        {"a damaged file twice",
         {"cut.png", "b.png", "cut.png"},
         Sharing::Shares,
         1,
         0,
         {P::Damaged, N, P::Damaged}},
        {"a missing file twice",
         {"none.png", "none.png"},
         Sharing::Shares,
         0,
         0,
         {P::NotFound, P::NotFound}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> paths;
        for (const std::string& file : c.files) {
            paths.push_back(dir.at(file));
        }
        const Outcome out = load(paths, c.sharing);
        EXPECT_EQ(out.uploads, c.uploads) << c.name << ": uploads";
        EXPECT_EQ(out.shares, c.shares) << c.name << ": shares";
        ASSERT_EQ(out.loaded.size(), c.files.size()) << c.name;
        for (std::size_t i = 0; i < c.files.size(); ++i) {
            EXPECT_EQ(out.loaded[i].problem, c.problems[i]) << c.name << ": file " << i;
            EXPECT_EQ(out.loaded[i].texture != nullptr, c.problems[i] == N)
                << c.name << ": texture of file " << i;
        }
    }
}

TEST(TextureSet, EachSlotOfAFileNamedAgainGetsATextureOfItsOwnOfTheSameImage) {
    testing::ScratchDirectory dir;
    const std::string a = dir.write("a.png", encode(TestImage::filled(3, 2, 0xFF102030), "PNG"));
    const Outcome out = load({a, a}, Sharing::Shares);
    ASSERT_NE(out.loaded[1].texture, nullptr);
    EXPECT_NE(out.loaded[0].texture.get(), out.loaded[1].texture.get()) << "one texture a slot";
    EXPECT_EQ(dynamic_cast<const CountedTexture&>(*out.loaded[1].texture).width, 3)
        << "the width of the image shared";
}

// A file named again takes its pixels from the budget once more, announced by its header, as
// another file of its size does: a second that would not fit is refused even when the first
// turns out damaged, and a small file after them still loads.
TEST(TextureSet, AFileNamedAgainCountsAgainstTheBudgetAgain) {
    testing::ScratchDirectory dir;
    const int side = 6000; // over half the budget's pixels, under the whole
    ASSERT_GT(int64_t{side} * side * 2, MapPixelBudget);
    const std::vector<uint8_t> whole = testing::pngOf(side, side, 1, 0, {0});
    const std::string big = dir.write("big.png", {whole.begin(), whole.begin() + 100});
    const std::string other = dir.write("other.png", {whole.begin(), whole.begin() + 100});
    const std::string small =
        dir.write("small.png", encode(TestImage::filled(1, 1, 0xFF000000), "PNG"));
    for (const std::string& second : {big, other}) { // named again, and another of its size
        const Outcome out = load({big, second, small}, Sharing::Shares);
        const bool again = second == big;
        EXPECT_EQ(out.loaded[0].problem, TextureProblem::Damaged) << again << ": the first";
        EXPECT_EQ(out.loaded[1].problem, TextureProblem::OverBudget) << again << ": the second";
        EXPECT_EQ(out.loaded[2].problem, TextureProblem::None) << again << ": the small file";
    }
}

class SharedTextureTest : public testing::GlTest {};

// Both slots read one place of the atlas, and the image stays while either slot holds it.
TEST_F(SharedTextureTest, SlotsNamingOneFileShareItsAtlasPlace) {
    const std::string a = file("a.png", encode(TestImage::filled(4, 4, 0xFF0000FF), "PNG"));
    std::vector<LoadedTexture> loaded = device->loadTextures(std::vector{a, a});
    ASSERT_NE(loaded[1].texture, nullptr);
    const auto* first = dynamic_cast<const GlTexture*>(loaded[0].texture.get());
    const auto* second = dynamic_cast<const GlTexture*>(loaded[1].texture.get());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->rect().page, first->rect().page) << "the page";
    EXPECT_EQ(second->rect().x, first->rect().x) << "the place across";
    EXPECT_EQ(second->rect().y, first->rect().y) << "the place down";
    EXPECT_EQ(second->name(), first->name()) << "the filtered copy";
    loaded[0].texture.reset();
    // A texture of the same size loaded now must not take the place the second still reads.
    const std::string b = file("b.png", encode(TestImage::filled(4, 4, 0xFFFF0000), "PNG"));
    auto other = device->loadTexture(b);
    const auto* third = dynamic_cast<const GlTexture*>(other.get());
    ASSERT_NE(third, nullptr);
    EXPECT_FALSE(third->rect().page == second->rect().page && third->rect().x == second->rect().x &&
                 third->rect().y == second->rect().y)
        << "the new texture's place (" << third->rect().x << ", " << third->rect().y << ")";
}

} // namespace
} // namespace tavo
