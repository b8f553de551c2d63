// Links of the device network: address types, link tables and their XML.
#include "lib/Link.h"

#include <string>

#include <gtest/gtest.h>

#include "lib/Slot.h"

namespace {

std::string Attr(xmlNode* node, const char* name) {
    xmlChar* v = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    if (v == nullptr) return "(none)";
    std::string s(reinterpret_cast<char*>(v));
    xmlFree(v);
    return s;
}

TEST(CIpAddrTest, TextFormsAndTests) {
    CIpAddr ip;
    ASSERT_EQ(ip.SetString("192.168.0.1"), 1);
    EXPECT_EQ(ip.GetValue(), 0x0100A8C0u);
    EXPECT_EQ(ip.GetValueW(), 0xC0A80001u);
    EXPECT_EQ(ip.GetString(), L"192.168.0.1");
    EXPECT_TRUE(ip.IsValid());
    EXPECT_TRUE(CIpAddr::TestModifyIP(ip.GetValueW(), 0, 10));
    EXPECT_FALSE(CIpAddr::TestModifyIP(ip.GetValueW(), 0, 192));
    EXPECT_FALSE(CIpAddr::TestModifyIP(ip.GetValueW(), 3, 1));
    for (const char* bad : {"1.2.3", "1.2.3.256", "1.2.3.4.5", "1..3.4", "", "a.b.c.d"}) {
        ip.SetValue(0x01020304);
        EXPECT_EQ(ip.SetString(bad), 0) << bad;
        EXPECT_EQ(ip.GetValue(), 0u) << bad;
    }
    struct Row {
        const char* text;
        bool valid, nul;
    } const rows[] = {{"0.0.0.0", false, true},
                      {"255.255.255.255", false, true},
                      {"1.0.0.254", true, false},
                      {"255.1.1.1", false, false},
                      {"10.0.0.0", false, false}};
    for (const Row& r : rows) {
        ASSERT_EQ(ip.SetString(r.text), 1) << r.text;
        EXPECT_EQ(ip.IsValid(), r.valid) << r.text;
        EXPECT_EQ(ip.IsNul(), r.nul) << r.text;
    }
}

TEST(CMacAddrTest, TwelveHexDigitsOrNoChange) {
    CMacAddr mac;
    ASSERT_EQ(mac.SetString("00a0Bc0D0e1F"), 1);
    EXPECT_EQ(mac.GetString(), L"00A0BC0D0E1F");
    for (const char* bad : {"00A0BC0D0E1", "00A0BC0D0E1G", "00A0BC0D0E1F0", "00:A0:BC:0D"})
        EXPECT_EQ(mac.SetString(bad), 0) << bad;
    EXPECT_EQ(mac.GetString(), L"00A0BC0D0E1F");
}

class LinkTabTest : public testing::Test {
protected:
    void SetUp() override {
        m_doc = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
        m_root = xmlNewNode(nullptr, reinterpret_cast<const xmlChar*>("Slot"));
        xmlDocSetRootElement(m_doc, m_root);
    }
    void TearDown() override { xmlFreeDoc(m_doc); }

    xmlDoc* m_doc = nullptr;
    xmlNode* m_root = nullptr;
    CSlot m_slot{4, CSlot::tsEther};
};

TEST_F(LinkTabTest, ExternalLinkInsertRefusalsAndXml) {
    CLinkNetTab& tab = m_slot.m_TabLinkNet;
    tab.XMLAdd(m_root);
    CSlot far1, far2;
    EXPECT_EQ(tab.Insert(3, 1, &far1, nullptr), 1);
    EXPECT_EQ(tab.Insert(3, 1, nullptr, nullptr), 0);  // same module and slot
    EXPECT_EQ(tab.Insert(3, 2, &far1, nullptr), 0);    // same far slot
    EXPECT_EQ(tab.Insert(2, 7, nullptr, nullptr), 1);
    EXPECT_EQ(tab.Insert(2, 8, nullptr, nullptr), 1);  // a second null slot is no duplicate
    EXPECT_EQ(tab.Insert(1, 0, &far2, new CParam), 1);
    ASSERT_EQ(tab.Count(), 4);
    EXPECT_EQ(tab.FindLink(&far1), tab.FindLink(3, 1));
    EXPECT_EQ(tab.FindLink(nullptr), nullptr);
    tab.ReOrder();
    EXPECT_EQ(tab.m_List[0]->m_UM, 1);
    EXPECT_EQ(tab.m_List[3]->m_UM, 3);

    // The elements came with the inserts, in insert order.
    xmlNode* first = tab.m_pNode->children;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Attr(first, "UM"), "3");
    EXPECT_EQ(Attr(first, "Slot"), "1");
    CLinkNetTab loaded;
    loaded.XMLLoad(tab.m_pNode);
    ASSERT_EQ(loaded.Count(), 4);
    EXPECT_NE(loaded.FindLink(2, 8), nullptr);
}

TEST_F(LinkTabTest, InternalLinkTableOperations) {
    CLinkCLLTab& tab = m_slot.m_TabLinkCLL;
    EXPECT_EQ(tab.GetItem(17), nullptr);
    EXPECT_EQ(tab.GetItem(-1), nullptr);
    CLinkCLL* three = tab.GetItem(3);
    ASSERT_NE(three, nullptr);
    EXPECT_EQ(tab.GetItem(3), three);
    EXPECT_EQ(three->m_UM[0], 255);
    EXPECT_EQ(three->m_Slot[0], 0);
    EXPECT_EQ(three->m_Chan, 255);

    tab.GetItem(16)->m_IPDop2.SetString("10.1.2.3");
    tab.GetItem(0)->m_IP.SetString("10.1.2.3");
    CIpAddr ip;
    ip.SetString("10.1.2.3");
    EXPECT_EQ(tab.FindIP(ip.GetValue()), tab.Find(16));  // the list order decides
    tab.Find(0)->m_IP.SetValue(0);
    EXPECT_EQ(tab.FindIP(0), nullptr);
    EXPECT_EQ(tab.FindIP(0xFFFFFFFFu), nullptr);
    three->m_UM[0] = 7;
    three->m_Slot[0] = 2;
    EXPECT_EQ(tab.Find(7, 2), three);
    EXPECT_EQ(tab.FindUM(7), three);
    EXPECT_EQ(tab.Find(7, 3), nullptr);

    // ReNumber over 3, 16, 0 in list order, bound to the document: 1, 2, 0.
    tab.XMLAdd(m_root);
    tab.ReNumber();
    EXPECT_EQ(three->m_Number, 1);
    EXPECT_EQ(tab.m_List[1]->m_Number, 2);
    EXPECT_EQ(tab.m_List[2]->m_Number, 0);
    EXPECT_TRUE(three->m_Changed);
    EXPECT_FALSE(tab.m_List[2]->m_Changed);
    EXPECT_EQ(Attr(three->m_pNode, "Number"), "1");
    EXPECT_EQ(Attr(tab.m_List[1]->m_pNode, "IPDop2"), "10.1.2.3");
    EXPECT_TRUE(tab.Delete(2));
    EXPECT_FALSE(tab.Delete(2));
    EXPECT_EQ(xmlChildElementCount(tab.m_pNode), 2u);
}

TEST_F(LinkTabTest, InternalLinkXmlRoundTripAndAbsentAttributes) {
    CLinkCLLTab& tab = m_slot.m_TabLinkCLL;
    tab.m_VolRec = 5;
    CLinkCLL* link = tab.GetItem(2);
    link->m_UM[0] = 9;
    link->m_Slot[0] = 0;
    link->m_IP.SetString("192.168.1.10");
    link->m_Mask.SetString("255.255.255.0");
    link->m_DataPort.SetValue(5000);
    link->m_Note = L"канал";
    tab.XMLAdd(m_root);
    EXPECT_EQ(Attr(tab.m_pNode, "VolRec"), "5");
    EXPECT_EQ(Attr(link->m_pNode, "Mask"), "255.255.255.0");
    EXPECT_EQ(Attr(link->m_pNode, "Slot"), "0");
    EXPECT_EQ(Attr(link->m_pNode, "GTW"), "(none)");
    xmlNewChild(tab.m_pNode, nullptr, reinterpret_cast<const xmlChar*>("LinkCLL"), nullptr);

    CLinkCLLTab loaded;
    loaded.XMLLoad(tab.m_pNode);
    ASSERT_EQ(loaded.Count(), 2);
    const CLinkCLL* back = loaded.Find(2);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->m_UM[0], 9);
    EXPECT_EQ(back->m_IP, link->m_IP);
    EXPECT_EQ(back->m_Mask, link->m_Mask);
    EXPECT_EQ(back->m_DataPort, link->m_DataPort);
    EXPECT_EQ(back->m_Note, L"канал");
    EXPECT_EQ(loaded.m_VolRec, 5);
    const CLinkCLL* bare = loaded.Find(0);  // no attributes: every field 0, the module too
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(bare->m_UM[0], 0);
    EXPECT_EQ(bare->m_IP.GetValue(), 0u);
}

}  // namespace
