// Arbitrary bytes as the configuration document's text: a result or ErrorXML, nothing else.
#include <cstddef>
#include <cstdint>
#include <string>

#include <libxml/parser.h>

#include "clientcfg/ClientCFG.h"
#include "fuzz/QuietXml.h"
#include "lib/Xml.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QuietXml();
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
