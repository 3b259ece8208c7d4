#include "dialog/SettingsDialog.h"

#include "settings/Settings.h"
#include "settings/IniValue.h"
#include "settings/Transitions.h"
#include "dialog/ControlFactory.h"
#include "dialog/PageSlide.h"
#include "resources/Artwork.h"
#include "resources/SettingsDialogLayout.h"
#include "library/MediaKind.h"
#include "toolkit/App.h"
#include "toolkit/Log.h"
#include "toolkit/MsgBox.h"
#include "toolkit/Text.h"

namespace {
const wchar_t* const kErrorCaption = L"Erreur";
// Asked before a save replaces a file that could not be read when it was loaded.
const wchar_t* const kReplaceUnreadQuestion =
    L"Le fichier %s n'a pas pu être lu : les valeurs affichées ne sont pas les siennes.\r"
    L"Voulez-vous le remplacer par ces valeurs ?";
constexpr UINT kMakeToolTips = WM_APP + 1;

HBRUSH FormBrush() {
    static tk::Brush brush(CreateSolidBrush(dlg::kFormGrey)); // clGray, for the process
    return brush.Get();
}

const layout::ControlRow& Row(std::span<const layout::ControlRow> rows, const wchar_t* name) {
    for (const auto& row : rows)
        if (std::wstring(row.name) == name) return row;
    return rows.front();
}
} // namespace

bool SettingsDialog::Open() {
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame = {0, 0, layout::kOuterWidth, layout::kClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    tk::WindowArgs args;
    args.className = L"VistamurSettings";
    args.text = L"Vistamur paramètres";
    args.style = style;
    args.exStyle = exStyle;
    // The outer width is fixed, so exactly one page shows; the height leaves the client
    // area its 430 pixels.
    args.width = layout::kOuterWidth;
    args.height = frame.bottom - frame.top;
    args.x = (GetSystemMetrics(SM_CXSCREEN) - args.width) / 2;
    args.y = (GetSystemMetrics(SM_CYSCREEN) - args.height) / 2;
    args.background = FormBrush();
    args.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    if (!Create(args)) return false;
    font_.Reset(CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                            L"MS Sans Serif"));
    if (!MakePanels()) return false;
    BindControls();
    WireEvents();
    tk::App::Instance().SetDialog(Handle());
    // The tooltips are wanted only once the pointer rests on the shown dialog: they are
    // made when it is up (a posted message comes before any input), which spares the
    // opening the loading of the tooltip class.
    PostMessageW(Handle(), kMakeToolTips, 0, 0);
    LoadAndShowSettings();
    OpenFolderChoosers(); // after ShowSettings has given the file list its mask: one listing
    return true;
}

bool SettingsDialog::MakePanels() {
    auto makePanel = [&](const layout::PanelRow& row) -> tk::PicturePanel* {
        auto panel = std::make_unique<tk::PicturePanel>();
        tk::ControlArgs args;
        args.parent = Handle();
        args.id = nextId_++;
        args.x = row.left;
        args.y = row.top;
        args.width = row.width;
        args.height = row.height;
        if (!panel->CreatePanel(args, dlg::kFormGrey)) return nullptr;
        tk::PicturePanel* made = panel.get();
        byName_[row.name] = made;
        controls_.push_back(std::move(panel));
        return made;
    };
    imagesPage = makePanel(layout::kImagesPageBounds);
    settingsPage = makePanel(layout::kSettingsPageBounds);
    band = makePanel(layout::kBandBounds);
    if (!imagesPage || !settingsPage || !band) return false;
    // The band lies over the pages' last row.
    SetWindowPos(band->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    const auto& settings = layout::kSettingsPage;
    const layout::KnobTrack tracks[] = {layout::kStepTrack, layout::kSpeedTrack,
                                        layout::kDisplayTimeTrack};
    const auto& f = layout::kVideoFrame;
    const auto& header = Row(settings, L"videoOptionsHeader");
    const RECT gap = {header.left - 3, f[1] - 2, header.left + header.width + 2, f[1] + 3};
    imagesPage->SetPicture(art::ImagesPage());
    settingsPage->SetPicture(art::SettingsPage(tracks, RECT{f[0], f[1], f[2], f[3]}, gap));
    band->SetPicture(art::Band());

    if (!MakeControls(layout::kImagesPage, *imagesPage) ||
        !MakeControls(layout::kSettingsPage, *settingsPage) || !MakeControls(layout::kBand, *band))
        return false;
    // The preview sits inside the black box, hidden until a photo is shown.
    previewBox = Named<tk::PicturePanel>(L"previewBox");
    if (!previewBox || !previewPicture.CreateControl(previewBox->Handle(), 1, 1, 187, 139))
        return false;
    previewPicture.Center = true;
    return true;
}

bool SettingsDialog::MakeControls(std::span<const layout::ControlRow> rows,
                                  tk::PicturePanel& panel) {
    for (const auto& row : rows) {
        std::unique_ptr<tk::Control> control =
            dlg::MakeControl(row, panel.Handle(), nextId_++, font_.Get());
        if (!control) {
            tk::Log(L"could not make the control " + std::wstring(row.name));
            return false;
        }
        if (row.hint) control->SetHint(row.hint);
        byName_[row.name] = control.get();
        controls_.push_back(std::move(control));
    }
    return true;
}

tk::Control* SettingsDialog::Find(const std::wstring& name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second;
}

void SettingsDialog::BindControls() {
    settingsPageLink = Named<tk::ShadowLabel>(L"settingsPageLink");
    imagesPageLink = Named<tk::ShadowLabel>(L"imagesPageLink");
    helpLink = Named<tk::ShadowLabel>(L"helpLink");
    driveChooser = Named<tk::DriveComboBox>(L"driveChooser");
    folderTree = Named<tk::FolderTree>(L"folderTree");
    fileList = Named<tk::FileListBox>(L"fileList");
    chosenFolders = Named<tk::ListBox>(L"chosenFolders");
    addFolderButton = Named<FramedSpeedButton>(L"addFolderButton");
    removeFoldersButton = Named<FramedSpeedButton>(L"removeFoldersButton");
    clearFoldersButton = Named<FramedSpeedButton>(L"clearFoldersButton");
    okButton = Named<FramedSpeedButton>(L"okButton");
    cancelButton = Named<FramedSpeedButton>(L"cancelButton");
    transitionList = Named<tk::CheckListBox>(L"transitionList");
    optionList = Named<tk::CheckListBox>(L"optionList");
    stepKnob = Named<tk::SpeedButton>(L"stepKnob");
    speedKnob = Named<tk::SpeedButton>(L"speedKnob");
    displayTimeKnob = Named<tk::SpeedButton>(L"displayTimeKnob");
    playWhenVisible = Named<tk::Switch>(L"playWhenVisible");
    loop = Named<tk::Switch>(L"loop");
    randomStart = Named<tk::Switch>(L"randomStart");
    playWhole = Named<tk::Switch>(L"playWhole");
    growList = Named<tk::ComboBox>(L"growList");
    tileCountList = Named<tk::ComboBox>(L"tileCountList");
    configNameBox = Named<tk::ComboBox>(L"configNameBox");
    randomConfigBox = Named<tk::Button>(L"randomConfigBox");
    deleteConfigButton = Named<tk::Button>(L"deleteConfigButton");
    for (const TransitionInfo& t : kTransitions)
        transitionList->Add(t.name);
    for (const std::wstring& item : GrowItems())
        growList->Add(item);
    for (const std::wstring& item : TileCountItems())
        tileCountList->Add(item);
}

void SettingsDialog::WireEvents() {
    // The other page's link lights up under the pointer, like a tab.
    for (tk::ShadowLabel* link : {settingsPageLink, imagesPageLink}) {
        link->onMouseEnter = [link] { link->SetColor(dlg::kBrightGreen); };
        link->onMouseLeave = [link] { link->SetColor(dlg::kGreyGreen); };
    }
    settingsPageLink->onClick = [this] { ShowSettingsPage(); };
    imagesPageLink->onClick = [this] { ShowImagesPage(); };
    okButton->onClick = [this] { OnOk(); };
    cancelButton->onClick = [this] { OnCancel(); };
    WireKnobs();
    WireBand();
    WireImagesPage();
    // The settings page waits off to the right: Tab does not wander into it.
    EnableWindow(settingsPage->Handle(), FALSE);
}

void SettingsDialog::LoadAndShowSettings() {
    Loaded loaded = LoadSettings(LoadScope::CurrentConfiguration, settings, &unreadFiles_);
    settings = std::move(loaded.settings);
    ShowLoadProblems(GetActiveWindow(), loaded.problems);
    ShowSettings();
}

void SettingsDialog::ShowSettings() {
    const DialogValues v = ValuesFromSettings(settings);
    chosenFolders->Clear();
    for (const std::wstring& folder : v.folders)
        chosenFolders->Add(folder);
    for (int i = 0; i < int(v.transitions.size()); ++i)
        transitionList->SetChecked(i, v.transitions[i]);
    for (int i = 0; i < int(v.options.size()); ++i)
        optionList->SetChecked(i, v.options[i]);
    stepKnob->SetLeft(v.stepLeft);
    speedKnob->SetLeft(v.speedLeft);
    displayTimeKnob->SetLeft(v.displayTimeLeft);
    stepKnob->SetHint(StepHint(settings.stepPixels));
    speedKnob->SetHint(SpeedHint(settings.stepPixels, settings.stepsPerTenSeconds));
    displayTimeKnob->SetHint(DisplayTimeHint(settings.displaySeconds));
    const auto switches = ClipSwitches();
    for (size_t i = 0; i < switches.size(); ++i)
        switches[i]->SetOn(v.switches[i]);
    growList->SetItemIndex(v.growIndex);
    tileCountList->SetItemIndex(v.tileCountIndex);
    configNameBox->Clear();
    for (const std::wstring& name : v.configNames)
        configNameBox->Add(name);
    configNameBox->SetItemIndex(configNameBox->FindExact(v.configName));
    configNameBox->SetText(v.configName);
    randomConfigBox->SetChecked(v.randomConfig);
}

DialogValues SettingsDialog::ValuesOfControls() const {
    DialogValues v;
    v.folders = chosenFolders->Items();
    for (int i = 0; i < int(v.transitions.size()); ++i)
        v.transitions[i] = transitionList->Checked(i);
    for (int i = 0; i < int(v.options.size()); ++i)
        v.options[i] = optionList->Checked(i);
    v.stepLeft = stepKnob->Left();
    v.speedLeft = speedKnob->Left();
    v.displayTimeLeft = displayTimeKnob->Left();
    const auto switches = ClipSwitches();
    for (size_t i = 0; i < switches.size(); ++i)
        v.switches[i] = switches[i]->On();
    v.growIndex = growList->ItemIndex();
    v.tileCountIndex = tileCountList->ItemIndex();
    for (int i = 0, n = configNameBox->Count(); i < n; ++i)
        v.configNames.push_back(configNameBox->Item(i));
    v.configName = configNameBox->Text();
    v.randomConfig = randomConfigBox->Checked();
    return v;
}

bool SettingsDialog::TakeSettings(const std::wstring& name) {
    const std::wstring refusal = SettingsFromValues(ValuesOfControls(), name, settings);
    if (refusal.empty()) return true;
    tk::ShowBox(Handle(), refusal, kErrorCaption, MB_OK | MB_ICONERROR);
    return false;
}

void SettingsDialog::OnOk() {
    // After a refused write nothing the user set is lost: the dialog stays open for another
    // try.
    if (TakeSettings(configNameBox->Text()) && SaveOrSay()) Destroy();
}

bool SettingsDialog::SaveOrSay() {
    // What was never read is never replaced unasked; a refusal keeps the dialog open.
    for (const std::wstring& file : UnreadFilesASaveReplaces(settings, unreadFiles_))
        if (!AskYesNo(tk::FormatMessageText(kReplaceUnreadQuestion, file))) {
            tk::Log(L"save refused: " + file + L" was not read");
            return false;
        }
    try {
        SaveSettings(settings, &unreadFiles_);
        return true;
    } catch (const WriteRefused& e) {
        tk::Log(e.Message());
        tk::ShowBox(Handle(), e.Message(), kErrorCaption, MB_OK | MB_ICONERROR);
        return false;
    }
}

void SettingsDialog::OnCancel() {
    Destroy();
}

void SettingsDialog::ShowSettingsPage() {
    Slide(true);
}
void SettingsDialog::ShowImagesPage() {
    Slide(false);
}

void SettingsDialog::Slide(bool toSettings) {
    // The page that leaves is moved and painted first, then the one that comes.
    tk::PicturePanel* leaving = toSettings ? imagesPage : settingsPage;
    tk::PicturePanel* coming = toSettings ? settingsPage : imagesPage;
    EnableWindow(coming->Handle(), TRUE);
    int step = 0;
    for (const SlideStep& at : SlideSteps(toSettings)) {
        const int leavingLeft = toSettings ? at.imagesPageLeft : at.settingsPageLeft;
        const int comingLeft = toSettings ? at.settingsPageLeft : at.imagesPageLeft;
        leaving->MoveAndPaint(leavingLeft, 0);
        coming->MoveAndPaint(comingLeft, 0);
        if (onSlideStep) onSlideStep(step++);
    }
    EnableWindow(leaving->Handle(), FALSE);
    // The pages move without making their parent repaint what they uncover: the form's
    // column right of the pages (its client area is a little wider than a page) would keep
    // the last strip of the page that passed over it.
    RedrawWindow(Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_NOCHILDREN);
    coming->RepaintChildren();
    // A link left lit would stay lit: the pointer has left it with its page.
    settingsPageLink->SetColor(dlg::kGreyGreen);
    imagesPageLink->SetColor(dlg::kGreyGreen);
}

LRESULT SettingsDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case kMakeToolTips:
        if (!tips_.Handle() && tips_.Create(Handle()))
            for (const auto& control : controls_)
                control->AttachToolTips(tips_);
        return 0;
    case WM_COMMAND:
        // Escape comes from the message loop as IDCANCEL. Enter (IDOK) does nothing: the
        // dialog has no default button.
        if (LOWORD(wp) == IDCANCEL && !lp) OnCancel();
        return 0;
    case WM_CLOSE:
        OnCancel();
        return 0;
    case WM_DESTROY:
        CloseClip(); // while its window is still there
        tk::App::Instance().SetDialog(nullptr);
        PostQuitMessage(0);
        return 0;
    }
    return Default(msg, wp, lp);
}
