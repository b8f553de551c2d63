// A client configuration document whose reports go to the tool's log.
#pragma once

#include "clientcfg/ClientCFG.h"

class CConfigClient : public CClientCFG {
public:
    // Log only.
    void BadPut(const wchar_t* text) override;
    // Log and error box.
    void BadPutErr(const wchar_t* text, int code) override;
};
