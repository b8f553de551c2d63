// The tool driven in process as a user meets it: start-up, the language page, Save, closing,
// failures, the stored size and the log.
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <libxml/tree.h>
#include <sys/stat.h>
#include <wx/combobox.h>
#include <wx/fileconf.h>
#include <wx/notebook.h>

#include "app/PanelLanguage.h"
#include "lib/Xml.h"
#include "tests/app/UiTestUtil.h"

namespace fs = std::filesystem;

namespace {

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return 0;
    return st.st_mode & 07777;
}

// The text a label shows, as UTF-8.
std::string Label(wxWindow* w) { return w->GetLabel().utf8_string(); }

wxString Utf8(const char* text) { return wxString::FromUTF8(text); }

// "dd.mm.yyyy hh:mm:ss " at the start of a log line.
bool HasStamp(const std::string& line) {
    const std::string shape = "00.00.0000 00:00:00 ";
    if (line.size() < shape.size()) return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool digit = line[i] >= '0' && line[i] <= '9';
        if (shape[i] == '0' ? !digit : line[i] != shape[i]) return false;
    }
    return true;
}

}  // namespace

TEST_F(ToolTest, FirstStartIsRussianAndCreatesTheFolders) {
    ASSERT_FALSE(Exists(m_home + "/TERQ"));
    EXPECT_NO_BOX(Start());  // no box of any kind
    ASSERT_NE(m_dlg, nullptr);
    EXPECT_TRUE(m_dlg->IsShown());
    EXPECT_EQ(ModeOf(m_home + "/TERQ"), 0775u);
    EXPECT_EQ(ModeOf(m_home + "/TERQ/etc"), 0775u);
    EXPECT_TRUE(Exists(LogDir()));

    EXPECT_EQ(m_dlg->GetTitle().utf8_string(), "TERQClientCfg");
    EXPECT_EQ(m_dlg->m_PanelLanguage->m_Combo->GetValue().utf8_string(), "Русский");
    EXPECT_EQ(m_dlg->m_PanelLanguage->m_Combo->GetSelection(), 0);
    EXPECT_EQ(m_dlg->GetBookCtrl()->GetPageText(0).utf8_string(), "Язык");
    EXPECT_EQ(Label(m_dlg->m_ButtonSave), "Сохранить");
    EXPECT_EQ(Label(m_dlg->FindWindow(wxID_HELP)), "О TERQClientCfg...");
    EXPECT_FALSE(m_dlg->m_ButtonSave->IsEnabled());
    EXPECT_FALSE(wxGetApp().IsModified());
    // No stored size: 800 by 600.
    EXPECT_EQ(m_dlg->GetClientSize(), wxSize(800, 600));
    const wxIcon icon = m_dlg->GetIcon();
    ASSERT_TRUE(icon.IsOk());
    EXPECT_EQ(icon.GetWidth(), 32);
    EXPECT_EQ(icon.GetHeight(), 32);
}

TEST_F(ToolTest, LanguageEnuGivesEnglishLabels) {
    WriteConfig("<?xml version=\"1.0\"?>\n<TERQClient Language=\"enu\"/>\n");
    Start();
    ASSERT_NE(m_dlg, nullptr);
    wxComboBox* combo = m_dlg->m_PanelLanguage->m_Combo;
    EXPECT_EQ(combo->GetValue().utf8_string(), "English");
    EXPECT_EQ(combo->GetString(0).utf8_string(), "Russian");
    EXPECT_EQ(m_dlg->GetBookCtrl()->GetPageText(0).utf8_string(), "Language");
    EXPECT_EQ(Label(m_dlg->m_ButtonSave), "Save");
    EXPECT_EQ(Label(m_dlg->FindWindow(wxID_HELP)), "About TERQClientCfg...");
    EXPECT_FALSE(m_dlg->m_ButtonSave->IsEnabled());
}

TEST_F(ToolTest, ClosingUnchangedWritesNothingButStoresGeometry) {
    Start();
    EXPECT_NO_BOX(m_dlg->Close());  // asks nothing
    EXPECT_TRUE(WaitGone());
    Finish();
    EXPECT_FALSE(Exists(ConfigFile()));
    const std::string stored = m_home + "/.TERQClientCfg";
    ASSERT_TRUE(Exists(stored));
    wxFileConfig config(wxEmptyString, wxEmptyString, stored, wxEmptyString,
                        wxCONFIG_USE_LOCAL_FILE);
    config.SetPath("/Param");
    for (const char* key : {"x", "y", "width", "height"}) {
        SCOPED_TRACE(key);
        EXPECT_TRUE(config.HasEntry(key));
    }
    EXPECT_EQ(config.ReadLong("width", 0), 800);
    EXPECT_EQ(config.ReadLong("height", 0), 600);
}

TEST_F(ToolTest, ChangeAndSaveReportsSavedAndCloses) {
    Start();
    Pick(1);
    EXPECT_TRUE(m_dlg->m_ButtonSave->IsEnabled());
    EXPECT_TRUE(wxGetApp().m_Changed);
    // The running dialog keeps its language: the box is still Russian.
    wxTEST_DIALOG(Press(wxID_APPLY), ExpectBox(Utf8("сохранено"), wxOK, wxICON_INFORMATION));
    EXPECT_TRUE(WaitGone());
    EXPECT_EQ(SavedLanguage(), "enu");
}

TEST_F(ToolTest, ClosingWithChangesAsksFirst) {
    const struct {
        const char* name;
        int answer;
        bool closes;
        const char* saved;  // Language in the file afterwards
    } rows[] = {
        {"Cancel keeps the dialog", wxCANCEL, false, "<nofile>"},
        {"No closes without writing", wxNO, true, "<nofile>"},
        {"Yes saves and closes", wxYES, true, "enu"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::error_code ec;
        fs::remove(ConfigFile(), ec);
        Start();
        Pick(1);
        if (row.answer == wxYES) {
            wxTEST_DIALOG(m_dlg->Close(),
                          ExpectBox(Utf8("Сохранить изменения ?"), wxYES, wxICON_QUESTION),
                          ExpectBox(Utf8("сохранено"), wxOK));
        } else {
            wxTEST_DIALOG(m_dlg->Close(),
                          ExpectBox(Utf8("Сохранить изменения ?"), row.answer, wxICON_QUESTION));
        }
        EXPECT_EQ(WaitGone(), row.closes);
        if (!row.closes) {
            EXPECT_TRUE(m_dlg->IsShown());
            EXPECT_TRUE(m_dlg->m_ButtonSave->IsEnabled());
        }
        EXPECT_EQ(SavedLanguage(), row.saved);
        Finish();
    }
}

TEST_F(ToolTest, ReselectingTheSameItemCountsAsAChange) {
    Start();
    Pick(0);  // already shown
    EXPECT_TRUE(m_dlg->m_ButtonSave->IsEnabled());
    wxTEST_DIALOG(m_dlg->Close(), ExpectBox(Utf8("Сохранить изменения ?"), wxYES),
                  ExpectBox(Utf8("сохранено"), wxOK));
    EXPECT_TRUE(WaitGone());
    EXPECT_EQ(SavedLanguage(), "rus");
}

TEST_F(ToolTest, UntouchedPageCommitsNothing) {
    WriteConfig("<TERQClient Language=\"enu\"/>");
    Start();
    PanelLanguage* page = m_dlg->m_PanelLanguage;
    page->m_Combo->SetSelection(0);  // no event: not a user's choice
    EXPECT_TRUE(page->KillActive());
    EXPECT_EQ(wxGetApp().m_Cfg.m_Language, 1);
    EXPECT_FALSE(wxGetApp().m_Changed);
    // Read-only list of the two languages; typed text is not possible.
    EXPECT_TRUE(page->m_Combo->HasFlag(wxCB_READONLY));
    EXPECT_EQ(page->m_Combo->GetCount(), 2u);
}

TEST_F(ToolTest, SaveFailureShowsTheErrorAndStaysOpen) {
    struct Breaker {
        const char* name;
        void (*breakIt)(const std::string& home);
    };
    const Breaker rows[] = {
        {"a folder where the file belongs",
         [](const std::string& home) {
             fs::remove(home + "/TERQ/etc/TERQClient.xml");
             fs::create_directories(home + "/TERQ/etc/TERQClient.xml/inner");
         }},
        {"the configuration folder cannot exist",
         [](const std::string& home) {
             fs::remove_all(home + "/TERQ/etc");
             std::ofstream(home + "/TERQ/etc") << "a file, not a folder";
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        // English file, broken after start-up, so that the text is the English one.
        fs::remove_all(m_home + "/TERQ");
        WriteConfig("<TERQClient Language=\"enu\"/>");
        Start();
        row.breakIt(m_home);
        Pick(0);
        wxTEST_DIALOG(Press(wxID_APPLY), ExpectBox("Error XMLDOMSave->save", wxOK, wxICON_ERROR));
        EXPECT_FALSE(WaitGone());
        EXPECT_TRUE(m_dlg->IsShown());
        EXPECT_TRUE(m_dlg->m_ButtonSave->IsEnabled());
        Finish();
        const auto lines = LogLines();
        const auto hits = std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
            return l.size() > 20 && l.compare(20, std::string::npos, "Error XMLDOMSave->save") == 0;
        });
        EXPECT_EQ(hits, 1);
    }
}

TEST_F(ToolTest, StoredSizeIsRestoredAtTheNextStart) {
    Start();
    m_dlg->SetClientSize(640, 480);
    wxTheApp->ProcessIdle();
    const wxSize size = m_dlg->GetClientSize();
    m_dlg->Close();
    ASSERT_TRUE(WaitGone());
    Finish();
    Start();
    EXPECT_EQ(m_dlg->GetClientSize(), size);
}

TEST_F(ToolTest, LogHasStartAndStopLines) {
    Start("C.UTF-8");
    m_dlg->Close();
    ASSERT_TRUE(WaitGone());
    Finish();
    const auto lines = LogLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_TRUE(HasStamp(lines.front())) << lines.front();
    EXPECT_TRUE(HasStamp(lines.back())) << lines.back();
    EXPECT_EQ(lines.front().substr(20), "Start v1.0.2 C.UTF-8 " + g_Argv0);
    EXPECT_EQ(lines.back().substr(20), "Stop");
}

TEST_F(ToolTest, MalformedFileIsLoggedNeverShown) {
    WriteConfig("<TERQClient Language=\"enu\"");  // cut short
    EXPECT_NO_BOX(Start());
    EXPECT_EQ(m_dlg->m_PanelLanguage->m_Combo->GetSelection(), 0);
    m_dlg->Close();
    ASSERT_TRUE(WaitGone());
    Finish();
    const auto lines = LogLines();
    ASSERT_GE(lines.size(), 3u);
    // Between "Start" and "Stop": libxml2's report, in pieces.
    std::string between;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) between += lines[i];
    EXPECT_NE(between.find("TERQClient.xml"), std::string::npos) << between;
}

TEST_F(ToolTest, NumbersKeepADecimalPointUnderACommaLocale) {
    if (std::setlocale(LC_ALL, "ru_RU.UTF-8") == nullptr) {
        GTEST_SKIP() << "ru_RU.UTF-8 is not installed (localedef -i ru_RU -f UTF-8 ru_RU.UTF-8)";
    }
    Start("ru_RU.UTF-8");
    // The locale is in force for the rest...
    EXPECT_NE(std::string(std::setlocale(LC_TIME, nullptr)).find("ru_RU"), std::string::npos);
    // ...but numbers use a point in C, C++ and wx formatting and in the XML helpers.
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", 1.5);
    EXPECT_STREQ(text, "1.50");
    std::ostringstream stream;
    stream << 1.5;
    EXPECT_EQ(stream.str(), "1.5");
    EXPECT_EQ(wxString::Format("%.1f", 2.5).utf8_string(), "2.5");
    xmlNode* node = xmlNewNode(nullptr, reinterpret_cast<const xmlChar*>("E"));
    TERQCloud::CNodeB::XMLUpdateDouble(node, "E", "D", 0.5);
    EXPECT_DOUBLE_EQ(TERQCloud::CNodeB::XMLLoadDouble(node, "E", "D", 0), 0.5);
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>("D"));
    EXPECT_STREQ(reinterpret_cast<const char*>(value), "0.500000");
    xmlFree(value);
    xmlFreeNode(node);
    std::setlocale(LC_ALL, "C.UTF-8");
}

TEST_F(ToolTest, UnusableLangFallsBackAndStarts) {
    Start("xx_YY.NOPE");
    ASSERT_NE(m_dlg, nullptr);
    EXPECT_TRUE(m_dlg->IsShown());
    EXPECT_EQ(m_dlg->m_PanelLanguage->m_Combo->GetValue().utf8_string(), "Русский");
    m_dlg->Close();
    ASSERT_TRUE(WaitGone());
    Finish();
    const auto lines = LogLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().substr(20), "Start v1.0.2 xx_YY.NOPE " + g_Argv0);
}
