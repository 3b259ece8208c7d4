#pragma once
// The clock of a clip whose frames the program draws itself: where the clip is at a moment
// of the wall clock, when each decoded frame is due, and where it ends. A plain class of
// numbers, told the time by its caller, so that its rules are tested without a clip.
//
// Times on the clip are in milliseconds from its first frame. The reader stamps frames in
// units of 100 ns that do not start at 0 (an MP4's first frame may come at 80 ms, an MPEG-1
// file's at 540 ms): the first stamp is taken as the clip's zero.
namespace tk {

class ClipTimeline {
  public:
    using Ms = long long;

    enum class State { Stopped, Playing, Paused };
    // What to do with a decoded frame while the clip plays.
    enum class Verdict { Wait, Show, Skip };
    // A frame later than this is dropped rather than drawn: the clip catches up with the
    // clock instead of running behind it. But a frame is drawn at least this often: a
    // decoder slower than the clip would otherwise have every frame dropped.
    static constexpr Ms kLateMs = 120;

    void SetOrigin(long long firstStamp) { origin_ = firstStamp; }
    Ms ClipMs(long long stamp) const; // never before 0
    long long StampAt(Ms clipMs) const { return origin_ + clipMs * 10000; }

    // The clip's length; 0 while unknown (the position is then not held at an end).
    void SetLength(Ms ms) { length_ = ms > 0 ? ms : 0; }
    Ms Length() const { return length_; }

    State Now() const { return state_; }
    Ms Position(Ms now) const;
    bool AtEnd() const { return state_ == State::Stopped && length_ > 0 && at_ >= length_; }

    void Play(Ms now);      // from the position; a playing clip goes on as it was
    void Pause(Ms now);     // only a playing clip pauses; its position stays
    void SeekTo(Ms clipMs); // stopped there (within the clip)
    // The last frame, which ends at lastFrameEnd, has had its time: stopped at the end. A
    // clip whose frames ran longer than its file told (or that told none) takes their end as
    // its length.
    void End(Ms lastFrameEnd);

    // A frame of clip time frameMs, decoded while the clip plays: wait waitMs for it, show
    // it now, or skip it as too late. A frame not playing waits for good (waitMs -1).
    Verdict Judge(Ms frameMs, Ms now, Ms& waitMs) const;
    // Whether a frame ends by a seek's target. A seek lands on the key frame before its
    // target: the frames that end by it are decoded, not shown, so that a seek to a frame's
    // very start shows that frame. A frame whose duration is unknown (0) lasts 1 ms.
    static bool EndsBy(Ms frameMs, Ms durationMs, Ms targetMs);
    void Drawn(Ms now) { drawnAt_ = now; } // a frame was handed over to be drawn

  private:
    Ms Clamped(Ms ms) const;

    long long origin_ = 0;
    Ms length_ = 0;
    State state_ = State::Stopped;
    Ms at_ = 0;             // the position when not playing, or where the play began
    Ms since_ = 0;          // the wall-clock time the play began
    Ms drawnAt_ = -kLateMs; // when a frame was last handed over to be drawn
};

} // namespace tk
