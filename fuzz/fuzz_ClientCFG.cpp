// Arbitrary bytes as the configuration document's text: a result or ErrorXML, nothing else.
#include <cstddef>
#include <cstdint>
#include <string>

#include <libxml/parser.h>

#include "clientcfg/ClientCFG.h"
#include "lib/Xml.h"

namespace {
void Quiet(void*, const char*, ...) {}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = [] {
        xmlSetGenericErrorFunc(nullptr, Quiet);
        return true;
    }();
    (void)quiet;
    CClientCFG cfg;
    try {
        cfg.XMLLoadStr(std::string(reinterpret_cast<const char*>(data), size));
        cfg.XMLUpdate();
        std::string out;
        cfg.XMLSaveStr(out);
    } catch (const ErrorXML&) {
    }
    return 0;
}
