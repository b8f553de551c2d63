// One call into each installed layer; the exit status tells whether they answered right.
#include <cstdio>

#include "clientcfg/ClientCFG.h"
#include "dblib/DBString.h"
#include "dblib/LoadRes.h"
#ifdef TERQ_UI
#include "uilib/wxLoadRes.h"
#endif

int main() {
    TERQLibENU_rc();
    g_StringENU = true;
    CClientCFG cfg;
    cfg.XMLLoadStr("<TERQClient Language=\"enu\"/>");
    bool ok = cfg.m_Language == 1 && _S_(43089) == L"https://www.example.com" &&
              DBString("abc").Md5Hash() == L"900150983CD24FB0D6963F7D28E17F72";
#ifdef TERQ_UI
    ok = ok && _W_(43089) == wxString("https://www.example.com");
#endif
    std::puts(ok ? "terq consumer: ok" : "terq consumer: wrong results");
    return ok ? 0 : 1;
}
