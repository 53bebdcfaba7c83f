// A file that several slots of a map name: read, decoded and uploaded once, the later slots
// given textures of the same image; and the same through the real device.

#include <string_view>
#include <tuple>

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

enum class Share { Shares, Refuses, Absent };

Outcome load(const std::vector<std::string>& files, Share sharing) {
    Outcome out;
    const TextureUpload upload = [&out](const DecodedImage& image) {
        ++out.uploads;
        return std::make_unique<CountedTexture>(image.width);
    };
    const TextureShare share = [&out, sharing](const Texture& texture) {
        ++out.shares;
        return sharing == Share::Refuses ? nullptr
                                         : std::make_unique<CountedTexture>(
                                               dynamic_cast<const CountedTexture&>(texture).width);
    };
    out.loaded = loadTextureSet(files, upload, sharing == Share::Absent ? TextureShare{} : share);
    return out;
}

// Each file's problem as a letter: . none, d damaged, m missing, o over the budget.
TextureProblem problemOf(char letter) {
    using P = TextureProblem;
    const P problems[] = {P::None, P::Damaged, P::NotFound, P::OverBudget};
    return problems[std::string_view(".dmo").find(letter)];
}

// A file named again is read, decoded and uploaded once. It takes its pixels from the budget
// once more, announced by its header, as another file of its size does: a second that would not
// fit is refused even when the first turns out damaged, and a small file after them still loads.
TEST(TextureSet, AFileNamedAgainIsUploadedOnceAndSharedWhereTheDeviceCan) {
    testing::ScratchDirectory dir;
    dir.write("a.png", encode(TestImage::filled(3, 2, 0xFF102030), "PNG"));
    dir.write("b.png", encode(TestImage::filled(5, 1, 0xFF102030), "PNG"));
    const std::vector<uint8_t> whole = encode(TestImage::filled(64, 64, 0xFF102030), "PNG");
    dir.write("cut.png", {whole.begin(), whole.begin() + 60});
    const int side = 6000; // over half the budget's pixels, under the whole
    ASSERT_GT(int64_t{side} * side * 2, MapPixelBudget);
    const std::vector<uint8_t> big = testing::pngOf(side, side, 1, 0, {0});
    dir.write("big.png", {big.begin(), big.begin() + 100});
    dir.write("other.png", {big.begin(), big.begin() + 100});
    // name, files, sharing, uploads, shares, problems
    const std::tuple<const char*, std::vector<std::string>, Share, int, int, const char*> rows[] = {
        {"twice", {"a", "a"}, Share::Shares, 1, 1, ".."},
        {"three times among others", {"a", "b", "a", "b", "a"}, Share::Shares, 2, 3, "....."},
        {"a device that refuses to share", {"a", "a"}, Share::Refuses, 2, 1, ".."},
        {"no way to share", {"a", "a"}, Share::Absent, 2, 0, ".."},
        {"a damaged file twice", {"cut", "b", "cut"}, Share::Shares, 1, 0, "d.d"},
        {"a missing file twice", {"none", "none"}, Share::Shares, 0, 0, "mm"},
        {"a big file twice", {"big", "big", "a"}, Share::Shares, 1, 0, "do."},
        {"two big files", {"big", "other", "a"}, Share::Shares, 1, 0, "do."},
    };
    for (const auto& [name, files, sharing, uploads, shares, problems] : rows) {
        std::vector<std::string> paths;
        for (const std::string& file : files) {
            paths.push_back(dir.at(file + ".png"));
        }
        const Outcome out = load(paths, sharing);
        EXPECT_EQ(out.uploads, uploads) << name << ": uploads";
        EXPECT_EQ(out.shares, shares) << name << ": shares";
        ASSERT_EQ(out.loaded.size(), files.size()) << name;
        for (std::size_t i = 0; i < files.size(); ++i) {
            EXPECT_EQ(out.loaded[i].problem, problemOf(problems[i])) << name << ": file " << i;
            EXPECT_EQ(out.loaded[i].texture != nullptr, problems[i] == '.')
                << name << ": texture of file " << i;
        }
    }
    // Each slot gets a texture of its own of the same image.
    const Outcome out = load({dir.at("a.png"), dir.at("a.png")}, Share::Shares);
    ASSERT_NE(out.loaded[1].texture, nullptr);
    EXPECT_NE(out.loaded[0].texture.get(), out.loaded[1].texture.get()) << "one texture a slot";
    EXPECT_EQ(dynamic_cast<const CountedTexture&>(*out.loaded[1].texture).width, 3)
        << "the width of the image shared";
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
    EXPECT_EQ(std::tuple(second->rect().page, second->rect().x, second->rect().y),
              std::tuple(first->rect().page, first->rect().x, first->rect().y))
        << "the atlas place";
    EXPECT_EQ(second->name(), first->name()) << "the filtered copy";
    loaded[0].texture.reset();
    // A texture of the same size loaded now must not take the place the second still reads.
    const std::string b = file("b.png", encode(TestImage::filled(4, 4, 0xFFFF0000), "PNG"));
    auto other = device->loadTexture(b);
    const auto* third = dynamic_cast<const GlTexture*>(other.get());
    ASSERT_NE(third, nullptr);
    EXPECT_NE(std::tuple(third->rect().page, third->rect().x, third->rect().y),
              std::tuple(second->rect().page, second->rect().x, second->rect().y))
        << "the new texture's place (" << third->rect().x << ", " << third->rect().y << ")";
}

} // namespace
} // namespace tavo
