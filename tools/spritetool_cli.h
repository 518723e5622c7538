// The spritetool command line, apart from main() so it can be run in-process:
//   spritetool compile SPRITE.json OUT     compile a sprite source (tools/sprite_source.h)
//   spritetool info FILE                   print a compiled sprite's tables
// Exit status: 0 done, 1 a file or its contents failed a check, 2 wrong usage.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tools {

// `args` excludes the program name.
[[nodiscard]] int runSpritetool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tools
