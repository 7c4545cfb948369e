// The string table: every user-visible text by id, in English and Russian.
// Texts are handed out in code page 1251, like every model text.
#pragma once
#include <cstddef>
#include <string>

namespace tvk {

struct StringEntry {
    unsigned id;
    const char* english;
    const char* russian;  // written as UTF-8 in the source, stored as 1251
};

class CStringTable {
public:
    enum class Language { English, Russian };

    // Adds a subsystem's table; registering the same table again does nothing.
    static void Register(const StringEntry* entries, size_t count);
    template <size_t N>
    static void Register(const StringEntry (&entries)[N]) {
        Register(entries, N);
    }

    // The text of `id` in the current language (1251), or "" for an unknown id.
    static std::string Load(unsigned id);
    // The same in UTF-8, for the terminal and for Qt.
    static std::string LoadUtf8(unsigned id);

    // TLXEXPORT_LANG=en|ru wins; otherwise LC_ALL, LC_MESSAGES, LANG (the first
    // that is set) starting with "ru" selects Russian.
    static Language CurrentLanguage();
    static void SetLanguage(Language language);  // for tests and the dialogs
    static Language LanguageFromEnvironment();
};

}  // namespace tvk
