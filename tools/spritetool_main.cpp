// spritetool: compiles sprite sources and prints compiled sprites. See spritetool_cli.h.
#include <iostream>
#include <string>
#include <vector>

#include "tools/spritetool_cli.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return tools::runSpritetool(args, std::cout, std::cerr);
}
