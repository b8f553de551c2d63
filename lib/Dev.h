// A device on the bus of one slot, and the device table a slot owns.
#pragma once

#include <vector>

#include <libxml/tree.h>

#include "dblib/DBString.h"
#include "dblib/DBTime.h"
#include "lib/Mes.h"
#include "lib/NvRam.h"
#include "lib/Sost.h"
#include "lib/SostDZ.h"
#include "lib/SostSens.h"

class CSlot;
class CDevTab;
class CParam;

// One device: its address on the slot's bus, its model code and its live state. A device may
// live detached (no slot, no table): a lift of the cloud model is one. Owns its parameter object.
// Not thread-safe: a host that shares a network model locks around it.
class CDev {
public:
    // Device-model codes that the layer tells apart; the others only name a model.
    enum typDev {
        tdNone = 0,      // not defined
        tdExtFirst = 7,  // 7..10: the extension is known only when the device says so
        tdExtLast = 10,  // last code of that range
        tdV6 = 11,       // lift unit of the sixth generation
        tdPro = 12,      // lift unit "Pro", V6 protocol
        tdV7 = 14,       // lift unit speaking V7
        tdIT16 = 16,     // IT device
        tdIT18 = 18,     // IT device
        tdIT19 = 19,     // IT device
        tdCount = 34,    // codes with a name
    };
    static constexpr const char* s_Element = "Dev";
    static constexpr const char* s_Addr = "Addr";

    // A detached device: address 0, model 0.
    CDev();
    explicit CDev(int addr, int typ = tdNone);
    CDev(const CDev&) = delete;
    CDev& operator=(const CDev&) = delete;
    virtual ~CDev();

    // "Dev" element under parent with the fields; throws ErrorXML (41076) when it cannot be made.
    void XMLAdd(xmlNode* parent);
    // Rewrites "Addr" (written even when 0) and the parameter object's fields; no node: nothing.
    void XMLUpdate();
    // Unlinks and frees the node.
    void XMLRemove();
    // Binds node and reads "Addr" (absent: 0).
    void XMLLoad(xmlNode* node);
    // After the whole tree was read: the parameter object reads its fields.
    void XMLPostLoad();

    // Messages to this device through its slot (destination the slot, device this address);
    // return 1 when the message went into a packet, 0 when the device has no slot or no slot
    // serves it.
    int AddMes(int prior,
               CMes::typMes t,
               CMes::askFromMain a,
               const unsigned char* bytes,
               int n,
               int extra = 256);
    int AddMes(int prior, CMes::subServ18 s, const unsigned char* bytes, int n);

    // Takes the device state from a state message (types 25 and 26) of this address: the
    // current state becomes the previous one. Returns true when the state changed; other
    // messages leave everything and return false.
    bool SetParDev(const CMes& mes);
    // The current floor of a lift-state message (type 26, extension 10): floor and true; for
    // other messages floor is left and the result is false.
    static bool GetFloor(const CMes& mes, int& floor);

    // Model classes; the static forms take the code, the member forms use the device's own.
    static bool IsV6(int typ);
    static bool IsV7(int typ);
    static bool IsPro(int typ);
    static bool IsIT(int typ);
    // Every code outside 7..10; inside only when knownExt.
    static bool IsKnovExt(int typ, bool knownExt);
    bool IsV6() const { return IsV6(m_typDev); }
    bool IsV7() const { return IsV7(m_typDev); }
    bool IsPro() const { return IsPro(m_typDev); }
    bool IsIT() const { return IsIT(m_typDev); }
    bool IsKnovExt() const { return IsKnovExt(m_typDev, m_KnovExt); }
    // Extension mode 1 or 2.
    bool IsExtended() const { return m_ModeExt == 1 || m_ModeExt == 2; }
    // Protocol generation: 7 for V7, 6 for the other V6 models, 0 for the rest.
    int GetVers() const;

    // Asks the device for a restart through its slot; 1 when the request went into a packet.
    int HardBoot(int prior);
    // Forgets everything learnt from the device (states, NVRAM, counters); keeps address, model,
    // slot and node.
    void Clear();
    // The device is out of reach: the state is cleared and marks "no link", so that the change
    // shows; the previous state keeps what was known.
    void ClearForLost();

    // Names of codes in the current language; an unknown code names "Not defined".
    static DBString nameTypDev(int typ);
    static DBString TypLB(int code);
    static DBString DesignLB(int code);
    static DBString TypCodec(int code);
    static DBString TypTerm7(int code);

    int m_Addr = 0;         // address on the slot's bus
    DBTime m_TimeCreate;    // when the device was made
    DBTime m_TimeSost;      // when the last state arrived
    int m_typDev = tdNone;  // model code
    CSlot* m_pSlot = nullptr;
    CDevTab* m_pTab = nullptr;
    CNvRam m_NvRam;
    CSostDev m_Sost;     // current state, with its bus-controller information
    CSostDev m_SostOld;  // state before the last change
    CSostDZ m_SostDZ;
    CSostSens m_SostSens;
    CParam* m_pParam = nullptr;  // owned
    int m_CntMes = 0;            // state messages taken
    int m_CntLost = 0;           // times the device went out of reach
    unsigned m_Flags = 0;        // host flags, never touched by the layer
    bool m_KnovExt = false;      // the device told its extension (models 7..10)
    int m_ModeExt = 0;           // extension mode: 1 and 2 are extended
    bool m_bENU;                 // resource language at construction
    xmlNode* m_pNode = nullptr;
};

// The devices of one slot, owned, one per address.
class CDevTab {
public:
    static constexpr const char* s_Element = "TabDev";

    explicit CDevTab(CSlot* slot = nullptr);
    CDevTab(const CDevTab&) = delete;
    CDevTab& operator=(const CDevTab&) = delete;
    virtual ~CDevTab();

    // The device of that address, or null.
    CDev* Find(int addr) const;
    // Takes dev when its address is free (returns true); refuses a null or a duplicate (false,
    // the caller keeps it).
    bool Insert(CDev* dev);
    // Removes, unlinks from the XML and frees the device; false when there is none.
    bool Delete(int addr);
    // Sorts by address.
    void ReOrder();
    // Makes the device a loaded "Dev" element becomes: the slot's CreateDev, or a plain CDev for
    // a table without slot.
    virtual CDev* CreateDev(int addr);

    // "TabDev" under parent with every device; throws ErrorXML (41076).
    void XMLAdd(xmlNode* parent);
    void XMLUpdate();
    void XMLRemove();
    // Reads the "Dev" children of a "TabDev" element; a duplicate address is reported through
    // the host's log ("Device %d  already exist in slot %d:%d:%d", the new address first, then
    // the slot that holds it) and not inserted.
    void XMLLoad(xmlNode* node);
    void XMLPostLoad();

    int Count() const { return static_cast<int>(m_List.size()); }
    CDev* operator[](int i) const { return m_List[static_cast<size_t>(i)]; }

    std::vector<CDev*> m_List;
    CSlot* m_pSlot;
    xmlNode* m_pNode = nullptr;
};
