// A page of a property-sheet dialog: loaded from the document when shown, committed when left.
#pragma once

#include <wx/panel.h>

class PropertySheetPanel : public wxPanel {
public:
    explicit PropertySheetPanel(wxWindow* parent);

    // Loads the page from the document and marks it unchanged.
    virtual void SetActive() = 0;
    // Commits the page into the document; false keeps the page (its input is not acceptable).
    virtual bool KillActive() = 0;

private:
    wxDECLARE_EVENT_TABLE();
};
