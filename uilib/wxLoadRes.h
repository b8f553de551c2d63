// Text-table lookup for the windowing library.
#pragma once

#include <wx/string.h>

// _S_(id) as a wxString, characters unchanged.
wxString _W_(unsigned short id);
