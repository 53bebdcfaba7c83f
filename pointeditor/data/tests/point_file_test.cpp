#include <gtest/gtest.h>

#include <bit>
#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>

#include "pointeditor/data/point_file.h"
#include "pointeditor/data/tests/scratch_dir.h"
#include "tests/support/fake_platform.h"

namespace tavo {
namespace {

using Bytes = std::vector<uint8_t>;

// A count and `records` records; record i has x = i and id i.
Bytes pointFileBytes(int16_t count, std::size_t records) {
    Bytes bytes = {static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8)};
    for (std::size_t i = 0; i < records; ++i) {
        auto x = std::bit_cast<uint32_t>(static_cast<float>(i));
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<uint8_t>(x >> shift));
        }
        bytes.insert(bytes.end(), 15, 0);
        bytes.push_back(static_cast<uint8_t>(i));
    }
    return bytes;
}

class PointFile : public ::testing::Test {
  protected:
    void SetUp() override { state->window = &platform; }

    // Slot s gets x = 1000 + s and id s; the last slot listed is selected.
    void useSlots(std::initializer_list<int> slots) {
        state->pointUsed.fill(0);
        for (int slot : slots) {
            state->points[slot].x = 1000.0f + static_cast<float>(slot);
            state->points[slot].p4 = static_cast<int8_t>(slot);
            state->pointUsed[slot] = slot == *(slots.end() - 1) ? 2 : 1;
        }
    }

    void expectOnlyErrorBox() {
        ASSERT_EQ(platform.boxes.size(), 1u);
        const auto& box = platform.boxes[0];
        EXPECT_EQ(box.text, "file open error");
        EXPECT_EQ(box.caption, "error");
        EXPECT_EQ(box.buttons, BoxButtons::Ok);
        EXPECT_EQ(box.icon, BoxIcon::None);
        EXPECT_FALSE(box.ownerless);
        platform.boxes.clear();
    }

    testing::ScratchDir dir;
    testing::FakePlatform platform;
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
};

TEST_F(PointFile, HandBuiltFileLoadsFieldByFieldAndSavesToTheSameBytes) {
    const Bytes file = {
        0x01, 0x00,                                     // count 1
        0x00, 0x00, 0xc0, 0x3f, 0x00, 0x00, 0x00, 0xc0, // x 1.5, y -2
        0x00, 0x80, 0xc8, 0x42, 0xd8, 0x0f, 0xc9, 0xbe, // z 100.25, r -0.3926990
        0xff, 0x7f, 0x80, 0x00,                         // p1..p4 -1 127 -128 0
    };
    useSlots({0, 1, 2});
    ASSERT_TRUE(loadPointFile(*state, dir.write("one.pd1", file)));
    EXPECT_EQ(countUsedPoints(*state), 1);
    const PointRecord& point = state->points[0];
    EXPECT_EQ(point.x, 1.5f);
    EXPECT_EQ(point.y, -2.0f);
    EXPECT_EQ(point.z, 100.25f);
    EXPECT_EQ(std::bit_cast<uint32_t>(point.r), 0xbec90fd8u);
    EXPECT_EQ(std::tuple(point.p1, point.p2, point.p3, point.p4), std::tuple(-1, 127, -128, 0));

    ASSERT_TRUE(savePointFile(*state, dir.file("again.pd1")));
    EXPECT_EQ(dir.read("again.pd1"), file);
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(PointFile, UsedSlotsSavePackedAndComeBackUnselectedFromSlotZero) {
    useSlots({0, 5, 7});
    ASSERT_TRUE(savePointFile(*state, dir.file("packed.pd1")));
    EXPECT_EQ(state->pointUsed[7], 2); // saving keeps the selection
    EXPECT_EQ(dir.read("packed.pd1").size(), 2u + 3 * 20);

    auto loaded = std::make_unique<EditorState>();
    ASSERT_TRUE(loadPointFile(*loaded, dir.file("packed.pd1")));
    EXPECT_EQ(countUsedPoints(*loaded), 3);
    const int ids[] = {0, 5, 7};
    for (int slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(loaded->pointUsed[slot], 1);
        EXPECT_EQ(loaded->points[slot].p4, ids[slot]);
        EXPECT_EQ(loaded->points[slot].x, 1000.0f + static_cast<float>(ids[slot]));
    }

    useSlots({});
    ASSERT_TRUE(savePointFile(*state, dir.file("none.pd1")));
    EXPECT_EQ(dir.read("none.pd1"), (Bytes{0, 0}));
}

TEST_F(PointFile, AReadableFileReplacesThePointsWithItsCompleteRecordsOnly) {
    Bytes cut = pointFileBytes(3, 3);
    cut.resize(cut.size() - 7);
    const std::tuple<const char*, Bytes, int> cases[] = {
        {"empty", {}, 0},
        {"half a count", {0x05}, 0},
        {"count 0", pointFileBytes(0, 2), 0},
        {"count -1", pointFileBytes(-1, 4), 0},
        {"count -32768", pointFileBytes(-32768, 4), 0},
        {"last record cut", cut, 2},
        {"count beyond the records", pointFileBytes(50, 10), 10},
        {"count 32767", pointFileBytes(32767, 250), 200},
    };
    for (const auto& [what, bytes, loaded] : cases) {
        SCOPED_TRACE(what);
        useSlots({0, 100, 199});
        ASSERT_TRUE(loadPointFile(*state, dir.write("case.pd1", bytes)));
        for (int slot = 0; slot < MaxPoints; ++slot) {
            ASSERT_EQ(state->pointUsed[slot], slot < loaded ? 1 : 0) << slot;
            ASSERT_TRUE(slot >= loaded || state->points[slot].p4 == static_cast<int8_t>(slot));
        }
    }
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(PointFile, APathThatCannotBeReadKeepsThePointsInMemory) {
    std::filesystem::create_directory(dir.file("folder.pd1"));
    ASSERT_EQ(::mkfifo(dir.file("fifo.pd1").c_str(), 0600), 0);
    for (const std::string& path : {dir.file("missing.pd1"), dir.file("folder.pd1"),
                                    dir.file("fifo.pd1"), std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        useSlots({3, 9});
        EXPECT_FALSE(loadPointFile(*state, path));
        expectOnlyErrorBox();
        EXPECT_EQ(state->pointUsed[3], 1);
        EXPECT_EQ(state->pointUsed[9], 2);
        EXPECT_EQ(state->points[9].x, 1009.0f);
    }
}

// Every write past `bytes` fails with EFBIG while it lives: a disk that fills up after the
// file was opened.
struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
    rlimit saved{};
};

TEST_F(PointFile, AFailedSaveReportsAndLeavesTheOldFileAndNoTemporary) {
    const Bytes old = pointFileBytes(1, 1);
    dir.write("map.pd1", old);
    std::filesystem::create_directory(dir.file("folder.pd1"));
    useSlots({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}); // 202 bytes
    for (const std::string& path :
         {dir.file("folder.pd1"), dir.file("no/dir/x.pd1"), std::string()}) {
        EXPECT_FALSE(savePointFile(*state, path)) << path;
        expectOnlyErrorBox();
    }
    {
        FileSizeLimit limit(64);
        EXPECT_FALSE(savePointFile(*state, dir.file("map.pd1")));
        expectOnlyErrorBox();
        state->window = nullptr; // still refused, just not shown
        EXPECT_FALSE(savePointFile(*state, dir.file("map.pd1")));
    }
    EXPECT_EQ(dir.read("map.pd1"), old);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"folder.pd1", "map.pd1"}));
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("folder.pd1")));

    ASSERT_TRUE(savePointFile(*state, dir.file("map.pd1")));
    EXPECT_EQ(dir.read("map.pd1").size(), 2u + 10 * 20);
}

TEST(PointFileCodec, NeverCountsMoreThanTheTableHolds) {
    Bytes bytes = encodePointFile(std::vector<PointRecord>(MaxPoints + 5));
    EXPECT_EQ(bytes.size(), 2u + 200 * 20);
    EXPECT_EQ(decodePointFile(bytes).declaredCount, 200);
}

} // namespace
} // namespace tavo
