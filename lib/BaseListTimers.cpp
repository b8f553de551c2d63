#include "lib/BaseListTimers.h"

#include <chrono>
#include <ctime>

namespace {
int ElapsedMs(std::chrono::steady_clock::time_point t0) {
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0)
            .count());
}
}  // namespace

bool BaseTimerEntry::Exec(BaseThread& tracer) {
    const auto t0 = std::chrono::steady_clock::now();
    const bool result = BaseThread::CallProc(m_Proc, m_Param, tracer, [this] { return Name(); });
    m_Duration = ElapsedMs(t0);
    return result;
}

std::string BaseCountedTimerEntry::Name() const {
    return m_Name + "(" + std::to_string(m_First) + "," + std::to_string(m_Period) + ")";
}

bool BaseCountedTimerEntry::Exec(BaseThread& tracer) {
    bool result = true;
    if (m_Count < 1) {
        m_Count = m_Period;
        const auto t0 = std::chrono::steady_clock::now();
        result = BaseThread::CallProc(m_Proc, m_Param, tracer, [this] { return Name(); });
        m_Duration = ElapsedMs(t0);
        if (m_Period < 1) result = false;
    }
    --m_Count;
    return result;
}

template <class Entry>
void BaseTimerList<Entry>::Lock(const std::string& action) {
    std::string failure;
    if (m_Mutex.LockFor(action, BaseTimedLock::kBound, failure)) return;
    PutLog(failure);
    AbortWith(failure);
}

template <class Entry>
void BaseTimerList<Entry>::Unlock() {
    m_Mutex.Unlock();
}

template <class Entry>
BaseTimedLock::Held BaseTimerList<Entry>::Hold(const std::string& action) {
    Lock(action);
    return BaseTimedLock::Held(m_Mutex);
}

template <class Entry>
bool BaseTimerList<Entry>::ListTimersProc(void* list) {
    auto* self = static_cast<BaseTimerList<Entry>*>(list);
    std::string failure;
    // A stop request gives the lock up: Stop may hold it while it waits for this worker.
    if (!self->m_Mutex.LockUnless(std::string(self->ClassName()) + "::ListTimersProc",
                                  self->m_Break, BaseTimedLock::kBound, failure)) {
        if (failure.empty()) return true;  // the wait that follows sees the stop
        self->PutLog(failure);
        AbortWith(failure);
    }
    BaseTimedLock::Held held(self->m_Mutex);
    for (auto it = self->m_List.begin(); it != self->m_List.end();) {
        if (it->Exec(*self)) {
            ++it;
            continue;
        }
        if (self->IsLogAny()) self->PutLog("AvtoEndProcTimer  " + self->Name() + " " + it->Name());
        it = self->m_List.erase(it);
    }
    return true;
}

template <class Entry>
void BaseTimerList<Entry>::DelProcTimer(ProcType proc, void* param) {
    const auto held = Hold(std::string(ClassName()) + "::DelProcTimer");
    std::string text = "does not exist";
    for (auto it = m_List.begin(); it != m_List.end(); ++it) {
        if (it->m_Proc == proc && it->m_Param == param) {
            text = it->Name() + " deleted";
            m_List.erase(it);
            break;
        }
    }
    if (IsLogAny()) PutLog("DelProcTimer from " + Name() + " " + text);
}

template <class Entry>
void BaseTimerList<Entry>::Stop() {
    // The break is visible before the lock is waited for, so a due tick yields the lock.
    BreakExec();
    const auto held = Hold(std::string(ClassName()) + "::Stop");
    BaseThread::Stop();
    m_List.clear();
}

template <class Entry>
void BaseTimerList<Entry>::PrintListProc() {
    std::string failure;
    if (!m_Mutex.LockUnless(std::string(ClassName()) + "::PrintListProc", m_Break,
                            BaseTimedLock::kBound, failure)) {
        if (failure.empty()) return;
        PutLog(failure);
        AbortWith(failure);
    }
    BaseTimedLock::Held held(m_Mutex);
    PutLog("PrintListProc " + std::to_string(m_List.size()) + " entries");
    for (const Entry& entry : m_List)
        PutLog("  " + entry.Name() + " " + std::to_string(entry.m_Duration) + " ms");
}

template <class Entry>
std::size_t BaseTimerList<Entry>::Size() {
    const auto held = Hold(std::string(ClassName()) + "::Size");
    return m_List.size();
}

template <class Entry>
void BaseTimerList<Entry>::AddTrace(const std::string& entry, const char* text) {
    if (IsLogAny()) PutLog("AddProcTimer to   " + Name() + " " + entry + ":" + text);
}

template class BaseTimerList<BaseTimerEntry>;
template class BaseTimerList<BaseCountedTimerEntry>;

BaseListTimers::~BaseListTimers() { Stop(); }

void BaseListTimers::Start(const std::string& name, int delay, int interval, bool isLog) {
    const auto held = Hold("BaseListTimers::Start");
    BaseThread::Start(name, &ListTimersProc, this, delay, interval, isLog);
}

void BaseListTimers::AddProcTimer(const std::string& name, ProcType proc, void* param) {
    const auto held = Hold("BaseListTimers::AddProcTimer " + name);
    bool present = false;
    for (const ProcTimer& entry : m_List)
        if (entry.m_Proc == proc && entry.m_Param == param) present = true;
    if (present) {
        AddTrace(name, " already exists");
    } else {
        m_List.push_back(ProcTimer{name, proc, param, 0});
        AddTrace(name, " added");
    }
}

void BaseListTimersCounted::AddProcTimer(
    const std::string& name, ProcType proc, void* param, int first, int period) {
    const auto held = Hold(std::string(ClassName()) + "::AddProcTimer " + name);
    ProcTimer entry{name, proc, param, first, first, period, 0};
    if (first > 0) {
        m_List.push_back(entry);
        AddTrace(entry.Name(), " added");
    } else if (entry.Exec(*this)) {
        m_List.push_back(entry);
        AddTrace(entry.Name(), " executed immediately and added");
    } else {
        AddTrace(entry.Name(), " executed immediately and not added because no repeat needed");
    }
}

BaseListTimersMinute::~BaseListTimersMinute() { Stop(); }

void BaseListTimersMinute::Start(const std::string& name, bool isLog) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const int second = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second counts as 59
    const auto held = Hold("BaseListTimersMinute::Start");
    BaseThread::Start(name, &ListTimersProc, this, (60 - second) * 1000, 60000, isLog);
}

BaseListTimersSecond::~BaseListTimersSecond() { Stop(); }

void BaseListTimersSecond::Start(const std::string& name, bool isLog) {
    const auto held = Hold("BaseListTimersSecond::Start");
    BaseThread::Start(name, &ListTimersProc, this, 0, 1000, isLog);
}
