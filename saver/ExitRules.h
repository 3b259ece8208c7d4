#pragma once
// When does the mouse end the saver: the first move only records a reference point; a move
// that takes the cursor more than 2 pixels from it on either axis ends the saver; smaller
// moves leave the reference where it was, so a slow drift adds up.

// Mouse-move events still to be ignored (after a refused password).
extern int MouseMoveSkip;

constexpr int kMouseTolerance = 2;
constexpr int kMoveSkipAfterCheck = 5;

class MouseWatch {
  public:
    enum class Verdict { Ignored, ReferenceSet, Exit };

    void Reset() { lastX_ = lastY_ = -1; }
    // Decides on one mouse-move event at (x, y); uses and updates MouseMoveSkip.
    Verdict Move(int x, int y);
    int LastX() const { return lastX_; }
    int LastY() const { return lastY_; }

  private:
    int lastX_ = -1;
    int lastY_ = -1;
};
