// The barpack command line, apart from main() so it can be run in-process:
//   barpack ASSETS_DIR OUT.bar    pack a folder into an archive (nothing is written on error)
//   barpack --list FILE.bar       check an archive's index and print it
//   barpack --promo SOURCE        compile a promotion folder NAME.igp (or read a compiled promotion
//                                 resource) and print it as the screen reads it
// Exit status: 0 done, 1 a file or its contents failed a check, 2 wrong usage.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tools {

// `args` excludes the program name.
[[nodiscard]] int runBarpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tools
