#pragma once
// Every settings test starts from the initial values, with its own empty install folder and
// the message boxes recorded instead of shown. Its record and unread files stand for the
// dialog's: each load starts from them and leaves its result there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/Settings.h"
#include "tests/support/TempDir.h"
#include "toolkit/MsgBox.h"
#include "toolkit/Text.h"

class SettingsTest : public testing::Test {
  protected:
    void SetUp() override {
        settings.installDir = dir.Path();
        tk::SetBoxHook([this](const tk::BoxRequest& box) {
            boxes.push_back(box.text);
            return IDOK;
        });
    }
    void TearDown() override { tk::SetBoxHook(nullptr); }

    // A load as the windows ask for it, with its problems told in boxes.
    void Load(LoadScope scope) { Take(LoadConfigFiles(scope, settings, &unread)); }
    void LoadWithRegistry(LoadScope scope) { Take(LoadSettings(scope, settings, &unread)); }
    void Take(Loaded loaded) {
        settings = std::move(loaded.settings);
        ShowLoadProblems(nullptr, loaded.problems);
    }

    // Writes an INI file of the install folder; lines are joined with CR LF, as the system
    // writes them. The text is taken as it stands (8-bit, the ANSI code page for letters
    // beyond ASCII).
    void WriteIni(const std::wstring& name, const std::vector<std::string>& lines) {
        std::string bytes;
        for (const auto& line : lines)
            bytes += line + "\r\n";
        WriteFileBytes(dir / name, bytes);
    }

    TempDir dir;
    SettingsRecord settings;
    UnreadFiles unread;
    std::vector<std::wstring> boxes;
};
