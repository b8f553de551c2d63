// The attribute helpers' read and write rules and the texts of ErrorXML.
#include "lib/Xml.h"

#include <string>
#include <vector>

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include "dblib/LoadRes.h"

using TERQCloud::CNodeB;

namespace {

class XmlTest : public testing::Test {
protected:
    void SetUp() override {
        if (g_StringLocaleENU.count(41076) == 0) {
            TERQLib_rc();
            TERQLibENU_rc();
        }
    }
    void TearDown() override { xmlFreeNode(m_node); }
    void Set(const char* attr, const char* value) {
        xmlSetProp(m_node, reinterpret_cast<const xmlChar*>(attr),
                   reinterpret_cast<const xmlChar*>(value));
    }
    // The attribute's text, or "<absent>".
    std::string Get(const char* attr) {
        xmlChar* v = xmlGetProp(m_node, reinterpret_cast<const xmlChar*>(attr));
        const std::string s = v ? reinterpret_cast<const char*>(v) : "<absent>";
        xmlFree(v);
        return s;
    }
    xmlNode* m_node = xmlNewNode(nullptr, reinterpret_cast<const xmlChar*>("E"));
};

// Tabs are not blanks here; numbers follow strtol in base 10, a Boolean is a non-zero number.
// The plain cases of each kind are read and written through the cloud model's attribute tests.
TEST_F(XmlTest, ReadersTrimAndFollowStrtol) {
    const struct {
        const char* text;
        const wchar_t* trimmed;
        int integer;
        bool boolean;
    } rows[] = {
        {"12abc", L"12abc", 12, true},
        {"   ", L"", 0, false},
        {"\t1\t", L"\t1\t", 1, true},
        {"Язык", L"\u042F\u0437\u044B\u043A", 0, false},
    };
    for (const auto& row : rows) {
        Set("N", row.text);
        EXPECT_EQ(CNodeB::XMLLoadString(m_node, "E", "N", true), row.trimmed) << row.text;
        EXPECT_EQ(CNodeB::XMLLoadInteger(m_node, "E", "N", 99), row.integer) << row.text;
        EXPECT_EQ(CNodeB::XMLLoadBool(m_node, "E", "N", true), row.boolean) << row.text;
    }
    EXPECT_EQ(CNodeB::XMLLoadString(nullptr, "E", "L", true), L"");
    EXPECT_EQ(CNodeB::XMLLoadInteger(m_node, "E", "absent", 99), 99);
    EXPECT_TRUE(CNodeB::XMLLoadBool(m_node, "E", "absent", true) &&
                !CNodeB::XMLLoadBool(m_node, "E", "absent", false));
    EXPECT_DOUBLE_EQ(CNodeB::XMLLoadDouble(m_node, "E", "absent", 1.5), 1.5);
    // a date-time needs all six numbers; written and read back through the narrow text
    Set("T", "05.03.2024 07:08:09");
    const DBTime t = CNodeB::XMLLoadDateTime(m_node, "E", "T");
    EXPECT_EQ(t.GetTime(), DBTime(2024, 3, 5, 7, 8, 9).GetTime());
    CNodeB::XMLUpdateDateTime(m_node, "E", "W", t);
    EXPECT_EQ(Get("W"), "05.03.2024 07:08:09 ");
    EXPECT_EQ(CNodeB::XMLLoadDateTime(m_node, "E", "W").GetTime(), t.GetTime());
    Set("T", "05.03.2024");
    EXPECT_TRUE(CNodeB::XMLLoadDateTime(m_node, "E", "T").IsEmpty() &&
                CNodeB::XMLLoadDateTime(m_node, "E", "x").IsEmpty());
}

// Addresses: IPv4 lowest byte first, high bytes unsigned; null forms are removed unless forced.
TEST_F(XmlTest, AddressesBothFamilies) {
    const int address = 192 | (168 << 8) | (0 << 16) | (1 << 24);
    CNodeB::XMLUpdateIP(m_node, "E", "IP", address, false);
    EXPECT_EQ(Get("IP"), "192.168.0.1");
    EXPECT_EQ(CNodeB::XMLLoadIP(m_node, "E", "IP", -1), address);
    CNodeB::XMLUpdateIP(m_node, "E", "IP", static_cast<int>(0xFFFEFDFCu), false);
    EXPECT_EQ(Get("IP"), "252.253.254.255");
    Set("IP", "1.2.3");
    EXPECT_EQ(
        CNodeB::XMLLoadIP(m_node, "E", "IP", 77) + CNodeB::XMLLoadIP(m_node, "E", "absent", 78),
        155);
    CNodeB::XMLUpdateIP(m_node, "E", "IP", 0, false);
    EXPECT_EQ(Get("IP"), "<absent>");
    CNodeB::XMLUpdateIP(m_node, "E", "IP", 0, true);
    EXPECT_EQ(Get("IP"), "0.0.0.0");
    in6_addr loopback{}, mappedZero{};
    inet_pton(AF_INET6, "::1", &loopback);
    inet_pton(AF_INET6, "::ffff:0.0.0.0", &mappedZero);
    CNodeB::XMLUpdateIPv6(m_node, "E", "V6", loopback);
    EXPECT_EQ(Get("V6"), "::1");
    const in6_addr back = CNodeB::XMLLoadIPv6(m_node, "E", "V6");
    EXPECT_EQ(0, memcmp(&back, &loopback, sizeof back));
    CNodeB::XMLUpdateIPv6(m_node, "E", "V6", mappedZero);
    EXPECT_EQ(Get("V6"), "<absent>");
    Set("V6", "not an address");
    EXPECT_TRUE(CNodeB::isNulIPv6(CNodeB::XMLLoadIPv6(m_node, "E", "V6")));
}

TEST_F(XmlTest, WritersRemoveEmptyValuesUnlessForced) {
    using W = void (*)(xmlNode*);
    const std::pair<W, const char*> rows[] = {
        {[](xmlNode* n) { CNodeB::XMLUpdateInteger(n, "E", "A", 0, false); }, "<absent>"},
        {[](xmlNode* n) { CNodeB::XMLUpdateInteger(n, "E", "A", 0, true); }, "0"},
        {[](xmlNode* n) { CNodeB::XMLUpdateDouble(n, "E", "A", 5e-10); }, "<absent>"},
        {[](xmlNode* n) { CNodeB::XMLUpdateDouble(n, "E", "A", 2e-9); }, "0.000000"},
        {[](xmlNode* n) { CNodeB::XMLUpdateBool(n, "E", "A", false, false); }, "<absent>"},
        {[](xmlNode* n) { CNodeB::XMLUpdateBool(n, "E", "A", false, true); }, "0"},
        {[](xmlNode*) { CNodeB::XMLUpdateInteger(nullptr, "E", "A", 0, false); },
         "old"},  // removal never throws
    };
    for (const auto& row : rows) {
        Set("A", "old");
        row.first(m_node);
        EXPECT_EQ(Get("A"), row.second);
    }
    EXPECT_THROW(CNodeB::XMLUpdateString(nullptr, "E", "A", L"x"), ErrorXML);
}

// The fixed words stay English under either table; only the resource text follows. The narrow
// text alone and the resource with element and parameter come from the configuration tests.
TEST_F(XmlTest, ErrorTextsOfEveryConstructor) {
    const struct {
        ErrorXML error;
        std::wstring text;
        int code;
    } rows[] = {
        {ErrorXML(L"a", 5, L"e"), L"a elements e", 5},
        {ErrorXML(L"a", 6, L"e", L"p"), L"a parameters p elements e", 6},
        {ErrorXML("a", "e"), L"a elements e", 0},
        {ErrorXML("a", static_cast<const char*>(nullptr)), L"a", 0},
        {ErrorXML("a", "e", "p"), L"a parameters p elements e", 0},
        {ErrorXML(41083, "X"), _S_(41083) + L" elements X", 0},
        {ErrorXML(41080, static_cast<const char*>(nullptr)), std::wstring(_S_(41080)), 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(std::wstring(row.error.m_Text), row.text);
        EXPECT_EQ(row.error.m_Code, row.code);
    }
}

}  // namespace
