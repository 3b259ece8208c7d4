// Init as the saver runs it: settings from the configuration files of an install folder
// given through the registry, including values the dialog never stores.
#include <gtest/gtest.h>

#include "settings/Settings.h"
#include "settings/Transitions.h"
#include "settings/Random.h"
#include "saver/SaverWindow.h"
#include "tests/support/InstallFolder.h"
#include "tests/support/TempDir.h"
#include "toolkit/MsgBox.h"

namespace {

TEST(Init, BadNumbersInTheConfigurationStillGiveAWorkingSaver) {
    std::vector<std::wstring> boxes;
    tk::SetBoxHook([&](const tk::BoxRequest& box) {
        boxes.push_back(box.text);
        return IDOK;
    });
    const struct {
        const wchar_t* tiles;
        const wchar_t* transitions;
        const wchar_t* speed;
        int tileCount;
        int transition; // 0: any of the thirteen
        int step;
    } cases[] = {
        {L"0", L";12;", L"0", 1, 12, 1},
        {L"50", L";99;0;x;", L"5000", 20, 0, 5000},
        {L"7", L";99;4;", L"100000", 7, 4, 10000},
        {L"-3", L";;;", L"-8", 1, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "opnbimgmax " << c.tiles << " optransition "
                                        << c.transitions << " defspeed " << c.speed);
        TempDir dir;
        InstallFolder install(dir.Path());
        WriteConfiguration(dir.Path(), {{L"defdir", dir.Path()},
                                        {L"opnbimgmax", c.tiles},
                                        {L"optransition", c.transitions},
                                        {L"defspeed", c.speed},
                                        {L"defdelay", L"1000"},
                                        {L"opmemfiles", L"0"}});
        SaverWindow saver;
        ASSERT_TRUE(saver.CreateHidden());
        saver.Init();
        EXPECT_EQ(saver.PrimaryShow().Strip().tileCount, c.tileCount);
        EXPECT_EQ(int(saver.PrimaryShow().Strip().panels.size()), c.tileCount);
        EXPECT_EQ(saver.Settings().stepPixels, c.step);
        if (c.transition) {
            EXPECT_EQ(saver.Transition(), c.transition);
        } else {
            EXPECT_GE(saver.Transition(), 1);
            EXPECT_LE(saver.Transition(), 13);
        }
        EXPECT_EQ(saver.PrimaryShow().currentTile, 0);
        EXPECT_FALSE(saver.stepDue);
        // Without files the banner stays and the steps have nothing to refill.
        EXPECT_EQ(saver.BannerText(), L"Vistamur Screen Saver V4.0 : Initialisation config 1 - \"" +
                                          std::wstring(TransitionOf(saver.Transition()).name) +
                                          L"\"... ");
        for (int step = 0; step < 20; ++step) {
            saver.OnStepTick();
            saver.MoveOneStep();
        }
        EXPECT_EQ(saver.Refills(), 0);
        saver.EndSlideshow();
    }
    tk::SetBoxHook(nullptr);
}

} // namespace
