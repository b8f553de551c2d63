// The language page: Russian or English for the client package's user interface.
#pragma once

#include <wx/combobox.h>

#include "uilib/PropertySheetPanel.h"

class PanelLanguage : public PropertySheetPanel {
public:
    // An empty page; Init builds the controls.
    explicit PanelLanguage(wxWindow* parent);

    void Init();
    // Shows the document's language; the page is unchanged afterwards.
    void SetActive() override;
    // Commits the choice into the document and marks the application changed, when the user
    // touched the selection; otherwise true without a change.
    bool KillActive() override;
    // Any selection, even of the item already shown, is a change.
    void OnEnChange(wxCommandEvent& event);

    int m_Language;  // 0 Russian, 1 English, as the document's codes
    bool m_Changed;
    wxComboBox* m_Combo;

private:
    wxDECLARE_ABSTRACT_CLASS(PanelLanguage);
    wxDECLARE_EVENT_TABLE();
};
