// The two tables the program reads by number from its first frame, checked in the data file before
// start: the literal pool (constants.bin) and the text pack of language 0. A table shorter than
// what the code reads would run as a blank game that logs its misses every frame.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// constants.bin whole and well formed (s32 count, then readUTF strings) with every literal the
// program reads; the literals as UTF-16 narrowed to ASCII in `pool` ('?' for anything wider).
[[nodiscard]] bool checkLiteralPool(std::string_view bin, std::vector<std::string>& pool, std::string& why);
// The pack sub-file holding the text pack (item 0, stored or LZMA) has every text the game draws.
[[nodiscard]] bool checkTextPack(std::string_view subFile, const std::string& name, std::string& why);
// The pack names these tables need from the pool: the text pack of language 0.
[[nodiscard]] std::string textPackName(const std::vector<std::string>& pool);
