// SaverWindow's shows: one per monitor, in the window itself on a PC with one monitor, else each on
// a stage over its monitor; rebuilt when the monitors change while the saver runs.
#include "settings/Settings.h"
#include "saver/SaverWindow.h"
#include "saver/SharedFiles.h"
#include "saver/SystemMonitors.h"
#include "toolkit/Log.h"
#include "toolkit/Text.h"

void SaverWindow::PlaceWindow() {
    const Box screen = VirtualScreen();
    SetWindowPos(Handle(), nullptr, screen.left, screen.top, screen.width, screen.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

Box SaverWindow::WindowBox() const {
    const RECT r = Bounds();
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

ShowHost SaverWindow::MakeShowHost() {
    ShowHost host;
    host.PaintUnder = [this](HDC dc, const RECT& area, POINT origin) {
        PaintUnderTiles(dc, area, origin);
    };
    host.PaintOver = [this](HDC dc, POINT origin) { PaintNotice(dc, origin); };
    host.TakeScreen = [this] { return TakeCleanScreen(); };
    host.ExcludedFor = [this](const MonitorShow* asking) {
        return ExcludedForRefill(
            catalogue_, FirstTiles(),
            [this, asking](const std::wstring& path) { return ShownElsewhere(asking, path); });
    };
    host.Stopping = [this] { return exitPending_; };
    host.Window = [this] { return Handle(); };
    host.Jobs = [this]() -> const AheadJobs& { return aheadJobs; };
    return host;
}

std::unique_ptr<MonitorShow> SaverWindow::NewShow(const ShowPlace& place) {
    auto show =
        std::make_unique<MonitorShow>(showHost_, catalogue_, stepTimer, settings_, transition_);
    HWND canvas = Handle();
    POINT origin = {0, 0};
    if (!showsInWindow_) {
        auto stage = std::make_unique<Stage>();
        if (!stage->CreateStage(Handle(), ToRect(place.box),
                                [this, s = stage.get()](HDC dc, const RECT& area) {
                                    const RECT at = s->Bounds();
                                    Paint(dc, area, {at.left, at.top});
                                })) {
            tk::Log(L"no stage for a monitor, error " + tk::IntToStr(int(GetLastError())) +
                    L"; it stays black");
            return nullptr;
        }
        canvas = stage->Handle();
        origin = {place.box.left, place.box.top};
        stages_.push_back(std::move(stage));
    }
    show->Build(canvas, origin, place.box.width, place.box.height, place.tiles);
    return show;
}

void SaverWindow::BuildShows() {
    DropShows();
    showsBuilt_ = true;
    bool inWindow = false;
    const std::vector<ShowPlace> places = PlacesNow(inWindow);
    InstallShows(places, inWindow, {});
}

std::vector<ShowPlace> SaverWindow::PlacesNow(bool& inWindow) const {
    const Box window = WindowBox();
    std::vector<ShowPlace> places = LayOutShows(
        window, readMonitors ? readMonitors() : std::vector<Monitor>{}, settings_.maxTiles);
    inWindow = CoversWindow(places, window);
    return places;
}

std::vector<MonitorShow*>
SaverWindow::InstallShows(const std::vector<ShowPlace>& places, bool inWindow,
                          std::vector<std::unique_ptr<MonitorShow>> kept) {
    showsInWindow_ = inWindow; // before NewShow, which makes a stage when they are not
    primaryArea_ = ClientRect();
    kept.resize(places.size());
    std::vector<MonitorShow*> fresh;
    for (size_t i = 0; i < places.size(); ++i) {
        if (places[i].primary) primaryArea_ = ToRect(places[i].box);
        if (!kept[i] && (kept[i] = NewShow(places[i]))) fresh.push_back(kept[i].get());
        AddShow(places[i], std::move(kept[i]));
    }
    return fresh;
}

void SaverWindow::AddShow(const ShowPlace& place, std::unique_ptr<MonitorShow> show) {
    // A monitor whose show could not be made stays black, and is no place of a show.
    if (!show) return;
    shows_.push_back(std::move(show));
    places_.push_back(place);
}

void SaverWindow::DropShows() {
    shows_.clear();
    stages_.clear();
    places_.clear();
}

void SaverWindow::ApplyDisplayChange() {
    displayChanged_ = false;
    PlaceWindow();
    if (!showsBuilt_) return; // not started yet: the start builds them
    bool inWindow = false;
    const std::vector<ShowPlace> places = PlacesNow(inWindow);
    const std::vector<int> kept = KeptShows(places_, showsInWindow_, places, inWindow);

    // The shows kept keep their tiles and their stage, which moves with their monitor's place
    // in the new window; the others give their files back as not yet seen, and go.
    std::vector<std::unique_ptr<MonitorShow>> old = std::move(shows_);
    std::vector<std::unique_ptr<Stage>> oldStages = std::move(stages_);
    DropShows();
    std::vector<std::unique_ptr<MonitorShow>> next(places.size());
    for (size_t i = 0; i < places.size(); ++i) {
        if (kept[i] < 0) continue;
        next[i] = std::move(old[kept[i]]);
        const Box& b = places[i].box;
        for (auto& stage : oldStages)
            if (stage && stage->Handle() == next[i]->Canvas()) {
                SetWindowPos(stage->Handle(), nullptr, b.left, b.top, b.width, b.height,
                             SWP_NOZORDER | SWP_NOACTIVATE);
                stages_.push_back(std::move(stage));
            }
        next[i]->MoveCanvas({b.left, b.top});
    }
    for (const auto& show : old)
        if (show) {
            catalogue_.GiveBack(show->HeldFiles());
            catalogue_.GiveBack(show->FilesAhead());
        }
    old.clear();       // the tiles first,
    oldStages.clear(); // then the stages that held them

    FillShows(InstallShows(places, inWindow, std::move(next))); // as at the start
    tk::Log(L"the monitors changed: " + tk::IntToStr(static_cast<long long>(shows_.size())) +
            L" shows");
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

bool SaverWindow::ShownElsewhere(const MonitorShow* asking, const std::wstring& path) const {
    for (const auto& show : shows_)
        if (show.get() != asking && show->Holds(path)) return true;
    return false;
}

long SaverWindow::Refills() const {
    long n = 0;
    for (const auto& show : shows_)
        n += show->Refills();
    return n;
}

long SaverWindow::Loads() const {
    long n = 0;
    for (const auto& show : shows_)
        n += show->Loads();
    return n;
}

bool SaverWindow::Animating() const {
    for (const auto& show : shows_)
        if (show->Animating()) return true;
    return false;
}
