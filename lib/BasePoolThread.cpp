#include "lib/BasePoolThread.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "lib/utilities.h"

BasePoolThread::Thread::Thread(BasePoolThread* pool)
    : m_Pool(pool),
      m_Busy(false),
      m_PoolProc(nullptr),
      m_PoolParam(nullptr),
      m_ProcName("constructor"),
      m_State("constructor"),
      m_PoolDelay(0),
      m_PoolInterval(0),
      m_PoolBreak(false) {}

BasePoolThread::Thread::~Thread() {
    // Normally stopped by the pool already; otherwise wake every wait before stopping.
    if (m_Thread.joinable()) {
        BreakPoolExec();
        BreakExec();
        Notify();
        Stop();
    }
}

std::string BasePoolThread::Thread::Name() const {
    std::string pid;
    {
        std::lock_guard<std::mutex> lock(m_NameMutex);
        pid = m_PID;
    }
    std::lock_guard<std::mutex> lock(m_StateMutex);
    return m_ProcName + "(" + std::to_string(m_PoolDelay) + "," + std::to_string(m_PoolInterval) +
           ")" + pid + m_State + " ";
}

void BasePoolThread::Thread::PutLog(const std::string& text) {
    // A host's trace that throws must not end the worker while it is marked busy.
    try {
        m_Pool->PutLog(text);
    } catch (...) {
    }
}

std::string BasePoolThread::Thread::State() const {
    std::lock_guard<std::mutex> lock(m_StateMutex);
    return m_State;
}

void BasePoolThread::Thread::SetState(const std::string& state) {
    std::lock_guard<std::mutex> lock(m_StateMutex);
    m_State = state;
}

void BasePoolThread::Thread::Notify() {
    {
        std::lock_guard<std::mutex> lock(m_BusyMutex);
        m_Busy = true;
    }
    m_BusyCond.notify_all();
}

void BasePoolThread::Thread::BreakPoolExec() {
    {
        std::lock_guard<std::mutex> lock(m_BreakMutex);
        m_PoolBreak = true;
    }
    m_BreakCond.notify_all();
}

bool BasePoolThread::Thread::WaitBeforePoolExec(int ms) {
    if (ms < 0)
        PutLog("Duration of procedure is longer than timer interval " + Name() + " " +
               std::to_string(ms) + " " + std::to_string(m_PoolInterval));
    return WaitUnless(m_BreakMutex, m_BreakCond, m_PoolBreak, ms);
}

void BasePoolThread::Thread::Exec() {
    SetState("Exec begin");
    const ProcType proc = m_PoolProc;
    void* const param = m_PoolParam;
    if (proc != nullptr) {
        RunPeriodic(
            m_PoolDelay, [this](int ms) { return WaitBeforePoolExec(ms); },
            [this, proc, param] {
                SetState("Exec begin");
                // A procedure that throws ends as one returning false: the worker becomes idle.
                const bool more = CallProc(proc, param, *this, [this] {
                    std::lock_guard<std::mutex> lock(m_StateMutex);
                    return m_ProcName;
                });
                SetState(more ? "Func TRUE end" : "Func FALSE end");
                return more;
            },
            [this] { return m_PoolInterval.load(); });
    }
    SetState("Exec end");
}

bool BasePoolThread::Thread::PoolThreadProc(void* worker) {
    Thread* self = static_cast<Thread*>(worker);
    BasePoolThread* pool = self->m_Pool;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(self->m_BusyMutex);
            // The stop flag is set before Notify, so a Notify swallowed by the end of the
            // previous assignment still leaves it visible here.
            self->m_BusyCond.wait(lock,
                                  [self] { return self->m_Busy.load() || self->m_Break.load(); });
        }
        // The pool's Stop (and the destructor) break the worker and wake it through Notify:
        // leave instead of running. Only the worker's own flag counts, so that a worker made
        // while the pool was being stopped is not lost to that stop.
        if (self->m_Break) break;
        self->Exec();
        const bool log = pool->m_IsLog || s_IsAllLog;
        const std::string ended = log ? self->Name() : std::string();
        {
            // Idle and its state in one step: a reassignment cannot see its state overwritten.
            std::lock_guard<std::mutex> lock(self->m_BusyMutex);
            self->SetState("Before wait exec");
            self->m_Busy = false;
        }
        // Traced once idle, so that the line tells a reader the worker can be reused.
        if (log) self->PutLog("Stop  " + ended + " ended in pool " + pool->m_Name);
    }
    return false;
}

BasePoolThread::BasePoolThread(const std::string& name, bool isLog)
    : m_Name(name), m_IsLog(isLog), m_Work(true) {}

BasePoolThread::~BasePoolThread() { Stop(); }

void BasePoolThread::PutLog(const std::string& text) { PutStdoutLine(m_Name + " - " + text); }

void BasePoolThread::Lock(const std::string& action) {
    std::string failure;
    if (m_Mutex.LockFor(action, BaseTimedLock::kBound, failure)) return;
    PutLog(failure);
    BaseThread::AbortWith(failure);
}

void BasePoolThread::Unlock() { m_Mutex.Unlock(); }

BaseTimedLock::Held BasePoolThread::Hold(const std::string& action) {
    Lock(action);
    return BaseTimedLock::Held(m_Mutex);
}

BasePoolThread::Thread* BasePoolThread::IsStartProc(ProcType proc,
                                                    void* param,
                                                    std::string& name,
                                                    bool breakIt) {
    const auto held = Hold("BasePoolThread::IsStartProc");
    for (const auto& worker : m_List) {
        if (worker->m_PoolProc == proc && worker->m_PoolParam == param) {
            name = worker->Name();
            if (worker->m_Busy) {
                if (breakIt) worker->BreakPoolExec();
                return worker.get();
            }
            worker->m_PoolProc = nullptr;
            worker->m_PoolParam = nullptr;
            return nullptr;
        }
    }
    return nullptr;
}

void BasePoolThread::Assign(
    Thread& worker, const std::string& name, ProcType proc, void* param, int delay, int interval) {
    {
        std::lock_guard<std::mutex> lock(worker.m_StateMutex);
        worker.m_ProcName = name;
        worker.m_State = "SetParamExec(" + name;
    }
    worker.m_PoolProc = proc;
    worker.m_PoolParam = param;
    worker.m_PoolDelay = delay;
    worker.m_PoolInterval = interval;
    std::lock_guard<std::mutex> lock(worker.m_BreakMutex);
    worker.m_PoolBreak = false;
}

BasePoolThread::Thread* BasePoolThread::StartProc(
    const std::string& name, ProcType proc, void* param, int delay, int interval) {
    // A new worker is made and started outside the pool lock and kept only when no idle worker
    // turned up meanwhile; declared first, an unused one is stopped after the lock is released.
    std::list<std::unique_ptr<Thread>> fresh;
    for (;;) {
        {
            const auto held = Hold("BasePoolThread::StartProc " + name);
            m_Work = true;
            // The check for a running pair and the assignment share one hold of the lock, so that
            // two callers cannot both start the same pair.
            Thread* idle = nullptr;
            for (const auto& worker : m_List) {
                if (worker->m_PoolProc == proc && worker->m_PoolParam == param) {
                    if (worker->m_Busy) {
                        PutLog(name + " NOT added to pool " + m_Name +
                               " because there is already a thread " + worker->Name());
                        return worker.get();
                    }
                    worker->m_PoolProc = nullptr;
                    worker->m_PoolParam = nullptr;
                }
                if (idle == nullptr && !worker->m_Busy) idle = worker.get();
            }
            if (idle != nullptr) {
                Assign(*idle, name, proc, param, delay, interval);
                if (m_IsLog || BaseThread::s_IsAllLog) PutLog("Start " + idle->Name() + "not new");
                idle->Notify();
                return idle;
            }
            if (!fresh.empty()) {
                Thread* worker = fresh.front().get();
                Assign(*worker, name, proc, param, delay, interval);
                m_List.splice(m_List.end(), fresh);
                worker->Notify();
                return worker;
            }
        }
        fresh.push_back(std::make_unique<Thread>(this));
        fresh.front()->Start("BasePoolThread::StartProc: pool " + m_Name + " thread " + name,
                             &Thread::PoolThreadProc, fresh.front().get(), 0, 0, false);
    }
}

void BasePoolThread::StopProc(ProcType proc, void* param) {
    const auto start = std::chrono::steady_clock::now();
    std::string name;
    while (IsStartProc(proc, param, name, true) != nullptr) {
        if (std::chrono::steady_clock::now() - start > BaseTimedLock::kBound) {
            const std::string text = name + " - thread not complete";
            PutLog(text);
            PrintProc();
            BaseThread::AbortWith(text);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (m_IsLog && !name.empty()) PutLog("Stop  " + name + " removed from pool ");
}

void BasePoolThread::Stop() {
    std::list<std::unique_ptr<Thread>> stopped;
    const auto held = Hold("BasePoolThread::Stop");
    m_Work = false;
    for (const auto& worker : m_List) {
        // Wake both waits: between calls of a periodic pair, and for an assignment.
        worker->BreakPoolExec();
        worker->BreakExec();
        worker->Notify();
        worker->BaseThread::Stop();
    }
    // Freed after the lock is released (declared before the guard).
    stopped.swap(m_List);
}

void BasePoolThread::PrintProc() {
    const auto held = Hold("BasePoolThread::PrintProc");
    PutLog("PrintProc " + std::to_string(m_List.size()) + " threads");
    for (const auto& worker : m_List)
        PutLog("  " + worker->Name() + (worker->m_Busy ? "busy" : "idle"));
}

std::size_t BasePoolThread::Size() {
    const auto held = Hold("BasePoolThread::Size");
    return m_List.size();
}
