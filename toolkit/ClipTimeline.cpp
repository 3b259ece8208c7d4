#include "toolkit/ClipTimeline.h"

#include <algorithm>

namespace tk {

ClipTimeline::Ms ClipTimeline::ClipMs(long long stamp) const {
    return stamp > origin_ ? (stamp - origin_) / 10000 : 0;
}

ClipTimeline::Ms ClipTimeline::Clamped(Ms ms) const {
    ms = std::max<Ms>(ms, 0);
    return length_ > 0 ? std::min(ms, length_) : ms;
}

ClipTimeline::Ms ClipTimeline::Position(Ms now) const {
    return state_ == State::Playing ? Clamped(at_ + (now - since_)) : at_;
}

void ClipTimeline::Play(Ms now) {
    if (state_ == State::Playing) return;
    state_ = State::Playing;
    since_ = now;
}

void ClipTimeline::Pause(Ms now) {
    if (state_ != State::Playing) return;
    at_ = Position(now);
    state_ = State::Paused;
}

void ClipTimeline::SeekTo(Ms clipMs) {
    at_ = Clamped(clipMs);
    state_ = State::Stopped;
}

void ClipTimeline::End(Ms lastFrameEnd) {
    // Some files tell a length shorter than their frames run (an MPEG-1 file, by the time of
    // its first frame): the frames have the last word.
    length_ = std::max(length_, lastFrameEnd);
    at_ = length_;
    state_ = State::Stopped;
}

ClipTimeline::Verdict ClipTimeline::Judge(Ms frameMs, Ms now, Ms& waitMs) const {
    waitMs = -1;
    if (state_ != State::Playing) return Verdict::Wait;
    const Ms ahead = frameMs - (at_ + (now - since_));
    if (ahead > 0) {
        waitMs = ahead;
        return Verdict::Wait;
    }
    waitMs = 0;
    return -ahead > kLateMs && now - drawnAt_ < kLateMs ? Verdict::Skip : Verdict::Show;
}

bool ClipTimeline::EndsBy(Ms frameMs, Ms durationMs, Ms targetMs) {
    return frameMs + std::max<Ms>(durationMs, 1) <= targetMs;
}

} // namespace tk
