// The user interface language as the phone numbered it (primary language ids), from a POSIX
// locale name. Invariant: anything unrecognised is English (9).
#pragma once

#include <string_view>

namespace Language {
inline constexpr int kCzech = 5, kGerman = 7, kEnglish = 9, kSpanish = 10, kFrench = 12, kPortuguese = 22;
}

// "de_DE.UTF-8" -> 7, "pt_BR" -> 22, "C" -> 9.
[[nodiscard]] int primaryLanguageFromLocale(std::string_view locale);
// From LC_ALL, else LC_MESSAGES, else LANG (the first that is set and not empty).
[[nodiscard]] int primaryLanguageFromEnvironment();
