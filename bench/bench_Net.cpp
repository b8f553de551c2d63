// The device network document: load + link rebuild + save against bare libxml2, and the
// message path AddMes + Put in messages per second.
#include <cstdlib>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include "lib/Um.h"

namespace {

constexpr int kModules = 256, kSlots = 16, kDevs = 8;

struct DocFree {
    void operator()(xmlDoc* d) const noexcept { xmlFreeDoc(d); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocFree>;

// 256 modules x 16 slots x 8 devices. Module 0 is local; slot 1 of module m is a line link to
// slot 0 of module m + 1, which is its input twin; every fourth slot is programmable.
const std::string& Document() {
    static const std::string doc = [] {
        std::string s = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Net>\n";
        for (int m = 0; m < kModules; ++m) {
            s += "<Um Number=\"" + std::to_string(m) + "\" Note=\"module\">\n";
            for (int k = 0; k < kSlots; ++k) {
                const bool line = k == 1 && m + 1 < kModules;
                const int typ = line ? 2 : (k == 0 && m > 0 ? 3 : 1);
                s += "<Slot Number=\"" + std::to_string(k) + "\" TypSlot=\"" + std::to_string(typ) +
                     "\" Program=\"" + (k % 4 == 0 ? "1" : "0") + "\"";
                if (line) s += " LinkUM=\"" + std::to_string(m + 1) + "\" LinkSlot=\"0\"";
                s += "><TabDev>";
                for (int d = 0; d < kDevs; ++d) s += "<Dev Addr=\"" + std::to_string(d) + "\"/>";
                s += "</TabDev></Slot>\n";
            }
            s += "</Um>\n";
        }
        return s + "</Net>\n";
    }();
    return doc;
}

DocPtr Parse() {
    const std::string& s = Document();
    return DocPtr(xmlReadMemory(s.data(), static_cast<int>(s.size()), nullptr, nullptr, 0));
}

std::string Dump(xmlDoc* doc) {
    xmlChar* mem = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(doc, &mem, &size, "utf-8", 1);
    std::string out(reinterpret_cast<char*>(mem), static_cast<size_t>(size));
    xmlFree(mem);
    return out;
}

// What any reader of the document does at least: every element, every attribute as a number.
long Walk(xmlNode* node) {
    long sum = 0;
    for (xmlNode* n = node; n != nullptr; n = n->next) {
        if (n->type != XML_ELEMENT_NODE) continue;
        for (xmlAttr* a = n->properties; a != nullptr; a = a->next) {
            xmlChar* v = xmlGetProp(n, a->name);
            sum += std::strtol(reinterpret_cast<char*>(v), nullptr, 10);
            xmlFree(v);
        }
        sum += Walk(n->children);
    }
    return sum;
}

// Both loads leave the freeing of what they built out of the figure.
void BM_LoadBare(benchmark::State& state) {
    for (auto _ : state) {
        DocPtr doc = Parse();
        benchmark::DoNotOptimize(Walk(xmlDocGetRootElement(doc.get())));
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadBare)->Unit(benchmark::kMillisecond);

void BM_LoadNet(benchmark::State& state) {
    CPult pult(nullptr, 0);
    for (auto _ : state) {
        DocPtr doc = Parse();
        auto tab = std::make_unique<CUMTab>(&pult);
        tab->XMLLoad(xmlDocGetRootElement(doc.get()));
        tab->SetLink();
        state.PauseTiming();
        if (tab->Count() != kModules || tab->FindLostUM() != -1)
            state.SkipWithError("the generated network did not load whole");
        tab.reset();
        doc.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadNet)->Unit(benchmark::kMillisecond);

void BM_SaveBare(benchmark::State& state) {
    DocPtr doc = Parse();
    for (auto _ : state) benchmark::DoNotOptimize(Dump(doc.get()));
}
BENCHMARK(BM_SaveBare)->Unit(benchmark::kMillisecond);

// The model keeps its document current: saving after load and link rebuild is the dump.
void BM_SaveNet(benchmark::State& state) {
    DocPtr doc = Parse();
    CPult pult(nullptr, 0);
    CUMTab tab(&pult);
    tab.XMLLoad(xmlDocGetRootElement(doc.get()));
    tab.SetLink();
    for (auto _ : state) benchmark::DoNotOptimize(Dump(doc.get()));
}
BENCHMARK(BM_SaveNet)->Unit(benchmark::kMillisecond);

// A model written out whole into a fresh document (XMLAdd of every element), then dumped.
void BM_SaveNetRebuilt(benchmark::State& state) {
    DocPtr src = Parse();
    CPult pult(nullptr, 0);
    CUMTab tab(&pult);
    tab.XMLLoad(xmlDocGetRootElement(src.get()));
    for (auto _ : state) {
        DocPtr doc(xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0")));
        xmlNode* root = xmlNewNode(nullptr, reinterpret_cast<const xmlChar*>("Net"));
        xmlDocSetRootElement(doc.get(), root);
        tab.XMLAdd(root);
        benchmark::DoNotOptimize(Dump(doc.get()));
    }
}
BENCHMARK(BM_SaveNetRebuilt)->Unit(benchmark::kMillisecond);

// Counts what it is handed; far modules go out through the local slot.
class CountingHost : public CDisp {
public:
    void SendPack(CPult*, CPackMes& pack) override {
        ++packs;
        bytes += pack.GetLen();
    }
    CSlot* FindSlot(CPult*, int) override { return route; }
    CSlot* route = nullptr;
    long packs = 0, bytes = 0;
};

void BM_AddMesPut(benchmark::State& state) {
    CountingHost host;
    CPult pult(&host, 0, true);
    CUMTab tab(&pult);
    host.route = tab.FindBlokIns(0, 1);
    CSlot* far = tab.FindBlokIns(5, 3);
    CDev* dev = new CDev(7);
    far->m_TabDev.Insert(dev);
    const unsigned char b[6] = {1, 2, 3, 4, 5, 6};
    int n = 0;
    for (auto _ : state) {
        dev->AddMes(3, CMes::mtService, CMes::askMain, b, 6);
        if (++n % 64 == 0) far->Put();
    }
    far->Put();
    state.SetItemsProcessed(state.iterations());
    state.counters["packets"] = static_cast<double>(host.packs);
}
BENCHMARK(BM_AddMesPut);

}  // namespace

BENCHMARK_MAIN();
