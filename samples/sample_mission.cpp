#include "samples/sample_mission.h"

#include <QtCore/QFile>
#include <QtCore/QSaveFile>
#include <array>
#include <bit>
#include <cmath>

#include "pointeditor/data/point_file.h"

namespace tavo::sample {

namespace {

// Texture slots of the sample map.
enum Slot : int32_t { Floor = 0, Wall = 1, Crate = 2, Plate = 3 };

constexpr float Tile = 8.0f; // world units per texture repeat

// The faces as corner quadruples in drawing order.
constexpr int Faces[6][4] = {{3, 2, 1, 0}, {4, 5, 6, 7}, {0, 1, 5, 4},
                             {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};

// Deterministic noise in 0..255 for texture grain.
int grain(int x, int y, int seed) {
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
                 static_cast<uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<int>((h ^ (h >> 16)) & 0xFF);
}

QRgb shade(int r, int g, int b, int noise, int amount) {
    int d = (noise - 128) * amount / 128;
    auto clamp = [](int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); };
    return qRgb(clamp(r + d), clamp(g + d), clamp(b + d));
}

QImage floorTexture() { // grey tiles with dark joints
    QImage image(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            bool joint = x % 32 == 0 || y % 32 == 0;
            bool dark = ((x / 32) + (y / 32)) % 2 == 1;
            int base = joint ? 70 : (dark ? 135 : 165);
            image.setPixel(x, y, shade(base, base + 6, base - 4, grain(x, y, 1), 10));
        }
    }
    return image;
}

QImage wallTexture() { // red bricks, every other row shifted by half a brick
    QImage image(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            int row = y / 16;
            int shifted = (x + (row % 2) * 16) % 64;
            bool mortar = y % 16 == 0 || shifted % 32 == 0;
            QRgb colour = mortar ? shade(190, 185, 175, grain(x, y, 2), 12)
                                 : shade(150, 62, 45, grain(x, y, 3), 24);
            image.setPixel(x, y, colour);
        }
    }
    return image;
}

QImage crateTexture() { // wooden planks in a frame with a diagonal brace
    QImage image(64, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            bool frame = x < 6 || x >= 58 || y < 6 || y >= 58;
            bool brace = std::abs(x - y) < 5;
            bool gap = !frame && !brace && y % 13 == 0;
            int base = frame || brace ? 120 : 170;
            QRgb colour = gap ? qRgb(60, 40, 20)
                              : shade(base, base * 3 / 4, base / 3, grain(x / 2, y, 4), 20);
            image.setPixel(x, y, colour);
        }
    }
    return image;
}

QImage plateTexture() { // blue-grey metal plate with rivets
    QImage image(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            int dx = x % 16 - 3;
            int dy = y % 16 - 3;
            bool rivet = dx * dx + dy * dy <= 3;
            QRgb colour = rivet ? qRgb(220, 225, 235) : shade(95, 110, 130, grain(x, y, 5), 8);
            image.setPixel(x, y, colour);
        }
    }
    return image;
}

struct Vec {
    float x, y, z;
};

float distance(Vec a, Vec b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                     (a.z - b.z) * (a.z - b.z));
}

// A block from its eight corners: 0..3 the upper ring running +x then +z as seen from above, so
// every face runs clockwise seen from outside; 4..7 the lower ring, corner c + 4 under c.
BlockRecord makeBlock(const std::array<Vec, 8>& corners, int32_t texture) {
    BlockRecord block;
    for (int c = 0; c < 8; ++c) {
        block.x[c] = corners[static_cast<std::size_t>(c)].x;
        block.y[c] = corners[static_cast<std::size_t>(c)].y;
        block.z[c] = corners[static_cast<std::size_t>(c)].z;
    }
    for (int f = 0; f < 6; ++f) {
        const Vec q0 = corners[static_cast<std::size_t>(Faces[f][0])];
        const Vec q1 = corners[static_cast<std::size_t>(Faces[f][1])];
        const Vec q2 = corners[static_cast<std::size_t>(Faces[f][2])];
        const float w = distance(q0, q1) / Tile;
        const float h = distance(q1, q2) / Tile;
        const float u[4] = {0.0f, w, w, 0.0f};
        const float v[4] = {0.0f, 0.0f, h, h};
        for (int k = 0; k < 4; ++k) {
            block.u[f][k] = u[k];
            block.v[f][k] = v[k];
        }
        block.textureId[f] = texture;
    }
    block.inUse = 1;
    return block;
}

// An axis-aligned box from x0..x1, y0..y1, z0..z1.
BlockRecord box(float x0, float x1, float y0, float y1, float z0, float z1, int32_t texture) {
    return makeBlock({Vec{x0, y1, z0}, Vec{x1, y1, z0}, Vec{x1, y1, z1}, Vec{x0, y1, z1},
                      Vec{x0, y0, z0}, Vec{x1, y0, z0}, Vec{x1, y0, z1}, Vec{x0, y0, z1}},
                     texture);
}

// A ramp over x0..x1, z0..z1 rising from `low` at z0 to `high` at z1, standing on y = 0.
BlockRecord ramp(float x0, float x1, float z0, float z1, float low, float high, int32_t texture) {
    BlockRecord block =
        makeBlock({Vec{x0, low, z0}, Vec{x1, low, z0}, Vec{x1, high, z1}, Vec{x0, high, z1},
                   Vec{x0, 0.0f, z0}, Vec{x1, 0.0f, z0}, Vec{x1, 0.0f, z1}, Vec{x0, 0.0f, z1}},
                  texture);
    block.textureId[0] = Plate; // the slope
    return block;
}

PointRecord point(float x, float y, float z, float r, int p1, int p2, int p3, int p4) {
    return PointRecord{x,
                       y,
                       z,
                       r,
                       static_cast<int8_t>(p1),
                       static_cast<int8_t>(p2),
                       static_cast<int8_t>(p3),
                       static_cast<int8_t>(p4)};
}

void putU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}
void putF32(std::vector<uint8_t>& out, float value) {
    putU32(out, std::bit_cast<uint32_t>(value));
}

bool writeBytes(const QString& path, const std::vector<uint8_t>& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const auto size = static_cast<qint64>(bytes.size());
    return file.write(reinterpret_cast<const char*>(bytes.data()), size) == size && file.commit();
}

} // namespace

std::vector<SampleTexture> sampleTextures() {
    return {{"floor.png", floorTexture()},
            {"wall.bmp", wallTexture()},
            {"crate.jpg", crateTexture()},
            {"plate.png", plateTexture()}};
}

std::vector<BlockRecord> sampleBlocks() {
    return {
        box(-60, 60, -2, 0, -60, 60, Floor),  // the yard
        box(-60, 60, 0, 12, 58, 60, Wall),    // north wall
        box(-60, -10, 0, 12, -60, -58, Wall), // south wall, west of the gate
        box(10, 60, 0, 12, -60, -58, Wall),   // south wall, east of the gate
        box(-60, -58, 0, 12, -58, 58, Wall),  // west wall
        box(58, 60, 0, 12, -58, 58, Wall),    // east wall
        box(-40, -34, 0, 6, 20, 26, Crate),   // crates
        box(-33, -27, 0, 6, 20, 26, Crate),
        box(-37, -31, 6, 12, 20, 26, Crate), // stacked on the first two
        box(15, 21, 0, 6, -20, -14, Crate),
        box(30, 50, 0, 6, 30, 50, Plate),     // the platform
        ramp(34, 46, 10, 30, 0, 6, Plate),    // ramp up to it from the south
        ramp(-20, -8, -40, -25, 0, 3, Plate), // a low ramp in the yard
    };
}

std::vector<PointRecord> samplePoints() {
    constexpr float East = 1.5707964f;
    constexpr float South = 3.1415927f;
    return {
        // Human information: the soldiers' look and weapons (p2 type, p3 second weapon).
        point(-50, 0, -50, 0, 4, 26, 13, 1),
        // Humans: p2 names the information, p3 the path each one follows.
        point(-20, 0, 10, 0, 1, 1, 10, 2),
        point(40, 6, 40, South, 1, 1, 30, 3),
        point(0, 0, -45, 0, 6, 1, 40, 4),
        // Weapons lying about, and a random one.
        point(-30, 0, 30, 0, 2, 9, 0, 5),
        point(45, 6, 45, 0, 2, 13, 0, 6),
        point(18, 0, -10, East, 7, 1, 10, 7),
        // Small objects: a chair and two cones at the gate.
        point(-45, 0, 45, 0, 5, 7, 0, 8),
        point(-8, 0, -52, 0, 5, 11, 0, 9),
        point(8, 0, -52, 0, 5, 11, 0, 15),
        // A walking loop around the crates.
        point(-20, 0, 10, 0, 3, 0, 11, 10),
        point(-48, 0, 10, 0, 3, 0, 12, 11),
        point(-48, 0, 36, 0, 3, 0, 13, 12),
        point(-20, 0, 36, 0, 3, 0, 10, 13),
        // Up the ramp onto the platform and a guard post there.
        point(40, 0, 5, 0, 3, 1, 21, 20),
        point(40, 3, 20, 0, 3, 1, 22, 21),
        point(40, 6, 35, 0, 3, 2, 22, 22),
        // The platform guard patrols between two posts.
        point(40, 6, 40, 0, 3, 0, 31, 30),
        point(34, 6, 46, 0, 3, 0, 30, 31),
        // From the gate a random branch: to the ramp, or to a waiting post by the crate.
        point(0, 0, -45, 0, 3, 1, 41, 40),
        point(0, 0, -30, 0, 8, 20, 42, 41),
        point(12, 0, -25, 0, 3, 4, 42, 42),
        // The events: wait until human 3 is dead, wait until someone reaches the platform,
        // then the mission is won.
        point(-52, 0, -52, 0, 12, 3, 101, -100),
        point(-52, 0, -46, 0, 13, 22, 102, 101),
        point(-52, 0, -40, 0, 10, 0, 102, 102),
    };
}

std::vector<uint8_t> encodeBlockFile(const std::vector<std::string>& textureNames,
                                     const std::vector<BlockRecord>& blocks) {
    std::vector<uint8_t> out;
    for (int slot = 0; slot < TextureCount; ++slot) {
        std::string name = slot < static_cast<int>(textureNames.size())
                               ? textureNames[static_cast<std::size_t>(slot)]
                               : std::string();
        name.resize(TextureNameSize, '\0');
        name.back() = '\0';
        out.insert(out.end(), name.begin(), name.end());
    }
    const auto count = static_cast<uint16_t>(blocks.size());
    out.push_back(static_cast<uint8_t>(count));
    out.push_back(static_cast<uint8_t>(count >> 8));
    for (const BlockRecord& block : blocks) {
        for (const float* row : {block.x, block.y, block.z}) {
            for (int c = 0; c < 8; ++c) {
                putF32(out, row[c]);
            }
        }
        for (const auto* uv : {block.u, block.v}) {
            for (int f = 0; f < 6; ++f) {
                for (int k = 0; k < 4; ++k) {
                    putF32(out, uv[f][k]);
                }
            }
        }
        for (int f = 0; f < 6; ++f) {
            putU32(out, static_cast<uint32_t>(block.textureId[f]));
        }
        putU32(out, static_cast<uint32_t>(block.inUse));
    }
    return out;
}

Result<void, std::string> writeSampleMission(const std::string& directory) {
    const QString dir = QString::fromStdString(directory) + '/';
    std::vector<std::string> names;
    for (const SampleTexture& texture : sampleTextures()) {
        names.push_back(texture.fileName);
        const QString path = dir + QString::fromStdString(texture.fileName);
        const bool jpeg = texture.fileName.ends_with(".jpg");
        if (!texture.image.save(path, nullptr, jpeg ? 90 : -1)) {
            return "cannot write " + path.toStdString();
        }
    }
    if (!writeBytes(dir + "sample.bd1", encodeBlockFile(names, sampleBlocks()))) {
        return "cannot write " + directory + "/sample.bd1";
    }
    const std::vector<PointRecord> points = samplePoints();
    if (!writeBytes(dir + "sample.pd1", encodePointFile(points))) {
        return "cannot write " + directory + "/sample.pd1";
    }
    return {};
}

} // namespace tavo::sample
