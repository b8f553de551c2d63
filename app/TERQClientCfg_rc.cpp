// Russian texts of the configuration tool.
#include "dblib/LoadRes.h"

namespace {

void Insert(int id, const char* text) { InsertResource(g_StringLocale, "RUS", id, text); }

}  // namespace

void TERQClientCfg_rc() {
    // The tool's own texts.
    Insert(10000, "Язык");
    Insert(10001, "Русский");
    Insert(10002, "Английский");
    Insert(10003, "Сохранить");
    Insert(10004, "О TERQClientCfg...");
    Insert(10005, "Сохранить изменения ?");
    Insert(10006, "Завершить работы без сохранения ?");
    Insert(10007, "сохранено");
    Insert(10008, "Настройка пакета terq-client");
}
