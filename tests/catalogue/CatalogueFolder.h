#pragma once
// The catalogue tests' start: an install folder holding a photo folder, the settings naming
// both and the memory "config 1", and a fixed random seed.
#include <gtest/gtest.h>

#include "settings/Settings.h"
#include "settings/Random.h"
#include "tests/support/Tree.h"

class CatalogueFolder : public testing::Test {
  protected:
    void SetUp() override {
        settings_.installDir = dir_.Path();
        settings_.memoryName = L"config 1";
        MakeFolder(dir_ / L"photos");
        settings_.folders = Photos();
        SetRandomSeed(7);
    }
    std::wstring Photos() const { return dir_ / L"photos"; }
    std::wstring Memory() const { return dir_ / L"config 1.tmp"; }

    TempDir dir_;
    SettingsRecord settings_; // the run's, which the catalogue under test reads
};
