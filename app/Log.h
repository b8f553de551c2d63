// The tool's error log in $HOME/TERQ/logs/TERQClientCfg/bad, which can also show a logged text in
// an error box, and the libxml2 error callback that feeds it.
#pragma once

#include "dblib/DBString.h"
#include "lib/BaseLog.h"

class CBadLog final : public CBaseLog {
public:
    // Queue of 1000 lines, repeat window 5 minutes, 5 files kept behind the current one.
    CBadLog();
    ~CBadLog() override;

    // PathLogs() + "bad".
    DBString Dir() override;

    // Logs the text and, with box, also shows it in an error box. GUI thread when box is set.
    // Always true.
    bool Put(const wchar_t* text, bool box);
    // CnvErr(text, code), then as Put; an empty result logs and shows nothing.
    bool PutErr(const wchar_t* text, int code, bool box);
};

// libxml2's generic error callback: each message piece (at most 511 bytes) becomes one log line
// of the application's log, never a box. The context is ignored.
void foo(void* context, const char* format, ...);
