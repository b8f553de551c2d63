#include "lib/BaseLog.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "dblib/DBTime.h"

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

// A log in a folder of the test's choosing; records its failure reports unless told to print
// them as the base class does, and takes half a second over each when told to be slow.
class TestLog : public CBaseLog {
public:
    explicit TestLog(std::string dir, unsigned long capacity = 1000)
        : CBaseLog(capacity, 5), m_dir(std::move(dir)) {}
    ~TestLog() override { Close(); }
    DBString Dir() override { return DBString(m_dir); }
    void Error(const std::string& text) override {
        if (m_slow) std::this_thread::sleep_for(std::chrono::milliseconds(500));
        if (m_print) return CBaseLog::Error(text);
        std::lock_guard<std::mutex> lock(m_lock);
        m_errors.push_back(text);
    }
    Strings Errors() {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_errors;
    }
    using CBaseLog::PutInner;
    void SetRotateSize(std::streamoff size) { m_RotateSize = size; }
    DelayMsg& Filter() { return m_Delay; }
    bool m_print = false, m_slow = false;

private:
    std::string m_dir;
    std::mutex m_lock;
    Strings m_errors;
};

std::string Slurp(const fs::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

void Spill(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

Strings Names(const fs::path& dir) {
    Strings names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

std::string ErrName(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "err%07d.log", number);
    return name;
}

Strings ErrNames(int first, int last) {
    Strings names;
    for (int n = first; n <= last; ++n) names.push_back(ErrName(n));
    return names;
}

// The lines of a file, with the 20-character time stamp cut off when stamped is set.
Strings Lines(const fs::path& path, bool stamped) {
    std::istringstream file(Slurp(path));
    Strings lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(stamped ? line.substr(20) : line);
    return lines;
}

std::string SysText(const char* text, int code) {
    return std::string(text) + ": " + std::to_string(code) + " - " + std::strerror(code);
}

class BaseLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/baselogXXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }
    fs::path m_dir;
};

}  // namespace

TEST_F(BaseLogTest, NamesNumbersAndFolderScan) {
    TestLog log(m_dir);
    EXPECT_TRUE(log.Open("err", "log"));
    log.Close();
    EXPECT_EQ(Names(m_dir), ErrNames(1, 1));  // an empty folder starts at number 1
    EXPECT_TRUE(log.NameFile(5) == L"err0000005.log");
    // the extension is not compared; the first point ends the number, right after its digits
    const std::pair<const char*, int> cases[] = {
        {"err0000005.log", 5},  {"err0000005.txt", 5},     {"err5.log", -1},
        {"err57.log", 57},      {"err0000005", -1},        {"log0000005.log", -1},
        {"Err0000005.log", -1}, {"err0000012.log.bak", 12}};
    for (const auto& c : cases) EXPECT_EQ(log.NumFile(c.first), c.second) << c.first;
    for (int n : {1, 2, 3, 17}) Spill(m_dir / ErrName(n), "x");
    for (const char* other : {"notes.txt", "err0000099", "err9.log"}) Spill(m_dir / other, "x");
    EXPECT_EQ(log.LastNum(), 17);
    log.ClearTo(0);
    log.ClearTo(1);
    EXPECT_EQ(Names(m_dir).size(), 6u);
    log.ClearTo(2);
    EXPECT_EQ(Names(m_dir),
              (Strings{ErrName(3), ErrName(17), "err0000099", "err9.log", "notes.txt"}));
    TestLog dotted(m_dir / "notes.txt" / "sub");  // unreadable: lies under a regular file
    EXPECT_EQ(dotted.LastNum(), 1);
    dotted.Open("e.r", "log");
    for (const char* name : {"e.r0000005.log", "e.r12.log", "err0000005.log"})
        EXPECT_EQ(dotted.NumFile(name), -1);
}

// Parents are made 0775; the highest file is appended to; a closed log can start again.
TEST_F(BaseLogTest, OpenAppendsToTheHighestFileAndClosesCleanly) {
    const fs::path dir = m_dir / "a" / "b";
    const mode_t oldMask = umask(0);
    TestLog(dir.string()).Open("err", "log");
    umask(oldMask);
    for (const fs::path& made : {m_dir / "a", dir}) {
        struct stat info {};
        ASSERT_EQ(stat(made.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0775u) << made;
    }
    Spill(dir / ErrName(2), "old\n");
    TestLog(m_dir / "never").Close();
    TestLog log(dir.string());
    ASSERT_TRUE(log.Open("err", "log"));
    EXPECT_TRUE(log.Open("err", "log"));  // a second Open changes nothing
    log.PutDirect(std::string("new"));
    log.Close();  // the writer waits on an empty queue here
    log.Close();
    ASSERT_TRUE(log.Open("err", "log"));
    log.PutDirect(std::string("again"));
    log.Close();
    EXPECT_EQ(Slurp(dir / ErrName(2)), "old\nnew\nagain\n");
}

TEST_F(BaseLogTest, WritesStampedAndDirectLines) {
    TestLog log(m_dir);
    log.PutDirect(std::string("queued before Open"));
    const time_t before = time(nullptr);
    ASSERT_TRUE(log.Open("err", "log"));
    log.Put(L"abc");
    log.Put(std::wstring(L"\u0436 wide"));
    log.PutUtf8("\xD0\xB6 utf8");
    log.PutFormat(L"%d-%ls-%05.1f", 7, L"x", 2.25);
    log.PutFormat(L"%ls", std::wstring(5000, L'y').c_str());
    EXPECT_TRUE(log.PutDirect(std::string("direct\n")));  // not doubled
    log.PutDirect(std::string(""));
    log.PutDirect(DBString(L"\u0416"));
    log.Close();
    const time_t after = time(nullptr);
    const Strings lines = Lines(m_dir / ErrName(1), false);
    const Strings expected = {"queued before Open",
                              "abc",
                              "\xD0\xB6 wide",
                              "\xD0\xB6 utf8",
                              "7-x-002.2",
                              std::string(4095, 'y'),
                              "direct",
                              "",
                              "\xD0\x96"};
    std::set<std::string> stamps;  // of every second the writes may have taken
    for (time_t t = before; t <= after; ++t) stamps.insert(DBTime(t).DatTimStr());
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool stamped = i >= 1 && i <= 5;
        EXPECT_TRUE(!stamped || stamps.count(lines[i].substr(0, 20))) << lines[i];
        EXPECT_EQ(lines[i].substr(stamped ? 20 : 0), expected[i]);
    }
}

// Window 5 minutes: a repeat within the window is held back and does not extend it; only
// PutErr and PutMes are filtered.
TEST_F(BaseLogTest, RepeatsWaitForTheEndOfTheirWindow) {
    time_t now = 0;
    CBaseLog::DelayMsg filter(5);
    filter.SetClock([&now] { return now; });
    const time_t noon = 12 * 3600;
    const struct {
        time_t at;
        const char* text;
        bool passes;
    } steps[] = {
        {noon, "a", true},        {noon + 1, "b", true},    // each text has its own window
        {noon + 299, "a", false}, {noon + 300, "a", true},  // new window ends at 12:10:00
        {noon + 300, "b", false}, {noon + 301, "b", true},   {noon + 599, "a", false},
        {noon + 600, "a", true},  {noon + 601, "A", true},  // exact comparison
        {noon + 1000, "a", true},                           // after a sweep
        {noon + 1001, "b", true}, {noon + 1002, "a", false},
    };
    for (const auto& s : steps) {
        now = s.at;
        EXPECT_EQ(filter.IsNeedToPut(s.text), s.passes) << s.at - noon << " " << s.text;
    }
    for (int minutes : {0, -3}) {
        CBaseLog::DelayMsg off(minutes);
        EXPECT_TRUE(off.IsNeedToPut("same") && off.IsNeedToPut("same")) << minutes;
    }
    TestLog log(m_dir);
    now = 5000;
    log.Filter().SetClock([&now] { return now; });
    const unsigned char bytes[] = {0x01, 0xA0};
    for (int i = 0; i < 2; ++i) {
        log.PutErr(L"boom", 2);
        log.PutMes(L"mes", bytes, 2);
        log.Put(L"plain");
    }
    log.PutErr(L"boom", 0);  // another text
    now += 300;
    log.PutErr(L"boom", 2);
    log.Open("err", "log");
    log.Close();
    const std::string boom = SysText("boom", 2);
    EXPECT_EQ(Lines(m_dir / ErrName(1), true),
              (Strings{boom, "mes 01 A0", "plain", "plain", "boom", boom}));
}

TEST(BaseLogTextTest, ConvertsErrorsBytesAndAddresses) {
    EXPECT_TRUE(CBaseLog::CnvErr(L"x", 0) == L"x");
    EXPECT_EQ(CBaseLog::CnvErr(L"x", 2).ToStr(), SysText("x", 2));
    EXPECT_EQ(CBaseLog::CnvErr(L"\u0436", 13).ToStr(), SysText("\xD0\xB6", 13));
    unsigned char data[31];
    std::string thirty = "m";
    for (int i = 0; i < 31; ++i) {
        data[i] = static_cast<unsigned char>(0xE0 + i);
        if (i < 30) thirty += std::string(" ") + "EF"[i / 16] + "0123456789ABCDEF"[i % 16];
    }
    EXPECT_EQ(CBaseLog::CnvMes(L"m", data, 31).ToStr(), thirty + " ...");
    EXPECT_EQ(CBaseLog::CnvMes(L"m", data, 30).ToStr(), thirty);
    EXPECT_EQ(CBaseLog::CnvMes(L"m", data, 29).ToStr(), thirty.substr(0, thirty.size() - 3));
    const unsigned char few[] = {0x00, 0xAB, 0x7F};
    EXPECT_EQ(
        CBaseLog::CnvMes(L"m", few, 3).ToStr() + "|" + CBaseLog::CnvMes(L"m", few, -4).ToStr(),
        "m 00 AB 7F|m");
    EXPECT_EQ(CBaseLog::StrMes(few, 3) + "|" + CBaseLog::StrMes(few, 0), "00 AB 7F |");
    in6_addr address{};
    ASSERT_EQ(inet_pton(AF_INET6, "::1", &address), 1);
    EXPECT_EQ(CBaseLog::ToStr(address, 80), std::string(36, ' ') + "::1|00080 ");
    const char* widest = "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff";
    ASSERT_EQ(inet_pton(AF_INET6, widest, &address), 1);
    EXPECT_EQ(CBaseLog::ToStr(address, 65535), std::string(widest) + "|65535 ");
}

// Files 1 to 150 present, file 150 full: the next line deletes all but the last kept files and
// starts file 151; one byte less and the line still goes into file 150. When every line fills a
// file, the current file and the five before it remain.
TEST_F(BaseLogTest, RotationDeletesFilesBeyondTheCountKept) {
    const struct {
        int keep;
        std::size_t size150;
        int first, last;
    } cases[] = {{100, 64, 51, 151}, {5, 64, 146, 151}, {5, 63, 1, 150}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.keep) + "/" + std::to_string(c.size150));
        const fs::path dir = m_dir / std::to_string(c.keep + c.size150);
        fs::create_directory(dir);
        for (int n = 1; n <= 149; ++n) Spill(dir / ErrName(n), "x\n");
        Spill(dir / ErrName(150), std::string(c.size150, 'f'));
        TestLog log(dir.string());
        log.SetRotateSize(64);
        log.m_FilesToKeep = c.keep;
        ASSERT_TRUE(log.Open("err", "log"));
        log.PutDirect(std::string("line"));
        log.Close();
        ASSERT_EQ(Names(dir), ErrNames(c.first, c.last));
        EXPECT_EQ(Lines(dir / ErrName(c.last), false).back(),
                  c.last == 151 ? "line" : std::string(63, 'f') + "line");
    }
    TestLog log((m_dir / "each").string());
    log.SetRotateSize(4);
    log.m_FilesToKeep = 5;
    ASSERT_TRUE(log.Open("err", "log"));
    for (int i = 1; i <= 8; ++i) log.PutDirect("line " + std::to_string(i));
    log.Close();
    ASSERT_EQ(Names(m_dir / "each"), ErrNames(3, 8));
    for (int n = 3; n <= 8; ++n)
        EXPECT_EQ(Slurp(m_dir / "each" / ErrName(n)), "line " + std::to_string(n) + "\n");
}

// A burst is written in batches whose last line is flushed, so the file is complete, in order,
// while the log stays open; lines ending in a newline are not flushed, and Close must deliver
// them.
TEST_F(BaseLogTest, LinesReachTheFileInOrderAndCloseFlushesTheRest) {
    constexpr int kLines = 3000;
    TestLog log(m_dir, kLines);
    ASSERT_TRUE(log.Open("err", "log"));
    Strings sent, lines;
    for (int i = 0; i < kLines; ++i) {
        sent.push_back(std::to_string(i));
        log.PutDirect(sent.back());
    }
    for (int wait = 0; wait < 4000 && lines.size() < sent.size(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        lines = Lines(m_dir / ErrName(1), false);
    }
    EXPECT_EQ(lines, sent);
    for (int i = 0; i < 50; ++i) log.PutDirect("buffered " + std::to_string(i) + "\n");
    log.Close();
    EXPECT_EQ(Lines(m_dir / ErrName(1), false).back(), "buffered 49");
}

// The folder lies under a regular file, so no folder or file can be made, even as root; a
// folder that vanishes is reported on the next line and on every retry.
TEST_F(BaseLogTest, UnusableFoldersAreReported) {
    Spill(m_dir / "plain", "x");
    const std::string dir = (m_dir / "plain" / "logs").string();
    TestLog log(dir);
    log.m_print = true;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(log.Open("err", "log"));
    log.m_slow = true;  // the writer is still reporting when Close is called: Close waits for it
    log.Put(L"lost");
    log.Close();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              dir + ": " + SysText("CBaseLog::OpenNew 1", ENOTDIR) + "\n" + dir + ": " +
                  SysText("CBaseLog::OpenNew 2", ENOTDIR) + "\n");
    TestLog gone((m_dir / "gone").string());
    fs::create_directory(m_dir / "gone");
    gone.SetRotateSize(4);
    ASSERT_TRUE(gone.OpenNew(1));
    gone.PutInner("first");
    fs::remove_all(m_dir / "gone");
    gone.PutInner("second");
    gone.PutInner("third");
    EXPECT_EQ(gone.Errors(), (Strings{SysText("CBaseLog::OpenNew 3", ENOENT),
                                      SysText("CBaseLog::OpenNew 2", ENOENT)}));
}

// A file-size limit makes the write fail; SIGXFSZ is ignored so that write reports EFBIG. The
// limit would also cut the death test's capture, so the child lifts it before it prints.
TEST_F(BaseLogTest, WriteErrorIsReportedAndTheLineWrittenAgain) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const fs::path dir = m_dir;
    auto child = [&dir](bool removeFolder) {
        signal(SIGXFSZ, SIG_IGN);
        TestLog log(dir.string());
        if (!log.OpenNew(1)) std::_Exit(3);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlim_t soft = limit.rlim_cur;
        limit.rlim_cur = 16;
        setrlimit(RLIMIT_FSIZE, &limit);
        log.PutInner("fits");
        if (removeFolder) fs::remove_all(dir);
        log.PutInner("this line passes the limit");
        limit.rlim_cur = soft;
        setrlimit(RLIMIT_FSIZE, &limit);
        for (const auto& error : log.Errors()) std::fprintf(stderr, "%s\n", error.c_str());
        // The first write keeps what fits, the second finds the file full. Without Open the
        // name has no prefix or extension.
        const bool kept =
            removeFolder || Slurp(dir / log.NameFile(1).ToStr()) == "fits\nthis line p";
        fs::remove_all(dir);
        std::_Exit(kept ? 0 : 4);
    };
    const std::string failed =
        "^CBaseLog::PutInner !good\\(\\): 27 - " + std::string(std::strerror(EFBIG));
    EXPECT_EXIT(child(false), testing::ExitedWithCode(0), failed + "\n$");
    EXPECT_EXIT(child(true), testing::ExitedWithCode(0), failed + "\nCBaseLog::OpenNew 4: 2 - ");
}
