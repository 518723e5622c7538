// A whole word read as a finite decimal number within [low, high], for the text sources' statements.
#pragma once

#include <cmath>
#include <string>

namespace tools {

[[nodiscard]] inline bool parseNumber(const std::string& word, double low, double high, double& value) {
    size_t used = 0;
    try {
        value = std::stod(word, &used);
    } catch (...) {
        return false;
    }
    return used == word.size() && std::isfinite(value) && value >= low && value <= high;
}

}  // namespace tools
