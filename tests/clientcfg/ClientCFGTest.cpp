// The configuration document: load, save, failures, preservation of unknown content, and a save
// that never leaves a broken file.
#include "clientcfg/ClientCFG.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "dblib/LoadRes.h"
#include "lib/TERQLibRes.h"
#include "lib/Xml.h"

namespace fs = std::filesystem;

namespace {

const std::string kHead = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

void Quiet(void*, const char*, ...) {}

std::string Read(const std::string& path) {
    std::ostringstream out;
    out << std::ifstream(path, std::ios::binary).rdbuf();
    return out.str();
}

mode_t Mode(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// The text an operation throws, or "no exception".
std::wstring Thrown(const std::function<void()>& run) {
    try {
        run();
    } catch (const ErrorXML& e) {
        return e.m_Code == 0 ? e.m_Text : L"code";
    }
    return L"no exception";
}

class ClientCFGTest : public testing::Test {
protected:
    void SetUp() override {
        xmlSetGenericErrorFunc(nullptr, Quiet);
        char pattern[] = "/tmp/terq-cfg-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_home = pattern;
        setenv("HOME", m_home.c_str(), 1);
        fs::create_directories(m_home + "/TERQ/etc");
        if (g_StringLocale.count(IDS_XML_SAVE) == 0) TERQLib_rc();
    }
    void TearDown() override {
        g_StringENU = false;
        fs::remove_all(m_home);
    }
    std::string File() const { return m_home + "/TERQ/etc/TERQClient.xml"; }
    void Write(const std::string& text) const { std::ofstream(File(), std::ios::binary) << text; }

    std::string m_home;
};

// A missing file loads as Russian and saves a new file beside HOME, with 0666 less the umask.
TEST_F(ClientCFGTest, MissingFileLoadsRussianAndSavesNewFile) {
    EXPECT_EQ(CClientCFG::FileName(), File());
    for (const mode_t mask : {027, 002}) {
        fs::remove(File());
        CClientCFG cfg;
        cfg.XMLLoadFile();
        EXPECT_EQ(cfg.m_Language, 0);
        cfg.XMLUpdate();
        const mode_t old = umask(mask);
        cfg.XMLSaveFile();
        umask(old);
        EXPECT_EQ(Mode(File()), 0666 & ~mask);
        EXPECT_EQ(Read(File()).rfind(kHead + "<TERQClient Language=\"rus\">", 0), 0u);
    }
    unsetenv("HOME");
    const passwd* pw = getpwuid(getuid());  // the account's home, "/" without an entry
    EXPECT_EQ(CClientCFG::HomeDir(), pw && pw->pw_dir ? pw->pw_dir : "/");
}

TEST_F(ClientCFGTest, LanguageTextsMapToCodesAndBack) {
    const struct {
        const char* attr;  // nullptr: no attribute
        int language;
        const wchar_t* text;
    } rows[] = {
        {"enu", 1, L"enu"},    {"de", 1, L"de"},         {"rus", 0, L"rus"},
        {"", 0, L""},          {nullptr, 0, L""},        {"Rus", 1, L"Rus"},
        {"  enu ", 1, L"enu"}, {"&#9;rus", 1, L"\trus"},  // XML would make a raw tab a blank
    };
    for (const auto& row : rows) {
        CClientCFG cfg;
        cfg.m_Language = 7;
        cfg.XMLLoadStr(std::string("<TERQClient") +
                       (row.attr ? std::string(" Language=\"") + row.attr + "\"" : "") + "/>");
        EXPECT_EQ(cfg.m_Language, row.language) << row.text;
        EXPECT_EQ(std::wstring(cfg.m_strLanguage), row.text);
        cfg.XMLRelease(), cfg.XMLLoadStr("<Other Language=\"enu\"/>");  // no root: no text left
        EXPECT_TRUE(cfg.m_strLanguage.empty()) << row.text;
    }
    // Codes other than 0 and 1 drop the attribute; Create and Add build a root of their own (the
    // document is released first: a load does not free an earlier one).
    const std::pair<std::function<void(CClientCFG&)>, const char*> saves[] = {
        {[](CClientCFG& c) { c.m_Language = 2, c.XMLUpdate(); }, ""},
        {[](CClientCFG& c) { c.m_Language = -1, c.XMLUpdate(); }, ""},
        {[](CClientCFG& c) { c.XMLRelease(), c.m_Language = 1, c.XMLCreate(); },
         " Language=\"enu\""},
        {[](CClientCFG& c) { c.XMLRelease(), c.XMLLoadStr("<X/>"), c.m_Language = 0, c.XMLAdd(); },
         " Language=\"rus\""},
    };
    for (const auto& row : saves) {
        CClientCFG cfg;
        cfg.XMLLoadStr("<TERQClient Language=\"old\"/>");
        row.first(cfg);
        std::string out;
        cfg.XMLSaveStr(out);
        EXPECT_EQ(out, kHead + "<TERQClient" + row.second + "/>\n");
    }
    // The stored language switches the tables to English, never back.
    for (const auto& row :
         {std::make_pair("rus", false), std::make_pair("enu", true), std::make_pair("rus", true)}) {
        Write(std::string("<TERQClient Language=\"") + row.first + "\"/>");
        CClientCFG::SetDefLanguage();
        EXPECT_EQ(g_StringENU, row.second) << row.first;
    }
}

// A file-size limit makes the writer fail part-way, as a full disk would: the old file stays
// whole. Once the limit is gone the document in memory saves with its unknown content, the
// formatted writer's layout (two blanks a level) and the old permissions.
TEST_F(ClientCFGTest, FailedSaveKeepsTheOldFileAndSaveKeepsUnknownContent) {
    const std::string kept = "<!-- " + std::string(2000, 'k') + " -->\n";
    const std::string old = "<?xml version=\"1.0\"?>\n" + kept +
                            "<TERQClient Other=\"1\" Language=\"rus\"><Child a=\"b\"><B/></Child>"
                            "<!-- inner --></TERQClient>\n";
    Write(old);
    ASSERT_EQ(chmod(File().c_str(), 0640), 0);
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
    const std::wstring thrown = Thrown([&cfg] { cfg.XMLSaveFile(); });
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, SIG_DFL);
    EXPECT_EQ(thrown, std::wstring(_S_(IDS_XML_SAVE)));
    EXPECT_EQ(Read(File()), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_home + "/TERQ/etc"), fs::directory_iterator()),
              1);
    cfg.XMLSaveFile();
    EXPECT_EQ(Read(File()), kHead + kept +
                                "<TERQClient Other=\"1\" Language=\"enu\">\n  <Child a=\"b\">\n"
                                "    <B/>\n  </Child>\n  <!-- inner -->\n</TERQClient>\n");
    EXPECT_EQ(Mode(File()), 0640u);
}

TEST_F(ClientCFGTest, FailuresThrowTheirTextsAndLeaveNoTemporaryFile) {
    const std::string home = m_home;
    const std::pair<std::function<void(CClientCFG&)>, std::wstring> rows[] = {
        {[](CClientCFG& c) { c.XMLLoadStr("<TERQClient"); }, _S_(IDS_XML_LOAD)},
        {[](CClientCFG& c) { c.XMLLoadStr(""); }, _S_(IDS_XML_LOAD)},
        {[](CClientCFG& c) { c.XMLAdd(); }, L"!m_XMLDOM"},
        {[](CClientCFG& c) { c.XMLSaveFile(); }, _S_(IDS_XML_SAVE)},
        // another root loads but cannot be updated
        {[](CClientCFG& c) { c.XMLLoadStr("<Other Language=\"enu\"/>"), c.XMLUpdate(); },
         _S_(IDS_XML_APPEND) + L" parameters Language elements TERQClient"},
        // a folder where the file goes; no folder at all
        {[home](CClientCFG& c) {
             c.XMLLoadFile();
             fs::create_directories(home + "/TERQ/etc/TERQClient.xml/x");
             c.XMLSaveFile();
         },
         _S_(IDS_XML_SAVE)},
        {[home](CClientCFG& c) {
             c.XMLLoadFile(), fs::remove_all(home + "/TERQ"), c.XMLSaveFile();
         },
         _S_(IDS_XML_SAVE)},
    };
    for (const auto& row : rows) {
        CClientCFG cfg;
        EXPECT_EQ(Thrown([&] { row.first(cfg); }), row.second);
        if (fs::exists(m_home + "/TERQ/etc")) {
            for (const auto& entry : fs::directory_iterator(m_home + "/TERQ/etc"))
                EXPECT_EQ(entry.path().filename(), "TERQClient.xml");
        }
    }
}

// A child's reports go to the root of its tree; a tree owns and deletes its children; a node takes
// its element out of the document.
TEST_F(ClientCFGTest, NodeTreeReportsToItsRootAndOwnsItsChildren) {
    static int s_alive = 0;
    struct Node final : CNodeClientCFGTree {
        Node() { ++s_alive; }
        ~Node() override { --s_alive; }
        void XMLUpdate() override {}
        int TypNode() override { return 0; }
        void BadPut(const wchar_t* text) override {
            m_Parent ? CNodeClientCFG::BadPut(text) : void(m_heard += text);
        }
        void BadPutErr(const wchar_t* text, int code) override {
            m_Parent ? CNodeClientCFG::BadPutErr(text, code)
                     : void(m_heard += std::to_wstring(code));
        }
        std::wstring m_heard;
    } root;
    auto *a = new Node, *b = new Node, *c = new Node;
    root.m_Child.push_back(a);
    root.m_Child.push_back(b);
    a->m_Parent = b->m_Parent = &root;
    a->m_Child.push_back(c);
    c->m_Parent = a;
    c->BadPut(L"x");
    c->BadPutErr(L"y", 5);
    EXPECT_EQ(root.m_heard, L"x5");
    EXPECT_EQ(c->FindRoot(), &root);
    root.m_Child.Remove(b);  // erased, not deleted
    root.m_Child.Remove(b);
    EXPECT_EQ(std::vector<CNodeClientCFG*>(root.m_Child), std::vector<CNodeClientCFG*>{a});
    xmlDoc* doc = xmlReadMemory("<r><e/></r>", 11, nullptr, nullptr, 0);
    b->m_XMLNode = xmlDocGetRootElement(doc)->children;
    b->XMLRemove();
    EXPECT_TRUE(b->m_XMLNode == nullptr && xmlDocGetRootElement(doc)->children == nullptr);
    xmlFreeDoc(doc);
    delete b;
    a->Clear();  // deletes c and detaches a
    EXPECT_TRUE(a->m_Child.empty() && a->m_Parent == nullptr);
    root.Clear();
    EXPECT_TRUE(root.m_Child.empty() && s_alive == 1);
}

}  // namespace
