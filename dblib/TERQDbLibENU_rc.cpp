// English texts of the data layer.
#include "dblib/LoadRes.h"

namespace {

void Insert(int id, const char* text) { InsertResource(g_StringLocaleENU, "ENU", id, text); }

}  // namespace

void TERQDbLibENU_rc() {
    // Lift kinds (CLiftB::typLift 0..3).
    Insert(42000, "Lift");
    Insert(42001, "Escalator");
    Insert(42002, "Travelator");
    Insert(42003, "Hoist");
    Insert(42004, "Unknown lift kind");

    // Groups and structure loading.
    Insert(42005, "Lift %ls already included in group %ls");
    Insert(42006, "Lift %ls not included in any group");
    Insert(42007, "Lift %ls from group %ls not defined in structure");
    Insert(42008, " - repeated definition team");
    Insert(42009, " - repeated definition control room");
    Insert(42010, " - repeated definition street");
    Insert(42011, " - repeated definition home in street");
    Insert(42012, " - repeated definition lift");
    Insert(42013, "Error save to ");

    // Client application kinds (UserA::TypCliGCM 0..10).
    Insert(42014, "No client application");
    Insert(42015, "Android application");
    Insert(42016, "iOS application");
    Insert(42017, "Windows application");
    Insert(42018, "Linux application");
    Insert(42019, "macOS application");
    Insert(42020, "Web browser");
    Insert(42021, "Telegram bot");
    Insert(42022, "E-mail");
    Insert(42023, "SMS");
    Insert(42024, "Dispatcher console");

    // Structure model messages.
    Insert(42025, "Console %ls not found");
    Insert(42026, "Dispatch point %d not found");
    Insert(42027, "Street %d not found");
    Insert(42028, "Home %d not found");
    Insert(42029, "Lift %d not found");
    Insert(42030, "Lift %ls not found");
    Insert(42031, "Group %d not found");
    Insert(42032, "Group %ls already exists");
    Insert(42033, "Group number %d already used");
    Insert(42034, "Lift %ls is not placed in any group");
    Insert(42035, "Lift %ls removed from group %ls");
    Insert(42036, "Lift %ls added to group %ls");
    Insert(42037, "Group %ls removed");
    Insert(42038, "Group %ls is empty");
    Insert(42039, "Dispatch point %ls removed from profiles");
    Insert(42040, "Profile %ls not found");
    Insert(42041, "User %ls not found");
    Insert(42042, "User %ls already exists");
    Insert(42043, "User group %d not found");
    Insert(42044, "Source user %d of user %ls not found");
    Insert(42045, "User %ls has no access rights");
    Insert(42046, "Key %d not found");
    Insert(42047, "Key %d already exists");
    Insert(42048, "Out %d not defined");
    Insert(42049, "State %d not defined");
    Insert(42050, "Terminal device %d not found");
    Insert(42051, "Alert message %d not valid");

    // Slots, codes and NVRAM.
    Insert(42052, "Slot %d:%d not found");
    Insert(42053, "Slot %d:%d already exists");
    Insert(42054, "Slot %d:%d has no devices");
    Insert(42055, "Wrong slot code %d");
    Insert(42056, "Wrong device code %d");
    Insert(42057, "Wrong access code");
    Insert(42058, "Code %u not found");
    Insert(42059, "Code %x not valid");
    Insert(42060, "NVRAM of lift %ls read");
    Insert(42061, "NVRAM of lift %ls written");
    Insert(42062, "NVRAM read error, word %d");
    Insert(42063, "NVRAM write error, word %d");
    Insert(42064, "NVRAM image incomplete: %d words of %d");
    Insert(42065, "NVRAM of lift %ls does not match the file");
    Insert(42066, "Structure loaded");
    Insert(42067, "Structure saved");
    Insert(42068, "Structure changed");
    Insert(42069, "Structure is empty");
    Insert(42070, "Structure load error: %ls");
    Insert(42071, "Lift %ls: coordinates not set");
    Insert(42072, "Lift %ls: address not set");

    // Access types (RootA::typAccess 0..22).
    Insert(42073, "access");
    Insert(42074, "management");
    Insert(42075, "setting");
    Insert(42076, "turn on LBS");
    Insert(42077, "output control OUT1");
    Insert(42078, "output control OUT4");
    Insert(42079, "off Lifts");
    Insert(42080, "on Lifts");
    Insert(42081, "service control device interaction LU with MCS to view settings");
    Insert(42082, "service control device interaction LU with MCS to change settings");
    Insert(42083, "service control device LU to view settings");
    Insert(42084, "service control device LU to change settings");
    Insert(42085, "viewing test parameters of the vocal tract and test results");
    Insert(42086, "enable/disable a test of the vocal tract and run the test");
    Insert(42087, "view the results of the last test battery");
    Insert(42088, "the test run batteries");
    Insert(42089, "viewing content pages firmware LU");
    Insert(42090, "changing the state of the firmware pages");
    Insert(42091, "unloading NVRAM");
    Insert(42092, "download NVRAM");
    Insert(42093, "viewing breakpoints in the time of the accident");
    Insert(42094, "listen to saved talks");
    Insert(42095, "cleaning the errors, fixed in the lift unit");
    Insert(42096, "Access denied");
    Insert(42097, "Access granted");
    Insert(42098, "Unknown access type %d");

    // Text of XMLStr on a node that has nothing to serialise (a diagnostic for developers).
    Insert(42099, "CNodeB::XMLStr TypNode=%d Name=%ls IdentDB=%d");
    Insert(42100, " Root()->m_XMLDOMG == 0");
    Insert(42101, " m_XMLNodeG == 0");
}
