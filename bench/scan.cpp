// The cost of cataloguing a large library: 40,000 files in 2,000 folders nested up to four
// deep (mostly photos, some clips, some other files), against one plain listing ("*") of
// every folder of the same tree. The tree is made once and kept in the temporary folder.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/Measure.h"
#include "settings/Settings.h"
#include "library/FolderScan.h"
#include "saver/SaverWindow.h"
#include "saver/ScanWorker.h"
#include "tests/support/NaiveScan.h"
#include "tests/support/SlideshowRig.h"

namespace {

constexpr int kFolders = 2000, kFilesPerFolder = 20, kMaxDepth = 4;
constexpr int kRuns = 5;

void Touch(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

// Folders are made breadth first, each taking up to 8 sub-folders, until there are 2,000;
// every folder holds 20 files named as cameras and editors name them.
bool MakeTree(const std::wstring& root) {
    const std::wstring done = root + L"\\complete";
    if (GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    CreateDirectoryW(root.c_str(), nullptr);
    struct Folder {
        std::wstring path;
        int depth;
    };
    std::vector<Folder> folders;
    std::vector<Folder> queue = {{root, 0}};
    size_t next = 0;
    while (int(folders.size()) < kFolders && next < queue.size()) {
        const Folder parent = queue[next++];
        for (int i = 0; i < 8 && int(folders.size()) < kFolders && parent.depth < kMaxDepth; ++i) {
            Folder child{parent.path + L"\\Album " + std::to_wstring(folders.size()),
                         parent.depth + 1};
            if (!CreateDirectoryW(child.path.c_str(), nullptr) &&
                GetLastError() != ERROR_ALREADY_EXISTS)
                return false;
            folders.push_back(child);
            queue.push_back(child);
        }
    }
    static const wchar_t* kOthers[] = {L".txt", L".xmp", L".thm", L".ini", L".png"};
    static const wchar_t* kClips[] = {L".mpg", L".avi", L".wmv", L".mpeg", L".mov", L".mp2v"};
    int n = 0;
    for (const Folder& folder : folders)
        for (int i = 0; i < kFilesPerFolder; ++i, ++n) {
            std::wstring name = L"IMG_2023" + std::to_wstring(100000 + n);
            if (n % 25 == 3)
                name += kClips[n % 6];
            else if (n % 25 == 7 || n % 25 == 11 || n % 25 == 19)
                name += kOthers[n % 5];
            else
                name += (n % 9 == 0) ? L".JPEG" : L".jpg";
            Touch(folder.path + L"\\" + name);
        }
    Touch(done);
    return true;
}

int PlainPass(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    int entries = 0;
    std::vector<std::wstring> subfolders;
    do {
        ++entries;
        const std::wstring name = data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
            subfolders.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    for (const std::wstring& name : subfolders)
        entries += PlainPass(folder + L"\\" + name);
    return entries;
}

} // namespace

int wmain() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root = std::wstring(temp) + L"vistamur-bench-tree-v1";
    if (!MakeTree(root)) {
        fprintf(stderr, "cannot make the tree\n");
        return 1;
    }
    std::vector<double> plain, scan;
    size_t found = 0;
    PlainPass(root); // warm the caches
    for (int run = 0; run < kRuns; ++run) {
        plain.push_back(TimeMs([&] { PlainPass(root); }));
        scan.push_back(TimeMs([&] {
            std::vector<std::wstring> files;
            FolderScan(files, {}).ScanFolders(root);
            found = files.size();
        }));
    }
    // The saver's own scan of the same tree: with its progress texts and its looks at the
    // input (a hidden window, no input coming).
    std::vector<double> saverMs;
    {
        SettingsRecord settings;
        settings.folders = root;
        SaverWindow saver;
        saver.UseSettings(settings);
        if (saver.CreateHidden())
            for (int run = 0; run < kRuns; ++run)
                saverMs.push_back(TimeMs([&] { saver.ScanFoldersToTheEnd(); }));
    }
    // The scan on its worker while a strip of photos moves on the window's thread, a step
    // every 10 ms as the fastest strip steps: what the show costs the scan behind it.
    std::vector<double> besideMs;
    {
        const TempDir photos;
        std::vector<std::wstring> files;
        for (int i = 0; i < 6; ++i) {
            files.push_back(photos / (L"photo" + std::to_wstring(i) + L".jpg"));
            MakeDetailedJpeg(files.back(), 480, 360);
        }
        auto saver = rig::StartSaver({.transition = 1, .tiles = 3, .speed = 4}, files, true);
        for (int run = 0; saver && run < kRuns; ++run)
            besideMs.push_back(TimeMs([&] {
                bool ended = false;
                ScanWorker worker({root, UsableMediaMask()});
                while (!ended) {
                    for (const ScanBatch& batch : worker.TakeBatches())
                        ended = ended || batch.last;
                    PumpMessages();
                    saver->stepDue = true;
                    saver->MoveOneStep();
                    Sleep(10);
                }
            }));
    }
    double naive = TimeMs([&] {
        NaiveScan reference;
        reference.ScanFolders(root);
    });
    const double scanMs = Median(scan), plainMs = Median(plain);
    printf("scan_ratio: %.3f\n", scanMs / plainMs);
    printf("scan_files_per_s: %.0f\n", kFolders * kFilesPerFolder / (scanMs / 1000.0));
    printf("scan_ms: %.1f\n", scanMs);
    printf("scan_plain_ms: %.1f\n", plainMs);
    printf("scan_naive_ratio: %.2f\n", naive / plainMs);
    if (!saverMs.empty()) printf("scan_saver_ratio: %.3f\n", Median(saverMs) / plainMs);
    // The scan behind a moving show against the scan alone.
    if (!besideMs.empty()) printf("scan_beside_show_ratio: %.3f\n", Median(besideMs) / scanMs);
    printf("scan_found: %zu\n", found);
    return 0;
}
