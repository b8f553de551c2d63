// The tool driven in process as a user meets it: start-up, the language page, Save, closing,
// failures, the stored size and the log. Each case has a private HOME.
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>
#include <libxml/tree.h>
#include <sys/stat.h>
#include <wx/apptrait.h>
#include <wx/combobox.h>
#include <wx/config.h>
#include <wx/fileconf.h>
#include <wx/msgdlg.h>
#include <wx/notebook.h>
#include <wx/testing.h>

#include "app/PanelLanguage.h"
#include "app/TERQClientCfgApp.h"
#include "app/TERQClientCfgMain.h"
#include "dblib/LoadRes.h"
#include "lib/Xml.h"

extern std::string g_Argv0;

namespace fs = std::filesystem;

namespace {

// A message box with this text and the caption "TERQClientCfg", answered with the button id
// answer; style, when not 0, must be among the box's style bits (its icon).
class ExpectBox : public wxExpectModalBase<wxMessageDialog, ExpectBox> {
public:
    ExpectBox(const char* text, int answer, long style = 0)
        : m_text(wxString::FromUTF8(text)), m_answer(answer), m_style(style) {}

protected:
    int OnInvoked(wxMessageDialog* dlg) const override {
        EXPECT_EQ(dlg->GetMessage().utf8_string(), m_text.utf8_string());
        EXPECT_EQ(dlg->GetCaption().utf8_string(), "TERQClientCfg");
        EXPECT_EQ(dlg->GetMessageDialogStyle() & m_style, m_style);
        return m_answer;
    }

private:
    wxString m_text;
    int m_answer;
    long m_style;
};

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

std::string Label(wxWindow* w) { return w->GetLabel().utf8_string(); }

class ToolTest : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/terq-ui-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_home = pattern;
        setenv("HOME", m_home.c_str(), 1);
        umask(002);
        g_StringENU = false;
    }
    void TearDown() override {
        if (m_started) Finish();
        fs::remove_all(m_home);
    }

    // Runs the tool's start-up with LANG = lang; returns the dialog it shows.
    TERQClientCfgDialog* Start(const char* lang = "C.UTF-8") {
        setenv("LANG", lang, 1);
        TERQClientCfgApp& app = wxGetApp();
        app.m_Cfg.XMLRelease();
        app.m_Cfg.Clear();
        app.m_Cfg.m_Language = 0;
        if (wxConfigBase::Get(false) == nullptr) {
            // wx creates the default configuration once per process; later starts get a fresh
            // one made the same way, for this test's HOME.
            app.SetAppName("TERQClientCfg");
            app.SetVendorName("TERQ");
            wxConfigBase::Set(app.GetTraits()->CreateConfig());
        }
        app.TERQClientCfgApp::OnInit();
        m_started = true;
        return m_dlg = app.m_Dialog;
    }
    // Processes idle time until the dialog is deleted; false when it stays.
    bool WaitGone() {
        for (int i = 0; i < 20 && m_dlg != nullptr; ++i) {
            wxTheApp->ProcessIdle();
            if (wxTopLevelWindows.Find(m_dlg) == nullptr) m_dlg = nullptr;
        }
        return m_dlg == nullptr;
    }
    // The tool's shutdown; a dialog left open is removed without storing anything.
    void Finish() {
        if (m_dlg != nullptr && !WaitGone()) {
            m_dlg->wxPropertySheetDialog::Destroy();
            WaitGone();
        }
        wxGetApp().TERQClientCfgApp::OnExit();
        // The process would end here; the next start shall read its own HOME's configuration.
        delete wxConfigBase::Set(nullptr);
        m_started = false;
    }
    void CloseAndFinish() {
        m_dlg->Close();
        ASSERT_TRUE(WaitGone());
        Finish();
    }
    // The user picks item index in the language box; GTK sends no event for SetSelection.
    void Pick(int index) {
        wxComboBox* combo = m_dlg->m_PanelLanguage->m_Combo;
        combo->SetSelection(index);
        wxCommandEvent event(wxEVT_COMBOBOX, combo->GetId());
        event.SetEventObject(combo);
        event.SetInt(index);
        event.SetString(combo->GetString(static_cast<unsigned>(index)));
        combo->HandleWindowEvent(event);
    }
    void Press(int id) {
        wxCommandEvent event(wxEVT_BUTTON, id);
        event.SetEventObject(m_dlg->FindWindow(id));
        m_dlg->FindWindow(id)->ProcessWindowEvent(event);
    }
    std::string ConfigFile() const { return m_home + "/TERQ/etc/TERQClient.xml"; }
    std::string LogDir() const { return m_home + "/TERQ/logs/TERQClientCfg/bad"; }
    void WriteConfig(const std::string& text) const {
        fs::create_directories(m_home + "/TERQ/etc");
        std::ofstream(ConfigFile()) << text;
    }
    // Lines of every log file, in file order.
    std::vector<std::string> LogLines() const {
        std::set<fs::path> files;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(LogDir(), ec)) files.insert(entry.path());
        std::vector<std::string> lines;
        for (const auto& file : files) {
            std::ifstream in(file);
            for (std::string line; std::getline(in, line);) lines.push_back(line);
        }
        return lines;
    }
    // The "Language" attribute of the saved file's root, "<nofile>" without a readable file.
    std::string SavedLanguage() const {
        std::ostringstream text;
        if (fs::is_regular_file(ConfigFile())) text << std::ifstream(ConfigFile()).rdbuf();
        std::smatch m;
        const std::string s = text.str();
        return std::regex_search(s, m, std::regex("<TERQClient Language=\"([a-z]*)\""))
                   ? m.str(1)
                   : "<nofile>";
    }

    std::string m_home;
    TERQClientCfgDialog* m_dlg = nullptr;
    bool m_started = false;
};

}  // namespace

// The first start shows no box, makes the folders and shows Russian at 800 by 600; "enu" in the
// file gives English labels. An untouched page commits nothing: a selection without an event is
// not a user's choice.
TEST_F(ToolTest, StartShowsTheStoredLanguage) {
    const struct {
        const char* config;               // nullptr: no file; else English
        std::vector<std::string> labels;  // value, first item, page, Save, About
    } rows[] = {
        {nullptr, {"Русский", "Русский", "Язык", "Сохранить", "О TERQClientCfg..."}},
        {"<?xml version=\"1.0\"?>\n<TERQClient Language=\"enu\"/>\n",
         {"English", "Russian", "Language", "Save", "About TERQClientCfg..."}},
    };
    for (const auto& row : rows) {
        if (row.config) WriteConfig(row.config);
        wxTestingModalHook noBox(__FILE__, __LINE__, __func__);  // any box is a failure
        ASSERT_NE(Start(), nullptr);
        noBox.CheckUnmetExpectations();
        wxComboBox* combo = m_dlg->m_PanelLanguage->m_Combo;
        EXPECT_EQ((std::vector<std::string>{
                      combo->GetValue().utf8_string(), combo->GetString(0).utf8_string(),
                      m_dlg->GetBookCtrl()->GetPageText(0).utf8_string(),
                      Label(m_dlg->m_ButtonSave), Label(m_dlg->FindWindow(wxID_HELP))}),
                  row.labels);
        EXPECT_TRUE(m_dlg->IsShown() && !m_dlg->m_ButtonSave->IsEnabled() &&
                    !wxGetApp().IsModified());
        EXPECT_EQ(m_dlg->GetTitle().utf8_string(), "TERQClientCfg");
        // Read-only list of the two languages; typed text is not possible.
        EXPECT_TRUE(combo->HasFlag(wxCB_READONLY) && combo->GetCount() == 2u);
        if (!row.config) {  // the first start: no stored size
            EXPECT_EQ(m_dlg->GetClientSize(), wxSize(800, 600));
            const wxIcon icon = m_dlg->GetIcon();
            EXPECT_TRUE(icon.IsOk() && icon.GetWidth() == 32 && icon.GetHeight() == 32);
            EXPECT_EQ(
                (std::vector<unsigned>{ModeOf(m_home + "/TERQ"), ModeOf(m_home + "/TERQ/etc")}),
                (std::vector<unsigned>{0775, 0775}));
            EXPECT_TRUE(fs::exists(LogDir()));
        }
        const int language = row.config ? 1 : 0;
        combo->SetSelection(1 - language);
        EXPECT_TRUE(m_dlg->m_PanelLanguage->KillActive());
        EXPECT_TRUE(wxGetApp().m_Cfg.m_Language == language && !wxGetApp().m_Changed);
        Finish();
    }
}

// Saving and closing, with and without changes; a failed save shows the error, stays open and
// is logged once. Saving where the file cannot go: a folder in its place, or a file where the
// configuration folder belongs.
TEST_F(ToolTest, SavingAndClosing) {
    const ExpectBox saved("сохранено", wxID_OK, wxICON_INFORMATION),
        cancel("Сохранить изменения ?", wxID_CANCEL, wxICON_QUESTION),
        no("Сохранить изменения ?", wxID_NO, wxICON_QUESTION),
        yes("Сохранить изменения ?", wxID_YES),
        failed("Error XMLDOMSave->save", wxID_OK, wxICON_ERROR);
    const struct {
        const char* name;
        int pick;             // -1: nothing picked; picking the shown item counts as a change
        bool save;            // Save pressed, else the dialog closed
        const char* blocker;  // put in the way after start-up: a folder when it ends in '/'
        std::vector<const ExpectBox*> boxes;
        bool closes;
        const char* saved;
    } rows[] = {
        {"unchanged close asks nothing", -1, false, nullptr, {}, true, "<nofile>"},
        {"Save reports saved and closes", 1, true, nullptr, {&saved}, true, "enu"},
        {"Cancel keeps the dialog", 1, false, nullptr, {&cancel}, false, "<nofile>"},
        {"No closes without writing", 1, false, nullptr, {&no}, true, "<nofile>"},
        {"Yes saves and closes", 1, false, nullptr, {&yes, &saved}, true, "enu"},
        {"reselected item saves", 0, false, nullptr, {&yes, &saved}, true, "rus"},
        {"folder in the way",
         0,
         true,
         "/TERQ/etc/TERQClient.xml/inner/",
         {&failed},
         false,
         "<nofile>"},
        {"file in the way", 0, true, "/TERQ/etc", {&failed}, false, "<nofile>"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(m_home + "/TERQ");
        // English file, broken after start-up, so that the error text is the English one.
        if (row.blocker) WriteConfig("<TERQClient Language=\"enu\"/>");
        Start();
        if (row.blocker) {
            const std::string path = m_home + row.blocker;
            fs::remove_all(m_home + "/TERQ/etc");
            path.back() == '/' ? void(fs::create_directories(path)) : void(std::ofstream(path));
        }
        if (row.pick >= 0) Pick(row.pick);
        EXPECT_EQ(m_dlg->m_ButtonSave->IsEnabled(), row.pick >= 0);
        {
            wxTestingModalHook hook(__FILE__, __LINE__, __func__);
            for (const ExpectBox* box : row.boxes) hook.AddExpectation(*box);
            row.save ? Press(wxID_APPLY) : void(m_dlg->Close());
            hook.CheckUnmetExpectations();
        }
        EXPECT_EQ(WaitGone(), row.closes);
        EXPECT_TRUE(row.closes || (m_dlg->IsShown() && m_dlg->m_ButtonSave->IsEnabled()));
        EXPECT_EQ(SavedLanguage(), row.saved);
        Finish();
        const auto lines = LogLines();
        const auto logged = [](const std::string& l) {
            return l.find("Error XMLDOMSave->save") == 20;
        };
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(), logged), row.blocker ? 1 : 0);
    }
}

// Closing stores the geometry; the next start restores it.
TEST_F(ToolTest, StoredSizeIsRestoredAtTheNextStart) {
    Start();
    CloseAndFinish();
    wxFileConfig config(wxEmptyString, wxEmptyString, m_home + "/.TERQClientCfg", wxEmptyString,
                        wxCONFIG_USE_LOCAL_FILE);
    config.SetPath("/Param");
    EXPECT_TRUE(config.HasEntry("x") && config.HasEntry("y"));
    EXPECT_EQ((std::vector<long>{config.ReadLong("width", 0), config.ReadLong("height", 0)}),
              (std::vector<long>{800, 600}));
    Start();
    m_dlg->SetClientSize(640, 480);
    wxTheApp->ProcessIdle();
    const wxSize size = m_dlg->GetClientSize();
    CloseAndFinish();
    Start();
    EXPECT_EQ(m_dlg->GetClientSize(), size);
}

// The log has start and stop lines behind the stamp; an unusable LANG falls back and still starts;
// a malformed file is logged (libxml2's report, in pieces, between them) and never shown.
TEST_F(ToolTest, LogHasStartStopAndParserLines) {
    for (const char* lang : {"C.UTF-8", "xx_YY.NOPE"}) {
        fs::remove_all(m_home + "/TERQ");
        WriteConfig("<TERQClient Language=\"enu\"");  // cut short
        wxTestingModalHook noBox(__FILE__, __LINE__, __func__);
        ASSERT_NE(Start(lang), nullptr);
        noBox.CheckUnmetExpectations();
        EXPECT_TRUE(m_dlg->IsShown());
        EXPECT_EQ(m_dlg->m_PanelLanguage->m_Combo->GetValue().utf8_string(), "Русский");
        CloseAndFinish();
        const auto lines = LogLines();
        ASSERT_GE(lines.size(), 3u);
        EXPECT_EQ(lines.front().substr(20), std::string("Start v1.0.2 ") + lang + " " + g_Argv0);
        EXPECT_EQ(lines.back().substr(20), "Stop");
        std::string between;
        for (std::size_t i = 1; i + 1 < lines.size(); ++i) between += lines[i];
        EXPECT_NE(between.find("TERQClient.xml"), std::string::npos) << between;
    }
}

TEST_F(ToolTest, NumbersKeepADecimalPointUnderACommaLocale) {
    if (std::setlocale(LC_ALL, "ru_RU.UTF-8") == nullptr) {
        GTEST_SKIP() << "ru_RU.UTF-8 is not installed (localedef -i ru_RU -f UTF-8 ru_RU.UTF-8)";
    }
    Start("ru_RU.UTF-8");
    // The locale is in force for the rest, but numbers use a point in C, C++ and wx formatting
    // and in the XML helpers.
    EXPECT_NE(std::string(std::setlocale(LC_TIME, nullptr)).find("ru_RU"), std::string::npos);
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", 1.5);
    std::ostringstream stream;
    stream << 1.5;
    EXPECT_EQ(
        std::string(text) + " " + stream.str() + " " + wxString::Format("%.1f", 2.5).utf8_string(),
        "1.50 1.5 2.5");
    xmlNode* node = xmlNewNode(nullptr, reinterpret_cast<const xmlChar*>("E"));
    TERQCloud::CNodeB::XMLUpdateDouble(node, "E", "D", 0.5);
    EXPECT_EQ(TERQCloud::CNodeB::XMLLoadString(node, "E", "D", false), L"0.500000");
    EXPECT_DOUBLE_EQ(TERQCloud::CNodeB::XMLLoadDouble(node, "E", "D", 0), 0.5);
    xmlFreeNode(node);
    std::setlocale(LC_ALL, "C.UTF-8");
}
