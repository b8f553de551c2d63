// Writes the tool's window icon as a PNG, so that the installed picture is the window's own.
#include <wx/image.h>
#include <wx/init.h>

#include "app/TERQClientCfgIcon.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    wxInitializer init;
    if (!init.IsOk()) return 1;
    wxImage::AddHandler(new wxPNGHandler);
    const wxImage icon(TERQClientCfgIcon_xpm);
    return icon.IsOk() && icon.SaveFile(wxString::FromUTF8(argv[1]), wxBITMAP_TYPE_PNG) ? 0 : 1;
}
