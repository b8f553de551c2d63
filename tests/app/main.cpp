// The GUI test program: the real application class with its start-up left to each test, wx
// assertions reported as test failures.
#include <string>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>

#include "app/TERQClientCfgApp.h"

namespace {

// Tests run OnInit and OnExit of the tool themselves, once per case, with their own HOME.
class CTestApp : public TERQClientCfgApp {
public:
    bool OnInit() override { return true; }
    int OnExit() override { return wxApp::OnExit(); }
};

}  // namespace

std::string g_Argv0;

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    g_Argv0 = argv[0];
    wxSetAssertHandler([](const wxString& file, int line, const wxString& func,
                          const wxString& cond, const wxString& msg) {
        ADD_FAILURE_AT(file.utf8_str(), line) << func << ": " << cond << " " << msg;
    });
    wxApp::SetInstance(new CTestApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) return 2;
    // wx's own messages go to standard error: a log window at idle time would wait for a user.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    const int rc = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    // No log window either while wx cleans up.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxLog::DontCreateOnDemand();
    wxEntryCleanup();
    return rc;
}
