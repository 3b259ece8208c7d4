#include "dialog/HelpPage.h"

#include <shellapi.h>

#include "toolkit/FileContent.h"
#include "toolkit/Text.h"
#include "toolkit/Log.h"

namespace {
ShellOpenFunction& ShellOpen() {
    static ShellOpenFunction open;
    return open;
}
} // namespace

void SetShellOpen(ShellOpenFunction open) {
    ShellOpen() = std::move(open);
}

std::wstring WriteHelpPage() {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(kHelpPageResource), RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) {
        tk::Log(L"the help page is missing from the program");
        return L"";
    }
    std::wstring folder(MAX_PATH + 1, L'\0');
    folder.resize(GetTempPathW(DWORD(folder.size()), folder.data()));
    const std::wstring path = folder + L"Vistamur-aide.html";
    const std::string page(static_cast<const char*>(bytes), SizeofResource(module, found));
    if (folder.empty() || !tk::ReplaceFileContent(path, page)) {
        tk::Log(L"cannot write the help page " + path);
        return L"";
    }
    return path;
}

bool OpenHelpPage(HWND owner, std::wstring& page) {
    page = WriteHelpPage();
    const std::wstring& path = page;
    if (path.empty()) return false;
    // Above 32 means the shell found a program for the page.
    const INT_PTR result =
        ShellOpen() ? ShellOpen()(owner, path)
                    : reinterpret_cast<INT_PTR>(ShellExecuteW(owner, L"open", path.c_str(), nullptr,
                                                              nullptr, SW_SHOWNORMAL));
    if (result > 32) return true;
    tk::Log(L"the shell cannot open " + path + L", code " + tk::IntToStr(result));
    return false;
}

std::wstring HelpNotOpenedText(const std::wstring& page) {
    if (page.empty()) return L"L'aide de Vistamur n'a pas pu être enregistrée pour être affichée.";
    return L"Aucun navigateur web n'a pu afficher l'aide de Vistamur.\rVous la trouverez dans : " +
           page;
}
