#pragma once
// How long one refill keeps trying files. Without the seen-file memory every file that fails
// is forgotten, so the tries end by themselves when the catalogue runs dry. With it, a new
// pass rescans the folders and brings the failed files back: were every file of the folders
// broken, the refill would never end. So a refill gives up after one whole pass without a
// success. A refill that begins a pass has a whole pass before it: it tries as many files as
// the catalogue holds. One that begins in the middle of a pass tries what is left of it and
// then the whole next pass. Without the memory this is never reached before the catalogue is
// empty, so it changes nothing there.
#include <cstddef>

class RefillTries {
  public:
    RefillTries(size_t filesAtStart, bool passBegins)
        : allowed_(filesAtStart), passAdded_(passBegins) {}

    // The catalogue started a new pass holding this many files.
    void NewPass(size_t files) {
        if (!passAdded_) allowed_ += files;
        passAdded_ = true;
    }
    // One more file failed; false when the refill must give up.
    bool FailedMayRetry() { return ++failures_ < allowed_; }
    size_t Failures() const { return failures_; }

  private:
    size_t allowed_;
    size_t failures_ = 0;
    bool passAdded_;
};
