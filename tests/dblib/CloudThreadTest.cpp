// Readers serialise subtrees while one editor changes nodes under Lock/Unlock: every text a
// reader gets is a whole element, and the document ends as the editor left it.
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "dblib/CloudStr.h"
#include "tests/dblib/CloudFixture.h"

using namespace TERQCloud;

namespace {

using CloudThreadTest = CloudTest;

TEST_F(CloudThreadTest, ReadersSerialiseWhileOneEditorWrites) {
    std::string homes;
    for (int h = 0; h < 4; ++h)
        homes += "<HOME Name=\"H" + std::to_string(h) + "\"><LIFT Name=\"L\"/><LIFT/></HOME>";
    CTestCloud& cloud = Load("<PULT><DISP><STREET Name=\"S\">" + homes + "</STREET></DISP></PULT>");
    const CNodeArrayB& street = Punct()->m_Child[0]->m_Child;  // the homes
    constexpr int kEdits = 300;
    std::atomic<bool> done{false};
    std::atomic<int> bad{0};
    std::vector<std::thread> readers;
    for (size_t r = 0; r < 3; ++r) {
        readers.emplace_back([&, r] {
            for (size_t i = r; !done.load(); ++i) {
                std::string out;
                CNodeTreeB* home = street[i % 4];
                const size_t pick = i / 4 % 3;  // the home or one of its two lifts
                (pick == 0 ? home : home->m_Child[pick - 1])->XMLStr(out);
                if (out.rfind("<?xml", 0) != 0 || out.find("<TERQCLOUD") != std::string::npos)
                    bad.fetch_add(1);
            }
        });
    }
    for (int e = 0; e < kEdits; ++e) {
        auto* lift = static_cast<CLiftB*>(street[static_cast<size_t>(e) % 4]->m_Child[0]);
        cloud.Lock();
        std::lock_guard<std::mutex> held(cloud.m_Lock, std::adopt_lock);
        lift->m_Owner = DBString(L"owner ") + DBString(std::to_wstring(e));
        lift->m_Modify = true;
        lift->XMLUpdateG();
    }
    done = true;
    for (std::thread& t : readers) t.join();
    EXPECT_EQ(bad.load(), 0);
    EXPECT_TRUE(cloud.IsModify());
    EXPECT_NE(cloud.Text().find("Owner=\"owner " + std::to_string(kEdits - 1) + "\""),
              std::string::npos);
}

}  // namespace
