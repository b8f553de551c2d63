// Arbitrary bytes as a network document: load a module table, rebuild its links, and search it.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>

#include <libxml/parser.h>

#include "fuzz/QuietXml.h"
#include "lib/Um.h"
#include "lib/Xml.h"

namespace {

struct DocFree {
    void operator()(xmlDoc* d) const noexcept { xmlFreeDoc(d); }
};

// Routes every far module through the first slot of the local module, so that messages and
// searches walk the routing path too.
class Host : public CDisp {
public:
    CSlot* FindSlot(CPult*, int) override { return m_route; }
    CSlot* m_route = nullptr;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QuietXml();
    if (size > INT_MAX) return 0;
    std::unique_ptr<xmlDoc, DocFree> doc(xmlReadMemory(reinterpret_cast<const char*>(data),
                                                       static_cast<int>(size), nullptr, nullptr,
                                                       XML_PARSE_NONET | XML_PARSE_OLD10));
    if (!doc) return 0;
    Host host;
    CPult pult(&host, 1, true, 2);
    CUMTab tab(&pult);
    try {
        tab.XMLLoad(xmlDocGetRootElement(doc.get()));
        tab.SetLink();
        tab.FindLostUM();
        if (CUM* local = tab.FindUM(1); local != nullptr && local->m_TabSlot.Count() > 0)
            host.m_route = local->m_TabSlot[0];
        const unsigned char b[4] = {1, 2, 3, 4};
        for (int i = 0; i < tab.Count(); ++i) {
            tab.RootSlot(tab[i]->m_Number);
            for (int s = 0; s < tab[i]->m_TabSlot.Count(); ++s)
                tab[i]->m_TabSlot[s]->AddMes(1, CMes::mtService, b, 4);
        }
    } catch (const ErrorXML&) {
    }
    return 0;
}
