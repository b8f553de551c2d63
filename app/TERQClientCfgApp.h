// The application object: start-up, shutdown, folders, and the state every part of the tool
// reaches through wxGetApp().
#pragma once

#include <memory>
#include <string>

#include <wx/app.h>

#include "app/Log.h"
#include "clientcfg/ClientCFG.h"

class TERQClientCfgDialog;
class wxLocale;

class TERQClientCfgApp : public wxApp {
public:
    TERQClientCfgApp();
    ~TERQClientCfgApp() override;

    // Locale, libxml2, string tables, folders, log, document, dialog. Always true.
    bool OnInit() override;
    // "Stop" to the log, closes it, flushes the per-user configuration. Returns 0.
    int OnExit() override;

    // Home folder + "/TERQ/etc/".
    static std::string PathEtc();
    // Home folder + "/TERQ/logs/TERQClientCfg/".
    static std::string PathLogs();

    // The Save button's enabled state is the only sign of unsaved changes. Only while the
    // dialog exists.
    void SetModified(bool on);
    bool IsModified();

    bool m_Changed;
    TERQClientCfgDialog* m_Dialog;  // the windowing library destroys it
    CBadLog m_Log;
    CClientCFG m_Cfg;

private:
    void InstallLocale();
    std::string CommandLine();

    std::unique_ptr<wxLocale> m_Locale;
};

wxDECLARE_APP(TERQClientCfgApp);
