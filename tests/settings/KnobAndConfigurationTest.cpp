// The knobs' drag and keyboard steps with their hints, and the files behind a named
// configuration's deletion.
#include <windows.h>

#include "dialog/HelpPage.h"
#include "dialog/KnobDrag.h"
#include "dialog/NamedConfigurations.h"
#include "toolkit/System.h"
#include "tests/support/SettingsFixture.h"

TEST(KnobDrag, PlacesTheGrabbedPointUnderThePointerWithinTheRange) {
    struct Case {
        Knob knob;
        int pointerX, offset;
        std::optional<int> left;
    };
    const Case cases[] = {
        {Knob::Step, 300, 0, std::nullopt}, // pressed on the leftmost column: no drag
        {Knob::Step, 300, 5, 295},          {Knob::Step, 285, 5, 280},
        {Knob::Step, 284, 5, std::nullopt}, // beyond the left end: stays where it was
        {Knob::Step, 397, 5, 392},          {Knob::Step, 398, 5, std::nullopt},
        {Knob::Speed, 447, 8, 439},         {Knob::Speed, 448, 8, std::nullopt},
        {Knob::DisplayTime, 337, 2, 335},   {Knob::DisplayTime, 336, 2, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DraggedKnobLeft(c.knob, c.pointerX, c.offset), c.left) << c.pointerX;

    EXPECT_EQ(NudgedKnobLeft(Knob::Speed, 279, -1), 279); // ShowSettings' place stays reachable
    EXPECT_EQ(NudgedKnobLeft(Knob::Speed, 279, +1), 280);
    EXPECT_EQ(NudgedKnobLeft(Knob::Speed, 280, -1), 280);
    EXPECT_EQ(NudgedKnobLeft(Knob::Step, 392, +1), 392);
    EXPECT_EQ(NudgedKnobLeft(Knob::DisplayTime, 400, +1), 401);
}

TEST(KnobDrag, HintsAtTheRangesEnds) {
    using H = std::vector<std::pair<Knob, std::wstring>>;
    const int speedAt990 = layout::kSpeedTrack.LeftOf(990);
    EXPECT_EQ(HintsForKnobAt(Knob::Step, 392, 0, speedAt990),
              (H{{Knob::Step, L"100 pixels"}, {Knob::Speed, L"100 pixels toutes les 10 ms"}}));
    EXPECT_EQ(HintsForKnobAt(Knob::Speed, 439, layout::kStepTrack.LeftOf(4), 0),
              (H{{Knob::Speed, L"4 pixels le plus vite possible"}}));
    EXPECT_EQ(HintsForKnobAt(Knob::DisplayTime, 439, 0, 0),
              (H{{Knob::DisplayTime, L"300 secondes"}}));
    EXPECT_EQ(HintsForKnobAt(Knob::DisplayTime, 335, 0, 0),
              (H{{Knob::DisplayTime, L"3 secondes"}}));
}

TEST_F(SettingsTest, DeletingAConfigurationTakesItsMemoryAndStopsWhenItsFileStays) {
    WriteFileBytes(dir / L"Été.cfg", "[Options]\r\n");
    WriteFileBytes(dir / L"Été.tmp", "0C:\\a.jpg\r\n");
    CreateDirectoryW((dir / L"folder.cfg").c_str(), nullptr);
    EXPECT_TRUE(ConfigurationFileExists(dir.Path(), L"Été"));
    EXPECT_TRUE(ConfigurationFileExists(dir.Path(), L"été")); // the file system ignores case
    EXPECT_FALSE(ConfigurationFileExists(dir.Path(), L"folder"));
    EXPECT_FALSE(ConfigurationFileExists(dir.Path(), L"absent"));

    std::wstring failed;
    EXPECT_TRUE(DeleteConfigurationFiles(dir.Path(), L"Été", L"Été", failed));
    EXPECT_FALSE(tk::FileExists(dir / L"Été.cfg"));
    EXPECT_FALSE(tk::FileExists(dir / L"Été.tmp"));

    EXPECT_FALSE(DeleteConfigurationFiles(dir.Path(), L"folder", L"", failed));
    EXPECT_EQ(failed, dir / L"folder.cfg");
    EXPECT_FALSE(DeleteConfigurationFiles(dir.Path(), L"absent", L"", failed));
}

TEST(HelpPage, IsWrittenWholeToTheTemporaryFolder) {
    const std::wstring path = WriteHelpPage();
    ASSERT_FALSE(path.empty());
    const std::string page = ReadFileBytes(path);
    EXPECT_EQ(page.substr(0, 15), "<!DOCTYPE html>");
    EXPECT_NE(page.find("Aide de Vistamur"), std::string::npos);
    EXPECT_NE(page.find("</html>"), std::string::npos);
    // Without a browser (as under Wine) opening fails with a word, never a hang.
    std::wstring written;
    OpenHelpPage(nullptr, written);
}
