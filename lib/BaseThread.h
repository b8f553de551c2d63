// A worker thread that runs a procedure once or periodically, with a stop protocol and a trace.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

// Runs proc(param) on a thread of its own: after a delay, then every interval (start to start),
// until the procedure returns false or a stop is requested. Start, Stop and the destructor belong
// to the owner's thread; BreakExec may come from any thread. Traces are lines "name - text" on
// standard output unless a derived class overrides PutLog (which may be called from the worker).
class BaseThread {
public:
    using ProcType = bool (*)(void* param);

    BaseThread();
    BaseThread(const BaseThread&) = delete;
    BaseThread& operator=(const BaseThread&) = delete;
    // Waits for a running worker (bounded, as Stop); no worker outlives its object.
    virtual ~BaseThread();

    // Does nothing here; lists print their entries.
    virtual void PrintListProc();
    // name(delay,interval) followed by the PID text.
    virtual std::string Name() const;
    // Writes Name(), " - " and the text as one line to standard output.
    virtual void PutLog(const std::string& text);

    // (Re)starts the worker; an interval below 1 means a single call after the delay.
    // A worker still waiting is stopped first; one inside its procedure is broken and awaited.
    void Start(
        const std::string& name, ProcType proc, void* param, int delay, int interval, bool isLog);
    // Asks the worker to stop and waits until it has left (then joins it); aborts the process after
    // about 30 seconds. Called by the worker's own procedure, it only asks.
    void Stop();
    // Asks the worker to stop without waiting; a wait in progress ends at once.
    void BreakExec();
    // Waits ms between calls; false when a stop was requested, also for ms <= 0, so that calls
    // running back to back still see a stop. A negative ms is an overrun: traced, not waited.
    bool WaitBeforeExec(int ms);

    bool IsRunning() const { return m_Running; }
    bool IsExecuting() const { return m_Executing; }

    // The worker's thread function.
    static void Proc(BaseThread* self);
    // Calls proc(param) as a worker does: an exception is caught here and traced through tracer
    // with the procedure's name (nameOf() is asked only then), and counts as a false result.
    template <class NameOf>
    static bool CallProc(ProcType proc, void* param, BaseThread& tracer, const NameOf& nameOf) {
        try {
            return proc(param);
        } catch (...) {
            TraceException(tracer, nameOf());
        }
        return false;
    }
    // The schedule of the wrapper and of the pool workers: wait(delay), then call() until it
    // returns false, interval() is below 1, or wait(interval() less the call's whole ms) is false.
    template <class Wait, class Call, class Interval>
    static void RunPeriodic(int delay,
                            const Wait& wait,
                            const Call& call,
                            const Interval& interval) {
        if (!wait(delay)) return;
        for (;;) {
            const auto t0 = std::chrono::steady_clock::now();
            if (!call()) return;
            const int period = interval();
            if (period < 1) return;
            const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - t0)
                                     .count();
            if (!wait(period - static_cast<int>(elapsed))) return;
        }
    }
    // Waits up to ms (> 0) for stop, set under mutex with cond notified; false when stop is set,
    // also without a wait for ms <= 0, so that calls running back to back still see it.
    static bool WaitUnless(std::mutex& mutex,
                           std::condition_variable& cond,
                           const std::atomic<bool>& stop,
                           int ms);
    // Inside a handler: traces "exception in ", the name and the exception's text when it has one.
    static void TraceException(BaseThread& tracer, const std::string& name);

    // Trace, pause 512 ms, "abort " and the text on standard output, then abort the process.
    [[noreturn]] static void AbortWith(const std::string& text);
    // The calling thread's kernel thread id.
    static long CurrentTid();

    // Trace every thread's start lines, whatever its own flag.
    static std::atomic<bool> s_IsAllLog;

    // Clears the worker's flags whenever the thread function is left, also by an exception.
    class Borders {
    public:
        explicit Borders(BaseThread* thread) : m_Thread(thread) {}
        Borders(const Borders&) = delete;
        Borders& operator=(const Borders&) = delete;
        virtual ~Borders();

    private:
        BaseThread* m_Thread;
    };

protected:
    bool IsLogAny() const { return m_IsLog || s_IsAllLog; }
    // Shared by Start and the destructor; the texts differ by the operation's name.
    void EndOldWorker(const char* who, bool ownTrace);
    // Waits until the worker left its thread function; false after the 30-second bound.
    bool WaitWorkerEnd();
    // Name and trace of this class itself (the destructor may not use the derived ones).
    std::string BaseName() const;
    void BasePutLog(const std::string& text) const;

    ProcType m_Proc;
    void* m_Param;
    std::thread m_Thread;
    std::atomic<bool> m_Running;
    std::atomic<bool> m_Executing;
    std::string m_Name;
    std::atomic<bool> m_Break;
    int m_Delay;
    int m_Interval;
    bool m_IsLog;
    std::mutex m_Mutex;
    std::condition_variable m_Cond;
    std::string m_PID;
    // Guards m_Name and m_PID, which the worker writes while the owner may trace.
    mutable std::mutex m_NameMutex;
};

// The timed lock of the pool and the timer lists: remembers the holder's action for the abort text.
// Built on a mutex and a condition variable rather than a timed mutex, whose timed wait some
// thread checkers cannot follow.
class BaseTimedLock {
public:
    BaseTimedLock() = default;
    BaseTimedLock(const BaseTimedLock&) = delete;
    BaseTimedLock& operator=(const BaseTimedLock&) = delete;

    // Takes the lock within the bound and records the action. On failure returns false and sets
    // failure to: action, " act:" and the holder's action when known, " - lock during 30 sec".
    bool LockFor(const std::string& action, std::chrono::milliseconds bound, std::string& failure);
    // As LockFor, but gives up at once (false, empty failure) when stop becomes true.
    bool LockUnless(const std::string& action,
                    const std::atomic<bool>& stop,
                    std::chrono::milliseconds bound,
                    std::string& failure);
    void Unlock();

    static constexpr std::chrono::milliseconds kBound{30000};

    // Releases a lock its owner has just taken when the scope is left, on every path.
    class Held {
    public:
        explicit Held(BaseTimedLock& lock) : m_Lock(lock) {}
        Held(const Held&) = delete;
        Held& operator=(const Held&) = delete;
        ~Held() { m_Lock.Unlock(); }

    private:
        BaseTimedLock& m_Lock;
    };

private:
    void Failure(const std::string& action, std::string& failure);

    std::mutex m_Mutex;  // guards the two members below
    std::condition_variable m_Cond;
    bool m_Held = false;
    std::string m_LockAct;
};
