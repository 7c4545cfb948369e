#include "platform/StringTable.h"

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <set>
#include <unordered_map>

#include "platform/CodePage.h"

namespace tvk {
namespace {

struct Texts {
    std::string english, russian, englishUtf8, russianUtf8;
};

struct Table {
    std::mutex mutex;
    std::set<const StringEntry*> registered;
    std::unordered_map<unsigned, Texts> texts;
};

Table& TheTable() {
    static Table* table = new Table;
    return *table;
}

std::atomic<int> g_language{-1};

}  // namespace

void CStringTable::Register(const StringEntry* entries, size_t count) {
    Table& table = TheTable();
    std::lock_guard<std::mutex> lock(table.mutex);
    if (!table.registered.insert(entries).second) return;
    for (size_t i = 0; i < count; ++i) {
        Texts t;
        t.englishUtf8 = entries[i].english;
        t.russianUtf8 = entries[i].russian ? entries[i].russian : entries[i].english;
        t.english = Cp1251(t.englishUtf8);
        t.russian = Cp1251(t.russianUtf8);
        table.texts[entries[i].id] = std::move(t);
    }
}

std::string CStringTable::Load(unsigned id) {
    Table& table = TheTable();
    std::lock_guard<std::mutex> lock(table.mutex);
    auto it = table.texts.find(id);
    if (it == table.texts.end()) return std::string();
    return CurrentLanguage() == Language::Russian ? it->second.russian : it->second.english;
}

std::string CStringTable::LoadUtf8(unsigned id) {
    Table& table = TheTable();
    std::lock_guard<std::mutex> lock(table.mutex);
    auto it = table.texts.find(id);
    if (it == table.texts.end()) return std::string();
    return CurrentLanguage() == Language::Russian ? it->second.russianUtf8 : it->second.englishUtf8;
}

CStringTable::Language CStringTable::LanguageFromEnvironment() {
    auto startsWithRu = [](const char* v) { return v[0] == 'r' && v[1] == 'u'; };
    if (const char* forced = std::getenv("TLXEXPORT_LANG"); forced && *forced)
        return startsWithRu(forced) ? Language::Russian : Language::English;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(name);
        if (v && *v) return startsWithRu(v) ? Language::Russian : Language::English;
    }
    return Language::English;
}

CStringTable::Language CStringTable::CurrentLanguage() {
    int lang = g_language.load();
    if (lang < 0) {
        lang = static_cast<int>(LanguageFromEnvironment());
        g_language.store(lang);
    }
    return static_cast<Language>(lang);
}

void CStringTable::SetLanguage(Language language) { g_language.store(static_cast<int>(language)); }

}  // namespace tvk
