#include "app/TERQClientCfgApp.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <locale>
#include <stdexcept>

#include <libxml/parser.h>
#include <sys/stat.h>
#include <wx/config.h>
#include <wx/intl.h>
#include <wx/log.h>

#include "app/TERQClientCfgMain.h"
#include "dblib/LoadRes.h"

TERQClientCfgApp& wxGetApp() { return *static_cast<TERQClientCfgApp*>(wxApp::GetInstance()); }

namespace {

// The tables are process-wide: a second start-up in one process (the GUI tests) must not
// register every text again and report each as a duplicate.
void FillTables() {
    if (g_StringLocale.count(10000) != 0) return;
    TERQLib_rc();
    TERQDbLib_rc();
    TERQUiLib_rc();
    TERQLibENU_rc();
    TERQDbLibENU_rc();
    TERQUiLibENU_rc();
    TERQClientCfg_rc();
    TERQClientCfgENU_rc();
}

// Every proper prefix ending before a "/", then the whole path; failures (existing folders
// included) are ignored.
void MakeFolders(const std::string& path) {
    for (std::size_t p = path.find('/', 1); p != std::string::npos; p = path.find('/', p + 1)) {
        const std::string prefix = path.substr(0, p);
        if (prefix != ".") mkdir(prefix.c_str(), 0775);
    }
    mkdir(path.c_str(), 0775);
}

}  // namespace

TERQClientCfgApp::TERQClientCfgApp() : m_Changed(false), m_Dialog(nullptr) {}

TERQClientCfgApp::~TERQClientCfgApp() = default;

std::string TERQClientCfgApp::PathEtc() { return CClientCFG::HomeDir() + "/TERQ/etc/"; }

std::string TERQClientCfgApp::PathLogs() {
    return CClientCFG::HomeDir() + "/TERQ/logs/" + App + "/";
}

void TERQClientCfgApp::InstallLocale() {
    const char* lang = std::getenv("LANG");
    const std::string name = lang != nullptr ? lang : "";
    // Numbers keep the classic facet in C++ streams too: a decimal point whatever LANG says.
    try {
        if (name.empty()) throw std::runtime_error("LANG unset");
        std::locale::global(
            std::locale(std::locale(name), std::locale::classic(), std::locale::numeric));
        if (std::setlocale(LC_ALL, name.c_str()) == nullptr) throw std::runtime_error(name);
    } catch (const std::runtime_error&) {
        // An unset or unknown LANG: stay usable with the classic locale and UTF-8 text.
        if (!name.empty()) {
            std::fprintf(stderr, "%s: LANG=%s names no installed locale, using C.UTF-8\n", App,
                         name.c_str());
        }
        std::locale::global(std::locale::classic());
        std::setlocale(LC_ALL, "C.UTF-8");
    }
    if (!m_Locale) {
        m_Locale = std::make_unique<wxLocale>();
        // A language wx cannot set is no reason to bother the user with a box.
        wxLogNull quiet;
        m_Locale->Init(wxLANGUAGE_DEFAULT, wxLOCALE_LOAD_DEFAULT);
    }
    std::setlocale(LC_NUMERIC, "C.UTF-8");
}

std::string TERQClientCfgApp::CommandLine() {
    const char* lang = std::getenv("LANG");
    std::string line = " ";
    line += lang != nullptr ? lang : "";
    for (int i = 0; i < argc; ++i) {
        line += ' ';
        line += static_cast<const char*>(wxString(argv[i]).mb_str(wxConvLibc));
    }
    return line;
}

bool TERQClientCfgApp::OnInit() {
    g_StringENU = false;
    InstallLocale();
    SetVendorName(wxASCII_STR("TERQ"));
    SetAppName(wxASCII_STR(App));

    xmlInitParser();
    xmlKeepBlanksDefault(0);
    xmlGenericErrorFunc handler = foo;
    initGenericErrorDefaultFunc(&handler);

    m_Changed = false;
    m_Dialog = nullptr;
    FillTables();

    const std::string commandLine = CommandLine();
    MakeFolders(PathEtc());
    m_Log.Open("C", "log");
    m_Log.PutUtf8(std::string("Start ") + Version + commandLine);

    m_Cfg.XMLLoadFile();
    if (m_Cfg.m_Language == 1) g_StringENU = true;

    m_Dialog = new TERQClientCfgDialog();
    m_Dialog->Show();
    return true;
}

int TERQClientCfgApp::OnExit() {
    m_Log.Put(L"Stop", false);
    m_Log.Close();
    wxConfigBase::Get()->Flush();
    wxApp::OnExit();  // deletes the configuration object
    return 0;
}

void TERQClientCfgApp::SetModified(bool on) { m_Dialog->m_ButtonSave->Enable(on); }

bool TERQClientCfgApp::IsModified() { return m_Dialog->m_ButtonSave->IsEnabled(); }
