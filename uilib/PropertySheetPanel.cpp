#include "uilib/PropertySheetPanel.h"

wxBEGIN_EVENT_TABLE(PropertySheetPanel, wxPanel)
wxEND_EVENT_TABLE()

PropertySheetPanel::PropertySheetPanel(wxWindow* parent)
    : wxPanel(parent,
              wxID_ANY,
              wxDefaultPosition,
              wxDefaultSize,
              wxTAB_TRAVERSAL | wxBORDER_NONE,
              wxASCII_STR(wxPanelNameStr)) {}
