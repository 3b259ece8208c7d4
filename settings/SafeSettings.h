#pragma once
// The dialog stores only sensible values, but a configuration file can be edited by hand.
// Before the saver uses the settings it brings every number into the range its row gives
// (SettingRows.h), and turns the memory off when its name is no file name of the install
// folder.
#include "settings/Settings.h"

void ClampForSaver(SettingsRecord& settings);
