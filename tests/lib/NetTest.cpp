// The device network: loading and saving, type classes, routing of messages, link rebuild.
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dblib/LoadRes.h"
#include "lib/Idea.h"
#include "lib/KeySys.h"
#include "lib/PackV7.h"
#include "lib/Um.h"
#include "lib/Xml.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Records what the layer hands over; routes by a table of module -> slot.
class Recorder : public CDisp {
public:
    void PutLog(const wchar_t* text, bool) override { logs.emplace_back(text); }
    void SendPack(CPult* pult, CPackMes& pack) override {
        ASSERT_NE(pult, nullptr);
        pults.push_back(pult);
        sent.emplace_back(pack.GetData(), pack.GetData() + pack.GetLen());
        prior.push_back(pack.GetPrior());
    }
    void PutNoIdent(CPult* pult, CPackMes& pack) override {
        ASSERT_NE(pult, nullptr);
        noIdent.emplace_back(pack.GetData(), pack.GetData() + pack.GetLen());
        pack.Clear();
    }
    CSlot* FindSlot(CPult* pult, int um) override {
        EXPECT_NE(pult, nullptr);
        ++asks;
        const auto it = route.find(um);
        return it == route.end() ? nullptr : it->second;
    }

    std::vector<std::wstring> logs;
    std::vector<CPult*> pults;
    std::vector<Bytes> sent, noIdent;
    std::vector<int> prior;
    std::map<int, CSlot*> route;
    int asks = 0;
};

class NetTest : public testing::Test {
protected:
    void SetUp() override {
        if (g_StringLocaleENU.empty()) {
            TERQLib_rc();
            TERQLibENU_rc();
        }
        g_StringENU = true;
    }
    void TearDown() override {
        g_StringENU = false;
        if (m_doc != nullptr) xmlFreeDoc(m_doc);
    }
    // Parses text and loads the table from its root.
    void Load(const char* text) {
        m_doc = xmlReadMemory(text, static_cast<int>(strlen(text)), nullptr, nullptr, 0);
        ASSERT_NE(m_doc, nullptr);
        m_tab.XMLLoad(xmlDocGetRootElement(m_doc));
    }
    std::string Dump() const {
        xmlChar* mem = nullptr;
        int size = 0;
        xmlDocDumpMemory(m_doc, &mem, &size);
        std::string s(reinterpret_cast<char*>(mem), static_cast<size_t>(size));
        xmlFree(mem);
        return s;
    }
    CSlot* Slot(int um, int slot, int typ = CSlot::tsNone) {
        CSlot* s = m_tab.FindBlokIns(um, slot);
        s->m_typSlot = typ;
        return s;
    }

    Recorder m_disp;
    CPult m_pult{&m_disp, 1, true, 3};
    CUMTab m_tab{&m_pult};
    xmlDoc* m_doc = nullptr;
};

// A message of 19 record bytes: 20 packet bytes with its length byte.
CMes Mes19(int um, int slot) {
    const unsigned char b[13] = {};
    return CMes(um, slot, 255, 15, CMes::mtService, b, 13);
}

const char kDoc[] =
    "<Net>"
    "<Um Number=\"1\" Note=\"local\">"
    "<Slot Number=\"0\" TypSlot=\"2\" Program=\"0\" LinkUM=\"3\" LinkSlot=\"5\">"
    "<TabDev><Dev Addr=\"5\"/><Dev Addr=\"5\"/><Dev Addr=\"0\"/></TabDev></Slot>"
    "<Slot Number=\"0\" TypSlot=\"1\"/>"
    "<Slot Number=\"4\" TypSlot=\"5\" Program=\"1\">"
    "<TabLinkNet><LinkNet UM=\"2\" Slot=\"1\"/><LinkNet UM=\"2\" Slot=\"1\"/></TabLinkNet>"
    "<TabLinkCLL VolRec=\"3\"><LinkCLL Number=\"1\" UM=\"2\" Slot=\"1\" IP=\"10.0.0.1\"/>"
    "<LinkCLL Number=\"1\" UM=\"7\" Slot=\"2\"/></TabLinkCLL></Slot>"
    "</Um>"
    "<Um Number=\"2\"><Slot Number=\"1\" TypSlot=\"6\"/></Um>"
    "<Um Number=\"1\"/>"
    "</Net>";

TEST_F(NetTest, LoadReportsEachDuplicateOnceAndSavesBackUnchanged) {
    Load(kDoc);
    const std::string before = Dump();
    EXPECT_EQ(m_disp.logs, (std::vector<std::wstring>{
                               L"Device 5  already exist in slot 1:0:5",
                               L"Slot 0 already exist in UM 1:0",
                               L"External link (1:4)->(2:1) already exist in structure",
                               L"Internal link 1 (1:4)->(7:2) already exist in structure",
                               L"UM 1 already exist in structure",
                           }));
    ASSERT_EQ(m_tab.Count(), 2);
    CSlot* line = m_tab.FindBlok(1, 0);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->m_typSlot, 2);  // the first slot 0 stays
    EXPECT_EQ(line->m_LinkUM, 3);
    EXPECT_EQ(line->m_LinkSlot, 5);
    EXPECT_EQ(line->m_TabDev.Count(), 2);
    EXPECT_EQ(m_tab.FindDev(1, 0, 5)->m_pSlot, line);
    CSlot* ether = m_tab.FindBlok(1, 4);
    EXPECT_EQ(ether->m_TabLinkNet.Count(), 1);
    ASSERT_EQ(ether->m_TabLinkCLL.Count(), 1);
    EXPECT_EQ(ether->m_TabLinkCLL.Find(1)->m_IP.GetString(), L"10.0.0.1");
    EXPECT_EQ(ether->m_TabLinkCLL.m_VolRec, 3);
    EXPECT_EQ(m_tab.FindUM(1)->m_Note, L"local");
    EXPECT_EQ(Dump(), before);

    // Rebuilding the links makes module 3 with slot 5, in the model and in the document.
    m_tab.SetLink();
    EXPECT_NE(Dump().find("<Um Number=\"3\"><Slot Number=\"5\" TypSlot=\"3\" Program=\"0\">"),
              std::string::npos);
    EXPECT_EQ(m_disp.logs.size(), 5u);
}

// A host parameter that keeps one attribute of its owner's element.
class HostParam : public CParam {
public:
    explicit HostParam(int v = 0) : value(v) {}
    void XMLUpdate(xmlNode* node) override {
        TERQCloud::CNodeB::XMLUpdateInteger(node, "E", "Host", value, true);
    }
    void XMLLoad(xmlNode* node) override {
        value = TERQCloud::CNodeB::XMLLoadInteger(node, "E", "Host", -1);
    }
    int value;
};
int HostValue(CParam* p) { return p == nullptr ? -2 : static_cast<HostParam*>(p)->value; }

// Host kinds that attach parameters to every slot and device they make.
class HostSlot : public CSlot {
public:
    using CSlot::CSlot;
    CDev* CreateDev(int addr) override {
        CDev* dev = new CDev(addr);
        dev->m_pParam = new HostParam;
        return dev;
    }
};
class HostUM : public CUM {
public:
    using CUM::CUM;
    CSlot* CreateSlot(int number) override {
        CSlot* slot = new HostSlot(number);
        slot->m_pParam = new HostParam;
        return slot;
    }
};
class HostTab : public CUMTab {
public:
    using CUMTab::CUMTab;
    CUM* CreateUM(int number) override { return new HostUM(number, m_pPult); }
};

TEST_F(NetTest, ModelWrittenOutReadsBackThroughTheHostsFactories) {
    HostTab src(&m_pult);
    CSlot* line = src.FindBlokIns(1, 2);
    line->m_typSlot = CSlot::tsLine2;
    line->m_LinkUM = 4;
    line->m_LinkSlot = 7;
    line->m_Program = true;
    static_cast<HostParam*>(line->m_pParam)->value = 42;
    line->m_TabDev.Insert(line->CreateDev(3));
    static_cast<HostParam*>(line->m_TabDev.Find(3)->m_pParam)->value = 7;
    CSlot* eth = src.FindBlokIns(1, 5);
    eth->m_typSlot = 9;
    eth->m_TabLinkNet.Insert(6, 1, nullptr, nullptr);
    eth->m_TabLinkCLL.GetItem(2)->m_IP.SetString("10.0.0.9");
    src.FindUM(1)->m_Note = L"узел";
    m_doc = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    xmlNode* root = xmlNewNode(nullptr, reinterpret_cast<const xmlChar*>("Net"));
    xmlDocSetRootElement(m_doc, root);
    src.XMLAdd(root);

    HostTab back(&m_pult);
    back.XMLLoad(root);
    CSlot* l = back.FindBlok(1, 2);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->m_typSlot, CSlot::tsLine2);
    EXPECT_EQ(l->m_LinkUM, 4);
    EXPECT_EQ(l->m_LinkSlot, 7);
    EXPECT_TRUE(l->m_Program);
    EXPECT_EQ(HostValue(l->m_pParam), 42);
    ASSERT_NE(back.FindDev(1, 2, 3), nullptr);
    EXPECT_EQ(HostValue(back.FindDev(1, 2, 3)->m_pParam), 7);
    CSlot* e = back.FindBlok(1, 5);
    EXPECT_NE(e->m_TabLinkNet.FindLink(6, 1), nullptr);
    ASSERT_NE(e->m_TabLinkCLL.Find(2), nullptr);
    EXPECT_EQ(e->m_TabLinkCLL.Find(2)->m_IP.GetString(), L"10.0.0.9");
    EXPECT_EQ(back.FindUM(1)->m_Note, L"узел");
    EXPECT_TRUE(m_disp.logs.empty());
}

TEST_F(NetTest, SlotAndDeviceClassesAtTheirBoundaries) {
    const std::set<int> line{2, 18}, ether{5, 7, 9, 12, 14, 16}, inp{3, 6, 8, 10, 13, 15, 17, 19},
        ggs{8, 10, 13, 15, 17}, prog{1, 12, 13};
    for (int t = -1; t <= 21; ++t) {
        SCOPED_TRACE(t);
        EXPECT_EQ(CSlot::IsDevice(t), t != 4);
        EXPECT_EQ(CSlot::IsLine(t), line.count(t) == 1);
        EXPECT_EQ(CSlot::IsEther(t), ether.count(t) == 1);
        EXPECT_EQ(CSlot::IsInpLink(t), inp.count(t) == 1);
        EXPECT_EQ(CSlot::IsNewGGS(t), ggs.count(t) == 1);
        EXPECT_EQ(CSlot::CanProgramm(t), prog.count(t) == 1);
    }
    const std::set<int> v6{11, 12, 14}, pro{12, 14}, it{16, 18, 19};
    for (int t = -1; t <= 34; ++t) {
        SCOPED_TRACE(t);
        EXPECT_EQ(CDev::IsV6(t), v6.count(t) == 1);
        EXPECT_EQ(CDev::IsV7(t), t == 14);
        EXPECT_EQ(CDev::IsPro(t), pro.count(t) == 1);
        EXPECT_EQ(CDev::IsIT(t), it.count(t) == 1);
        EXPECT_TRUE(CDev::IsKnovExt(t, true));
        EXPECT_EQ(CDev::IsKnovExt(t, false), t < 7 || t > 10);
    }
    CSlot slot;
    for (int bus = -1; bus <= 9; ++bus) {
        slot.m_typBus = bus;
        EXPECT_EQ(slot.IsCLB(), bus == 0 || bus == 1 || (bus >= 3 && bus <= 8)) << bus;
    }
    EXPECT_FALSE(slot.IsProgram());
    slot.m_typSlot2 = 10;
    EXPECT_TRUE(slot.IsProgram());
    CDev dev;
    for (int mode = 0; mode <= 3; ++mode) {
        dev.m_ModeExt = mode;
        EXPECT_EQ(dev.IsExtended(), mode == 1 || mode == 2) << mode;
    }
    EXPECT_EQ(CDev::nameTypDev(0), L"Not defined");
    EXPECT_EQ(CDev::nameTypDev(34), L"Not defined");
    EXPECT_EQ(CSlot::nameTypBus(7), L"Not defined");
    EXPECT_NE(CSlot::nameTypBus(6), L"Not defined");
}

TEST_F(NetTest, ServingSlotRule) {
    CSlot* local = Slot(1, 0);
    CSlot* far = Slot(5, 2);
    const CMes mes = Mes19(5, 2);

    // A local slot serves itself without asking.
    EXPECT_EQ(local->AddMes(4, mes), 1);
    EXPECT_EQ(local->m_Pack.GetLen(), 21);
    // A routing console sends a far module's messages through the slot the dispatcher names.
    m_disp.route[5] = local;
    EXPECT_EQ(far->AddMes(4, mes), 1);
    EXPECT_EQ(local->m_Pack.GetLen(), 41);
    EXPECT_TRUE(far->m_Pack.IsEmpty());
    EXPECT_EQ(m_disp.asks, 1);
    // No slot named: nothing happens, nothing is lost.
    m_disp.route.clear();
    const Bytes kept(local->m_Pack.GetData(), local->m_Pack.GetData() + 41);
    EXPECT_EQ(far->AddMes(4, mes), 0);
    far->Put();
    far->SetPrior(9);
    EXPECT_EQ(Bytes(local->m_Pack.GetData(), local->m_Pack.GetData() + 41), kept);
    EXPECT_TRUE(far->m_Pack.IsEmpty());
    EXPECT_TRUE(m_disp.sent.empty());
    // A dispatcher that routes in a circle ends as no slot.
    m_disp.route[5] = far;
    EXPECT_EQ(far->AddMes(4, mes), 0);
    EXPECT_TRUE(far->m_Pack.IsEmpty());
    // A console that does not route lets every slot serve itself.
    CPult plain(&m_disp, 1, false);
    CUMTab tab(&plain);
    const int asks = m_disp.asks;
    EXPECT_EQ(tab.FindBlokIns(5, 2)->AddMes(4, mes), 1);
    EXPECT_EQ(tab.FindBlok(5, 2)->m_Pack.GetLen(), 21);
    EXPECT_EQ(m_disp.asks, asks);
    // A slot without console or device without slot: nothing.
    CSlot detached;
    EXPECT_EQ(detached.AddMes(4, mes), 0);
    CDev dev(3);
    EXPECT_EQ(dev.AddMes(4, CMes::mtService, CMes::askMain, nullptr, 0), 0);
}

TEST_F(NetTest, AddMesFlushesAFullPacketAndGoesOnInAFreshOne) {
    CSlot* slot = Slot(1, 0);
    slot->SetAddr();
    EXPECT_EQ(slot->m_Pack.GetData()[0], 0x30);  // origin 3, destination slot 0
    for (int i = 0; i < 3; ++i) ASSERT_EQ(slot->AddMes(7, Mes19(1, 0)), 1);
    ASSERT_EQ(m_disp.sent.size(), 1u);
    EXPECT_EQ(m_disp.pults[0], &m_pult);
    EXPECT_EQ(m_disp.sent[0].size(), 41u);
    EXPECT_EQ(m_disp.sent[0][1], 20);  // first length byte
    EXPECT_EQ(m_disp.prior[0], 7);
    EXPECT_EQ(slot->m_Pack.GetLen(), 21);
    EXPECT_EQ(slot->m_Pack.GetPrior(), 7);
    slot->Put();
    ASSERT_EQ(m_disp.sent.size(), 2u);
    EXPECT_EQ(m_disp.sent[1].size(), 21u);
    EXPECT_TRUE(slot->m_Pack.IsEmpty());
    slot->Put();  // an empty packet is not sent
    EXPECT_EQ(m_disp.sent.size(), 2u);
    // The device forms go through the slot with the device address.
    CDev* dev = new CDev(9);
    ASSERT_TRUE(slot->m_TabDev.Insert(dev));
    EXPECT_EQ(dev->HardBoot(2), 1);
    CMes got;
    slot->m_Pack.BegGet();
    ASSERT_EQ(slot->m_Pack.GetMes(got), 1);
    int addr = 0, ext = 0;
    CMes::GetAdr(got.GetData() + 6, addr, ext);
    EXPECT_EQ(addr, 9);
    EXPECT_EQ(got.GetDestUM(), 1);
    EXPECT_EQ(got.GetTypMes(), CMes::mtService);
    // Without identifier: handed to PutNoIdent.
    for (int i = 0; i < 3; ++i) ASSERT_EQ(slot->AddMesNoIdent(1, Mes19(1, 0)), 1);
    EXPECT_EQ(m_disp.noIdent.size(), 1u);
    EXPECT_EQ(m_disp.sent.size(), 2u);
}

TEST_F(NetTest, NextIdentCyclesOneTo63) {
    CSlot slot;
    for (int i = 1; i <= 63; ++i) ASSERT_EQ(slot.NextIdent(), i);
    EXPECT_EQ(slot.NextIdent(), 1);
}

TEST_F(NetTest, SetLinkMakesFarEndsWithInputTypesAndPartnersBothWays) {
    struct Row {
        int typ, inp;
    };
    const Row rows[] = {{2, 3}, {18, 19}, {5, 6}, {7, 8}, {9, 10}, {12, 13}, {14, 15}, {16, 17}};
    int um = 10;  // row i links slot i of module 1 to slot 2 of module 10 + i
    for (const Row& r : rows) {
        CSlot* near = Slot(1, um - 10, r.typ);
        near->m_LinkUM = um;
        near->m_LinkSlot = 2;
        if (CSlot::IsEther(r.typ)) {
            ASSERT_EQ(near->m_TabLinkNet.Insert(um, 2, nullptr, nullptr), 1);
        }
        ++um;
    }
    m_tab.SetLink();
    um = 10;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.typ);
        CSlot* near = m_tab.FindBlok(1, um - 10);
        CSlot* far = m_tab.FindBlok(um++, 2);
        ASSERT_NE(far, nullptr);
        EXPECT_EQ(far->m_typSlot, r.inp);
        EXPECT_EQ(far->m_pLink, near);
        if (CSlot::IsEther(r.typ))
            EXPECT_EQ(near->m_TabLinkNet.FindLink(um - 1, 2)->m_pSlot, far);
        else
            EXPECT_EQ(near->m_pLink, far);
    }
    EXPECT_EQ(m_tab.Count(), 9);
    EXPECT_EQ(m_tab.FindLostUM(), -1);
    // Far numbers out of range make nothing; a slot linked to itself keeps its type.
    Slot(1, 15, 2)->m_LinkUM = 256;
    CSlot* self = Slot(1, 14, 2);
    self->m_LinkUM = 1;
    self->m_LinkSlot = 14;
    m_tab.SetLink();
    EXPECT_EQ(m_tab.Count(), 9);
    EXPECT_EQ(self->m_typSlot, 2);
    EXPECT_EQ(self->m_pLink, nullptr);
}

TEST_F(NetTest, RootSlotFollowsInputLinksAtMost100Steps) {
    // Module i's input slot 0 is linked to slot 1 of module i - 1; module 1 is local.
    CSlot* exit = Slot(1, 1, CSlot::tsLine);
    for (int i = 2; i <= 102; ++i) {
        CSlot* inp = Slot(i, 0, CSlot::tsLineInp);
        CSlot* out = i == 2 ? exit : Slot(i - 1, 1, CSlot::tsLine);
        inp->m_pLink = out;
        out->m_pLink = inp;
    }
    EXPECT_EQ(m_tab.RootSlot(2), exit);
    EXPECT_EQ(m_tab.RootSlot(100), exit);  // 99 steps
    EXPECT_EQ(m_tab.RootSlot(101), exit);  // 100 steps
    EXPECT_EQ(m_tab.RootSlot(102), nullptr);
    EXPECT_EQ(m_tab.RootSlot(1), nullptr);
    EXPECT_EQ(m_tab.RootSlot(200), nullptr);
    // A cycle that never reaches the local module.
    CSlot* a = Slot(200, 0, CSlot::tsLineInp);
    CSlot* b = Slot(201, 0, CSlot::tsLineInp);
    a->m_pLink = b;
    b->m_pLink = a;
    EXPECT_EQ(m_tab.RootSlot(200), nullptr);
}

TEST_F(NetTest, FindLostUMOnASplitNetwork) {
    CUMTab empty(&m_pult);
    EXPECT_EQ(empty.FindLostUM(), -1);
    for (int um : {1, 4, 5, 6}) Slot(um, 0);
    Slot(4, 1, CSlot::tsLine)->m_LinkUM = 5;  // 4 -> 5, apart from the local module
    Slot(1, 2, CSlot::tsEther);
    m_tab.FindBlok(1, 2)->m_TabLinkNet.Insert(6, 0, nullptr, nullptr);
    m_tab.SetLink();
    EXPECT_EQ(m_tab.FindLostUM(), 4);
    m_tab.FindBlok(1, 2)->m_TabLinkNet.Insert(4, 3, nullptr, nullptr);
    m_tab.SetLink();
    EXPECT_EQ(m_tab.FindLostUM(), -1);
    CPult noLocal(&m_disp, 77);
    m_tab.m_pPult = &noLocal;
    EXPECT_EQ(m_tab.FindLostUM(), -1);
}

TEST_F(NetTest, SystemKeyTextAndDerivation) {
    CKeySys key;
    EXPECT_TRUE(key.IsEmpty());
    const wchar_t* text = L"00112233445566778899AABBCCDDEEFF";
    ASSERT_TRUE(key.Set(text));
    EXPECT_EQ(key.GetString(), text);
    for (const wchar_t* bad :
         {L"00112233445566778899AABBCCDDEEF", L"00112233445566778899AABBCCDDEEFF0",
          L"00112233445566778899AABBCCDDEEFG"}) {
        EXPECT_FALSE(key.Set(bad)) << bad;
        EXPECT_EQ(key.GetString(), text);
    }
    EXPECT_TRUE(key.Set(L"00000000000000000000000000000000"));
    CKeySys def;
    def.SetDefault();
    EXPECT_EQ(key, def);
    EXPECT_FALSE(def.IsEmpty());

    // An empty phrase: both halves encipher zeros, so the second half XORs to zero.
    unsigned char zero[8] = {};
    CIdeaCtx(CPackV7::ForKeySYS).Encrypt(zero, zero, 1);
    key.Create(L"");
    EXPECT_EQ(Bytes(key.Get(), key.Get() + 8), Bytes(zero, zero + 8));
    EXPECT_EQ(Bytes(key.Get() + 8, key.Get() + 16), Bytes(8, 0));
    // Only the first 16 characters count.
    CKeySys a, b;
    a.Create(L"пароль-системы-1X");
    b.Create(L"пароль-системы-1Y");
    EXPECT_EQ(a, b);
    b.Create(L"пароль-системы-2");
    EXPECT_NE(a, b);
    EXPECT_EQ(a < b, memcmp(a.Get(), b.Get(), 16) < 0);
}

}  // namespace
