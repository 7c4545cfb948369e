// The string table: every text in English and Russian, the language chosen by the environment.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/CodePage.h"
#include "platform/StringTable.h"

using namespace tvk;

namespace {
const StringEntry kTestStrings[] = {{990001, "User break", "Прервано пользователем"}};
}

TEST(StringTable, TextsFollowTheLanguage) {
    CStringTable::Register(kTestStrings);
    CStringTable::Register(kTestStrings);  // twice is harmless
    CStringTable::SetLanguage(CStringTable::Language::English);
    EXPECT_EQ(CStringTable::Load(990001), "User break");
    CStringTable::SetLanguage(CStringTable::Language::Russian);
    EXPECT_EQ(CStringTable::Load(990001), Cp1251("Прервано пользователем"));
    EXPECT_EQ(CStringTable::LoadUtf8(990001), "Прервано пользователем");
    EXPECT_EQ(CStringTable::Load(424242), "");
    CStringTable::SetLanguage(CStringTable::Language::English);
}

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
