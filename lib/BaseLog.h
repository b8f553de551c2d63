// Numbered, rotating log files written by a writer thread from a bounded line queue.
#pragma once

#include <atomic>
#include <ctime>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include <netinet/in.h>

#include "dblib/DBString.h"
#include "lib/StringQueue.h"

// A log writes lines into Dir()/<prefix><number as %07d>.<extension>. Producers on any thread
// queue complete lines (local time stamp included) and return at once; the writer thread
// started by Open appends them to the current file, starts the next number once the file holds
// 1,000,000 bytes and deletes files more than m_FilesToKeep numbers behind. Failures of the log
// itself go to Error (standard output), never to the caller. The object is itself the stream of
// the current file. Close a log before destroying it: a running writer ends the process.
class CBaseLog : protected std::basic_ofstream<char> {
public:
    // Lets an identical text through at most once per window of minutes.
    class DelayMsg {
    public:
        using Clock = std::function<time_t()>;

        // A window below 1 minute switches the filter off.
        explicit DelayMsg(int minutes);
        virtual ~DelayMsg();
        DelayMsg(const DelayMsg&) = delete;
        DelayMsg& operator=(const DelayMsg&) = delete;

        // Whether the text shall be written now: true for a text not seen within its window
        // (which then starts a new window), false for a repeat inside it. Any thread.
        bool IsNeedToPut(const std::string& text);

        // Tests only: read the time from clock instead of the system clock, and restart the
        // sweep schedule from the clock's present.
        void SetClock(Clock clock);

    private:
        time_t Now() const;

        std::map<std::string, long> m_seen;  // text -> end of its window, seconds since 1970
        std::mutex m_lock;                   // guards m_seen, m_nextSweep and m_clock
        time_t m_nextSweep;
        int m_minutes;
        Clock m_clock;  // empty: the system clock
    };

    // The queue keeps at most queueCapacity + 1 lines; delayMinutes is the repeat filter's
    // window. Opens no file and starts no thread.
    CBaseLog(unsigned long queueCapacity, int delayMinutes);
    // Closes the file; does not stop the writer (call Close first).
    ~CBaseLog() override;

    // Creates Dir() and its parents, opens the highest-numbered file for appending and starts
    // the writer. Returns whether the file is open; the writer starts either way and retries
    // for every line. Does nothing and returns true when a file is open or the writer runs
    // already (the writer owns the file then).
    bool Open(const char* prefix, const char* extension);
    // Waits 100 ms for the writer to drain the queue, stops and joins it, closes the file.
    // Lines still queued then are dropped. Harmless on a log that was never opened.
    void Close();

    // Queue local time stamp + text (UTF-8). Never filtered, never blocks. Any thread.
    void Put(const wchar_t* text);
    void Put(const std::wstring& text);
    // Wide printf into 4096 characters (at most 4095 kept), then as Put.
    void PutFormat(const wchar_t* format, ...);
    // Queue the narrow time stamp + text unchanged; the text must be UTF-8 already.
    void PutUtf8(const char* text);
    void PutUtf8(const std::string& text);
    // Queue the line unchanged, without time stamp. Returns false when older lines had to be
    // discarded.
    bool PutDirect(const std::string& line);
    void PutDirect(const DBString& line);
    // CnvErr / CnvMes, then Put unless the repeat filter holds the text back.
    void PutErr(const wchar_t* text, int errorCode);
    void PutMes(const wchar_t* text, const unsigned char* data, int count);

    // The text alone for code 0; else text + ": <code> - " + strerror(code) ("?" when the
    // platform has no message).
    static DBString CnvErr(const wchar_t* text, int errorCode);
    // The text + " %02X" for each of the first 30 bytes, + " ..." when count exceeds 30.
    static DBString CnvMes(const wchar_t* text, const unsigned char* data, int count);
    // "%02X " per byte; empty for count < 1.
    static std::string StrMes(const unsigned char* data, int count);
    // The address as inet_ntop writes it, right-aligned in 39 characters, then "|%05u ".
    static std::string ToStr(const in6_addr& address, int port);

    // The number in a log file name (UTF-8), or -1 when the name is not one of this log.
    virtual int NumFile(const char* fileName);
    // The file name of a number, without folder.
    virtual DBString NameFile(int number);
    // The log folder, without a trailing "/".
    virtual DBString Dir() = 0;
    // Reports a failure of the log: Dir() + ": " + text + newline on standard output, flushed.
    virtual void Error(const std::string& text);

    // Makes number the file number and opens its file for appending (created if missing).
    // Returns whether it is open. Writer thread only once Open has started it.
    bool OpenNew(int number);
    // The highest number among the log files of Dir(), at least 1 (1 when unreadable).
    int LastNum();
    // Deletes the log files of Dir() numbered 1 to number.
    void ClearTo(int number);

protected:
    // Writes one line taken from the queue: open, rotate, write, recover. Writer thread only.
    void PutInner(const std::string& line);
    // The writer thread's body.
    static void PutProc(CBaseLog* log);

private:
    // Writes the line, adding a newline and flushing unless it ends with one already; while
    // more lines of the writer's batch follow, the flush waits for the batch's last line.
    void WriteLine(const std::string& line);
    void Report(const char* text, int errorCode);
    // Queues a line built in the caller thread's reused buffer.
    void Enqueue(std::string& line);

protected:
    int m_NumFile;                // file now open or to be opened
    std::atomic<bool> m_Running;  // the writer shall run
    StringQueue m_Queue;
    DelayMsg m_Delay;
    std::thread m_Writer;
    DBString m_Prefix;
    int m_PrefixLen;
    DBString m_Ext;

public:
    // How many numbered files stay behind the current one at rotation; a derived log may set
    // it after construction.
    int m_FilesToKeep;

protected:
    // A file is rotated once it holds this many bytes. Tests lower it; production keeps it.
    std::streamoff m_RotateSize;

private:
    std::streamoff m_FilePos;  // write position of the open file, kept to spare a seek per line
    bool m_MoreQueued;         // the writer holds further lines after the current one
    bool m_FlushPending;       // a written line still waits for its flush
    std::unique_ptr<char[]> m_Buffer;  // the file stream's buffer
};
