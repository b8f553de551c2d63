// Text numbers of the data layer's string tables (TERQDbLib_rc, TERQDbLibENU_rc).
#pragma once

// Lift kinds (CLiftB::nameTypDev), CLiftB::typLift 0..3.
constexpr unsigned short IDS_LIFT = 42000;        // "Lift"
constexpr unsigned short IDS_ESCALATOR = 42001;   // "Escalator"
constexpr unsigned short IDS_TRAVELATOR = 42002;  // "Travelator"
constexpr unsigned short IDS_HOIST = 42003;       // "Hoist"

// Group loading (arguments: lift GUID text, group name).
constexpr unsigned short IDS_LIFT_IN_GROUP = 42005;  // "Lift %ls already included in group %ls"
constexpr unsigned short IDS_LIFT_NOT_IN_STRUCT =
    42007;  // "Lift %ls from group %ls not defined ..."

// Duplicate names while loading the structure; each follows the node's name.
constexpr unsigned short IDS_REPEAT_TEAM = 42008;    // " - repeated definition team"
constexpr unsigned short IDS_REPEAT_PUNCT = 42009;   // " - repeated definition control room"
constexpr unsigned short IDS_REPEAT_STREET = 42010;  // " - repeated definition street"
constexpr unsigned short IDS_REPEAT_HOME = 42011;    // " - repeated definition home in street"
constexpr unsigned short IDS_REPEAT_LIFT = 42012;    // " - repeated definition lift"
// Failed file save of the structure; the path follows.
constexpr unsigned short IDS_ERR_SAVE_TO = 42013;  // "Error save to "

// Client application kinds (UserA::TypCliGCM 0..10): the text of kind k is BASE + k.
constexpr unsigned short IDS_CLI_GCM_BASE = 42014;
constexpr int IDS_CLI_GCM_COUNT = 11;

// Access types (RootA::nameTypAccess 0..22): the text of type t is BASE + t.
constexpr unsigned short IDS_ACCESS_BASE = 42073;  // 0 "access" .. 22 "cleaning the errors, ..."
constexpr int IDS_ACCESS_COUNT = 23;

// XMLStr on an unbound node: the format (TypNode, name, identifier), then the reason.
constexpr unsigned short IDS_XMLSTR_NODE = 42099;     // "CNodeB::XMLStr TypNode=%d Name=%ls ..."
constexpr unsigned short IDS_XMLSTR_NO_DOC = 42100;   // " Root()->m_XMLDOMG == 0"
constexpr unsigned short IDS_XMLSTR_NO_NODE = 42101;  // " m_XMLNodeG == 0"
