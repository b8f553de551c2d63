// The exception of every XML operation and the typed attribute readers and writers shared by
// the client configuration document and the cloud model.
#pragma once

#include <libxml/tree.h>
#include <netinet/in.h>

#include "dblib/DBString.h"
#include "dblib/DBTime.h"

// Thrown by value, caught by reference. The narrow texts are UTF-8; null texts count as empty.
class ErrorXML {
public:
    // "<a> elements <e>".
    ErrorXML(const wchar_t* a, int code, const wchar_t* e);
    // "<a> parameters <p> elements <e>".
    ErrorXML(const wchar_t* a, int code, const wchar_t* e, const wchar_t* p);
    explicit ErrorXML(const char* a);
    // a, then " elements <e>" when e is given.
    ErrorXML(const char* a, const char* e);
    // a, then " parameters <p> elements <e>".
    ErrorXML(const char* a, const char* e, const char* p);
    // The resource text of id in the current language.
    explicit ErrorXML(int id);
    // The resource text, then " elements <e>" when e is given.
    ErrorXML(int id, const char* e);
    // The resource text, then " parameters <p> elements <e>".
    ErrorXML(int id, const char* e, const char* p);

    DBString m_Text;
    int m_Code = 0;
};

namespace TERQCloud {

// Base of every cloud node. The node model adds its members here; the client configuration
// document and the device model use only the static attribute helpers. Readers never throw and
// give the stated default for an absent or unreadable attribute; writers remove the attribute
// for an "empty" value (unless forced) and throw the "append" ErrorXML when it cannot be set.
class CNodeB {
public:
    virtual ~CNodeB() = default;

    // With trim, leading and trailing blanks (U+0020 only) are removed.
    static DBString XMLLoadString(xmlNode* node, const char* element, const char* attr, bool trim);
    // strtol base 10, truncated to int.
    static int XMLLoadInteger(xmlNode* node, const char* element, const char* attr, int def);
    static double XMLLoadDouble(xmlNode* node, const char* element, const char* attr, double def);
    // "d.m.y h:m:s" exactly; anything else is the null time.
    static DBTime XMLLoadDateTime(xmlNode* node, const char* element, const char* attr);
    // "a.b.c.d", a in the lowest byte; anything else gives def.
    static int XMLLoadIP(xmlNode* node, const char* element, const char* attr, int def);
    // Unparsable or absent gives all zero.
    static in6_addr XMLLoadIPv6(xmlNode* node, const char* element, const char* attr);
    static bool XMLLoadBool(xmlNode* node, const char* element, const char* attr, bool def);

    static void XMLUpdateString(xmlNode* node,
                                const char* element,
                                const char* attr,
                                const DBString& value);
    static void XMLUpdateInteger(
        xmlNode* node, const char* element, const char* attr, int value, bool force);
    // Values within 1e-9 of zero are removed; others are written with "%f".
    static void XMLUpdateDouble(xmlNode* node, const char* element, const char* attr, double value);
    // Never removes.
    static void XMLUpdateDateTime(xmlNode* node,
                                  const char* element,
                                  const char* attr,
                                  const DBTime& value);
    static void XMLUpdateIP(
        xmlNode* node, const char* element, const char* attr, int value, bool force);
    static void XMLUpdateIPv6(xmlNode* node,
                              const char* element,
                              const char* attr,
                              const in6_addr& value);
    static void XMLUpdateBool(
        xmlNode* node, const char* element, const char* attr, bool value, bool force);

    // All 16 bytes zero, or the IPv4-mapped zero address ::ffff:0.0.0.0.
    static bool isNulIPv6(const in6_addr& address);
};

}  // namespace TERQCloud
