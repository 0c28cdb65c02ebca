// Terrain tiles of the overworld, dungeon cell tiles, scene textures and the title screen
// of the default picture set: shapes and a palette per kind, no imported artwork.
#include <cstdlib>

#include "art.h"

namespace {

constexpr Rgb GRASS{70, 150, 60};
constexpr Rgb GRASS_LIGHT{100, 180, 80};
constexpr Rgb TRUNK{110, 70, 30};
constexpr Rgb STONE{60, 56, 52};
constexpr Rgb STONE_LINE{45, 42, 40};
constexpr Rgb BRICK{120, 110, 100};
constexpr Rgb MORTAR{70, 64, 58};
constexpr Rgb GOLD{230, 190, 40};
constexpr Rgb FLAME{255, 170, 30};
constexpr Rgb WOOD{140, 90, 40};

void Tree(Canvas& c, int x, int y, int r, Rgb leaves) {
    c.Rect(x, y + r - 1, x, y + r + 2, TRUNK);
    c.Disc(x, y, r, leaves);
    c.Set(x - 1, y - 1, Shade(leaves, 130));
}

void Pine(Canvas& c, int x, int y, Rgb leaves) {
    c.Triangle(x, y - 4, x - 3, y + 2, x + 3, y + 2, leaves);
    c.Rect(x, y + 3, x, y + 4, TRUNK);
}

void Forest(Canvas& c, const std::string& name) {
    Rgb ground = GRASS, leaves{30, 100, 35};
    if (name == "forest_gray") ground = {110, 120, 100}, leaves = {95, 105, 95};
    if (name == "forest_leaf") leaves = {120, 200, 60};
    if (name == "forest_c") ground = {50, 120, 45}, leaves = {20, 80, 30};
    c.Fill(ground);
    c.Speckle(0, 0, 15, 15, 12, HashText(name), Shade(ground, 120));
    if (name == "forest_b") {
        Pine(c, 4, 5, leaves);
        Pine(c, 11, 4, leaves);
        Pine(c, 8, 11, leaves);
        return;
    }
    if (name == "forest_c") {
        const int spots[5][2] = {{3, 3}, {11, 3}, {7, 7}, {3, 11}, {12, 11}};
        for (auto& s : spots) Tree(c, s[0], s[1], 2, leaves);
        return;
    }
    if (name == "forest_leaf") {
        Tree(c, 5, 5, 4, leaves);
        Tree(c, 11, 10, 4, leaves);
        return;
    }
    Tree(c, 4, 4, 3, leaves);
    Tree(c, 11, 6, 3, leaves);
    Tree(c, 6, 11, 3, leaves);
    if (name == "forest_fruit") {
        const int fruit[6][2] = {{3, 3}, {5, 5}, {10, 5}, {12, 7}, {5, 10}, {7, 12}};
        for (auto& f : fruit) c.Set(f[0], f[1], {220, 30, 30});
    }
}

void Water(Canvas& c, Rgb base) {
    c.Fill(base);
    Rgb wave = Shade(base, 160);
    for (int row = 2; row < 16; row += 5)
        for (int x = 0; x < 16; ++x)
            if ((x + row) % 6 < 3) c.Set(x, row + ((x + row) % 6 == 1 ? -1 : 0), wave);
}

void Village(Canvas& c, Rgb roof) {
    c.Fill(GRASS);
    Rgb wall{220, 200, 160};
    for (int h = 0; h < 2; ++h) {
        int x = 2 + 7 * h, y = 5 + 4 * h;
        c.Rect(x, y + 2, x + 5, y + 6, wall);
        c.Triangle(x - 1, y + 2, x + 6, y + 2, x + 2, y - 2, roof);
        c.Triangle(x + 6, y + 2, x + 3, y - 2, x + 2, y - 2, roof);
        c.Rect(x + 2, y + 4, x + 3, y + 6, WOOD);
    }
}

void Castle(Canvas& c, Rgb stone, Rgb ground, int scale) {
    int s = scale;
    c.Rect(3 * s, 6 * s, 12 * s + s - 1, 15 * s - 1, stone);
    for (int t : {2, 11}) c.Rect(t * s, 3 * s, (t + 3) * s - 1, 15 * s - 1, Shade(stone, 115));
    for (int x = 2 * s; x < 14 * s; x += 2 * s) c.Rect(x, 2 * s, x + s - 1, 3 * s - 1, stone);
    c.Rect(6 * s, 10 * s, 9 * s - 1, 15 * s - 1, Shade(stone, 35));
    c.Rect(0, 15 * s, c.Width() - 1, c.Height() - 1, ground);
}

void Mine(Canvas& c, bool iron) {
    c.Fill(GRASS);
    c.Ellipse(8, 12, 8, 8, {150, 110, 70});
    c.Rect(5, 8, 10, 15, {30, 22, 18});
    c.Rect(4, 7, 11, 7, WOOD);
    c.Rect(4, 7, 4, 15, WOOD);
    c.Rect(11, 7, 11, 15, WOOD);
    if (iron) {
        const int ore[5][2] = {{2, 10}, {13, 9}, {3, 14}, {13, 13}, {7, 5}};
        for (auto& o : ore) c.Rect(o[0], o[1], o[0] + 1, o[1], {160, 170, 190});
    }
}

// Dungeon floor: dark stone flags.
void Floor(Canvas& c) {
    c.Fill(STONE);
    c.Line(0, 7, 15, 7, STONE_LINE);
    c.Line(0, 15, 15, 15, STONE_LINE);
    c.Line(7, 0, 7, 7, STONE_LINE);
    c.Line(3, 8, 3, 15, STONE_LINE);
    c.Line(12, 8, 12, 15, STONE_LINE);
}

void Bricks(Canvas& c, Rgb brick, Rgb mortar, int unit) {
    c.Fill(brick);
    int bw = 8 * unit, bh = 4 * unit;
    for (int y = 0; y < c.Height(); y += bh) {
        c.Rect(0, y + bh - 1, c.Width() - 1, y + bh - 1, mortar);
        int offset = (y / bh) % 2 ? bw / 2 : 0;
        for (int x = offset; x < c.Width(); x += bw) c.Rect(x, y, x, y + bh - 1, mortar);
    }
}

void Pool(Canvas& c, Rgb water, bool sparkle) {
    Floor(c);
    c.Ellipse(8, 8, 6, 5, {90, 90, 100});
    c.Ellipse(8, 8, 5, 4, water);
    c.Set(6, 6, Shade(water, 170));
    if (sparkle) {
        c.Ring(8, 8, 3, {240, 240, 255});
        c.Set(8, 8, {255, 255, 255});
    }
}

void Chest(Canvas& c, bool open) {
    Floor(c);
    Rgb box{130, 80, 30};
    if (open) {
        c.Rect(3, 8, 12, 13, box);
        c.Rect(3, 3, 12, 6, Shade(box, 80));
        c.Rect(4, 8, 11, 9, GOLD);
    } else {
        c.Rect(3, 6, 12, 13, box);
        c.Rect(3, 8, 12, 8, GOLD);
        c.Rect(7, 8, 8, 10, {250, 230, 120});
    }
}

void Candelabrum(Canvas& c, bool lit) {
    Floor(c);
    c.Rect(7, 6, 8, 14, GOLD);
    c.Rect(4, 13, 11, 14, GOLD);
    c.Rect(3, 6, 12, 6, GOLD);
    for (int x : {3, 7, 12}) {
        c.Rect(x, 4, x, 5, {240, 240, 220});
        if (lit)
            c.Rect(x, 1, x, 3, FLAME), c.Set(x, 2, {255, 240, 120});
        else
            c.Set(x, 2, {120, 120, 120});
    }
}

void Coffin(Canvas& c, bool open) {
    Floor(c);
    Rgb wood{100, 60, 30};
    c.Triangle(8, 1, 3, 5, 13, 5, wood);
    c.Rect(3, 5, 12, 9, wood);
    c.Triangle(3, 9, 13, 9, 8, 15, wood);
    c.Rect(5, 10, 10, 11, wood);
    if (open) {
        c.Rect(5, 4, 10, 10, {25, 20, 20});
        c.Disc(8, 5, 2, {230, 230, 220});
        c.Set(7, 5, {25, 20, 20});
        c.Set(9, 5, {25, 20, 20});
    } else {
        c.Rect(7, 3, 8, 10, {200, 190, 150});
        c.Rect(5, 5, 10, 6, {200, 190, 150});
    }
}

void Bones(Canvas& c, bool cleaned) {
    Floor(c);
    Rgb bone{225, 220, 200};
    if (cleaned) {
        c.Speckle(1, 1, 14, 14, 5, 7, Shade(bone, 60));
        return;
    }
    c.Line(2, 3, 9, 8, bone);
    c.Line(4, 12, 12, 10, bone);
    c.Disc(11, 4, 2, bone);
    c.Set(10, 4, STONE);
    c.Set(12, 4, STONE);
}

void Door(Canvas& c, bool opened) {
    if (opened) {
        Floor(c);
        c.Rect(0, 0, 2, 15, {110, 65, 25});
        c.Rect(1, 0, 1, 15, {80, 45, 20});
        return;
    }
    c.Fill({120, 75, 30});
    for (int x = 3; x < 16; x += 4) c.Rect(x, 0, x, 15, {80, 45, 20});
    c.Rect(0, 3, 15, 3, {70, 70, 75});
    c.Rect(0, 12, 15, 12, {70, 70, 75});
    c.Rect(11, 7, 12, 8, GOLD);
}

void Stairs(Canvas& c, bool down) {
    Floor(c);
    for (int step = 0; step < 5; ++step) {
        int shade = down ? 100 - step * 18 : 50 + step * 25;
        c.Rect(2, 2 + step * 3, 13, 4 + step * 3, Shade({170, 160, 150}, shade));
    }
    Rgb arrow = down ? Rgb{220, 60, 60} : Rgb{60, 200, 60};
    if (down)
        c.Triangle(8, 14, 5, 10, 11, 10, arrow);
    else
        c.Triangle(8, 1, 5, 5, 11, 5, arrow);
}

void MagicCircle(Canvas& c, Rgb ring, bool flames) {
    Floor(c);
    c.Ring(8, 8, 6, ring);
    c.Ring(8, 8, 3, Shade(ring, 80));
    if (flames)
        for (int a : {2, 8, 14}) c.Rect(a, 7, a, 9, FLAME), c.Set(a, 6, {255, 240, 120});
}

void Altar(Canvas& c, Rgb top, Rgb body, bool jewels) {
    Floor(c);
    c.Rect(2, 6, 13, 13, body);
    c.Rect(1, 4, 14, 6, top);
    if (jewels) {
        c.Set(4, 9, {220, 30, 30});
        c.Set(8, 9, {30, 200, 60});
        c.Set(11, 9, {40, 80, 230});
    }
}

void Trap(Canvas& c, bool armed) {
    Floor(c);
    Rgb spike = armed ? Rgb{210, 210, 225} : Rgb{100, 100, 105};
    for (int x = 2; x <= 11; x += 3) {
        if (armed)
            c.Triangle(x, 12, x + 2, 12, x + 1, 4, spike);
        else
            c.Rect(x, 10, x + 1, 12, spike);
    }
    c.Frame(1, 2, 14, 13, {150, 40, 40});
}

void Torch(Canvas& c, bool lit) {
    Bricks(c, BRICK, MORTAR, 1);
    c.Rect(7, 7, 8, 14, WOOD);
    c.Rect(6, 6, 9, 7, {80, 80, 85});
    if (lit) {
        c.Triangle(7, 0, 4, 5, 11, 5, FLAME);
        c.Rect(7, 3, 8, 5, {255, 240, 120});
    }
}

void Gear(Canvas& c) {
    Floor(c);
    Rgb bronze{190, 130, 60};
    c.Disc(8, 8, 5, bronze);
    for (int i = 0; i < 8; ++i) {
        const int dx[8] = {0, 5, 7, 5, 0, -5, -7, -5}, dy[8] = {-7, -5, 0, 5, 7, 5, 0, -5};
        c.Rect(8 + dx[i] - 1 + (dx[i] > 0), 8 + dy[i] - 1 + (dy[i] > 0), 8 + dx[i] + (dx[i] > 0),
               8 + dy[i] + (dy[i] > 0), bronze);
    }
    c.Disc(8, 8, 2, STONE);
}

void Lever(Canvas& c) {
    Floor(c);
    c.Rect(4, 11, 11, 14, {90, 90, 95});
    c.ThickLine(7, 11, 11, 3, 2, {150, 150, 160});
    c.Disc(11, 3, 2, {220, 30, 30});
}

void Fountain(Canvas& c, bool full) {
    Floor(c);
    c.Ellipse(8, 11, 7, 4, {160, 160, 170});
    c.Ellipse(8, 11, 5, 2, full ? Rgb{60, 120, 230} : Rgb{40, 38, 36});
    c.Rect(7, 3, 8, 10, {160, 160, 170});
    if (full)
        c.Rect(6, 1, 9, 2, {130, 190, 255}), c.Set(5, 3, {130, 190, 255}),
            c.Set(10, 3, {130, 190, 255});
}

void Spawn(Canvas& c, bool active) {
    Floor(c);
    Rgb line = active ? Rgb{210, 30, 40} : Rgb{110, 110, 110};
    c.Ring(8, 8, 7, line);
    const int pts[5][2] = {{8, 1}, {14, 12}, {2, 5}, {14, 5}, {2, 12}};
    for (int i = 0; i < 5; ++i)
        c.Line(pts[i][0], pts[i][1], pts[(i + 1) % 5][0], pts[(i + 1) % 5][1], line);
}

void Scrolls(Canvas& c) {
    Floor(c);
    Rgb paper{235, 220, 170};
    c.Rect(2, 4, 9, 6, paper);
    c.Rect(5, 9, 13, 11, paper);
    c.Rect(3, 12, 8, 14, paper);
    for (int x : {2, 9}) c.Rect(x, 4, x, 6, {150, 100, 50});
    c.Rect(13, 9, 13, 11, {200, 40, 40});
}

}  // namespace

void DrawLand(const std::string& name, Canvas& c) {
    if (name.rfind("forest", 0) == 0) return Forest(c, name);
    if (name == "water") return Water(c, {50, 100, 200});
    if (name == "water_deep") return Water(c, {20, 40, 130});
    if (name.rfind("village_b", 0) == 0) {
        Rgb roof{150, 80, 40};
        if (name == "village_b_yellow") roof = {230, 200, 40};
        if (name == "village_b_blue") roof = {50, 80, 220};
        if (name == "village_b_green") roof = {30, 160, 60};
        if (name == "village_b_red") roof = {210, 40, 40};
        return Village(c, roof);
    }
    if (name == "castle_a") {
        c.Fill(GRASS);
        return Castle(c, {150, 150, 155}, GRASS, 1);
    }
    if (name == "mine" || name == "iron_mine") return Mine(c, name == "iron_mine");
    c.Fill(GRASS);
    if (name == "plain") {
        c.Speckle(0, 0, 15, 15, 20, 3, GRASS_LIGHT);
        c.Speckle(0, 0, 15, 15, 3, 9, {240, 230, 90});
    } else if (name == "swamp_a") {
        c.Fill({90, 110, 50});
        c.Ellipse(5, 5, 3, 2, {50, 70, 50});
        c.Ellipse(11, 11, 3, 2, {50, 70, 50});
        for (int x : {2, 9, 13}) c.Rect(x, 8, x, 11, {140, 150, 60});
    } else if (name == "desert_a") {
        c.Fill({220, 200, 120});
        for (int y : {4, 10}) c.Line(0, y, 15, y + 2, {195, 170, 90});
        c.Speckle(0, 0, 15, 15, 8, 5, {240, 225, 160});
    } else if (name == "hills_a") {
        c.Ellipse(5, 10, 5, 4, {150, 120, 70});
        c.Ellipse(12, 7, 4, 3, {165, 135, 80});
        c.Rect(0, 14, 15, 15, GRASS);
    } else if (name == "mountain" || name == "mountain_high_a") {
        bool high = name == "mountain_high_a";
        c.Triangle(8, high ? 0 : 3, 0, 15, 15, 15, {130, 130, 130});
        c.Triangle(8, high ? 0 : 3, 8, 15, 15, 15, {100, 100, 105});
        if (high) c.Triangle(8, 0, 5, 5, 11, 5, {245, 245, 250});
    } else if (name == "road_b") {
        c.Rect(0, 6, 15, 9, {170, 140, 90});
        c.Line(0, 6, 15, 6, {130, 105, 65});
        c.Line(0, 9, 15, 9, {130, 105, 65});
    } else if (name == "ruin_a") {
        Rgb wall{140, 135, 125};
        c.Rect(2, 6, 3, 13, wall);
        c.Rect(2, 12, 12, 13, wall);
        c.Rect(11, 9, 12, 13, wall);
        c.Rect(7, 10, 8, 11, Shade(wall, 80));
    } else if (name == "grottus") {
        c.Ellipse(8, 10, 7, 6, {120, 115, 110});
        c.Ellipse(8, 12, 3, 3, {30, 20, 20});
    } else if (name == "well") {
        c.Disc(8, 9, 5, {140, 140, 145});
        c.Disc(8, 9, 3, {50, 100, 220});
        c.Rect(2, 2, 13, 3, {160, 60, 40});
        c.Rect(3, 3, 3, 9, WOOD);
        c.Rect(12, 3, 12, 9, WOOD);
    } else {
        c.Speckle(0, 0, 15, 15, 30, HashText(name), Shade(GRASS, 60));
    }
}

void DrawDungeon(const std::string& name, Canvas& c) {
    if (name == "wall") return Bricks(c, BRICK, MORTAR, 1);
    if (name == "floor") return Floor(c);
    if (name == "floor_marble") {
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                c.Set(x, y, ((x / 4 + y / 4) % 2) ? Rgb{205, 205, 215} : Rgb{170, 170, 190});
        return;
    }
    if (name == "floor_bones" || name == "floor_bones_cleaned")
        return Bones(c, name == "floor_bones_cleaned");
    if (name == "chest" || name == "chest_open") return Chest(c, name == "chest_open");
    if (name.rfind("candelabrum", 0) == 0) return Candelabrum(c, name == "candelabrum");
    if (name.rfind("coffin", 0) == 0) return Coffin(c, name == "coffin_open");
    if (name.rfind("door", 0) == 0) return Door(c, name == "door_opened");
    if (name == "stairsd" || name == "stairsu") return Stairs(c, name == "stairsd");
    if (name.rfind("fountain", 0) == 0) return Fountain(c, name == "fountain");
    if (name.rfind("spawn", 0) == 0) return Spawn(c, name == "spawn");
    if (name == "circle") return MagicCircle(c, {230, 230, 230}, false);
    if (name == "circle_golden") return MagicCircle(c, GOLD, false);
    if (name == "circle_aflamed") return MagicCircle(c, {240, 110, 20}, true);
    if (name == "altar") return Altar(c, {190, 190, 195}, {150, 150, 155}, false);
    if (name == "altar_jeweled") return Altar(c, {230, 200, 80}, {150, 150, 155}, true);
    if (name == "altar_dark") return Altar(c, {150, 20, 30}, {50, 25, 60}, false);
    if (name.rfind("trap", 0) == 0) return Trap(c, name == "trap");
    if (name.rfind("torch", 0) == 0) return Torch(c, name == "torch");
    if (name == "geer_mecanism") return Gear(c);
    if (name == "lever") return Lever(c);
    if (name == "scrolls") return Scrolls(c);
    if (name == "source") return Pool(c, {60, 120, 230}, false);
    if (name == "source_complete") return Pool(c, {60, 120, 230}, true);
    if (name == "source_red") return Pool(c, {210, 30, 30}, false);
    if (name == "source_green") return Pool(c, {30, 190, 60}, false);
    if (name == "source_blue") return Pool(c, {20, 40, 170}, true);
    if (name == "source_yellow") return Pool(c, {230, 210, 40}, false);
    if (name == "source_brown") return Pool(c, {120, 80, 40}, false);
    Floor(c);
    c.Speckle(0, 0, 15, 15, 30, HashText(name), {200, 60, 200});
}

void DrawCube(const std::string& name, Canvas& c) {
    int s = c.Width() / 16;
    if (name == "brickold2") return Bricks(c, {150, 70, 50}, {90, 80, 70}, s);
    if (name == "brickold3") {
        Bricks(c, {120, 115, 105}, {60, 55, 50}, s);
        c.Speckle(0, 0, c.Width() - 1, c.Height() - 1, 200, 11, {80, 110, 60});  // moss
        return;
    }
    if (name == "grass3") {
        c.Fill(GRASS);
        c.Speckle(0, 0, c.Width() - 1, c.Height() - 1, 600, 13, GRASS_LIGHT);
        c.Speckle(0, 0, c.Width() - 1, c.Height() - 1, 300, 17, {40, 110, 40});
        return;
    }
    if (name == "dirt1") {
        c.Fill({120, 85, 50});
        c.Speckle(0, 0, c.Width() - 1, c.Height() - 1, 500, 19, {90, 60, 35});
        c.Speckle(0, 0, c.Width() - 1, c.Height() - 1, 150, 23, {160, 130, 90});
        return;
    }
    if (name == "structure_castle") {
        c.Fill({90, 150, 220});
        return Castle(c, {150, 150, 155}, GRASS, s);
    }
    if (name == "item_whale_blade") {
        c.Fill({30, 30, 40});
        c.ThickLine(8 * s / 2, 56 * s / 4, 56 * s / 4, 8 * s / 4, 3 * s, {170, 210, 235});
        c.ThickLine(6 * s, 42 * s / 4, 14 * s / 4 * 3, 42 * s / 4 + 8 * s, s, GOLD);
        return;
    }
    if (name == "DSC3") {
        // A landscape photograph stand-in: sky, far hills, a lake.
        for (int y = 0; y < c.Height(); ++y)
            c.Rect(0, y, c.Width() - 1, y,
                   Mix({70, 120, 210}, {200, 225, 250}, y * 100 / c.Height()));
        c.Ellipse(c.Width() / 3, c.Height() * 2 / 3, c.Width() / 2, c.Height() / 4, {60, 120, 70});
        c.Rect(0, c.Height() * 3 / 4, c.Width() - 1, c.Height() - 1, {50, 90, 170});
        c.Disc(c.Width() * 3 / 4, c.Height() / 5, c.Width() / 10, {255, 230, 120});
        return;
    }
    c.Fill({128, 128, 128});
    c.Speckle(0, 0, c.Width() - 1, c.Height() - 1, 400, HashText(name), {200, 60, 200});
}

void DrawTitle(const std::string&, Canvas& c) {
    int w = c.Width(), h = c.Height();
    for (int y = 0; y < h; ++y)
        c.Rect(0, y, w - 1, y, Mix({20, 20, 70}, {200, 110, 60}, y * 100 / h));
    c.Speckle(0, 0, w - 1, h / 3, 80, 29, {240, 240, 255});  // stars
    c.Triangle(0, h * 3 / 4, w / 4, h / 3, w / 2, h * 3 / 4, {60, 50, 80});
    c.Triangle(w / 3, h * 3 / 4, w * 2 / 3, h / 4, w, h * 3 / 4, {50, 45, 70});
    c.Rect(0, h * 3 / 4, w - 1, h - 1, {30, 60, 35});
    // A castle on the ridge.
    int cx = w * 2 / 3, base = h * 3 / 4;
    c.Rect(cx - 30, base - 40, cx + 30, base, {40, 35, 45});
    for (int t : {-36, 24}) c.Rect(cx + t, base - 60, cx + t + 12, base, {45, 40, 50});
    for (int x = cx - 30; x < cx + 30; x += 8) c.Rect(x, base - 46, x + 3, base - 41, {40, 35, 45});
    for (int x = cx - 20; x < cx + 20; x += 10)
        c.Rect(x, base - 30, x + 2, base - 26, {255, 200, 80});
    // The title in blocky letters.
    static const char* glyphs[8][5] = {
        {"111", "101", "101", "111", "001"}, {"101", "101", "101", "101", "111"},
        {"111", "100", "110", "100", "111"}, {"101", "111", "111", "111", "101"},
        {"111", "010", "010", "010", "010"}, {"111", "101", "111", "101", "101"},
        {"111", "101", "110", "101", "101"}, {"111", "101", "101", "101", "111"}};
    int scale = 6, x0 = (w - 8 * 4 * scale) / 2, y0 = h / 8;
    for (int g = 0; g < 8; ++g)
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 3; ++col)
                if (glyphs[g][row][col] == '1') {
                    int x = x0 + (g * 4 + col) * scale, y = y0 + row * scale;
                    c.Rect(x + 2, y + 2, x + scale + 1, y + scale + 1, {20, 10, 10});
                    c.Rect(x, y, x + scale - 1, y + scale - 1, GOLD);
                }
}
