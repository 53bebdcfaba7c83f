#include <gtest/gtest.h>

#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <algorithm>
#include <cstdlib>

#include "samples/sample_mission.h"

namespace tavo {
namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "unreadable: " + path.toUtf8();
}

// Largest difference of any channel of any pixel; 256 when the sizes differ.
int largestDifference(const QString& path, const QString& otherPath) {
    const QImage a = QImage(path).convertToFormat(QImage::Format_RGB32);
    const QImage b = QImage(otherPath).convertToFormat(QImage::Format_RGB32);
    int largest = a.size() != b.size() || a.isNull() ? 256 : 0;
    for (qsizetype i = 0; largest < 256 && i < a.sizeInBytes(); ++i) {
        largest = std::max(largest, std::abs(a.constBits()[i] - b.constBits()[i]));
    }
    return largest;
}

TEST(SampleMission, TheCommittedFilesAreStillTheGeneratorsOutput) {
    int argc = 1;
    char name[] = "sample_tests", *argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    QTemporaryDir out;
    const auto written = sample::writeSampleMission(out.path().toStdString());
    ASSERT_TRUE(written) << (written ? "" : written.error());
    const QString committed = TAVO_SOURCE_DIR "/samples/";
    for (const char* file : {"sample.bd1", "sample.pd1"}) {
        EXPECT_EQ(bytesOf(out.filePath(file)), bytesOf(committed + file))
            << file << " differs: run generate_sample";
    }
    // Image encoders may differ between library versions; the pixels must not (JPEG: nearly).
    for (const auto& texture : sample::sampleTextures()) {
        const QString file = QString::fromStdString(texture.fileName);
        EXPECT_LE(largestDifference(committed + file, out.filePath(file)),
                  file.endsWith(".jpg") ? 6 : 0)
            << texture.fileName;
    }
}

} // namespace
} // namespace tavo
