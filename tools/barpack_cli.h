// The barpack command line, apart from main() so it can be run in-process:
//   barpack ASSETS_DIR OUT.bar [--built DIR] [--check]
//                                 pack a folder into an archive (nothing is written on error); --built
//                                 names the build's folder of made items, --check holds the result to
//                                 the game's content rules (tools/content_check.h)
//   barpack --list FILE.bar       check an archive's index and print it
//   barpack --contents FILE.bar   what the archive holds: each pack's items (kind, stored and unpacked
//                                 size, what the item is), byte-array packs' entries, other files
//   barpack --item FILE.bar PACK N OUT
//                                 write item N of pack PACK, unpacked, to OUT (a sound to listen to)
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
