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

// Two records written out byte by byte: count 2, then
//   (1.5, -2.0, 100.25) heading -pi/8, parameters -1 127 -128 0
//   (0.5, 3.0, -2.0)    heading 1.5,   parameters 3 6 -7 42
const Bytes kTwoPoints = {
    0x02, 0x00,                                     //
    0x00, 0x00, 0xc0, 0x3f, 0x00, 0x00, 0x00, 0xc0, //
    0x00, 0x80, 0xc8, 0x42, 0xd8, 0x0f, 0xc9, 0xbe, //
    0xff, 0x7f, 0x80, 0x00,                         //
    0x00, 0x00, 0x00, 0x3f, 0x00, 0x00, 0x40, 0x40, //
    0x00, 0x00, 0x00, 0xc0, 0x00, 0x00, 0xc0, 0x3f, //
    0x03, 0x06, 0xf9, 0x2a,                         //
};

Bytes pointFileBytes(int16_t count, std::size_t records) {
    Bytes bytes = {static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8)};
    for (std::size_t i = 0; i < records; ++i) {
        PointRecord point;
        point.x = static_cast<float>(i);
        point.p4 = static_cast<int8_t>(i);
        Bytes one = encodePointFile(std::span(&point, 1));
        bytes.insert(bytes.end(), one.begin() + 2, one.end());
    }
    return bytes;
}

class PointFile : public ::testing::Test {
  protected:
    void SetUp() override { state->window = &platform; }

    // Fills slots with recognisable points: slot i at x = 1000 + i, id i.
    void fillSlots(std::initializer_list<int> slots) {
        for (int slot : slots) {
            state->points[slot].x = 1000.0f + static_cast<float>(slot);
            state->points[slot].p4 = static_cast<int8_t>(slot);
            state->pointUsed[slot] = 1;
        }
    }

    void expectOneErrorBox() {
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(platform.boxes[0].text, "file open error");
        EXPECT_EQ(platform.boxes[0].caption, "error");
        EXPECT_EQ(platform.boxes[0].buttons, BoxButtons::Ok);
        EXPECT_EQ(platform.boxes[0].icon, BoxIcon::None);
        EXPECT_FALSE(platform.boxes[0].ownerless);
    }

    testing::ScratchDir dir;
    testing::FakePlatform platform;
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
};

TEST_F(PointFile, HandBuiltFileLoadsFieldByFieldAndSavesToTheSameBytes) {
    fillSlots({0, 1, 2, 3}); // replaced by the load
    ASSERT_TRUE(loadPointFile(*state, dir.write("two.pd1", kTwoPoints)));

    EXPECT_EQ(countUsedPoints(*state), 2);
    const PointRecord& a = state->points[0];
    EXPECT_EQ(a.x, 1.5f);
    EXPECT_EQ(a.y, -2.0f);
    EXPECT_EQ(a.z, 100.25f);
    EXPECT_EQ(std::bit_cast<uint32_t>(a.r), 0xbec90fd8u);
    EXPECT_EQ(a.p1, -1);
    EXPECT_EQ(a.p2, 127);
    EXPECT_EQ(a.p3, -128);
    EXPECT_EQ(a.p4, 0);
    const PointRecord& b = state->points[1];
    EXPECT_EQ(b.x, 0.5f);
    EXPECT_EQ(b.y, 3.0f);
    EXPECT_EQ(b.z, -2.0f);
    EXPECT_EQ(b.r, 1.5f);
    EXPECT_EQ(b.p1, 3);
    EXPECT_EQ(b.p2, 6);
    EXPECT_EQ(b.p3, -7);
    EXPECT_EQ(b.p4, 42);

    ASSERT_TRUE(savePointFile(*state, dir.file("again.pd1")));
    EXPECT_EQ(dir.read("again.pd1"), kTwoPoints);
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(PointFile, UsedSlotsSavePackedInSlotOrderAndLoadUnselectedFromSlotZero) {
    fillSlots({0, 5, 7});
    state->pointUsed[5] = 2;    // selected points are saved like any other
    state->points[3].x = -1.0f; // a free slot's stale bytes are never saved
    ASSERT_TRUE(savePointFile(*state, dir.file("packed.pd1")));
    EXPECT_EQ(state->pointUsed[5], 2); // saving leaves the selection alone

    Bytes bytes = dir.read("packed.pd1");
    ASSERT_EQ(bytes.size(), 2u + 3 * 20);
    EXPECT_EQ(bytes[0], 3);
    EXPECT_EQ(bytes[1], 0);

    auto loaded = std::make_unique<EditorState>();
    ASSERT_TRUE(loadPointFile(*loaded, dir.file("packed.pd1")));
    const int expectedIds[] = {0, 5, 7};
    for (int slot = 0; slot < MaxPoints; ++slot) {
        EXPECT_EQ(loaded->pointUsed[slot], slot < 3 ? 1 : 0) << slot;
    }
    for (int slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(loaded->points[slot].p4, expectedIds[slot]);
        EXPECT_EQ(loaded->points[slot].x, 1000.0f + static_cast<float>(expectedIds[slot]));
    }
}

TEST_F(PointFile, FloatsAndSignedParametersRoundTripBitForBit) {
    const uint32_t patterns[] = {0x80000000u /* -0 */, 0x7fc12345u /* NaN with payload */,
                                 0x00000001u /* smallest denormal */, 0xff800000u /* -inf */};
    for (int i = 0; i < 4; ++i) {
        PointRecord& point = state->points[i * 50];
        point.x = std::bit_cast<float>(patterns[i]);
        point.y = std::bit_cast<float>(patterns[(i + 1) % 4]);
        point.z = std::bit_cast<float>(patterns[(i + 2) % 4]);
        point.r = std::bit_cast<float>(patterns[(i + 3) % 4]);
        point.p1 = static_cast<int8_t>(-128 + i);
        point.p2 = static_cast<int8_t>(127 - i);
        point.p3 = static_cast<int8_t>(-1 - i);
        point.p4 = static_cast<int8_t>(i);
        state->pointUsed[i * 50] = 1;
    }
    ASSERT_TRUE(savePointFile(*state, dir.file("bits.pd1")));
    auto loaded = std::make_unique<EditorState>();
    ASSERT_TRUE(loadPointFile(*loaded, dir.file("bits.pd1")));
    for (int i = 0; i < 4; ++i) {
        const PointRecord& in = state->points[i * 50];
        const PointRecord& out = loaded->points[i];
        EXPECT_EQ(std::bit_cast<uint32_t>(out.x), std::bit_cast<uint32_t>(in.x));
        EXPECT_EQ(std::bit_cast<uint32_t>(out.y), std::bit_cast<uint32_t>(in.y));
        EXPECT_EQ(std::bit_cast<uint32_t>(out.z), std::bit_cast<uint32_t>(in.z));
        EXPECT_EQ(std::bit_cast<uint32_t>(out.r), std::bit_cast<uint32_t>(in.r));
        EXPECT_EQ(out.p1, in.p1);
        EXPECT_EQ(out.p2, in.p2);
        EXPECT_EQ(out.p3, in.p3);
        EXPECT_EQ(out.p4, in.p4);
    }
}

TEST_F(PointFile, FullAndEmptyTablesSave) {
    ASSERT_TRUE(savePointFile(*state, dir.file("none.pd1")));
    EXPECT_EQ(dir.read("none.pd1"), (Bytes{0, 0}));

    for (int slot = 0; slot < MaxPoints; ++slot) {
        state->pointUsed[slot] = 1;
    }
    ASSERT_TRUE(savePointFile(*state, dir.file("full.pd1")));
    Bytes bytes = dir.read("full.pd1");
    EXPECT_EQ(bytes.size(), 2u + 200 * 20);
    EXPECT_EQ(bytes[0], 200);
    EXPECT_EQ(bytes[1], 0);
}

TEST_F(PointFile, FilesThatOpenReplaceThePointsWithTheirCompleteRecords) {
    struct Case {
        const char* what;
        Bytes bytes;
        int loaded;
    };
    Bytes truncated = pointFileBytes(3, 3);
    truncated.resize(truncated.size() - 7);
    const Case cases[] = {
        {"empty file", {}, 0},
        {"one byte of the count", {0x05}, 0},
        {"count zero", pointFileBytes(0, 2), 0},
        {"count -1", pointFileBytes(-1, 4), 0},
        {"count -32768", pointFileBytes(-32768, 4), 0},
        {"record cut short", truncated, 2},
        {"count beyond the records", pointFileBytes(50, 10), 10},
        {"count 32767", pointFileBytes(32767, 250), 200},
        {"count 201", pointFileBytes(201, 201), 200},
        {"bytes after the last record", pointFileBytes(4, 6), 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        state = std::make_unique<EditorState>();
        state->window = &platform;
        fillSlots({0, 100, 199});
        state->pointUsed[100] = 2;
        ASSERT_TRUE(loadPointFile(*state, dir.write("case.pd1", c.bytes)));
        EXPECT_EQ(countUsedPoints(*state), c.loaded);
        for (int slot = 0; slot < MaxPoints; ++slot) {
            ASSERT_EQ(state->pointUsed[slot], slot < c.loaded ? 1 : 0) << slot;
        }
        for (int slot = 0; slot < c.loaded; ++slot) {
            ASSERT_EQ(state->points[slot].p4, static_cast<int8_t>(slot));
        }
    }
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(PointFile, PathsThatCannotBeReadKeepThePointsInMemory) {
    std::filesystem::create_directory(dir.file("folder.pd1"));
    ASSERT_EQ(::mkfifo(dir.file("fifo.pd1").c_str(), 0600), 0);
    const std::string paths[] = {dir.file("missing.pd1"),       dir.file("folder.pd1"),
                                 dir.file("no/such/dir/x.pd1"), "",
                                 dir.file("fifo.pd1"),          "/dev/zero"};
    for (const auto& path : paths) {
        SCOPED_TRACE(path);
        platform.boxes.clear();
        state->pointUsed.fill(0);
        fillSlots({3, 9});
        state->pointUsed[9] = 2;
        EXPECT_FALSE(loadPointFile(*state, path));
        expectOneErrorBox();
        EXPECT_EQ(countUsedPoints(*state), 2);
        EXPECT_EQ(state->pointUsed[3], 1);
        EXPECT_EQ(state->pointUsed[9], 2); // even the selection survives
        EXPECT_EQ(state->points[9].x, 1009.0f);
    }
}

TEST_F(PointFile, SavesThatCannotOpenFailWithTheMessageAndWriteNothing) {
    fillSlots({1});
    std::filesystem::create_directory(dir.file("folder.pd1"));
    const std::string paths[] = {dir.file("folder.pd1"), dir.file("no/such/dir/x.pd1"), ""};
    for (const auto& path : paths) {
        SCOPED_TRACE(path);
        platform.boxes.clear();
        EXPECT_FALSE(savePointFile(*state, path));
        expectOneErrorBox();
    }
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"folder.pd1"});
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("folder.pd1")));
}

// Makes every write past `bytes` fail with EFBIG for the rest of its scope: a disk that fills
// up after the file was opened.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST_F(PointFile, AWriteThatFailsAfterOpeningKeepsTheOldFileAndLeavesNoTemporary) {
    const Bytes old = pointFileBytes(1, 1);
    dir.write("map.pd1", old);
    fillSlots({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}); // 202 bytes: more than the limit allows
    {
        FileSizeLimit limit(64);
        EXPECT_FALSE(savePointFile(*state, dir.file("map.pd1")));
    }
    expectOneErrorBox();
    EXPECT_EQ(dir.read("map.pd1"), old);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"map.pd1"});

    // Without a window the failure is still reported by the result.
    state->window = nullptr;
    {
        FileSizeLimit limit(64);
        EXPECT_FALSE(savePointFile(*state, dir.file("map.pd1")));
    }
    EXPECT_EQ(dir.read("map.pd1"), old);
    EXPECT_EQ(platform.boxes.size(), 1u);

    ASSERT_TRUE(savePointFile(*state, dir.file("map.pd1")));
    EXPECT_EQ(dir.read("map.pd1").size(), 2u + 10 * 20);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"map.pd1"});
}

TEST(PointFileCodec, EncodingNeverCountsMoreThanTheTableHolds) {
    std::vector<PointRecord> many(MaxPoints + 5);
    Bytes bytes = encodePointFile(many);
    EXPECT_EQ(bytes.size(), 2u + 200 * 20);
    PointFileContents contents = decodePointFile(bytes);
    EXPECT_TRUE(contents.hasCount);
    EXPECT_EQ(contents.declaredCount, 200);
    EXPECT_EQ(contents.records.size(), 200u);
    EXPECT_EQ(contents.fileSize, bytes.size());

    PointFileContents none = decodePointFile(Bytes{0x07});
    EXPECT_FALSE(none.hasCount);
    EXPECT_TRUE(none.records.empty());
}

} // namespace
} // namespace tavo
