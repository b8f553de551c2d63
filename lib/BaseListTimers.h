// Timer lists: one worker thread per list calling registered procedures on its ticks.
#pragma once

#include <list>
#include <string>

#include "lib/BaseThread.h"

// The thread of a timer list.
class BaseTimer : public BaseThread {};

// Entry of BaseListTimers: called on every tick.
struct BaseTimerEntry {
    std::string m_Name;
    BaseThread::ProcType m_Proc;
    void* m_Param;
    int m_Duration;  // last call, whole milliseconds

    std::string Name() const { return m_Name; }
    // Calls and times the procedure; its result (false when it threw: traced through tracer).
    bool Exec(BaseThread& tracer);
};

// Entry of the minute and second lists: called when its countdown of ticks runs out.
struct BaseCountedTimerEntry {
    std::string m_Name;
    BaseThread::ProcType m_Proc;
    void* m_Param;
    int m_Count;     // ticks until the next call; due below 1
    int m_First;     // as given to AddProcTimer
    int m_Period;    // ticks between calls; below 1 means once
    int m_Duration;  // last call, whole milliseconds

    // name(first,period)
    std::string Name() const;
    // One tick: calls the procedure when due. False when the entry is finished (the procedure
    // returned false or threw, traced through tracer; or it ran and has no period).
    bool Exec(BaseThread& tracer);
};

// What the three lists share: the list lock, the tick, deletion, stop and the listing. The list
// lock is held while procedures run, so a procedure must not add to or delete from its own list.
// Derived classes that override PutLog must call Stop in their own destructor.
template <class Entry>
class BaseTimerList : public BaseTimer {
public:
    using ProcTimer = Entry;

    // Removes the first entry of the pair; unknown pairs change nothing.
    void DelProcTimer(ProcType proc, void* param);
    // Stops the worker and empties the list. A tick that is due cannot hold it up.
    void Stop();
    // Takes the list lock or aborts after 30 seconds naming the holder's action.
    void Lock(const std::string& action);
    void Unlock();
    // Lock, released when the returned guard goes out of scope.
    BaseTimedLock::Held Hold(const std::string& action);
    // Traces each entry with its last duration.
    void PrintListProc() override;

    // The list procedure run on every tick (list as param); public so that tests can tick by hand.
    static bool ListTimersProc(void* list);

    std::size_t Size();

protected:
    virtual const char* ClassName() const = 0;
    void AddTrace(const std::string& entry, const char* text);

    std::list<Entry> m_List;
    BaseTimedLock m_Mutex;  // the list lock with the holder's action
};

extern template class BaseTimerList<BaseTimerEntry>;
extern template class BaseTimerList<BaseCountedTimerEntry>;

// Calls every entry on every tick of the delay and interval given to Start.
class BaseListTimers : public BaseTimerList<BaseTimerEntry> {
public:
    ~BaseListTimers() override;
    void Start(const std::string& name, int delay, int interval, bool isLog);
    // Appends the entry unless the pair is already present.
    void AddProcTimer(const std::string& name, ProcType proc, void* param);

protected:
    const char* ClassName() const override { return "BaseListTimers"; }
};

// The minute and second lists: entries counted in ticks.
class BaseListTimersCounted : public BaseTimerList<BaseCountedTimerEntry> {
public:
    // first > 0: first call on tick first + 1 from now. first <= 0: called at once, here and under
    // the list lock, and kept only when it has a period and returned true. Then every period ticks.
    void AddProcTimer(const std::string& name, ProcType proc, void* param, int first, int period);
};

// Ticks every minute, the first at the next whole minute of local time.
class BaseListTimersMinute : public BaseListTimersCounted {
public:
    ~BaseListTimersMinute() override;
    void Start(const std::string& name, bool isLog);

protected:
    const char* ClassName() const override { return "BaseListTimersMinute"; }
};

// Ticks every second, the first at once.
class BaseListTimersSecond : public BaseListTimersCounted {
public:
    ~BaseListTimersSecond() override;
    void Start(const std::string& name, bool isLog);

protected:
    const char* ClassName() const override { return "BaseListTimersSecond"; }
};
