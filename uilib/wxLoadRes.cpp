#include "uilib/wxLoadRes.h"

#include "dblib/LoadRes.h"

// wchar_t is 32-bit here, like wxString's own storage: the characters pass unchanged.
wxString _W_(unsigned short id) {
    const DBString text = _S_(id);
    return wxString(text.c_str(), text.size());
}
