#include <gtest/gtest.h>

#include <vector>

#include "pointeditor/shell/render_options.h"

namespace tavo {
namespace {

RenderOptionsResult parse(std::vector<std::string_view> arguments) {
    return parseRenderOptions(arguments);
}

TEST(RenderOptions, AFullCommandLine) {
    const auto result = parse({"--lang",   "j",
                               "--block",  "map.bd1",
                               "--points", "m.pd1",
                               "--zoom",   "0.5",
                               "--pan",    "1.5,-2,3",
                               "--camera", "40,30,-40,2.356,2.25",
                               "--params", "3,-1,127,-128",
                               "--select", "10",
                               "-3",       "127",
                               "-o",       "out.png"});
    ASSERT_EQ(result.error, "");
    const RenderOptions& o = result.options;
    EXPECT_EQ(o.english, 0);
    EXPECT_EQ(o.blockFile, "map.bd1");
    EXPECT_EQ(o.pointFile, "m.pd1");
    EXPECT_EQ(o.zoom, 0.5f);
    EXPECT_EQ(o.pan, (std::array<float, 3>{1.5f, -2.0f, 3.0f}));
    EXPECT_EQ(o.camera, (std::array<float, 5>{40.0f, 30.0f, -40.0f, 2.356f, 2.25f}));
    EXPECT_EQ(o.params, (std::array<int, 4>{3, -1, 127, -128}));
    EXPECT_EQ(o.select, (std::vector<int>{10, -3, 127}));
    EXPECT_EQ(o.output, "out.png");
}

TEST(RenderOptions, BadCommandLinesGiveOneLineAndNoCrash) {
    const std::vector<std::vector<std::string_view>> bad = {
        {"--zoom", "0.05", "-o", "a.png"},
        {"--zoom", "11", "-o", "a.png"},
        {"--zoom", "nan", "-o", "a.png"},
        {"--zoom", "2x", "-o", "a.png"},
        {"--pan", "1,2", "-o", "a.png"},
        {"--pan", "1,2,3,4", "-o", "a.png"},
        {"--pan", "1,,3", "-o", "a.png"},
        {"--camera", "1,2,3,4", "-o", "a.png"},
        {"--params", "1,2,3,128", "-o", "a"},
        {"--select", "-o", "a.png"},
        {"--select", "200", "-o", "a.png"},
        {"--lang", "E", "-o", "a.png"},
        {"--block"},
        {"--frobnicate", "-o", "a.png"},
        {"--block", "map.bd1"},
        {"--pan", "inf,0,0", "-o", "a.png"},
    };
    for (const auto& arguments : bad) {
        const auto result = parse(arguments);
        EXPECT_NE(result.error, "") << arguments.front();
        EXPECT_EQ(result.error.find('\n'), std::string::npos);
    }
}

TEST(RenderOptions, HelpAndVersionNeedNoOutput) {
    EXPECT_TRUE(parse({"--help"}).options.help);
    EXPECT_EQ(parse({"--help"}).error, "");
    EXPECT_TRUE(parse({"--version"}).options.version);
    EXPECT_EQ(parse({"--version"}).error, "");
}

} // namespace
} // namespace tavo
