#pragma once
// The one way the program runs work off the window's thread: the folder scan, a photo's
// preparation, a clip's open and its frames all run on a Worker.
//
// - A worker has a name, which every line of the log about it carries.
// - Nothing leaves its thread: whatever the work throws (memory for a 4K frame in a crowded
//   32-bit process, say) is caught at its top and written to the log; the work itself turns
//   it into a failed job for its owner.
// - Its stop token is asked by the work between its steps and between the pieces of a file
//   read, so that a stop reaches it as soon as a read returns.
// - The window's thread never waits for a worker: dropping one only asks it to stop. A worker
//   still running then is abandoned: it is counted until its work returns, and its owner caps
//   how many it leaves behind.
// - At the program's end, the workers still running are given a bounded wait (WaitForAll),
//   and the process ends without them when a read never returns.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/NonCopyable.h"

namespace tk {

// What the work asks to know whether it is still wanted. Cheap to copy and to ask.
class StopToken {
  public:
    StopToken() = default;
    bool Stopped() const;
    // As a plain function, for the code that takes one (a scan's keepGoing is its negation).
    std::function<bool()> AsFunction() const {
        return [*this] { return Stopped(); };
    }

  private:
    friend class Worker;
    struct Flag;
    std::shared_ptr<Flag> flag_;
};

class Worker : private NonCopyable {
  public:
    using Work = std::function<void(const StopToken& stop)>;

    // Starts work on a thread of its own. When no thread can be made (no memory left for its
    // stack), Started is false, the work never runs, and the log says so.
    Worker(std::wstring name, Work work);
    // Asks the work to stop and never waits: a worker still running is abandoned (its thread
    // ends when its work returns).
    ~Worker();

    bool Started() const { return started_; }
    const std::wstring& Name() const { return name_; }
    void Stop(); // asks; never waits
    // The work has returned (or thrown).
    bool Finished() const;
    // Waits up to ms for the work to return: for the end and for the tests, never on the
    // window's thread while the saver runs.
    bool Wait(DWORD ms) const;

    // The workers whose work has not returned, in the whole process.
    static long Running();
    // At the program's end: waits up to ms for every worker still running, and returns the
    // names of those that did not end.
    static std::vector<std::wstring> WaitForAll(DWORD ms);

    struct State; // shared by the thread, its owner and the list of workers running

  private:
    std::wstring name_;
    StopToken token_;
    std::shared_ptr<State> state_;
    bool started_ = false;
};

} // namespace tk
