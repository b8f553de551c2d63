#include "uilib/wxLoadRes.h"

#include <string>

#include <gtest/gtest.h>

#include "dblib/LoadRes.h"

// Every character reaches the wxString unchanged: Cyrillic, Ё (outside the basic Russian
// range), a character beyond 16 bits; narrowing through a code page would lose them. Needs only
// wxString: no application object and no display.
TEST(wxLoadResTest, KeepsEveryCharacterAndPlaceholders) {
    InsertResource(g_StringLocale, "RUS", 20, "Ёлка \xF0\x9F\x9B\x97 №5");
    InsertResource(g_StringLocaleENU, "ENU", 20, "Tree");
    EXPECT_EQ(std::string(_W_(20).utf8_str()), "Ёлка \xF0\x9F\x9B\x97 №5");
    EXPECT_EQ(_W_(21), wxString(L"RUS21"));
    g_StringENU = true;
    EXPECT_EQ(_W_(20) + _W_(21), wxString(L"TreeENU21"));
    g_StringENU = false;
    g_StringLocale.erase(20);
    g_StringLocaleENU.erase(20);
}
