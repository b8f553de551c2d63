// Links between network modules: external links of an Ethernet slot and internal link
// descriptions, with the address and port value types of their XML.
#pragma once

#include <cstdint>
#include <vector>

#include <libxml/tree.h>

#include "dblib/DBString.h"

class CSlot;
class CParam;

// IPv4 address, first octet in the lowest byte (network order in memory).
class CIpAddr {
public:
    CIpAddr() = default;
    explicit CIpAddr(unsigned int value) : m_Value(value) {}

    // "%d.%d.%d.%d", first octet first.
    DBString GetString() const;
    // Clears, then reads four decimal numbers 0..255 separated by points; returns 1. Fewer
    // numbers, a number above 255, or anything behind the fourth return 0 and leave 0.0.0.0.
    int SetString(const char* text);
    // Stored order.
    unsigned int GetValue() const { return m_Value; }
    // Byte-swapped: first octet in the highest byte.
    unsigned int GetValueW() const;
    void SetValue(unsigned int value) { m_Value = value; }
    // First and last octet both in 1..254.
    bool IsValid() const;
    // 0.0.0.0 or 255.255.255.255.
    bool IsNul() const { return m_Value == 0 || m_Value == 0xFFFFFFFFu; }
    // Whether octet i (0 = first) of a byte-swapped value differs from octet; i outside 0..3
    // gives false.
    static bool TestModifyIP(unsigned int valueW, int i, int octet);

    bool operator==(const CIpAddr& o) const { return m_Value == o.m_Value; }
    bool operator!=(const CIpAddr& o) const { return m_Value != o.m_Value; }

private:
    unsigned int m_Value = 0;
};

class CIpPort {
public:
    int GetValue() const { return m_Value; }
    void SetValue(int value) { m_Value = static_cast<uint16_t>(value); }
    bool operator==(const CIpPort& o) const { return m_Value == o.m_Value; }

private:
    uint16_t m_Value = 0;
};

class CMacAddr {
public:
    CMacAddr();
    // 12 hexadecimal digits, upper case, no separators.
    DBString GetString() const;
    // Exactly 12 hexadecimal digits: the address and 1; anything else 0 and no change.
    int SetString(const char* text);
    const unsigned char* Get() const { return m_Addr; }

private:
    unsigned char m_Addr[6];
};

class CLinkNetTab;

// External link of an Ethernet slot to the module and slot at the far end. Owns its parameter
// object.
class CLinkNet {
public:
    static constexpr const char* s_Element = "LinkNet";

    CLinkNet(int um, int slot, CSlot* far = nullptr, CParam* param = nullptr);
    CLinkNet(const CLinkNet&) = delete;
    CLinkNet& operator=(const CLinkNet&) = delete;
    virtual ~CLinkNet();

    // "LinkNet" under parent; throws ErrorXML (41076).
    void XMLAdd(xmlNode* parent);
    void XMLUpdate();
    void XMLRemove();
    // Binds node; "UM" and "Slot" (absent: 0).
    void XMLLoad(xmlNode* node);
    void XMLPostLoad();

    int m_UM;
    int m_Slot;
    CSlot* m_pSlot;  // far slot, set by the link rebuild
    CLinkNetTab* m_pTab = nullptr;
    CParam* m_pParam;
    xmlNode* m_pNode = nullptr;
    unsigned char m_Flag = 0;
};

// External links of one slot, owned.
class CLinkNetTab {
public:
    static constexpr const char* s_Element = "TabLinkNet";

    explicit CLinkNetTab(CSlot* slot = nullptr) : m_pSlot(slot) {}
    CLinkNetTab(const CLinkNetTab&) = delete;
    CLinkNetTab& operator=(const CLinkNetTab&) = delete;
    ~CLinkNetTab();

    // Appends a link and returns 1; refuses (0) a link to a module and slot, or to a non-null
    // slot, already linked (param then stays the caller's). A bound table adds the element.
    int Insert(int um, int slot, CSlot* far, CParam* param);
    CLinkNet* FindLink(int um, int slot) const;
    // Null finds nothing.
    CLinkNet* FindLink(const CSlot* far) const;
    // Sorts by module, then slot.
    void ReOrder();

    // "TabLinkNet" under parent with every link; throws ErrorXML (41076).
    void XMLAdd(xmlNode* parent);
    void XMLRemove();
    // Reads the "LinkNet" children; a link to a module and slot already present is reported
    // ("External link (%d:%d)->(%d:%d) already exist in structure": this slot, then the far
    // end) and destroyed.
    void XMLLoad(xmlNode* node);
    void XMLPostLoad();

    int Count() const { return static_cast<int>(m_List.size()); }

    std::vector<CLinkNet*> m_List;
    CSlot* m_pSlot;
    xmlNode* m_pNode = nullptr;
};

class CLinkCLLTab;

// Internal link description: the IP-level parameters of link number 0..16. Owns its parameter
// object.
class CLinkCLL {
public:
    static constexpr const char* s_Element = "LinkCLL";
    static constexpr int kMaxNumber = 16;

    // Number n, byte field 255, module/slot pairs 255/0, addresses and ports 0.
    explicit CLinkCLL(int n = 0);
    CLinkCLL(const CLinkCLL&) = delete;
    CLinkCLL& operator=(const CLinkCLL&) = delete;
    virtual ~CLinkCLL();

    // "LinkCLL" under parent; throws ErrorXML (41076).
    void XMLAdd(xmlNode* parent);
    // "Number", "UM", "Slot" always written; zero addresses and ports and an empty note removed.
    void XMLUpdate();
    void XMLRemove();
    // Binds node; every absent attribute reads as 0 (empty for the note), the far module too.
    // The MAC address is not in the XML.
    void XMLLoad(xmlNode* node);
    void XMLPostLoad();

    int m_Number;
    unsigned char m_Chan = 255;  // host's channel byte, not in the XML
    int m_UM[3];                 // [0] far module ("UM"); the others are the host's
    int m_Slot[3];               // [0] far slot ("Slot")
    CIpAddr m_IP;
    CIpAddr m_IPDop1;
    CIpAddr m_IPDop2;
    CIpAddr m_Mask;
    CIpAddr m_GTW;
    CMacAddr m_Mac;
    CIpPort m_DataPort;
    CIpPort m_VoicePort;
    DBString m_Note;
    CLinkCLLTab* m_pTab = nullptr;
    CParam* m_pParam = nullptr;
    xmlNode* m_pNode = nullptr;
    bool m_Changed = false;
};

// Internal link descriptions of one slot, owned, with the slot's recording and playback volume.
class CLinkCLLTab {
public:
    static constexpr const char* s_Element = "TabLinkCLL";

    explicit CLinkCLLTab(CSlot* slot = nullptr) : m_pSlot(slot) {}
    CLinkCLLTab(const CLinkCLLTab&) = delete;
    CLinkCLLTab& operator=(const CLinkCLLTab&) = delete;
    ~CLinkCLLTab();

    // The link numbered n, made with the defaults and appended when missing (a bound table adds
    // its element); null for n outside 0..16.
    CLinkCLL* GetItem(int n);
    CLinkCLL* Find(int n) const;
    CLinkCLL* Find(int um, int slot) const;
    CLinkCLL* FindUM(int um) const;
    // Null for 0 and 0xFFFFFFFF; else the first link whose main or an additional address is ip.
    CLinkCLL* FindIP(unsigned int ip) const;
    // Remove, unlink from the XML and free; false when not in the table.
    bool Delete(int n);
    bool Delete(CLinkCLL* link);
    // Links numbered above 0 get 1, 2, 3 ... in list order; a changed one is rewritten and
    // marked changed.
    void ReNumber();

    // "TabLinkCLL" under parent with "VolRec", "VolPlay" and every link; throws ErrorXML.
    void XMLAdd(xmlNode* parent);
    void XMLUpdate();
    void XMLRemove();
    // Reads the volumes and the "LinkCLL" children; a number already present is reported
    // ("Internal link %d (%d:%d)->(%d:%d) already exist in structure": the number, this slot,
    // then the far end of the duplicate) and destroyed.
    void XMLLoad(xmlNode* node);
    void XMLPostLoad();

    int Count() const { return static_cast<int>(m_List.size()); }

    std::vector<CLinkCLL*> m_List;
    CSlot* m_pSlot;
    int m_VolRec = 0;
    int m_VolPlay = 0;
    xmlNode* m_pNode = nullptr;
};
