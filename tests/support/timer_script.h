// Drives a window that runs its own nested loop (a menu, a message box): the
// steps run one per tick of a thread timer, which that loop dispatches.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <initializer_list>

namespace kodaro::test {

// A step returns false to be tried again on the next tick (the window it
// needs is not up yet).
using ScriptStep = std::function<bool()>;

class TimerScript {
public:
    TimerScript(std::initializer_list<ScriptStep> steps, UINT interval = 15) {
        Steps().assign(steps.begin(), steps.end());
        timer_ = SetTimer(nullptr, 0, interval, Tick);
    }
    ~TimerScript() {
        KillTimer(nullptr, timer_);
        Steps().clear();
    }
    TimerScript(const TimerScript&) = delete;
    TimerScript& operator=(const TimerScript&) = delete;

    // Whether every step has run.
    static bool Done() { return Steps().empty(); }

private:
    static std::deque<ScriptStep>& Steps() {
        static std::deque<ScriptStep> steps;
        return steps;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        auto& steps = Steps();
        if (!steps.empty() && steps.front()()) {
            steps.pop_front();
        }
    }

    UINT_PTR timer_ = 0;
};

} // namespace kodaro::test
