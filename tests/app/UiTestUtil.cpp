#include "tests/app/UiTestUtil.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <libxml/parser.h>
#include <sys/stat.h>
#include <wx/apptrait.h>
#include <wx/combobox.h>
#include <wx/config.h>

#include "app/PanelLanguage.h"
#include "dblib/LoadRes.h"

namespace fs = std::filesystem;

ExpectBox::ExpectBox(const wxString& text, int answer, long style)
    : m_text(text), m_answer(answer), m_style(style) {}

int ExpectBox::OnInvoked(wxMessageDialog* dlg) const {
    EXPECT_EQ(dlg->GetMessage().utf8_string(), m_text.utf8_string());
    EXPECT_EQ(dlg->GetCaption().utf8_string(), "TERQClientCfg");
    if (m_style != 0) {
        EXPECT_EQ(dlg->GetMessageDialogStyle() & m_style, m_style);
    }
    switch (m_answer) {
        case wxYES:
            return wxID_YES;
        case wxNO:
            return wxID_NO;
        case wxCANCEL:
            return wxID_CANCEL;
        default:
            return wxID_OK;
    }
}

void ToolTest::SetUp() {
    char pattern[] = "/tmp/terq-ui-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_home = pattern;
    setenv("HOME", m_home.c_str(), 1);
    umask(002);
    TERQClientCfgApp& app = wxGetApp();
    app.m_Cfg.XMLRelease();
    app.m_Cfg.Clear();
    app.m_Cfg.m_Language = 0;
    g_StringENU = false;
}

void ToolTest::TearDown() {
    if (m_started) Finish();
    std::error_code ec;
    fs::remove_all(m_home, ec);
}

TERQClientCfgDialog* ToolTest::Start(const char* lang) {
    setenv("LANG", lang, 1);
    TERQClientCfgApp& app = wxGetApp();
    app.m_Cfg.XMLRelease();
    app.m_Cfg.Clear();
    app.m_Cfg.m_Language = 0;
    if (wxConfigBase::Get(false) == nullptr) {
        // wx creates the default configuration once per process; later starts get a fresh one
        // made the same way, for this test's HOME.
        app.SetAppName("TERQClientCfg");
        app.SetVendorName("TERQ");
        wxConfigBase::Set(app.GetTraits()->CreateConfig());
    }
    app.TERQClientCfgApp::OnInit();
    m_started = true;
    m_dlg = app.m_Dialog;
    return m_dlg;
}

bool ToolTest::WaitGone() {
    for (int i = 0; i < 20 && m_dlg != nullptr; ++i) {
        wxTheApp->ProcessIdle();
        if (wxTopLevelWindows.Find(m_dlg) == nullptr) m_dlg = nullptr;
    }
    return m_dlg == nullptr;
}

void ToolTest::Finish() {
    if (m_dlg != nullptr && !WaitGone()) {
        // Left open by the test: remove it without the tool's geometry bookkeeping.
        m_dlg->wxPropertySheetDialog::Destroy();
        WaitGone();
    }
    wxGetApp().TERQClientCfgApp::OnExit();
    // The process would end here; the next start shall read its own HOME's configuration.
    delete wxConfigBase::Set(nullptr);
    m_started = false;
}

void ToolTest::Pick(int index) {
    wxComboBox* combo = m_dlg->m_PanelLanguage->m_Combo;
    combo->SetSelection(index);
    // GTK sends no event for SetSelection; send the one a user's choice sends.
    wxCommandEvent event(wxEVT_COMBOBOX, combo->GetId());
    event.SetEventObject(combo);
    event.SetInt(index);
    event.SetString(combo->GetString(static_cast<unsigned>(index)));
    combo->HandleWindowEvent(event);
}

void ToolTest::Press(int id) {
    wxWindow* button = m_dlg->FindWindow(id);
    ASSERT_NE(button, nullptr) << id;
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(button);
    button->ProcessWindowEvent(event);
}

std::vector<std::string> ToolTest::LogLines() const {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(LogDir(), ec)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<std::string> lines;
    for (const auto& file : files) {
        std::ifstream in(file);
        std::string line;
        while (std::getline(in, line)) lines.push_back(line);
    }
    return lines;
}

std::string ToolTest::SavedLanguage() const {
    xmlDoc* doc =
        xmlReadFile(ConfigFile().c_str(), nullptr, XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (doc == nullptr) return "<nofile>";
    std::string result = "<none>";
    if (xmlNode* root = xmlDocGetRootElement(doc)) {
        if (xmlChar* value = xmlGetProp(root, reinterpret_cast<const xmlChar*>("Language"))) {
            result = reinterpret_cast<const char*>(value);
            xmlFree(value);
        }
    }
    xmlFreeDoc(doc);
    return result;
}

void ToolTest::WriteConfig(const std::string& text) const {
    fs::create_directories(m_home + "/TERQ/etc");
    std::ofstream(ConfigFile()) << text;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool Exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}
