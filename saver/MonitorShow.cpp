// A show's life: its tiles built at their start places, the first refills, and the
// movement step that the saver window runs on it.
#include "saver/MonitorShow.h"

#include <algorithm>

#include "settings/Settings.h"
#include "settings/Pacing.h"
#include "toolkit/Text.h"

MonitorShow::MonitorShow(const ShowHost& host, FileCatalogue& catalogue, tk::Timer& timer,
                         const SettingsRecord& settings, const int& transition)
    : stepTimer(timer), host_(host), catalogue_(catalogue), settings_(settings),
      transition_(transition) {}

MonitorShow::~MonitorShow() {
    Free();
}

void MonitorShow::Build(HWND canvas, POINT origin, int width, int height, int count) {
    Free();
    canvas_ = canvas;
    origin_ = origin;
    width_ = width;
    height_ = height;
    currentTile = 0;
    alternationPhase = 0;
    change_ = Change::None;
    refills_ = 0;
    loads_ = 0;
    strip_.Build(canvas, count);
    held_.assign(count, std::wstring());
    for (auto& panel : strip_.panels)
        InitPosAndSize(*panel);
    fitArea = strip_.panels.empty() ? RECT{0, 0, width_, height_} : strip_.panels[0]->ClientRect();
}

void MonitorShow::Free() {
    // A job in hand is left to end unheard; its file and the ready one stay taken ahead
    // until the catalogue's close gives them back (or the window's, for a show that goes).
    loader_.reset();
    ready_.reset();
    retry_.clear();
    refillWaits_ = late_ = gaveUp_ = false;
    failedRun_ = 0;
    firstFillsLeft_ = 0;
    screenDc_.reset();
    strip_.Free();
    held_.clear();
}

bool MonitorShow::Holds(const std::wstring& path) const {
    return std::any_of(held_.begin(), held_.end(),
                       [&](const std::wstring& file) { return tk::SamePath(file, path); });
}

std::vector<std::wstring> MonitorShow::HeldFiles() const {
    std::vector<std::wstring> files;
    for (const std::wstring& file : held_)
        if (!file.empty()) files.push_back(file);
    return files;
}

void MonitorShow::InitPosAndSize(tk::Panel& panel) {
    Box box = InitialBox(transition_, ScreenBox());
    SetWindowPos(panel.Handle(), nullptr, box.left, box.top, box.width, box.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void MonitorShow::CheckClips() {
    for (int i = 0; i < strip_.tileCount; ++i)
        CheckClipLoop(i);
}

bool MonitorShow::ClipOpen() const {
    for (const auto& player : strip_.players)
        if (player->IsOpen()) return true;
    return false;
}

namespace {
// A timer may tick a little before the time measured here.
constexpr DWORD kTickSlackMs = 20;
} // namespace

void MonitorShow::SetDisplayTime(unsigned ms) {
    displayMs_ = ms;
    if (!Animating()) stepTimer.SetInterval(ms); // else the frames' pace, until the end
}

bool MonitorShow::DisplayOver(DWORD now) const {
    return now - displayFrom_ + kTickSlackMs >= displayMs_;
}

unsigned MonitorShow::DisplayLeft(DWORD now) const {
    if (refillWaits_) return kWaitCheckMs;
    return DisplayOver(now) ? displayMs_ : unsigned(displayMs_ - (now - displayFrom_));
}

void MonitorShow::Step() {
    // Also here, not only when the window hears the worker: a step may come first.
    CollectAhead();
    FillFirstTiles();
    if (Animating()) {
        DrawDueFrame();
    } else if (IsCentral()) {
        // Tiles 1 and up are never filled; their calls only turn currentTile round to 0.
        for (int i = 0; i < strip_.tileCount; ++i)
            if (strip_.TileShown(i) && !ClipStillRunning(i)) RefillTile();
    } else {
        MoveStrip();
    }
}

void MonitorShow::MoveStrip() {
    const Box s = ScreenBox();
    const Travel travel = TravelOf(transition_, alternationPhase);
    moves_.clear();
    int gone = 0;
    for (int i = 0; i < strip_.tileCount; ++i) {
        if (!strip_.TileShown(i)) continue;
        const Box box = strip_.TileBox(i);
        const TileStep step =
            StepTile(travel, strip_.tilePos[i], box.width, box.height, settings_.stepPixels, s);
        if (step.refill) {
            ++gone;
            continue;
        }
        strip_.tilePos[i] = step.pos;
        const Box moved = MovedBox(travel, box, step.pos);
        if (OnScreen(moved, s)) strip_.seen[i] = true;
        moves_.push_back({i, box, moved});
    }
    ApplyMoves(moves_);
    for (const Move& m : moves_)
        PlayWhenVisible(m.tile);
    // The tiles that have left are refilled once the rest of the strip has made its step:
    // a tile placed behind one that was still to move in this step would come stepPixels
    // pixels too far behind it (the strip's first tile behind its last one, and every tile
    // of the backward phases, whose neighbour comes after them in index order).
    for (int k = 0; k < gone; ++k)
        RefillTile();
}
