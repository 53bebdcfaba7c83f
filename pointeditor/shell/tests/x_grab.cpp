// x_grab X Y W H FILE.png: saves a rectangle of the X screen named by DISPLAY, for the end-to-end
// tests that look at what the live editor shows.

#include <QtGui/QGuiApplication>
#include <QtGui/QPixmap>
#include <QtGui/QScreen>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: x_grab X Y W H FILE.png\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(
        0, std::atoi(argv[1]), std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]));
    return shot.save(QString::fromLocal8Bit(argv[5]), "PNG") ? 0 : 1;
}
