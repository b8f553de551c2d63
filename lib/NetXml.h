// Element helpers shared by the device network's XML code.
#pragma once

#include <libxml/tree.h>

#include "lib/TERQLibRes.h"
#include "lib/Xml.h"

namespace NetXml {

// A new child element of parent; throws ErrorXML ("Error append" and the name) when libxml2
// refuses it or there is no parent.
inline xmlNode* NewChild(xmlNode* parent, const char* name) {
    xmlNode* node =
        parent == nullptr
            ? nullptr
            : xmlNewChild(parent, nullptr, reinterpret_cast<const xmlChar*>(name), nullptr);
    if (node == nullptr) throw ErrorXML(static_cast<int>(IDS_XML_APPEND), name);
    return node;
}

// Whether node is an element of that name.
inline bool Is(const xmlNode* node, const char* name) {
    return node != nullptr && node->type == XML_ELEMENT_NODE &&
           xmlStrcmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

// The first child element of that name, or null.
inline xmlNode* Child(xmlNode* node, const char* name) {
    for (xmlNode* c = node == nullptr ? nullptr : node->children; c != nullptr; c = c->next)
        if (Is(c, name)) return c;
    return nullptr;
}

// Unlinks and frees node (null: nothing) and clears the pointer.
inline void Remove(xmlNode*& node) {
    if (node == nullptr) return;
    xmlUnlinkNode(node);
    xmlFreeNode(node);
    node = nullptr;
}

}  // namespace NetXml
