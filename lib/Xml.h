// The exception of every XML operation and the typed attribute readers and writers shared by
// the client configuration document and the cloud model.
#pragma once

#include <string>

#include <libxml/tree.h>
#include <netinet/in.h>

#include "dblib/DBString.h"
#include "dblib/DBTime.h"

// Thrown by value, caught by reference. The narrow texts are UTF-8; null texts count as empty.
class ErrorXML {
public:
    // "<a> elements <e>".
    ErrorXML(const wchar_t* a, int code, const wchar_t* e);
    // "<a> parameters <p> elements <e>".
    ErrorXML(const wchar_t* a, int code, const wchar_t* e, const wchar_t* p);
    explicit ErrorXML(const char* a);
    // a, then " elements <e>" when e is given.
    ErrorXML(const char* a, const char* e);
    // a, then " parameters <p> elements <e>".
    ErrorXML(const char* a, const char* e, const char* p);
    // The resource text of id in the current language.
    explicit ErrorXML(int id);
    // The resource text, then " elements <e>" when e is given.
    ErrorXML(int id, const char* e);
    // The resource text, then " parameters <p> elements <e>".
    ErrorXML(int id, const char* e, const char* p);

    DBString m_Text;
    int m_Code = 0;
};

namespace TERQCloud {

class CCloudB;

// Base of every cloud node (dblib/CloudStr.h holds the tree built on it). The client
// configuration document and the device model use only the static attribute helpers. Readers
// never throw and give the stated default for an absent or unreadable attribute; writers remove
// the attribute for an "empty" value (unless forced) and throw the "append" ErrorXML when it
// cannot be set.
class CNodeB {
public:
    // Kind of a node; 0, 20 and 22 are not used.
    enum typNode : int {
        typPunct = 1,          // CPunctB, CPunctP: "DISP"
        typStreet = 2,         // CStreetB: "STREET"
        typHome = 3,           // CHomeB: "HOME"
        typLift = 4,           // CLiftB: "LIFT"
        typTeam = 5,           // CTeamB, CProfilP: "PULT"
        typOut = 6,            // COutB: "Out"
        typTabOut = 7,         // CTabOutB: "TabOut"
        typState = 8,          // CStateB: "State"
        typTabState = 9,       // CTabStateB: "TabState"
        typGroup = 10,         // CGroupB: "GROUP"
        typLiftInGroup = 11,   // CLiftInGroup, CLiftInGroupP: "LIFT" inside "GROUP"
        typTabKey = 12,        // CTabKeyB: "TabKey"
        typKey = 13,           // CKeyB: "Key"
        typTabProfil = 14,     // CTabProfilP: "PROFILES"
        typGroupP = 15,        // CGroupP: "GROUP" inside a profile
        typUserTeam = 16,      // CUserTeam: "User"
        typUserTeamTab = 17,   // CUserTeamTab: "TabUserDisp"
        typGroupTeam = 18,     // CGroupTeam: "Group"
        typGroupTeamTab = 19,  // CGroupTeamTab: "TabGroupDisp"
        typCloud = 21,         // CCloudB: "TERQCLOUD"
        typAlertMsg = 23,      // CAlertMsg: "AlertMsg"
        typAlertLift = 24,     // CAlertLift: "AlertLift"
        typTabAlertMsg = 25,   // CTabAlertMsg: "TabAlertMsg"
        typTermDev = 26,       // CTermDevB: "Dev"
        typTabTermDev = 27,    // CTabTermDevB: "TabDev"
    };

    CNodeB() = default;
    // Copies name, parent, identifier and flag; never the bound element.
    CNodeB(const CNodeB& other);
    CNodeB& operator=(const CNodeB& other);
    virtual ~CNodeB() = default;

    virtual int TypNode() = 0;
    // Hooks for the applications; empty here.
    virtual DBString NameTyp() { return DBString(); }
    virtual DBString Pref() { return DBString(); }
    virtual bool IsNotServiced() { return false; }
    virtual int AllHasSameError() { return -1; }
    virtual int NotAllHasSameError() { return -1; }
    // Both 0 when not serviced; else the common error icon (kind 0) or the common error of
    // the erroneous children (kind 1).
    virtual void NodeIcon(int& icon, int& kind);
    // Unlinks and frees the bound element; the node is unbound afterwards.
    virtual void XMLRemoveG();
    // Binds the element and reads "IdDB".
    virtual void XMLLoadG(xmlNode* element);
    // Writes "IdDB" (omitted when 0); nothing on an unbound node.
    virtual void XMLUpdateG();

    // The top of the tree (this node when it has no parent).
    CNodeB* Root();
    // The root when it is a cloud, else null.
    CCloudB* Cloud();
    // The nearest node at or above this one of kind typPunct, else null.
    CNodeB* Punct();
    // Empties the name, drops the parent and the identifier.
    void Clear();
    // This element and its subtree, unformatted UTF-8, under the root's lock; a diagnostic text
    // "CNodeB::XMLStr TypNode=..." on an unbound node or a root without document. The
    // document is left exactly as it was.
    void XMLStr(std::string& out);
    // The same, indented, as a file written through a temporary file in the same folder and
    // renamed over the old one; a failure goes to the root's ReportMsg as "Error save to "
    // and the path, leaving the old file, the tree and the document unchanged.
    void XMLFile(const char* path);

    // With trim, leading and trailing blanks (U+0020 only) are removed.
    static DBString XMLLoadString(xmlNode* node, const char* element, const char* attr, bool trim);
    // strtol base 10, truncated to int.
    static int XMLLoadInteger(xmlNode* node, const char* element, const char* attr, int def);
    static double XMLLoadDouble(xmlNode* node, const char* element, const char* attr, double def);
    // "d.m.y h:m:s" exactly; anything else is the null time.
    static DBTime XMLLoadDateTime(xmlNode* node, const char* element, const char* attr);
    // "a.b.c.d", a in the lowest byte; anything else gives def.
    static int XMLLoadIP(xmlNode* node, const char* element, const char* attr, int def);
    // Unparsable or absent gives all zero.
    static in6_addr XMLLoadIPv6(xmlNode* node, const char* element, const char* attr);
    static bool XMLLoadBool(xmlNode* node, const char* element, const char* attr, bool def);

    static void XMLUpdateString(xmlNode* node,
                                const char* element,
                                const char* attr,
                                const DBString& value);
    static void XMLUpdateInteger(
        xmlNode* node, const char* element, const char* attr, int value, bool force);
    // Values within 1e-9 of zero are removed; others are written with "%f".
    static void XMLUpdateDouble(xmlNode* node, const char* element, const char* attr, double value);
    // Never removes.
    static void XMLUpdateDateTime(xmlNode* node,
                                  const char* element,
                                  const char* attr,
                                  const DBTime& value);
    static void XMLUpdateIP(
        xmlNode* node, const char* element, const char* attr, int value, bool force);
    static void XMLUpdateIPv6(xmlNode* node,
                              const char* element,
                              const char* attr,
                              const in6_addr& value);
    static void XMLUpdateBool(
        xmlNode* node, const char* element, const char* attr, bool value, bool force);

    // All 16 bytes zero, or the IPv4-mapped zero address ::ffff:0.0.0.0.
    static bool isNulIPv6(const in6_addr& address);

    static const char* const s_IdDB;  // "IdDB"

    DBString m_Name;
    CNodeB* m_Parent = nullptr;     // not owned; null at the root and on detached nodes
    xmlNode* m_XMLNodeG = nullptr;  // owned by the root's document
    int m_IdentDB = 0;
    bool m_Modify = false;
};

}  // namespace TERQCloud

// Saves doc, indented, in UTF-8, through a temporary file beside path that is flushed and renamed
// over it, so that a failure at any point leaves the old file whole and no temporary file behind.
// A symbolic link's file is replaced, not the link; an existing file keeps its mode (and, where
// the caller may, its owner); a new file gets 0666 less the umask. Returns 0, or the errno of the
// step that failed (EIO when the writer gave none); *noTemporary tells that the folder took no
// temporary file, where the caller may still try another way.
int XMLSaveThroughTemporary(xmlDoc* doc, const std::string& path, bool* noTemporary = nullptr);
// The same for bytes already in memory.
int WriteThroughTemporary(const std::string& path,
                          const char* data,
                          size_t size,
                          bool* noTemporary = nullptr);
