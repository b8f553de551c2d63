// A growing pool of reusable worker threads running (procedure, parameter) pairs.
#pragma once

#include <atomic>
#include <condition_variable>
#include <list>
#include <memory>
#include <mutex>
#include <string>

#include "lib/BaseThread.h"

// A pair runs on one worker at a time; idle workers are reused before new ones are made, and all
// stay in the pool until Stop. Every operation takes the pool lock with a 30-second limit; a lock
// not had in that time aborts the process naming the holder's action. Thread-safe.
class BasePoolThread {
public:
    using ProcType = BaseThread::ProcType;

    // One worker: a BaseThread whose procedure waits for assignments and runs them.
    class Thread final : public BaseThread {
    public:
        explicit Thread(BasePoolThread* pool);
        ~Thread() override;

        // m_ProcName(delay,interval), the PID text, m_State and a blank.
        std::string Name() const override;
        // Through the pool's PutLog.
        void PutLog(const std::string& text) override;

        // Marks the worker busy and wakes it.
        void Notify();
        // Ends the assigned procedure's wait at once; it is not called again.
        void BreakPoolExec();
        bool IsBusy() const { return m_Busy; }
        std::string State() const;

    private:
        friend class BasePoolThread;

        static bool PoolThreadProc(void* worker);
        void Exec();
        bool WaitBeforePoolExec(int ms);
        void SetState(const std::string& state);

        BasePoolThread* m_Pool;
        std::atomic<bool> m_Busy;
        std::mutex m_BusyMutex;
        std::condition_variable m_BusyCond;
        std::atomic<ProcType> m_PoolProc;
        std::atomic<void*> m_PoolParam;
        std::string m_ProcName;
        std::string m_State;
        std::atomic<int> m_PoolDelay;
        std::atomic<int> m_PoolInterval;
        std::atomic<bool> m_PoolBreak;
        std::mutex m_BreakMutex;
        std::condition_variable m_BreakCond;
        // Guards m_ProcName and m_State, read by traces of other threads.
        mutable std::mutex m_StateMutex;
    };

    explicit BasePoolThread(const std::string& name, bool isLog = false);
    BasePoolThread(const BasePoolThread&) = delete;
    BasePoolThread& operator=(const BasePoolThread&) = delete;
    // Stops every worker.
    virtual ~BasePoolThread();

    // Writes m_Name, " - " and the text as one line to standard output. Called from workers too.
    virtual void PutLog(const std::string& text);

    // Assigns the pair to an idle or new worker and returns it; a pair that already runs is
    // refused with a trace and its worker is returned.
    Thread* StartProc(const std::string& name, ProcType proc, void* param, int delay, int interval);
    // The busy worker of the pair (broken when breakIt), or null; an idle worker forgets the pair.
    // name receives the worker's name when one holds the pair.
    Thread* IsStartProc(ProcType proc, void* param, std::string& name, bool breakIt);
    // Breaks the pair and waits until its worker is idle; aborts after about 30 seconds.
    void StopProc(ProcType proc, void* param);
    // Stops and releases every worker. The pool may be used again afterwards.
    void Stop();
    // Takes the pool lock or aborts after 30 seconds with the holder's action in the trace.
    void Lock(const std::string& action);
    void Unlock();
    // Lock, released when the returned guard goes out of scope.
    BaseTimedLock::Held Hold(const std::string& action);
    // Traces the workers, one line each.
    void PrintProc();

    std::size_t Size();

private:
    // Gives the pair to worker; the pool lock is held.
    static void Assign(Thread& worker,
                       const std::string& name,
                       ProcType proc,
                       void* param,
                       int delay,
                       int interval);

    std::string m_Name;
    bool m_IsLog;
    std::list<std::unique_ptr<Thread>> m_List;
    BaseTimedLock m_Mutex;  // the pool lock with the holder's action
    std::atomic<bool> m_Work;
};
