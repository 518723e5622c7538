// Test helper: the shipped literals, assets/constants.txt compiled to constants.bin as the build
// compiles it.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

#include "tools/constants_compiler.h"

inline bool compileShippedConstants(std::string& bin, std::string& error) {
    std::ifstream file(BRINDLEX_FIXTURES "/../../assets/constants.txt");
    if (!file) {
        error = "assets/constants.txt not found";
        return false;
    }
    std::stringstream text;
    text << file.rdbuf();
    return tools::compileConstants(text.str(), "constants.txt", bin, error);
}
