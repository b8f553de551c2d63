#include "lib/Xml.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include <arpa/inet.h>
#include <libxml/xmlsave.h>
#include <sys/stat.h>
#include <unistd.h>

#include "dblib/LoadRes.h"
#include "lib/TERQLibRes.h"
#include "lib/utilities.h"

namespace {

struct XmlCharFree {
    void operator()(xmlChar* s) const noexcept { xmlFree(s); }
};
using XmlCharPtr = std::unique_ptr<xmlChar, XmlCharFree>;

DBString Wide(const wchar_t* text) { return DBString(text ? text : L""); }
DBString Narrow(const char* utf8) { return DBString(utf8 ? utf8 : ""); }

// " parameters <p> elements <e>" in the order the messages read.
DBString ParamsElements(const DBString& p, const DBString& e) {
    return DBString(L" parameters ") + p + L" elements " + e;
}

// An attribute's text: the text node's own content when the value is one plain text node (no
// copy: the cloud model reads some forty attributes per lift), else libxml2's copy, which also
// resolves entity references and DTD defaults.
class AttrText {
public:
    AttrText(xmlNode* node, const char* attr) {
        if (node == nullptr || attr == nullptr) return;
        const auto* name = reinterpret_cast<const xmlChar*>(attr);
        for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
            if (!xmlStrEqual(a->name, name)) continue;
            const xmlNode* c = a->children;
            if (c != nullptr && c->next == nullptr &&
                (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) &&
                c->content != nullptr) {
                m_text = c->content;
                return;
            }
            break;
        }
        m_owned.reset(xmlGetProp(node, name));
        m_text = m_owned.get();
    }
    explicit operator bool() const { return m_text != nullptr; }
    const char* get() const { return reinterpret_cast<const char*>(m_text); }

private:
    const xmlChar* m_text = nullptr;
    XmlCharPtr m_owned;
};

AttrText GetAttr(xmlNode* node, const char* attr) { return AttrText(node, attr); }

const char* Text(const AttrText& value) { return value.get(); }

void RemoveAttr(xmlNode* node, const char* attr) {
    if (node == nullptr || attr == nullptr) return;
    xmlUnsetProp(node, reinterpret_cast<const xmlChar*>(attr));  // absent is no error
}

void SetAttr(xmlNode* node, const char* element, const char* attr, const std::string& value) {
    if (node == nullptr || attr == nullptr ||
        xmlSetProp(node, reinterpret_cast<const xmlChar*>(attr),
                   reinterpret_cast<const xmlChar*>(value.c_str())) == nullptr) {
        throw ErrorXML(IDS_XML_APPEND, element, attr);
    }
}

}  // namespace

ErrorXML::ErrorXML(const wchar_t* a, int code, const wchar_t* e)
    : m_Text(Wide(a) + L" elements " + Wide(e)), m_Code(code) {}

ErrorXML::ErrorXML(const wchar_t* a, int code, const wchar_t* e, const wchar_t* p)
    : m_Text(Wide(a) + ParamsElements(Wide(p), Wide(e))), m_Code(code) {}

ErrorXML::ErrorXML(const char* a) : m_Text(Narrow(a)) {}

ErrorXML::ErrorXML(const char* a, const char* e) : m_Text(Narrow(a)) {
    if (e != nullptr) m_Text += DBString(L" elements ") + Narrow(e);
}

ErrorXML::ErrorXML(const char* a, const char* e, const char* p)
    : m_Text(Narrow(a) + ParamsElements(Narrow(p), Narrow(e))) {}

ErrorXML::ErrorXML(int id) : m_Text(_S_(static_cast<unsigned short>(id))) {}

ErrorXML::ErrorXML(int id, const char* e) : m_Text(_S_(static_cast<unsigned short>(id))) {
    if (e != nullptr) m_Text += DBString(L" elements ") + Narrow(e);
}

ErrorXML::ErrorXML(int id, const char* e, const char* p)
    : m_Text(_S_(static_cast<unsigned short>(id)) + ParamsElements(Narrow(p), Narrow(e))) {}

namespace TERQCloud {

DBString CNodeB::XMLLoadString(xmlNode* node, const char*, const char* attr, bool trim) {
    const AttrText value = GetAttr(node, attr);
    if (!value) return DBString();
    DBString text(Text(value));
    if (trim) text.Trim();
    return text;
}

int CNodeB::XMLLoadInteger(xmlNode* node, const char*, const char* attr, int def) {
    const AttrText value = GetAttr(node, attr);
    if (!value) return def;
    return static_cast<int>(std::strtol(Text(value), nullptr, 10));
}

double CNodeB::XMLLoadDouble(xmlNode* node, const char*, const char* attr, double def) {
    const AttrText value = GetAttr(node, attr);
    if (!value) return def;
    return std::strtod(Text(value), nullptr);
}

DBTime CNodeB::XMLLoadDateTime(xmlNode* node, const char*, const char* attr) {
    const AttrText value = GetAttr(node, attr);
    if (!value) return DBTime();
    int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
    if (std::sscanf(Text(value), "%d.%d.%d %d:%d:%d", &day, &month, &year, &hour, &minute,
                    &second) != 6) {
        return DBTime();
    }
    return DBTime(year, month, day, hour, minute, second);
}

int CNodeB::XMLLoadIP(xmlNode* node, const char*, const char* attr, int def) {
    const AttrText value = GetAttr(node, attr);
    if (!value) return def;
    int b[4] = {};
    if (std::sscanf(Text(value), "%d.%d.%d.%d", &b[0], &b[1], &b[2], &b[3]) != 4) return def;
    std::uint32_t address = 0;
    for (int i = 3; i >= 0; --i)
        address = (address << 8) | (static_cast<std::uint32_t>(b[i]) & 0xFFu);
    return static_cast<int>(address);
}

in6_addr CNodeB::XMLLoadIPv6(xmlNode* node, const char*, const char* attr) {
    in6_addr address{};
    const AttrText value = GetAttr(node, attr);
    if (!value || inet_pton(AF_INET6, Text(value), &address) != 1) address = in6_addr{};
    return address;
}

bool CNodeB::XMLLoadBool(xmlNode* node, const char*, const char* attr, bool def) {
    const AttrText value = GetAttr(node, attr);
    if (!value) return def;
    return std::strtol(Text(value), nullptr, 10) != 0;
}

void CNodeB::XMLUpdateString(xmlNode* node,
                             const char* element,
                             const char* attr,
                             const DBString& value) {
    if (value.empty()) {
        RemoveAttr(node, attr);
        return;
    }
    SetAttr(node, element, attr, value.ToStr());
}

void CNodeB::XMLUpdateInteger(
    xmlNode* node, const char* element, const char* attr, int value, bool force) {
    if (value == 0 && !force) {
        RemoveAttr(node, attr);
        return;
    }
    SetAttr(node, element, attr, std::to_string(value));
}

void CNodeB::XMLUpdateDouble(xmlNode* node, const char* element, const char* attr, double value) {
    if (value > -1e-9 && value < 1e-9) {
        RemoveAttr(node, attr);
        return;
    }
    char text[400];  // "%f" of the largest double needs 316 characters
    std::snprintf(text, sizeof text, "%f", value);
    SetAttr(node, element, attr, text);
}

void CNodeB::XMLUpdateDateTime(xmlNode* node,
                               const char* element,
                               const char* attr,
                               const DBTime& value) {
    SetAttr(node, element, attr, value.DatTimStr());
}

void CNodeB::XMLUpdateIP(
    xmlNode* node, const char* element, const char* attr, int value, bool force) {
    if (value == 0 && !force) {
        RemoveAttr(node, attr);
        return;
    }
    const auto address = static_cast<std::uint32_t>(value);
    char text[32];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", address & 0xFFu, (address >> 8) & 0xFFu,
                  (address >> 16) & 0xFFu, (address >> 24) & 0xFFu);
    SetAttr(node, element, attr, text);
}

void CNodeB::XMLUpdateIPv6(xmlNode* node,
                           const char* element,
                           const char* attr,
                           const in6_addr& value) {
    if (isNulIPv6(value)) {
        RemoveAttr(node, attr);
        return;
    }
    char text[INET6_ADDRSTRLEN] = {};
    inet_ntop(AF_INET6, &value, text, sizeof text);
    SetAttr(node, element, attr, text);
}

void CNodeB::XMLUpdateBool(
    xmlNode* node, const char* element, const char* attr, bool value, bool force) {
    if (!value && !force) {
        RemoveAttr(node, attr);
        return;
    }
    SetAttr(node, element, attr, value ? "1" : "0");
}

bool CNodeB::isNulIPv6(const in6_addr& address) { return ::isNulIPv6(address); }

}  // namespace TERQCloud

namespace {

// Mode bits a newly created file gets: 0666 less the process umask, read without changing it
// (umask() would race with other threads creating files, such as a log's writer).
mode_t NewFileMode() {
    mode_t mask = 022;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, 6, "Umask:") == 0) {
            mask = static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
            break;
        }
    }
    return 0666 & ~mask;
}

// Every byte, past interruptions; false on the first failure.
bool WriteFd(int fd, const char* data, size_t size) {
    for (size_t done = 0; done < size;) {
        const ssize_t n = write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

int WriteAllIO(void* context, const char* buffer, int len) {
    return WriteFd(*static_cast<int*>(context), buffer, static_cast<size_t>(len)) ? len : -1;
}

int ThroughTemporary(const std::string& path,
                     bool* noTemporary,
                     const std::function<bool(int)>& fill) {
    if (noTemporary != nullptr) *noTemporary = false;
    std::string target = path;
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        // Replace the file the link names, not the link.
        if (char* real = realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    std::string temporary = target + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        const int code = errno;
        if (noTemporary != nullptr) *noTemporary = true;
        return code != 0 ? code : EIO;
    }
    struct stat old {};
    if (stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        // A mode that cannot be set leaves mkstemp's 0600: stricter, never looser, so not fatal.
        [[maybe_unused]] const int modeSet = fchmod(fd, old.st_mode & 07777);
        if (old.st_uid != geteuid() || old.st_gid != getegid()) {
            // Only root can give the file back to its owner; others keep their own.
            [[maybe_unused]] const int ownerSet = fchown(fd, old.st_uid, old.st_gid);
        }
    } else {
        [[maybe_unused]] const int modeSet = fchmod(fd, NewFileMode());
    }
    errno = 0;
    int code = fill(fd) ? 0 : (errno != 0 ? errno : EIO);
    if (code == 0 && fsync(fd) != 0) code = errno;
    if (close(fd) != 0 && code == 0) code = errno;
    if (code == 0 && rename(temporary.c_str(), target.c_str()) != 0) code = errno;
    if (code != 0) unlink(temporary.c_str());
    return code;
}

}  // namespace

int XMLSaveThroughTemporary(xmlDoc* doc, const std::string& path, bool* noTemporary) {
    return ThroughTemporary(path, noTemporary, [doc](int fd) {
        int context = fd;
        xmlOutputBuffer* out = xmlOutputBufferCreateIO(WriteAllIO, nullptr, &context,
                                                       xmlFindCharEncodingHandler("utf-8"));
        // Closes the buffer but not the descriptor.
        return out != nullptr && xmlSaveFormatFileTo(out, doc, "utf-8", 1) >= 0;
    });
}

int WriteThroughTemporary(const std::string& path,
                          const char* data,
                          size_t size,
                          bool* noTemporary) {
    return ThroughTemporary(path, noTemporary,
                            [data, size](int fd) { return WriteFd(fd, data, size); });
}
