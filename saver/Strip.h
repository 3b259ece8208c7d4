#pragma once
// The saver's tiles: tile i of tileCount is panels[i] holding the picture control pictures[i],
// served by the clip player players[i], at coordinate tilePos[i] along the travel. The strip
// owns their windows and knows their places; its show decides what goes where.
#include <windows.h>

#include <memory>
#include <vector>

#include "controls/FitImage.h"
#include "saver/Geometry.h"
#include "toolkit/MediaPlayer.h"
#include "toolkit/NonCopyable.h"
#include "toolkit/Panel.h"

// A box as the window functions take it.
inline RECT ToRect(const Box& b) {
    return RECT{b.left, b.top, b.left + b.width, b.top + b.height};
}

class TileStrip : private tk::NonCopyable {
  public:
    TileStrip() = default;
    ~TileStrip() { Free(); }

    std::vector<std::unique_ptr<tk::Panel>> panels;
    std::vector<std::unique_ptr<FitImage>> pictures;
    std::vector<std::unique_ptr<tk::MediaPlayer>> players;
    std::vector<int> tilePos;
    int tileCount = 0;

    // count tiles in the window parent, each a shown black panel of no size with its hidden
    // picture control and a player that draws into the panel.
    void Build(HWND parent, int count);
    void Free(); // pictures, then players, then panels

    Box TileBox(int tile) const;
    void SetTileBox(int tile, const Box& box); // no redraw or change of the stacking
    bool TileShown(int tile) const;            // whether or not the window is shown yet
    // The tiles from the bottom of the parent's stack of children to the top.
    const std::vector<int>& StackedTiles(HWND parent);

    // The alternating strips: whether each tile has been on the screen since it was placed,
    // and the travel in force then.
    std::vector<char> seen;
    std::vector<Travel> placedTravel;
    // Where the latest placing put the current tile; sizing works from these, so that sizing
    // twice in one refill (a clip that failed after it was sized, then a picture) sizes once.
    Box placedBox;
    int placedPos = 0;

  private:
    std::vector<int> stacked_;
};
