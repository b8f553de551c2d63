#include "lib/BaseLog.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <utility>
#include <vector>

#include <arpa/inet.h>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "dblib/DBTime.h"
#include "lib/utilities.h"

namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

// Strings that grew past this size for one huge line give their memory back.
constexpr std::size_t kKeepCapacity = 64 * 1024;

// The narrow stamp "dd.mm.yyyy hh:mm:ss " of now, in the caller thread's reused line buffer.
// Formatting local time costs more than the rest of a Put, so each producer thread keeps the
// stamp of the current second.
std::string& StampedLine() {
    thread_local time_t s_second = -1;
    thread_local std::string s_stamp;
    thread_local std::string s_line;
    const time_t now = time(nullptr);
    if (now != s_second) {
        s_stamp = DBTime(now).DatTimStr();
        s_second = now;
    }
    s_line.assign(s_stamp);
    return s_line;
}

// Appends the UTF-8 form of text to line; ASCII is copied directly, anything else goes through
// DBString::ToStr so that invalid text gets its marker.
void AppendUtf8(std::string& line, const wchar_t* text, std::size_t length) {
    const std::size_t start = line.size();
    line.resize(start + length);
    char* out = &line[start];
    // No early exit, so that the compiler can vectorise the common all-ASCII case.
    std::uint32_t seen = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const auto c = static_cast<std::uint32_t>(text[i]);
        seen |= c;
        out[i] = static_cast<char>(c);
    }
    if (seen >= 0x80) {
        line.resize(start);
        line += DBString(std::wstring(text, length)).ToStr();
    }
}

std::string DirPath(CBaseLog& log, const char* name) {
    std::string path = log.Dir().ToStr();
    path += '/';
    path += name;
    return path;
}

}  // namespace

// ---- repeat filter ----

CBaseLog::DelayMsg::DelayMsg(int minutes)
    : m_nextSweep(time(nullptr) + static_cast<time_t>(minutes) * 60), m_minutes(minutes) {}

CBaseLog::DelayMsg::~DelayMsg() = default;

void CBaseLog::DelayMsg::SetClock(Clock clock) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_clock = std::move(clock);
    m_nextSweep = Now() + static_cast<time_t>(m_minutes) * 60;
}

time_t CBaseLog::DelayMsg::Now() const { return m_clock ? m_clock() : time(nullptr); }

bool CBaseLog::DelayMsg::IsNeedToPut(const std::string& text) {
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_minutes < 1) return true;
    const time_t now = Now();
    const time_t until = now + static_cast<time_t>(m_minutes) * 60;
    bool answer = true;
    auto found = m_seen.find(text);
    if (found == m_seen.end()) {
        m_seen.emplace(text, until);
    } else if (found->second <= now) {
        found->second = until;
    } else {
        answer = false;  // a repeat inside the window; the window is not extended
    }
    if (m_nextSweep < now) {
        for (auto it = m_seen.begin(); it != m_seen.end();) {
            if (it->second <= now) {
                it = m_seen.erase(it);
            } else {
                ++it;
            }
        }
        m_nextSweep = until;
    }
    return answer;
}

// ---- construction, open and close ----

CBaseLog::CBaseLog(unsigned long queueCapacity, int delayMinutes)
    : m_NumFile(1),
      m_Running(false),
      m_Queue(queueCapacity),
      m_Delay(delayMinutes),
      m_PrefixLen(0),
      m_FilesToKeep(100),
      m_RotateSize(1000000),
      m_FilePos(0),
      m_MoreQueued(false),
      m_FlushPending(false),
      m_Buffer(new char[kBufferSize]) {
    // A larger buffer than the default 8 KB saves write calls when a burst is written; it has
    // to be set before the first open.
    rdbuf()->pubsetbuf(m_Buffer.get(), kBufferSize);
}

CBaseLog::~CBaseLog() {
    if (is_open()) close();
}

bool CBaseLog::Open(const char* prefix, const char* extension) {
    // A running writer owns the file, so a second Open must not touch it.
    if (m_Running.load() || is_open()) return true;
    m_Prefix = DBString(prefix);
    m_PrefixLen = static_cast<int>(m_Prefix.size());
    m_Ext = DBString(extension);

    const std::string dir = Dir().ToStr();
    for (std::size_t slash = dir.find('/'); slash != std::string::npos;
         slash = dir.find('/', slash + 1)) {
        const std::string parent = dir.substr(0, slash);
        if (!parent.empty() && parent != ".") mkdir(parent.c_str(), 0775);
    }
    mkdir(dir.c_str(), 0775);

    const bool opened = OpenNew(LastNum());
    if (!opened) Report("CBaseLog::OpenNew 1", errno);
    m_Running.store(true);
    m_Writer = std::thread(PutProc, this);
    return opened;
}

void CBaseLog::Close() {
    // sleep_for resumes after a signal with the time that remains.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    m_Running.store(false);
    if (m_Writer.joinable()) {
        m_Queue.Put(std::string());  // wakes a writer blocked in ReadAll
        // The only way join fails is a writer closing its own log (from an override it calls):
        // it cannot wait for itself and ends on its own once it sees m_Running cleared.
        if (m_Writer.get_id() == std::this_thread::get_id())
            m_Writer.detach();
        else
            m_Writer.join();
    }
    close();
}

// ---- producers ----

void CBaseLog::Enqueue(std::string& line) {
    m_Queue.Put(line);
    if (line.capacity() > kKeepCapacity) std::string().swap(line);
}

void CBaseLog::Put(const wchar_t* text) {
    std::string& line = StampedLine();
    if (text) AppendUtf8(line, text, std::wcslen(text));
    Enqueue(line);
}

void CBaseLog::Put(const std::wstring& text) {
    std::string& line = StampedLine();
    AppendUtf8(line, text.data(), text.size());
    Enqueue(line);
}

void CBaseLog::PutFormat(const wchar_t* format, ...) {
    wchar_t buffer[4096];
    buffer[0] = L'\0';
    if (format) {
        va_list args;
        va_start(args, format);
        // Too long an output makes vswprintf answer -1 but keeps what fitted.
        std::vswprintf(buffer, 4096, format, args);
        va_end(args);
    }
    buffer[4095] = L'\0';
    Put(buffer);
}

void CBaseLog::PutUtf8(const char* text) {
    std::string& line = StampedLine();
    if (text) line += text;
    Enqueue(line);
}

void CBaseLog::PutUtf8(const std::string& text) {
    std::string& line = StampedLine();
    line += text;
    Enqueue(line);
}

bool CBaseLog::PutDirect(const std::string& line) { return m_Queue.Put(line); }

void CBaseLog::PutDirect(const DBString& line) { m_Queue.Put(line.ToStr()); }

void CBaseLog::PutErr(const wchar_t* text, int errorCode) {
    const std::string key = CnvErr(text, errorCode).ToStr();
    if (!m_Delay.IsNeedToPut(key)) return;
    std::string& line = StampedLine();
    line += key;
    Enqueue(line);
}

void CBaseLog::PutMes(const wchar_t* text, const unsigned char* data, int count) {
    const std::string key = CnvMes(text, data, count).ToStr();
    if (!m_Delay.IsNeedToPut(key)) return;
    std::string& line = StampedLine();
    line += key;
    Enqueue(line);
}

// ---- text helpers ----

DBString CBaseLog::CnvErr(const wchar_t* text, int errorCode) {
    DBString result(text);
    if (errorCode == 0) return result;
    wchar_t code[32];
    std::swprintf(code, 32, L": %d - ", errorCode);
    result += code;
    char buffer[256];
    const char* message = strerror_r(errorCode, buffer, sizeof buffer);
    if (message && *message) {
        result += DBString(message);
    } else {
        result += L'?';
    }
    return result;
}

DBString CBaseLog::CnvMes(const wchar_t* text, const unsigned char* data, int count) {
    DBString result(text);
    if (!data) return result;  // nothing to list
    const int listed = count < 30 ? count : 30;
    wchar_t hex[8];
    for (int i = 0; i < listed; ++i) {
        std::swprintf(hex, 8, L" %02X", static_cast<unsigned>(data[i]));
        result += hex;
    }
    if (count > 30) result += L" ...";
    return result;
}

std::string CBaseLog::StrMes(const unsigned char* data, int count) {
    std::string result;
    if (!data || count < 1) return result;
    static const char digits[] = "0123456789ABCDEF";
    result.reserve(static_cast<std::size_t>(count) * 3);
    for (int i = 0; i < count; ++i) {
        result += digits[data[i] >> 4];
        result += digits[data[i] & 0x0F];
        result += ' ';
    }
    return result;
}

std::string CBaseLog::ToStr(const in6_addr& address, int port) {
    char text[INET6_ADDRSTRLEN] = "";
    if (!inet_ntop(AF_INET6, &address, text, sizeof text)) text[0] = '\0';
    const std::size_t length = std::strlen(text);
    std::string result(length < 39 ? 39 - length : 0, ' ');
    result += text;
    char tail[16];
    std::snprintf(tail, sizeof tail, "|%05u ", static_cast<unsigned>(port));
    result += tail;
    return result;
}

// ---- file names and folder ----

int CBaseLog::NumFile(const char* fileName) {
    if (!fileName) return -1;
    const DBString name(fileName);
    const int point = name.Find(L'.');
    if (point <= m_PrefixLen + 1) return -1;  // also no point at all (-1)
    if (name.compare(0, static_cast<std::size_t>(m_PrefixLen), m_Prefix) != 0) return -1;
    const std::wstring digits = name.substr(static_cast<std::size_t>(m_PrefixLen),
                                            static_cast<std::size_t>(point - m_PrefixLen));
    const long number = std::wcstol(digits.c_str(), nullptr, 10);
    // A number no int holds is no name this log writes.
    if (number >= INT_MAX || number < INT_MIN) return -1;
    return static_cast<int>(number);
}

DBString CBaseLog::NameFile(int number) {
    wchar_t digits[32];
    std::swprintf(digits, 32, L"%07d.", number);
    DBString name = m_Prefix;
    name += digits;
    name += m_Ext;
    return name;
}

int CBaseLog::LastNum() {
    int last = 1;
    DIR* folder = opendir(Dir().ToStr().c_str());
    if (!folder) return last;
    while (const dirent* entry = readdir(folder)) {
        const int number = NumFile(entry->d_name);
        if (number > last) last = number;
    }
    closedir(folder);
    return last;
}

void CBaseLog::ClearTo(int number) {
    if (number < 1) return;
    DIR* folder = opendir(Dir().ToStr().c_str());
    if (!folder) return;
    while (const dirent* entry = readdir(folder)) {
        const int found = NumFile(entry->d_name);
        if (found >= 1 && found <= number) unlink(DirPath(*this, entry->d_name).c_str());
    }
    closedir(folder);
}

void CBaseLog::Error(const std::string& text) { PutStdoutLine(Dir().ToStr() + ": " + text); }

void CBaseLog::Report(const char* text, int errorCode) {
    Error(CnvErr(DBString(text).c_str(), errorCode).ToStr());
}

// ---- writer ----

bool CBaseLog::OpenNew(int number) {
    m_NumFile = number;
    m_FlushPending = false;  // close flushes
    if (is_open()) close();
    open((Dir() + L"/" + NameFile(number)).ToStr(), std::ios::out | std::ios::app);
    if (!is_open()) return false;
    // Appending starts at offset 0 until the first write; the rotation test needs the size.
    const std::streamoff size = rdbuf()->pubseekoff(0, std::ios::end, std::ios::out);
    m_FilePos = size < 0 ? 0 : size;
    return true;
}

void CBaseLog::WriteLine(const std::string& line) {
    write(line.data(), static_cast<std::streamsize>(line.size()));
    m_FilePos += static_cast<std::streamoff>(line.size());
    if (line.empty() || line.back() != '\n') {
        put('\n');
        ++m_FilePos;
        m_FlushPending = true;
    }
    // One write per batch instead of one per line lets the writer keep up with bursts; the
    // batch's last line still reaches the file before the writer waits again.
    if (m_FlushPending && !m_MoreQueued) {
        flush();
        m_FlushPending = false;
    }
}

void CBaseLog::PutInner(const std::string& line) {
    if (!is_open()) {
        if (!OpenNew(m_NumFile)) Report("CBaseLog::OpenNew 2", errno);
        if (!is_open()) return;
    }
    if (m_FilePos >= m_RotateSize) {
        close();
        const int last = LastNum();
        ClearTo(last - m_FilesToKeep);
        if (!OpenNew(last + 1)) {
            Report("CBaseLog::OpenNew 3", errno);
            return;
        }
    }
    WriteLine(line);
    if (!good()) {
        Report("CBaseLog::PutInner !good()", errno);
        close();
        if (!OpenNew(m_NumFile)) {
            Report("CBaseLog::OpenNew 4", errno);
            return;
        }
        WriteLine(line);
    }
}

void CBaseLog::PutProc(CBaseLog* log) {
    std::vector<std::string> slots;
    std::size_t first = 0;
    while (log->m_Running.load()) {
        const std::size_t count = log->m_Queue.ReadAll(slots, first);
        for (std::size_t i = 0; i < count; ++i) {
            if (!log->m_Running.load()) return;
            std::string& line = slots[(first + i) % slots.size()];
            log->m_MoreQueued = i + 1 < count;
            try {
                log->PutInner(line);
            } catch (...) {
                // Out of memory while building a report: the line is lost, the writer lives on.
            }
            if (line.capacity() > kKeepCapacity) std::string().swap(line);
        }
    }
}
