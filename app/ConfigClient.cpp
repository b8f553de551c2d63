#include "app/ConfigClient.h"

#include "app/TERQClientCfgApp.h"

void CConfigClient::BadPut(const wchar_t* text) { wxGetApp().m_Log.Put(text, false); }

void CConfigClient::BadPutErr(const wchar_t* text, int code) {
    wxGetApp().m_Log.PutErr(text, code, true);
}
