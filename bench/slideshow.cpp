// The slideshow's figures: one movement step of a 20-tile strip against a bare loop moving
// as many child windows, the refill of a tile with a 24-megapixel photo, and the memory the
// tiles hold. Ratios are taken within the run; absolute times depend on the machine.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BareClass.h"
#include "bench/Measure.h"
#include "tests/support/SlideshowRig.h"
#include "tests/support/TempDir.h"

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// The bare loop: plain child windows of the tiles' sizes in a black window over every
// monitor (each show's tiles on its monitor), moved by SetWindowPos and left to repaint.
struct BareStrip {
    HWND parent = nullptr;
    std::vector<HWND> children;
    std::vector<int> x, y;

    BareStrip(const SaverWindow& saver) {
        RECT all;
        GetWindowRect(saver.Handle(), &all);
        parent = CreateWindowExW(WS_EX_TOPMOST, BareClass(L"BareParent", BLACK_BRUSH), L"",
                                 WS_POPUP | WS_CLIPCHILDREN, all.left, all.top,
                                 all.right - all.left, all.bottom - all.top, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        const wchar_t* childClass = BareClass(L"BareChild", GRAY_BRUSH);
        for (const auto& show : saver.Shows())
            for (int i = 0; i < show->Strip().tileCount; ++i) {
                Box box = show->Strip().TileBox(i);
                x.push_back(show->Origin().x + show->Strip().tilePos[i]);
                y.push_back(show->Origin().y + box.top);
                children.push_back(CreateWindowExW(
                    0, childClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x.back(), y.back(),
                    box.width, box.height, parent, nullptr, GetModuleHandleW(nullptr), nullptr));
            }
    }
    ~BareStrip() { DestroyWindow(parent); }

    void Step(int speed) {
        for (size_t i = 0; i < children.size(); ++i) {
            x[i] -= speed;
            SetWindowPos(children[i], nullptr, x[i], y[i], 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        }
        RedrawWindow(parent, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
};

void SetShown(HWND window, bool shown) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE |
                     (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();
}

void StepFigures(const std::wstring& folder) {
    const int W = GetSystemMetrics(SM_CXSCREEN), H = GetSystemMetrics(SM_CYSCREEN);
    // 1620 x 1080 pictures, as a 3:2 photo fitted to a 1920 x 1080 screen.
    const int pw = std::min(1620, W), ph = std::min(1080, H);
    std::wstring first = folder + L"step0.jpg";
    MakeDetailedJpeg(first, pw, ph);
    std::vector<std::wstring> files = {first};
    for (int i = 1; i < 20; ++i) {
        files.push_back(folder + L"step" + std::to_wstring(i) + L".jpg");
        CopyFileW(first.c_str(), files.back().c_str(), FALSE);
    }
    const double before = rig::PrivateMb();
    rig::RunSettings run;
    run.transition = 1;
    run.tiles = 20;
    run.speed = 2;
    run.delay = 1000;
    run.preparesInline = false; // the refills during the measure put pictures a worker made
    auto saver = rig::StartSaver(run, files, true);
    if (!saver) return;
    // The first tiles' pictures come from the worker as the strip moves.
    for (const DWORD start = GetTickCount(); saver->Loads() < 20 && GetTickCount() - start < 60000;
         Sleep(1)) {
        saver->MoveOneStep();
        PumpMessages();
    }
    const double after = rig::PrivateMb();
    double fittedMb = 0;
    for (const auto& show : saver->Shows())
        for (const auto& image : show->Strip().pictures)
            fittedMb += double(image->Picture().Width()) * image->Picture().Height() * 4 /
                        (1024.0 * 1024.0);

    BareStrip bare(*saver);
    SetShown(bare.parent, false);
    std::vector<double> ours, theirs;
    const int warmup = 100, blocks = 10, perBlock = 100;
    for (int i = 0; i < warmup; ++i) {
        saver->MoveOneStep();
        PumpMessages();
    }
    for (int i = 0; i < warmup; ++i)
        bare.Step(run.speed);
    for (int block = 0; block < blocks; ++block) {
        SetShown(bare.parent, true);
        for (int i = 0; i < perBlock; ++i) {
            double t0 = Now();
            bare.Step(run.speed);
            theirs.push_back(Now() - t0);
            PumpMessages();
        }
        SetShown(bare.parent, false);
        for (int i = 0; i < perBlock; ++i) {
            double t0 = Now();
            saver->MoveOneStep();
            RedrawWindow(saver->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            ours.push_back(Now() - t0);
            PumpMessages();
        }
    }
    const double median = Percentile(ours, 0.5), bareMedian = Percentile(theirs, 0.5);
    std::printf("step_ratio: %.2f\n", bareMedian > 0 ? median / bareMedian : 0.0);
    std::printf("step_ms_median: %.2f\n", median);
    std::printf("step_ms_p99: %.2f\n", Percentile(ours, 0.99));
    std::printf("step_bare_ms_median: %.2f\n", bareMedian);
    std::printf("step_refills_during_measure: %ld\n", saver->Refills() - 20);
    std::printf("tiles_mb_20: %.1f\n", after - before);
    std::printf("tiles_fitted_mb_20: %.1f\n", fittedMb);
    std::printf("tiles_mb_ratio: %.2f\n", fittedMb > 0 ? (after - before) / fittedMb : 0.0);
    std::printf("frame_buffer_mb: %.1f\n", double(W) * H * 4 / (1024.0 * 1024.0));
}

void RefillFigures(const std::wstring& folder) {
    std::wstring big = folder + L"big.jpg";
    if (!MakeDetailedJpeg(big, 6000, 4000)) return;
    rig::RunSettings run;
    run.transition = 1;
    run.tiles = 1;
    run.names = run.dates = true;
    auto saver = rig::StartSaver(run, {big}, true);
    if (!saver) return;
    std::vector<double> refills, fits;
    for (int i = 0; i < 7; ++i) {
        saver->Catalogue().filesToSee = {big}; // as a rescan brings the one file back
        const long before = saver->Loads();
        double t0 = Now();
        saver->PrimaryShow().RefillTile(); // pick, load, fit, caption, place, as the worker does
        if (saver->Loads() > before) refills.push_back(Now() - t0);
    }
    // The picture control's own part, on the same file: load and fit.
    FitImage image;
    image.CreateControl(saver->Handle(), 0, 0, 0, 0);
    RECT area = saver->PrimaryShow().fitArea;
    for (int i = 0; i < 7; ++i) {
        double t0 = Now();
        image.LoadFromFile(big, area.right, area.bottom);
        image.FitPicture(area);
        fits.push_back(Now() - t0);
    }
    const double refill = Percentile(refills, 0.5), fit = Percentile(fits, 0.5);
    std::printf("refill_ms_24mp: %.1f\n", refill);
    std::printf("refill_samples_24mp: %zu\n", refills.size());
    std::printf("refill_fit_ms_24mp: %.1f\n", fit);
    std::printf("refill_extra_ms_24mp: %.1f\n", refill - fit);
}

} // namespace

int wmain() {
    tk::SetBoxHook([](const tk::BoxRequest&) { return IDOK; });
    const TempDir folder;
    StepFigures(folder.Path());
    RefillFigures(folder.Path());
    return 0;
}
