#include "dblib/LoadRes.h"

#include <iostream>

std::map<int, std::string> g_StringLocale;
std::map<int, std::string> g_StringLocaleENU;
bool g_StringENU = false;

namespace {

DBString Lookup(const std::map<int, std::string>& table,
                const wchar_t* placeholder,
                unsigned short id) {
    const int key = id;
    const auto it = table.find(key);
    if (it != table.end()) return DBString(it->second);
    DBString missing;
    missing.Format(placeholder, key);
    return missing;
}

}  // namespace

void InsertResource(std::map<int, std::string>& table, const char* lang, int id, const char* text) {
    // The first text stays: a second registration is a build fault worth seeing, not an override.
    if (!table.emplace(id, text ? text : "").second) {
        std::cerr << "duplicate resource " << lang << " identifier: " << id << '\n';
        std::cerr.flush();
    }
}

DBString LoadStringFromResource(unsigned short id) { return Lookup(g_StringLocale, L"RUS%d", id); }

DBString LoadStringFromResourceENU(unsigned short id) {
    return Lookup(g_StringLocaleENU, L"ENU%d", id);
}

DBString _S_(unsigned short id) {
    return g_StringENU ? LoadStringFromResourceENU(id) : LoadStringFromResource(id);
}
