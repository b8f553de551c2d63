// Arbitrary bytes as a cloud document: a loaded tree or ErrorXML, then every node can be
// serialised, sorted and asked for changes.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include <libxml/parser.h>

#include "dblib/CloudStr.h"
#include "fuzz/QuietXml.h"

namespace {

class CFuzzCloud : public TERQCloud::CCloudB {
public:
    void ReportMsg(const DBString& text, int) override { m_Size += text.size(); }
    void ReportErr(const DBString&, int) override {}
    size_t m_Size = 0;
};

void Walk(TERQCloud::CNodeTreeB* node) {
    std::string out;
    node->XMLStr(out);
    for (TERQCloud::CNodeTreeB* child : node->m_Child) Walk(child);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QuietXml();
    const std::string text(reinterpret_cast<const char*>(data), size);
    CFuzzCloud cloud;
    try {
        cloud.XMLLoadStr(text.c_str());
    } catch (const ErrorXML&) {
        return 0;
    } catch (const std::logic_error&) {  // a user's unreadable access text
        return 0;
    }
    Walk(&cloud);
    cloud.SortByName();
    (void)cloud.IsModify();
    for (TERQCloud::CNodeTreeB* team : cloud.m_Child)
        static_cast<TERQCloud::CTeamB*>(team)->SetStruct();
    std::string out;
    cloud.XMLStr(out);
    // A bound root's text is exactly libxml2's own dump of the document.
    xmlChar* dump = nullptr;
    int length = 0;
    xmlDocDumpFormatMemoryEnc(cloud.m_XMLDOMG, &dump, &length, "utf-8", 0);
    const bool same = out == std::string(reinterpret_cast<const char*>(dump),
                                         dump ? static_cast<size_t>(length) : 0);
    xmlFree(dump);
    if (cloud.m_XMLNodeG != nullptr && !same) __builtin_trap();
    return 0;
}
