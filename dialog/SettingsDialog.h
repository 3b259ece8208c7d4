#pragma once
// The settings dialog: two pages that slide sideways (folders and preview; transitions,
// movement and options) over a fixed band (configuration name, random choice, OK and
// Cancel). It edits its own copy of the settings and writes them back on OK.
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "controls/FitImage.h"
#include "controls/FramedSpeedButton.h"
#include "dialog/DialogValues.h"
#include "dialog/KnobDrag.h"
#include "resources/ControlRows.h"
#include "toolkit/FolderControls.h"
#include "toolkit/FolderTree.h"
#include "toolkit/Handles.h"
#include "toolkit/ListControls.h"
#include "toolkit/MediaPlayer.h"
#include "toolkit/PicturePanel.h"
#include "toolkit/ShadowLabel.h"
#include "toolkit/SpeedButton.h"
#include "toolkit/Switch.h"
#include "toolkit/ToolTips.h"
#include "toolkit/Window.h"

class SettingsDialog : public tk::Window {
  public:
    bool Open(); // makes the window and runs LoadAndShowSettings; shown by the caller
    void LoadAndShowSettings(); // loads the current configuration and shows it
    void ShowSettings();
    bool TakeSettings(const std::wstring& name);

    void OnOk();
    void OnCancel();
    // The page links: the pages slide to bring the other one in.
    void ShowSettingsPage();
    void ShowImagesPage();

    // The knobs of the settings page: dragged with either mouse button (the grabbed point
    // stays under the pointer), or moved a pixel at a time by the arrow keys once focused.
    void OnKnobMouseDown(tk::SpeedButton& knob, int x, int y);
    void OnKnobMouseMove(tk::SpeedButton& knob, int x, int y);
    void OnKnobMouseUp(tk::SpeedButton& knob, int x, int y);
    void OnKnobKeyDown(tk::SpeedButton& knob, UINT key);
    // The band: another configuration picked in the name box, the configuration named there
    // deleted, the help page opened by the link.
    void OnConfigurationPicked();
    void OnDeleteConfiguration();
    void OpenHelp();
    void OnHelpLinkEnter();
    void OnHelpLinkLeave();
    // The images page (ImagesPage.cpp): drives, folders, files, the chosen folders and the
    // preview.
    void OnDriveChanged();
    void OnFolderChanged();
    void OnAddFolder();
    void OnRemoveFolders();
    void OnClearFolders();
    void OnFilePicked();

    // The copy it edits: loaded at the opening and at each switch of configuration, shown by
    // ShowSettings, filled by TakeSettings, saved on OK.
    SettingsRecord settings;

    // Called after each step of a page slide, with the step's number from 0.
    std::function<void(int step)> onSlideStep;

    // A control of the layout by its name; null for an unknown name.
    tk::Control* Find(const std::wstring& name) const;

    // The controls, named as in the layout.
    tk::PicturePanel *imagesPage = nullptr, *settingsPage = nullptr, *band = nullptr;
    tk::PicturePanel* previewBox = nullptr; // the black box on the images page
    tk::ShadowLabel *settingsPageLink = nullptr, *imagesPageLink = nullptr, *helpLink = nullptr;
    tk::DriveComboBox* driveChooser = nullptr;
    tk::FolderTree* folderTree = nullptr;
    tk::FileListBox* fileList = nullptr;
    tk::ListBox* chosenFolders = nullptr;
    FramedSpeedButton *addFolderButton = nullptr, *removeFoldersButton = nullptr,
                      *clearFoldersButton = nullptr;
    FramedSpeedButton *okButton = nullptr, *cancelButton = nullptr;
    tk::CheckListBox *transitionList = nullptr, *optionList = nullptr;
    tk::SpeedButton *stepKnob = nullptr, *speedKnob = nullptr, *displayTimeKnob = nullptr;
    // The video options, in the order of DialogValues::switches.
    tk::Switch *playWhenVisible = nullptr, *loop = nullptr, *randomStart = nullptr,
               *playWhole = nullptr;
    tk::ComboBox *growList = nullptr, *tileCountList = nullptr, *configNameBox = nullptr;
    tk::Button *randomConfigBox = nullptr, *deleteConfigButton = nullptr;
    FitImage previewPicture;       // shows a photo in previewBox
    tk::MediaPlayer previewPlayer; // shows a clip in previewBox

    const tk::ToolTips& ToolTips() const { return tips_; }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  private:
    bool MakePanels();
    bool MakeControls(std::span<const layout::ControlRow> rows, tk::PicturePanel& panel);
    void BindControls();
    void WireEvents();
    void WireImagesPage();
    void OpenFolderChoosers(); // at the last chosen folder, else Pictures, else the current one
    void CloseClip();
    bool ShowPhoto(const std::wstring& path);
    bool PlayClip(const std::wstring& path);
    void Slide(bool toSettings);
    void WireKnobs();
    void WireBand();
    Knob KnobOf(const tk::SpeedButton& knob) const;
    tk::SpeedButton& KnobButton(Knob knob) const;
    void PlaceKnob(tk::SpeedButton& knob, int left);
    bool AskYesNo(const std::wstring& question);
    bool SaveOrSay(); // SaveSettings; a refused write is shown, and false
    void LoadNamedConfiguration(const std::wstring& name);
    void KeepValuesUnderFirstName(); // the values shown, under the first name, unsaved
    // After a deletion: "config.ini" names the configuration shown when it named the one
    // deleted.
    void RenameCurrentAfterDeletion(const std::wstring& deleted);
    DialogValues ValuesOfControls() const;
    std::array<tk::Switch*, 4> ClipSwitches() const {
        return {playWhenVisible, loop, randomStart, playWhole};
    }
    template <class T> T* Named(const wchar_t* name) const { return dynamic_cast<T*>(Find(name)); }

    tk::Font font_;
    tk::ToolTips tips_;
    std::vector<std::unique_ptr<tk::Control>> controls_;
    std::map<std::wstring, tk::Control*> byName_;
    int nextId_ = 100;
    UnreadFiles unreadFiles_; // of the loads of this dialog
};
