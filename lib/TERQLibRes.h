// Text numbers of the service and device layer's string tables (TERQLib_rc, TERQLibENU_rc).
#pragma once

// Protocol and CRC errors.
constexpr unsigned short IDS_ERR_CRC = 41000;         // "CRC error in packet from %ls"
constexpr unsigned short IDS_ERR_PACK_SHORT = 41001;  // "Packet too short: %d bytes"
constexpr unsigned short IDS_ERR_PACK_LONG = 41002;   // "Packet too long: %d bytes"
constexpr unsigned short IDS_ERR_PACK_TYPE = 41003;   // "Unknown packet type 0x%02X"
constexpr unsigned short IDS_ERR_PACK_LEN = 41004;    // "Packet length %d does not match header"
constexpr unsigned short IDS_ERR_DECRYPT = 41005;     // "Packet cannot be decrypted"
constexpr unsigned short IDS_ERR_PACK_NODE = 41006;   // "Packet from unknown node %u"
constexpr unsigned short IDS_ERR_PACK_NUM = 41007;    // "Wrong packet number %d, expected %d"
constexpr unsigned short IDS_ERR_TIMEOUT = 41008;     // "No answer from %ls"
constexpr unsigned short IDS_ERR_CODING = 41009;      // "Channel coding error"
constexpr unsigned short IDS_NOT_DEFINED = 41040;     // "Not defined" (any unknown code)

// XML errors: formats (41074, 41075) and the texts of ErrorXML.
constexpr unsigned short IDS_XML_EMPTY = 41071;           // "XML document is empty"
constexpr unsigned short IDS_XML_UNKNOWN = 41072;         // "Unknown element %ls"
constexpr unsigned short IDS_XML_BAD_VALUE = 41073;       // "Bad value of attribute %ls"
constexpr unsigned short IDS_XML_FMT_ELEMENTS = 41074;    // "%ls elements %ls"
constexpr unsigned short IDS_XML_FMT_PARAMETERS = 41075;  // "%ls parameters %ls elements %ls"
constexpr unsigned short IDS_XML_APPEND = 41076;          // "Error append"
constexpr unsigned short IDS_XML_READ = 41077;            // "Error read"
constexpr unsigned short IDS_XML_CREATE = 41078;          // "Error create"
constexpr unsigned short IDS_XML_QUERY = 41079;           // "Error query of interface"
constexpr unsigned short IDS_XML_CREATE_PARSER = 41080;   // "Error create of XML parsers"
constexpr unsigned short IDS_XML_APPEND_CHILD = 41081;    // "Error appendChild"
constexpr unsigned short IDS_XML_CREATE_PI = 41082;       // "Error createProcessingInstruction"
constexpr unsigned short IDS_XML_LOAD = 41083;            // "Error loadXML"
constexpr unsigned short IDS_XML_FIRST_CHILD = 41084;     // "Error get_firstChild"
constexpr unsigned short IDS_XML_REPLACE_CHILD = 41085;   // "Error replaceChild"
constexpr unsigned short IDS_XML_NEXT_SIBLING = 41086;    // "Error get_nextSibling"
constexpr unsigned short IDS_XML_GET_XML = 41087;         // "Error get_xml"
constexpr unsigned short IDS_XML_SAVE = 41088;            // "Error XMLDOMSave->save"
constexpr unsigned short IDS_XML_DOM_LOAD = 41089;        // "Error m_XMLDOM->load"
constexpr unsigned short IDS_XML_QUERY_NODE =
    41090;  // "Error query of interface IXMLDOMNode by ..."

// USB-port errors (argument: the port name).
constexpr unsigned short IDS_USB_NOT_FOUND = 41093;   // "USB port %ls not found"
constexpr unsigned short IDS_USB_OPEN = 41094;        // "Cannot open USB port %ls"
constexpr unsigned short IDS_USB_BUSY = 41095;        // "USB port %ls is busy"
constexpr unsigned short IDS_USB_WRITE = 41096;       // "Write error on USB port %ls"
constexpr unsigned short IDS_USB_READ = 41097;        // "Read error on USB port %ls"
constexpr unsigned short IDS_USB_CLOSED = 41098;      // "USB port %ls closed"
constexpr unsigned short IDS_USB_UNPLUGGED = 41099;   // "USB device on port %ls disconnected"
constexpr unsigned short IDS_USB_SETTINGS = 41100;    // "Cannot set parameters of USB port %ls"
constexpr unsigned short IDS_USB_TIMEOUT = 41101;     // "Timeout on USB port %ls"
constexpr unsigned short IDS_USB_NO_ANSWER = 41102;   // "No answer from device on USB port %ls"
constexpr unsigned short IDS_USB_OPENED = 41103;      // "USB port %ls opened"
constexpr unsigned short IDS_USB_BAD_DEVICE = 41104;  // "Unknown device on USB port %ls"

// Code-to-name tables: the text of code c is BASE + c, for c below COUNT.
constexpr unsigned short IDS_MODE_LIFT_BASE = 41110;  // lift operating modes (modeLift 0..15)
constexpr int IDS_MODE_LIFT_COUNT = 16;
constexpr unsigned short IDS_TYP_LB_BASE = 41126;  // lift-unit kinds (CDev::TypLB 0..7)
constexpr int IDS_TYP_LB_COUNT = 8;
constexpr unsigned short IDS_DESIGN_LB_BASE = 41134;  // lift-unit designs (CDev::DesignLB 0..7)
constexpr int IDS_DESIGN_LB_COUNT = 8;
constexpr unsigned short IDS_TYP_CODEC_BASE = 41142;  // codecs (CDev::TypCodec 0..7)
constexpr int IDS_TYP_CODEC_COUNT = 8;
constexpr unsigned short IDS_TYP_TERM7_BASE = 41150;  // terminals (CDev::TypTerm7 0..7)
constexpr int IDS_TYP_TERM7_COUNT = 8;
constexpr unsigned short IDS_TYP_DEV_BASE = 41242;  // device models (CDev::nameTypDev 0..33)
constexpr int IDS_TYP_DEV_COUNT = 34;
constexpr unsigned short IDS_TYP_BUS_BASE = 41276;  // bus types (nameTypBus 0..6)
constexpr int IDS_TYP_BUS_COUNT = 7;

// Lift state names (CSostDev::naimSost), indexed by CSostDev::bitLB 0..42.
inline constexpr unsigned short IDS_SOST[43] = {
    41158, 41216, 41163, 41164, 41165, 41166, 41168, 41169, 41170, 41171, 41172,
    41175, 41176, 41177, 41178, 41181, 41182, 41185, 41186, 41187, 41190, 41191,
    41196, 41197, 41198, 41199, 41200, 41201, 41202, 41203, 41204, 41205, 41206,
    41207, 41208, 41209, 41210, 41211, 41215, 41229, 41212, 41213, 41214};
constexpr int IDS_SOST_COUNT = 43;

// Loading the device network: a module number met twice or out of range.
constexpr unsigned short IDS_UM_EXISTS = 41297;  // "UM %d already exist in structure"

// Data-routing messages.
constexpr unsigned short IDS_ROUTE_NONE = 41311;      // "No route to module %d"
constexpr unsigned short IDS_ROUTE_LOST = 41312;      // "Module %d is not reachable"
constexpr unsigned short IDS_ROUTE_FOUND = 41313;     // "Module %d reached through slot %d:%d"
constexpr unsigned short IDS_ROUTE_LOOP = 41314;      // "Route to module %d makes a loop"
constexpr unsigned short IDS_ROUTE_DROP = 41315;      // "Packet to module %d dropped"
constexpr unsigned short IDS_ROUTE_NO_LOCAL = 41316;  // "Local module not defined"
constexpr unsigned short IDS_ROUTE_RESTORED = 41317;  // "Route to module %d restored"

// Operator-level events (CTabMessageB): the text of event n (1..46) is IDS_MES_BASE + n;
// event 0 is the empty text and has no number.
constexpr unsigned short IDS_MES_BASE = 43005;
constexpr int IDS_MES_COUNT = 47;
constexpr unsigned short IDS_MES_START = 43006;  // 1 "Start"
constexpr unsigned short IDS_MES_LAST = 43051;   // 46 "Faulty voice codec in slot %d:%d:%d"

// Loading the device network: duplicates.
constexpr unsigned short IDS_SLOT_EXISTS = 43052;  // "Slot %d already exist in UM %d:%d"
constexpr unsigned short IDS_DEV_EXISTS = 43053;   // "Device %d  already exist in slot %d:%d:%d"
constexpr unsigned short IDS_LINKNET_EXISTS =
    43054;  // "External link (%d:%d)->(%d:%d) already ..."
constexpr unsigned short IDS_LINKCLL_EXISTS =
    43055;  // "Internal link %d (%d:%d)->(%d:%d) already ..."

// The maker, shown by the About box.
constexpr unsigned short IDS_MAKER_URL = 43089;   // web address
constexpr unsigned short IDS_MAKER_NAME = 43090;  // company name

// terq-inspect, the inspection tool (app/Inspect.cpp).
constexpr unsigned short IDS_INSPECT_HELP = 43700;         // usage, options, exit statuses
constexpr unsigned short IDS_INSPECT_VERSION = 43701;      // "terq-inspect %ls"
constexpr unsigned short IDS_INSPECT_CLOUD = 43702;        // "Cloud structure %ls"
constexpr unsigned short IDS_INSPECT_CLOUD_COUNT = 43703;  // "  consoles %d, ... users %d"
constexpr unsigned short IDS_INSPECT_NET = 43704;          // "Device network %ls"
constexpr unsigned short IDS_INSPECT_NET_COUNT = 43705;    // "  modules %d, ... links %d"
constexpr unsigned short IDS_INSPECT_REPORTS = 43706;      // "  load reports: %d"
constexpr unsigned short IDS_INSPECT_LOST = 43707;  // "Modules not reachable from module %d: %ls"
constexpr unsigned short IDS_INSPECT_ALL_REACHED = 43708;  // "All modules are reachable ..."
constexpr unsigned short IDS_INSPECT_WRITTEN = 43709;      // "Written %ls"
constexpr unsigned short IDS_INSPECT_READ = 43710;         // "%ls: cannot be read: %ls"
constexpr unsigned short IDS_INSPECT_NOT_FILE = 43711;     // "%ls: not a regular file"
constexpr unsigned short IDS_INSPECT_TOO_LARGE = 43712;    // "%ls: larger than 1 GiB"
constexpr unsigned short IDS_INSPECT_ZERO = 43713;         // "%ls: zero byte at offset %d: ..."
constexpr unsigned short IDS_INSPECT_NOT_XML = 43714;   // "%ls: not well-formed XML, line %d: %ls"
constexpr unsigned short IDS_INSPECT_NO_CLOUD = 43715;  // "%ls: no %ls root element: ..."
constexpr unsigned short IDS_INSPECT_LOAD = 43716;      // "%ls: cannot be loaded: %ls"
constexpr unsigned short IDS_INSPECT_WRITE = 43717;     // "%ls: cannot be written: %ls"
constexpr unsigned short IDS_INSPECT_UNKNOWN = 43718;   // "Unknown option %ls; see --help"
constexpr unsigned short IDS_INSPECT_NO_VALUE = 43719;  // "Option %ls needs a value"
constexpr unsigned short IDS_INSPECT_NEEDS = 43720;     // "Option %ls needs %ls"
constexpr unsigned short IDS_INSPECT_NO_INPUT = 43721;  // "Nothing to inspect: ..."
constexpr unsigned short IDS_INSPECT_WRITE_WHICH = 43722;  // "--write with two documents: ..."
constexpr unsigned short IDS_INSPECT_BAD_LOCAL = 43723;    // "Bad module number %ls: ..."
constexpr unsigned short IDS_INSPECT_NO_LOCAL = 43724;     // "%ls: no module %d"
constexpr unsigned short IDS_INSPECT_NUMBER = 43725;       // "%ls: a number does not parse (%ls)"
