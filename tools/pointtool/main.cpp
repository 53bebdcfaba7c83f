// pointtool: checks, dumps and builds point files from the command line.

#include <iostream>

#include "tools/pointtool/commands.h"

int main(int argc, char* argv[]) {
    return tavo::pointtool::runPointTool(std::vector<std::string>(argv, argv + argc), std::cout,
                                         std::cerr);
}
