// The yardstick of the tool's start-up: a bare property sheet with one page holding a combo box
// and the same button row, measured the same way from outside (bench/first_paint.sh).
#include <wx/app.h>
#include <wx/bookctrl.h>
#include <wx/combobox.h>
#include <wx/panel.h>
#include <wx/propdlg.h>
#include <wx/sizer.h>

class CBareApp : public wxApp {
public:
    bool OnInit() override {
        auto* dlg =
            new wxPropertySheetDialog(nullptr, wxID_ANY, "Bare", wxDefaultPosition, wxDefaultSize,
                                      wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER);
        dlg->CreateButtons(wxAPPLY | wxCLOSE | wxHELP);
        auto* page = new wxPanel(dlg->GetBookCtrl());
        auto* combo = new wxComboBox(page, wxID_ANY, wxEmptyString, wxDefaultPosition,
                                     wxSize(192, 32), 0, nullptr, wxCB_READONLY);
        combo->Append("A");
        combo->Append("B");
        combo->SetSelection(0);
        dlg->GetBookCtrl()->AddPage(page, "Page", true);
        dlg->LayoutDialog();
        dlg->SetClientSize(800, 600);
        dlg->Show();
        return true;
    }
};

wxIMPLEMENT_APP(CBareApp);
