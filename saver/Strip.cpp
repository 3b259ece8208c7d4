#include "saver/Strip.h"

void TileStrip::Build(HWND parent, int count) {
    Free();
    tileCount = count;
    tilePos.assign(count, 0);
    seen.assign(count, 1);
    placedTravel.assign(count, Travel::Still);
    for (int i = 0; i < count; ++i) {
        auto panel = std::make_unique<tk::Panel>();
        panel->CreatePanel(parent, 0, 0, 0, 0, RGB(0, 0, 0));
        panel->Show(SW_SHOWNA);
        auto image = std::make_unique<FitImage>();
        image->CreateControl(panel->Handle(), 0, 0, 0, 0);
        auto player = std::make_unique<tk::MediaPlayer>();
        player->Display = panel->Handle();
        panels.push_back(std::move(panel));
        pictures.push_back(std::move(image));
        players.push_back(std::move(player));
    }
}

void TileStrip::Free() {
    // The pictures live in the panels and the players show in them: panels go last.
    pictures.clear();
    players.clear();
    panels.clear();
    tilePos.clear();
    stacked_.clear();
    seen.clear();
    placedTravel.clear();
    tileCount = 0;
}

Box TileStrip::TileBox(int tile) const {
    RECT r = panels[tile]->Bounds();
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void TileStrip::SetTileBox(int tile, const Box& b) {
    SetWindowPos(panels[tile]->Handle(), nullptr, b.left, b.top, b.width, b.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

bool TileStrip::TileShown(int tile) const {
    return panels[tile]->ShownItself();
}

const std::vector<int>& TileStrip::StackedTiles(HWND parent) {
    // Asked of the system once: every move and show keeps the tiles' order in the stack,
    // and each question of it is a round trip to the window server under Wine.
    if (int(stacked_.size()) == tileCount) return stacked_;
    stacked_.clear();
    HWND top = GetWindow(parent, GW_CHILD);
    for (HWND child = top ? GetWindow(top, GW_HWNDLAST) : nullptr; child;
         child = GetWindow(child, GW_HWNDPREV))
        for (int i = 0; i < tileCount; ++i)
            if (panels[i]->Handle() == child) stacked_.push_back(i);
    return stacked_;
}
