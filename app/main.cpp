// Process entry of the configuration tool.
#include <wx/app.h>
#include <wx/log.h>

#include "app/TERQClientCfgApp.h"

int main(int argc, char** argv) {
    // A release tool shows no assertion dialogs.
    wxSetAssertHandler(nullptr);
    wxLog::SetLogLevel(wxLOG_Info);
    wxApp::SetInstance(new TERQClientCfgApp);
    return wxEntry(argc, argv);
}
