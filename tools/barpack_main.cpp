// barpack: builds data.bar from an assets folder, or lists an archive. See barpack_cli.h.
#include <iostream>
#include <string>
#include <vector>

#include "tools/barpack_cli.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return tools::runBarpack(args, std::cout, std::cerr);
}
