// Shared pieces of the GUI tests: a private HOME per test, the tool's start and end, message
// boxes answered by expectation, and the files the tool leaves behind.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/msgdlg.h>
#include <wx/testing.h>

#include "app/TERQClientCfgApp.h"
#include "app/TERQClientCfgMain.h"

extern std::string g_Argv0;

// Runs code with every modal dialog counted as a failure.
#define EXPECT_NO_BOX(code)                                         \
    do {                                                            \
        wxTestingModalHook noBoxHook(__FILE__, __LINE__, __func__); \
        code;                                                       \
        noBoxHook.CheckUnmetExpectations();                         \
    } while (false)

// A message box with this text and the caption "TERQClientCfg", answered with answer (wxYES,
// wxNO, wxCANCEL, wxOK). style, when not 0, must be among the box's style bits (its icon).
class ExpectBox : public wxExpectModalBase<wxMessageDialog, ExpectBox> {
public:
    ExpectBox(const wxString& text, int answer, long style = 0);

protected:
    int OnInvoked(wxMessageDialog* dlg) const override;

private:
    wxString m_text;
    int m_answer;
    long m_style;
};

class ToolTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the tool's start-up with LANG = lang; returns the dialog it shows.
    TERQClientCfgDialog* Start(const char* lang = "C.UTF-8");
    // Processes idle time until the dialog is deleted; false when it stays.
    bool WaitGone();
    // The tool's shutdown; the dialog must be gone or is removed without storing anything.
    void Finish();

    // The user picks item index in the language box.
    void Pick(int index);
    void Press(int id);

    std::string ConfigFile() const { return m_home + "/TERQ/etc/TERQClient.xml"; }
    std::string LogDir() const { return m_home + "/TERQ/logs/TERQClientCfg/bad"; }
    // Lines of every log file, in file order.
    std::vector<std::string> LogLines() const;
    // The "Language" attribute of the saved file's root element; "<none>" without one,
    // "<nofile>" when the file cannot be parsed.
    std::string SavedLanguage() const;
    void WriteConfig(const std::string& text) const;

    std::string m_home;
    TERQClientCfgDialog* m_dlg = nullptr;
    bool m_started = false;
};

std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);
