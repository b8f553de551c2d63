// Numbers of the tool's own texts (tables TERQClientCfg_rc and TERQClientCfgENU_rc).
#pragma once

constexpr unsigned short IDS_CFG_LANGUAGE = 10000;      // "Language": page title
constexpr unsigned short IDS_CFG_RUSSIAN = 10001;       // "Russian": first combo item
constexpr unsigned short IDS_CFG_ENGLISH = 10002;       // "English": second combo item
constexpr unsigned short IDS_CFG_SAVE = 10003;          // "Save": the Apply button
constexpr unsigned short IDS_CFG_ABOUT = 10004;         // "About TERQClientCfg...": Help button
constexpr unsigned short IDS_CFG_SAVE_CHANGES = 10005;  // "Save changes?"
constexpr unsigned short IDS_CFG_FINISH = 10006;        // "Finish work without saving?"
constexpr unsigned short IDS_CFG_SAVED = 10007;         // "saved"
constexpr unsigned short IDS_CFG_DESCRIPTION = 10008;   // "Configuring the terq-client package"
