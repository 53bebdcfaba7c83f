// pointtool: checks, dumps and builds point files from the command line.

#include <QCoreApplication>
#include <iostream>

#include "tools/pointtool/commands.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    return tavo::pointtool::runPointTool(QCoreApplication::arguments(), std::cout, std::cerr);
}
