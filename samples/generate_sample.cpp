// generate_sample DIRECTORY: writes the sample mission (sample.bd1, sample.pd1 and its textures)
// into DIRECTORY. The files in samples/ are its output, committed so that they are there at once.

#include <QtGui/QGuiApplication>
#include <cstdio>
#include <string>

#include "samples/sample_mission.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: generate_sample DIRECTORY\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // the JPEG writer is a plugin
    if (const auto written = tavo::sample::writeSampleMission(argv[1]); !written) {
        std::fprintf(stderr, "generate_sample: %s\n", written.error().c_str());
        return 1;
    }
    return 0;
}
