// The state word of a lift: 6-bit units of flags with 43 named states.
#pragma once

#include "dblib/DBString.h"
#include "lib/InfoCLB.h"

// Bit b (0..47) is bit (b mod 6) of unit b/6. States 40, 41 and 42 are not kept in the units but
// in the attached CInfoCLB as its bits 0, 10 and 11. Units beyond the count are kept zero.
class CSostDev {
public:
    enum bitLB {
        bitMaintenance = 0,       // maintenance mode
        bitRestart = 1,           // firmware restart
        bitDoorReverse = 2,       // multiple door reversing
        bitMachRoomEntry = 3,     // machine room penetration
        bitNoPower = 4,           // lift is not powered
        bitStopClamped = 5,       // 'STOP' button clamped
        bitCabinDoorOpen = 6,     // cabin door opened
        bitChainOpen = 7,         // safety chain open
        bitDoorNotClosed = 8,     // door is not closed
        bitChainShort = 9,        // safety chain short circuit
        bitDispCall = 10,         // dispatcher call
        bitUnauthMove = 11,       // unauthorized cabin movement
        bitMainDriveFault = 12,   // main drive fault
        bitDoorDriveFault = 13,   // door drive fault
        bitShaftEntry = 14,       // shaft penetration
        bitSafetyFault = 15,      // safety device fault
        bitOutOfService = 16,     // out of service
        bitMachRoomOpen = 17,     // machine room open
        bitBetweenFloors = 18,    // cabin between floors
        bitDoorSensorFault = 19,  // cabin door sensor fault
        bitNoSerial = 20,         // lack of serial port communication
        bitMainDriveOn = 21,      // main drive is on
        bitReserved1 = 22,        // reserved
        bitChainVoltage = 23,     // voltage at safety chain begin checkpoint
        bitMoveChainOpen = 24,    // movement with safety chain open
        bitRefiningCall = 25,     // refining call from the machine room
        bitVoiceFault = 26,       // fault voice route
        bitStatLow = 27,          // low bit of the drive statistics
        bitStatHigh = 28,         // high bit of the drive statistics
        bitPassenger = 29,        // passenger in cabin
        bitReserved30 = 30,       // reserved
        bitReserved31 = 31,       // reserved
        bitUser1 = 32,            // user state 1
        bitUser2 = 33,            // user state 2
        bitUser3 = 34,            // user state 3
        bitUser4 = 35,            // user state 4
        bitNoMains = 36,          // no mains power
        bitChainAC = 37,          // safety circuit AC voltage
        bitFire = 38,             // fire hazard
        bitBatteryFault = 39,     // backup battery fault
        bitIdle1Hour = 40,        // idle lift 1 hour (CInfoCLB bit 0)
        bitNoInfo = 41,           // no information (CInfoCLB bit 10)
        bitNoLink = 42,           // no link (CInfoCLB bit 11)
    };
    static constexpr int kCountBitLB = 43;

    CSostDev() { Clear(); }

    void Clear();
    // No non-zero unit within the count.
    bool IsEmpty() const;
    // n = 6: 4 units then 2 info units; n = 10: 8 units then 2 info units. Returns the count
    // of units taken (4 or 8); any other n or null bytes leaves the word cleared and returns 0.
    int SetData(const unsigned char* bytes, int n);
    // Writes the units then the info units and returns their number, 0 when they do not fit.
    // With no units but non-empty info, writes 4 zero units before the info units.
    int GetData(unsigned char* buf, int size) const;

    int Count() const { return m_count; }
    // 40, 41, 42 go to the info bits 0, 10, 11; other b in 0..47 to the units; others false.
    bool tstBit(int b) const;
    // Setting a unit bit beyond the count grows the count to 4 or 8.
    bool setBit(int b);
    bool clrBit(int b);
    // The unit bit for 0..47 without the redirection of 40..42.
    bool tstBitDirect(int b) const;
    // Unit i (0..7), else 0.
    unsigned char operator[](int i) const;

    CInfoCLB& Info() { return m_info; }
    const CInfoCLB& Info() const { return m_info; }

    // With no information or no link the units mean nothing: they are cleared (count 0).
    void Normaliz();
    // One of the error states 0..39 is set, else whether state 40 is set.
    bool IsError() const;
    // The error class of a state (false outside 0..42).
    static bool IsError(bitLB b);
    // States without an operator meaning: 25, 27, 28.
    static bool IsNoValBit(bitLB b);
    // Drive statistics 0..3: state 28 x 2 + state 27.
    int GetStatDriv() const;
    // 5-bit code of states 8 to 12.
    int GetCodErrHF() const;

    // Resource number of the state's name, 0 outside 0..42.
    static unsigned short naimSostRes(int b);
    // The name in the current language.
    static DBString naimSost(bitLB b);
    // The name in Russian (rus) or English.
    static DBString naimSost(bitLB b, bool rus);

    // Same state: the 8 units compared as values (an absent unit reads 0) and the info equal
    // by CInfoCLB::EQ.
    bool EQ(const CSostDev& other) const;
    // Exactly the same: counts, units and info.
    bool operator==(const CSostDev& other) const;
    bool operator!=(const CSostDev& other) const { return !(*this == other); }

    // Units within the count, unit 0 first, six binary digits each, most significant first.
    DBString BinStr() const;
    // Units within the count as "%02X".
    DBString HexStr() const;

private:
    int m_count;
    unsigned char m_data[8];
    CInfoCLB m_info;
};
