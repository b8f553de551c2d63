// The lift layout: loading a dispatch point whose lifts are all placed in groups (the one
// group per lift check must keep it linear), and one editor step over 1,000 cells.
#include <cstdio>
#include <string>

#include <benchmark/benchmark.h>

#include "dblib/CloudStr.h"

using namespace TERQCloud;

namespace {

class CBenchCloud : public CCloudB {
public:
    void ReportMsg(const DBString&, int) override { ++m_Msgs; }
    void ReportErr(const DBString&, int) override {}
    int m_Msgs = 0;
};

std::string Guid(int n) {
    char text[40];
    std::snprintf(text, sizeof text, "%08X0000400080000000%08X", n * 2654435761u, n);
    return text;
}

// One console, one dispatch point; homes of 100 lifts in streets of 10 homes; every lift
// placed once: groups of 50 cells, each with a sub-group of 50 more.
std::string Document(int lifts) {
    std::string doc = "<TERQCLOUD><PULT Name=\"P\"><DISP Name=\"D\" SizeLiftGrp=\"32,32\">";
    for (int n = 0; n < lifts; ++n) {
        if (n % 1000 == 0)
            doc += (n > 0 ? "</HOME></STREET>" : "") + std::string("<STREET Name=\"S") +
                   std::to_string(n) + "\">";
        if (n % 100 == 0)
            doc += (n % 1000 != 0 ? "</HOME>" : "") + std::string("<HOME Name=\"H") +
                   std::to_string(n) + "\">";
        doc += "<LIFT Name=\"L" + std::to_string(n) + "\" GUID=\"" + Guid(n) + "\"/>";
    }
    doc += "</HOME></STREET>";
    for (int n = 0; n < lifts; n += 100) {
        doc += "<GROUP Name=\"G" + std::to_string(n) + "\" Number=\"" + std::to_string(n + 1) +
               "\" Rect=\"0,0,2000,400\">";
        for (int i = 0; i < 100 && n + i < lifts; ++i) {
            if (i == 50) doc += "<GROUP Name=\"g\" Rect=\"0,200,2000,400\">";
            doc += "<LIFT GUID=\"" + Guid(n + i) + "\" Point=\"" + std::to_string(i % 50 * 40) +
                   ",0\"/>";
        }
        doc += (lifts - n > 50 ? "</GROUP>" : "") + std::string("</GROUP>");
    }
    return doc + "</DISP></PULT></TERQCLOUD>";
}

void BM_LoadPlaced(benchmark::State& state) {
    const int lifts = static_cast<int>(state.range(0));
    const std::string doc = Document(lifts);
    for (auto _ : state) {
        CBenchCloud cloud;
        cloud.XMLLoadStr(doc.c_str());
        if (cloud.m_Msgs != 0) state.SkipWithError("unexpected load messages");
        benchmark::DoNotOptimize(cloud.m_Child.data());
    }
    state.counters["lifts"] = lifts;
    state.counters["ns_per_lift"] = benchmark::Counter(
        static_cast<double>(lifts),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LoadPlaced)->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Rectangle selection of 1,000 cells in a row, then their even distribution.
void BM_SelectDistrHoriz(benchmark::State& state) {
    std::string doc =
        "<TERQCLOUD><PULT Name=\"P\"><DISP Name=\"D\" SizeLiftGrp=\"32,32\"><STREET "
        "Name=\"S\"><HOME Name=\"H\">";
    for (int n = 0; n < 1000; ++n) doc += "<LIFT Name=\"L\" GUID=\"" + Guid(n) + "\"/>";
    doc += "</HOME></STREET><GROUP Name=\"G\" Rect=\"10,10,50000,100\">";
    for (int n = 0; n < 1000; ++n)
        doc +=
            "<LIFT GUID=\"" + Guid(n) + "\" Point=\"" + std::to_string(n * 40 + n % 7) + ",4\"/>";
    doc += "</GROUP></DISP></PULT></TERQCLOUD>";
    CBenchCloud cloud;
    cloud.XMLLoadStr(doc.c_str());
    CGroupB& group =
        *static_cast<CPunctB*>(cloud.m_Child.at(0)->m_Child.at(0))->m_Group.m_Groups.at(0);
    for (auto _ : state) {
        group.ClrGroupSel();
        if (group.SetGroupSel(CRect(0, 0, 60000, 60)) != 1000) state.SkipWithError("selection");
        group.DistrHoriz();
    }
}
BENCHMARK(BM_SelectDistrHoriz)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
