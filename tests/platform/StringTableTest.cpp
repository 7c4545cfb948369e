// The language of the string table, chosen by the environment (the texts in
// both languages: the reader's messages, the access keys of the dialogs).
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/StringTable.h"

using namespace tvk;

TEST(StringTable, EnvironmentSelectsTheLanguage) {
    setenv("TLXEXPORT_LANG", "", 1);
    setenv("LC_ALL", "", 1);
    setenv("LC_MESSAGES", "ru_RU.UTF-8", 1);
    setenv("LANG", "en_US.UTF-8", 1);
    EXPECT_EQ(CStringTable::LanguageFromEnvironment(), CStringTable::Language::Russian);
    setenv("TLXEXPORT_LANG", "en", 1);
    EXPECT_EQ(CStringTable::LanguageFromEnvironment(), CStringTable::Language::English);
    unsetenv("LC_MESSAGES");
    setenv("TLXEXPORT_LANG", "en", 1);
}
