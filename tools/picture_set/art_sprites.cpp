// Sprites of the default picture set, on pure black so keyed drawing leaves the ground
// visible: units by family (beasts, blobs, snakes, insects, people, skeletons, eyes,
// dragons, elementals), buildings and items, each family with its shape and each name
// with its own colours or details.
#include <map>

#include "art.h"

namespace {

constexpr Rgb OUTLINE{24, 20, 20};  // the darkest ink: near black but never the key
constexpr Rgb EYE_RED{230, 30, 30};
constexpr Rgb BONE{235, 232, 215};
constexpr Rgb STEEL{190, 195, 205};
constexpr Rgb GOLD{230, 190, 40};
constexpr Rgb WOOD{140, 90, 40};

enum class Family {
    Beast,
    Blob,
    Mushroom,
    Snake,
    Insect,
    Person,
    Skeleton,
    Eye,
    Dragon,
    Elemental
};

struct UnitLook {
    Family family;
    Rgb body;
    Rgb accent;
    int variant;  // a family-specific detail: size, heads, headgear, weapon
};

const std::map<std::string, UnitLook>& UnitLooks() {
    static const std::map<std::string, UnitLook> looks = {
        {"unit_giant_rat", {Family::Beast, {130, 120, 110}, {230, 150, 160}, 0}},
        {"unit_dog", {Family::Beast, {150, 100, 50}, {40, 30, 20}, 1}},
        {"unit_gor_dog", {Family::Beast, {140, 40, 40}, {250, 220, 60}, 2}},
        {"unit_polar_geer", {Family::Beast, {235, 240, 250}, {60, 60, 70}, 3}},
        {"unit_green_slime", {Family::Blob, {60, 200, 70}, {200, 255, 200}, 0}},
        {"unit_gelatinous_cube", {Family::Blob, {100, 220, 220}, {230, 255, 255}, 1}},
        {"unit_fungus", {Family::Mushroom, {200, 40, 40}, {245, 240, 230}, 0}},
        {"unit_serpent", {Family::Snake, {60, 160, 60}, {240, 220, 60}, 0}},
        {"unit_serpent_fire", {Family::Snake, {240, 100, 20}, {255, 230, 80}, 1}},
        {"unit_giant_worm", {Family::Snake, {220, 140, 150}, {150, 80, 90}, 2}},
        {"unit_beatle", {Family::Insect, {40, 60, 160}, {120, 160, 240}, 0}},
        {"unit_beatle_fire", {Family::Insect, {210, 50, 20}, {255, 200, 60}, 0}},
        {"unit_giant_spider", {Family::Insect, {90, 50, 110}, {230, 40, 40}, 1}},
        {"unit_mantis", {Family::Insect, {120, 200, 60}, {240, 250, 120}, 2}},
        {"unit_rust_monster", {Family::Insect, {190, 100, 40}, {110, 60, 30}, 3}},
        {"unit_goblin", {Family::Person, {90, 170, 60}, {120, 80, 40}, 0}},
        {"unit_nabos", {Family::Person, {160, 90, 190}, {80, 40, 100}, 1}},
        {"unit_orc_b", {Family::Person, {120, 130, 50}, {90, 90, 95}, 2}},
        {"unit_drius", {Family::Person, {80, 110, 210}, {220, 220, 240}, 3}},
        {"unit_mage", {Family::Person, {230, 190, 160}, {50, 70, 200}, 4}},
        {"unit_dwarf", {Family::Person, {230, 180, 140}, {180, 90, 40}, 5}},
        {"unit_minotor", {Family::Person, {140, 90, 50}, {230, 220, 190}, 6}},
        {"unit_ogre", {Family::Person, {190, 160, 100}, {110, 80, 50}, 7}},
        {"unit_medusa", {Family::Person, {150, 200, 140}, {40, 150, 60}, 8}},
        {"unit_lich", {Family::Person, {225, 225, 205}, {110, 40, 150}, 9}},
        {"unit_fighter", {Family::Person, {230, 190, 160}, {160, 165, 175}, 10}},
        {"unit_cleric", {Family::Person, {230, 190, 160}, {240, 240, 240}, 11}},
        {"unit_bandit", {Family::Person, {230, 190, 160}, {70, 60, 55}, 12}},
        {"unit_pleidian", {Family::Person, {250, 250, 200}, {120, 220, 250}, 13}},
        {"unit_squeletton", {Family::Skeleton, BONE, BONE, 0}},
        {"unit_squeletton_zombi_wounded", {Family::Skeleton, BONE, {200, 30, 30}, 1}},
        {"unit_squeletton_zombi", {Family::Skeleton, {170, 200, 150}, {90, 120, 70}, 2}},
        {"unit_squeletton_sturdy", {Family::Skeleton, BONE, {150, 110, 60}, 3}},
        {"unit_squeletton_monster", {Family::Skeleton, {200, 190, 170}, {180, 40, 180}, 4}},
        {"unit_squeletton_brave", {Family::Skeleton, BONE, {40, 90, 200}, 5}},
        {"unit_squeletton_floating", {Family::Skeleton, {190, 220, 250}, {80, 140, 240}, 6}},
        {"unit_squeletton_fire", {Family::Skeleton, {250, 170, 60}, {250, 80, 20}, 7}},
        {"unit_squeletton_ogre", {Family::Skeleton, BONE, {120, 100, 70}, 8}},
        {"unit_squeletton_armored", {Family::Skeleton, BONE, {120, 125, 135}, 9}},
        {"unit_squeletton_warrior", {Family::Skeleton, BONE, STEEL, 10}},
        {"unit_squeletton_evil", {Family::Skeleton, {200, 180, 210}, {130, 20, 60}, 11}},
        {"unit_floating_eye", {Family::Eye, {240, 240, 235}, EYE_RED, 0}},
        {"unit_mage_eye", {Family::Eye, {180, 120, 230}, {250, 220, 40}, 1}},
        {"unit_dragon", {Family::Dragon, {200, 40, 30}, {250, 200, 60}, 1}},
        {"unit_dragon_hydra", {Family::Dragon, {40, 150, 70}, {200, 240, 120}, 3}},
        {"unit_dragon_basilic", {Family::Dragon, {180, 150, 60}, {250, 250, 120}, 2}},
        {"unit_fire", {Family::Elemental, {250, 120, 20}, {255, 230, 80}, 1}},
        {"unit_fire_fire", {Family::Elemental, {250, 120, 20}, {255, 230, 80}, 2}},
        {"unit_fire_fire_fire", {Family::Elemental, {250, 120, 20}, {255, 230, 80}, 3}},
        {"unit_water", {Family::Elemental, {40, 110, 230}, {170, 220, 255}, 1}},
        {"unit_water_water", {Family::Elemental, {40, 110, 230}, {170, 220, 255}, 2}},
        {"unit_water_water_water", {Family::Elemental, {40, 110, 230}, {170, 220, 255}, 3}},
        {"unit_earth", {Family::Elemental, {130, 90, 50}, {90, 160, 60}, 1}},
        {"unit_earth_earth", {Family::Elemental, {130, 90, 50}, {90, 160, 60}, 2}},
        {"unit_earth_earth_earth", {Family::Elemental, {130, 90, 50}, {90, 160, 60}, 3}},
        {"unit_air", {Family::Elemental, {200, 230, 240}, {250, 250, 255}, 1}},
        {"unit_air_air", {Family::Elemental, {200, 230, 240}, {250, 250, 255}, 2}},
        {"unit_air_air_air", {Family::Elemental, {200, 230, 240}, {250, 250, 255}, 3}},
    };
    return looks;
}

void Beast(Canvas& c, const UnitLook& u) {
    int big = u.variant == 3 ? 1 : 0;
    int top = u.variant == 0 ? 8 : 6 - big;
    c.Ellipse(7, top + 3, 5 + big, 2 + big, u.body);
    for (int x : {3, 5, 9, 11}) c.Rect(x, top + 5, x, 14, Shade(u.body, 80));
    c.Disc(13, top + 1, 2 + big, u.body);
    c.Set(14, top, u.accent);
    if (u.variant == 0) c.Line(2, top + 3, 0, top + 6, u.accent);  // long tail
    if (u.variant == 1) c.Triangle(12, top - 2, 11, top, 13, top, Shade(u.body, 70));
    if (u.variant == 2)
        for (int x = 4; x <= 10; x += 3) c.Set(x, top, u.accent);  // spines
    if (u.variant == 3) c.Set(15, top + 2, OUTLINE);
}

void Blob(Canvas& c, const UnitLook& u) {
    if (u.variant == 1) {
        c.Rect(2, 3, 13, 14, u.body);
        c.Frame(2, 3, 13, 14, u.accent);
        c.Rect(6, 8, 7, 9, {120, 110, 90});  // something it swallowed
    } else {
        c.Ellipse(8, 11, 6, 4, u.body);
        c.Triangle(8, 2, 4, 9, 12, 9, u.body);
    }
    c.Set(6, 9, OUTLINE);
    c.Set(10, 9, OUTLINE);
    c.Set(5, 10, u.accent);
}

void Mushroom(Canvas& c, const UnitLook& u) {
    c.Rect(6, 8, 9, 14, u.accent);
    c.Ellipse(8, 6, 7, 4, u.body);
    c.Rect(1, 7, 14, 8, BLACK);
    for (int x : {4, 8, 11}) c.Set(x, 4 + x % 2, u.accent);
}

void Snake(Canvas& c, const UnitLook& u) {
    int thick = u.variant == 2 ? 3 : 2;
    for (int x = 1; x < 13; ++x) {
        int y = 9 + ((x / 3) % 2 == 0 ? 0 : 3);
        c.Rect(x, y, x, y + thick - 1, u.body);
        if (u.variant == 2 && x % 3 == 0) c.Set(x, y, u.accent);
    }
    c.Disc(13, 8, 2, u.body);
    c.Set(14, 7, u.accent);
    if (u.variant != 2) c.Line(15, 9, 15, 10, EYE_RED);           // forked tongue
    if (u.variant == 1) c.Speckle(1, 4, 13, 8, 6, 41, u.accent);  // sparks
}

void Insect(Canvas& c, const UnitLook& u) {
    int legs = u.variant == 1 ? 4 : 3;
    for (int i = 0; i < legs; ++i) {
        int y = 6 + i * 2;
        c.Line(2, y + 2, 5, y, Shade(u.body, 70));
        c.Line(13, y + 2, 10, y, Shade(u.body, 70));
    }
    if (u.variant == 2) {  // mantis: tall thin body and raised claws
        c.Rect(7, 4, 8, 14, u.body);
        c.Line(6, 5, 3, 2, u.body);
        c.Line(9, 5, 12, 2, u.body);
        c.Disc(7, 3, 1, u.accent);
        return;
    }
    c.Ellipse(8, 9, 4, 4, u.body);
    c.Disc(8, 4, 2, Shade(u.body, 80));
    if (u.variant == 0) c.Line(8, 6, 8, 13, u.accent);  // wing case seam
    if (u.variant == 1) c.Set(7, 3, u.accent), c.Set(9, 3, u.accent);
    if (u.variant == 3) c.Line(7, 2, 5, 0, u.accent), c.Line(9, 2, 11, 0, u.accent);
}

void Person(Canvas& c, const UnitLook& u) {
    int v = u.variant;
    bool large = v == 2 || v == 6 || v == 7;
    bool small = v == 0 || v == 5;
    int headY = small ? 6 : (large ? 3 : 4);
    int left = large ? 4 : 5, right = large ? 11 : 10;
    c.Rect(left, headY + 3, right, 12, u.accent);             // tunic or robe
    c.Rect(left + 1, 13, left + 2, 15, Shade(u.accent, 60));  // legs
    c.Rect(right - 2, 13, right - 1, 15, Shade(u.accent, 60));
    c.Rect(left - 1, headY + 4, left - 1, headY + 8, u.body);  // arms
    c.Rect(right + 1, headY + 4, right + 1, headY + 8, u.body);
    c.Disc(8, headY, 2, u.body);
    c.Set(7, headY, OUTLINE);
    c.Set(9, headY, OUTLINE);
    switch (v) {
    case 0:
        c.Set(5, headY - 1, u.body), c.Set(11, headY - 1, u.body);
        break;  // pointed ears
    case 1:
        c.Rect(6, headY - 3, 10, headY - 2, {240, 200, 40});
        break;  // crown
    case 2:
        c.Set(7, headY + 1, BONE), c.Set(9, headY + 1, BONE);
        break;  // tusks
    case 3:
        c.Line(right + 2, headY + 1, right + 2, 14, STEEL);
        break;  // spear
    case 4:
        c.Triangle(8, headY - 6, 5, headY - 1, 11, headY - 1, u.accent);  // hat
        c.Line(12, headY - 2, 12, 15, WOOD);
        break;  // staff
    case 5:
        c.Rect(6, headY + 1, 10, headY + 3, {200, 200, 205});
        break;  // beard
    case 6:
        c.Line(6, headY - 1, 4, headY - 3, BONE), c.Line(10, headY - 1, 12, headY - 3, BONE);
        break;  // horns
    case 7:
        c.Rect(right + 2, headY + 2, right + 3, headY + 9, WOOD);
        break;  // club
    case 8:
        c.Speckle(5, headY - 3, 11, headY - 1, 7, 43, u.accent);
        break;  // snake hair
    case 9:
        c.Rect(7, headY + 1, 9, headY + 1, OUTLINE), c.Rect(6, headY - 3, 10, headY - 3, GOLD);
        break;  // crowned skull
    case 10:
        c.Line(right + 2, 2, right + 2, headY + 6, STEEL),
            c.Rect(6, headY - 2, 10, headY - 2, STEEL);
        break;  // sword, helm
    case 11:
        c.Rect(7, headY + 4, 9, headY + 4, {220, 30, 30}),
            c.Rect(8, headY + 3, 8, headY + 6, {220, 30, 30});
        break;  // red cross
    case 12:
        c.Rect(6, headY - 1, 10, headY, {160, 20, 20});
        break;  // mask
    case 13:
        c.Set(3, 2, u.accent), c.Set(13, 3, u.accent), c.Set(2, 9, u.accent);
        break;  // stars
    default:
        break;
    }
}

void Skeleton(Canvas& c, const UnitLook& u) {
    int v = u.variant;
    bool big = v == 4 || v == 8;
    int w = (v == 3 || big) ? 2 : 1;
    c.Disc(8, big ? 3 : 4, big ? 3 : 2, u.body);
    Rgb eyes = v == 11 ? Rgb{255, 40, 40} : OUTLINE;
    c.Set(7, 4, eyes);
    c.Set(9, 4, eyes);
    c.Rect(8, 6, 8 + w - 1, 10, u.body);                          // spine
    for (int y = 7; y <= 9; y += 2) c.Rect(6, y, 10, y, u.body);  // ribs
    c.Line(5, 7, 4, 11, u.body);
    c.Line(11, 7, 12, 11, u.body);
    if (v != 6) {
        c.Line(7, 11, 6, 15, u.body);
        c.Line(9, 11, 10, 15, u.body);
    } else {
        c.Speckle(5, 11, 11, 15, 8, 47, u.accent);  // floating wisps instead of legs
    }
    switch (v) {
    case 1:
        c.Rect(9, 8, 10, 9, u.accent);
        break;  // wound
    case 2:
        c.Speckle(4, 6, 12, 12, 6, 53, u.accent);
        break;  // rot
    case 3:
        c.Rect(3, 11, 3, 14, u.accent);
        break;  // cudgel
    case 4:
        c.Line(3, 2, 5, 4, u.accent), c.Line(13, 2, 11, 4, u.accent);
        break;
    case 5:
        c.Rect(2, 7, 4, 11, u.accent);
        break;  // shield
    case 7:
        c.Triangle(8, 0, 6, 2, 10, 2, u.accent);
        break;  // flame crest
    case 8:
        c.Rect(12, 3, 13, 12, u.accent);
        break;  // great club
    case 9:
        c.Rect(6, 7, 10, 10, u.accent);
        break;  // breastplate
    case 10:
        c.Line(13, 1, 13, 11, u.accent), c.Rect(12, 9, 14, 9, GOLD);
        break;  // sword
    case 11:
        c.Ring(8, 8, 7, u.accent);
        break;  // aura
    default:
        break;
    }
}

void Eye(Canvas& c, const UnitLook& u) {
    c.Disc(8, 8, 6, u.body);
    c.Disc(8, 8, 3, u.accent);
    c.Disc(8, 8, 1, OUTLINE);
    c.Set(6, 6, {255, 255, 255});
    if (u.variant == 1)
        c.Triangle(8, 0, 4, 3, 12, 3, {90, 40, 160});  // wizard's hat
    else
        for (int x : {3, 8, 13}) c.Line(x, 14, x + (x - 8) / 3, 15, Shade(u.body, 70));  // stalks
}

void Dragon(Canvas& c, const UnitLook& u) {
    c.Ellipse(7, 10, 5, 3, u.body);
    c.Triangle(4, 8, 1, 1, 9, 7, Shade(u.body, 75));  // wing
    c.Line(2, 11, 0, 14, u.body);
    for (int x : {4, 9}) c.Rect(x, 12, x, 15, Shade(u.body, 80));
    for (int h = 0; h < u.variant; ++h) {
        int hx = 12 + (h % 2), hy = 3 + h * 3;
        c.Line(10, 9, hx, hy + 1, u.body);
        c.Disc(hx + 1, hy, 1, u.body);
        c.Set(hx + 2, hy, u.accent);
    }
    c.Line(5, 10, 10, 10, u.accent);  // belly
}

void Elemental(Canvas& c, const UnitLook& u) {
    int r = 2 + u.variant;  // stronger kinds are larger
    int top = 14 - 3 * r;
    c.Triangle(8, top, 8 - r, 14, 8 + r, 14, u.body);
    c.Ellipse(8, 12, r, 2, u.body);
    c.Triangle(8, top + r, 8 - r / 2, 13, 8 + r / 2, 13, u.accent);
    for (int i = 1; i < u.variant; ++i) c.Set(3 + 5 * i, 2 + i, u.accent);  // motes per rank
}

}  // namespace

void DrawUnit(const std::string& name, Canvas& c) {
    c.Fill(BLACK);
    auto found = UnitLooks().find(name);
    if (found == UnitLooks().end()) {
        c.Disc(8, 8, 5, {200, 60, 200});
        c.Speckle(3, 3, 12, 12, 20, HashText(name), {250, 250, 250});
        return;
    }
    const UnitLook& u = found->second;
    switch (u.family) {
    case Family::Beast:
        return Beast(c, u);
    case Family::Blob:
        return Blob(c, u);
    case Family::Mushroom:
        return Mushroom(c, u);
    case Family::Snake:
        return Snake(c, u);
    case Family::Insect:
        return Insect(c, u);
    case Family::Person:
        return Person(c, u);
    case Family::Skeleton:
        return Skeleton(c, u);
    case Family::Eye:
        return Eye(c, u);
    case Family::Dragon:
        return Dragon(c, u);
    case Family::Elemental:
        return Elemental(c, u);
    }
}

void DrawStructure(const std::string& name, Canvas& c) {
    c.Fill(BLACK);
    Rgb wall{210, 190, 150}, roof{160, 70, 40};
    if (name == "hart") {  // a stag
        Rgb fur{160, 100, 50};
        c.Ellipse(7, 9, 5, 2, fur);
        for (int x : {3, 5, 9, 11}) c.Rect(x, 11, x, 15, Shade(fur, 80));
        c.Disc(12, 6, 2, fur);
        c.Line(11, 4, 9, 0, {230, 210, 170});
        c.Line(13, 4, 15, 0, {230, 210, 170});
        c.Set(10, 1, {230, 210, 170});
        return;
    }
    if (name == "structure_tower") {
        c.Rect(5, 3, 10, 15, {150, 150, 160});
        for (int x = 4; x <= 11; x += 2) c.Set(x, 2, {150, 150, 160});
        c.Rect(7, 6, 8, 8, OUTLINE);
        c.Rect(7, 12, 8, 15, WOOD);
        return;
    }
    if (name == "structure_castle") {
        Rgb stone{160, 160, 168};
        c.Rect(2, 6, 13, 15, stone);
        for (int t : {1, 11}) c.Rect(t, 3, t + 3, 15, Shade(stone, 115));
        for (int x = 1; x < 15; x += 2) c.Set(x, 2, stone);
        c.Rect(6, 10, 9, 15, {60, 50, 45});
        c.Rect(7, 0, 7, 4, WOOD);
        c.Rect(8, 0, 10, 1, {40, 80, 220});  // banner
        return;
    }
    if (name == "structure_church") {
        c.Rect(3, 7, 12, 15, {235, 235, 230});
        c.Triangle(2, 7, 13, 7, 8, 3, {120, 60, 50});
        c.Rect(7, 0, 8, 3, GOLD);
        c.Rect(6, 1, 9, 1, GOLD);
        c.Rect(7, 11, 8, 15, WOOD);
        return;
    }
    if (name == "structure_quary") {
        Rgb rock{150, 145, 140};
        c.Rect(1, 10, 6, 15, rock);
        c.Rect(8, 12, 14, 15, Shade(rock, 85));
        c.Rect(4, 6, 9, 9, Shade(rock, 110));
        c.Line(10, 2, 14, 6, WOOD);
        c.Line(9, 4, 12, 1, STEEL);
        return;
    }
    // Houses: a body and a roof, told apart by colours and a sign.
    Rgb sign = BLACK;
    int width = 10;
    if (name == "structure_farm") roof = {200, 40, 30}, wall = {170, 60, 40}, sign = {240, 210, 60};
    if (name == "structure_merchant") roof = {40, 160, 60}, sign = GOLD;
    if (name == "structure_stable")
        roof = {120, 80, 40}, wall = {170, 120, 70}, sign = {220, 200, 150}, width = 12;
    if (name == "structure_barrack")
        roof = {90, 90, 110}, wall = {190, 180, 170}, sign = {200, 30, 30}, width = 14;
    if (name == "structure_blacksmith")
        roof = {60, 60, 65}, wall = {120, 110, 100}, sign = {255, 120, 20};
    int left = 8 - width / 2, right = left + width - 1;
    c.Rect(left, 8, right, 15, wall);
    c.Triangle(left - 1, 8, right + 1, 8, 8, 3, roof);
    c.Rect(7, 12, 8, 15, WOOD);
    if (name == "structure_merchant")
        for (int x = left; x <= right; x += 2) c.Rect(x, 8, x, 9, {240, 240, 240});  // awning
    if (name == "structure_barrack")
        c.Rect(13, 0, 13, 5, WOOD), c.Rect(14, 0, 15, 1, sign);
    else if (name == "structure_blacksmith")
        c.Rect(3, 1, 4, 5, {90, 90, 90}), c.Set(3, 0, sign);
    else
        c.Rect(left + 1, 10, left + 2, 11, sign);
    if (name == "structure_stable") c.Rect(right - 3, 10, right - 1, 11, WOOD);
}

namespace {

struct Blade {
    int length;  // 4..13
    int width;   // 1 or 2
    Rgb metal;
    Rgb guard;
    int style;  // 0 straight, 1 curved, 2 hooked, 3 double-ended, 4 broad
};

const std::map<std::string, Blade>& Blades() {
    static const std::map<std::string, Blade> blades = {
        {"item_knife", {4, 1, STEEL, WOOD, 0}},
        {"item_dagger", {5, 1, STEEL, GOLD, 0}},
        {"item_short_sword", {7, 1, STEEL, {120, 120, 130}, 0}},
        {"item_gauche", {6, 1, STEEL, GOLD, 4}},
        {"item_long_sword", {10, 1, STEEL, {120, 120, 130}, 0}},
        {"item_bastard_sword", {11, 2, STEEL, {120, 120, 130}, 0}},
        {"item_kopesh", {8, 2, {200, 170, 90}, WOOD, 2}},
        {"item_blade", {9, 1, {220, 225, 235}, {60, 60, 70}, 0}},
        {"item_blade_ameliorated", {9, 1, {150, 230, 250}, GOLD, 0}},
        {"item_behead", {9, 2, {170, 170, 180}, {140, 30, 30}, 4}},
        {"item_broad_sword", {10, 2, STEEL, {140, 100, 60}, 4}},
        {"item_horner", {8, 1, {230, 220, 190}, WOOD, 2}},
        {"item_glaive", {12, 1, STEEL, WOOD, 1}},
        {"item_saber", {10, 1, STEEL, {120, 120, 130}, 1}},
        {"item_saber_ameliorated", {10, 1, {150, 230, 250}, GOLD, 1}},
        {"item_whale_blade", {11, 2, {170, 210, 235}, {80, 120, 160}, 0}},
        {"item_whale_blade_ameliorated", {11, 2, {200, 240, 255}, GOLD, 0}},
        {"item_two_handed_sword", {13, 2, STEEL, {90, 60, 40}, 0}},
        {"item_two_bladed_sword", {6, 1, STEEL, {120, 120, 130}, 3}},
        {"item_two_bladed_sword_ameliorated", {6, 1, {150, 230, 250}, GOLD, 3}},
    };
    return blades;
}

// A blade along the rising diagonal, hilt at the bottom left.
void Sword(Canvas& c, const Blade& b) {
    int hx = 3, hy = 12;
    if (b.style == 3) hx = hy = 0, hx = 7 - b.length / 2 - 1, hy = 8 + b.length / 2 + 1;
    c.Line(hx - 2, hy + 2, hx, hy, WOOD);             // grip
    c.Line(hx - 2, hy - 2, hx + 2, hy + 2, b.guard);  // guard
    int tx = hx + b.length, ty = hy - b.length;
    c.ThickLine(hx + 1, hy - 1, tx, ty, b.width, b.metal);
    if (b.style == 1) c.Line(tx, ty, tx + 1, ty + 2, b.metal);  // curved tip
    if (b.style == 2) c.Line(tx, ty, tx - 3, ty, b.metal), c.Set(tx - 3, ty + 1, b.metal);
    if (b.style == 4) c.ThickLine(hx + 2, hy - 1, tx, ty + 1, 1, Shade(b.metal, 80));
    if (b.style == 3)
        c.ThickLine(hx - 3, hy + 3, hx - 3 - b.length / 2, hy + 3 + b.length / 2, b.width, b.metal);
}

struct Tool {
    std::string name;
    int kind;  // 0 mace, 1 staff, 2 axe
    Rgb head;
    int size;
};

const Tool TOOLS[] = {
    {"item_maul", 0, {110, 110, 115}, 4},
    {"item_morningstar", 0, {170, 170, 180}, 3},
    {"item_mace", 0, {200, 200, 210}, 2},
    {"item_war_mace", 0, {210, 170, 60}, 3},
    {"item_staff", 1, {140, 90, 40}, 0},
    {"item_rod", 1, {230, 200, 60}, 1},
    {"item_wand", 1, {230, 240, 255}, 2},
    {"item_hand_axe", 2, STEEL, 2},
    {"item_axe", 2, STEEL, 3},
    {"item_battle_axe", 2, STEEL, 4},
    {"item_iron_battle_axe", 2, {120, 125, 135}, 4},
    {"item_iron_ordered_battle_axe", 2, {140, 150, 200}, 5},
    {"item_iron_rubioux_battle_axe", 2, {200, 60, 60}, 5},
};

void DrawTool(Canvas& c, const Tool& t) {
    if (t.kind == 1) {
        c.Line(4, 15, 11, 2, t.head);
        Rgb gem =
            t.size == 0 ? Rgb{60, 200, 80} : (t.size == 1 ? Rgb{220, 30, 30} : Rgb{60, 120, 250});
        c.Disc(11, 2, t.size == 2 ? 1 : 2, gem);
        return;
    }
    c.Line(3, 14, 10, 4, WOOD);
    if (t.kind == 0) {
        c.Disc(11, 3, t.size, t.head);
        if (t.name == "item_morningstar" || t.name == "item_war_mace")
            for (int d : {-1, 1})
                c.Set(11 + d * (t.size + 1), 3, t.head), c.Set(11, 3 + d * (t.size + 1), t.head);
        if (t.name == "item_maul") c.Rect(8, 1, 14, 5, t.head);
        return;
    }
    c.Triangle(10, 4, 10 + t.size, 4 - t.size + 1, 10 + t.size, 4 + t.size, t.head);
    if (t.size >= 4)
        c.Triangle(9, 4, 9 - t.size + 1, 4 - t.size + 1, 9 - t.size + 1, 4 + t.size - 1, t.head);
    if (t.name == "item_iron_ordered_battle_axe") c.Set(10, 4, GOLD);
    if (t.name == "item_iron_rubioux_battle_axe") c.Set(10, 4, {250, 200, 200});
}

void Potion(Canvas& c, Rgb liquid) {
    c.Rect(7, 2, 8, 5, {200, 220, 230});
    c.Rect(7, 1, 8, 1, WOOD);
    c.Disc(8, 10, 4, {200, 220, 230});
    c.Disc(8, 10, 3, liquid);
    c.Set(6, 9, {255, 255, 255});
}

void Garment(Canvas& c, Rgb cloth, Rgb trim, int style) {
    c.Rect(5, 3, 10, 10, cloth);                             // torso
    c.Rect(3, 3, 4, 7, cloth), c.Rect(11, 3, 12, 7, cloth);  // sleeves
    if (style == 0)
        c.Triangle(5, 10, 10, 10, 12, 15, cloth), c.Triangle(5, 10, 3, 15, 12, 15, cloth);
    c.Rect(7, 3, 8, 4, BLACK);                             // neck
    if (style == 1) c.Speckle(5, 5, 10, 10, 8, 61, trim);  // studs
    if (style == 2)
        for (int y = 5; y <= 10; y += 2) c.Rect(5, y, 10, y, trim);  // rings or scales
    if (style == 3) c.Rect(5, 6, 10, 6, trim), c.Rect(7, 5, 8, 10, trim);
    if (style == 0) c.Rect(7, 5, 8, 14, trim);
}

}  // namespace

void DrawItem(const std::string& name, Canvas& c) {
    c.Fill(BLACK);
    if (name == "blank") return;  // the empty item shows nothing
    if (auto b = Blades().find(name); b != Blades().end()) return Sword(c, b->second);
    for (const Tool& t : TOOLS)
        if (t.name == name) return DrawTool(c, t);
    if (name == "item_potion_red") return Potion(c, {220, 30, 30});
    if (name == "item_potion_green") return Potion(c, {40, 200, 60});
    if (name == "item_potion_blue") return Potion(c, {40, 80, 230});
    if (name == "item_potion_yellow") return Potion(c, {240, 220, 40});
    if (name == "item_potion_white") return Potion(c, {245, 245, 245});
    if (name == "item_blue_robe") return Garment(c, {50, 70, 200}, GOLD, 0);
    if (name == "item_red_robe") return Garment(c, {200, 40, 40}, GOLD, 0);
    if (name == "item_gray_robe") return Garment(c, {140, 140, 145}, {220, 220, 220}, 0);
    if (name == "item_leather_armor") return Garment(c, {150, 100, 55}, {110, 70, 40}, 3);
    if (name == "item_studded_leather_armor") return Garment(c, {150, 100, 55}, STEEL, 1);
    if (name == "item_chain_mail") return Garment(c, {150, 155, 165}, {100, 105, 115}, 2);
    if (name == "item_scale_armor_b") return Garment(c, {120, 150, 120}, {80, 110, 80}, 2);
    if (name == "item_plate_armor") return Garment(c, {190, 195, 205}, {120, 120, 130}, 3);
    if (name == "item_full_plate_armor") return Garment(c, {215, 220, 230}, GOLD, 3);
    if (name == "item_magic_armor") return Garment(c, {150, 80, 220}, {120, 240, 250}, 2);
    if (name == "item_bag" || name == "item_blue_bag") {
        Rgb cloth = name == "item_bag" ? Rgb{150, 110, 60} : Rgb{50, 90, 210};
        c.Ellipse(8, 10, 5, 4, cloth);
        c.Triangle(6, 3, 10, 3, 8, 6, cloth);
        c.Rect(6, 6, 10, 6, GOLD);
        return;
    }
    if (name == "socket") {
        c.Ring(8, 8, 5, {150, 150, 160});
        c.Ring(8, 8, 4, {90, 90, 100});
        return;
    }
    if (name.rfind("alleviated_corner", 0) == 0) {
        int corner = name.back() - '1';  // 1..4: one corner of a frame each
        int x = corner % 2 ? 15 : 0, y = corner / 2 ? 15 : 0;
        int dx = corner % 2 ? -1 : 1, dy = corner / 2 ? -1 : 1;
        for (int i = 0; i < 10; ++i) c.Set(x + dx * i, y, GOLD), c.Set(x, y + dy * i, GOLD);
        for (int i = 1; i < 6; ++i)
            c.Set(x + dx * i, y + dy, {150, 120, 30}), c.Set(x + dx, y + dy * i, {150, 120, 30});
        return;
    }
    c.Disc(8, 8, 4, {200, 60, 200});
    c.Speckle(4, 4, 12, 12, 12, HashText(name), {250, 250, 250});
}

void DrawCross(const std::string&, Canvas& c) {
    c.Fill(BLACK);
    c.Rect(7, 1, 8, 14, {255, 255, 255});
    c.Rect(1, 7, 14, 8, {255, 255, 255});
    c.Rect(7, 7, 8, 8, {255, 60, 60});
}
