// Helpers shared by the cloud model's sources: element matching and creation, the composite
// attribute forms and the duplicate report. Internal: hosts include dblib/CloudStr.h.
#pragma once

#include <cstdint>

#include <libxml/tree.h>

#include "dblib/CloudStr.h"

namespace TERQCloud::CloudXml {

// An element node of that name.
inline bool Is(const xmlNode* node, const char* name) {
    return node->type == XML_ELEMENT_NODE &&
           xmlStrEqual(node->name, reinterpret_cast<const xmlChar*>(name)) != 0;
}

// A new last child element of parent; throws ErrorXML 41076 with the name when parent is null
// or libxml2 makes nothing.
xmlNode* NewChild(xmlNode* parent, const char* name);

// "r,g,b" packed as r + 256 g + 65536 b, each masked to 8 bits; absent or unreadable parts 0.
std::uint32_t LoadColor(xmlNode* node, const char* element, const char* attr);
void UpdateColor(xmlNode* node, const char* element, const char* attr, std::uint32_t color);
// "a,b" (missing numbers 0), written with "%d,%d".
void LoadPair(xmlNode* node, const char* element, const char* attr, int& a, int& b);
void UpdatePair(xmlNode* node, const char* element, const char* attr, int a, int b);

// The prefix followed by the duplicate text id, to the root's ReportMsg with code 0.
void ReportRepeat(CNodeB* node, const DBString& prefix, unsigned short id);

}  // namespace TERQCloud::CloudXml
