#include "resources/SettingsDialogLayout.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "Version.h"

namespace layout {

namespace {
using K = Kind;

const ControlRow images[] = {
    {L"imagesPageTitle", K::Title, 32, 8, 177, 25, L"Choix des images et vidéos", nullptr},
    {L"settingsPageLink", K::Link, 280, 3, 161, 22, L"Paramètres et transitions", nullptr},
    {L"driveChooser", K::DriveCombo, 8, 40, 201, 19, nullptr,
     L"Choisir le lecteur contenant les dossiers à ajouter"},
    {L"folderTree", K::DirectoryList, 8, 64, 201, 137, nullptr, L"Choisir le dossier à ajouter"},
    // Its tooltip names the photo formats this PC shows: FileListHint.
    {L"fileList", K::FileList, 8, 208, 201, 121, nullptr, nullptr},
    {L"addFolderButton", K::FramedButton, 208, 66, 57, 27, L">",
     L"Ajoute toutes les images et vidéos du dossier sélectionné"},
    {L"removeFoldersButton", K::FramedButton, 208, 98, 57, 27, L"<",
     L"Retire toutes les images et vidéos des dossiers sélectionnés \r\ndans la liste de droite"},
    {L"clearFoldersButton", K::FramedButton, 208, 130, 57, 27, L"<<",
     L"Retire tous les dossiers de la liste de droite"},
    {L"chosenFolders", K::MultiList, 264, 40, 193, 129, nullptr,
     L"Liste des dossiers contenant les images et vidéos à afficher"},
    {L"previewBox", K::BlackPanel, 264, 184, 193, 145, nullptr, L"Zone de prévisualisation"},
};

const ControlRow settings[] = {
    {L"imagesPageLink", K::Link, 16, 4, 177, 21, L"Choix des images et vidéos", nullptr},
    {L"settingsPageTitle", K::Title, 280, 8, 153, 25, L"Paramètres et transitions", nullptr},
    {L"transitionsHeader", K::Header, 8, 32, 81, 17, L"Transitions", nullptr},
    {L"transitionList", K::CheckList, 8, 56, 190, 121, nullptr,
     L"Le choix de la transition est aléatoire parmi\r\ncelles qui sont cochées."},
    {L"scrollingHeader", K::Header, 216, 32, 81, 17, L"Défilement", nullptr},
    {L"stepLabel", K::RightLabel, 248, 72, 25, 13, L"Pas :", nullptr},
    {L"stepKnob", K::Knob, kStepTrack.lowest, kStepTrack.top, kKnobWidth, kKnobHeight, nullptr,
     nullptr},
    {L"pixelsLabel", K::Label, 412, 72, 37, 13, L"pixels", nullptr},
    {L"speedLabel", K::RightLabel, 232, 96, 42, 13, L"Vitesse :", nullptr},
    {L"speedKnob", K::Knob, kSpeedTrack.lowest, kSpeedTrack.top, kKnobWidth, kKnobHeight, nullptr,
     nullptr},
    {L"slowLabel", K::Label, 279, 117, 30, 13, L"lent", nullptr},
    {L"fastLabel", K::Label, 423, 117, 40, 13, L"rapide", nullptr},
    {L"centralTransitionHeader", K::Header, 216, 136, 121, 17, L"Transition centrale", nullptr},
    // 4 pixels left of where the knob's track would have it: its shadow would touch the knob
    // at the track's left end.
    {L"displayTimeLabel", K::RightLabel, 234, 168, 92, 13, L"Durée d'affichage :", nullptr},
    {L"displayTimeKnob", K::Knob, kDisplayTimeTrack.lowest, kDisplayTimeTrack.top, kKnobWidth,
     kKnobHeight, nullptr, nullptr},
    {L"shortLabel", K::Label, 335, 181, 40, 13, L"courte", nullptr},
    {L"longLabel", K::Label, 415, 181, 40, 13, L"longue", nullptr},
    {L"videoOptionsHeader", K::Header, 16, 186, 89, 17, L"Options vidéo", nullptr},
    {L"playWhenVisible", K::Switch, 25, 204, 25, 25, nullptr, nullptr},
    {L"playWhenVisibleLabel", K::Label, 52, 208, 140, 13, L"Jouer dès visible",
     L"Commence le film uniquement lorsque celui-ci est entièrement visible "},
    {L"loop", K::Switch, 25, 228, 25, 25, nullptr, L"Joue le film en boucle infinie"},
    {L"loopLabel", K::Label, 52, 232, 140, 13, L"Boucle infinie",
     L"Joue le film en boucle infinie"},
    {L"randomStart", K::Switch, 25, 252, 25, 25, nullptr,
     L"Commence le film à une position aléatoire"},
    {L"randomStartLabel", K::Label, 52, 256, 140, 13, L"Début aléatoire",
     L"Commence le film à une position aléatoire"},
    {L"playWhole", K::Switch, 25, 276, 25, 25, nullptr,
     L"Ne change qu'une fois la lecture du film terminée"},
    {L"playWholeLabel", K::Label, 52, 280, 140, 13, L"En entier",
     L"Ne change qu'une fois la lecture du film terminée"},
    {L"growLabel", K::Label, 28, 304, 50, 13, L"Agrandir", nullptr},
    {L"growList", K::DropDown, 80, 300, 41, 21, nullptr, // the items: the setting's row
     L"Agrandit le film pour qu'il soit plein écran.\r\n"
     L"L'agrandissement est toutefois limité au facteur saisi (de 1x à 9x)\r\n"
     L"afin de conserver une qualité d'image correcte.\r\n"
     L"Le facteur 1x indique que le film ne sera jamais agrandi."},
    {L"growMaxLabel", K::Label, 124, 304, 60, 13, L"maxi", nullptr},
    {L"optionsHeader", K::Header, 216, 202, 89, 17, L"Options", nullptr},
    {L"optionList", K::CheckList, 216, 224, 241, 49,
     L"Afficher le nom du fichier image|Afficher la date du fichier image|"
     L"Mémoriser les photos déjà vues",
     L"L'option 'Mémoriser les photos déjà vues\" permet de ne pas réafficher les\r\n"
     L"photos déjà vues lors des précédentes exécutions de l'économiseur d'écran.\r\n"
     L"Une fois toute les photos vues, Vistamur rescrute les répertoires de la \r\n"
     L"configuration afin de détecter les éventuels nouveaux fichiers."},
    {L"tileCountList", K::DropDown, 216, 284, 41, 21, nullptr, // the items: the setting's row
     L"Nombre maxi d'images ou films affichés en même temps à l'écran."},
    {L"tileCountLabel", K::Label, 260, 288, 200, 13, L"Images ou films à l'écran maxi", nullptr},
};

const ControlRow band[] = {
    {L"configNameLabel", K::Label, 264, 6, 149, 17, L"Nom de la configuration :", nullptr},
    {L"configNameBox", K::EditCombo, 264, 24, 113, 21, nullptr,
     L"Nom de la configuration à sauvegarder"},
    {L"deleteConfigButton", K::PushButton, 379, 25, 17, 20, L"X", L"Supprimer cette configuration"},
    {L"randomConfigBox", K::CheckBox, 400, 27, 65, 17, L"Aléatoire",
     L"A chaque démarrage de l'économiseur d'écran, une configuration est choisie au hasard"},
    {L"versionLabel", K::BandLabel, 16, 53, 185, 13,
     L"Vistamur screensaver V" VISTAMUR_VERSION_FULL_W, nullptr},
    {L"helpLink", K::BandLink, 16, 69, 129, 13, L"Aide de Vistamur", nullptr},
    {L"okButton", K::FramedButton, 296, 58, 64, 27, L"Ok", nullptr},
    {L"cancelButton", K::FramedButton, 376, 58, 64, 27, L"Annuler", nullptr},
};
} // namespace

const std::span<const ControlRow> kImagesPage(images);
const std::span<const ControlRow> kSettingsPage(settings);
const std::span<const ControlRow> kBand(band);

std::vector<std::wstring> RowItems(const ControlRow& row) {
    std::vector<std::wstring> items;
    if (!row.text) return items;
    const std::wstring all = row.text;
    for (size_t start = 0; start <= all.size();) {
        const size_t end = std::min(all.find(L'|', start), all.size());
        items.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    return items;
}

int KnobTrack::LeftOf(int value) const {
    // A hand-edited value beyond the track would put the knob off the page: it is shown at
    // the track's end, as the saver also brings it into range.
    value = std::clamp(value, 1, max);
    return int(std::nearbyint((long double)value * span / max)) + origin;
}

int KnobTrack::ValueAt(int left) const {
    const long double v = (long double)(left - origin) / span * max;
    return std::clamp(int(std::nearbyint(v)), 1, max);
}

} // namespace layout
