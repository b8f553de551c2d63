// A host root that records its reports, and document helpers shared by the cloud model's tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <libxml/parser.h>

#include "dblib/CloudStr.h"
#include "dblib/LoadRes.h"

// What every written document starts with.
inline const std::string kDecl = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

class CTestCloud : public TERQCloud::CCloudB {
public:
    // The model always reports with code 0.
    void ReportMsg(const DBString& text, int code) override {
        EXPECT_EQ(code, 0);
        m_Msgs.push_back(text);
    }
    void ReportErr(const DBString&, int) override {}

    // The whole document.
    std::string Text() {
        std::string out;
        XMLStr(out);
        return out;
    }

    std::vector<DBString> m_Msgs;
};

// English texts, a fresh root per test.
class CloudTest : public testing::Test {
public:
    static void SetUpTestSuite() {
        if (g_StringLocaleENU.count(42000) == 0) {
            TERQLib_rc();
            TERQDbLib_rc();
            TERQLibENU_rc();
            TERQDbLibENU_rc();
        }
        g_StringENU = true;
    }

    // Loads the text into a fresh root: "<TERQCLOUD>" body "</TERQCLOUD>", or what the root
    // writes.
    CTestCloud& Load(const std::string& body) {
        return LoadText("<TERQCLOUD>" + body + "</TERQCLOUD>");
    }
    CTestCloud& Reload() { return LoadText(m_cloud->Text()); }
    CTestCloud& LoadText(const std::string& text) {
        m_cloud = std::make_unique<CTestCloud>();
        m_cloud->XMLLoadStr(text.c_str());
        return *m_cloud;
    }
    // One console, dispatch point, street, home and lift made by the factories, not yet written.
    CTestCloud& Build() {
        m_cloud = std::make_unique<CTestCloud>();
        m_cloud->m_Child.push_back(m_cloud->CreateTeam());
        Team()->m_Child.push_back(Team()->CreatePunct());
        Punct()->m_Child.push_back(Punct()->CreateStreet());
        auto* street = static_cast<TERQCloud::CStreetB*>(Punct()->m_Child[0]);
        street->m_Child.push_back(street->CreateHome());
        auto* home = static_cast<TERQCloud::CHomeB*>(street->m_Child[0]);
        home->m_Child.push_back(home->CreateLift());
        return *m_cloud;
    }
    TERQCloud::CTeamB* Team(size_t i = 0) {
        return static_cast<TERQCloud::CTeamB*>(m_cloud->m_Child.at(i));
    }
    TERQCloud::CPunctB* Punct(size_t i = 0) {
        return static_cast<TERQCloud::CPunctB*>(Team()->m_Child.at(i));
    }
    TERQCloud::CLiftB* Lift(size_t home = 0, size_t i = 0) {
        return static_cast<TERQCloud::CLiftB*>(
            Punct()->m_Child.at(0)->m_Child.at(home)->m_Child.at(i));
    }

    // The attribute's text, or "<absent>".
    static std::string Attr(xmlNode* node, const char* name) {
        xmlChar* v =
            node == nullptr ? nullptr : xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
        if (v == nullptr) return "<absent>";
        std::string s(reinterpret_cast<const char*>(v));
        xmlFree(v);
        return s;
    }

    std::unique_ptr<CTestCloud> m_cloud;
};

// A one-lift structure of the given lift body, in the given street and home; teamBody follows the
// dispatch point in the console.
inline std::string OneLift(const std::string& lift,
                           const std::string& liftBody = "",
                           const std::string& teamBody = "") {
    return "<PULT Name=\"P\"><DISP Name=\"D\"><STREET Name=\"S\"><HOME Name=\"H\"><LIFT " + lift +
           ">" + liftBody + "</LIFT></HOME></STREET></DISP>" + teamBody + "</PULT>";
}
