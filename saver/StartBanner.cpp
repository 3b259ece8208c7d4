#include "saver/StartBanner.h"

#include "settings/Transitions.h"
#include "Version.h"

std::wstring StartBannerText(const std::wstring& configName, int transition) {
    std::wstring name = IsKnownTransition(transition) ? TransitionOf(transition).name : L"";
    return L"Vistamur Screen Saver V" VISTAMUR_VERSION_SHORT_W L" : Initialisation " + configName +
           L" - \"" + name + L"\"... ";
}

POINT StartBannerPos(int windowW, int windowH, int textW, int textH) {
    return POINT{windowW / 2 - textW / 2, windowH / 2 - 2 * textH};
}
