// The device network: modules, slots, devices and links; their XML, type classes, routing of
// messages and link rebuild.
#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dblib/LoadRes.h"
#include "lib/Idea.h"
#include "lib/KeySys.h"
#include "lib/Link.h"
#include "lib/PackV7.h"
#include "lib/SostDZ.h"
#include "lib/SostSens.h"
#include "lib/Um.h"
#include "lib/Xml.h"

namespace {

using Bytes = std::vector<unsigned char>;
using Ints = std::vector<int>;

// Records what the layer hands over; routes by a table of module -> slot.
class Recorder : public CDisp {
public:
    void PutLog(const wchar_t* text, bool) override { logs.emplace_back(text); }
    void SendPack(CPult* p, CPackMes& pack) override {
        pult = p;
        sent.emplace_back(pack.GetData(), pack.GetData() + pack.GetLen());
        prior.push_back(pack.GetPrior());
    }
    void PutNoIdent(CPult* p, CPackMes& pack) override {
        EXPECT_NE(p, nullptr);
        noIdent.emplace_back(pack.GetData(), pack.GetData() + pack.GetLen());
        pack.Clear();
    }
    CSlot* FindSlot(CPult* p, int um) override {
        EXPECT_NE(p, nullptr);
        ++asks;
        const auto it = route.find(um);
        return it == route.end() ? nullptr : it->second;
    }

    std::vector<std::wstring> logs;
    CPult* pult = nullptr;
    std::vector<Bytes> sent, noIdent;
    Ints prior;
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
        for (xmlDoc* doc : m_docs) xmlFreeDoc(doc);
    }
    xmlNode* Keep(xmlDoc* doc) {
        m_docs.push_back(doc);
        return xmlDocGetRootElement(doc);
    }
    xmlNode* Parse(const char* text) {
        return Keep(xmlReadMemory(text, static_cast<int>(strlen(text)), nullptr, nullptr, 0));
    }
    xmlNode* NewRoot(const char* name) {
        xmlDoc* doc = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
        xmlDocSetRootElement(doc, xmlNewNode(nullptr, reinterpret_cast<const xmlChar*>(name)));
        return Keep(doc);
    }
    std::string Dump(size_t doc) const {
        xmlChar* mem = nullptr;
        int size = 0;
        xmlDocDumpMemory(m_docs[doc], &mem, &size);
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
    std::vector<xmlDoc*> m_docs;
};

std::string Attr(xmlNode* node, const char* name) {
    xmlChar* v = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    std::string s(v == nullptr ? "(none)" : reinterpret_cast<char*>(v));
    xmlFree(v);
    return s;
}

// A message of 19 record bytes: 20 packet bytes with its length byte.
CMes Mes19(int um, int slot) {
    const unsigned char b[13] = {};
    return CMes(um, slot, 255, 15, CMes::mtService, b, 13);
}

// A host parameter that keeps one attribute of its owner's element.
class HostParam : public CParam {
public:
    void XMLUpdate(xmlNode* node) override {
        TERQCloud::CNodeB::XMLUpdateInteger(node, "E", "Host", value, true);
    }
    void XMLLoad(xmlNode* node) override {
        value = TERQCloud::CNodeB::XMLLoadInteger(node, "E", "Host", -1);
    }
    int value = 0;
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

// Slot 1:0 and its device 5, the links of slot 1:4 and module 1 come twice; attributes left
// out read as 0.
const char kDoc[] = R"(<Net>
<Um Number="1" Note="local">
  <Slot Number="0" TypSlot="2" Program="0" LinkUM="3" LinkSlot="5" Host="42">
    <TabDev><Dev Addr="5" Host="7"/><Dev Addr="5"/><Dev Addr="1"/><Dev/></TabDev></Slot>
  <Slot Number="0" TypSlot="1"/>
  <Slot Number="1" TypSlot="18" LinkUM="3"/>
  <Slot Number="4" TypSlot="5" Program="1">
    <TabLinkNet><LinkNet UM="2" Slot="1"/><LinkNet UM="2" Slot="1"/></TabLinkNet>
    <TabLinkCLL VolRec="3">
      <LinkCLL Number="1" UM="2" Slot="1" IP="10.0.0.9" Mask="255.255.255.0" DataPort="5000"
        Note="канал"/>
      <LinkCLL Number="1" UM="7" Slot="2"/><LinkCLL/></TabLinkCLL></Slot>
</Um>
<Um Number="2"><Slot TypSlot="6"/></Um>
<Um Number="1"/>
</Net>)";

// Loading leaves the document as it was; the model written to a fresh document reads back the
// same through the host's factories.
TEST_F(NetTest, LoadReportsDuplicatesOnceAndTheModelRoundTrips) {
    HostTab tab(&m_pult), back(&m_pult);
    xmlNode* root = Parse(kDoc);
    const std::string before = Dump(0);
    tab.XMLLoad(root);
    EXPECT_EQ(Dump(0), before);
    tab.XMLAdd(NewRoot("Net"));
    back.XMLLoad(xmlDocGetRootElement(m_docs[1]));
    EXPECT_EQ(m_disp.logs, (std::vector<std::wstring>{
                               L"Device 5  already exist in slot 1:0:5",
                               L"Slot 0 already exist in UM 1:0",
                               L"External link (1:4)->(2:1) already exist in structure",
                               L"Internal link 1 (1:4)->(7:2) already exist in structure",
                               L"UM 1 already exist in structure",
                           }));
    ASSERT_EQ(back.Count(), 2);
    CSlot* line = back.FindBlok(1, 0);
    CSlot* ether = back.FindBlok(1, 4);
    CDev* dev = back.FindDev(1, 0, 5);
    ASSERT_TRUE(line && ether && dev && back.FindBlok(1, 1) && back.FindBlok(2, 0) &&
                back.FindDev(1, 0, 0));
    const CLinkCLLTab& cll = ether->m_TabLinkCLL;
    const CLinkCLL* one = cll.Find(1);
    ASSERT_TRUE(one != nullptr && cll.Find(0) != nullptr);
    EXPECT_EQ((Ints{line->m_typSlot, line->m_LinkUM, line->m_LinkSlot, line->m_Program,
                    HostValue(line->m_pParam), line->m_TabDev.Count(), HostValue(dev->m_pParam),
                    back.FindBlok(1, 1)->m_LinkSlot, ether->m_Program, ether->m_TabLinkNet.Count(),
                    cll.Count(), cll.m_VolRec, one->m_UM[0], one->m_Slot[0],
                    one->m_DataPort.GetValue(), cll.Find(0)->m_UM[0]}),
              (Ints{2, 3, 5, 0, 42, 3, 7, 0, 1, 1, 2, 3, 2, 1, 5000, 0}));
    EXPECT_EQ(dev->m_pSlot, line);
    EXPECT_EQ((std::vector<unsigned>{one->m_IP.GetValueW(), one->m_Mask.GetValue()}),
              (std::vector<unsigned>{0x0A000009u, 0x00FFFFFFu}));
    EXPECT_EQ(one->m_Note, L"канал");
    EXPECT_EQ(back.FindUM(1)->m_Note, L"local");

    // Rebuilding the links makes module 3 with slot 5, in the model and in the document; only
    // the program slot gets its address.
    back.SetLink();
    EXPECT_NE(Dump(1).find(R"(<Um Number="3"><Slot Number="5" TypSlot="3" Program="0")"),
              std::string::npos);
    EXPECT_EQ((Ints{ether->m_Pack.GetData()[0], line->m_Pack.GetData()[0]}), (Ints{0x34, 0}));
    // Deleted devices, device tables and slots leave the document; links to a deleted slot are
    // cut.
    EXPECT_TRUE(line->m_TabDev.Delete(5));
    EXPECT_FALSE(line->m_TabDev.Delete(5));
    EXPECT_EQ(Dump(1).find("Addr=\"5\""), std::string::npos);
    line->m_TabDev.XMLRemove();
    EXPECT_EQ(xmlChildElementCount(line->m_pNode), 0u);
    EXPECT_TRUE(back.FindUM(2)->m_TabSlot.Delete(1));
    EXPECT_EQ(ether->m_TabLinkNet.FindLink(2, 1)->m_pSlot, nullptr);
    EXPECT_EQ(Dump(1).find(R"(<Slot Number="1" TypSlot="6")"), std::string::npos);
    // A renamed module is renamed in the document; a removed one leaves it.
    EXPECT_TRUE(back.RenameUM(2, 9));
    EXPECT_NE(Dump(1).find(R"(<Um Number="9")"), std::string::npos);
    back.FindUM(9)->XMLRemove();
    EXPECT_EQ(Dump(1).find(R"(<Um Number="9")"), std::string::npos);
}

TEST_F(NetTest, SlotAndDeviceClassesAtTheirBoundaries) {
    const struct {
        bool (*is)(int);
        std::set<int> yes;
    } classes[] = {
        {CSlot::IsLine, {2, 18}},
        {CSlot::IsEther, {5, 7, 9, 12, 14, 16}},
        {CSlot::IsInpLink, {3, 6, 8, 10, 13, 15, 17, 19}},
        {CSlot::IsNewGGS, {8, 10, 13, 15, 17}},
        {CSlot::CanProgramm, {1, 12, 13}},
        {CDev::IsV6, {11, 12, 14}},
        {CDev::IsV7, {14}},
        {CDev::IsPro, {12, 14}},
        {CDev::IsIT, {16, 18, 19}},
    };
    CSlot slot;
    CDev dev;
    for (int t = -1; t <= 34; ++t) {
        SCOPED_TRACE(t);
        for (const auto& c : classes) EXPECT_EQ(c.is(t), c.yes.count(t) == 1) << &c - classes;
        EXPECT_EQ(CSlot::IsDevice(t), t != 4);
        EXPECT_TRUE(CDev::IsKnovExt(t, true));
        EXPECT_EQ(CDev::IsKnovExt(t, false), t < 7 || t > 10);
        slot.m_typBus = t;
        EXPECT_EQ(slot.IsCLB(), t == 0 || t == 1 || (t >= 3 && t <= 8));
        dev.m_ModeExt = t;
        EXPECT_EQ(dev.IsExtended(), t == 1 || t == 2);
    }
    EXPECT_FALSE(slot.IsProgram());
    slot.m_typSlot2 = 10;
    EXPECT_TRUE(slot.IsProgram());
    for (int code : {-1, 34})  // outside the table: not defined
        EXPECT_EQ(CDev::nameTypDev(code), CDev::nameTypDev(0)) << code;
    EXPECT_EQ(CSlot::nameTypBus(7), CSlot::nameTypBus(0));
    EXPECT_NE(CSlot::nameTypBus(6), CSlot::nameTypBus(0));
}

TEST_F(NetTest, ServingSlotRule) {
    CSlot* local = Slot(1, 0);
    CSlot* far = Slot(5, 2);
    const CMes mes = Mes19(5, 2);
    auto packet = [](CSlot* s) { return Bytes(s->m_Pack.GetData(), s->m_Pack.GetData() + 41); };

    // A local slot serves itself without asking; a routing console sends a far module's
    // messages through the slot the dispatcher names.
    m_disp.route[5] = local;
    EXPECT_EQ(
        (Ints{local->AddMes(4, mes), far->AddMes(4, mes), local->m_Pack.GetLen(), m_disp.asks}),
        (Ints{1, 1, 41, 1}));
    EXPECT_TRUE(far->m_Pack.IsEmpty());
    // No slot named, or a dispatcher that routes in a circle: nothing happens, nothing is lost.
    const Bytes kept = packet(local);
    for (CSlot* named : {static_cast<CSlot*>(nullptr), far}) {
        m_disp.route[5] = named;
        EXPECT_EQ(far->AddMes(4, mes), 0);
        far->Put();
        far->SetPrior(9);
        EXPECT_EQ(packet(local), kept);
        EXPECT_TRUE(far->m_Pack.IsEmpty());
        EXPECT_TRUE(m_disp.sent.empty());
    }
    // A console that does not route lets every slot serve itself.
    CPult plain(&m_disp, 1, false);
    CUMTab tab(&plain);
    const int asks = m_disp.asks;
    EXPECT_EQ(tab.FindBlokIns(5, 2)->AddMes(4, mes), 1);
    EXPECT_EQ((Ints{tab.FindBlok(5, 2)->m_Pack.GetLen(), m_disp.asks}), (Ints{21, asks}));
    // A slot without console or device without slot: nothing.
    EXPECT_EQ(CSlot().AddMes(4, mes), 0);
    EXPECT_EQ(CDev(3).AddMes(4, CMes::mtService, CMes::askMain, nullptr, 0), 0);
}

TEST_F(NetTest, AddMesFlushesAFullPacketAndGoesOnInAFreshOne) {
    CSlot* slot = Slot(1, 0);
    slot->SetAddr();
    EXPECT_EQ(slot->m_Pack.GetData()[0], 0x30);  // origin 3, destination slot 0
    for (int i = 0; i < 3; ++i) ASSERT_EQ(slot->AddMes(7, Mes19(1, 0)), 1);
    ASSERT_EQ(m_disp.sent.size(), 1u);
    EXPECT_EQ(m_disp.pult, &m_pult);
    // first packet: 41 bytes, first length byte 20, priority 7; the next one holds the third
    EXPECT_EQ((Ints{static_cast<int>(m_disp.sent[0].size()), m_disp.sent[0][1], m_disp.prior[0],
                    slot->m_Pack.GetLen(), slot->m_Pack.GetPrior()}),
              (Ints{41, 20, 7, 21, 7}));
    slot->Put();
    slot->Put();  // an empty packet is not sent
    ASSERT_EQ(m_disp.sent.size(), 2u);
    EXPECT_EQ(m_disp.sent[1].size(), 21u);
    EXPECT_TRUE(slot->m_Pack.IsEmpty());
    // The device forms go through the slot with the device address.
    CDev* dev = new CDev(9);
    ASSERT_TRUE(slot->m_TabDev.Insert(dev));
    EXPECT_EQ(dev->HardBoot(2), 1);
    CMes got;
    slot->m_Pack.BegGet();
    ASSERT_EQ(slot->m_Pack.GetMes(got), 1);
    int addr = 0, ext = 0;
    CMes::GetAdr(got.GetData() + 6, addr, ext);
    EXPECT_EQ((Ints{addr, got.GetDestUM(), got.GetTypMes(), got.GetLen(), got[2]}),
              (Ints{9, 1, CMes::mtService, 9, 1}));  // one byte: the restart code
    // Without identifier: handed to PutNoIdent.
    for (int i = 0; i < 3; ++i) ASSERT_EQ(slot->AddMesNoIdent(1, Mes19(1, 0)), 1);
    EXPECT_EQ(m_disp.noIdent.size(), 1u);
    EXPECT_EQ(m_disp.sent.size(), 2u);
}

// A state message counts; only a new state of the device's own address replaces the current
// one. Lost and cleared devices start again from an empty state.
TEST_F(NetTest, DeviceStateVersionsAndClearing) {
    CDev* dev = new CDev(5, 14);
    ASSERT_TRUE(Slot(1, 0)->m_TabDev.Insert(dev));
    const unsigned char units[6] = {0x01, 0, 0, 0, 0x00, 0x10};  // state bit 0, no information
    const CMes state(1, 0, 255, 15, 5, CMes::mtSostLift, CMes::askLiftState, units, 6);
    const CMes other(1, 0, 255, 15, 6, CMes::mtSostLift, CMes::askLiftState, units, 6);
    EXPECT_EQ(
        (Ints{dev->SetParDev(other), dev->SetParDev(state), dev->SetParDev(state), dev->m_CntMes}),
        (Ints{0, 1, 0, 2}));
    EXPECT_TRUE(dev->m_Sost == state.GetSost() && !(state.GetSost() == CSostDev()));
    auto others = [dev](bool set) {  // the lift-unit and sensor states
        if (set) dev->m_SostDZ = 5u, dev->m_SostSens.setBit(0);
        return dev->m_SostDZ == CSostDZ() && dev->m_SostSens[0] == 0;
    };
    others(true);
    dev->ClearForLost();
    CSostDev lost;
    lost.setBit(CSostDev::bitNoLink);
    EXPECT_TRUE(dev->m_Sost == lost && dev->m_SostOld == state.GetSost() && others(false));
    EXPECT_EQ(dev->m_CntLost, 1);
    others(true);
    dev->Clear();
    EXPECT_TRUE(dev->m_Sost == CSostDev() && dev->m_SostOld == CSostDev() && others(false));
    EXPECT_EQ((Ints{dev->m_CntMes, dev->m_CntLost, dev->GetVers(), CDev(1, 12).GetVers(),
                    CDev(1, 1).GetVers(), CDev().m_Addr}),
              (Ints{0, 0, 7, 6, 0, 0}));
    // The floor comes from a lift state long enough to carry it.
    unsigned char lift[14] = {};
    lift[6] = 40;  // data 14
    int floor = -1;
    EXPECT_EQ(
        (Ints{CDev::GetFloor(state, floor), floor,
              CDev::GetFloor(CMes(1, 0, 255, 15, 5, CMes::mtSostLift, CMes::askLiftState, lift, 14),
                             floor),
              floor}),
        (Ints{0, -1, 1, 40}));
}

TEST_F(NetTest, NextIdentCyclesOneTo63) {
    CSlot slot;
    for (int i = 1; i <= 63; ++i) ASSERT_EQ(slot.NextIdent(), i);
    EXPECT_EQ(slot.NextIdent(), 1);
}

TEST_F(NetTest, SetLinkMakesFarEndsWithInputTypesAndPartnersBothWays) {
    const int types[] = {2, 18, 5, 7, 9, 12, 14, 16};  // the far end gets type + 1
    // Type i links slot i of module 1 to slot 2 of module 10 + i.
    for (int i = 0; i < 8; ++i) {
        CSlot* near = Slot(1, i, types[i]);
        near->m_LinkUM = 10 + i;
        near->m_LinkSlot = 2;
        if (CSlot::IsEther(types[i])) near->m_TabLinkNet.Insert(10 + i, 2, nullptr, nullptr);
    }
    m_tab.SetLink();
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(types[i]);
        CSlot* near = m_tab.FindBlok(1, i);
        CSlot* far = m_tab.FindBlok(10 + i, 2);
        ASSERT_NE(far, nullptr);
        EXPECT_EQ(far->m_typSlot, types[i] + 1);
        EXPECT_EQ(far->m_pLink, near);
        EXPECT_EQ(CSlot::IsEther(types[i]) ? near->m_TabLinkNet.FindLink(10 + i, 2)->m_pSlot
                                           : near->m_pLink,
                  far);
    }
    EXPECT_EQ(m_tab.Count(), 9);
    EXPECT_EQ(m_tab.FindLostUM(), -1);
    // Far numbers out of range make nothing; a slot linked to itself keeps its type.
    Slot(1, 15, 2)->m_LinkUM = 256;
    CSlot* self = Slot(1, 14, 2);
    self->m_LinkUM = 1;
    self->m_LinkSlot = 14;
    m_tab.SetLink();
    EXPECT_EQ((Ints{m_tab.Count(), self->m_typSlot}), (Ints{9, 2}));
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
    // 1, 99 and 100 steps; 101 steps; the local module; no module
    for (int um : {2, 100, 101}) EXPECT_EQ(m_tab.RootSlot(um), exit) << um;
    for (int um : {102, 1, 200}) EXPECT_EQ(m_tab.RootSlot(um), nullptr) << um;
    // A cycle that never reaches the local module.
    CSlot* a = Slot(200, 0, CSlot::tsLineInp);
    CSlot* b = Slot(201, 0, CSlot::tsLineInp);
    a->m_pLink = b;
    b->m_pLink = a;
    EXPECT_EQ(m_tab.RootSlot(200), nullptr);
}

TEST_F(NetTest, FindLostUMOnASplitNetwork) {
    EXPECT_EQ(CUMTab(&m_pult).FindLostUM(), -1);
    for (int um : {1, 4, 5, 6}) Slot(um, 0);
    Slot(4, 1, CSlot::tsLine)->m_LinkUM = 5;  // 4 -> 5, apart from the local module
    CLinkNetTab& links = Slot(1, 2, CSlot::tsEther)->m_TabLinkNet;
    links.Insert(6, 0, nullptr, nullptr);
    m_tab.SetLink();
    EXPECT_EQ(m_tab.FindLostUM(), 4);
    links.Insert(4, 3, nullptr, nullptr);
    m_tab.SetLink();
    EXPECT_EQ(m_tab.FindLostUM(), -1);
    CPult noLocal(&m_disp, 77);
    m_tab.m_pPult = &noLocal;
    EXPECT_EQ(m_tab.FindLostUM(), -1);
}

TEST_F(NetTest, SystemKeyTextAndDerivation) {
    CKeySys key, def;
    EXPECT_TRUE(key.IsEmpty());
    const wchar_t* text = L"00112233445566778899AABBCCDDEEFF";
    ASSERT_TRUE(key.Set(text));
    for (const wchar_t* bad :
         {L"00112233445566778899AABBCCDDEEF", L"00112233445566778899AABBCCDDEEFF0",
          L"00112233445566778899AABBCCDDEEFG"})
        EXPECT_FALSE(key.Set(bad)) << bad;
    EXPECT_EQ(key.GetString(), text);
    EXPECT_TRUE(key.Set(L"00000000000000000000000000000000"));
    def.SetDefault();
    EXPECT_TRUE(key == def && !def.IsEmpty());

    // An empty phrase: both halves encipher zeros, so the second half XORs to zero.
    Bytes zero(16, 0);
    CIdeaCtx(CPackV7::ForKeySYS).Encrypt(zero.data(), zero.data(), 1);
    std::fill(zero.begin() + 8, zero.end(), 0);
    key.Create(L"");
    EXPECT_EQ(Bytes(key.Get(), key.Get() + 16), zero);
    // Only the first 16 characters count.
    CKeySys a, b;
    a.Create(L"пароль-системы-1X");
    b.Create(L"пароль-системы-1Y");
    EXPECT_EQ(a, b);
    b.Create(L"пароль-системы-2");
    EXPECT_NE(a, b);
    EXPECT_EQ(a < b, memcmp(a.Get(), b.Get(), 16) < 0);
}

TEST(CIpAddrTest, TextFormsAndTests) {
    CIpAddr ip;
    ASSERT_EQ(ip.SetString("192.168.0.1"), 1);
    EXPECT_EQ((std::vector<unsigned>{ip.GetValue(), ip.GetValueW()}),
              (std::vector<unsigned>{0x0100A8C0u, 0xC0A80001u}));
    EXPECT_EQ(ip.GetString(), L"192.168.0.1");
    EXPECT_TRUE(CIpAddr::TestModifyIP(ip.GetValueW(), 0, 10));
    EXPECT_FALSE(CIpAddr::TestModifyIP(ip.GetValueW(), 0, 192));
    EXPECT_FALSE(CIpAddr::TestModifyIP(ip.GetValueW(), 3, 1));
    for (const char* bad : {"1.2.3", "1.2.3.256", "1.2.3.4.5", "1..3.4", "", "a.b.c.d"}) {
        ip.SetValue(0x01020304);
        EXPECT_EQ(ip.SetString(bad), 0) << bad;
        EXPECT_EQ(ip.GetValue(), 0u) << bad;
    }
    const struct {
        const char* text;
        bool valid, nul;
    } rows[] = {
        {"0.0.0.0", false, true},     {"255.255.255.255", false, true}, {"1.0.0.254", true, false},
        {"192.168.9.1", true, false}, {"255.1.1.1", false, false},      {"10.0.0.0", false, false},
    };
    for (const auto& r : rows) {
        ASSERT_EQ(ip.SetString(r.text), 1) << r.text;
        EXPECT_EQ((Ints{ip.IsValid(), ip.IsNul()}), (Ints{r.valid, r.nul})) << r.text;
    }
    CMacAddr mac;  // twelve hex digits, or no change
    ASSERT_EQ(mac.SetString("00a0Bc0D0e1F"), 1);
    for (const char* bad : {"00A0BC0D0E1", "00A0BC0D0E1G", "00A0BC0D0E1F0", "00:A0:BC:0D"})
        EXPECT_EQ(mac.SetString(bad), 0) << bad;
    EXPECT_EQ(mac.GetString(), L"00A0BC0D0E1F");
}

TEST_F(NetTest, ExternalLinkInsertRefusalsAndXml) {
    CLinkNetTab& tab = Slot(1, 4, CSlot::tsEther)->m_TabLinkNet;
    tab.XMLAdd(NewRoot("Slot"));
    CSlot far1, far2;
    // same module and slot, same far slot; a second null slot is no duplicate
    EXPECT_EQ((Ints{tab.Insert(3, 1, &far1, nullptr), tab.Insert(3, 1, nullptr, nullptr),
                    tab.Insert(3, 2, &far1, nullptr), tab.Insert(2, 7, nullptr, nullptr),
                    tab.Insert(2, 8, nullptr, nullptr), tab.Insert(1, 0, &far2, new CParam)}),
              (Ints{1, 0, 0, 1, 1, 1}));
    ASSERT_EQ(tab.Count(), 4);
    EXPECT_EQ(tab.FindLink(&far1), tab.FindLink(3, 1));
    EXPECT_EQ(tab.FindLink(nullptr), nullptr);
    tab.ReOrder();
    EXPECT_EQ((Ints{tab.m_List[0]->m_UM, tab.m_List[3]->m_UM}), (Ints{1, 3}));

    // The elements came with the inserts, in insert order.
    xmlNode* first = tab.m_pNode->children;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Attr(first, "UM") + ":" + Attr(first, "Slot"), "3:1");
    EXPECT_EQ(xmlChildElementCount(tab.m_pNode), 4u);
}

TEST_F(NetTest, InternalLinkTableOperations) {
    CLinkCLLTab& tab = Slot(1, 4, CSlot::tsEther)->m_TabLinkCLL;
    EXPECT_TRUE(tab.GetItem(17) == nullptr && tab.GetItem(-1) == nullptr);
    CLinkCLL* three = tab.GetItem(3);
    ASSERT_NE(three, nullptr);
    EXPECT_EQ(tab.GetItem(3), three);
    EXPECT_EQ((Ints{three->m_UM[0], three->m_Slot[0], three->m_Chan}), (Ints{255, 0, 255}));

    tab.GetItem(16)->m_IPDop2.SetString("10.1.2.3");
    tab.GetItem(0)->m_IP.SetString("10.1.2.3");
    EXPECT_EQ(tab.FindIP(tab.Find(0)->m_IP.GetValue()), tab.Find(16));  // the list order decides
    tab.Find(0)->m_IP.SetValue(0);
    EXPECT_TRUE(tab.FindIP(0) == nullptr && tab.FindIP(0xFFFFFFFFu) == nullptr);
    three->m_UM[0] = 7;
    three->m_Slot[0] = 2;
    EXPECT_TRUE(tab.Find(7, 2) == three && tab.FindUM(7) == three && tab.Find(7, 3) == nullptr);

    // ReNumber over 3, 16, 0 in list order, bound to the document: 1, 2, 0.
    tab.XMLAdd(NewRoot("Slot"));
    tab.ReNumber();
    EXPECT_EQ((Ints{three->m_Number, tab.m_List[1]->m_Number, tab.m_List[2]->m_Number,
                    three->m_Changed, tab.m_List[2]->m_Changed}),
              (Ints{1, 2, 0, 1, 0}));
    EXPECT_EQ(Attr(three->m_pNode, "Number"), "1");
    EXPECT_EQ(Attr(tab.m_List[1]->m_pNode, "IPDop2"), "10.1.2.3");
    EXPECT_TRUE(tab.Delete(2));
    EXPECT_FALSE(tab.Delete(2));
    EXPECT_EQ(xmlChildElementCount(tab.m_pNode), 2u);
}

}  // namespace
