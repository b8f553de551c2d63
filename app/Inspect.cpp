#include "app/Inspect.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <stdexcept>

#include <fcntl.h>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <sys/stat.h>
#include <unistd.h>

#include "clientcfg/ClientCFG.h"
#include "dblib/CloudStr.h"
#include "dblib/LoadRes.h"
#include "lib/TERQLibRes.h"
#include "lib/Um.h"

#ifndef TERQ_VERSION
#define TERQ_VERSION "0"
#endif

namespace {

// Larger files are refused before reading: libxml2 takes lengths as int.
constexpr off_t kMaxFile = off_t{1} << 30;

void Quiet(void*, const char*, ...) {}

struct XmlDocFree {
    void operator()(xmlDoc* d) const noexcept { xmlFreeDoc(d); }
};
struct XmlCharFree {
    void operator()(xmlChar* s) const noexcept { xmlFree(s); }
};

class CFd final {
public:
    explicit CFd(int fd) : m_Fd(fd) {}
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    ~CFd() {
        if (m_Fd >= 0) close(m_Fd);
    }
    int m_Fd;
};

template <typename... Args>
DBString Text(unsigned short id, Args... args) {
    DBString text;
    text.Format(_S_(id).c_str(), args...);
    return text;
}

}  // namespace

// Every report of the model, duplicates and misplaced lifts alike, arrives through ReportMsg.
struct CInspect::SCloud final : public TERQCloud::CCloudB {
    void ReportMsg(const DBString& text, int) override { m_Reports.push_back(text); }
    void ReportErr(const DBString& text, int) override { m_Reports.push_back(text); }
    std::vector<DBString> m_Reports;
};

struct CInspect::SNet final {
    class CLog final : public CDisp {
    public:
        void PutLog(const wchar_t* text, bool) override { m_Reports.emplace_back(text); }
        std::vector<DBString> m_Reports;
    };
    // The local module is chosen after loading, for the reachability search.
    class CLocalPult final : public CPult {
    public:
        explicit CLocalPult(CDisp* disp) : CPult(disp) {}
        int NumUM() const override { return m_Local; }
        int m_Local = -1;
    };

    // The modules point into the document: declared after it, so they go first.
    std::unique_ptr<xmlDoc, XmlDocFree> m_Doc;
    CLog m_Log;
    CLocalPult m_Pult{&m_Log};
    CUMTab m_Tab{&m_Pult};
};

CInspect::CInspect() {
    static const bool quiet = [] {
        xmlInitParser();
        // Parse errors are reported once, as one line naming the file; libxml2 stays silent.
        xmlSetGenericErrorFunc(nullptr, Quiet);
        return true;
    }();
    (void)quiet;
}

CInspect::~CInspect() = default;

bool CInspect::Fail(unsigned short id, const std::string& path, const DBString& what) {
    m_Error = Text(id, DBString(path).c_str(), what.c_str());
    return false;
}

bool CInspect::FailXml(const std::string& path) {
    const xmlError* e = xmlGetLastError();
    DBString message(e != nullptr && e->message != nullptr ? e->message : "");
    while (!message.empty() && (message.back() == L'\n' || message.back() == L' '))
        message.pop_back();
    m_Error = Text(IDS_INSPECT_NOT_XML, DBString(path).c_str(), e != nullptr ? e->line : 0,
                   message.c_str());
    return false;
}

bool CInspect::ReadFile(const std::string& path, std::string& text) {
    // Non-blocking, so that a FIFO cannot hold the tool in open; it is refused below.
    CFd fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (fd.m_Fd < 0 || fstat(fd.m_Fd, &st) != 0)
        return Fail(IDS_INSPECT_READ, path, DBString(std::strerror(errno)));
    if (!S_ISREG(st.st_mode)) return Fail(IDS_INSPECT_NOT_FILE, path);
    if (st.st_size >= kMaxFile) return Fail(IDS_INSPECT_TOO_LARGE, path);
    text.resize(static_cast<size_t>(st.st_size));
    size_t done = 0;
    // The file may change under us: read what is there, at most the limit.
    for (;;) {
        if (done == text.size()) {
            if (text.size() >= static_cast<size_t>(kMaxFile))
                return Fail(IDS_INSPECT_TOO_LARGE, path);
            text.resize(done + 4096);
        }
        const ssize_t n = read(fd.m_Fd, &text[done], text.size() - done);
        if (n == 0) break;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Fail(IDS_INSPECT_READ, path, DBString(std::strerror(errno)));
        done += static_cast<size_t>(n);
    }
    text.resize(done);
    return true;
}

bool CInspect::IsText(const std::string& path, const std::string& text) {
    // The cloud model reads a C string: a zero byte would cut the document short unseen.
    const size_t zero = text.find('\0');
    if (zero == std::string::npos) return true;
    m_Error = Text(IDS_INSPECT_ZERO, DBString(path).c_str(), static_cast<int>(zero));
    return false;
}

bool CInspect::LoadCloud(const std::string& path) {
    m_Error.clear();
    m_Cloud.reset();
    std::string text;
    return ReadFile(path, text) && LoadCloudText(path, text);
}

bool CInspect::LoadCloudText(const std::string& path, const std::string& text) {
    m_Error.clear();
    m_Cloud.reset();
    if (!IsText(path, text)) return false;
    auto cloud = std::make_unique<SCloud>();
    xmlResetLastError();
    try {
        cloud->XMLLoadStr(text.c_str());
    } catch (const ErrorXML& e) {
        if (cloud->m_XMLDOMG == nullptr) return FailXml(path);
        return Fail(IDS_INSPECT_LOAD, path, e.m_Text);
    } catch (const std::invalid_argument& e) {
        return Fail(IDS_INSPECT_NUMBER, path, DBString(e.what()));
    } catch (const std::out_of_range& e) {
        return Fail(IDS_INSPECT_NUMBER, path, DBString(e.what()));
    } catch (const std::exception& e) {
        return Fail(IDS_INSPECT_LOAD, path, DBString(e.what()));
    }
    if (cloud->m_XMLNodeG == nullptr)
        return Fail(IDS_INSPECT_NO_CLOUD, path, DBString(TERQCloud::CCloudB::s_Cloud));
    m_Cloud = std::move(cloud);
    return true;
}

bool CInspect::LoadNet(const std::string& path) {
    m_Error.clear();
    m_Net.reset();
    std::string text;
    return ReadFile(path, text) && LoadNetText(path, text);
}

bool CInspect::LoadNetText(const std::string& path, const std::string& text) {
    m_Error.clear();
    m_Net.reset();
    if (!IsText(path, text)) return false;
    auto net = std::make_unique<SNet>();
    xmlResetLastError();
    net->m_Doc.reset(xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                                   XML_PARSE_NONET | XML_PARSE_OLD10));
    if (!net->m_Doc) return FailXml(path);
    try {
        net->m_Tab.XMLLoad(xmlDocGetRootElement(net->m_Doc.get()));
        net->m_Tab.SetLink();
    } catch (const ErrorXML& e) {
        return Fail(IDS_INSPECT_LOAD, path, e.m_Text);
    } catch (const std::invalid_argument& e) {
        return Fail(IDS_INSPECT_NUMBER, path, DBString(e.what()));
    } catch (const std::out_of_range& e) {
        return Fail(IDS_INSPECT_NUMBER, path, DBString(e.what()));
    } catch (const std::exception& e) {
        return Fail(IDS_INSPECT_LOAD, path, DBString(e.what()));
    }
    m_Net = std::move(net);
    return true;
}

bool CInspect::Lost(int local, std::vector<int>& lost) {
    lost.clear();
    if (!m_Net || m_Net->m_Tab.FindUM(local) == nullptr) return false;
    m_Net->m_Pult.m_Local = local;
    // Leaves every reachable module marked.
    m_Net->m_Tab.FindLostUM();
    for (const CUM* um : m_Net->m_Tab.m_List)
        if (!um->m_Mark) lost.push_back(um->m_Number);
    return true;
}

bool CInspect::WriteCloud(const std::string& path) {
    m_Error.clear();
    if (!m_Cloud) return false;
    // The model reports a failed save through ReportMsg: that is no load report.
    const size_t reports = m_Cloud->m_Reports.size();
    errno = 0;
    m_Cloud->XMLFile(path.c_str());
    if (m_Cloud->m_Reports.size() == reports) return true;
    const int code = errno;
    m_Cloud->m_Reports.resize(reports);
    return Fail(IDS_INSPECT_WRITE, path, DBString(std::strerror(code)));
}

bool CInspect::WriteNet(const std::string& path) {
    m_Error.clear();
    if (!m_Net) return false;
    xmlChar* dump = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(m_Net->m_Doc.get(), &dump, &size, "utf-8", 1);
    std::unique_ptr<xmlChar, XmlCharFree> owned(dump);
    const int code = dump == nullptr || size < 0
                         ? ENOMEM
                         : WriteThroughTemporary(path, reinterpret_cast<const char*>(dump),
                                                 static_cast<size_t>(size));
    if (code == 0) return true;
    return Fail(IDS_INSPECT_WRITE, path, DBString(std::strerror(code)));
}

CInspect::SCloudCount CInspect::CloudCount() const {
    using namespace TERQCloud;
    SCloudCount n;
    if (!m_Cloud) return n;
    // Groups nest: each one counts, at any depth.
    struct {
        int operator()(const CGroupArray& groups) const {
            int total = 0;
            for (const CGroupB* g : groups) total += 1 + (*this)(g->m_Groups);
            return total;
        }
    } groups;
    for (CNodeTreeB* t : m_Cloud->m_Child) {
        auto* team = dynamic_cast<CTeamB*>(t);
        if (team == nullptr) continue;
        ++n.teams;
        n.users += static_cast<int>(team->m_UserTab.m_Child.size());
        for (CNodeTreeB* p : team->m_Child) {
            auto* punct = dynamic_cast<CPunctB*>(p);
            if (punct == nullptr) continue;
            ++n.puncts;
            n.groups += groups(punct->m_Group.m_Groups);
            for (CNodeTreeB* street : punct->m_Child) {
                ++n.streets;
                for (CNodeTreeB* home : street->m_Child) {
                    ++n.homes;
                    n.lifts += static_cast<int>(home->m_Child.size());
                }
            }
        }
    }
    return n;
}

CInspect::SNetCount CInspect::NetCount() const {
    SNetCount n;
    if (!m_Net) return n;
    for (const CUM* um : m_Net->m_Tab.m_List) {
        ++n.modules;
        for (const CSlot* slot : um->m_TabSlot.m_List) {
            ++n.slots;
            n.devices += slot->m_TabDev.Count();
            // Each link once: a line link at its outgoing end, an Ethernet link in its table.
            if (slot->IsLine() && slot->m_pLink != nullptr) ++n.links;
            if (slot->IsEther()) n.links += slot->m_TabLinkNet.Count();
        }
    }
    return n;
}

const std::vector<DBString>& CInspect::CloudReports() const {
    static const std::vector<DBString> none;
    return m_Cloud ? m_Cloud->m_Reports : none;
}

const std::vector<DBString>& CInspect::NetReports() const {
    static const std::vector<DBString> none;
    return m_Net ? m_Net->m_Log.m_Reports : none;
}

// ---- the command line ----

namespace {

struct SArgs {
    std::string cloud, net, write, writeCloud, writeNet;
    int local = -1;
};

void Put(std::ostream& stream, const DBString& text) { stream << text.ToStr() << '\n'; }

// Fills args; returns -1 to go on, or the exit status with everything already printed.
int Parse(int argc, const char* const* argv, SArgs& args, std::ostream& out, std::ostream& err) {
    struct {
        const char* name;
        std::string* value;
    } const options[] = {{"--cloud", &args.cloud},
                         {"--net", &args.net},
                         {"--write", &args.write},
                         {"--write-cloud", &args.writeCloud},
                         {"--write-net", &args.writeNet}};
    std::string local;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") return Put(out, _S_(IDS_INSPECT_HELP)), ieClean;
        if (arg == "--version")
            return Put(out, Text(IDS_INSPECT_VERSION, DBString(TERQ_VERSION).c_str())), ieClean;
        const size_t eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        std::string* value = name == "--local" ? &local : nullptr;
        for (const auto& o : options)
            if (name == o.name) value = o.value;
        if (value == nullptr || arg.rfind("--", 0) != 0)
            return Put(err, Text(IDS_INSPECT_UNKNOWN, DBString(arg).c_str())), ieFailed;
        if (eq == std::string::npos && i + 1 == argc)
            return Put(err, Text(IDS_INSPECT_NO_VALUE, DBString(name).c_str())), ieFailed;
        *value = eq == std::string::npos ? argv[++i] : arg.substr(eq + 1);
        if (value->empty())
            return Put(err, Text(IDS_INSPECT_NO_VALUE, DBString(name).c_str())), ieFailed;
    }
    const auto needs = [&err](const char* option, const char* what) {
        Put(err, Text(IDS_INSPECT_NEEDS, DBString(option).c_str(), DBString(what).c_str()));
        return ieFailed;
    };
    if (args.cloud.empty() && args.net.empty())
        return Put(err, _S_(IDS_INSPECT_NO_INPUT)), ieFailed;
    if (!args.write.empty()) {
        if (!args.cloud.empty() && !args.net.empty())
            return Put(err, _S_(IDS_INSPECT_WRITE_WHICH)), ieFailed;
        (args.cloud.empty() ? args.writeNet : args.writeCloud) = args.write;
    }
    if (!args.writeCloud.empty() && args.cloud.empty()) return needs("--write-cloud", "--cloud");
    if (!args.writeNet.empty() && args.net.empty()) return needs("--write-net", "--net");
    if (!local.empty()) {
        if (args.net.empty()) return needs("--local", "--net");
        if (local.size() > 3 || local.find_first_not_of("0123456789") != std::string::npos ||
            std::stoi(local) > CUM::kMaxNumber)
            return Put(err, Text(IDS_INSPECT_BAD_LOCAL, DBString(local).c_str())), ieFailed;
        args.local = std::stoi(local);
    }
    return -1;
}

void PutReports(std::ostream& out, const std::vector<DBString>& reports) {
    Put(out, Text(IDS_INSPECT_REPORTS, static_cast<int>(reports.size())));
    for (DBString r : reports) {
        // One report a line, whatever names the document holds (a name may carry a line break).
        for (wchar_t& c : r)
            if (c < L' ') c = L' ';
        Put(out, L"    " + r);
    }
}

}  // namespace

int InspectMain(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    // The tool's texts live in the device layer's table; the data layer's speak in the reports.
    if (g_StringLocale.empty()) {
        TERQLib_rc();
        TERQDbLib_rc();
        TERQLibENU_rc();
        TERQDbLibENU_rc();
    }
    g_StringENU = false;
    CInspect inspect;  // before the configuration document: libxml2 must be quiet for it too
    CClientCFG::SetDefLanguage();

    SArgs args;
    if (const int rc = Parse(argc, argv, args, out, err); rc >= 0) return rc;
    // Everything is loaded and written before anything is printed: a failure prints one line.
    std::vector<int> lost;
    const bool ok =
        (args.cloud.empty() || inspect.LoadCloud(args.cloud)) &&
        (args.net.empty() || inspect.LoadNet(args.net)) &&
        (args.local < 0 || inspect.Lost(args.local, lost) ||
         (Put(err, Text(IDS_INSPECT_NO_LOCAL, DBString(args.net).c_str(), args.local)), false)) &&
        (args.writeCloud.empty() || inspect.WriteCloud(args.writeCloud)) &&
        (args.writeNet.empty() || inspect.WriteNet(args.writeNet));
    if (!ok) {
        if (!inspect.Error().empty()) Put(err, inspect.Error());
        return ieFailed;
    }

    if (!args.cloud.empty()) {
        const CInspect::SCloudCount n = inspect.CloudCount();
        Put(out, Text(IDS_INSPECT_CLOUD, DBString(args.cloud).c_str()));
        Put(out, Text(IDS_INSPECT_CLOUD_COUNT, n.teams, n.puncts, n.streets, n.homes, n.lifts,
                      n.groups, n.users));
        PutReports(out, inspect.CloudReports());
    }
    if (!args.net.empty()) {
        const CInspect::SNetCount n = inspect.NetCount();
        Put(out, Text(IDS_INSPECT_NET, DBString(args.net).c_str()));
        Put(out, Text(IDS_INSPECT_NET_COUNT, n.modules, n.slots, n.devices, n.links));
        PutReports(out, inspect.NetReports());
    }
    if (args.local >= 0) {
        DBString numbers;
        for (int n : lost) numbers.AppendFormat(numbers.empty() ? L"%d" : L", %d", n);
        Put(out, lost.empty() ? Text(IDS_INSPECT_ALL_REACHED, args.local)
                              : Text(IDS_INSPECT_LOST, args.local, numbers.c_str()));
    }
    for (const std::string* written : {&args.writeCloud, &args.writeNet})
        if (!written->empty()) Put(out, Text(IDS_INSPECT_WRITTEN, DBString(*written).c_str()));
    return inspect.CloudReports().empty() && inspect.NetReports().empty() ? ieClean : ieReports;
}
