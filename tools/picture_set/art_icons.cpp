// The desktop icons of the two programs, put together from the default picture set's own
// tiles and sprites: the media menu as a page of thumbnails with one selected and a play
// mark, the game as a patch of overworld with a castle and a selected unit.
#include <string>

#include "art.h"

namespace {

constexpr Rgb PANEL{28, 32, 46};
constexpr Rgb YELLOW{255, 255, 0};
constexpr Rgb RED{255, 0, 0};
constexpr Rgb GREEN{0, 255, 0};
constexpr Rgb WHITE{255, 255, 255};

Canvas Tile(void (*draw)(const std::string&, Canvas&), const char* name) {
    Canvas tile(16, 16);
    draw(name, tile);
    return tile;
}

// Corners rounded off by the key colour, which the PNG writer makes transparent.
void RoundCorners(Canvas& c, int inset) {
    const int w = c.Width() - 1 - inset, h = c.Height() - 1 - inset;
    const int cut[3] = {3, 1, 1};  // pixels removed from rows 0, 1 and 2 of each corner
    for (int row = 0; row < 3; ++row)
        for (int i = 0; i < cut[row]; ++i) {
            c.Set(inset + i, inset + row, BLACK);
            c.Set(w - i, inset + row, BLACK);
            c.Set(inset + i, h - row, BLACK);
            c.Set(w - i, h - row, BLACK);
        }
}

void MenuIcon(Canvas& c) {
    c.Fill(BLACK);
    c.Rect(2, 2, 61, 61, PANEL);
    RoundCorners(c, 2);
    c.Rect(6, 6, 30, 8, YELLOW);  // the title line of the overlay
    const char* pictures[6] = {"plain",           "water",         "forest",
                               "mountain_high_a", "village_b_red", "desert_a"};
    for (int i = 0; i < 6; ++i)
        c.Blit(Tile(DrawLand, pictures[i]), 6 + 18 * (i % 3), 13 + 18 * (i / 3), false);
    c.Frame(22, 11, 41, 30, RED);  // the selected picture
    c.Rect(6, 51, 26, 53, GREEN);  // a file label of the list
    c.Rect(6, 56, 18, 58, YELLOW);
    c.Triangle(44, 47, 44, 59, 56, 53, WHITE);  // play
    c.Triangle(46, 50, 46, 56, 51, 53, RED);
}

void GameIcon(Canvas& c) {
    const char* map[4][4] = {{"mountain_high_a", "mountain", "forest", "forest_b"},
                             {"hills_a", "plain", "road_b", "forest_c"},
                             {"water", "castle_a", "plain", "village_b_blue"},
                             {"water_deep", "water", "swamp_a", "plain"}};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            c.Blit(Tile(DrawLand, map[row][column]), 16 * column, 16 * row, false);
    c.Ring(40, 24, 13, YELLOW);  // the selected unit's range
    c.Blit(Tile(DrawUnit, "unit_fighter"), 32, 16, true);
    c.Line(38, 34, 38, 45, RED);  // its path
    c.Line(38, 45, 28, 45, RED);
    RoundCorners(c, 0);
}

}  // namespace

void DrawProgramIcon(const std::string& program, Canvas& c) {
    if (program == "korvis") return GameIcon(c);
    MenuIcon(c);
}
