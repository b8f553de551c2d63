// The cloud model on a generated installation of 100,000 lifts (1 console, 50 dispatch points,
// 20 streets each, 25 homes per street, 4 lifts per home with every passport attribute and a few
// table entries), each operation beside the bare libxml2 work it wraps:
//   CloudLoadStr vs BareParseWalk   parse and bind the tree vs parse and read every attribute
//                                   (teardown of either outside the timing)
//   CloudReloadStr vs BareReparseWalk  the same with the previous tree and document freed
//   CloudXMLStrRoot vs BareDump     serialise the root vs xmlDocDumpFormatMemoryEnc
//   PeakRss                         peak resident growth of the loaded model vs the bare document
//   EditOneLift                     one attribute edited and one lift serialised
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <malloc.h>

#include "dblib/CloudStr.h"

namespace {

constexpr int kParseOld10 = 131072;

class CBenchCloud : public TERQCloud::CCloudB {
public:
    void ReportMsg(const DBString&, int) override {}
    void ReportErr(const DBString&, int) override {}
};

std::string Attr(const char* name, const std::string& value) {
    return std::string(" ") + name + "=\"" + value + "\"";
}

const std::string& Document() {
    static const std::string text = [] {
        std::string t = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<TERQCLOUD>";
        t += "<PULT Name=\"Console\" TimeAsk=\"1\" TimeDriv=\"180\" "
             "GUID=\"00112233445566778899AABBCCDDEEFF\">";
        int id = 0;
        for (int p = 0; p < 50; ++p) {
            t += "<DISP Name=\"Point " + std::to_string(p) + "\" IdDB=\"" + std::to_string(p + 1) +
                 "\" SpeakGDP=\"1\" SizeLiftGrp=\"32,32\" FonGrp=\"255,255,255\">";
            for (int s = 0; s < 20; ++s) {
                t += "<STREET Name=\"Street " + std::to_string(s) + "\" Fon=\"255,255,255\">";
                for (int h = 0; h < 25; ++h) {
                    t += "<HOME Name=\"" + std::to_string(h + 1) +
                         "\" Lat=\"55.750000\" Long=\"37.610000\">";
                    for (int l = 0; l < 4; ++l) {
                        ++id;
                        char guid[40];
                        std::snprintf(guid, sizeof guid, "%032X", id);
                        t += "<LIFT" + Attr("Name", "Entrance " + std::to_string(l + 1)) +
                             Attr("ID", "R" + std::to_string(id)) + Attr("GUID", guid) +
                             Attr("Ident", std::to_string(id)) + Attr("InsContr", "1") +
                             Attr("Key", "0123456789ABCDEF0123456789ABCDEF") +
                             Attr("NameLock", "lock") + Attr("Owner", "Housing trust 12") +
                             Attr("ServBrig", "Crew 3") + Attr("Mehan", "Ivanov") +
                             Attr("RegNum", "77-" + std::to_string(id)) + Attr("Model", "PP-0411") +
                             Attr("Wight", "400") + Attr("Speed", "1.0") + Attr("TotlStop", "9") +
                             Attr("JobYear", "1987") + Attr("DatTO", "01.03.2024") +
                             Attr("Manuf", "MLM") + Attr("Reduct", "RCh-160") +
                             Attr("ElDriver", "AC-2") + Attr("Kanat", "4x10.5") +
                             Attr("SkafManag", "UL") + Attr("SignalMan", "OLS") +
                             Attr("FactoryNumLU", std::to_string(900000 + id)) +
                             Attr("SIPAddr", "sip.example") + Attr("SIPLogin", std::to_string(id)) +
                             Attr("SIPPasswd", "secret") + Attr("Typ", "0") +
                             Attr("TotLvlUnder", "1") + Attr("NameFloor", "B;1;2;3;4;5;6;7;8") +
                             Attr("Access", "1") + Attr("Comment", "first\\r\\nsecond") +
                             Attr("VideoCmd", "cam") + Attr("VideoPhone", "cam2") +
                             Attr("Lat", "55.750000") + Attr("Long", "37.610000") +
                             Attr("ExclStat", "1") + Attr("IdDB", std::to_string(id)) + ">";
                        t += "<TabState><State Number=\"33\" ShortName=\"Door\" Pulsar=\"1\"/>"
                             "<State Number=\"34\" ShortName=\"Light\"/></TabState>"
                             "<TabOut><Out Number=\"1\" ShortOn=\"On\" ShortOff=\"Off\"/></TabOut>"
                             "<TabDev><Dev Address=\"2\" Short=\"T\" Full=\"Terminal\" Typ=\"3\"/>"
                             "</TabDev></LIFT>";
                    }
                    t += "</HOME>";
                }
                t += "</STREET>";
            }
            t += "</DISP>";
        }
        t += "</PULT></TERQCLOUD>\n";
        return t;
    }();
    return text;
}

// Reads every attribute of every element, as a loader at least must.
size_t WalkAttributes(xmlDoc* doc, xmlNode* node) {
    size_t total = 0;
    for (; node != nullptr; node = node->next) {
        if (node->type != XML_ELEMENT_NODE) continue;
        for (xmlAttr* a = node->properties; a != nullptr; a = a->next) {
            xmlChar* v = xmlNodeListGetString(doc, a->children, 1);
            total += v != nullptr ? std::strlen(reinterpret_cast<const char*>(v)) : 0;
            xmlFree(v);
        }
        total += WalkAttributes(doc, node->children);
    }
    return total;
}

// Both sides tear down outside the timing: the model with its document, the bare document.
void CloudLoadStr(benchmark::State& state) {
    const std::string& text = Document();
    for (auto _ : state) {
        auto cloud = std::make_unique<CBenchCloud>();
        cloud->XMLLoadStr(text.c_str());
        benchmark::DoNotOptimize(cloud->m_Child.size());
        state.PauseTiming();
        cloud.reset();
        malloc_trim(0);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(CloudLoadStr)->Unit(benchmark::kMillisecond)->Iterations(5);

void BareParseWalk(benchmark::State& state) {
    const std::string& text = Document();
    for (auto _ : state) {
        xmlDoc* doc = xmlReadDoc(reinterpret_cast<const xmlChar*>(text.c_str()), nullptr, nullptr,
                                 kParseOld10);
        benchmark::DoNotOptimize(WalkAttributes(doc, doc->children));
        state.PauseTiming();
        xmlFreeDoc(doc);
        malloc_trim(0);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BareParseWalk)->Unit(benchmark::kMillisecond)->Iterations(5);

// A reload as a host does it: the old tree and document freed inside the timing on both sides.
void CloudReloadStr(benchmark::State& state) {
    const std::string& text = Document();
    CBenchCloud cloud;
    for (auto _ : state) {
        cloud.Clear();
        cloud.XMLLoadStr(text.c_str());
        benchmark::DoNotOptimize(cloud.m_Child.size());
    }
}
BENCHMARK(CloudReloadStr)->Unit(benchmark::kMillisecond)->Iterations(5);

void BareReparseWalk(benchmark::State& state) {
    const std::string& text = Document();
    xmlDoc* doc = nullptr;
    for (auto _ : state) {
        if (doc != nullptr) {
            xmlFreeDoc(doc);
            malloc_trim(0);  // as the model does with every document it frees
        }
        doc = xmlReadDoc(reinterpret_cast<const xmlChar*>(text.c_str()), nullptr, nullptr,
                         kParseOld10);
        benchmark::DoNotOptimize(WalkAttributes(doc, doc->children));
    }
    xmlFreeDoc(doc);
}
BENCHMARK(BareReparseWalk)->Unit(benchmark::kMillisecond)->Iterations(5);

void CloudXMLStrRoot(benchmark::State& state) {
    CBenchCloud cloud;
    cloud.XMLLoadStr(Document().c_str());
    std::string out;
    for (auto _ : state) {
        cloud.XMLStr(out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["text_MiB"] = static_cast<double>(out.size()) / (1024.0 * 1024.0);
}
BENCHMARK(CloudXMLStrRoot)->Unit(benchmark::kMillisecond)->Iterations(10);

void BareDump(benchmark::State& state) {
    xmlDoc* doc = xmlReadDoc(reinterpret_cast<const xmlChar*>(Document().c_str()), nullptr, nullptr,
                             kParseOld10);
    for (auto _ : state) {
        xmlChar* dump = nullptr;
        int size = 0;
        xmlDocDumpFormatMemoryEnc(doc, &dump, &size, "utf-8", 0);
        benchmark::DoNotOptimize(dump);
        xmlFree(dump);
    }
    xmlFreeDoc(doc);
}
BENCHMARK(BareDump)->Unit(benchmark::kMillisecond)->Iterations(10);

void EditOneLift(benchmark::State& state) {
    CBenchCloud cloud;
    cloud.XMLLoadStr(Document().c_str());
    auto* team = static_cast<TERQCloud::CTeamB*>(cloud.m_Child[0]);
    team->SetStruct();
    TERQCloud::CLiftB* lift = team->FindLift(54321);
    std::string out;
    int n = 0;
    for (auto _ : state) {
        lift->m_Owner = DBString(L"Owner ") + DBString(std::to_wstring(++n));
        lift->m_Modify = true;
        lift->XMLUpdateG();
        lift->XMLStr(out);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(EditOneLift)->Unit(benchmark::kMicrosecond);

// VmHWM and VmRSS in kB.
long Status(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) return std::stol(line.substr(std::strlen(key)));
    return -1;
}

// Resets the peak to the current resident size (Linux: clear_refs 5).
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

void PeakRss(benchmark::State& state) {
    const std::string& text = Document();
    long bare = 0, model = 0;
    for (auto _ : state) {
        malloc_trim(0);
        ResetPeak();
        long base = Status("VmRSS:");
        xmlDoc* doc = xmlReadDoc(reinterpret_cast<const xmlChar*>(text.c_str()), nullptr, nullptr,
                                 kParseOld10);
        bare = Status("VmHWM:") - base;
        xmlFreeDoc(doc);
        malloc_trim(0);
        ResetPeak();
        base = Status("VmRSS:");
        {
            CBenchCloud cloud;
            cloud.XMLLoadStr(text.c_str());
            model = Status("VmHWM:") - base;
        }
        malloc_trim(0);
    }
    state.counters["bare_MiB"] = static_cast<double>(bare) / 1024.0;
    state.counters["model_MiB"] = static_cast<double>(model) / 1024.0;
    state.counters["ratio"] = bare > 0 ? static_cast<double>(model) / static_cast<double>(bare) : 0;
}
BENCHMARK(PeakRss)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
