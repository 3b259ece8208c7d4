#pragma once
// A window timer with an interval and an on/off switch; changing the interval of a running
// timer restarts it.
#include <windows.h>

#include "toolkit/NonCopyable.h"

namespace tk {

class Timer : private NonCopyable {
  public:
    Timer(UINT id, UINT intervalMs) : id_(id), interval_(intervalMs) {}
    ~Timer() { Stop(); }

    void Attach(HWND owner) { owner_ = owner; }
    UINT Id() const { return id_; }
    UINT Interval() const { return interval_; }
    bool Enabled() const { return enabled_; }

    void SetInterval(UINT ms) {
        interval_ = ms < USER_TIMER_MINIMUM ? USER_TIMER_MINIMUM : ms;
        if (enabled_) Start();
    }
    void SetEnabled(bool on) { on ? Start() : Stop(); }

  private:
    void Start() {
        enabled_ = true;
        if (owner_) SetTimer(owner_, id_, interval_, nullptr);
    }
    void Stop() {
        if (enabled_ && owner_ && IsWindow(owner_)) KillTimer(owner_, id_);
        enabled_ = false;
    }
    HWND owner_ = nullptr;
    UINT id_;
    UINT interval_;
    bool enabled_ = false;
};

} // namespace tk
