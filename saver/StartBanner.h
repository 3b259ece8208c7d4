#pragma once
#include <windows.h>

#include <string>

// "Vistamur Screen Saver V4.0 : Initialisation config 1 - "Centrale"... "
std::wstring StartBannerText(const std::wstring& configName, int transition);
// Where the banner's top-left corner goes on a W x H window for a w x h text.
POINT StartBannerPos(int windowW, int windowH, int textW, int textH);
