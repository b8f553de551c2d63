#include "app/Log.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include <wx/msgdlg.h>

#include "app/TERQClientCfgApp.h"
#include "app/TERQClientCfgMain.h"

CBadLog::CBadLog() : CBaseLog(1000, 5) { m_FilesToKeep = 5; }

CBadLog::~CBadLog() = default;

DBString CBadLog::Dir() { return DBString(TERQClientCfgApp::PathLogs() + "bad"); }

bool CBadLog::Put(const wchar_t* text, bool box) {
    CBaseLog::Put(text != nullptr ? text : L"");
    if (box) {
        wxMessageBox(wxString(text != nullptr ? text : L""), App, wxOK | wxICON_ERROR);
    }
    return true;
}

bool CBadLog::PutErr(const wchar_t* text, int code, bool box) {
    const DBString message = CnvErr(text != nullptr ? text : L"", code);
    if (message.empty()) return true;
    return Put(message.c_str(), box);
}

void foo(void*, const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (written < 0) return;
    std::size_t length = std::strlen(buffer);
    if (static_cast<std::size_t>(written) > length) {
        // Cut mid-character: drop the partial UTF-8 sequence so the rest still decodes.
        std::size_t start = length;
        while (start > 0 && (static_cast<unsigned char>(buffer[start - 1]) & 0xC0) == 0x80) --start;
        if (start > 0 && (static_cast<unsigned char>(buffer[start - 1]) & 0x80) != 0) {
            const auto lead = static_cast<unsigned char>(buffer[start - 1]);
            const std::size_t need = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            if (length - (start - 1) < need) buffer[start - 1] = '\0';
        }
    }
    wxGetApp().m_Log.Put(DBString(buffer).c_str(), false);
}
