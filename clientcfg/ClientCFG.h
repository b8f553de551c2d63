// The client package's configuration file $HOME/TERQ/etc/TERQClient.xml, kept as a parsed libxml2
// document so that content this class does not know survives a load and a save.
#pragma once

#include <string>
#include <vector>

#include <libxml/tree.h>

#include "dblib/DBString.h"

class CNodeClientCFG;

// Owns the nodes it points to.
class CNodeClientCFGArray : public std::vector<CNodeClientCFG*> {
public:
    CNodeClientCFGArray() = default;
    CNodeClientCFGArray(const CNodeClientCFGArray&) = delete;
    CNodeClientCFGArray& operator=(const CNodeClientCFGArray&) = delete;
    ~CNodeClientCFGArray();

    // Deletes every element and empties the list.
    void Clear();
    // Erases the first entry equal to p without deleting it; nothing when p is absent.
    void Remove(const CNodeClientCFG* p);
};

// A node bound to one element of a document the root owns.
class CNodeClientCFG {
public:
    CNodeClientCFG() = default;
    CNodeClientCFG(const CNodeClientCFG&) = delete;
    CNodeClientCFG& operator=(const CNodeClientCFG&) = delete;
    virtual ~CNodeClientCFG() = default;

    // Writes the members into m_XMLNode; throws ErrorXML.
    virtual void XMLUpdate() = 0;
    virtual int TypNode() = 0;
    // Reports go to the root of the tree.
    virtual void BadPut(const wchar_t* text);
    virtual void BadPutErr(const wchar_t* text, int code);

    void Clear();
    CNodeClientCFG* FindRoot();
    // Unlinks the bound element from its tree and frees it.
    void XMLRemove();
    // Frees the bound element without unlinking it.
    void XMLRelease();

    CNodeClientCFG* m_Parent = nullptr;
    xmlNode* m_XMLNode = nullptr;
};

class CNodeClientCFGTree : public CNodeClientCFG {
public:
    // Deletes all children, then clears the node.
    void Clear();

    CNodeClientCFGArray m_Child;
};

// Root element "TERQClient" with the attribute "Language" ("rus" or "enu"). Failures of the XML
// layer throw ErrorXML with the resource texts 41076, 41080, 41083 and 41088.
class CClientCFG : public CNodeClientCFGTree {
public:
    CClientCFG();
    ~CClientCFG() override;

    static const char* const s_Root;
    static const char* const s_Language;
    static const wchar_t* const s_Rus;
    static const wchar_t* const s_Enu;

    int TypNode() override { return 10; }
    void XMLUpdate() override;
    // Date-time text and the text on standard output.
    void BadPut(const wchar_t* text) override;
    void BadPutErr(const wchar_t* text, int code) override;

    // HOME + "/TERQ/etc/TERQClient.xml".
    static std::string FileName();
    // The home folder: HOME, or the account's home from the password database when HOME is
    // unset or empty, or "/" when neither exists.
    static std::string HomeDir();

    // The file, or the built-in document when the file cannot be parsed; throws 41083 only when
    // even the built-in text fails. Meant for an object that holds no document.
    void XMLLoadFile();
    // Writes the whole document, indented, through a temporary file renamed over the old one,
    // so that a failure leaves the old file intact; throws 41088 on failure.
    void XMLSaveFile();
    // Throws 41083 when the text does not parse.
    void XMLLoadStr(const std::string& text);
    // Unformatted dump of the whole document.
    void XMLSaveStr(std::string& text);
    // Rebinds the root element of the document held.
    void XMLLoad();
    void XMLLoad(xmlNode* element);
    void XMLCreate();
    void XMLAdd();
    // Frees the document; the bound element goes with it.
    void XMLRelease();
    // Clears children, parent and m_strLanguage; keeps m_Language and the document.
    void Clear();

    // Switches the string tables to English when the file says so; never back to Russian.
    static void SetDefLanguage();

    DBString m_strLanguage;
    int m_Language = 0;
    xmlDoc* m_XMLDOM = nullptr;

private:
    void BindRoot();
    void CreateRoot();
};
