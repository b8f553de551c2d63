// The attribute helpers' read and write rules and the texts of ErrorXML.
#include "lib/Xml.h"

#include <string>

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include "dblib/LoadRes.h"

using TERQCloud::CNodeB;

namespace {

class XmlTest : public testing::Test {
protected:
    void SetUp() override {
        m_node = xmlNewNode(nullptr, reinterpret_cast<const xmlChar*>("E"));
        g_StringENU = true;
        if (g_StringLocaleENU.count(41076) == 0) {
            TERQLib_rc();
            TERQLibENU_rc();
        }
    }
    void TearDown() override {
        xmlFreeNode(m_node);
        g_StringENU = false;
    }
    void Set(const char* attr, const char* value) {
        xmlSetProp(m_node, reinterpret_cast<const xmlChar*>(attr),
                   reinterpret_cast<const xmlChar*>(value));
    }
    // The attribute's text, or "<absent>".
    std::string Get(const char* attr) {
        xmlChar* v = xmlGetProp(m_node, reinterpret_cast<const xmlChar*>(attr));
        if (v == nullptr) return "<absent>";
        std::string s(reinterpret_cast<const char*>(v));
        xmlFree(v);
        return s;
    }
    xmlNode* m_node = nullptr;
};

TEST_F(XmlTest, StringReaderTrimsBlanksOnly) {
    Set("L", "  rus ");
    EXPECT_EQ(CNodeB::XMLLoadString(m_node, "E", "L", true), L"rus");
    EXPECT_EQ(CNodeB::XMLLoadString(m_node, "E", "L", false), L"  rus ");
    Set("T", "\trus\t");
    EXPECT_EQ(CNodeB::XMLLoadString(m_node, "E", "T", true), L"\trus\t");
    Set("B", "   ");
    EXPECT_EQ(CNodeB::XMLLoadString(m_node, "E", "B", true), L"");
    Set("C", "Язык");
    EXPECT_EQ(CNodeB::XMLLoadString(m_node, "E", "C", true), L"\u042F\u0437\u044B\u043A");
    EXPECT_EQ(CNodeB::XMLLoadString(m_node, "E", "missing", true), L"");
    EXPECT_EQ(CNodeB::XMLLoadString(nullptr, "E", "L", true), L"");
}

TEST_F(XmlTest, NumberReadersFollowStrtolAndDefaults) {
    const struct {
        const char* text;
        int integer;
        bool boolean;
    } rows[] = {
        {"42", 42, true}, {" -7", -7, true}, {"12abc", 12, true}, {"abc", 0, false},
        {"0", 0, false},  {"2", 2, true},    {"", 0, false},      {"+5", 5, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        Set("N", row.text);
        EXPECT_EQ(CNodeB::XMLLoadInteger(m_node, "E", "N", 99), row.integer);
        EXPECT_EQ(CNodeB::XMLLoadBool(m_node, "E", "N", true), row.boolean);
    }
    EXPECT_EQ(CNodeB::XMLLoadInteger(m_node, "E", "absent", 99), 99);
    EXPECT_TRUE(CNodeB::XMLLoadBool(m_node, "E", "absent", true));
    EXPECT_FALSE(CNodeB::XMLLoadBool(m_node, "E", "absent", false));
    Set("D", "2.25");
    EXPECT_DOUBLE_EQ(CNodeB::XMLLoadDouble(m_node, "E", "D", 1.0), 2.25);
    EXPECT_DOUBLE_EQ(CNodeB::XMLLoadDouble(m_node, "E", "absent", 1.5), 1.5);
}

TEST_F(XmlTest, DateTimeNeedsAllSixNumbers) {
    Set("T", "05.03.2024 07:08:09");
    const DBTime t = CNodeB::XMLLoadDateTime(m_node, "E", "T");
    EXPECT_EQ(t.Day(), 5);
    EXPECT_EQ(t.Mon(), 3);
    EXPECT_EQ(t.Year(), 2024);
    EXPECT_EQ(t.Hour(), 7);
    EXPECT_EQ(t.Min(), 8);
    EXPECT_EQ(t.Sec(), 9);
    Set("T", "05.03.2024");
    EXPECT_TRUE(CNodeB::XMLLoadDateTime(m_node, "E", "T").IsEmpty());
    EXPECT_TRUE(CNodeB::XMLLoadDateTime(m_node, "E", "absent").IsEmpty());
    // Written and read back through the narrow date-time text.
    CNodeB::XMLUpdateDateTime(m_node, "E", "W", t);
    EXPECT_EQ(Get("W"), "05.03.2024 07:08:09 ");
    EXPECT_EQ(CNodeB::XMLLoadDateTime(m_node, "E", "W").GetTime(), t.GetTime());
}

TEST_F(XmlTest, IPv4LowestByteFirst) {
    const int address = 192 | (168 << 8) | (0 << 16) | (1 << 24);
    CNodeB::XMLUpdateIP(m_node, "E", "IP", address, false);
    EXPECT_EQ(Get("IP"), "192.168.0.1");
    EXPECT_EQ(CNodeB::XMLLoadIP(m_node, "E", "IP", -1), address);
    // High bytes print unsigned.
    CNodeB::XMLUpdateIP(m_node, "E", "IP", static_cast<int>(0xFFFEFDFCu), false);
    EXPECT_EQ(Get("IP"), "252.253.254.255");
    Set("IP", "1.2.3");
    EXPECT_EQ(CNodeB::XMLLoadIP(m_node, "E", "IP", 77), 77);
    EXPECT_EQ(CNodeB::XMLLoadIP(m_node, "E", "absent", 78), 78);
    CNodeB::XMLUpdateIP(m_node, "E", "IP", 0, false);
    EXPECT_EQ(Get("IP"), "<absent>");
    CNodeB::XMLUpdateIP(m_node, "E", "IP", 0, true);
    EXPECT_EQ(Get("IP"), "0.0.0.0");
}

TEST_F(XmlTest, IPv6NullFormsAreRemoved) {
    in6_addr loopback{};
    inet_pton(AF_INET6, "::1", &loopback);
    CNodeB::XMLUpdateIPv6(m_node, "E", "V6", loopback);
    EXPECT_EQ(Get("V6"), "::1");
    const in6_addr back = CNodeB::XMLLoadIPv6(m_node, "E", "V6");
    EXPECT_EQ(0, memcmp(&back, &loopback, sizeof back));
    in6_addr mappedZero{};
    inet_pton(AF_INET6, "::ffff:0.0.0.0", &mappedZero);
    CNodeB::XMLUpdateIPv6(m_node, "E", "V6", mappedZero);
    EXPECT_EQ(Get("V6"), "<absent>");
    Set("V6", "not an address");
    const in6_addr bad = CNodeB::XMLLoadIPv6(m_node, "E", "V6");
    EXPECT_TRUE(CNodeB::isNulIPv6(bad));
}

TEST_F(XmlTest, WritersRemoveEmptyValuesUnlessForced) {
    const struct {
        const char* name;
        void (*write)(xmlNode*);
        const char* expected;
    } rows[] = {
        {"integer 0", [](xmlNode* n) { CNodeB::XMLUpdateInteger(n, "E", "A", 0, false); },
         "<absent>"},
        {"integer 0 forced", [](xmlNode* n) { CNodeB::XMLUpdateInteger(n, "E", "A", 0, true); },
         "0"},
        {"integer -12", [](xmlNode* n) { CNodeB::XMLUpdateInteger(n, "E", "A", -12, false); },
         "-12"},
        {"double 5e-10", [](xmlNode* n) { CNodeB::XMLUpdateDouble(n, "E", "A", 5e-10); },
         "<absent>"},
        {"double -5e-10", [](xmlNode* n) { CNodeB::XMLUpdateDouble(n, "E", "A", -5e-10); },
         "<absent>"},
        {"double 0.5", [](xmlNode* n) { CNodeB::XMLUpdateDouble(n, "E", "A", 0.5); }, "0.500000"},
        {"double 2e-9", [](xmlNode* n) { CNodeB::XMLUpdateDouble(n, "E", "A", 2e-9); }, "0.000000"},
        {"bool false", [](xmlNode* n) { CNodeB::XMLUpdateBool(n, "E", "A", false, false); },
         "<absent>"},
        {"bool false forced", [](xmlNode* n) { CNodeB::XMLUpdateBool(n, "E", "A", false, true); },
         "0"},
        {"bool true", [](xmlNode* n) { CNodeB::XMLUpdateBool(n, "E", "A", true, false); }, "1"},
        {"string empty", [](xmlNode* n) { CNodeB::XMLUpdateString(n, "E", "A", DBString()); },
         "<absent>"},
        {"string", [](xmlNode* n) { CNodeB::XMLUpdateString(n, "E", "A", L"\u00E9t\u00E9"); },
         "\xC3\xA9t\xC3\xA9"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Set("A", "old");
        row.write(m_node);
        EXPECT_EQ(Get("A"), row.expected);
    }
    // Removing an absent attribute is no error.
    EXPECT_NO_THROW(CNodeB::XMLUpdateInteger(m_node, "E", "never", 0, false));
}

TEST_F(XmlTest, WriterOnMissingElementThrowsAppendError) {
    try {
        CNodeB::XMLUpdateString(nullptr, "TERQClient", "Language", L"enu");
        FAIL() << "no exception";
    } catch (const ErrorXML& e) {
        EXPECT_EQ(e.m_Text, L"Error append parameters Language elements TERQClient");
        EXPECT_EQ(e.m_Code, 0);
    }
    // Removal never throws, even without an element.
    EXPECT_NO_THROW(CNodeB::XMLUpdateInteger(nullptr, "E", "A", 0, false));
}

TEST_F(XmlTest, ErrorTextsOfEveryConstructor) {
    const struct {
        const char* name;
        ErrorXML error;
        const wchar_t* text;
        int code;
    } rows[] = {
        {"wide a e", ErrorXML(L"a", 5, L"e"), L"a elements e", 5},
        {"wide a e p", ErrorXML(L"a", 6, L"e", L"p"), L"a parameters p elements e", 6},
        {"narrow a", ErrorXML("a"), L"a", 0},
        {"narrow a e", ErrorXML("a", "e"), L"a elements e", 0},
        {"narrow a null", ErrorXML("a", static_cast<const char*>(nullptr)), L"a", 0},
        {"narrow a e p", ErrorXML("a", "e", "p"), L"a parameters p elements e", 0},
        {"id", ErrorXML(41088), L"Error XMLDOMSave->save", 0},
        {"id e", ErrorXML(41083, "X"), L"Error loadXML elements X", 0},
        {"id null", ErrorXML(41080, static_cast<const char*>(nullptr)),
         L"Error create of XML parsers", 0},
        {"id e p", ErrorXML(41076, "TERQClient", "Language"),
         L"Error append parameters Language elements TERQClient", 0},
        {"narrow utf-8", ErrorXML("\xD0\xAF"), L"\u042F", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.error.m_Text, row.text);
        EXPECT_EQ(row.error.m_Code, row.code);
    }
}

TEST_F(XmlTest, ResourceTextsOfTheXmlErrors) {
    const struct {
        int id;
        const wchar_t* text;
    } rows[] = {
        {41076, L"Error append"},
        {41077, L"Error read"},
        {41078, L"Error create"},
        {41079, L"Error query of interface"},
        {41080, L"Error create of XML parsers"},
        {41081, L"Error appendChild"},
        {41082, L"Error createProcessingInstruction"},
        {41083, L"Error loadXML"},
        {41084, L"Error get_firstChild"},
        {41085, L"Error replaceChild"},
        {41086, L"Error get_nextSibling"},
        {41087, L"Error get_xml"},
        {41088, L"Error XMLDOMSave->save"},
        {41089, L"Error m_XMLDOM->load"},
        {41090, L"Error query of interface IXMLDOMNode by IXMLDOMDocument"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.id);
        EXPECT_EQ(ErrorXML(row.id).m_Text, row.text);
    }
    // The fixed words stay English under the Russian tables; only the resource text follows.
    g_StringENU = false;
    const ErrorXML rus(41076, "E", "P");
    const DBString tail = L" parameters P elements E";
    ASSERT_GT(rus.m_Text.size(), tail.size());
    EXPECT_EQ(DBString(rus.m_Text.substr(rus.m_Text.size() - tail.size())), tail);
    EXPECT_EQ(DBString(rus.m_Text.substr(0, rus.m_Text.size() - tail.size())), _S_(41076));
}

}  // namespace
