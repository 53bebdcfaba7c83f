// Point and block files.

#include <cmath>
#include <limits>

#include "fuzz/seeds/seed_files.h"
#include "pointeditor/data/byte_order.h"
#include "pointeditor/data/point_file.h"

namespace tavo::fuzz {
namespace {

PointRecord point(int i) {
    PointRecord p;
    p.x = static_cast<float>(i) * 2.5f - 100.0f;
    p.y = static_cast<float>(i % 7);
    p.z = -static_cast<float>(i) * 1.25f;
    p.r = -0.3926990f * static_cast<float>(i % 16);
    p.p1 = static_cast<int8_t>(i % 8 - 1);
    p.p2 = static_cast<int8_t>(i % 5);
    p.p3 = static_cast<int8_t>(i - 1);
    p.p4 = static_cast<int8_t>(i);
    return p;
}

std::vector<PointRecord> points(int count) {
    std::vector<PointRecord> list;
    for (int i = 0; i < count; ++i) {
        list.push_back(point(i));
    }
    return list;
}

std::vector<uint8_t> withCount(std::vector<uint8_t> file, int16_t count) {
    auto bits = static_cast<uint16_t>(count);
    file[0] = static_cast<uint8_t>(bits);
    file[1] = static_cast<uint8_t>(bits >> 8);
    return file;
}

// A box of the given size at the given place, every face on its own texture slot.
BlockRecord block(float x, float y, float z, float size, int firstSlot) {
    static constexpr int Ring[8][3] = {{0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1},
                                       {0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}};
    BlockRecord b;
    for (int c = 0; c < 8; ++c) {
        b.x[c] = x + size * static_cast<float>(Ring[c][0]);
        b.y[c] = y + size * static_cast<float>(Ring[c][1]);
        b.z[c] = z + size * static_cast<float>(Ring[c][2]);
    }
    for (int f = 0; f < 6; ++f) {
        for (int k = 0; k < 4; ++k) {
            b.u[f][k] = (k == 1 || k == 2) ? size / 4.0f : 0.0f;
            b.v[f][k] = (k >= 2) ? size / 4.0f : 0.0f;
        }
        b.textureId[f] = (firstSlot + f) % TextureCount;
    }
    b.inUse = 1;
    return b;
}

std::vector<BlockRecord> blocks(int count) {
    std::vector<BlockRecord> list;
    for (int i = 0; i < count; ++i) {
        list.push_back(block(static_cast<float>(i % 16) * 10.0f, static_cast<float>(i / 16) * 3.0f,
                             static_cast<float>(i % 5) * -7.0f, 2.0f + static_cast<float>(i % 3),
                             i));
    }
    return list;
}

// The names the block fuzz target's map folder answers to (see block_file_check.cpp), in the
// spellings a Windows map may use for them, and names that resolve to nothing.
const std::vector<std::string> TextureNames = {
    "wall.bmp",
    "FLOOR.png",
    "sub\\deep\\tile.jpg",
    "SUB\\Deep\\grass.bmp",
    "\x95\xc7.bmp", // 壁.bmp
    "broken.png",
    "missing.bmp",
    "",
    ".\\sub\\..\\wall.bmp",
    "empty.bmp",
};

} // namespace

void appendBlockRecord(std::vector<uint8_t>& out, const BlockRecord& b) {
    for (const float* axis : {b.x, b.y, b.z}) {
        for (int c = 0; c < 8; ++c) {
            bytes::putF32(out, axis[c]);
        }
    }
    for (const auto* table : {&b.u, &b.v}) {
        for (int f = 0; f < 6; ++f) {
            for (int k = 0; k < 4; ++k) {
                bytes::putF32(out, (*table)[f][k]);
            }
        }
    }
    for (int f = 0; f < 6; ++f) {
        bytes::putU32(out, static_cast<uint32_t>(b.textureId[f]));
    }
    bytes::putU32(out, static_cast<uint32_t>(b.inUse));
}

std::vector<uint8_t> encodeBlockFile(std::span<const std::string> textureNames, int16_t count,
                                     std::span<const BlockRecord> records) {
    std::vector<uint8_t> out;
    for (int slot = 0; slot < TextureCount; ++slot) {
        std::string name =
            slot < static_cast<int>(textureNames.size())
                ? textureNames[static_cast<std::size_t>(slot)].substr(0, TextureNameSize - 1)
                : std::string();
        name.resize(TextureNameSize, '\0');
        out.insert(out.end(), name.begin(), name.end());
    }
    bytes::putI16(out, count);
    for (const BlockRecord& b : records) {
        appendBlockRecord(out, b);
    }
    return out;
}

std::vector<SeedFile> pointFileSeeds() {
    std::vector<PointRecord> odd = points(4);
    odd[1].x = std::numeric_limits<float>::quiet_NaN();
    odd[1].y = -0.0f;
    odd[2].z = std::numeric_limits<float>::infinity();
    odd[3].p1 = -128;
    odd[3].p2 = 127;
    std::vector<uint8_t> full = encodePointFile(points(MaxPoints));
    std::vector<uint8_t> shortFile = encodePointFile(points(5));
    shortFile.resize(2 + 2 * PointRecordSize + 7); // two records and part of a third
    return {
        {"empty.pd1", encodePointFile({})},
        {"one.pd1", encodePointFile(points(1))},
        {"odd_values.pd1", encodePointFile(odd)},
        {"full.pd1", full},
        {"count_over_table.pd1", withCount(full, 300)},
        {"negative_count.pd1", withCount(encodePointFile(points(3)), -1)},
        {"cut_short.pd1", shortFile},
        {"one_byte.pd1", {7}},
    };
}

std::vector<SeedFile> blockFileSeeds() {
    std::vector<BlockRecord> three = blocks(3);
    three[1].inUse = 0;
    three[2].textureId[0] = -1;
    three[2].textureId[1] = TextureCount;
    three[2].x[0] = std::numeric_limits<float>::quiet_NaN();
    std::vector<uint8_t> cut = encodeBlockFile(TextureNames, 3, blocks(3));
    cut.resize(cut.size() - 100);
    std::vector<std::string> noNul = TextureNames;
    std::vector<uint8_t> unterminated = encodeBlockFile(noNul, 1, blocks(1));
    std::fill_n(unterminated.begin(), TextureNameSize, 'w'); // name 0 fills its 31 bytes
    std::vector<uint8_t> headerOnly = encodeBlockFile(TextureNames, 0, {});
    headerOnly.resize(200);
    return {
        {"names_only.bd1", encodeBlockFile(TextureNames, 0, {})},
        {"three.bd1", encodeBlockFile(TextureNames, 3, three)},
        {"full.bd1", encodeBlockFile(TextureNames, MaxBlocks, blocks(MaxBlocks))},
        {"count_over_table.bd1", encodeBlockFile(TextureNames, 200, blocks(MaxBlocks))},
        {"negative_count.bd1", encodeBlockFile(TextureNames, -5, blocks(2))},
        {"cut_short.bd1", cut},
        {"unterminated_name.bd1", unterminated},
        {"header_cut.bd1", headerOnly},
    };
}

} // namespace tavo::fuzz
