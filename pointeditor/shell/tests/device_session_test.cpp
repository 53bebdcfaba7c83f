#include <gtest/gtest.h>

#include <memory>

#include "pointeditor/data/texture.h"
#include "pointeditor/shell/device_session.h"
#include "pointeditor/shell/tests/qt_app.h"
#include "tests/support/fake_platform.h"

namespace tavo {
namespace {

class DeviceLife : public ::testing::Test {
  protected:
    DeviceLife() {
        state->window = &platform;
        // Leftovers that start-up must clear.
        state->pointUsed[7] = 2;
        state->blocks[3].inUse = 1;
        state->textureNames[0][0] = 'a';
        state->blockDir[0] = '/';
    }
    void expectEmptyTables() {
        EXPECT_EQ(countUsedPoints(*state), 0);
        EXPECT_EQ(state->blocks[3].inUse, 0);
        EXPECT_EQ(state->textureNames[0][0], '\0');
        EXPECT_EQ(state->blockDir[0], '\0');
    }

    testing::QtAppUser app;
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    std::unique_ptr<Canvas> canvas = std::make_unique<Canvas>();
    testing::FakePlatform platform;
};

DeviceFactory failingWith(DeviceFailure failure) {
    return [failure](Canvas&, DeviceFailure& out) -> std::unique_ptr<Device> {
        out = failure;
        return nullptr;
    };
}

TEST_F(DeviceLife, AFailedStartIsToldInJapaneseWithoutOwnerAndEndsTheRun) {
    struct Case {
        DeviceFailure failure;
        const char* text;
    };
    for (const Case& c : {Case{DeviceFailure::CreateFailed, "Direct3Dの作成に失敗しました"},
                          Case{DeviceFailure::InitFailed, "Direct3Dの初期化に失敗しました"}}) {
        platform.boxes.clear();
        state->english = 1;
        DeviceSession session(*canvas, failingWith(c.failure));
        session.initDevice(*state);
        EXPECT_EQ(state->running, 0);
        EXPECT_EQ(state->device, nullptr);
        expectEmptyTables();
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(platform.boxes[0].text, c.text);
        EXPECT_EQ(platform.boxes[0].caption, "ERROR");
        EXPECT_EQ(platform.boxes[0].buttons, BoxButtons::Ok);
        EXPECT_EQ(platform.boxes[0].icon, BoxIcon::Error);
        EXPECT_TRUE(platform.boxes[0].ownerless);

        // The font was made before the device: the text still reaches the canvas.
        session.drawText(600, 40, "ABC", 0x00A05050, 0x00FFFFFF);
        EXPECT_NE(canvas->at(600, 40), 0xFFC0C0C0u);
        session.releaseDevice(*state);
        session.releaseDevice(*state); // releasing twice, or what never existed, is harmless
    }
}

TEST_F(DeviceLife, AStartedDeviceDrawsTheTexturesAndIsReleasedWithThem) {
    DeviceSession session(*canvas);
    session.initDevice(*state);
    ASSERT_EQ(state->running, 1) << "no headless OpenGL device on this machine";
    ASSERT_NE(state->device, nullptr);
    EXPECT_EQ(static_cast<TextureLoader*>(state->device), state->textureLoader);
    expectEmptyTables();
    EXPECT_TRUE(platform.boxes.empty());

    struct Probe : Texture {
        explicit Probe(bool& released) : flag(released) {}
        ~Probe() override { flag = true; }
        bool& flag;
    };
    bool released = false;
    state->textures[4] = std::make_unique<Probe>(released);
    session.releaseDevice(*state);
    EXPECT_TRUE(released);
    EXPECT_EQ(state->device, nullptr);
    EXPECT_EQ(state->textureLoader, nullptr);
    // After release no text is drawn any more.
    const uint32_t before = canvas->at(601, 45);
    session.drawText(600, 40, "ABC", 0x00A05050, 0x00FFFFFF);
    EXPECT_EQ(canvas->at(601, 45), before);
}

} // namespace
} // namespace tavo
