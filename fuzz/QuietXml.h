// The XML targets feed libxml2 millions of broken documents: its error printing would drown the
// fuzzer's own output and slow every run.
#pragma once

#include <libxml/xmlerror.h>

inline void IgnoreXmlError(void*, const char*, ...) {}

inline void QuietXml() {
    static const bool once = (xmlSetGenericErrorFunc(nullptr, IgnoreXmlError), true);
    (void)once;
}
