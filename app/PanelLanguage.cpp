#include "app/PanelLanguage.h"

#include <wx/sizer.h>
#include <wx/valgen.h>

#include "app/TERQClientCfgApp.h"
#include "app/TERQClientCfgRes.h"
#include "uilib/wxLoadRes.h"

wxIMPLEMENT_ABSTRACT_CLASS(PanelLanguage, wxPanel);

wxBEGIN_EVENT_TABLE(PanelLanguage, PropertySheetPanel)
wxEND_EVENT_TABLE()

PanelLanguage::PanelLanguage(wxWindow* parent)
    : PropertySheetPanel(parent), m_Language(0), m_Changed(false), m_Combo(nullptr) {}

void PanelLanguage::Init() {
    auto* outer = new wxBoxSizer(wxVERTICAL);
    auto* inner = new wxBoxSizer(wxHORIZONTAL);
    m_Combo = new wxComboBox(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(192, 32), 0,
                             nullptr, wxCB_READONLY | wxCB_DROPDOWN,
                             wxGenericValidator(&m_Language), wxASCII_STR(wxComboBoxNameStr));
    // Item index = language code.
    m_Combo->Append(_W_(IDS_CFG_RUSSIAN));
    m_Combo->Append(_W_(IDS_CFG_ENGLISH));
    m_Combo->Bind(wxEVT_COMBOBOX, &PanelLanguage::OnEnChange, this);
    inner->Add(m_Combo, 0, 0, 0);
    outer->Add(inner, 0, wxEXPAND | wxALL, 4);
    SetSizer(outer);
    outer->Fit(this);
}

void PanelLanguage::SetActive() {
    m_Language = wxGetApp().m_Cfg.m_Language;
    m_Combo->SetSelection(m_Language);
    TransferDataToWindow();
    m_Changed = false;
}

bool PanelLanguage::KillActive() {
    if (!m_Changed) return true;
    if (!Validate()) return false;
    if (!TransferDataFromWindow()) return false;
    wxGetApp().m_Cfg.m_Language = m_Language;
    wxGetApp().m_Changed = true;
    return true;
}

void PanelLanguage::OnEnChange(wxCommandEvent&) {
    m_Changed = true;
    wxGetApp().m_Changed = true;
    wxGetApp().SetModified(true);
}
