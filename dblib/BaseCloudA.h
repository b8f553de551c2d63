// Plain rows of the cloud model: the data of consoles, lifts, users, alerts and events without
// any XML binding, for database and server exchange and as the data part of some nodes.
#pragma once

#include <cstdint>

#include "dblib/DBGUID.h"
#include "dblib/DBString.h"
#include "dblib/DBTime.h"
#include "lib/Sost.h"

namespace TERQCloud {

// Common base of the rows: no members, only static helpers.
class RootA {
public:
    // Access kinds of a user; each is a mask with bit n-1 for the dispatch point numbered n.
    enum typAccess : int {
        taAccess = 0,         // see the console at all
        taManage = 1,         // management
        taSetting = 2,        // setting
        taLBS = 3,            // turn on LBS
        taOut1 = 4,           // output control OUT1
        taOut4 = 5,           // output control OUT4
        taOffLift = 6,        // switch lifts off
        taOnLift = 7,         // switch lifts on
        taViewMCS = 8,        // view settings of the LU/MCS link device
        taSetMCS = 9,         // change settings of the LU/MCS link device
        taViewLU = 10,        // view settings of the lift unit
        taSetLU = 11,         // change settings of the lift unit
        taViewTest = 12,      // view voice-path test parameters and results
        taRunTest = 13,       // enable, disable and run the voice-path test
        taViewBattery = 14,   // view the last test battery
        taRunBattery = 15,    // run test batteries
        taViewFirmware = 16,  // view firmware pages of the lift unit
        taSetFirmware = 17,   // change firmware pages
        taNvRamUp = 18,       // unload NVRAM
        taNvRamDown = 19,     // download NVRAM
        taBreakPoint = 20,    // view breakpoints at the time of an accident
        taTalks = 21,         // listen to saved talks
        taClearErr = 22,      // clear errors fixed in the lift unit
    };
    static constexpr int kCountAccess = 23;

    // Packs count 6-bit values (low 6 bits of each input byte) four into three bytes. Clears
    // out first; false when a group did not fit into outSize (conversion stops there).
    static bool Conv6To8(
        int count, const unsigned char* in, int reserved, unsigned char* out, int outSize);
    // Unpacks count bytes three into four 6-bit values; clears out first; false when a group
    // did not fit.
    static bool Conv8To6(int count, const unsigned char* in, unsigned char* out, int outSize);
    // Event code of a state bit; a code above 0xFF carries (b/6)>>4 in its second byte.
    static int ConvNum(CSostDev::bitLB bit);
    // String-table name of an access kind; "????" for other values.
    static DBString nameTypAccess(typAccess t);
};

// Console row.
class TeamA : public RootA {
public:
    void Clear() { *this = TeamA(); }
    void Copy(const TeamA& o) { *this = o; }

    int m_CodTeam = 0;
    DBString m_Name;
    DBGUID m_GUID;
    std::uint32_t m_CRC = 0;
};

// Dispatch point row.
class PunctA : public RootA {
public:
    void Clear() { *this = PunctA(); }

    int m_CodPunct = 0;
    int m_CodTeam = 0;
    DBString m_Name;
};

// Street row.
class StreetA : public RootA {
public:
    void Clear() { *this = StreetA(); }

    int m_CodStreet = 0;
    int m_CodPunct = 0;
    DBString m_Name;
};

// Building row.
class HouseA : public RootA {
public:
    void Clear() { *this = HouseA(); }

    int m_CodHouse = 0;
    int m_CodStreet = 0;
    DBString m_Name;
    double m_Lat = 0;
    double m_Long = 0;
};

// Lift row.
class LiftA : public RootA {
public:
    void Clear() { *this = LiftA(); }

    int m_CodLift = 0;
    int m_CodHouse = 0;
    DBString m_Name;
    DBGUID m_GUID;
    int m_Ident = 0;  // V7 node number
    int m_Typ = 0;    // CLiftB::typLift
};

// Terminal device row.
class TermDevA : public RootA {
public:
    void Clear() { *this = TermDevA(); }

    int m_CodLift = 0;
    int m_Address = 0;
    int m_Typ = 0;
    int m_Vers = 0;
    DBString m_Short;
    DBString m_Full;
};

// Lift unit row.
class UnitA : public RootA {
public:
    void Clear() { *this = UnitA(); }

    int m_CodUnit = 0;
    int m_Ident = 0;
    int m_Typ = 0;
    int m_Vers = 0;
};

// Unit row of the second protocol.
class ProA : public RootA {
public:
    void Clear() { *this = ProA(); }

    int m_CodPro = 0;
    int m_IDPro = 0;
    int m_Typ = 0;
};

// One state report of a device.
class EventA : public RootA {
public:
    void Clear() { *this = EventA(); }

    // Decodes m_Cod into m_NumSost, m_Stat1 and m_Stat2.
    void Unpack();
    void OpenScan() { m_Scan = 0; }
    // The next set state from the scan position up to state 40 with its name; false when none.
    bool NextSost(DBString& name, CSostDev::bitLB& bit);
    bool tstBit(CSostDev::bitLB bit) const { return m_Sost.tstBit(bit); }
    DBString naimSost(CSostDev::bitLB bit, bool rus) const { return CSostDev::naimSost(bit, rus); }
    static int ConvNum(CSostDev::bitLB bit) { return RootA::ConvNum(bit); }
    // "... a:b:c ..." after the last blank before the first ':'; true when three numbers read.
    bool GetNetAddr(int& a, int& b, int& c) const;
    // The 10-byte wire form of a state word with the listed bits set: bytes 0-3, 4-7 and 8-9
    // as big-endian numbers.
    static void CalcMaskSost(
        const unsigned char* bits, int count, unsigned& m1, unsigned& m2, unsigned& m3);
    // The same for the fixed list of error states.
    static void CalcMaskErr(unsigned& m1, unsigned& m2, unsigned& m3);

    CSostDev m_Sost;
    int m_Cod = 0;     // packed event code (ConvNum)
    int m_Status = 0;  // flags: 1, 2, 4 status bits; 16 an event code was decoded
    DBString m_Text;
    int m_NumSost = 0;  // decoded state number
    int m_Stat1 = 0;
    int m_Stat2 = 0;
    int m_Scan = 0;  // next state NextSost looks at
};

// Service-key row.
class SrvKeyA : public RootA {
public:
    void Clear() { *this = SrvKeyA(); }

    int m_CodKey = 0;
    int m_Number = 0;
    int m_Level = 0;
    DBString m_Owner;
};

// User-group row.
class GroupUserA : public RootA {
public:
    void Clear() { *this = GroupUserA(); }
    void Copy(const GroupUserA& o) { *this = o; }

    int m_CodGroup = 0;  // "IdDB"
    int m_Number = 0;
    DBString m_Name;
    DBString m_Comm;
    int m_Flags = 0;
};

// User row.
class UserA : public RootA {
public:
    // Kinds of the user's client application.
    enum typCliGCM : int {
        tcgNone = 0,
        tcgAndroid = 1,
        tcgIOS = 2,
        tcgWindows = 3,
        tcgLinux = 4,
        tcgMacOS = 5,
        tcgWeb = 6,
        tcgTelegram = 7,
        tcgEMail = 8,
        tcgSMS = 9,
        tcgConsole = 10,
    };

    void Clear() { *this = UserA(); }
    void Copy(const UserA& o) { *this = o; }
    // Bit n-1 of mask t, for 0 <= t <= 22 and 1 <= n <= 32; nothing otherwise.
    void SetTypAccess(typAccess t, int n);
    // Clears it likewise; for taAccess in all 23 masks.
    void ClrTypAccess(typAccess t, int n);
    // Name of the client kind; "(k)" for unknown kinds.
    DBString TypCliGCM() const;

    int m_CodUser = 0;  // "IdDB"
    int m_CodSrc = 0;   // "IdDBSrc"
    DBString m_Name;
    DBString m_PassWd;
    DBString m_Comment;
    DBString m_Profil;
    int m_Flags = 0;
    std::uint32_t m_Access[kCountAccess] = {};
    DBTime m_BegNotify;
    DBTime m_EndNotify;
    DBString m_Token;
    int m_TypCliGCM = 0;
    DBString m_Phone;
    DBString m_EMail;
    DBString m_SIPURL;
    DBString m_POSTURL;
    std::int64_t m_IDTelegram = 0;
};

// Drive statistics row.
class StatDrivA : public RootA {
public:
    void Clear() { *this = StatDrivA(); }

    int m_CodLift = 0;
    DBTime m_Time;
    int m_Count = 0;
};

// Check point row.
class CheckPointA : public RootA {
public:
    void Clear() { *this = CheckPointA(); }

    int m_CodLift = 0;
    DBTime m_Time;
    int m_Point = 0;
};

// Custom input row.
class CustomInpA : public RootA {
public:
    void Clear() { *this = CustomInpA(); }

    int m_CodLift = 0;
    int m_Number = 0;
    DBString m_Name;
};

// Custom output row.
class CustomOutA : public RootA {
public:
    void Clear() { *this = CustomOutA(); }

    int m_CodLift = 0;
    int m_Number = 0;
    DBString m_Name;
};

// Group row.
class GroupA : public RootA {
public:
    void Clear() { *this = GroupA(); }

    int m_CodGroup = 0;
    int m_CodPunct = 0;
    int m_Number = 0;
    DBString m_Name;
};

// Lift placement row.
class LiftInGroupA : public RootA {
public:
    void Clear() { *this = LiftInGroupA(); }

    int m_CodGroup = 0;
    DBGUID m_GUID;
    int m_X = 0;
    int m_Y = 0;
};

// Header of a recorded voice talk.
class HdrVoiceA : public RootA {
public:
    void Clear() { *this = HdrVoiceA(); }

    int m_CodVoice = 0;
    int m_CodLift = 0;
    DBTime m_Begin;
    int m_Frames = 0;
};

// One frame of a recorded voice talk.
class FrameVoiceA : public RootA {
public:
    void Clear() { *this = FrameVoiceA(); }

    int m_CodVoice = 0;
    int m_Number = 0;
    int m_Size = 0;
};

// Profile row.
class ProfileA : public RootA {
public:
    void Clear() { *this = ProfileA(); }

    int m_CodProfile = 0;
    int m_CodUser = 0;
    DBString m_Name;
};

// Profile dispatch-point row.
class ProfilePunctA : public RootA {
public:
    void Clear() { *this = ProfilePunctA(); }

    int m_CodProfile = 0;
    int m_IdPunct = 0;
};

// Alert-message row.
class AlertMsgA : public RootA {
public:
    void Clear() { *this = AlertMsgA(); }
    void Copy(const AlertMsgA& o) { *this = o; }
    // Flag 16 (not from a lift) says no; below 47 the event table decides; 47 up are lifts'.
    bool IsFromLift() const;
    // Whether the subscription must name lifts.
    bool IsMustLift() const;

    int m_CodAlertMsg = 0;
    int m_CodUser = 0;
    int m_NumMsg = 0;
    DBString m_Comment;
    DBString m_Filter;
    DBString m_Annot;
    int m_Flags = 0;
    int m_GroupMask = 0;
    int m_Test = 0;
    int m_DelayNext = 0;
};

// Alert-lift row.
class AlertLiftA : public RootA {
public:
    void Clear() { *this = AlertLiftA(); }
    void Copy(const AlertLiftA& o) { *this = o; }

    int m_CodAlertLift = 0;
    DBString m_Filter;
    DBString m_Annot;
    int m_CodAlertMsg = 0;
    int m_CodLift = 0;
};

// Connected-user row.
class ConnUserA : public RootA {
public:
    void Clear() { *this = ConnUserA(); }
    void Copy(const ConnUserA& o) { *this = o; }

    int m_CodUser = 0;
    DBString m_Name;
    DBTime m_Connect;
    DBString m_Address;
};

}  // namespace TERQCloud
