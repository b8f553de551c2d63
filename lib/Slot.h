// Slots of a network module, the host interface of the device network and the link tables.
#pragma once

#include <libxml/tree.h>

#include "lib/Dev.h"
#include "lib/Mes.h"
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
