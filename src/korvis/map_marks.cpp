// What the host draws over the engine's tile map: a frame in its kingdom's colour round every
// town, corners round the walker (the console's commands act on its cell), the cell a number
// key or an order points out, and the units' captions, laid out so that none overlaps
// another or leaves the map. The pass draws them after DrawTileMapWithoutCaptions.
#include <algorithm>
#include <cstdio>

#include "korvis/host.h"
#include "quentaro.h"

namespace {

constexpr int LARGE_GLYPH = 8;
constexpr int GAP = 1;  // free pixels kept between two captions

std::vector<CaptionBox> placed;

struct Cell {
    bool inView;
    int sx, sy;  // the cell's bottom-left frame pixel
};

Cell CellOnScreen(int x, int y, int level) {
    const int columns = AppState.frameWidth / TILE_SIZE, rows = AppState.frameHeight / TILE_SIZE;
    const long long cx = (long long)x - ViewX, cy = (long long)y - ViewY;
    const bool in = level == ViewLevel && cx >= 0 && cx < columns && cy >= 0 && cy < rows;
    return {in, int(cx) * TILE_SIZE, int(cy) * TILE_SIZE};
}

void TownFrames() {
    for (int i = 1; i < UNIT_CAPACITY; ++i) {
        const UnitRecord& u = UnitTable[i];
        if (!UnitOnTileMap(i) || u.kind != KIND_TOWN || u.owner < 1 || u.owner > KINGDOM_COUNT)
            continue;
        const Cell c = CellOnScreen(u.x, u.y, u.level);
        if (!c.inView) continue;
        int r, g, b;
        KingdomColour(u.owner, r, g, b);
        DrawRect(c.sx, c.sy, c.sx + 15, c.sy + 15, r, g, b);
        if (i == u.owner) DrawRect(c.sx + 1, c.sy + 1, c.sx + 14, c.sy + 14, r, g, b);  // capital
    }
}

void WalkerCorners() {
    const UnitRecord& w = UnitTable[WALKER];
    const Cell c = CellOnScreen(w.x, w.y, w.level);
    if (!c.inView) return;
    const int x0 = c.sx - 2, y0 = c.sy - 2, x1 = c.sx + 17, y1 = c.sy + 17, arm = 5;
    for (int t = 0; t < 2; ++t) {
        DrawLine(x0 + t, y0, x0 + t, y0 + arm, 255, 255, 0);
        DrawLine(x0, y0 + t, x0 + arm, y0 + t, 255, 255, 0);
        DrawLine(x1 - t, y0, x1 - t, y0 + arm, 255, 255, 0);
        DrawLine(x1 - arm, y0 + t, x1, y0 + t, 255, 255, 0);
        DrawLine(x0 + t, y1 - arm, x0 + t, y1, 255, 255, 0);
        DrawLine(x0, y1 - t, x0 + arm, y1 - t, 255, 255, 0);
        DrawLine(x1 - t, y1 - arm, x1 - t, y1, 255, 255, 0);
        DrawLine(x1 - arm, y1 - t, x1, y1 - t, 255, 255, 0);
    }
}

void MarkedCellOnMap() {
    const MarkedCell& m = Korvis.mark;
    if (platform::Sys().SteadyMicroseconds() >= m.until) return;
    const Cell c = CellOnScreen(m.x, m.y, m.level);
    if (!c.inView) return;
    if (m.goal == 1) {
        DrawLine(c.sx + 2, c.sy + 2, c.sx + 13, c.sy + 13, 0, 255, 255);
        DrawLine(c.sx + 2, c.sy + 13, c.sx + 13, c.sy + 2, 0, 255, 255);
        DrawRect(c.sx, c.sy, c.sx + 15, c.sy + 15, 0, 255, 255);
        return;
    }
    for (int t = 0; t < 2; ++t)
        DrawRect(c.sx - t, c.sy - t, c.sx + 15 + t, c.sy + 15 + t, 255, 255, 255);
}

bool Overlaps(const CaptionBox& a, const CaptionBox& b) {
    return a.left <= b.right + GAP && b.left <= a.right + GAP && a.bottom <= b.top + GAP &&
           b.bottom <= a.top + GAP;
}

// On the map and clear of the winner's banner.
bool OnMap(const CaptionBox& box) {
    if (Korvis.winner != 0 && box.bottom <= BANNER_TOP && BANNER_BOTTOM <= box.top) return false;
    return box.left >= 0 && box.right < AppState.frameWidth && box.bottom >= 0 &&
           box.top < MAP_ROWS;
}

// The first place beside the unit's tile where the caption stays on the map clear of the
// captions already placed; above the tile as the engine puts it, else below, right or left,
// each moved inward at the frame's sides.
bool PlaceCaption(int sx, int sy, int width, CaptionBox& box) {
    const int left[] = {sx, sx, sx + TILE_SIZE + 1, sx - width - 1};
    const int bottom[] = {sy + TILE_SIZE + 1, sy - LINE_ROWS - 1, sy + 2, sy + 2};
    for (int k = 0; k < 4; ++k) {
        const int x = std::clamp(left[k], 0, std::max(0, AppState.frameWidth - width));
        box = {x, bottom[k] - 1, x + width - 1, bottom[k] + LINE_ROWS - 1};
        if (!OnMap(box)) continue;
        if (std::none_of(placed.begin(), placed.end(),
                         [&](const CaptionBox& other) { return Overlaps(box, other); }))
            return true;
    }
    return false;
}

void Captions() {
    placed.clear();
    for (int i = 0; i < UNIT_CAPACITY; ++i) {
        if (!UnitOnTileMap(i)) continue;
        const UnitRecord& u = UnitTable[i];
        const Cell c = CellOnScreen(u.x, u.y, u.level);
        if (!c.inView) continue;
        char text[32];
        std::snprintf(text, sizeof text, "%d ms%d", i, int(u.moveState));
        const int width = LARGE_GLYPH * int(std::string(text).size()) + 1;  // and its shadow
        CaptionBox box;
        if (!PlaceCaption(c.sx, c.sy, width, box)) continue;
        placed.push_back(box);
        DrawLargeLine(text, box.left + 1, box.bottom - 1, 0, 0, 0);  // a shadow for light ground
        DrawLargeLine(text, box.left, box.bottom, 255, 255, 255);
    }
}

}  // namespace

void DrawMapMarks() {
    TownFrames();
    MarkedCellOnMap();
    WalkerCorners();
    Captions();
}

const std::vector<CaptionBox>& PlacedCaptions() {
    return placed;
}
