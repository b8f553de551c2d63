// English texts of the configuration tool.
#include "dblib/LoadRes.h"

namespace {

void Insert(int id, const char* text) { InsertResource(g_StringLocaleENU, "ENU", id, text); }

}  // namespace

void TERQClientCfgENU_rc() {
    // The tool's own texts.
    Insert(10000, "Language");
    Insert(10001, "Russian");
    Insert(10002, "English");
    Insert(10003, "Save");
    Insert(10004, "About TERQClientCfg...");
    Insert(10005, "Save changes?");
    Insert(10006, "Finish work without saving?");
    Insert(10007, "saved");
    Insert(10008, "Configuring the terq-client package");
}
