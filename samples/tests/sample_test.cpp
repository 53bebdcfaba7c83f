#include <gtest/gtest.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtGui/QGuiApplication>
#include <QtGui/QImageReader>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <set>

#include "pointeditor/data/block_file.h"
#include "pointeditor/data/point_file.h"
#include "samples/sample_mission.h"

namespace tavo {
namespace {

QGuiApplication& app() {
    static int argc = 1;
    static char name[] = "sample_tests";
    static char* argv[] = {name, nullptr};
    static auto* instance = new QGuiApplication(argc, argv);
    return *instance;
}

QString committed(const QString& name) {
    const char* root = std::getenv("TAVO_SOURCE_DIR");
    return QString::fromLocal8Bit(root != nullptr ? root : ".") + "/samples/" + name;
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<uint8_t> asVector(const QByteArray& bytes) {
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// Largest difference of any channel of any pixel; -1 when the sizes differ.
int largestDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull()) {
        return -1;
    }
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            QRgb p = a.pixel(x, y);
            QRgb q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)),
                                std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return largest;
}

TEST(SampleMission, TheCommittedFilesAreStillTheGeneratorsOutput) {
    app();
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    std::string error;
    ASSERT_TRUE(sample::writeSampleMission(out.path().toStdString(), error)) << error;
    for (const char* name : {"sample.bd1", "sample.pd1"}) {
        const QByteArray expected = bytesOf(committed(name));
        ASSERT_FALSE(expected.isEmpty()) << name;
        EXPECT_EQ(bytesOf(out.filePath(name)), expected) << name << " differs: run generate_sample";
    }
    // Image encoders may differ between library versions; the pixels must not (JPEG: nearly).
    for (const auto& texture : sample::sampleTextures()) {
        const QString name = QString::fromStdString(texture.fileName);
        const int tolerance = name.endsWith(".jpg") ? 6 : 0;
        const int difference =
            largestDifference(QImage(committed(name)), QImage(out.filePath(name)));
        EXPECT_GE(difference, 0) << texture.fileName;
        EXPECT_LE(difference, tolerance) << texture.fileName;
    }
}

TEST(SampleMission, MapNamesAJpegAPngAndABmpThatLieBesideIt) {
    app();
    const auto contents = decodeBlockFile(asVector(bytesOf(committed("sample.bd1"))));
    ASSERT_TRUE(contents.hasHeader);
    EXPECT_EQ(contents.declaredCount, static_cast<int16_t>(contents.blocks.size()));
    std::set<QByteArray> formats;
    for (const auto& name : contents.textureNames) {
        if (name[0] == '\0') {
            continue;
        }
        QImageReader reader(committed(QString::fromLatin1(name)));
        EXPECT_TRUE(reader.canRead()) << name;
        formats.insert(reader.format());
    }
    EXPECT_TRUE(formats.contains("jpeg"));
    EXPECT_TRUE(formats.contains("png"));
    EXPECT_TRUE(formats.contains("bmp"));
}

// Faces are seen from the side from which their corners run clockwise, which is the side that
// (q1 - q0) x (q2 - q1) points to. Every face with an area must face away from its block.
TEST(SampleMission, EveryBlockFaceIsVisibleFromOutside) {
    constexpr int faces[6][4] = {{3, 2, 1, 0}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                 {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    const auto contents = decodeBlockFile(asVector(bytesOf(committed("sample.bd1"))));
    ASSERT_GE(contents.blocks.size(), 10u);
    for (std::size_t b = 0; b < contents.blocks.size(); ++b) {
        const BlockRecord& block = contents.blocks[b];
        EXPECT_NE(block.inUse, 0);
        float cx = 0, cy = 0, cz = 0;
        for (int c = 0; c < 8; ++c) {
            cx += block.x[c] / 8;
            cy += block.y[c] / 8;
            cz += block.z[c] / 8;
        }
        for (int f = 0; f < 6; ++f) {
            const int* q = faces[f];
            // The first three corners give the direction; a face with no area has none.
            const int a = q[0], m = q[1], c = q[2];
            const float dx = block.x[m] - block.x[a], dy = block.y[m] - block.y[a],
                        dz = block.z[m] - block.z[a];
            const float ex = block.x[c] - block.x[m], ey = block.y[c] - block.y[m],
                        ez = block.z[c] - block.z[m];
            const float nx = dy * ez - dz * ey, ny = dz * ex - dx * ez, nz = dx * ey - dy * ex;
            const float best = std::sqrt(nx * nx + ny * ny + nz * nz);
            if (best == 0) {
                continue; // no area: drawn as nothing
            }
            const float outward =
                nx * (block.x[q[0]] - cx) + ny * (block.y[q[0]] - cy) + nz * (block.z[q[0]] - cz);
            EXPECT_GT(outward, 0) << "block " << b << " face " << f;
            EXPECT_GE(block.textureId[f], 0);
            EXPECT_LT(block.textureId[f], 4);
        }
    }
}

TEST(SampleMission, PointsCoverTheKindsAndEveryLinkNamesAPoint) {
    const auto contents = decodePointFile(asVector(bytesOf(committed("sample.pd1"))));
    ASSERT_TRUE(contents.hasCount);
    ASSERT_EQ(contents.records.size(), static_cast<std::size_t>(contents.declaredCount));
    auto state = std::make_unique<EditorState>();
    std::set<int> kinds;
    for (std::size_t i = 0; i < contents.records.size(); ++i) {
        state->points[i] = contents.records[i];
        state->pointUsed[i] = 1;
        kinds.insert(contents.records[i].p1);
    }
    for (int kind : {1, 2, 3, 4, 5, 6, 7, 8, 10, 12, 13}) {
        EXPECT_TRUE(kinds.contains(kind)) << "no point of kind " << kind;
    }
    int loops = 0;
    for (const PointRecord& p : contents.records) {
        const bool path = p.p1 == 3 || p.p1 == 8;
        const bool human = p.p1 == 1 || p.p1 == 6;
        const bool event = p.p1 >= 10 && p.p1 <= 19;
        if (path || human || event) {
            EXPECT_GE(findPointById(*state, p.p3), 0)
                << "kind " << int(p.p1) << " id " << int(p.p4);
        }
        if (p.p1 == 8 || (p.p1 >= 12 && p.p1 <= 16)) {
            EXPECT_GE(findPointById(*state, p.p2), 0)
                << "kind " << int(p.p1) << " id " << int(p.p4);
        }
        // A walking loop: following p3 from a WALK point comes back to it.
        if (p.p1 == 3 && p.p2 == 0) {
            int8_t id = p.p3;
            for (int step = 0; step < 10 && id != p.p4; ++step) {
                id = state->points[static_cast<std::size_t>(findPointById(*state, id))].p3;
            }
            loops += id == p.p4 ? 1 : 0;
        }
    }
    EXPECT_GE(loops, 4);
    // Ids are unique among the points that others link to.
    std::set<int> ids;
    for (const PointRecord& p : contents.records) {
        if (p.p1 == 3 || p.p1 == 8 || p.p1 >= 10) {
            EXPECT_TRUE(ids.insert(p.p4).second) << "id " << int(p.p4) << " twice";
        }
    }
}

} // namespace
} // namespace tavo
