#include "app/Inspect.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* const kCloud =
    R"(<?xml version="1.0"?><TERQCLOUD><PULT Name="P"><DISP Name="D"><STREET Name="S">)"
    R"(<HOME Name="H"><LIFT Name="L1"/><LIFT Name="L2"/></HOME></STREET><GROUP Name="G"/>)"
    R"(<GROUP Name="G2"/></DISP><TabUserDisp><User Access="1"/></TabUserDisp></PULT></TERQCLOUD>)";
const char* const kCloudDup =
    R"(<TERQCLOUD><PULT Name="P"><DISP Name="D"><STREET Name="S"><HOME Name="H"><LIFT Name="L"/>)"
    R"(<LIFT Name="L"/></HOME></STREET><STREET Name="S"/><STREET Name="a&#10;b"/>)"
    R"(<STREET Name="a&#10;b"/></DISP></PULT></TERQCLOUD>)";
// Module 1 links to 2 by a line slot (both ways); module 5 hangs on nothing.
const char* const kNet =
    R"(<Net><Um Number="1"><Slot Number="0" TypSlot="2" LinkUM="2" LinkSlot="0"/></Um>)"
    R"(<Um Number="2"/><Um Number="5"><Slot Number="1" TypSlot="1"><TabDev><Dev Addr="3"/>)"
    R"(<Dev Addr="4"/></TabDev></Slot></Um></Net>)";
const char* const kNetDup =
    R"(<Net><Um Number="1"><Slot Number="0"/><Slot Number="0"/></Um></Net>)";

// Each test gets a HOME and a folder of its own: {d} in expected texts stands for the folder.
class InspectTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/terq-inspect-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        m_Dir = tmpl;
        setenv("HOME", m_Dir.c_str(), 1);
        Put("c.xml", kCloud);
        Put("cdup.xml", kCloudDup);
        Put("n.xml", kNet);
        Put("ndup.xml", kNetDup);
        Put("cut.xml", std::string(kCloud).substr(0, 60));
        Put("bin.xml", std::string("<TERQCLOUD>\0\x01\xff</TERQCLOUD>", 25));
    }
    void TearDown() override { fs::remove_all(m_Dir); }
    void Put(const std::string& name, const std::string& text) {
        fs::create_directories(fs::path(m_Dir + "/" + name).parent_path());
        std::ofstream(m_Dir + "/" + name, std::ios::binary) << text;
    }
    std::string D(const std::string& text) {
        return std::regex_replace(text, std::regex("\\{d\\}"), m_Dir);
    }
    // Runs the tool on the command line cmd ({d} expanded, split at blanks).
    int Run(const std::string& cmd) {
        std::istringstream words(D(cmd));
        std::vector<std::string> args{"terq-inspect"};
        for (std::string w; words >> w;) args.push_back(w);
        std::vector<const char*> argv;
        for (const auto& a : args) argv.push_back(a.c_str());
        m_Out.str("");
        m_Err.str("");
        return InspectMain(static_cast<int>(argv.size()), argv.data(), m_Out, m_Err);
    }
    std::string m_Dir;
    std::ostringstream m_Out, m_Err;
};

TEST_F(InspectTest, PrintsCountsReportsAndExitStatus) {
    const struct {
        bool english;
        const char* cmd;
        int rc;
        const char* out;
    } rows[] = {
        {false, "--cloud {d}/c.xml --net={d}/n.xml --local 1", 0,
         "Структура облака {d}/c.xml\n"
         "  пультов 1, диспетчерских 1, улиц 1, домов 1, лифтов 2, групп 2, пользователей 1\n"
         "  сообщений загрузки: 0\n"
         "Сеть устройств {d}/n.xml\n  модулей 3, слотов 3, устройств 2, связей 1\n"
         "  сообщений загрузки: 0\nМодули, недоступные из модуля 1: 5\n"},
        {true, "--cloud {d}/cdup.xml --net {d}/ndup.xml --local 1", 1,
         "Cloud structure {d}/cdup.xml\n"
         "  consoles 1, dispatch points 1, streets 4, homes 1, lifts 2, groups 0, users 0\n"
         "  load reports: 3\n    S,H,L - repeated definition lift\n"
         "    S - repeated definition street\n    a b - repeated definition street\n"
         "Device network {d}/ndup.xml\n"
         "  modules 1, slots 1, devices 0, links 0\n  load reports: 1\n"
         "    Slot 0 already exist in UM 1:0\nAll modules are reachable from module 1\n"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.cmd);
        Put("TERQ/etc/TERQClient.xml", r.english ? "<TERQClient Language=\"enu\"/>" : "");
        EXPECT_EQ(Run(r.cmd), r.rc);
        EXPECT_EQ(m_Out.str(), D(r.out));
        EXPECT_EQ(m_Err.str(), "");
    }
}

TEST_F(InspectTest, RefusesBadInputWithOneLineAndNoOutput) {
    Put("TERQ/etc/TERQClient.xml", "<TERQClient Language=\"enu\"/>");
    const struct {
        const char* cmd;
        const char* err;
    } rows[] = {
        {"--cloud {d}/cut.xml",
         "{d}/cut.xml: not well-formed XML, line 1: Premature end of data in tag PULT line 1"},
        {"--cloud {d}/bin.xml", "{d}/bin.xml: zero byte at offset 11: not an XML text"},
        {"--cloud {d}/n.xml --net {d}/n.xml",
         "{d}/n.xml: no TERQCLOUD root element: not a cloud structure document"},
        {"--net {d}/none.xml", "{d}/none.xml: cannot be read: No such file or directory"},
        {"--net {d}", "{d}: not a regular file"},
        {"--net {d}/n.xml --local 7", "{d}/n.xml: no module 7"},
        {"--net {d}/n.xml --local 256", "Bad module number 256: 0 to 255 expected"},
        {"--local 1 --cloud {d}/c.xml", "Option --local needs --net"},
        {"--cloud {d}/c.xml --net {d}/n.xml --write {d}/o",
         "--write with two documents: use --write-cloud and --write-net"},
        {"--cloud {d}/c.xml --write {d}/TERQ", "{d}/TERQ: cannot be written: Is a directory"},
        {"--cloud", "Option --cloud needs a value"},
        {"-x", "Unknown option -x; see --help"},
        {"", "Nothing to inspect: give --cloud FILE or --net FILE; see --help"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.cmd);
        EXPECT_EQ(Run(r.cmd), 2);
        EXPECT_EQ(m_Out.str(), "");
        EXPECT_EQ(m_Err.str(), D(r.err) + "\n");
    }
    // Nothing written, no temporary file left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(m_Dir), fs::directory_iterator()), 7);
}

// What --write saves loads again to the same summary, the links SetLink made included.
TEST_F(InspectTest, WrittenDocumentsLoadToTheSameSummary) {
    ASSERT_EQ(Run("--cloud {d}/cdup.xml --net {d}/n.xml --write-cloud {d}/o1 --write-net {d}/o2"),
              1);
    const std::string first = m_Out.str();
    EXPECT_NE(first.find(D("Записан {d}/o1\nЗаписан {d}/o2\n")), std::string::npos);
    ASSERT_EQ(Run("--cloud {d}/o1 --net {d}/o2"), 1);
    EXPECT_EQ(std::regex_replace(first, std::regex("/(cdup.xml|o1)|/(n.xml|o2)|Записан.*\n"), ""),
              std::regex_replace(m_Out.str(), std::regex("/(o1|o2)"), ""));
}

}  // namespace
