#include "uilib/wxLoadRes.h"

#include <string>

#include <gtest/gtest.h>

#include "dblib/LoadRes.h"

namespace {

// Needs only wxString: no application object and no display.
class wxLoadResTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset() {
        g_StringLocale.clear();
        g_StringLocaleENU.clear();
        g_StringENU = false;
    }
};

TEST_F(wxLoadResTest, KeepsEveryCharacterUnchanged) {
    InsertResource(g_StringLocale, "RUS", 10000, "Язык");
    InsertResource(g_StringLocaleENU, "ENU", 10000, "Language");
    // Cyrillic, the letter Ё (outside the basic Russian range) and a character beyond 16 bits.
    InsertResource(g_StringLocale, "RUS", 20, "Ёлка \xF0\x9F\x9B\x97 №5");

    const wxString rus = _W_(10000);
    EXPECT_EQ(rus.ToStdWstring(), std::wstring(L"\u042F\u0437\u044B\u043A"));
    EXPECT_EQ(rus.length(), 4u);

    const wxString mixed = _W_(20);
    EXPECT_EQ(mixed.ToStdWstring(), std::wstring(L"\u0401\u043B\u043A\u0430 \U0001F6D7 \u21165"));
    // Narrowing through a code page would lose the characters it lacks.
    EXPECT_EQ(std::string(mixed.utf8_str()), "Ёлка \xF0\x9F\x9B\x97 №5");

    g_StringENU = true;
    EXPECT_EQ(_W_(10000), wxString(L"Language"));
}

TEST_F(wxLoadResTest, MissingTextGivesPlaceholder) {
    EXPECT_EQ(_W_(10009), wxString(L"RUS10009"));
    g_StringENU = true;
    EXPECT_EQ(_W_(65535), wxString(L"ENU65535"));
}

}  // namespace
