// English texts of the user-interface layer.
#include "dblib/LoadRes.h"

namespace {

void Insert(int id, const char* text) { InsertResource(g_StringLocaleENU, "ENU", id, text); }

}  // namespace

void TERQUiLibENU_rc() {
    // Module, slot and device pages.
    Insert(25000, "Network module");
    Insert(25001, "Module number");
    Insert(25002, "Note");
    Insert(25003, "Slots");
    Insert(25004, "Slot");
    Insert(25005, "Slot number");
    Insert(25006, "Slot type");
    Insert(25007, "Bus type");
    Insert(25008, "Programmable slot");
    Insert(25009, "Linked module");
    Insert(25010, "Linked slot");
    Insert(25011, "Devices");
    Insert(25012, "Device address");
    Insert(25013, "Device type");

    // Link and address pages.
    Insert(25014, "Links");
    Insert(25015, "External links");
    Insert(25016, "Internal links");
    Insert(25017, "Link number");
    Insert(25018, "IP address");
    Insert(25019, "First additional IP address");
    Insert(25020, "Second additional IP address");
    Insert(25021, "Network mask");
    Insert(25022, "Gateway");
    Insert(25023, "MAC address");
    Insert(25024, "Data port");
    Insert(25025, "Voice port");
    Insert(25026, "Recording volume");
    Insert(25027, "Playback volume");
    Insert(25028, "IPv6 address");
    Insert(25029, "Cloud address");
    Insert(25030, "Cloud port");
    Insert(25031, "Node number");
    Insert(25032, "Network key");
    Insert(25033, "Pass phrase");
    Insert(25034, "Generate key");
    Insert(25035, "Default key");

    // NVRAM and microprogram pages.
    Insert(25036, "Non-volatile memory (NVRAM)");
    Insert(25037, "Read NVRAM");
    Insert(25038, "Write NVRAM");
    Insert(25039, "Save NVRAM to file");
    Insert(25040, "Load NVRAM from file");
    Insert(25041, "Word");
    Insert(25042, "Address");
    Insert(25043, "Value");
    Insert(25044, "Word %d of %d read");
    Insert(25045, "Microprogram");
    Insert(25046, "Microprogram version");
    Insert(25047, "Microprogram file");
    Insert(25048, "Load microprogram");
    Insert(25049, "Microprogram pages");
    Insert(25050, "Page %d");
    Insert(25051, "Page state");
    Insert(25052, "Loading page %d of %d");
    Insert(25053, "Microprogram loaded");
    Insert(25054, "Microprogram loading failed");

    // Buttons and titles.
    Insert(25055, "Add");
    Insert(25056, "Delete");
    Insert(25057, "Edit");
    Insert(25058, "Apply");
    Insert(25059, "Cancel");
    Insert(25060, "Refresh");
    Insert(25061, "Renumber");
    Insert(25062, "Browse...");
    Insert(25063, "Settings of network module %d");
    Insert(25064, "Settings of slot %d:%d");
    Insert(25065, "Settings of device %d:%d:%d");
    Insert(25066, "Settings of link %d");

    // Prompts.
    Insert(25067, "Enter the IP address");
    Insert(25068, "Enter the network mask");
    Insert(25069, "Enter the gateway address");
    Insert(25070, "Enter the port number");
    Insert(25071, "Enter the module number");
    Insert(25072, "Enter the slot number");
    Insert(25073, "Enter the device address");
    Insert(25074, "Enter the MAC address (12 hexadecimal digits)");
    Insert(25075, "Enter the pass phrase");
    Insert(25076, "Select the microprogram file");
    Insert(25077, "Select the NVRAM file");

    // Validation messages.
    Insert(25078, "Invalid IP address");
    Insert(25079, "Invalid IP address: the first and last numbers must be 1 to 254");
    Insert(25080, "Invalid network mask");
    Insert(25081, "Invalid gateway address");
    Insert(25082, "The gateway is not in the network of the address");
    Insert(25083, "Invalid port number: must be 1 to 65535");
    Insert(25084, "Data port and voice port must differ");
    Insert(25085, "Invalid module number: must be 0 to 255");
    Insert(25086, "Invalid slot number: must be 0 to 15");
    Insert(25087, "Invalid device address: must be 0 to 127");
    Insert(25088, "Invalid link number: must be 0 to 16");
    Insert(25089, "Invalid MAC address");
    Insert(25090, "Invalid IPv6 address");
    Insert(25091, "Module %d already exists");
    Insert(25092, "Slot %d:%d already exists");
    Insert(25093, "Device %d:%d:%d already exists");
    Insert(25094, "Link %d already exists");
    Insert(25095, "IP address %ls is already used by link %d");
    Insert(25096, "Link to module %d, slot %d already exists");
    Insert(25097, "The pass phrase is empty");
    Insert(25098, "The key must be 32 hexadecimal digits");
    Insert(25099, "Volume must be 0 to 100");
    Insert(25100, "The slot type does not allow programming");
    Insert(25101, "The microprogram file cannot be read: %ls");
    Insert(25102, "The microprogram file is not valid");
    Insert(25103, "The NVRAM file cannot be read: %ls");
    Insert(25104, "The NVRAM file cannot be written: %ls");
    Insert(25105, "The NVRAM image is incomplete");

    // Questions and progress.
    Insert(25106, "Delete module %d?");
    Insert(25107, "Delete slot %d:%d?");
    Insert(25108, "Delete device %d:%d:%d?");
    Insert(25109, "Delete link %d?");
    Insert(25110, "Write NVRAM to the device?");
    Insert(25111, "Load the microprogram into slot %d:%d?");
    Insert(25112, "Replace the network key?");
    Insert(25113, "Settings changed. Apply them?");
    Insert(25114, "No answer from the network module");
    Insert(25115, "Settings applied");
    Insert(25116, "Reading settings...");
    Insert(25117, "Writing settings...");
}
