// Network modules of one console and the module table: lookups, XML and the link graph.
#pragma once

#include <vector>

#include <libxml/tree.h>

#include "dblib/DBString.h"
#include "lib/Slot.h"

// A network module: up to 16 slots. Owns its slot table and parameter object. Not thread-safe.
class CUM {
public:
    static constexpr int kMaxNumber = 255;
    static constexpr const char* s_Element = "Um";
    static constexpr const char* s_Number = "Number";
    static constexpr const char* s_Note = "Note";

    explicit CUM(int number = 0, CPult* pult = nullptr);
    CUM(const CUM&) = delete;
    CUM& operator=(const CUM&) = delete;
    virtual ~CUM();

    // The slot of that number, or null.
    CSlot* FindSlot(int number) const { return m_TabSlot.Find(number); }
    // The module is its console's local module.
    bool IsLocal() const;
    // Marks this module and every module reachable from it through partner slots and external
    // links (iterative: a long chain costs no stack).
    void MarkLink();
    // A log text through the console's dispatcher; nothing without one.
    void PutLog(const DBString& text, bool error) const;
    // Makes the slot a loaded or linked-in slot of this module becomes; a host overrides it to
    // attach its own kinds or parameter objects.
    virtual CSlot* CreateSlot(int number) { return new CSlot(number); }

    // "Um" under parent with its fields and slots; throws ErrorXML (41076).
    void XMLAdd(xmlNode* parent);
    // "Number" always, "Note" when not empty.
    void XMLUpdate();
    void XMLRemove();
    // Binds node, reads "Number" and "Note" and the "Slot" children; a slot number already
    // present is reported ("Slot %d already exist in UM %d:%d": the new slot, then where it is)
    // and skipped, as is a slot number outside 0..15.
    void XMLLoad(xmlNode* node);
    void XMLPostLoad();

    int m_Number;
    DBString m_Note;
    CPult* m_pPult;
    CUMTab* m_pTab = nullptr;
    CParam* m_pParam = nullptr;  // owned
    xmlNode* m_pNode = nullptr;
    CSlotTab m_TabSlot;
    bool m_Mark = false;  // reachability search
};

// The network modules of one console, owned, one per number, in list order. Not thread-safe.
class CUMTab {
public:
    // Steps RootSlot takes at most.
    static constexpr int kMaxRootSteps = 100;

    explicit CUMTab(CPult* pult = nullptr) : m_pPult(pult) {}
    CUMTab(const CUMTab&) = delete;
    CUMTab& operator=(const CUMTab&) = delete;
    virtual ~CUMTab();

    CUM* FindUM(int number) const;
    CSlot* FindBlok(int um, int slot) const;
    CDev* FindDev(int um, int slot, int dev) const;
    // The slot, made (with its module) when missing; a bound table adds the new elements. Null
    // for a module outside 0..255 or a slot outside 0..15.
    CSlot* FindBlokIns(int um, int slot);
    // Takes um when its number is free (true; a bound table adds its element); refuses a null or
    // a duplicate (false, the caller keeps it). The module gets this table's console.
    bool Insert(CUM* um);
    // Renumbers module from to to; false when from is missing or to is taken or out of range.
    bool RenameUM(int from, int to);
    // Clears every partner pointer and external link that points to slot (it is going away).
    void Unlink(const CSlot* slot);
    // Sorts modules by number and every slot table by slot number.
    void ReOrder();
    // Makes the module a loaded "Um" element becomes; a host overrides it for its own kinds.
    virtual CUM* CreateUM(int number);

    // Rebuilds the link graph after loading: every outgoing line slot through SetOne, every
    // outgoing Ethernet slot through SetOne for each of its external links; far modules and
    // slots are made when missing and get the input type; then SetAddr.
    void SetLink();
    // Links near to module um, slot slot: that slot is found or made, gets type inpType, and the
    // two point to each other (for an external link, link->m_pSlot is the far slot). Returns the
    // far slot, or null for numbers out of range or a link of near to itself (nothing changes).
    CSlot* SetOne(CSlot* near, int um, int slot, int inpType, CLinkNet* link = nullptr);
    // Every slot with the program flag, except type 12, gets its address.
    void SetAddr();
    // The slot of the local module through which module n is reached by input links: from n,
    // the first slot that is an input link with a partner leads to the partner's module, at
    // most 100 times. Null for a missing or the local module, a dead end, or a chain whose
    // answer would need a 101st step (a cycle ends that way too).
    CSlot* RootSlot(int n) const;
    // The number of the first module in list order not reachable from the local module through
    // links; -1 when all are, the table is empty or the local module is missing.
    int FindLostUM();

    // Binds node (a container element) and adds every module under it; throws ErrorXML.
    void XMLAdd(xmlNode* node);
    // Reads the "Um" children of node; a module number already present or outside 0..255 is
    // reported ("UM %d already exist in structure") and skipped. The loaded document is not
    // changed, so that saving it writes back what was read. Then XMLPostLoad.
    void XMLLoad(xmlNode* node);
    void XMLPostLoad();

    int Count() const { return static_cast<int>(m_List.size()); }
    CUM* operator[](int i) const { return m_List[static_cast<size_t>(i)]; }

    std::vector<CUM*> m_List;
    CPult* m_pPult;
    xmlNode* m_pNode = nullptr;
};
