#include "saver/ExitRules.h"

#include <cstdlib>

int MouseMoveSkip = 0;

MouseWatch::Verdict MouseWatch::Move(int x, int y) {
    if (MouseMoveSkip > 0) {
        --MouseMoveSkip;
        return Verdict::Ignored;
    }
    if (lastX_ == -1 && lastY_ == -1) {
        lastX_ = x;
        lastY_ = y;
        return Verdict::ReferenceSet;
    }
    if (std::abs(x - lastX_) > kMouseTolerance || std::abs(y - lastY_) > kMouseTolerance) {
        lastX_ = x;
        lastY_ = y;
        return Verdict::Exit;
    }
    return Verdict::Ignored;
}
