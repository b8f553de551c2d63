// terq-inspect: loads a cloud structure document and a device-network document with the models,
// counts what they hold, collects their load reports and writes them back as the models do.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "dblib/DBString.h"

// Exit statuses of the tool.
enum typInspectExit : int {
    ieClean = 0,    // everything loaded without a report
    ieReports = 1,  // loaded, with load reports
    ieFailed = 2,   // a document unreadable or malformed, or a bad command line
};

// One inspection: at most one document of each kind. A failed load or write leaves Error() set
// and nothing on disk. Not thread-safe (libxml2's last error and the string tables are global).
class CInspect final {
public:
    struct SCloudCount {
        int teams = 0, puncts = 0, streets = 0, homes = 0, lifts = 0, groups = 0, users = 0;
    };
    struct SNetCount {
        int modules = 0, slots = 0, devices = 0, links = 0;
    };

    CInspect();
    CInspect(const CInspect&) = delete;
    CInspect& operator=(const CInspect&) = delete;
    ~CInspect();

    // Loads path as a cloud structure document; false, with Error() set, when the file cannot
    // be read, is not well-formed XML, has no cloud root element or makes the model throw.
    bool LoadCloud(const std::string& path);
    // Loads path as a device-network document (the root element holds the modules) and
    // rebuilds its links; false as for LoadCloud.
    bool LoadNet(const std::string& path);
    // The same on text already read; path only names it in Error().
    bool LoadCloudText(const std::string& path, const std::string& text);
    bool LoadNetText(const std::string& path, const std::string& text);
    // The numbers of the modules not reachable from module local, in list order; false when
    // no network is loaded or it has no module local.
    bool Lost(int local, std::vector<int>& lost);
    // Saves the loaded document as its model writes it, through a temporary file renamed over
    // path; false, with Error() set and path untouched, on failure.
    bool WriteCloud(const std::string& path);
    bool WriteNet(const std::string& path);

    SCloudCount CloudCount() const;
    SNetCount NetCount() const;
    // Load reports of each document, in the order the models gave them.
    const std::vector<DBString>& CloudReports() const;
    const std::vector<DBString>& NetReports() const;
    const DBString& Error() const { return m_Error; }

private:
    struct SCloud;
    struct SNet;
    bool ReadFile(const std::string& path, std::string& text);
    bool IsText(const std::string& path, const std::string& text);
    bool Fail(unsigned short id, const std::string& path, const DBString& what = DBString());
    bool FailXml(const std::string& path);

    std::unique_ptr<SCloud> m_Cloud;
    std::unique_ptr<SNet> m_Net;
    DBString m_Error;
};

// The whole tool: fills the string tables, takes the language from the client configuration
// document, parses args (argv[0] is skipped) and prints to out and err. Returns a typInspectExit.
int InspectMain(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
