// The tool's only window: a property sheet with the language page above Save, Close and About.
#pragma once

#include <wx/bookctrl.h>
#include <wx/button.h>
#include <wx/propdlg.h>

class PanelLanguage;

extern const char App[];      // "TERQClientCfg": title, box caption, About name
extern const char Version[];  // "v1.0.2"

// Save writes the document only when something changed and then closes; closing with changes
// asks first. Destroy stores the geometry under "/Param" of the per-user configuration.
class TERQClientCfgDialog : public wxPropertySheetDialog {
public:
    TERQClientCfgDialog();

    bool Destroy() override;
    // The page's KillActive.
    bool SaveAll();

    void OnPageChanging(wxBookCtrlEvent& event);
    void OnPageChanged(wxBookCtrlEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnQuit(wxCommandEvent& event);
    void OnAbout(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);

    PanelLanguage* m_PanelLanguage;
    wxButton* m_ButtonSave;
    bool m_Closing;

private:
    wxDECLARE_EVENT_TABLE();
};
