#include "app/TERQClientCfgMain.h"

#include <wx/aboutdlg.h>
#include <wx/config.h>
#include <wx/icon.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>

#include "app/PanelLanguage.h"
#include "app/TERQClientCfgApp.h"
#include "app/TERQClientCfgIcon.h"
#include "app/TERQClientCfgRes.h"
#include "dblib/DBString.h"
#include "lib/TERQLibRes.h"
#include "lib/Xml.h"
#include "uilib/wxLoadRes.h"

const char App[] = "TERQClientCfg";
const char Version[] = "v1.0.2";

wxBEGIN_EVENT_TABLE(TERQClientCfgDialog, wxPropertySheetDialog)
    EVT_CLOSE(TERQClientCfgDialog::OnClose)
    EVT_BUTTON(wxID_CLOSE, TERQClientCfgDialog::OnQuit)
    EVT_BUTTON(wxID_HELP, TERQClientCfgDialog::OnAbout)
    EVT_BUTTON(wxID_APPLY, TERQClientCfgDialog::OnOK)
wxEND_EVENT_TABLE()

TERQClientCfgDialog::TERQClientCfgDialog()
    : m_PanelLanguage(nullptr), m_ButtonSave(nullptr), m_Closing(false) {
    Create(nullptr, wxID_ANY, App, wxDefaultPosition, wxDefaultSize,
           wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER, wxASCII_STR(wxDialogNameStr));
    SetIcon(wxIcon(TERQClientCfgIcon_xpm));

    wxStdDialogButtonSizer* buttons = CreateStdDialogButtonSizer(wxAPPLY | wxCLOSE | wxHELP);
    m_ButtonSave = buttons->GetApplyButton();
    m_ButtonSave->SetLabel(_W_(IDS_CFG_SAVE));
    buttons->GetHelpButton()->SetLabel(_W_(IDS_CFG_ABOUT));
    GetInnerSizer()->Add(buttons, 0, wxEXPAND | wxALL, 2);
    GetInnerSizer()->AddSpacer(2);

    m_PanelLanguage = new PanelLanguage(GetBookCtrl());
    m_PanelLanguage->Init();
    GetBookCtrl()->AddPage(m_PanelLanguage, _W_(IDS_CFG_LANGUAGE), true);

    GetBookCtrl()->Bind(wxEVT_BOOKCTRL_PAGE_CHANGED, &TERQClientCfgDialog::OnPageChanged, this);
    GetBookCtrl()->Bind(wxEVT_BOOKCTRL_PAGE_CHANGING, &TERQClientCfgDialog::OnPageChanging, this);

    LayoutDialog(wxBOTH);
    m_PanelLanguage->SetActive();

    wxConfigBase* config = wxConfigBase::Get();
    config->SetPath(wxASCII_STR("/Param"));
    const int height = static_cast<int>(config->ReadLong(wxASCII_STR("height"), 600));
    const int width = static_cast<int>(config->ReadLong(wxASCII_STR("width"), 800));
    SetClientSize(width, height);
    // Centre at the final size; without a window manager (Xvfb) nothing else would.
    Centre(wxBOTH);

    m_ButtonSave->Disable();
}

bool TERQClientCfgDialog::Destroy() {
    wxConfigBase* config = wxConfigBase::Get();
    config->SetPath(wxASCII_STR("/Param"));
    const wxSize size = GetClientSize();
    const wxPoint position = GetScreenPosition();
    config->Write(wxASCII_STR("x"), position.x);
    config->Write(wxASCII_STR("y"), position.y);
    config->Write(wxASCII_STR("width"), size.x);
    config->Write(wxASCII_STR("height"), size.y);
    m_Closing = true;
    return wxPropertySheetDialog::Destroy();
}

bool TERQClientCfgDialog::SaveAll() { return m_PanelLanguage->KillActive(); }

void TERQClientCfgDialog::OnPageChanging(wxBookCtrlEvent& event) {
    if (m_Closing) return;
    const int left = event.GetOldSelection();
    const int entered = event.GetSelection();
    DBString text;
    text.Format(L"OnPageChanging old=%d, cur=%d", left, entered);
    wxGetApp().m_Log.Put(text.c_str(), false);
    if (left == wxNOT_FOUND) return;
    auto* page = dynamic_cast<PropertySheetPanel*>(GetBookCtrl()->GetPage(left));
    if (page != nullptr && !page->KillActive()) event.Veto();
}

void TERQClientCfgDialog::OnPageChanged(wxBookCtrlEvent& event) {
    if (m_Closing) return;
    const int entered = event.GetSelection();
    DBString text;
    text.Format(L"OnPageChanged old=%d, cur=%d", event.GetOldSelection(), entered);
    wxGetApp().m_Log.Put(text.c_str(), false);
    if (entered == wxNOT_FOUND) return;
    auto* page = dynamic_cast<PropertySheetPanel*>(GetBookCtrl()->GetPage(entered));
    if (page != nullptr) page->SetActive();
}

void TERQClientCfgDialog::OnOK(wxCommandEvent&) {
    if (!m_PanelLanguage->KillActive()) return;
    TERQClientCfgApp& app = wxGetApp();
    try {
        // Throws only when the file had no "TERQClient" root; reported like a failed save.
        app.m_Cfg.XMLUpdate();
        if (app.m_Changed) {
            app.m_Cfg.XMLSaveFile();
            wxMessageBox(_W_(IDS_CFG_SAVED), App, wxOK | wxICON_INFORMATION);
        }
    } catch (const ErrorXML& e) {
        app.m_Log.PutErr(e.m_Text.c_str(), e.m_Code, true);
        return;
    }
    Destroy();
}

void TERQClientCfgDialog::OnClose(wxCloseEvent&) {
    if (m_PanelLanguage->KillActive()) {
        if (!wxGetApp().m_Changed) {
            Destroy();
            return;
        }
        const int answer =
            wxMessageBox(_W_(IDS_CFG_SAVE_CHANGES), App, wxYES_NO | wxCANCEL | wxICON_QUESTION);
        if (answer == wxYES) {
            wxCommandEvent empty;
            OnOK(empty);
        } else if (answer == wxNO) {
            Destroy();
        }
        return;
    }
    if (wxMessageBox(_W_(IDS_CFG_FINISH), App, wxYES_NO | wxICON_QUESTION) == wxYES) Destroy();
}

void TERQClientCfgDialog::OnQuit(wxCommandEvent&) {
    wxCloseEvent close(wxEVT_CLOSE_WINDOW, GetId());
    close.SetEventObject(this);
    close.SetCanVeto(true);
    OnClose(close);
}

void TERQClientCfgDialog::OnAbout(wxCommandEvent&) {
    wxAboutDialogInfo info;
    info.SetName(App);
    info.SetVersion(Version);
    info.SetDescription(_W_(IDS_CFG_DESCRIPTION));
    // The maker's name from the table; the sign and the year are not words to translate.
    info.SetCopyright(wxString::FromUTF8("\u00A9 2026 ") + _W_(IDS_MAKER_NAME));
    info.SetWebSite(_W_(IDS_MAKER_URL));
    info.AddDeveloper(_W_(IDS_MAKER_NAME));
    wxAboutBox(info, this);
}
