#include "lib/BaseThread.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <system_error>

#include <sys/syscall.h>
#include <unistd.h>

#include "lib/utilities.h"

std::atomic<bool> BaseThread::s_IsAllLog{false};

namespace {
constexpr auto kStopBound = std::chrono::seconds(30);
// The object whose worker runs on this thread, if any.
thread_local BaseThread* t_Current = nullptr;
}  // namespace

BaseThread::Borders::~Borders() {
    m_Thread->m_Executing = false;
    // Last touch of the object by the worker: the owner may destroy it right after this.
    m_Thread->m_Running = false;
}

BaseThread::BaseThread()
    : m_Proc(nullptr),
      m_Param(nullptr),
      m_Running(false),
      m_Executing(false),
      m_Break(false),
      m_Delay(0),
      m_Interval(0),
      m_IsLog(false) {}

BaseThread::~BaseThread() {
    if (m_Thread.joinable()) EndOldWorker("BaseThread::~BaseThread", true);
}

void BaseThread::PrintListProc() {}

std::string BaseThread::BaseName() const {
    std::lock_guard<std::mutex> lock(m_NameMutex);
    return m_Name + "(" + std::to_string(m_Delay) + "," + std::to_string(m_Interval) + ")" + m_PID;
}

std::string BaseThread::Name() const { return BaseName(); }

void BaseThread::BasePutLog(const std::string& text) const {
    PutStdoutLine(BaseName() + " - " + text);
}

void BaseThread::PutLog(const std::string& text) { BasePutLog(text); }

long BaseThread::CurrentTid() { return static_cast<long>(syscall(SYS_gettid)); }

void BaseThread::AbortWith(const std::string& text) {
    std::this_thread::sleep_for(std::chrono::milliseconds(512));
    PutStdoutLine("abort " + text);
    std::abort();
}

bool BaseThread::WaitWorkerEnd() {
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        if (!m_Thread.joinable()) return true;
        if (!m_Running) {
            // The worker has left its function: joining costs nothing and leaves no thread behind.
            if (m_Thread.get_id() == std::this_thread::get_id())
                m_Thread.detach();
            else
                m_Thread.join();
            return true;
        }
        if (std::chrono::steady_clock::now() - start > kStopBound) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void BaseThread::EndOldWorker(const char* who, bool ownTrace) {
    auto trace = [&](const std::string& text) {
        if (ownTrace)
            BasePutLog(text);
        else
            PutLog(text);
    };
    const std::string head = std::string(who) + ": ";
    if (m_Running && m_Executing) {
        // Detaching would leave the old worker on this object's flags (or on a destroyed
        // object), so it is broken and awaited instead: its current call completes.
        trace(head + "forced disconnection !!!");
        BreakExec();
        if (!WaitWorkerEnd()) {
            const std::string name = ownTrace ? BaseName() : Name();
            trace("thread not complete");
            AbortWith(name + " - thread not complete");
        }
    } else if (m_Running) {
        trace(head + "forced stop beginning");
        Stop();
        trace(head + "forced stop ending");
    } else {
        WaitWorkerEnd();
    }
}

void BaseThread::Start(
    const std::string& name, ProcType proc, void* param, int delay, int interval, bool isLog) {
    if (m_Thread.joinable()) EndOldWorker("BaseThread::Start", false);
    {
        std::lock_guard<std::mutex> lock(m_NameMutex);
        m_Name = name;
        m_Delay = delay;
        m_Interval = interval;
        m_PID.clear();
    }
    m_Proc = proc;
    m_Param = param;
    m_IsLog = isLog;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Break = false;
    }
    if (IsLogAny()) PutLog("Init  " + Name() + " launching PID: " + std::to_string(CurrentTid()));
    // Set before the thread exists, so that a Stop right after Start waits for this worker.
    m_Executing = false;
    m_Running = true;
    try {
        m_Thread = std::thread(&BaseThread::Proc, this);
    } catch (const std::system_error& e) {
        m_Running = false;
        const std::string text = "std::system_error " + Name() + " what():" + e.what();
        PutLog(text);
        AbortWith(text);
    }
}

void BaseThread::BreakExec() {
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Break = true;
    }
    m_Cond.notify_all();
}

void BaseThread::Stop() {
    // A procedure stopping its own thread cannot wait for itself (nor read m_Thread, which the
    // owner may still be assigning): the break ends the worker after the call.
    if (t_Current == this) {
        BreakExec();
        return;
    }
    if (!m_Thread.joinable()) return;
    if (IsLogAny()) {
        const std::string name = Name();
        if (!name.empty()) PutLog("Stop " + name);
    }
    BreakExec();
    if (!WaitWorkerEnd()) {
        const std::string text = Name() + " - thread not complete";
        PutLog("thread not complete");
        AbortWith(text);
    }
}

bool BaseThread::WaitUnless(std::mutex& mutex,
                            std::condition_variable& cond,
                            const std::atomic<bool>& stop,
                            int ms) {
    if (ms > 0) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        std::unique_lock<std::mutex> lock(mutex);
        cond.wait_until(lock, deadline, [&stop] { return stop.load(); });
    }
    return !stop;
}

bool BaseThread::WaitBeforeExec(int ms) {
    if (ms < 0) {
        int interval;
        {
            std::lock_guard<std::mutex> lock(m_NameMutex);
            interval = m_Interval;
        }
        PutLog("Duration of procedure is longer than timer interval " + Name() + " " +
               std::to_string(ms) + " " + std::to_string(interval));
        if (IsLogAny()) PrintListProc();
    }
    return WaitUnless(m_Mutex, m_Cond, m_Break, ms);
}

void BaseThread::Proc(BaseThread* self) {
    t_Current = self;
    Borders borders(self);
    self->m_Running = true;
    self->m_Executing = false;
    {
        std::lock_guard<std::mutex> lock(self->m_NameMutex);
        self->m_PID = " PID: " + std::to_string(CurrentTid()) + " ";
    }
    try {
        if (self->IsLogAny()) self->PutLog("Start " + self->Name());
        RunPeriodic(
            self->m_Delay, [self](int ms) { return self->WaitBeforeExec(ms); },
            [self] {
                if (self->m_IsLog) self->PutLog("Exec " + self->Name());
                self->m_Executing = true;
                const bool more =
                    CallProc(self->m_Proc, self->m_Param, *self, [self] { return self->Name(); });
                self->m_Executing = false;
                if (!more && self->m_IsLog) self->PutLog("Avto break " + self->Name());
                return more;
            },
            [self] { return self->m_Interval; });
        if (self->m_IsLog) self->PutLog("End " + self->Name());
    } catch (...) {
        // Only a trace override can throw here: report through this class's own output, which
        // does not call it again, and end the worker (an exception must not leave the thread).
        self->m_Executing = false;
        try {
            self->BasePutLog("exception in PutLog");
        } catch (...) {
        }
    }
}

void BaseThread::TraceException(BaseThread& tracer, const std::string& name) {
    std::string text = "exception in " + name;
    try {
        throw;
    } catch (const std::exception& e) {
        text += std::string(": ") + e.what();
    } catch (...) {
    }
    tracer.PutLog(text);
}

bool BaseTimedLock::LockFor(const std::string& action,
                            std::chrono::milliseconds bound,
                            std::string& failure) {
    std::unique_lock<std::mutex> lock(m_Mutex);
    if (!m_Cond.wait_for(lock, bound, [this] { return !m_Held; })) {
        Failure(action, failure);
        return false;
    }
    m_Held = true;
    m_LockAct = action;
    return true;
}

bool BaseTimedLock::LockUnless(const std::string& action,
                               const std::atomic<bool>& stop,
                               std::chrono::milliseconds bound,
                               std::string& failure) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    std::unique_lock<std::mutex> lock(m_Mutex);
    // The stop flag has no condition variable of its own here: look at it every few ms.
    while (m_Held && !stop) {
        if (std::chrono::steady_clock::now() >= deadline) {
            Failure(action, failure);
            return false;
        }
        m_Cond.wait_for(lock, std::chrono::milliseconds(5));
    }
    if (stop) {
        failure.clear();
        return false;
    }
    m_Held = true;
    m_LockAct = action;
    return true;
}

// Called with m_Mutex held.
void BaseTimedLock::Failure(const std::string& action, std::string& failure) {
    failure = action;
    if (m_Held && !m_LockAct.empty()) failure += " act:" + m_LockAct;
    failure += " - lock during " + std::to_string(kBound.count() / 1000) + " sec";
}

void BaseTimedLock::Unlock() {
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Held = false;
    }
    m_Cond.notify_all();
}
