// Nested arrays from JSON. A node is an object with exactly one of
//   "bytes": [ints -128..255]   "shorts": [ints -32768..65535]   "ints": [ints -2^31..2^32-1]
//   "arrays": [nodes]
// and optionally "width" (bytes per stored element: 1, 2 or 4; shorts take 1 or 2, ints any; the
// default is the smallest that holds every value) and "wideLength" (true: a u16 length even below
// 256; lengths above 255 are always u16). At most 65535 elements; arrays nest at most as deep as
// the game reads. Errors name the node by its JSON path.
#pragma once

#include <nlohmann/json_fwd.hpp>
#include <string>

namespace tools {

[[nodiscard]] bool compileNestedArray(const nlohmann::json& node, const std::string& where, std::string& out,
                                      std::string& error);

}  // namespace tools
