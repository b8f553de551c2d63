// The configuration document: load, save, failures, preservation of unknown content, and a save
// that never leaves a broken file.
#include "clientcfg/ClientCFG.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/xmlsave.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "dblib/LoadRes.h"
#include "lib/Xml.h"

namespace fs = std::filesystem;

namespace {

void Quiet(void*, const char*, ...) {}

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class ClientCFGTest : public testing::Test {
protected:
    void SetUp() override {
        xmlSetGenericErrorFunc(nullptr, Quiet);
        char pattern[] = "/tmp/terq-cfg-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_home = pattern;
        m_oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
        setenv("HOME", m_home.c_str(), 1);
        fs::create_directories(m_home + "/TERQ/etc");
        g_StringENU = true;
        if (g_StringLocaleENU.count(41076) == 0) {
            TERQLib_rc();
            TERQLibENU_rc();
        }
    }
    void TearDown() override {
        setenv("HOME", m_oldHome.c_str(), 1);
        g_StringENU = false;
        std::error_code ec;
        fs::remove_all(m_home, ec);
    }
    std::string File() const { return m_home + "/TERQ/etc/TERQClient.xml"; }
    void Write(const std::string& text) const { std::ofstream(File(), std::ios::binary) << text; }
    // The files in the configuration folder.
    std::size_t EntriesInEtc() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(m_home + "/TERQ/etc"), fs::directory_iterator()));
    }

    std::string m_home;
    std::string m_oldHome;
};

TEST_F(ClientCFGTest, FileNameFollowsHome) {
    EXPECT_EQ(CClientCFG::FileName(), File());
    unsetenv("HOME");
    EXPECT_FALSE(CClientCFG::HomeDir().empty());
    EXPECT_NE(CClientCFG::HomeDir(), m_home);
}

TEST_F(ClientCFGTest, MissingFileLoadsRussianAndSavesRus) {
    CClientCFG cfg;
    cfg.XMLLoadFile();
    EXPECT_EQ(cfg.m_Language, 0);
    ASSERT_NE(cfg.m_XMLNode, nullptr);
    cfg.XMLUpdate();
    cfg.XMLSaveFile();
    const std::string saved = Read(File());
    EXPECT_EQ(saved.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n", 0), 0u) << saved;
    EXPECT_NE(saved.find("<TERQClient Language=\"rus\">"), std::string::npos) << saved;
}

TEST_F(ClientCFGTest, LanguageTextsMapToCodes) {
    const struct {
        const char* attr;  // nullptr: no attribute
        int language;
        const wchar_t* text;
    } rows[] = {
        {"enu", 1, L"enu"},       {"ENU", 1, L"ENU"},    {"de", 1, L"de"},
        {"x", 1, L"x"},           {"rus", 0, L"rus"},    {"", 0, L""},
        {nullptr, 0, L""},        {"  enu ", 1, L"enu"}, {"Rus", 1, L"Rus"},
        {"&#9;rus", 1, L"\trus"},  // a tab as a reference: XML turns a raw one into a blank
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.attr ? row.attr : "(none)");
        std::string text = "<TERQClient";
        if (row.attr) text += std::string(" Language=\"") + row.attr + "\"";
        text += "/>";
        CClientCFG cfg;
        cfg.m_Language = 7;
        cfg.XMLLoadStr(text);
        EXPECT_EQ(cfg.m_Language, row.language);
        EXPECT_EQ(cfg.m_strLanguage, row.text);
    }
}

TEST_F(ClientCFGTest, UpdateWritesTheCodeOrRemovesIt) {
    const struct {
        int language;
        const char* attr;
    } rows[] = {{0, "rus"}, {1, "enu"}, {2, nullptr}, {-1, nullptr}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.language);
        CClientCFG cfg;
        cfg.XMLLoadStr("<TERQClient Language=\"old\"/>");
        cfg.m_Language = row.language;
        cfg.XMLUpdate();
        std::string out;
        cfg.XMLSaveStr(out);
        if (row.attr) {
            EXPECT_NE(out.find(std::string("Language=\"") + row.attr + "\""), std::string::npos);
        } else {
            EXPECT_EQ(out.find("Language"), std::string::npos) << out;
        }
    }
}

TEST_F(ClientCFGTest, UnknownContentSurvivesLoadAndSave) {
    Write(
        "<?xml version=\"1.0\"?>\n<!-- kept -->\n<TERQClient Other=\"1\" Language=\"rus\">"
        "<Child a=\"b\">text</Child><!-- inner --></TERQClient>\n");
    CClientCFG cfg;
    cfg.XMLLoadFile();
    cfg.m_Language = 1;
    cfg.XMLUpdate();
    cfg.XMLSaveFile();
    const std::string saved = Read(File());
    for (const char* part : {"<!-- kept -->", "Other=\"1\"", "Language=\"enu\"",
                             "<Child a=\"b\">text</Child>", "<!-- inner -->"}) {
        SCOPED_TRACE(part);
        EXPECT_NE(saved.find(part), std::string::npos) << saved;
    }
}

TEST_F(ClientCFGTest, SaveIsWhatTheFormattedWriterProduces) {
    Write("<TERQClient Language=\"enu\"><A><B/></A></TERQClient>");
    CClientCFG cfg;
    cfg.XMLLoadFile();
    cfg.XMLSaveFile();
    const std::string reference = m_home + "/reference.xml";
    ASSERT_GE(xmlSaveFormatFileEnc(reference.c_str(), cfg.m_XMLDOM, "utf-8", 1), 0);
    EXPECT_EQ(Read(File()), Read(reference));
    EXPECT_NE(Read(File()).find("\n  <A>\n    <B/>\n  </A>\n"), std::string::npos);
}

TEST_F(ClientCFGTest, OtherRootLoadsButCannotBeUpdated) {
    Write("<Other Language=\"enu\"/>");
    CClientCFG cfg;
    cfg.m_Language = 1;
    cfg.XMLLoadFile();
    EXPECT_EQ(cfg.m_Language, 1);
    EXPECT_EQ(cfg.m_XMLNode, nullptr);
    try {
        cfg.XMLUpdate();
        FAIL() << "no exception";
    } catch (const ErrorXML& e) {
        EXPECT_EQ(e.m_Text, L"Error append parameters Language elements TERQClient");
    }
}

TEST_F(ClientCFGTest, FailuresThrowTheirTexts) {
    const struct {
        const char* name;
        void (*run)(const std::string& home);
        const wchar_t* text;
    } rows[] = {
        {"text that does not parse",
         [](const std::string&) {
             CClientCFG cfg;
             cfg.XMLLoadStr("<TERQClient");
         },
         L"Error loadXML"},
        {"empty text",
         [](const std::string&) {
             CClientCFG cfg;
             cfg.XMLLoadStr("");
         },
         L"Error loadXML"},
        {"add without document",
         [](const std::string&) {
             CClientCFG cfg;
             cfg.XMLAdd();
         },
         L"!m_XMLDOM"},
        {"save without document",
         [](const std::string&) {
             CClientCFG cfg;
             cfg.XMLSaveFile();
         },
         L"Error XMLDOMSave->save"},
        {"save into a missing folder",
         [](const std::string& home) {
             CClientCFG cfg;
             cfg.XMLLoadFile();
             fs::remove_all(home + "/TERQ");
             cfg.XMLSaveFile();
         },
         L"Error XMLDOMSave->save"},
        {"save where a folder stands",
         [](const std::string& home) {
             CClientCFG cfg;
             cfg.XMLLoadFile();
             fs::create_directories(home + "/TERQ/etc/TERQClient.xml/x");
             cfg.XMLSaveFile();
         },
         L"Error XMLDOMSave->save"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        try {
            row.run(m_home);
            ADD_FAILURE() << "no exception";
        } catch (const ErrorXML& e) {
            EXPECT_EQ(e.m_Text, row.text);
            EXPECT_EQ(e.m_Code, 0);
        }
    }
    // A failed save leaves no temporary file behind.
    if (fs::exists(m_home + "/TERQ/etc")) {
        for (const auto& entry : fs::directory_iterator(m_home + "/TERQ/etc")) {
            EXPECT_EQ(entry.path().filename(), "TERQClient.xml");
        }
    }
}

TEST_F(ClientCFGTest, CreateAndAddBuildARoot) {
    CClientCFG cfg;
    cfg.m_Language = 1;
    cfg.XMLCreate();
    std::string out;
    cfg.XMLSaveStr(out);
    EXPECT_EQ(out, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<TERQClient Language=\"enu\"/>\n");
    // A load does not free an earlier document: release first.
    cfg.XMLRelease();
    cfg.XMLLoadStr("<X/>");
    cfg.m_Language = 0;
    cfg.XMLAdd();
    cfg.XMLSaveStr(out);
    EXPECT_NE(out.find("<TERQClient Language=\"rus\"/>"), std::string::npos) << out;
}

TEST_F(ClientCFGTest, FailedSaveKeepsTheOldFileWhole) {
    // A file-size limit makes the writer fail part-way, as a full disk would.
    const std::string old =
        "<TERQClient Language=\"rus\" Keep=\"" + std::string(2000, 'k') + "\"/>";
    Write(old);
    CClientCFG cfg;
    cfg.XMLLoadFile();
    cfg.m_Language = 1;
    cfg.XMLUpdate();
    signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 512;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    try {
        cfg.XMLSaveFile();
    } catch (const ErrorXML& e) {
        threw = true;
        EXPECT_EQ(e.m_Text, L"Error XMLDOMSave->save");
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, SIG_DFL);
    EXPECT_TRUE(threw);
    EXPECT_EQ(Read(File()), old);
    EXPECT_EQ(EntriesInEtc(), 1u);
    // The document in memory is unchanged and saves once the limit is gone.
    cfg.XMLSaveFile();
    EXPECT_NE(Read(File()).find("Language=\"enu\""), std::string::npos);
}

TEST_F(ClientCFGTest, SaveKeepsTheOldPermissions) {
    Write("<TERQClient/>");
    ASSERT_EQ(chmod(File().c_str(), 0640), 0);
    CClientCFG cfg;
    cfg.XMLLoadFile();
    cfg.XMLUpdate();
    cfg.XMLSaveFile();
    struct stat st {};
    ASSERT_EQ(stat(File().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    // A new file gets 0666 less the umask, as an ordinary write would.
    fs::remove(File());
    const mode_t mask = umask(027);
    cfg.XMLSaveFile();
    umask(mask);
    ASSERT_EQ(stat(File().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(ClientCFGTest, SetDefLanguageOnlySwitchesToEnglish) {
    g_StringENU = false;
    Write("<TERQClient Language=\"rus\"/>");
    CClientCFG::SetDefLanguage();
    EXPECT_FALSE(g_StringENU);
    Write("<TERQClient Language=\"enu\"/>");
    CClientCFG::SetDefLanguage();
    EXPECT_TRUE(g_StringENU);
    Write("<TERQClient Language=\"rus\"/>");
    CClientCFG::SetDefLanguage();
    EXPECT_TRUE(g_StringENU);
}

}  // namespace
