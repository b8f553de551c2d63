// Numbered Russian and English text tables, filled once at start-up, and the lookups.
#pragma once

#include <map>
#include <string>

#include "dblib/DBString.h"

// id -> UTF-8 text. Filled on the start-up thread before other threads start, read-only after.
extern std::map<int, std::string> g_StringLocale;     // Russian
extern std::map<int, std::string> g_StringLocaleENU;  // English
// false selects Russian (the default), true English.
extern bool g_StringENU;

// Registers one text in a table; the first text of an id stays, a duplicate is reported on
// standard error as "duplicate resource <lang> identifier: <id>". lang is "RUS" or "ENU".
void InsertResource(std::map<int, std::string>& table, const char* lang, int id, const char* text);

// The text of id in that table, or the placeholder RUS<id> / ENU<id> when it is missing.
DBString LoadStringFromResource(unsigned short id);
DBString LoadStringFromResourceENU(unsigned short id);
// The text in the current language.
DBString _S_(unsigned short id);

// Fill functions, one pair per layer; each is defined in its own layer's folder so that a host
// program fills exactly the tables it links. Start-up order: TERQLib_rc, TERQDbLib_rc,
// TERQUiLib_rc, TERQLibENU_rc, TERQDbLibENU_rc, TERQUiLibENU_rc, TERQClientCfg_rc,
// TERQClientCfgENU_rc.
void TERQLib_rc();  // lib/: 41000-41392, 43006-43853
void TERQLibENU_rc();
void TERQDbLib_rc();  // dblib/: 42000-42101
void TERQDbLibENU_rc();
void TERQUiLib_rc();  // uilib/: 25000-25117
void TERQUiLibENU_rc();
void TERQClientCfg_rc();  // app/: 10000-10008
void TERQClientCfgENU_rc();
