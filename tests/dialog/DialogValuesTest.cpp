// The settings dialog's values: the knob scales, the hints, the stored lists as the dialog
// reads them, and TakeSettings' validation and copy, against real files of the install folder.
#include <windows.h>

#include "dialog/DialogValues.h"
#include "library/MediaKind.h"
#include "settings/Pacing.h"
#include "tests/support/SettingsFixture.h"
#include "toolkit/System.h"

namespace {

// The settings as the dialog shows them and saves them again, with one folder to save.
SettingsRecord RoundTrip(SettingsRecord s) {
    s.folders = L"C:\\a;";
    SettingsRecord back = s;
    EXPECT_EQ(SettingsFromValues(ValuesFromSettings(s), s.configName, back), L"");
    return back;
}

} // namespace

TEST_F(SettingsTest, KnobsKeepEveryStepAndRoundDelayAndDisplayTimeToTheirPixels) {
    for (int speed = 1; speed <= 100; ++speed) {
        settings.stepPixels = speed;
        EXPECT_EQ(RoundTrip(settings).stepPixels, speed);
    }
    struct Case {
        int delay, delayBack, displayTime, displayTimeBack;
    };
    // 500 sits at 79.5 pixels, which rounds to the even 80; 1 sits on the track's first
    // pixel, whose value 0 is brought up to 1.
    for (const Case& c : {Case{990, 987, 30, 29}, Case{500, 503, 300, 300}, Case{1, 1, 1, 1},
                          Case{1000, 1000, 150, 150}}) {
        settings.stepsPerTenSeconds = c.delay;
        settings.displaySeconds = c.displayTime;
        SettingsRecord back = RoundTrip(settings);
        EXPECT_EQ(back.stepsPerTenSeconds, c.delayBack) << c.delay;
        EXPECT_EQ(back.displaySeconds, c.displayTimeBack) << c.displayTime;
    }
}

TEST_F(SettingsTest, KnobPlacesAndTheirValuesAtTheTracksEnds) {
    struct Case {
        const layout::KnobTrack& track;
        int stored, expectedLeft, dragEnd, valueAtDragEnd;
    };
    const Case cases[] = {
        {layout::kStepTrack, 100, 391, layout::kStepTrack.highest, 100},
        {layout::kSpeedTrack, 1, 279, layout::kSpeedTrack.highest, 1000},
        {layout::kDisplayTimeTrack, 1, 334, layout::kDisplayTimeTrack.highest, 300},
        // Hand-edited values beyond the tracks put the knob at the track's end.
        {layout::kStepTrack, 5000, 391, 279, 1},
        {layout::kSpeedTrack, -3, 279, layout::kSpeedTrack.lowest, 6},
        {layout::kDisplayTimeTrack, 86400, 438, layout::kDisplayTimeTrack.lowest, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.track.LeftOf(c.stored), c.expectedLeft) << c.stored;
        EXPECT_EQ(c.track.ValueAt(c.dragEnd), c.valueAtDragEnd) << c.dragEnd;
    }
}

TEST_F(SettingsTest, KnobHints) {
    EXPECT_EQ(StepHint(4), L"4 pixels");
    EXPECT_EQ(SpeedHint(4, 1000), L"4 pixels le plus vite possible");
    EXPECT_EQ(SpeedHint(4, 999), L"4 pixels toutes les 10 ms");
    EXPECT_EQ(SpeedHint(4, 990), L"4 pixels toutes les 10 ms");
    EXPECT_EQ(SpeedHint(7, 100), L"7 pixels toutes les 100 ms");
    EXPECT_EQ(SpeedHint(7, 1), L"7 pixels toutes les 10000 ms");
    EXPECT_EQ(SpeedHint(7, 0), L"7 pixels toutes les 10000 ms"); // no division by zero
    EXPECT_EQ(DisplayTimeHint(30), L"30 secondes");

    // The hint tells the gap the strip's timer runs at, rounded as the timer rounds it.
    for (int delay : {6, 7, 3, 999, 1}) {
        const unsigned timer = *StepTimerInterval(1, 30, delay);
        EXPECT_EQ(SpeedHint(2, delay), L"2 pixels toutes les " + std::to_wstring(timer) + L" ms")
            << delay;
    }
    EXPECT_EQ(SpeedHint(2, 6), L"2 pixels toutes les 1667 ms");
}

TEST_F(SettingsTest, StoredTransitionListAsTheDialogShowsIt) {
    auto checked = [](const std::wstring& stored) {
        std::wstring marks;
        for (bool on : CheckedTransitions(stored))
            marks += on ? L'x' : L'.';
        return marks;
    };
    EXPECT_EQ(checked(L""), L"xxxxxxxxxxxxx");
    // What is stored: no number ticks none (OK then refuses), though the saver plays all.
    EXPECT_EQ(checked(L";"), L".............");
    EXPECT_EQ(checked(L";0;14;abc;;"), L".............");
    EXPECT_EQ(checked(L"4;5"), L"...xx........");
    EXPECT_EQ(checked(L";2;5;13;"), L".x..x.......x");
    EXPECT_EQ(checked(L";0;14;x;-1;3"), L"..x..........");
}

TEST_F(SettingsTest, ListChoicesAndTheMaskFollowTheStoredValues) {
    settings.maxTiles = 15;
    settings.clipMaxGrowth = 10;
    DialogValues v = ValuesFromSettings(settings);
    EXPECT_EQ(v.tileCountIndex, 8);
    EXPECT_EQ(GrowItems().back(), L"9x");
    EXPECT_EQ(v.growIndex, 8); // an older dialog's "maxi" (10) shows as the largest factor
    EXPECT_EQ(RoundTrip(settings).clipMaxGrowth, 9);
    EXPECT_EQ(MediaFileMask(~0u).substr(0, 14), L";*.JPG;*.JPEG;");

    // Values the lists do not offer show no selection and stay as stored when saved.
    settings.maxTiles = 11;
    settings.clipMaxGrowth = 0;
    SettingsRecord back = RoundTrip(settings);
    EXPECT_EQ(back.maxTiles, 11);
    EXPECT_EQ(back.clipMaxGrowth, 0);
}

TEST_F(SettingsTest, GetRefusesInItsOrderAndTakesABlankNameForEmpty) {
    settings.folders = L"C:\\a;";
    DialogValues good = ValuesFromSettings(settings);
    DialogValues none = good;
    none.folders.clear();
    none.transitions.fill(false);
    struct Case {
        const DialogValues& values;
        std::wstring name;
        const wchar_t* refusal;
    };
    const Case cases[] = {
        {none, L"", kBadNameMessage},
        {none, L"a|b", kBadNameMessage},
        {none, L"a\\b", kBadNameMessage},
        {none, L"CON", kBadNameMessage}, // a device: its ".cfg" would open the device
        {none, L"com1", kBadNameMessage},
        {none, L"x", kNoFolderMessage},
        {good, L"Console", L""},
        {good, L"   ", kBadNameMessage}, // it would show as an empty line
        {good, L"Été 2024", L""},
    };
    for (const Case& c : cases) {
        SettingsRecord s = settings;
        EXPECT_EQ(SettingsFromValues(c.values, c.name, s), c.refusal) << c.name;
    }
    DialogValues noTransition = good;
    noTransition.transitions.fill(false);
    SettingsRecord s = settings;
    EXPECT_EQ(SettingsFromValues(noTransition, L"x", s), kNoTransitionMessage);
    EXPECT_EQ(s.folders, L"C:\\a;"); // written before the refusal, as the dialog keeps it

    for (const wchar_t c : std::wstring(L"\\/:*?\"<>|"))
        EXPECT_TRUE(IsRefusedConfigName(std::wstring(L"a") + c));
}

TEST_F(SettingsTest, GetCopiesTheControlsAndNamesTheMemoryAfterTheConfiguration) {
    settings.folders = L"C:\\a;";
    DialogValues v = ValuesFromSettings(settings);
    v.folders = {L"C:\\a", L"D:\\b"};
    v.transitions = {};
    v.transitions[1] = v.transitions[12] = true;
    v.switches = {false, true, true, false};
    v.options = {true, false, true};
    v.growIndex = 2;
    v.tileCountIndex = 9;
    v.randomConfig = true;
    SettingsRecord s = settings;
    ASSERT_EQ(SettingsFromValues(v, L"Vacances", s), L"");
    EXPECT_EQ(s.folders, L"C:\\a;D:\\b;");
    EXPECT_EQ(s.transitionList, L";2;13;");
    EXPECT_EQ(s.clipMaxGrowth, 3);
    EXPECT_EQ(s.maxTiles, 20);
    EXPECT_EQ(s.configName, L"Vacances");
    EXPECT_EQ(s.memoryName, L"Vacances");
    EXPECT_TRUE(s.randomConfig && s.captionName && !s.captionDate && s.rememberSeen);
    EXPECT_TRUE(!s.clipPlaysWhenVisible && s.clipLoops && s.clipRandomStart && !s.clipPlaysWhole);
}

TEST_F(SettingsTest, TurningTheMemoryOffDeletesItsFileOnlyInsideTheInstallFolder) {
    WriteFileBytes(dir / L"old.tmp", "C:\\x.jpg\r\n1\r\n");
    WriteFileBytes(dir / L"outside.tmp", "kept");
    settings.folders = L"C:\\a;";
    settings.rememberSeen = true;
    struct Case {
        std::wstring memoryName, file;
        bool deleted;
    };
    const Case cases[] = {{L"old", L"old.tmp", true},
                          {L"sub\\..\\outside", L"outside.tmp", false},
                          {L"absent", L"", false}};
    for (const Case& c : cases) {
        SettingsRecord s = settings;
        s.memoryName = c.memoryName;
        DialogValues v = ValuesFromSettings(s);
        v.options[2] = false;
        ASSERT_EQ(SettingsFromValues(v, L"config 1", s), L"");
        EXPECT_EQ(s.memoryName, L"");
        if (!c.file.empty()) {
            EXPECT_EQ(tk::FileExists(dir / c.file), !c.deleted) << c.file;
        }
    }
}

TEST_F(SettingsTest, ConfigurationNamesAreTheCfgFilesSortedIgnoringCase) {
    for (const wchar_t* name : {L"zoo.cfg", L"Alpes.cfg", L"été.cfg", L"b.cfg", L"notes.cfgold"})
        WriteFileBytes(dir / name, "");
    CreateDirectoryW((dir / L"folder.cfg").c_str(), nullptr);
    EXPECT_EQ(ConfigurationNames(dir.Path()),
              (std::vector<std::wstring>{L"Alpes", L"b", L"été", L"zoo"}));
}

// The file list's mask and tooltip name the photo formats this PC shows, as its decoders say.
TEST(FileList, MaskAndHintNameTheFormatsThisPcShows) {
    const std::wstring first = L"Fichiers images et vidéos trouvés\r\nPhotos : ";
    const std::wstring last = L"\r\nCliquer sur un fichier pour le prévisualiser";
    struct Case {
        std::vector<std::wstring> decoders;
        std::wstring formats;
    } cases[] = {
        {{}, L"JPEG, HEIC, WebP"},
        {{L".gif", L".png", L".bmp,.dib", L".tif;.tiff"}, L"JPEG, PNG, GIF, BMP, TIFF, HEIC, WebP"},
        {{L".avif"}, L"JPEG, HEIC, WebP, AVIF"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileListHint(MediaMaskForDecoders(c.decoders)), first + c.formats + last);
    const std::wstring withoutWic = MediaFileMask(MediaMaskForDecoders({}));
    EXPECT_EQ(withoutWic.find(L"*.PNG"), std::wstring::npos);
    EXPECT_NE(withoutWic.find(L";*.HEIC;*.HEIF;*.HIF;*.WEBP"), std::wstring::npos);
    EXPECT_NE(withoutWic.find(L";*.3GP"), std::wstring::npos);
    EXPECT_NE(MediaFileMask(MediaMaskForDecoders({L".png"})).find(L";*.3GP;*.PNG"),
              std::wstring::npos);
}
