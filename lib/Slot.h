// Slots of a network module, the host interface of the device network and the link tables.
#pragma once

#include <vector>

#include <libxml/tree.h>

#include "dblib/DBString.h"
#include "dblib/DBTime.h"
#include "lib/Dev.h"
#include "lib/Link.h"
#include "lib/Mes.h"
#include "lib/NvRam.h"
#include "lib/Pack.h"

class CPult;
class CSlot;
class CSlotTab;
class CUM;
class CUMTab;

// Host-specific parameters attached to a module, slot, device or link. The owner deletes it.
class CParam {
public:
    virtual ~CParam() = default;
    // Writes the host's fields into the owner's element.
    virtual void XMLUpdate(xmlNode* /*node*/) {}
    // Reads them back after the whole tree was loaded.
    virtual void XMLLoad(xmlNode* /*node*/) {}
};

// The dispatcher of a host program: what the layer hands over. Every operation has a default,
// so a host overrides only what it needs. The layer never passes a null console. A host
// operation may throw; the layer holds no lock while it runs and the exception passes through.
class CDisp {
public:
    virtual ~CDisp() = default;
    // A log text; error marks a fault.
    virtual void PutLog(const wchar_t* /*text*/, bool /*error*/) {}
    // A packet that must go without a packet number; the default drops it (clears it).
    virtual void PutNoIdent(CPult* /*pult*/, CPackMes& pack) { pack.Clear(); }
    virtual void SendAlert(CPult* /*pult*/,
                           int /*um*/,
                           int /*slot*/,
                           CMes::typAlert /*code*/,
                           const unsigned char* /*bytes*/,
                           int /*n*/) {}
    // A finished packet of a slot of that console; the layer clears the packet afterwards.
    virtual void SendPack(CPult* /*pult*/, CPackMes& /*pack*/) {}
    // The slot through which module um is reached from that console, or null (none known).
    virtual CSlot* FindSlot(CPult* /*pult*/, int /*um*/) { return nullptr; }
};

// A console of the host: the owner of one module table. The defaults come from the constructor.
class CPult {
public:
    // No local module (-1), no routing, no dispatcher, origin half 0.
    explicit CPult(CDisp* disp = nullptr, int numUM = -1, bool route = false, int orig = 0)
        : m_pDisp(disp), m_NumUM(numUM), m_Route(route), m_Orig(orig) {}
    virtual ~CPult() = default;

    // The console's local module number; -1 for none.
    virtual int NumUM() const { return m_NumUM; }
    // Whether messages for far modules go through the slot the dispatcher names.
    virtual bool IsRoute() const { return m_Route; }
    // The dispatcher the layer calls; null: nothing is handed over.
    virtual CDisp* Disp() const { return m_pDisp; }
    // The origin half (0..15) that SetAddr writes into a slot's packet address.
    virtual int NumOrig() const { return m_Orig; }

protected:
    CDisp* m_pDisp;
    int m_NumUM;
    bool m_Route;
    int m_Orig;
};

// One slot of a network module: what is plugged in (typSlot), its bus, its devices, its links
// and its outgoing packet. Owns its tables, packet and parameter object. Not thread-safe.
class CSlot {
public:
    // Slot type codes the layer tells apart.
    enum typSlot {
        tsNone = 0,          // nothing defined
        tsCLB = 1,           // bus controller, programmable
        tsLine = 2,          // outgoing line link
        tsLineInp = 3,       // input line link
        tsNoDevice = 4,      // holds no devices
        tsEther = 5,         // outgoing Ethernet link
        tsEtherInp = 6,      // input Ethernet link
        tsEtherPro = 12,     // outgoing Ethernet link, programmable
        tsEtherProInp = 13,  // its input twin, programmable
        tsLine2 = 18,        // outgoing line link, second kind
        tsLine2Inp = 19,     // its input twin
    };
    static constexpr int kMaxNumber = 15;
    static constexpr const char* s_Element = "Slot";
    static constexpr const char* s_Number = "Number";
    static constexpr const char* s_TypSlot = "TypSlot";
    static constexpr const char* s_Program = "Program";
    static constexpr const char* s_LinkUM = "LinkUM";
    static constexpr const char* s_LinkSlot = "LinkSlot";

    explicit CSlot(int number = 0, int typ = tsNone);
    CSlot(const CSlot&) = delete;
    CSlot& operator=(const CSlot&) = delete;
    virtual ~CSlot();

    // Type classes; the static forms take the code.
    static bool IsDevice(int t) { return t != tsNoDevice; }
    static bool IsLine(int t) { return t == 2 || t == 18; }
    static bool IsEther(int t);
    static bool IsInpLink(int t);
    static bool IsNewGGS(int t);
    static bool CanProgramm(int t) { return t == 1 || t == 12 || t == 13; }
    // The input type at the far end of an outgoing link type, or -1 for other types.
    static int InpType(int t);
    bool IsDevice() const { return IsDevice(m_typSlot); }
    bool IsLine() const { return IsLine(m_typSlot); }
    bool IsEther() const { return IsEther(m_typSlot); }
    bool IsInpLink() const { return IsInpLink(m_typSlot); }
    bool IsNewGGS() const { return IsNewGGS(m_typSlot); }
    // Bus types 0, 1 and 3..8.
    bool IsCLB() const;
    // The program flag, or second type field 10.
    bool IsProgram() const { return m_Program || m_typSlot2 == 10; }
    // The slot's module is its console's local module.
    bool IsLocal() const;
    // Name of a bus-type code in the current language; unknown codes are "Not defined".
    static DBString nameTypBus(int typ);

    // Module number, -1 when detached.
    int NumUM() const;
    // The console of the module's table, or null.
    CPult* Pult() const;
    // The console's dispatcher, or null.
    CDisp* Disp() const;
    // The slot whose packet carries messages of this slot: this one when its module is local or
    // the console does not route, else the slot the dispatcher names for the module, followed
    // on the same way. Null when there is no console, the dispatcher names none, or the chain
    // has not ended after 256 asks (a dispatcher that routes in a circle).
    CSlot* ServSlot();

    // Message to this slot (destination this module and slot, origin unassigned 255:15, which
    // the host fills on sending) into the serving slot's packet at priority prior. A full packet
    // is handed over (Put) and the message goes into the fresh one, again at prior. Returns 1,
    // or 0 when nothing serves or the message does not fit even an empty packet.
    int AddMes(int prior, const CMes& mes);
    int AddMes(int prior, CMes::typMes t, const unsigned char* bytes, int n);
    int AddMes(int prior, CMes::typService s, const unsigned char* bytes, int n);
    int AddMes(int prior, CMes::typPrefix p, unsigned char b);
    int AddMesSetNVRAM(
        int prior, CMes::jobNVRAM j, int address, int count, const unsigned char* bytes);
    // As AddMes, flushing through PutNoIdent.
    int AddMesNoIdent(int prior, const CMes& mes);
    // The serving slot's packet, when not empty, to the dispatcher's SendPack with the console,
    // then cleared. With no dispatcher the packet stays as it is.
    void Put();
    // The serving slot's packet, when not empty, to the dispatcher's PutNoIdent, which decides
    // what becomes of it (its default clears it).
    void PutNoIdent();
    // Priority of the serving slot's packet.
    void SetPrior(int prior);
    // Next packet number: 1..63 in a cycle, 0 skipped.
    int NextIdent();
    // Both time stamps to now; the packet address to origin NumOrig() of the console (0 without
    // one) and destination this slot number. Pending messages stay in the packet.
    void SetAddr();
    // A log text through the dispatcher; nothing without console or dispatcher.
    void PutLog(const DBString& text, bool error) const;
    // Makes the device a loaded "Dev" element of this slot becomes; a host overrides it to
    // attach its own kinds or parameter objects.
    virtual CDev* CreateDev(int addr) { return new CDev(addr); }

    // "Slot" under parent with its fields, its link tables (Ethernet slots) and its device table;
    // throws ErrorXML (41076).
    void XMLAdd(xmlNode* parent);
    // "Number", "TypSlot", "Program" written always; "LinkUM", "LinkSlot" for line slots.
    void XMLUpdate();
    void XMLRemove();
    // Binds node, reads the fields (absent: 0) and the children "TabLinkNet", "TabLinkCLL" and
    // "TabDev"; duplicates in them are reported and skipped.
    void XMLLoad(xmlNode* node);
    void XMLPostLoad();

    int m_Number;
    DBTime m_TimeCreate;
    DBTime m_TimeAddr;  // last address assignment
    unsigned m_Flags = 0;
    int m_typSlot;
    int m_typBus = -1;  // not set
    bool m_Program = false;
    int m_typSlot2 = 0;
    CLinkNetTab m_TabLinkNet;
    CSlot* m_pLink = nullptr;  // partner slot at the other end of a line or input link
    CLinkCLLTab m_TabLinkCLL;
    CUM* m_pUM = nullptr;
    CPackMes m_Pack;
    CNvRam m_NvRam;
    int m_Ident = 0;  // last packet number
    CDevTab m_TabDev;
    CParam* m_pParam = nullptr;  // owned
    int m_LinkUM = 0;
    int m_LinkSlot = 0;
    DBTime m_TimeMore;
    xmlNode* m_pNode = nullptr;

private:
    // Appends through the serving slot's packet, flushing with put when it is full.
    int AddVia(int prior, const CMes& mes, void (CSlot::*put)());
};

// The slots of one module, owned, one per number.
class CSlotTab {
public:
    explicit CSlotTab(CUM* um = nullptr) : m_pUM(um) {}
    CSlotTab(const CSlotTab&) = delete;
    CSlotTab& operator=(const CSlotTab&) = delete;
    virtual ~CSlotTab();

    CSlot* Find(int number) const;
    // Takes slot when its number is free (true; a bound module adds its element); refuses a
    // null or a duplicate (false, the caller keeps it).
    bool Insert(CSlot* slot);
    // Removes, unlinks from the XML and frees; false when there is none.
    bool Delete(int number);
    void ReOrder();
    // Makes the slot a loaded or linked-in slot becomes: the module's CreateSlot, or a plain
    // CSlot for a table without module.
    virtual CSlot* CreateSlot(int number);

    int Count() const { return static_cast<int>(m_List.size()); }
    CSlot* operator[](int i) const { return m_List[static_cast<size_t>(i)]; }

    std::vector<CSlot*> m_List;
    CUM* m_pUM;
};
