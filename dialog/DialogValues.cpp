#include "dialog/DialogValues.h"

#include <windows.h>

#include <algorithm>
#include <span>

#include "settings/ConfigName.h"
#include "settings/FolderList.h"
#include "settings/SettingRows.h"
#include "resources/SettingsDialogLayout.h"
#include "library/MediaKind.h"
#include "settings/Pacing.h"
#include "toolkit/System.h"
#include "toolkit/Text.h"
#include "toolkit/Log.h"

std::wstring StepHint(int stepPixels) {
    return tk::IntToStr(stepPixels) + L" pixels";
}

std::wstring SpeedHint(int stepPixels, int stepsPerTenSeconds) {
    if (stepsPerTenSeconds == 1000)
        return tk::IntToStr(stepPixels) + L" pixels le plus vite possible";
    // The gap the saver's timer will run at, so that the hint never tells another.
    return tk::IntToStr(stepPixels) + L" pixels toutes les " +
           tk::IntToStr(int(StripStepMs(stepsPerTenSeconds))) + L" ms";
}

std::wstring DisplayTimeHint(int displaySeconds) {
    return tk::IntToStr(displaySeconds) + L" secondes";
}

namespace {
std::span<const int> GrowthsOffered() {
    return RowOf(&SettingsRecord::clipMaxGrowth).offered;
}
std::span<const int> TileCountsOffered() {
    return RowOf(&SettingsRecord::maxTiles).offered;
}
// Where the list shows the value; -1 for a value it does not offer.
int IndexOf(std::span<const int> offered, int value) {
    const auto at = std::find(offered.begin(), offered.end(), value);
    return at == offered.end() ? -1 : int(at - offered.begin());
}
std::vector<std::wstring> ItemsOf(std::span<const int> offered, const wchar_t* suffix) {
    std::vector<std::wstring> items;
    for (int value : offered)
        items.push_back(tk::IntToStr(value) + suffix);
    return items;
}
} // namespace

const std::vector<std::wstring>& GrowItems() {
    static const std::vector<std::wstring> items = ItemsOf(GrowthsOffered(), L"x");
    return items;
}

const std::vector<std::wstring>& TileCountItems() {
    static const std::vector<std::wstring> items = ItemsOf(TileCountsOffered(), L"");
    return items;
}

std::wstring MediaFileMask(uint32_t usableMask) {
    std::wstring mask;
    for (size_t i = 0; i < MediaExtensions.size(); ++i)
        if (usableMask & (1u << i)) mask += std::wstring(L";*") + MediaExtensions[i];
    return mask;
}

namespace {
constexpr const wchar_t* kFileListHintFirst = L"Fichiers images et vidéos trouvés\r\n";
constexpr const wchar_t* kFileListHintFormats = L"Photos : ";
constexpr const wchar_t* kFileListHintLast = L"\r\nCliquer sur un fichier pour le prévisualiser";
} // namespace

std::wstring FileListHint(uint32_t usableMask) {
    std::wstring names;
    for (const std::wstring& name : PhotoFormatNames(usableMask))
        names += (names.empty() ? L"" : L", ") + name;
    return kFileListHintFirst + (kFileListHintFormats + names) + kFileListHintLast;
}

std::array<bool, kTransitionCount> CheckedTransitions(const std::wstring& transitionList) {
    std::array<bool, kTransitionCount> checked{};
    // No list stored at all is the first run's: every transition, as the saver plays then.
    if (transitionList.empty()) checked.fill(true);
    for (int number : ListedTransitions(transitionList))
        checked[number - 1] = true;
    return checked;
}

std::vector<std::wstring> ConfigurationNames(const std::wstring& installDir) {
    std::vector<std::wstring> names = ListConfigurations(installDir);
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
               CSTR_LESS_THAN;
    });
    return names;
}

DialogValues ValuesFromSettings(const SettingsRecord& s) {
    DialogValues v;
    v.folders = FolderEntries(s.folders);
    v.transitions = CheckedTransitions(s.transitionList);
    v.options = {s.captionName, s.captionDate, s.rememberSeen};
    v.stepLeft = layout::kStepTrack.LeftOf(s.stepPixels);
    v.speedLeft = layout::kSpeedTrack.LeftOf(s.stepsPerTenSeconds);
    v.displayTimeLeft = layout::kDisplayTimeTrack.LeftOf(s.displaySeconds);
    v.switches = {s.clipPlaysWhenVisible, s.clipLoops, s.clipRandomStart, s.clipPlaysWhole};
    // A factor above the list's last (an older dialog stored 10 for a "maxi" item) is the
    // largest one the saver applies: it shows as "9x" and is saved back as 9.
    const std::span<const int> growths = GrowthsOffered();
    v.growIndex = IndexOf(growths, std::min(s.clipMaxGrowth, growths.back()));
    v.tileCountIndex = IndexOf(TileCountsOffered(), s.maxTiles);
    v.configNames = ConfigurationNames(s.installDir);
    v.configName = s.configName;
    v.randomConfig = s.randomConfig;
    return v;
}

const wchar_t* const kBadNameMessage =
    L"Nom de configuration interdit\r(nom vide ou contenant l'un des caractères suivants "
    L"\\/:*?\"<>|)";
const wchar_t* const kNoFolderMessage =
    L"Aucun répertoire d'images défini\r(voir onglet Images et vidéos)";
const wchar_t* const kNoTransitionMessage = L"Aucune transition définie\r(voir onglet paramètres)";

bool IsRefusedConfigName(const std::wstring& name) {
    return !IsUsableConfigName(name);
}

std::wstring SettingsFromValues(const DialogValues& v, const std::wstring& name,
                                SettingsRecord& s) {
    if (IsRefusedConfigName(name)) return kBadNameMessage;

    s.folders.clear();
    for (const std::wstring& folder : v.folders)
        s.folders += folder + L";";
    if (s.folders.empty()) return kNoFolderMessage;

    s.transitionList = L";";
    for (size_t i = 0; i < v.transitions.size(); ++i)
        if (v.transitions[i]) s.transitionList += tk::IntToStr(int(i) + 1) + L";";
    if (s.transitionList == L";") return kNoTransitionMessage;

    s.stepPixels = layout::kStepTrack.ValueAt(v.stepLeft);
    s.stepsPerTenSeconds = layout::kSpeedTrack.ValueAt(v.speedLeft);
    s.displaySeconds = layout::kDisplayTimeTrack.ValueAt(v.displayTimeLeft);
    s.clipPlaysWhenVisible = v.switches[0];
    s.clipLoops = v.switches[1];
    s.clipRandomStart = v.switches[2];
    s.clipPlaysWhole = v.switches[3];
    // With no enlargement chosen (a stored value the list does not offer), the stored one stays.
    if (v.growIndex >= 0 && size_t(v.growIndex) < GrowthsOffered().size())
        s.clipMaxGrowth = GrowthsOffered()[v.growIndex];
    s.captionName = v.options[0];
    s.captionDate = v.options[1];
    // A tile count the list does not offer shows no selection; the stored count then stays,
    // rather than an empty text saved as 0 tiles.
    if (v.tileCountIndex >= 0 && size_t(v.tileCountIndex) < TileCountsOffered().size())
        s.maxTiles = TileCountsOffered()[v.tileCountIndex];

    s.rememberSeen = v.options[2];
    if (!s.rememberSeen && !s.memoryName.empty()) {
        // The memory file is only ever looked for inside the install folder: a hand-edited
        // name that would lead elsewhere is forgotten without touching any file.
        const std::wstring memory = MemoryFilePath(s.installDir, s.memoryName);
        if (!IsRefusedConfigName(s.memoryName) && tk::FileExists(memory) &&
            !DeleteFileW(memory.c_str()))
            tk::Log(L"cannot delete the memory file " + memory);
        s.memoryName.clear();
    }
    s.configName = name;
    if (s.rememberSeen) s.memoryName = s.configName;
    s.randomConfig = v.randomConfig;
    return L"";
}
