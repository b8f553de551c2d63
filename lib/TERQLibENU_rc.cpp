// English texts of the service and device layer.
#include "dblib/LoadRes.h"

namespace {

void Insert(int id, const char* text) { InsertResource(g_StringLocaleENU, "ENU", id, text); }

}  // namespace

void TERQLibENU_rc() {
    // Protocol and CRC errors.
    Insert(41000, "CRC error in packet from %ls");
    Insert(41001, "Packet too short: %d bytes");
    Insert(41002, "Packet too long: %d bytes");
    Insert(41003, "Unknown packet type 0x%02X");
    Insert(41004, "Packet length %d does not match header");
    Insert(41005, "Packet cannot be decrypted");
    Insert(41006, "Packet from unknown node %u");
    Insert(41007, "Wrong packet number %d, expected %d");
    Insert(41008, "No answer from %ls");
    Insert(41009, "Channel coding error");
    Insert(41040, "Not defined");

    // XML errors.
    Insert(41071, "XML document is empty");
    Insert(41072, "Unknown element %ls");
    Insert(41073, "Bad value of attribute %ls");
    Insert(41074, "%ls elements %ls");
    Insert(41075, "%ls parameters %ls elements %ls");
    Insert(41076, "Error append");
    Insert(41077, "Error read");
    Insert(41078, "Error create");
    Insert(41079, "Error query of interface");
    Insert(41080, "Error create of XML parsers");
    Insert(41081, "Error appendChild");
    Insert(41082, "Error createProcessingInstruction");
    Insert(41083, "Error loadXML");
    Insert(41084, "Error get_firstChild");
    Insert(41085, "Error replaceChild");
    Insert(41086, "Error get_nextSibling");
    Insert(41087, "Error get_xml");
    Insert(41088, "Error XMLDOMSave->save");
    Insert(41089, "Error m_XMLDOM->load");
    Insert(41090, "Error query of interface IXMLDOMNode by IXMLDOMDocument");

    // USB-port errors.
    Insert(41093, "USB port %ls not found");
    Insert(41094, "Cannot open USB port %ls");
    Insert(41095, "USB port %ls is busy");
    Insert(41096, "Write error on USB port %ls");
    Insert(41097, "Read error on USB port %ls");
    Insert(41098, "USB port %ls closed");
    Insert(41099, "USB device on port %ls disconnected");
    Insert(41100, "Cannot set parameters of USB port %ls");
    Insert(41101, "Timeout on USB port %ls");
    Insert(41102, "No answer from device on USB port %ls");
    Insert(41103, "USB port %ls opened");
    Insert(41104, "Unknown device on USB port %ls");

    // Lift operating modes, code 0..15.
    Insert(41110, "Normal operation");
    Insert(41111, "Inspection");
    Insert(41112, "Maintenance");
    Insert(41113, "Loading");
    Insert(41114, "Priority call");
    Insert(41115, "Fire hazard");
    Insert(41116, "Firefighters transport");
    Insert(41117, "Evacuation");
    Insert(41118, "Parking");
    Insert(41119, "Independent service");
    Insert(41120, "Emergency power");
    Insert(41121, "Seismic alarm");
    Insert(41122, "Stopped by dispatcher");
    Insert(41123, "Test run");
    Insert(41124, "Setup");
    Insert(41125, "Unknown mode");

    // Lift-unit kinds, code 0..7.
    Insert(41126, "Not defined");
    Insert(41127, "Lift unit, type 1");
    Insert(41128, "Lift unit, type 2");
    Insert(41129, "Lift unit, type 2, modified");
    Insert(41130, "Lift unit, type 6");
    Insert(41131, "Lift unit, type 7");
    Insert(41132, "Lift unit, type 6, advanced");
    Insert(41133, "Escalator unit, type 1");

    // Lift-unit designs, code 0..7.
    Insert(41134, "Not defined");
    Insert(41135, "Wall-mounted");
    Insert(41136, "In the control cabinet");
    Insert(41137, "On a DIN rail");
    Insert(41138, "On the car roof");
    Insert(41139, "In the machine room");
    Insert(41140, "Outdoor");
    Insert(41141, "Built-in");

    // Codecs, code 0..7.
    Insert(41142, "Not defined");
    Insert(41143, "Codec G.711 A-law");
    Insert(41144, "Codec G.711 mu-law");
    Insert(41145, "Codec G.722");
    Insert(41146, "Codec G.726");
    Insert(41147, "Codec G.729");
    Insert(41148, "Codec GSM 06.10");
    Insert(41149, "Codec Opus");

    // Terminals, code 0..7.
    Insert(41150, "Not defined");
    Insert(41151, "Car intercom");
    Insert(41152, "Machine room intercom");
    Insert(41153, "Pit intercom");
    Insert(41154, "Car roof intercom");
    Insert(41155, "Card reader");
    Insert(41156, "Floor display");
    Insert(41157, "Video camera");

    // Lift state names and further lift state texts.
    Insert(41158, "Maintenance mode");
    Insert(41159, "State unknown");
    Insert(41160, "Normal state");
    Insert(41161, "Lift is moving");
    Insert(41162, "Lift is standing");
    Insert(41163, "Multiple door reversing");
    Insert(41164, "Machine room penetration");
    Insert(41165, "Lift is not powered");
    Insert(41166, "‘STOP’ button clamped");
    Insert(41167, "Door opening");
    Insert(41168, "Cabin door opened");
    Insert(41169, "Safety chain open");
    Insert(41170, "Door is not closed");
    Insert(41171, "Safety chain short circuit");
    Insert(41172, "Dispatcher call");
    Insert(41173, "Door closing");
    Insert(41174, "Door open");
    Insert(41175, "Unauthorized cabin movement");
    Insert(41176, "Main drive fault");
    Insert(41177, "Door drive fault");
    Insert(41178, "Shaft penetration");
    Insert(41179, "Door closed");
    Insert(41180, "Moving up");
    Insert(41181, "Safety Device fault");
    Insert(41182, "Out of service");
    Insert(41183, "Moving down");
    Insert(41184, "Overload");
    Insert(41185, "Machine room open");
    Insert(41186, "Cabin between floors");
    Insert(41187, "Cabin door sensor fault");
    Insert(41188, "Full load");
    Insert(41189, "Car at floor %d");
    Insert(41190, "Lack of serial port communication");
    Insert(41191, "Main drive is ON");
    Insert(41192, "Fault cleared");
    Insert(41193, "New fault");
    Insert(41194, "Link restored");
    Insert(41195, "Link lost");
    Insert(41196, "RESERVED1");
    Insert(41197, "Voltage at safety chain begin checkpoint");
    Insert(41198, "Movement with safety chain open");
    Insert(41199, "Refining call - from machine room");
    Insert(41200, "Fault voice route");
    Insert(41201, "Low bits statistics");
    Insert(41202, "High bits statistics");
    Insert(41203, "Passenger in cabin");
    Insert(41204, "RESERVED30");
    Insert(41205, "RESERVED31");
    Insert(41206, "USER1 state");
    Insert(41207, "USER2 state");
    Insert(41208, "USER3 state");
    Insert(41209, "USER4 state");
    Insert(41210, "No mains power");
    Insert(41211, "Safety circuit AC voltage");
    Insert(41212, "Idle lift 1 hour");
    Insert(41213, "Not information");
    Insert(41214, "Not link");
    Insert(41215, "Fire hazard");
    Insert(41216, "Firmware restart");
    Insert(41227, "Idle lift %d min");
    Insert(41228, "Lift has not moved since %ls");
    Insert(41229, "Backup battery fault");

    // Device models, code 0..33.
    Insert(41242, "Not defined");
    Insert(41243, "Lift unit, type 1");
    Insert(41244, "Lift unit, type 2");
    Insert(41245, "Lift unit, type 2, modified");
    Insert(41246, "Lift unit, type 3");
    Insert(41247, "Escalator unit");
    Insert(41248, "Hoist unit");
    Insert(41249, "Intercom unit");
    Insert(41250, "Intercom unit with extension");
    Insert(41251, "Sensor unit");
    Insert(41252, "Sensor unit with extension");
    Insert(41253, "Lift unit, type 6");
    Insert(41254, "Lift unit, type 6, advanced");
    Insert(41255, "Relay output unit");
    Insert(41256, "Lift unit, type 7, advanced");
    Insert(41257, "Bus repeater");
    Insert(41258, "IT terminal");
    Insert(41259, "Power monitor");
    Insert(41260, "IT terminal with display");
    Insert(41261, "IT terminal with camera");
    Insert(41262, "Card reader");
    Insert(41263, "Floor display");
    Insert(41264, "Fire alarm interface");
    Insert(41265, "Energy meter");
    Insert(41266, "Temperature sensor");
    Insert(41267, "Door position sensor");
    Insert(41268, "Car load sensor");
    Insert(41269, "Seismic sensor");
    Insert(41270, "Water level sensor");
    Insert(41271, "Backup power unit");
    Insert(41272, "GSM modem");
    Insert(41273, "Ethernet adapter");
    Insert(41274, "Voice codec unit");
    Insert(41275, "Programming adapter");

    // Bus types, code 0..6.
    Insert(41276, "Not defined");
    Insert(41277, "Line bus");
    Insert(41278, "RS-485 bus");
    Insert(41279, "CAN bus");
    Insert(41280, "Two-wire bus");
    Insert(41281, "Radio channel");
    Insert(41282, "Ethernet network");

    // Controller models.
    Insert(41283, "Network module");
    Insert(41284, "Line bus controller");
    Insert(41285, "Ethernet controller");
    Insert(41286, "Line link controller");
    Insert(41287, "Voice intercom controller");
    Insert(41288, "Console link controller");
    Insert(41289, "USB adapter");
    Insert(41290, "Radio link controller");
    Insert(41291, "GSM link controller");
    Insert(41292, "Terminal controller");
    Insert(41293, "Codec controller");
    Insert(41294, "Power supply unit");
    Insert(41295, "Backup battery");
    Insert(41296, "Microprogram version %d.%d");

    // Loading the device network: a module number met twice or out of range.
    Insert(41297, "UM %d already exist in structure");

    // Data-routing messages.
    Insert(41311, "No route to module %d");
    Insert(41312, "Module %d is not reachable");
    Insert(41313, "Module %d reached through slot %d:%d");
    Insert(41314, "Route to module %d makes a loop");
    Insert(41315, "Packet to module %d dropped");
    Insert(41316, "Local module not defined");
    Insert(41317, "Route to module %d restored");

    // Packet, NVRAM and key errors.
    Insert(41320, "CRC error in older-format packet");
    Insert(41323, "Unknown message type %d");
    Insert(41326, "Message does not fit into the packet");
    Insert(41329, "Bad device address %d");
    Insert(41332, "NVRAM read error at address %d");
    Insert(41335, "NVRAM write error at address %d");
    Insert(41338, "Network key not set");
    Insert(41341, "Wrong network key");
    Insert(41344, "Unknown V7 node %u");
    Insert(41347, "V7 input queue overflow");
    Insert(41350, "Cloud port %d not available");

    // Escalator, travelator and hoist modes.
    Insert(41369, "Escalator: up");
    Insert(41370, "Escalator: down");
    Insert(41371, "Escalator: stopped");
    Insert(41372, "Escalator: slow speed");
    Insert(41373, "Escalator: reverse");
    Insert(41374, "Travelator: forward");
    Insert(41375, "Travelator: backward");
    Insert(41376, "Travelator: stopped");
    Insert(41377, "Hoist: loading");

    // Floors and addresses.
    Insert(41382, "Floor %ls");
    Insert(41383, "Floor %d");
    Insert(41386, "Lift unit %d:%d:%d");
    Insert(41389, "Slot %d:%d");
    Insert(41392, "Module %d");

    // Operator-level events 1..46 (43005 + event number).
    Insert(43006, "Start");
    Insert(43007, "Stop");
    Insert(43008, "Mode - Operator");
    Insert(43009, "Mode - Customizing");
    Insert(43010, "Lost link with LBC in slot %d:%d:%d");
    Insert(43011, "On LBS in slot %d:%d:%d");
    Insert(43012, "- - -");
    Insert(43013, "Restart LU - code 0x%02X");
    Insert(43014, "Restart in slot %d:%d:%d");
    Insert(43015, "On LSC in slot %d:%d:%d");
    Insert(43016, "Off LSC in slot %d:%d:%d");
    Insert(43017, "On LSC with lift car");
    Insert(43018, "On LSC with MR");
    Insert(43019, "Off LSC");
    Insert(43020, "Deferred servicing");
    Insert(43021, "Errors cleaning");
    Insert(43022, "Run driving dialog");
    Insert(43023, "Lift power-up");
    Insert(43024, "Lift power down");
    Insert(43025, "Export log into CSV file");
    Insert(43026, "Log truncate");
    Insert(43027, "Enter password for customizings");
    Insert(43028, "Enter password to switch on Lift");
    Insert(43029, "Extracted SK in slot %d:%d:%d");
    Insert(43030, "In slot %d:%d:%d insert SK");
    Insert(43031, "Not way to slot %d:%d:%d");
    Insert(43032, "Appear way to slot %d:%d:%d");
    Insert(43033, "Busy COM port for IMI");
    Insert(43034, "Not exchange by IMI");
    Insert(43035, "Penetration in well");
    Insert(43036, "Expireware in slot %d:%d:%d");
    Insert(43037, "LBC %d:%d:%d not define in net structure (TERQDrvCfg)");
    Insert(43038, "Fault LB in slot %d:%d:%d");
    Insert(43039, "Fault current source 60v in slot %d:%d:%d");
    Insert(43040, "Emergency power in slot %d:%d:%d");
    Insert(43041, "Gradual shutdowns of lifts");
    Insert(43042, "Lift possibly long time not move");
    Insert(43043, "Lift probably long time not move");
    Insert(43044, "Turn-on outputs");
    Insert(43045, "Turn-off outputs");
    Insert(43046, "The number of the current floor");
    Insert(43047, "Bad storage battery in slot %d:%d:%d");
    Insert(43048, "reserve channel %d:%d:%d");
    Insert(43049, "Operator message");
    Insert(43050, "Elevator operating mode");
    Insert(43051, "Faulty voice codec in slot %d:%d:%d");

    // Device-network loading: duplicates.
    Insert(43052, "Slot %d already exist in UM %d:%d");
    Insert(43053, "Device %d  already exist in slot %d:%d:%d");
    Insert(43054, "External link (%d:%d)->(%d:%d) already exist in structure");
    Insert(43055, "Internal link %d (%d:%d)->(%d:%d) already exist in structure");

    // Modules, slots and devices.
    Insert(43056, "Module %d not found");
    Insert(43057, "Slot %d:%d not found");
    Insert(43058, "Device %d:%d:%d not found");
    Insert(43059, "Module %d renamed to %d");
    Insert(43060, "Module %d not linked to the console");
    Insert(43061, "Slot %d:%d: address assigned");
    Insert(43062, "Slot %d:%d: microprogram loaded");
    Insert(43063, "Slot %d:%d: microprogram loading error");
    Insert(43064, "Slot %d:%d: configuration requested");
    Insert(43065, "Slot %d:%d: network key saved");
    Insert(43066, "Slot %d:%d: network key generated");
    Insert(43067, "Device %d:%d:%d: NVRAM read");
    Insert(43068, "Device %d:%d:%d: NVRAM written");
    Insert(43069, "Device %d:%d:%d: hard boot");
    Insert(43070, "Device %d:%d:%d: link lost");
    Insert(43071, "Device %d:%d:%d: link restored");
    Insert(43072, "Device %d:%d:%d: version %d");
    Insert(43073, "Voice intercom on");
    Insert(43074, "Voice intercom off");
    Insert(43075, "Voice intercom busy");
    Insert(43076, "Alert 0x%x from %ls");
    Insert(43077, "Alert %d from lift unit %d:%d:%d");
    Insert(43078, "Packet sent to module %d");
    Insert(43079, "Packet without identifier cleared");
    Insert(43080, "Queue of module %d is full");
    Insert(43081, "Unknown module %d in packet");
    Insert(43082, "Link %d:%d -> %d:%d set up");
    Insert(43083, "Link %d:%d -> %d:%d broken");
    Insert(43084, "Module %d lost");
    Insert(43085, "All modules reachable");
    Insert(43086, "Program version");
    Insert(43087, "Copyright");
    Insert(43088, "Product");

    // The maker (About box).
    Insert(43089, "https://www.example.com");
    Insert(43090, "Example Systems Ltd.");

    // Structure names.
    Insert(43091, "Console %ls");
    Insert(43092, "Dispatch point %ls");
    Insert(43093, "Street %ls");
    Insert(43094, "Building %ls");
    Insert(43095, "Lift %ls");
    Insert(43096, "Group %ls");
    Insert(43097, "Unknown");
    Insert(43132, "Yes");
    Insert(43133, "No");

    // Lift statistics and lift-unit fields.
    Insert(43298, "Number of starts");
    Insert(43299, "Running hours");
    Insert(43300, "Door cycles");
    Insert(43301, "Faults per day");
    Insert(43302, "Downtime");
    Insert(43303, "Last maintenance");
    Insert(43304, "Next maintenance");
    Insert(43305, "Calls from car");
    Insert(43306, "Calls from floors");
    Insert(43307, "Call %d");
    Insert(43308, "Command %d");
    Insert(43309, "Current floor");
    Insert(43310, "Damage code %d");

    // Further protocol errors.
    Insert(43323, "CRC-7 error");
    Insert(43324, "CRC-16 error");
    Insert(43325, "Cipher key error");
    Insert(43326, "Packet %d repeated");
    Insert(43327, "Packet %d out of order");
    Insert(43328, "Receive buffer overflow");

    // Further USB-port texts.
    Insert(43471, "USB port");
    Insert(43472, "Speed %u baud");
    Insert(43473, "Searching devices on USB ports");
    Insert(43474, "Device found on USB port %ls");
    Insert(43475, "No USB devices found");
    Insert(43476, "USB driver not loaded");
    Insert(43477, "Access to USB port %ls denied");
    Insert(43478, "USB port %ls reopened");

    // Further XML errors.
    Insert(43501, "Element %ls not found");
    Insert(43502, "Attribute %ls not found");
    Insert(43503, "Attribute %ls of element %ls is empty");
    Insert(43504, "Bad number in attribute %ls");
    Insert(43505, "Bad IP address in attribute %ls");
    Insert(43506, "Bad date in attribute %ls");
    Insert(43507, "Bad GUID in attribute %ls");
    Insert(43508, "File %ls not found");
    Insert(43509, "File %ls cannot be read");
    Insert(43510, "File %ls cannot be written");
    Insert(43511, "Root element %ls not found");

    // Further data-routing messages.
    Insert(43603, "Route table cleared");
    Insert(43604, "Route to module %d through module %d");
    Insert(43605, "Module %d: %d hops");
    Insert(43606, "Too many hops to module %d");
    Insert(43607, "Routing off");
    Insert(43608, "Routing on");
    Insert(43609, "Packet with hop count %d dropped");
    Insert(43610, "Packet for module %d sent through the cloud");
    Insert(43611, "Cloud connection lost");
    Insert(43612, "Cloud connection established");
    Insert(43613, "Cloud address %ls");
    Insert(43614, "Cloud port %d");
    Insert(43617, "Priority %d");
    Insert(43618, "Packet %d");
    Insert(43619, "Message %d");

    // terq-inspect, the inspection tool.
    Insert(43700,
           "Usage: terq-inspect [--cloud FILE] [--net FILE] [--local N] [--write OUT]\n"
           "Loads a cloud structure document and/or a device-network document with the TERQ\n"
           "models and prints what they hold, every load report, and the modules not reachable\n"
           "from module N.\n"
           "\n"
           "  --cloud FILE       the cloud structure document (root element TERQCLOUD)\n"
           "  --net FILE         the device-network document (its root element holds the modules)\n"
           "  --local N          list the modules not reachable from module N (0 to 255)\n"
           "  --write OUT        save the one document given as its model writes it\n"
           "  --write-cloud OUT  save the cloud structure document (needed with two documents)\n"
           "  --write-net OUT    save the device-network document (needed with two documents)\n"
           "  -h, --help         show this help and exit\n"
           "  --version          show the version and exit\n"
           "\n"
           "A file is written through a temporary file renamed over OUT: a failure leaves none.\n"
           "Texts follow the Language of $HOME/TERQ/etc/TERQClient.xml.\n"
           "Exit status: 0 loaded without reports, 1 loaded with reports, 2 unreadable or\n"
           "malformed input or a bad command line.");
    Insert(43701, "terq-inspect %ls");
    Insert(43702, "Cloud structure %ls");
    Insert(43703,
           "  consoles %d, dispatch points %d, streets %d, homes %d, lifts %d, groups %d, "
           "users %d");
    Insert(43704, "Device network %ls");
    Insert(43705, "  modules %d, slots %d, devices %d, links %d");
    Insert(43706, "  load reports: %d");
    Insert(43707, "Modules not reachable from module %d: %ls");
    Insert(43708, "All modules are reachable from module %d");
    Insert(43709, "Written %ls");
    Insert(43710, "%ls: cannot be read: %ls");
    Insert(43711, "%ls: not a regular file");
    Insert(43712, "%ls: larger than 1 GiB");
    Insert(43713, "%ls: zero byte at offset %d: not an XML text");
    Insert(43714, "%ls: not well-formed XML, line %d: %ls");
    Insert(43715, "%ls: no %ls root element: not a cloud structure document");
    Insert(43716, "%ls: cannot be loaded: %ls");
    Insert(43717, "%ls: cannot be written: %ls");
    Insert(43718, "Unknown option %ls; see --help");
    Insert(43719, "Option %ls needs a value");
    Insert(43720, "Option %ls needs %ls");
    Insert(43721, "Nothing to inspect: give --cloud FILE or --net FILE; see --help");
    Insert(43722, "--write with two documents: use --write-cloud and --write-net");
    Insert(43723, "Bad module number %ls: 0 to 255 expected");
    Insert(43724, "%ls: no module %d");
    Insert(43725, "%ls: a number in the document does not parse (%ls)");

    // Controller generations.
    Insert(43850, "V6 controller");
    Insert(43851, "V7 controller");
    Insert(43852, "V7 Pro controller");
    Insert(43853, "IT controller");
}
