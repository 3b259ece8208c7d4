#pragma once
#include "settings/Transitions.h"

// Where the tiles go: the thirteen transitions reduced to plain numbers. The saver window
// only applies what these functions compute, so the tests can check every case without a
// window.
//
// The strip: every tile of a moving transition is a panel that travels stepPixels pixels per
// step; a tile is 50 px behind the one before it, centred across the direction of travel,
// and refilled at the first step that finds it wholly past the exit edge. The two
// alternating transitions (3 and 13) reverse at every second refill through alternationPhase:
// phases 0 and 1 travel forward (as 1 or 11), phases 2 and 3 backward (as 2 or 12).

constexpr int kTileGap = 50;        // pixels between two tiles of a strip
constexpr int kAnimationLast = 100; // the grow/shrink/slide animations: frames k = 0 .. 100

enum class Arrangement { Horizontal, Vertical, Central };

// A place and size: a panel's in the saver window, or the saver window's own (it covers
// the screen from (0, 0)).
struct Box {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Box&) const = default;
};

// Some of the box lies on the screen s (an empty box never does).
bool OnScreen(const Box& b, const Box& s);

// A transition number outside 1..13 never reaches these functions (the saver picks among
// the known ones); should one come, it is treated as transition 1.
Arrangement ArrangementOf(int transition);
bool IsAlternating(int transition);
Travel TravelOf(int transition, int alternationPhase);

// The phase after a refill, and the tile the next refill fills.
int NextAlternationPhase(int transition, int alternationPhase);
int NextCurrentTile(int currentTile, int tileCount, int alternationPhase);
int PreviousTile(int tile, int tileCount); // the tile before it in the strip
int NextTile(int tile, int tileCount);     // the tile after it

// Where every panel waits at start, full-size just outside the entry edge (phase 0).
Box InitialBox(int transition, const Box& s);
// The refill's start coordinate of the refilled tile (read only when it is the single tile).
int StartCoordinate(int transition, int alternationPhase, const Box& s);
// PlaceTile: the entry place (full-size, off the screen on the entry side) ...
Box EntryBox(int transition, int alternationPhase, const Box& s);
// ... and the entry coordinate, from the previous tile's coordinate and size and the next
// tile's coordinate (read by the backward phases of the alternating transitions).
int EntryCoordinate(int transition, int alternationPhase, int prevPos, int prevWidth,
                    int prevHeight, int nextPos);
// The entry coordinate of a tile whose picture came late: the tile it follows has travelled
// on meanwhile, and the place behind it may lie on the screen. The tile enters from beyond
// the entry edge all the same, a wider gap behind the others, rather than appear mid-screen.
int LateEntryCoordinate(int transition, int alternationPhase, int entry, const Box& s);

// SizeTile: the panel takes the content's size, is centred across the direction of travel
// (both ways for the central transitions), and the coordinate is corrected for the backward
// directions, whose coordinate is the panel's near edge.
struct SizedTile {
    Box box;
    int pos;
};
SizedTile SizeTileBox(int transition, int alternationPhase, const Box& placed, int pos, int w,
                      int h, const Box& s);

// One movement step of a tile at coordinate pos with the given panel size. A tile wholly past
// the exit edge is not moved but refilled.
struct TileStep {
    bool refill;
    int pos; // the new coordinate when it moved
};
TileStep StepTile(Travel travel, int pos, int width, int height, int speed, const Box& s);
// The tile at coordinate pos has wholly left the screen at its exit edge (a still tile never
// leaves).
bool PastExitEdge(Travel travel, int pos, int width, int height, const Box& s);
// The box after a move to pos along the direction of travel.
Box MovedBox(Travel travel, const Box& box, int pos);

// The animations of the central transitions 5 to 9, frame k (0 .. 100). A leaving tile runs
// k = 100 down to 0 from its box; an entering one k = 0 up to 100 towards its box. Each value
// is the products divided by 100 in extended precision, rounded once, halves to even.
Box LeaveFrame(int transition, int k, const Box& from, const Box& s);
Box EnterFrame(int transition, int k, const Box& to, const Box& s);
bool IsAnimated(int transition);      // 5 to 9
bool DrawsChangeAnew(int transition); // 10: each change is one of 4 to 9, drawn anew

// An animation runs on the step clock: frame i (0 .. 100, in the order drawn) is due
// i * kFrameMs after it began, and each step draws the next frame once it is due. Every frame
// is drawn, in order: a step that comes late delays the rest of the animation a little
// rather than dropping frames, so that it looks the same on a busy machine.
constexpr unsigned kFrameMs = 10;
// The frame a step elapsedMs after the start draws when lastDrawn was the latest (-1: none
// yet); -1 when the next one is not due yet, or the last one has been drawn.
int FrameToDraw(int lastDrawn, unsigned elapsedMs);
