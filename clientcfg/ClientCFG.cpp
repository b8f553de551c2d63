#include "clientcfg/ClientCFG.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include <fcntl.h>
#include <libxml/parser.h>
#include <libxml/xmlsave.h>
#include <malloc.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "dblib/DBTime.h"
#include "dblib/LoadRes.h"
#include "lib/BaseLog.h"
#include "lib/TERQLibRes.h"
#include "lib/Xml.h"

namespace {

const char kBuiltIn[] = "<?xml version=\"1.0\"?><TERQClient> </TERQClient>";

struct XmlCharFree {
    void operator()(xmlChar* s) const noexcept { xmlFree(s); }
};
using XmlCharPtr = std::unique_ptr<xmlChar, XmlCharFree>;

}  // namespace

CNodeClientCFGArray::~CNodeClientCFGArray() { Clear(); }

void CNodeClientCFGArray::Clear() {
    for (CNodeClientCFG* node : *this) delete node;
    clear();
}

void CNodeClientCFGArray::Remove(const CNodeClientCFG* p) {
    for (auto it = begin(); it != end(); ++it) {
        if (*it == p) {
            erase(it);
            return;
        }
    }
}

void CNodeClientCFG::BadPut(const wchar_t* text) {
    CNodeClientCFG* root = FindRoot();
    if (root != this) root->BadPut(text);
}

void CNodeClientCFG::BadPutErr(const wchar_t* text, int code) {
    CNodeClientCFG* root = FindRoot();
    if (root != this) root->BadPutErr(text, code);
}

void CNodeClientCFG::Clear() { m_Parent = nullptr; }

CNodeClientCFG* CNodeClientCFG::FindRoot() {
    CNodeClientCFG* node = this;
    while (node->m_Parent != nullptr) node = node->m_Parent;
    return node;
}

void CNodeClientCFG::XMLRemove() {
    if (m_XMLNode == nullptr) return;
    xmlUnlinkNode(m_XMLNode);
    xmlFreeNode(m_XMLNode);
    m_XMLNode = nullptr;
}

void CNodeClientCFG::XMLRelease() {
    if (m_XMLNode == nullptr) return;
    xmlFreeNode(m_XMLNode);
    m_XMLNode = nullptr;
}

void CNodeClientCFGTree::Clear() {
    m_Child.Clear();
    CNodeClientCFG::Clear();
}

const char* const CClientCFG::s_Root = "TERQClient";
const char* const CClientCFG::s_Language = "Language";
const wchar_t* const CClientCFG::s_Rus = L"rus";
const wchar_t* const CClientCFG::s_Enu = L"enu";

CClientCFG::CClientCFG() { Clear(); }

CClientCFG::~CClientCFG() {
    Clear();
    XMLRelease();
}

std::string CClientCFG::HomeDir() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return home;
    if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
        return pw->pw_dir;
    }
    return "/";
}

std::string CClientCFG::FileName() { return HomeDir() + "/TERQ/etc/TERQClient.xml"; }

void CClientCFG::XMLLoadFile() {
    m_XMLDOM = xmlReadFile(FileName().c_str(), nullptr, XML_PARSE_OLD10);
    if (m_XMLDOM == nullptr) {
        m_XMLDOM = xmlReadMemory(kBuiltIn, static_cast<int>(sizeof kBuiltIn - 1), nullptr, nullptr,
                                 XML_PARSE_OLD10);
        if (m_XMLDOM == nullptr) throw ErrorXML(IDS_XML_LOAD);
    }
    XMLLoad();
}

void CClientCFG::XMLLoadStr(const std::string& text) {
    if (text.size() > static_cast<std::size_t>(INT_MAX)) throw ErrorXML(IDS_XML_LOAD);
    m_XMLDOM = xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                             XML_PARSE_OLD10);
    if (m_XMLDOM == nullptr) throw ErrorXML(IDS_XML_LOAD);
    XMLLoad();
}

void CClientCFG::XMLLoad() {
    Clear();
    if (m_XMLDOM == nullptr) return;
    for (xmlNode* node = m_XMLDOM->children; node != nullptr; node = node->next) {
        if (node->type == XML_ELEMENT_NODE &&
            xmlStrcmp(node->name, reinterpret_cast<const xmlChar*>(s_Root)) == 0) {
            XMLLoad(node);
            return;
        }
    }
}

void CClientCFG::XMLLoad(xmlNode* element) {
    m_XMLNode = element;
    m_strLanguage = TERQCloud::CNodeB::XMLLoadString(element, s_Root, s_Language, true);
    // Anything but nothing or "rus" means English.
    m_Language = (m_strLanguage.empty() || m_strLanguage == s_Rus) ? 0 : 1;
}

void CClientCFG::XMLUpdate() {
    if (m_Language == 0) {
        m_strLanguage = s_Rus;
    } else if (m_Language == 1) {
        m_strLanguage = s_Enu;
    } else {
        m_strLanguage = DBString();
    }
    TERQCloud::CNodeB::XMLUpdateString(m_XMLNode, s_Root, s_Language, m_strLanguage);
}

void CClientCFG::BindRoot() {
    if (m_XMLDOM != nullptr && m_XMLNode != nullptr) xmlDocSetRootElement(m_XMLDOM, m_XMLNode);
}

void CClientCFG::XMLSaveFile() {
    if (m_XMLDOM == nullptr) throw ErrorXML(IDS_XML_SAVE);
    BindRoot();
    const std::string path = FileName();
    bool noTemporary = false;
    if (XMLSaveThroughTemporary(m_XMLDOM, path, &noTemporary) == 0) return;
    // No temporary file in that folder: the writer's own in-place save is all that is left.
    if (noTemporary && xmlSaveFormatFileEnc(path.c_str(), m_XMLDOM, "utf-8", 1) >= 0) return;
    throw ErrorXML(IDS_XML_SAVE);
}

void CClientCFG::XMLSaveStr(std::string& text) {
    text.clear();
    if (m_XMLDOM == nullptr) return;
    BindRoot();
    xmlChar* dump = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(m_XMLDOM, &dump, &size, "utf-8", 0);
    const XmlCharPtr owner(dump);
    if (dump != nullptr && size > 0) text.assign(reinterpret_cast<const char*>(dump), size);
}

void CClientCFG::CreateRoot() {
    xmlNode* root =
        xmlNewDocNode(m_XMLDOM, nullptr, reinterpret_cast<const xmlChar*>(s_Root), nullptr);
    if (root == nullptr) throw ErrorXML(IDS_XML_APPEND, s_Root);
    // A root already there is replaced and then belongs to nobody.
    if (xmlNode* old = xmlDocSetRootElement(m_XMLDOM, root)) xmlFreeNode(old);
    m_XMLNode = root;
}

void CClientCFG::XMLCreate() {
    m_XMLDOM = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    if (m_XMLDOM == nullptr) throw ErrorXML(IDS_XML_CREATE_PARSER);
    CreateRoot();
    XMLUpdate();
}

void CClientCFG::XMLAdd() {
    if (m_XMLDOM == nullptr) throw ErrorXML("!m_XMLDOM");
    CreateRoot();
    XMLUpdate();
}

void CClientCFG::XMLRelease() {
    if (m_XMLDOM != nullptr) {
        xmlFreeDoc(m_XMLDOM);
        malloc_trim(0);
    }
    m_XMLDOM = nullptr;
    m_XMLNode = nullptr;  // belonged to the document
}

void CClientCFG::Clear() {
    CNodeClientCFGTree::Clear();
    m_strLanguage = DBString();
}

void CClientCFG::SetDefLanguage() {
    CClientCFG cfg;
    cfg.XMLLoadFile();
    if (cfg.m_Language == 1) g_StringENU = true;
}

void CClientCFG::BadPut(const wchar_t* text) {
    std::cout << DBTime::CurDateTime().DatTimString().ToStr() << DBString(text).ToStr() << '\n'
              << std::flush;
}

void CClientCFG::BadPutErr(const wchar_t* text, int code) {
    BadPut(CBaseLog::CnvErr(text, code).c_str());
}
