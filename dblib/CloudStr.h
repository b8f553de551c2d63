// The cloud structure model: consoles, dispatch points, streets, homes, lifts and their tables as
// a tree of nodes, each bound to one element of the libxml2 document that the root owns and kept
// current field by field, so that the document can be saved or sent at any moment. This is the
// one header a host includes.
//
// Threads: the model starts none. The root's lock guards the document: Clear, XMLStr and XMLFile
// take it themselves; a host that shares a tree between threads wraps every other read and edit
// in Lock/Unlock (not recursive: never call Clear, XMLStr or XMLFile while holding it).
#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <libxml/tree.h>

#include "dblib/BaseCloudA.h"
#include "dblib/DBGUID.h"
#include "dblib/DBString.h"
#include "dblib/DBTime.h"
#include "dblib/DBTimeSpan.h"
#include "dblib/DBTypes.h"
#include "lib/IdentV7.h"
#include "lib/Sost.h"
#include "lib/Xml.h"

namespace TERQCloud {

class CNodeTreeB;
class CCloudB;
class CTeamB;
class CPunctB;
class CStreetB;
class CHomeB;
class CLiftB;
class CGroupB;
class CProfilP;
class CTabProfilP;

// ---- node base ----

// Owning list of children: its destructor and Clear delete what it holds.
class CNodeArrayB : public std::vector<CNodeTreeB*> {
public:
    CNodeArrayB() = default;
    CNodeArrayB(const CNodeArrayB&) = delete;
    CNodeArrayB& operator=(const CNodeArrayB&) = delete;
    virtual ~CNodeArrayB();

    void Clear();
    // The first entry with that name, else null.
    CNodeTreeB* Find(const wchar_t* name) const;
    // Erases the first entry equal to node without deleting it.
    void Remove(const CNodeB* node);
};

// A node with an owned child list.
class CNodeTreeB : public CNodeB {
public:
    CNodeTreeB() = default;
    explicit CNodeTreeB(CNodeB* parent) { m_Parent = parent; }
    // The node's own members only: children are not copied.
    CNodeTreeB(const CNodeTreeB& other) : CNodeB(other) {}
    CNodeTreeB& operator=(const CNodeTreeB& other);

    // A node without children counts as not serviced.
    bool IsNotServiced() override;
    int AllHasSameError() override;
    int NotAllHasSameError() override;
    // This node or anything below it changed since the last ClearModify.
    virtual bool IsModify();
    virtual void ClearModify();
    virtual void Save(std::string&) {}
    // Creates the element under the parent's element and writes the node; throws ErrorXML
    // 41076 with the element name when there is no element to add to.
    virtual void XMLAddG();
    // XMLAddG on the node, then on everything below it, parents first.
    virtual void XMLCreate();
    // The element name of the node's class; null where the class adds no element.
    virtual const char* ElementName() const { return nullptr; }
    // Forgets the elements of this node and everything below it: their document is gone.
    virtual void XMLUnbind();

    // Pre-order search of this node and its children's subtrees; null if none.
    CNodeB* FindIDTyp(int id, typNode typ);
    // Children by name (not stable), then each child's children.
    void SortByName();
    // Deletes the children, then clears the node.
    void Clear();

    CNodeArrayB m_Child;
};

// Lifts of a dispatch point or console in ascending m_IdentDB; does not own them.
class CSortIDArray : public std::vector<CLiftB*> {
public:
    // Binary search; null for id 0 or when absent.
    CLiftB* FindLift(int id) const;
    // Position by pointer, -1 if absent.
    int FindIndex(const CLiftB* lift) const;
    // Erases by pointer without deleting; true if found.
    bool Remove(const CLiftB* lift);
    void Sort();
};

// The root, element "TERQCLOUD": owns the document and the lock. A host derives from it and
// implements ReportMsg and ReportErr.
class CCloudB : public CNodeTreeB {
public:
    CCloudB() = default;
    CCloudB(const CCloudB&) = delete;
    CCloudB& operator=(const CCloudB&) = delete;
    // Frees the document (the consoles go with the child list).
    ~CCloudB() override;

    static const char* const s_Cloud;  // "TERQCLOUD"

    int TypNode() override { return typCloud; }
    const char* ElementName() const override { return s_Cloud; }
    virtual void PutLogStr(const std::string&) {}
    // Every load and save message of the model; the model passes code 0.
    virtual void ReportMsg(const DBString& text, int code) = 0;
    // The host's own report of an error it wants shown; the model never calls it.
    virtual void ReportErr(const DBString& text, int code) = 0;
    // A console with the creation defaults and a fresh GUID, parent this root, in no list.
    virtual CTeamB* CreateTeam();
    // A profile of table with the console defaults, not yet in the table.
    virtual CProfilP* CreateProfil(CTabProfilP* table);

    // Replaces the document by the parse of text and loads the first top-level "TERQCLOUD"
    // element into the tree (which is not cleared first). Throws ErrorXML 41083 when the text
    // does not parse.
    void XMLLoadStr(const char* text);
    // Replaces the document by one built from the tree; throws ErrorXML 41080 or 41076.
    void XMLCreate() override;
    // The root element: the document's own when the root has no parent.
    void XMLAddG() override;
    void XMLLoadG(xmlNode* element) override;
    // Frees the document; every bound element goes with it.
    void XMLRelease();
    // Under the lock: deletes the consoles, clears name, parent and identifier.
    void Clear();
    // Throws std::system_error when the mutex reports an error.
    void Lock() { m_Lock.lock(); }
    void Unlock() { m_Lock.unlock(); }

    std::mutex m_Lock;
    xmlDoc* m_XMLDOMG = nullptr;

private:
    void FreeDocument();
};

// ---- tables (keys, outputs, states, terminal devices, alert messages) ----

class CTabStateB;
class CTabOutB;
class CTabKeyB;
class CTabTermDevB;

// A user state: names and log text for one state bit. Parent: its table.
class CStateB : public CNodeTreeB {
public:
    CStateB(int number, CNodeB* table);
    // Copies the table link, the attributes and the defined flag; never the element.
    CStateB(const CStateB& other);
    CStateB& operator=(const CStateB& other);

    static const char* const s_State;  // "State"
    static const char* const s_Number;
    static const char* const s_ShortName;
    static const char* const s_MesForLog;
    static const char* const s_InsLog;
    static const char* const s_Pulsar;
    static const char* const s_GroupSost;
    static const char* const s_Disabl;

    int TypNode() override { return typState; }
    const char* ElementName() const override { return s_State; }
    // Binds, reads, and marks the state defined.
    void XMLLoadG(xmlNode* element) override;
    void XMLUpdateG() override;
    // Adds the table's element first when no state of the table is defined; marks it defined.
    void XMLAddG() override;
    // Frees the element, then the table's element when no defined state is left.
    void XMLRemoveG() override;

    int m_Number;  // CSostDev::bitLB
    DBString m_ShortName;
    DBString m_MesForLog;
    int m_InsLog = 0;
    int m_Pulsar = 1;
    int m_GroupSost = 11;
    int m_Disabl = 0;  // non-zero: the state bit is ignored
    bool m_Define = false;
};

// Texts for switching one output on and off. Parent: its table.
class COutB : public CNodeTreeB {
public:
    COutB(int number, CNodeB* table);
    COutB(const COutB& other);
    COutB& operator=(const COutB& other);

    static const char* const s_Out;  // "Out"
    static const char* const s_Number;
    static const char* const s_ShortOn;
    static const char* const s_LongOn;
    static const char* const s_ShortOff;
    static const char* const s_LongOff;
    static const char* const s_Disabl;
    static const char* const s_InsLog;

    int TypNode() override { return typOut; }
    const char* ElementName() const override { return s_Out; }
    void XMLLoadG(xmlNode* element) override;
    void XMLUpdateG() override;
    void XMLAddG() override;
    void XMLRemoveG() override;

    int m_Number;
    DBString m_ShortOn;
    DBString m_LongOn;
    DBString m_ShortOff;
    DBString m_LongOff;
    int m_Disabl = 0;
    int m_InsLog = 0;
    bool m_Define = false;
};

// An access key. Parent: the key table.
class CKeyB : public CNodeTreeB {
public:
    explicit CKeyB(CNodeB* table = nullptr) : CNodeTreeB(table) {}
    CKeyB(const CKeyB& other);
    CKeyB& operator=(const CKeyB& other);

    static const char* const s_Key;  // "Key"
    static const char* const s_Level;
    static const char* const s_Prefix;
    static const char* const s_Number;
    static const char* const s_Owner;
    static const char* const s_Comm;

    int TypNode() override { return typKey; }
    const char* ElementName() const override { return s_Key; }
    void XMLLoadG(xmlNode* element) override;
    void XMLUpdateG() override;
    // Adds the table's element first when the table holds no key yet.
    void XMLAddG() override;
    void XMLRemoveG() override;

    int m_Level = 0;
    int m_Prefix = 0;
    int m_Number = 0;
    DBString m_Owner;
    DBString m_Comm;
};

// A terminal device attached to a lift unit; m_Name is its full name. Parent: its table.
class CTermDevB : public CNodeTreeB {
public:
    explicit CTermDevB(CNodeB* table = nullptr) : CNodeTreeB(table) {}
    // Copies the table link, the attributes, the name and the identifier.
    CTermDevB(const CTermDevB& other);
    CTermDevB& operator=(const CTermDevB& other);

    static const char* const s_Dev;  // "Dev"
    static const char* const s_Address;
    static const char* const s_Short;
    static const char* const s_Full;
    static const char* const s_Typ;
    static const char* const s_Vers;

    int TypNode() override { return typTermDev; }
    const char* ElementName() const override { return s_Dev; }
    void XMLLoadG(xmlNode* element) override;
    void XMLUpdateG() override;
    void XMLAddG() override;
    void XMLRemoveG() override;

    int m_Address = 0;
    DBString m_Short;
    int m_Typ = -1;
    int m_Vers = 0;
};

// User states by number; owns them. Parent: the console or lift.
class CTabStateB : public std::map<int, CStateB*>, public CNodeTreeB {
public:
    explicit CTabStateB(CNodeB* parent = nullptr) : CNodeTreeB(parent) {}
    CTabStateB(const CTabStateB&) = delete;
    CTabStateB& operator=(const CTabStateB&) = delete;
    ~CTabStateB() override;

    static const char* const s_TabState;  // "TabState"

    int TypNode() override { return typTabState; }
    const char* ElementName() const override { return s_TabState; }
    // Sets the parent and stores the state, deleting an earlier different one of its number.
    void Insert(CStateB* state);
    // No defined state.
    bool IsEmpty() const;
    bool IsExistAndDefine(int n) const;
    // The state of that number, defined or not; null when absent.
    CStateB* Find(int n) const;
    // Binds; every "State" child becomes an entry, a later number replacing an earlier one.
    void XMLLoadG(xmlNode* element) override;
    void XMLUpdateG() override {}
    // Nothing without a parent.
    void XMLAddG() override;
    // Only for a non-empty table, and only states 32 to 35.
    void XMLCreate() override;
    void XMLRemoveG() override;
    void XMLUnbind() override;
    bool IsModify() override;
    void ClearModify() override;
    // Deletes the entries.
    void Clear();
};

// Outputs by number; owns them. Parent: the console or lift.
class CTabOutB : public std::map<int, COutB*>, public CNodeTreeB {
public:
    explicit CTabOutB(CNodeB* parent = nullptr) : CNodeTreeB(parent) {}
    CTabOutB(const CTabOutB&) = delete;
    CTabOutB& operator=(const CTabOutB&) = delete;
    ~CTabOutB() override;

    static const char* const s_TabOut;  // "TabOut"

    int TypNode() override { return typTabOut; }
    const char* ElementName() const override { return s_TabOut; }
    void Insert(COutB* out);
    bool IsEmpty() const;
    bool IsExistAndDefine(int n) const;
    COutB* Find(int n) const;
    void XMLLoadG(xmlNode* element) override;
    void XMLUpdateG() override {}
    void XMLAddG() override;
    // Only for a non-empty table, and only outs 1 and 2.
    void XMLCreate() override;
    void XMLRemoveG() override;
    void XMLUnbind() override;
    bool IsModify() override;
    void ClearModify() override;
    void Clear();
};

// Keys in document order; owns them. Parent: the console.
class CTabKeyB : public std::list<CKeyB*>, public CNodeTreeB {
public:
    explicit CTabKeyB(CNodeB* parent = nullptr) : CNodeTreeB(parent) {}
    CTabKeyB(const CTabKeyB&) = delete;
    CTabKeyB& operator=(const CTabKeyB&) = delete;
    ~CTabKeyB() override;

    static const char* const s_TabKey;  // "TabKey"

    int TypNode() override { return typTabKey; }
    const char* ElementName() const override { return s_TabKey; }
    // Appends and sets the parent.
    void Insert(CKeyB* key);
    // The first key with that number, else null.
    CKeyB* Find(int number) const;
    // That key's owner, else an empty text.
    DBString GetOwner(int number) const;
    bool IsEmpty() const { return empty(); }
    void XMLLoadG(xmlNode* element) override;
    void XMLUpdateG() override {}
    void XMLAddG() override;
    void XMLCreate() override;
    void XMLRemoveG() override;
    void XMLUnbind() override;
    bool IsModify() override;
    void ClearModify() override;
    void Clear();
};

// Terminal devices by address; owns them. Parent: the lift.
class CTabTermDevB : public std::map<int, CTermDevB*>, public CNodeTreeB {
public:
    explicit CTabTermDevB(CNodeB* parent = nullptr) : CNodeTreeB(parent) {}
    CTabTermDevB(const CTabTermDevB&) = delete;
    CTabTermDevB& operator=(const CTabTermDevB&) = delete;
    ~CTabTermDevB() override;

    static const char* const s_TabDev;  // "TabDev"

    int TypNode() override { return typTabTermDev; }
    const char* ElementName() const override { return s_TabDev; }
    // Sets the parent and stores the device under its address.
    void Insert(CTermDevB* dev);
    CTermDevB* Find(int address) const;
    bool IsEmpty() const { return empty(); }
    void XMLLoadG(xmlNode* element) override;
    void XMLUpdateG() override {}
    void XMLAddG() override;
    void XMLCreate() override;
    void XMLRemoveG() override;
    void XMLUnbind() override;
    bool IsModify() override;
    void ClearModify() override;
    void Clear();
};

// One lift of an alert subscription. Parent: its alert message.
class CAlertLift : public AlertLiftA, public CNodeTreeB {
public:
    explicit CAlertLift(CNodeB* parent = nullptr) : CNodeTreeB(parent) {}

    static const char* const s_AlertLift;  // "AlertLift"
    static const char* const s_CodAlertLift;
    static const char* const s_Filter;
    static const char* const s_Annot;
    static const char* const s_CodLift;

    int TypNode() override { return typAlertLift; }
    const char* ElementName() const override { return s_AlertLift; }
    void XMLLoadG(xmlNode* element) override;
    void XMLUpdateG() override;
};

// An alert subscription of a user; its child list holds its CAlertLift entries.
class CAlertMsg : public AlertMsgA, public CNodeTreeB {
public:
    explicit CAlertMsg(CNodeB* table = nullptr) : CNodeTreeB(table) {}

    static const char* const s_AlertMsg;  // "AlertMsg"
    static const char* const s_CodAlertMsg;
    static const char* const s_NumMsg;
    static const char* const s_Comment;
    static const char* const s_Filter;
    static const char* const s_Annot;
    static const char* const s_Flags;
    static const char* const s_GroupMask;
    static const char* const s_Test;
    static const char* const s_DelayNext;

    int TypNode() override { return typAlertMsg; }
    const char* ElementName() const override { return s_AlertMsg; }
    void XMLLoadG(xmlNode* element) override;
    void XMLUpdateG() override;
    // Message 44 always; one that must name lifts needs flag 0x20, a group mask or a lift;
    // any other must have none of them.
    bool IsValid() const;
    // Erases the entry, frees its element and marks the message modified; the caller deletes it.
    void Remove(CAlertLift* lift);
};

// Alert subscriptions of a user, in its child list. Parent: the user.
class CTabAlertMsg : public CNodeTreeB {
public:
    explicit CTabAlertMsg(CNodeB* parent = nullptr) : CNodeTreeB(parent) {}

    static const char* const s_TabAlertMsg;  // "TabAlertMsg"

    int TypNode() override { return typTabAlertMsg; }
    const char* ElementName() const override { return s_TabAlertMsg; }
    // The first message numbered num whose filter is empty or occurs in text, else null.
    CAlertMsg* Find(int num, const DBString& text) const;
    // Erases it, frees its element, marks the user modified and removes the table's element
    // when the table is left empty; the caller deletes the message.
    void Remove(CAlertMsg* msg);
    bool IsEmpty() const { return m_Child.empty(); }
    void XMLLoadG(xmlNode* element) override;
    void XMLUpdateG() override {}
    void XMLAddG() override;
    void XMLCreate() override;
    void XMLRemoveG() override;
};

// ---- groups and lift layout ----

class CGroupB;
class CUserTeam;

// One lift placed in a group: a cell whose top-left corner is m_X, m_Y relative to the group.
// Element "LIFT" inside "GROUP". Parent: the group.
class CLiftInGroup : public CNodeTreeB {
public:
    explicit CLiftInGroup(CNodeB* group = nullptr) : CNodeTreeB(group) {}

    static const char* const s_Lift;  // "LIFT"
    static const char* const s_GUID;
    static const char* const s_Point;

    int TypNode() override { return typLiftInGroup; }
    const char* ElementName() const override { return s_Lift; }
    // "GUID", "Point", "IdDB".
    void XMLLoadG(xmlNode* element) override;
    void XMLUpdateG() override;
    // Only unlinks the element, and only with a group: the placement can be put back.
    void XMLRemoveG() override;

    // The same lift.
    bool operator==(const CLiftInGroup& other) const { return m_Lift == other.m_Lift; }
    CGroupB* Group() const;
    // The cell's corner on the screen; the own point without a group.
    CPoint GetPoint() const;
    // The cell on the screen, one "SizeLiftGrp" wide and high.
    CRect CellRect() const;
    // Zeroes GUID, point, lift and flags.
    void Clear();

    DBGUID m_GUID;
    int m_X = 0;
    int m_Y = 0;
    CLiftB* m_Lift = nullptr;  // not owned; null in profile groups
    bool m_Sel = false;
    bool m_Moved = false;  // moved by the last alignment, distribution or move
    int m_SaveX = 0;       // point before the last alignment or distribution
    int m_SaveY = 0;
};

// Placements of a group, owned, sorted by the raw bytes of the lift GUID.
class CLiftInGroupArray : public std::vector<CLiftInGroup*> {
public:
    CLiftInGroupArray() = default;
    CLiftInGroupArray(const CLiftInGroupArray&) = delete;
    CLiftInGroupArray& operator=(const CLiftInGroupArray&) = delete;
    virtual ~CLiftInGroupArray();

    void Clear();
    void Sort();
    // Binary search; valid once sorted.
    CLiftInGroup* FindLift(const DBGUID& guid) const;
    void XMLCreate();
};

// Owning list of groups. Searches go through the sub-groups unless stated.
class CGroupArray : public std::vector<CGroupB*> {
public:
    CGroupArray() = default;
    CGroupArray(const CGroupArray&) = delete;
    CGroupArray& operator=(const CGroupArray&) = delete;
    virtual ~CGroupArray();

    void Clear();
    void XMLCreate();
    CLiftInGroup* FindLift(const DBGUID& guid) const;
    // This list only.
    CGroupB* FindNumber(int number) const;
    CGroupB* FindName(const wchar_t* name) const;
    // The largest number of the whole tree below; 0 when empty.
    int MaxNumGroup() const;
    // The innermost group whose screen rectangle holds pt; rect, when given, receives it.
    CGroupB* FindGroup(CPoint pt, CRect* rect) const;
    // Takes the group out wherever it is below this list: frees its element, marks the
    // dispatch point modified and deletes it. False when it is not there.
    bool Remove(CGroupB* group);
    // Every placement of the lift (by GUID) out of every group: element freed, placement
    // deleted, its group marked modified. The number removed.
    int Remove(CLiftB* lift);
    int RemoveLift(const DBGUID& guid);
};

// A group of lift cells on a dispatch point's screen, element "GROUP". m_Rect is relative to
// the enclosing group; the dispatch point's top group (no parent, no element) encloses the
// groups of the "DISP" element. Each group's BeginHigh shifts its contents (cells and
// sub-groups) down.
//
// Loading keeps one placement per lift in the groups of a dispatch point: a second placement
// of a lift (message 42005) and, in a structure group, a placement of no lift of the dispatch
// point (message 42007) are reported through the root's ReportMsg and dropped. The second
// placement's element leaves the document too, so that saving cannot bring it back in place
// of the first; the element of a placement of no lift stays, for a lift still to be defined. The
// check goes through an index in the top group, made when the first group of a dispatch point
// loads, so loading stays linear; call InvalidateIndex after changing placements or lifts by hand
// before loading further groups.
//
// Selection, alignment, moving and distribution work on the group's own placements; the host
// picks the group with FindGroup.
class CGroupB : public CNodeTreeB {
public:
    explicit CGroupB(CPunctB* punct = nullptr, CNodeB* parent = nullptr);
    CGroupB(const CGroupB&) = delete;
    CGroupB& operator=(const CGroupB&) = delete;
    ~CGroupB() override;

    static const char* const s_Group;  // "GROUP"
    static const char* const s_Name;
    static const char* const s_Number;
    static const char* const s_NoNewError;
    static const char* const s_Trasparent;
    static const char* const s_NoBorder;
    static const char* const s_Decor;
    static const char* const s_Rect;
    static const char* const s_Fon;
    static const char* const s_FileMap;
    static constexpr std::uint32_t kFon = 0xF0FBFF;

    int TypNode() override { return typGroup; }
    const char* ElementName() const override { return s_Group; }
    void XMLLoadG(xmlNode* element) override;
    void XMLUpdateG() override;
    // Nothing for the top group.
    void XMLAddG() override;
    // Its element, its placements, then its sub-groups.
    void XMLCreate() override;
    // Only unlinks the element, and only with a parent: the group can be put back.
    void XMLRemoveG() override;
    bool IsModify() override;
    void ClearModify() override;
    // Placements and sub-groups too.
    void XMLUnbind() override;

    virtual CGroupB* CreateGroup();
    virtual CLiftInGroup* CreateLiftInGroup();
    virtual int BeginHigh() { return 0; }

    bool operator==(const CGroupB& other) const { return m_Number == other.m_Number; }

    // Bounding rectangle of all cells, of the selected ones, in group coordinates; all zero
    // when there are none.
    CRect CalcRect() const;
    CRect CalcRectSel() const;
    // The group's rectangle on the screen.
    CRect RealRect();
    // Screen position of the group's contents.
    CPoint Origin();
    CLiftInGroup* FindLift(const DBGUID& guid) const;
    // Direct sub-group with that identifier.
    CGroupB* FindSubGroup(int id) const;
    bool isExistLifts() const;
    // The top group of the dispatch point.
    CGroupB* Root();
    // The root of the whole tree, through the dispatch point; null when there is none.
    CCloudB* Cloud();

    // True when a cell was selected.
    bool ClrGroupSel();
    // Adds every cell whose screen rectangle meets r; the number of such cells.
    int SetGroupSel(const CRect& r);
    int TotGroupSel() const;
    // y of the selected cell with the smallest x, x of the one with the smallest y; -1 when
    // none is selected.
    int MaxBottomSel() const;
    int MinLeftSel() const;
    // Save every point, then move the selected cells to that y or x.
    void SetBottomSel(int y);
    void SetLeftSel(int x);
    // Shift the selected cells; saves nothing.
    void MoveSel(int dx, int dy);
    void SavePosLift();
    // Moved cells back to their saved points; true when any was.
    bool UpdoPosLift();
    // Save every point, then space three or more selected cells evenly between the outer two.
    void DistrHoriz();
    void DistrVert();
    // Empties name and file, zeroes number, flags and rectangle, restores the colour, drops
    // the dispatch-point link.
    void Clear();
    // Drops the top group's load index; the next group load makes it anew.
    void InvalidateIndex();

    int m_Number = 0;
    int m_NoNewError = 0;
    int m_Trasparent = 0;
    int m_NoBorder = 0;
    int m_Decor = 0;
    CRect m_Rect;
    std::uint32_t m_Fon = kFon;  // r + 256 g + 65536 b
    DBString m_FileMap;
    CPunctB* m_Punct;  // not owned
    CLiftInGroupArray m_Lifts;
    CGroupArray m_Groups;

private:
    struct Index;
    CGroupB* ParentGroup() const { return static_cast<CGroupB*>(m_Parent); }
    Index& PlacedIndex();
    void Distribute(bool horizontal);
    void SaveAll();
    void Moved(CLiftInGroup* cell);
    bool AcceptPlacement(CLiftInGroup* cell);

    std::unique_ptr<Index> m_Index;  // top group only: placements and lifts by GUID
};

// ---- users, user groups and profiles ----

class CUserTeamTab;

// Profiles of a console or of a user, element "PROFILES".
class CTabProfilP : public CNodeTreeB {
public:
    explicit CTabProfilP(CNodeB* parent = nullptr) : CNodeTreeB(parent) {}
    static const char* const s_Profiles;  // "PROFILES"
    int TypNode() override { return typTabProfil; }
    const char* ElementName() const override { return s_Profiles; }
    // Each "PULT" becomes a profile of the root's CreateProfil; then "IdDB".
    void XMLLoadG(xmlNode* element) override;
    // Only with a parent.
    void XMLAddG() override;
    // Only when it holds profiles.
    void XMLCreate() override;
    // In each profile, the lift's placements out of the groups of that dispatch point.
    void RemoveLift(int idPunct, const DBGUID& lift);
    // Every profile dispatch point of that identifier out of every profile.
    void RemovePunct(int idPunct);
    CProfilP* Find(const wchar_t* name) const;
};

// A user of a console, element "User" in "TabUserDisp". Identified by its code ("IdDB",
// m_CodUser, also kept in m_IdentDB); UserA::m_Name is the login and CNodeB::m_Name its copy
// for name searches.
//
// The source chain: from the user, follow the source links. A link back to a user already on
// the chain (or to the user itself) ends the chain there, so a chain that loops back on itself
// is cut at its first repeat rather than followed forever: every chain operation below sees
// each user once.
class CUserTeam : public UserA, public CNodeTreeB {
public:
    explicit CUserTeam(CNodeB* table = nullptr);
    CUserTeam(const CUserTeam&) = delete;
    CUserTeam& operator=(const CUserTeam&) = delete;

    static const char* const s_User;  // "User"
    static const char* const s_IdDBSrc;
    static const char* const s_Name;
    static const char* const s_PassWd;
    static const char* const s_Comment;
    static const char* const s_Profil;
    static const char* const s_Token;
    static const char* const s_TypCliGCM;
    static const char* const s_Flags;
    static const char* const s_Access;
    static const char* const s_BegNotify;
    static const char* const s_EndNotify;
    static const char* const s_Phone;
    static const char* const s_EMail;
    static const char* const s_SIPURL;
    static const char* const s_POSTURL;
    static const char* const s_IDTelegram;

    int TypNode() override { return typUserTeam; }
    const char* ElementName() const override { return s_User; }
    // Throws std::invalid_argument or std::out_of_range (text 42102) for an "Access" that is
    // missing, empty, not a number where one must be, or outside a long; the user is then left
    // as it was before the call.
    void XMLLoadG(xmlNode* element) override;
    void XMLUpdateG() override;
    // Adds the table's element first when the table has none yet.
    void XMLAddG() override;
    // The user, its profiles and its alert subscriptions.
    void XMLCreate() override;
    void XMLUnbind() override;
    bool IsModify() override;
    void ClearModify() override;

    // The users above this one, nearest first, cut at the first repeat.
    std::vector<CUserTeam*> Chain() const;
    // False for t or n out of range; else this user or one on its chain has the right.
    bool ExistAccess(typAccess t, int n) const;
    bool NoAccess() const;
    // Ors the masks of the chain (not the own ones) into masks[23].
    void OrAccess(int* masks) const;
    // Ors the chain's masks into the own masks; the source code and link stay, so the user
    // goes on inheriting what its sources gain later.
    void CopyAccessFromSrc();
    int LevelInherit() const;
    bool IsInherit(const CUserTeam* user) const;
    bool ExistSrc(const CUserTeam* user) const { return IsInherit(user); }
    // No user of the table has this one as its source.
    bool NoHeir() const;
    // Chain names from the top down joined by "\", then the own login.
    DBString PathName() const;
    // PathName, then " (" comment ")" when there is a comment.
    DBString FullName() const;
    DBString SortName() const;
    bool IsExistAlert() const;
    // The profile of that name from the user furthest up the chain that has one, else the
    // own one; null when none.
    CProfilP* FindProfil(const wchar_t* name) const;
    // Repeat suppression per key: true when a message of this key may go out now, and then
    // holds the key back for minutes; always true for minutes below 1. now is in seconds.
    bool IsMsgNoDelay(const wchar_t* key, int minutes);
    bool IsMsgNoDelay(const wchar_t* key, int minutes, std::int64_t now);

    CUserTeam* m_Src = nullptr;  // not owned; set by CUserTeamTab::SetSrc
    CTabProfilP m_TabProfil;
    CTabAlertMsg m_TabAlert;
    DBTime m_LastConnect;
    std::map<DBString, std::int64_t> m_NoDelay;  // key -> held back until (seconds)
};

// Users of a console, in document order. Parent: the console.
class CUserTeamTab : public CNodeTreeB {
public:
    explicit CUserTeamTab(CNodeB* parent = nullptr) : CNodeTreeB(parent) {}
    static const char* const s_TabUserDisp;  // "TabUserDisp"
    int TypNode() override { return typUserTeamTab; }
    const char* ElementName() const override { return s_TabUserDisp; }
    // Every "User" becomes a user; then the source links are set (SetSrc).
    void XMLLoadG(xmlNode* element) override;
    void XMLUpdateG() override {}
    void XMLAddG() override;
    void XMLCreate() override;

    CUserTeam* Find(const wchar_t* name) const;
    CUserTeam* Find(int code) const;
    // Takes the first user of that login out of the table; the caller removes its element
    // and deletes it. False when there is none.
    bool Delete(const wchar_t* name);
    // Links every user with a source code other than its own to the first user of that code;
    // a code that matches nobody leaves the earlier link.
    void SetSrc();
    DBTime LastConnect() const;
    void CopyAccessFromSrc();
    // The dispatch point out of every user's profiles.
    void RemovePunct(int idPunct);
};

// A group of users, element "Group" in "TabGroupDisp".
class CGroupTeam : public GroupUserA, public CNodeTreeB {
public:
    explicit CGroupTeam(CNodeB* table = nullptr) : CNodeTreeB(table) {}

    static const char* const s_Group;  // "Group"
    static const char* const s_Number;
    static const char* const s_Name;
    static const char* const s_Comm;
    static const char* const s_Flags;

    int TypNode() override { return typGroupTeam; }
    const char* ElementName() const override { return s_Group; }
    void XMLLoadG(xmlNode* element) override;
    void XMLUpdateG() override;
    void XMLAddG() override;
};

// User groups of a console. Parent: the console.
class CGroupTeamTab : public CNodeTreeB {
public:
    explicit CGroupTeamTab(CNodeB* parent = nullptr) : CNodeTreeB(parent) {}
    static const char* const s_TabGroupDisp;  // "TabGroupDisp"
    int TypNode() override { return typGroupTeamTab; }
    const char* ElementName() const override { return s_TabGroupDisp; }
    void XMLLoadG(xmlNode* element) override;
    void XMLUpdateG() override {}
    void XMLAddG() override;
    void XMLCreate() override;

    CGroupTeam* FindNumber(int number) const;
    void SortByNumber();
};

// ---- upper levels ----

// A dispatch console, element "PULT".
class CTeamB : public CNodeTreeB {
public:
    // The creation defaults with a fresh GUID.
    explicit CTeamB(CNodeB* parent = nullptr);
    CTeamB(const CTeamB&) = delete;
    CTeamB& operator=(const CTeamB&) = delete;

    static const char* const s_Team;  // "PULT"
    static const char *const s_Name,
        *const s_TimeAsk, *const s_TimeDriv, *const s_TimeGGS,
                                                 *const s_OnLift,
                                                     *const s_LockOut,
                                                         *const s_OnTimer,
                                                             *const s_Timer,
                                                                 *const s_MaxVisibleRec,
                                                                     *const s_GUID,
                                                                         *const s_IntervSTAT,
                                                                             *const s_DivIntSTAT,
                                                                                 *const s_NameLock,
                                                                                     *const s_CRC, *const s_AvtoOpenNewErr, *const s_AvtoCloseNewErr, *const s_AdrLift, *const s_DisGrad, *const s_DisServKey, *const s_EnableGCM, *const s_EnablePushNotify, *const s_EnableEmailNotify, *const s_EnablePOSTNotify, *const s_EnableTelegrNotify, *const s_Language, *const s_TreePos, *const s_TabPos,
                                                                                                                                                                                                                                                                                                                                                                                           *const s_LogPos,
                                                                                                                                                                                                                                                                                                                                                                                               *const
                                                                                                                                                                                                                                                                                                                                                                                                   s_ColLog,
                                                                                                                                                                                                                                                                                                                                                                                                       *const s_WindowPos, *const s_AlarmAdmin, *const s_TypProfil, *const s_DaySavCheck,
                                                                                                                                                                                                                                                                                                                                                                                                                                                                        *const
                                                                                                                                                                                                                                                                                                                                                                                                                                                                            s_DaySavEvents,
                                                                                                                                                                                                                                                                                                                                                                                                                                                                                *const s_DaySavVoice, *const s_DaySavStat,
                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                          *const
                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                              s_Providers,
                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                  *const s_FirstTestMove, *const s_SecondTestMove, *const s_TypConnSIP, *const s_OnAfterConfSIP, *const s_CodDTMF_SIP, *const s_DialUpSecSIP,
                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                           *const s_CallDurSecSIP,
                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                               *const s_DTMFProlongSIP,
                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                   *const s_DomainSIP,
                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                       *const s_LoginSIP,
                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                           *const s_PassWDSIP,
                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                               *const
                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                                   s_DelaySIP;

    int TypNode() override { return typTeam; }
    const char* ElementName() const override { return s_Team; }
    void XMLLoadG(xmlNode* element) override;
    void XMLUpdateG() override;
    // The console, its dispatch points with their subtrees, then its tables.
    void XMLCreate() override;
    void XMLUnbind() override;
    bool IsModify() override;
    void ClearModify() override;

    virtual CPunctB* CreatePunct();
    // Entries of the console's tables, not inserted.
    virtual CStateB* CreateState(int number);
    virtual COutB* CreateOut(int number);
    virtual CKeyB* CreateKey();
    // Text id from the Russian table when "Language" is 20, else from the English one.
    virtual DBString StringResource(unsigned id);

    CPunctB* FindPunct(int id);
    CStreetB* FindStreet(int id);
    CHomeB* FindHome(int id);
    CLiftB* FindLift(const DBGUID& guid);
    // Through the lift index that SetStruct builds; null for 0.
    CLiftB* FindLift(int id);
    int TotalLift();
    bool TestMoveLift();
    bool AskLift();
    // Rebuilds the lift indexes of the console and of its dispatch points.
    void SetStruct();
    // The dispatch point out of the console's profiles and every user's profiles (elements
    // included); the dispatch point itself stays.
    void RemovePunct(int id);
    // The console's element as a free node of the root's document, for serialising it alone;
    // throws ErrorXML 41076. The element belongs to the caller: XMLRemoveG frees it.
    void XMLAddOneG();
    // Deletes the table entries and empties the lift index.
    void ClearTable();
    // ClearTable, then deletes the dispatch points and clears the node.
    void Clear();

    int m_TimeAsk = 1;
    int m_Spare = -1;  // application value without an attribute
    int m_TimeDriv = 180;
    int m_TimeGGS = 180;
    int m_OnLift = 0;
    int m_LockOut = 0;
    int m_OnTimer = 0;
    DBTime m_Timer;  // time of day on 1990-01-01
    int m_MaxVisibleRec = 5000;
    DBGUID m_GUID;
    int m_IntervSTAT = 1;
    int m_DivIntSTAT = 0;
    DBString m_NameLock;
    std::uint32_t m_CRC = 0;
    int m_AvtoOpenNewErr = 0;
    int m_AvtoCloseNewErr = 1;
    int m_AdrLift = 1;
    int m_DisGrad = 0;
    int m_DisServKey = 0;
    bool m_EnableGCM = false;
    bool m_EnablePushNotify = false;
    bool m_EnableEmailNotify = false;
    bool m_EnablePOSTNotify = false;
    bool m_EnableTelegrNotify = false;
    int m_Language = 20;
    DBString m_TreePos;
    DBString m_TabPos;
    DBString m_LogPos;
    DBString m_ColLog;
    DBString m_WindowPos;
    int m_AlarmAdmin = 0;
    int m_TypProfil = 0;
    int m_DaySavCheck = 366;
    int m_DaySavEvents = 366;
    int m_DaySavVoice = 366;
    int m_DaySavStat = 366;
    int m_Providers = 0;
    DBTimeSpan m_FirstTestMove;
    DBTimeSpan m_SecondTestMove;
    int m_TypConnSIP = 0;
    bool m_OnAfterConfSIP = false;
    int m_CodDTMF_SIP = 0;
    int m_DialUpSecSIP = 0;
    int m_CallDurSecSIP = 0;
    int m_DTMFProlongSIP = 0;
    DBString m_DomainSIP;
    DBString m_LoginSIP;
    DBString m_PassWDSIP;
    int m_DelaySIP = 0;

    CTabStateB m_TabState;
    CTabOutB m_TabOut;
    CTabKeyB m_TabKey;
    CUserTeamTab m_UserTab;
    CGroupTeamTab m_GroupTab;
    CTabProfilP m_TabProfil;
    CSortIDArray m_SortLift;
};

// A dispatch point, element "DISP".
class CPunctB : public CNodeTreeB {
public:
    enum typViewLift : int {
        tvlList = 0,    // lifts as a list
        tvlTable = 1,   // lifts as a table
        tvlGroups = 2,  // lifts in their groups
    };

    explicit CPunctB(CNodeB* parent = nullptr);
    CPunctB(const CPunctB&) = delete;
    CPunctB& operator=(const CPunctB&) = delete;

    static const char* const s_Punct;  // "DISP"
    static const char* const s_Name;
    static const char* const s_TypViewLift;
    static const char* const s_TestMoveLift;
    static const char* const s_NameLock;
    static const char* const s_AskLift;
    static const char* const s_SpeakGDP;
    static const char* const s_SizeLiftGrp;
    static const char* const s_FonGrp;
    static const char* const s_AvtoGGS;
    static const char* const s_DisGrad;
    static const char* const s_TwoCol;

    int TypNode() override { return typPunct; }
    const char* ElementName() const override { return s_Punct; }
    void XMLLoadG(xmlNode* element) override;
    // "NameLock" and "DisGrad" are never written.
    void XMLUpdateG() override;
    void XMLCreate() override;
    void XMLUnbind() override;
    bool IsModify() override;
    void ClearModify() override;

    virtual CStreetB* CreateStreet();
    virtual CGroupB* CreateGroup();

    CLiftB* FindLift(const DBGUID& guid);
    CLiftB* FindLift(int id) { return m_SortLift.FindLift(id); }
    typViewLift GetTypViewLift() const { return m_TypViewLift; }
    void SetTypViewLift(typViewLift t) { m_TypViewLift = t; }

    typViewLift m_TypViewLift = tvlGroups;
    int m_TestMoveLift = 0;
    DBString m_NameLock;
    int m_AskLift = 0;
    int m_SpeakGDP = 1;
    int m_LiftWidth = 32;  // "SizeLiftGrp": size of a lift cell
    int m_LiftHeight = 32;
    std::uint32_t m_FonGrp = 0xFFFFFF;  // r + 256 g + 65536 b
    int m_AvtoGGS = 1;
    int m_DisGrad = 0;
    bool m_TwoCol = false;

    CGroupB m_Group;  // top group: parent null, link to this point
    CSortIDArray m_SortLift;
    bool m_Flag = false;  // application flag
};

// A street, element "STREET".
class CStreetB : public CNodeTreeB {
public:
    explicit CStreetB(CNodeB* parent = nullptr) : CNodeTreeB(parent) {}

    static const char* const s_Street;  // "STREET"
    static const char* const s_Name;
    static const char* const s_Fon;

    int TypNode() override { return typStreet; }
    const char* ElementName() const override { return s_Street; }
    void XMLLoadG(xmlNode* element) override;
    void XMLUpdateG() override;

    virtual CHomeB* CreateHome();

    std::uint32_t m_Fon = 0xFFFFFF;
};

// A building, element "HOME".
class CHomeB : public CNodeTreeB {
public:
    explicit CHomeB(CNodeB* parent = nullptr) : CNodeTreeB(parent) {}

    static const char* const s_Home;  // "HOME"
    static const char* const s_Name;
    static const char* const s_Lat;
    static const char* const s_Long;

    int TypNode() override { return typHome; }
    const char* ElementName() const override { return s_Home; }
    void XMLLoadG(xmlNode* element) override;
    void XMLUpdateG() override;

    virtual CLiftB* CreateLift();

    double m_Lat = 0;
    double m_Long = 0;
};

// ---- profiles ----

class CPunctP;

// A profile: a console-shaped view of some of the console's dispatch points with a layout of
// its own, element "PULT" in "PROFILES". Parent: the profile table.
class CProfilP : public CTeamB {
public:
    explicit CProfilP(CNodeB* table = nullptr) : CTeamB(table) {}

    CPunctB* CreatePunct() override;
    // The first profile dispatch point showing that dispatch point, else null.
    CPunctP* FindPunct(int idPunct) const;
    // The lift's placements out of the groups of that profile dispatch point.
    void RemoveLift(int idPunct, const DBGUID& lift);
    // Every profile dispatch point showing that dispatch point: element freed, erased and
    // deleted; the profile is marked modified. The number removed.
    int RemovePunct(int idPunct);
};

// A dispatch point of a profile: "IdPunct" names the console's dispatch point it shows.
class CPunctP : public CPunctB {
public:
    explicit CPunctP(CNodeB* profile = nullptr) : CPunctB(profile) {}

    static const char* const s_IdPunct;  // "IdPunct"

    // "IdPunct", then the dispatch point.
    void XMLLoadG(xmlNode* element) override;
    void XMLUpdateG() override;
    CGroupB* CreateGroup() override;

    int m_IdPunct = 0;
};

// A group of a profile: its placements name lifts by GUID only.
class CGroupP : public CGroupB {
public:
    explicit CGroupP(CPunctB* punct = nullptr, CNodeB* parent = nullptr) : CGroupB(punct, parent) {}
    int TypNode() override { return typGroupP; }
    CGroupB* CreateGroup() override;
    CLiftInGroup* CreateLiftInGroup() override;
};

class CLiftInGroupP : public CLiftInGroup {
public:
    explicit CLiftInGroupP(CNodeB* group = nullptr) : CLiftInGroup(group) {}
};

}  // namespace TERQCloud

#include "dblib/CloudLift.h"
