// The images page of the settings dialog, in the real dialog:
// - filelist_ratio_10k: the file list filled for a folder of 10,000 media files among 10,000
//   others, against one plain FindFirstFileW listing of that folder;
// - preview_ratio_24mp: a click on a 6000 x 4000 photo until its fitted picture is painted,
//   against the saver's way of loading the same file for a 1920 x 1080 screen (the fit
//   benchmark's figure);
// - preview_clip_ms: a click on an MPEG-1 clip until its first frame shows in the box.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/BigPhoto.h"
#include "bench/Measure.h"
#include "controls/FitImage.h"
#include "tests/support/Tree.h"
#include "tests/support/DialogRig.h"
#include "tests/support/Rig.h"
#include "tests/support/ClipRig.h"
#include "toolkit/MsgBox.h"

namespace {

constexpr int kRuns = 7;
constexpr int kMediaFiles = 10000;

// A folder of kMediaFiles photos and clips and as many other files, kept in the temporary
// folder for later runs. Made by a Unix shell: under Wine, each file made from here would
// search the growing folder.
std::wstring ManyFilesFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"vistamur-bench-filelist-v1";
    const std::wstring last = folder + L"\\DOC_" + std::to_wstring(kMediaFiles - 1) + L".txt";
    auto made = [&] { return GetFileAttributesW(last.c_str()) != INVALID_FILE_ATTRIBUTES; };
    if (made()) return folder;
    CreateDirectoryW(folder.c_str(), nullptr);
    // Half the media files photos, half clips; one other file beside each.
    const std::string makeAll =
        "cd \\\"" + UnixPath(folder) + "\\\" && i=0; while [ $i -lt " +
        std::to_string(kMediaFiles) +
        " ]; do if [ $((i % 2)) -eq 0 ]; then : > IMG_$i.jpg; else : > CLIP_$i.mpg; fi; "
        ": > DOC_$i.txt; i=$((i+1)); done";
    return RunUnix("/bin/sh -c \"" + makeAll + "\"", made) ? folder : std::wstring();
}

size_t PlainListing(const std::wstring& folder) {
    size_t count = 0;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do
        ++count;
    while (FindNextFileW(find, &data));
    FindClose(find);
    return count;
}

void MeasureFileList(SettingsDialog& dialog) {
    const std::wstring folder = ManyFilesFolder();
    if (folder.empty()) {
        fprintf(stderr, "cannot make the folder of many files\n");
        return;
    }
    std::vector<double> plain, filled;
    PlainListing(folder); // the folder in the cache
    for (int run = 0; run < kRuns; ++run) {
        plain.push_back(TimeMs([&] { PlainListing(folder); }));
        dialog.fileList->SetDirectory(L"C:\\"); // away, so that each fill starts afresh
        filled.push_back(TimeMs([&] {
            dialog.fileList->SetDirectory(folder);
            UpdateWindow(dialog.fileList->Handle());
        }));
    }
    if (dialog.fileList->Count() != kMediaFiles)
        fprintf(stderr, "the list shows %d files\n", dialog.fileList->Count());
    printf("filelist_ratio_10k: %.3f\n", Median(filled) / Median(plain));
    printf("filelist_10k_ms: %.1f\n", Median(filled));
    printf("filelist_plain_listing_ms: %.1f\n", Median(plain));
}

// Selects the list's line of that name and clicks it as the list's own click does.
void ClickFile(SettingsDialog& dialog, const std::wstring& name) {
    dialog.fileList->SetSelected(dialog.fileList->FindExact(name), true);
    dialog.OnFilePicked();
}

void MeasurePhoto(SettingsDialog& dialog, const std::wstring& folder) {
    const std::wstring photo = BigPhoto();
    if (photo.empty() || !CopyFileW(photo.c_str(), (folder + L"\\big.jpg").c_str(), FALSE)) {
        fprintf(stderr, "cannot make the photo\n");
        return;
    }
    dialog.fileList->SetDirectory(folder);
    std::vector<double> clicks, fits;
    FitImage fit;
    ClickFile(dialog, L"big.jpg"); // the file in the cache
    for (int run = 0; run < kRuns; ++run) {
        clicks.push_back(TimeMs([&] {
            ClickFile(dialog, L"big.jpg");
            GdiFlush();
        }));
        fits.push_back(TimeMs([&] {
            fit.LoadFromFile(photo, 1920, 1080);
            fit.FitPicture(RECT{0, 0, 1920, 1080});
        }));
    }
    if (dialog.previewPicture.Picture().Width() != 189)
        fprintf(stderr, "the preview is %d wide\n", dialog.previewPicture.Picture().Width());
    printf("preview_ratio_24mp: %.3f\n", Median(clicks) / Median(fits));
    printf("preview_24mp_ms: %.1f\n", Median(clicks));
}

bool BoxShowsAFrame(SettingsDialog& dialog) {
    RECT r;
    GetWindowRect(dialog.previewBox->Handle(), &r);
    InflateRect(&r, -3, -3);
    return cliprig::LitShare(ReadScreen(r)) > 0.3;
}

void MeasureClip(SettingsDialog& dialog, const std::wstring& folder) {
    CopyFileW(cliprig::Media(L"bench.mpg").c_str(), (folder + L"\\clip.mpg").c_str(), FALSE);
    dialog.fileList->SetDirectory(folder);
    // The first DirectShow clip of a process loads its filters: the saver warms them while
    // its banner shows, the dialog at this first click.
    std::vector<double> shows;
    double first = 0;
    for (int run = 0; run <= kRuns; ++run) {
        dialog.previewPlayer.Close();
        WaitUntil([&] { return !BoxShowsAFrame(dialog); }, 2000);
        const double ms = TimeMs([&] {
            ClickFile(dialog, L"clip.mpg");
            WaitUntil([&] { return BoxShowsAFrame(dialog); }, 5000);
        });
        if (run == 0)
            first = ms;
        else
            shows.push_back(ms);
    }
    dialog.previewPlayer.Close();
    printf("preview_clip_ms: %.1f\n", Median(shows));
    printf("preview_clip_first_ms: %.1f\n", first);
}

} // namespace

int wmain() {
    rig::DialogInstall install;
    auto dialog = rig::OpenDialog();
    if (!dialog) {
        fprintf(stderr, "cannot open the dialog\n");
        return 1;
    }
    tk::SetBoxHook([](const tk::BoxRequest& box) {
        fprintf(stderr, "box: %ls\n", box.text.c_str());
        return IDOK;
    });
    TempDir media;
    const std::wstring folder = media.Path().substr(0, media.Path().size() - 1);
    MeasureFileList(*dialog);
    MeasurePhoto(*dialog, folder);
    MeasureClip(*dialog, folder);
    tk::SetBoxHook(nullptr);
    return 0;
}
