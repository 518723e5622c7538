// Locale names to primary language ids; see locale_language.h.
// Invariant: only the language part (before '_', '.', '@') counts, case-insensitively.
#include "platform/device/locale_language.h"

#include <cctype>
#include <cstdlib>
#include <string>

int primaryLanguageFromLocale(std::string_view locale) {
    std::string lang;
    for (char c : locale) {
        if (c == '_' || c == '.' || c == '@' || c == '-') break;
        lang += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    struct Entry {
        const char* code;
        int id;
    };
    static constexpr Entry kLanguages[] = {{"cs", Language::kCzech},   {"de", Language::kGerman},
                                           {"en", Language::kEnglish}, {"es", Language::kSpanish},
                                           {"fr", Language::kFrench},  {"pt", Language::kPortuguese}};
    for (const auto& e : kLanguages)
        if (lang == e.code) return e.id;
    return Language::kEnglish;
}

int primaryLanguageFromEnvironment() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return primaryLanguageFromLocale(value);
    }
    return Language::kEnglish;
}
