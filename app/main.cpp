// brindlex: the program entry. Until the host shell and the game land it reports what the build
// can do and checks that the runtime comes up.
#include <cstdio>
#include <cstring>

#include "platform/file_paths.h"
#include "runtime/heaps.h"

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::puts("usage: brindlex [--home DIR] [--data FILE] [--help]");
            return 0;
        }
        const bool home = std::strcmp(argv[i], "--home") == 0;
        if (home || std::strcmp(argv[i], "--data") == 0) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "brindlex: %s needs a value\n", argv[i]);
                return 2;
            }
            if (home)
                platform::setHomeFolder(argv[++i]);
            else
                platform::setDataFile(argv[++i]);
        }
    }
    if (!Runtime::initHeaps()) {
        std::fputs("brindlex: cannot create the heaps\n", stderr);
        return 1;
    }
    std::puts("Brindlex: the runtime core (object model, heaps, arrays) starts; the game is not built yet.");
    Runtime::destroyHeaps();
    return 0;
}
