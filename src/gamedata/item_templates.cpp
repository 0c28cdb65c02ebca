// The item templates: the weapons, the bag, the unnamed template 7100 and eight armour
// materials of fourteen pieces each, written into their fixed records of ItemTable at
// start-up and never changed afterwards; and their display names, which items are named by.
#include <cstring>
#include <string>
#include <vector>

#include "gamedata/item_table.h"

namespace {

struct WeaponTemplate {
    int templateId;
    const char* name;  // display name, kept with its row for the item-name lookup
    std::int16_t picture;
    std::uint8_t traits[5];
    std::uint8_t itemKind, isWeapon, grade, bonus;
    float factor;
    std::uint16_t worth;
};

// "Dagger" carries the knife picture and "Knife" the dagger picture, as the game has them.
constexpr WeaponTemplate WEAPONS[] = {
    {6110, "Dagger", 600, {1, 0, 1, 1, 1}, 2, 1, 1, 0, 0.0f, 50},
    {6111, "Knife", 601, {1, 1, 0, 0, 0}, 1, 1, 2, 0, 0.0f, 180},
    {6112, "Short Sword", 602, {1, 0, 0, 0, 1}, 1, 1, 3, 0, 0.0f, 300},
    {6113, "Gauche", 603, {0, 1, 0, 0, 0}, 2, 1, 3, 1, 0.2f, 400},
    {6114, "Long Sword", 604, {1, 0, 0, 0, 0}, 1, 1, 4, 0, 0.0f, 430},
    {6115, "Bastard Sword", 605, {1, 0, 0, 0, 0}, 1, 1, 5, 0, 0.0f, 560},
    {6116, "Kopesh", 606, {1, 1, 0, 0, 1}, 2, 1, 5, 1, 0.0f, 700},
    {6117, "Blade", 607, {0, 1, 0, 0, 0}, 1, 1, 6, 0, 1.0f, 1000},
    {6118, "Blade Ameliorated", 608, {0, 1, 0, 0, 1}, 1, 1, 6, 1, 2.8f, 2000},
    {6119, "Behead", 609, {0, 1, 0, 0, 1}, 1, 1, 7, 0, 0.0f, 3000},
    {6120, "Broadsword", 610, {1, 0, 0, 0, 0}, 1, 1, 6, 1, 0.0f, 700},
    {6121, "Horner", 611, {0, 1, 0, 0, 1}, 2, 1, 8, 0, 0.0f, 2300},
    {6122, "Glaive", 612, {1, 0, 0, 0, 0}, 1, 1, 8, 1, 0.0f, 980},
    {6123, "Saber", 613, {1, 0, 0, 0, 0}, 1, 1, 8, 2, 2.0f, 1300},
    {6124, "Saber Ameliorated", 614, {1, 0, 0, 0, 1}, 1, 1, 8, 3, 4.0f, 2900},
    {6125, "Whale Blade", 615, {1, 0, 0, 0, 1}, 1, 1, 9, 0, 1.5f, 5000},
    {6126, "Whale Blade Ameliorated", 616, {1, 0, 0, 0, 1}, 1, 1, 9, 2, 3.3f, 10000},
    {6127, "Two Handed Sword", 617, {1, 0, 0, 0, 0}, 1, 1, 10, 0, 0.0f, 1200},
    {6128, "Two Bladed Sword", 618, {1, 0, 0, 0, 1}, 1, 1, 11, 0, 0.0f, 6000},
    {6129, "Two Bladed Sword Ameliorated", 619, {1, 0, 0, 0, 1}, 1, 1, 12, 0, 3.2f, 28000},
    {6200, "Maul", 630, {0, 1, 0, 0, 0}, 1, 1, 3, 0, 0.0f, 300},
    {6201, "Morningstar", 631, {0, 1, 0, 0, 0}, 1, 1, 5, 1, 0.0f, 600},
    {6202, "Mace", 632, {0, 1, 0, 0, 0}, 1, 1, 8, 0, 0.0f, 3000},
    {6203, "War Mace", 633, {0, 1, 0, 0, 0}, 1, 1, 8, 0, 0.0f, 3000},
    {6316, "Hand Axe", 650, {0, 0, 0, 1, 0}, 2, 1, 2, 0, 0.0f, 180},
    {6317, "Axe", 651, {0, 0, 0, 1, 0}, 1, 1, 3, 0, 0.0f, 380},
    {6318, "Battle Axe", 652, {0, 0, 0, 1, 0}, 1, 1, 8, 0, 0.0f, 4000},
    {6319, "Iron Rubioux Battle Axe", 655, {0, 0, 0, 1, 0}, 1, 1, 12, 0, 2.8f, 32000},
    {6320, "Iron Ordered Battle Axe", 654, {0, 0, 0, 1, 0}, 1, 1, 14, 0, 4.0f, 60000},
    {7000, "Bag", 3000, {0, 0, 0, 0, 0}, 0, 0, 0, 0, 0.0f, 30},
    {7100, "", 682, {0, 0, 0, 0, 0}, 0, 0, 200, 0, 0.0f, 50},
};

struct ArmourMaterial {
    const char* name;
    int base;  // template of piece 0; piece p is base + p
    std::int16_t picture;
    float factor;
    std::uint16_t worth;
    const char* headPiece;  // name of piece 1
};

constexpr ArmourMaterial MATERIALS[] = {
    {"Robe", 8100, 730, 0.1f, 30, "Hat"},
    {"Leather", 8130, 740, 0.2f, 70, "Hat"},
    {"Studded Leather", 8170, 741, 0.3f, 120, "Hat"},
    {"Chain", 8200, 742, 0.4f, 160, "Hat"},
    {"Scale", 8220, 743, 0.5f, 210, "Hat"},
    {"Plate", 8250, 744, 0.6f, 280, "Helmet"},
    {"Full Plate", 8280, 745, 0.7f, 350, "Helmet"},
    {"Magic", 8320, 746, 0.9f, 600, "Helmet"},
};

constexpr int ARMOUR_PIECES = 14;
constexpr int MATERIAL_COUNT = sizeof MATERIALS / sizeof MATERIALS[0];
// Piece 1 is the material's head piece.
constexpr const char* PIECE_NAMES[ARMOUR_PIECES] = {
    "Suit",    "",     "Cape",   "Georget", "Scaling", "Torso",   "Greeves",
    "Bracers", "Ring", "Gloves", "Shield",  "Sleeves", "Circlet", "Boots"};

}  // namespace

void BuildItemTemplates() {
    ItemTable[0] = ItemRecord{};
    for (const WeaponTemplate& w : WEAPONS) {
        ItemRecord& r = ItemTable[w.templateId];
        r = ItemRecord{};
        r.picture = w.picture;
        r.templateId = w.templateId;
        std::memcpy(r.traits, w.traits, sizeof r.traits);
        r.itemKind = w.itemKind;
        r.isWeapon = w.isWeapon;
        r.grade = w.grade;
        r.bonus = w.bonus;
        r.factor = w.factor;
        r.worth = w.worth;
    }
    for (const ArmourMaterial& m : MATERIALS) {
        for (int piece = 0; piece < ARMOUR_PIECES; ++piece) {
            ItemRecord& r = ItemTable[m.base + piece];
            r = ItemRecord{};
            r.picture = m.picture;
            r.templateId = m.base + piece;
            std::memset(r.traits, 1, sizeof r.traits);
            r.itemKind = std::uint8_t(10 + piece);
            r.factor = m.factor;
            r.worth = m.worth;
        }
    }
}

const char* TemplateName(int templateId) {
    for (const WeaponTemplate& w : WEAPONS)
        if (w.templateId == templateId) return w.name;
    // "Robe Hat", "Plate Helmet", "Magic Boots": the material, then the piece.
    static const std::vector<std::string> armourNames = [] {
        std::vector<std::string> names;
        for (const ArmourMaterial& m : MATERIALS)
            for (int piece = 0; piece < ARMOUR_PIECES; ++piece)
                names.push_back(std::string(m.name) + " " +
                                (piece == 1 ? m.headPiece : PIECE_NAMES[piece]));
        return names;
    }();
    for (int i = 0; i < MATERIAL_COUNT; ++i) {
        int piece = templateId - MATERIALS[i].base;
        if (piece >= 0 && piece < ARMOUR_PIECES)
            return armourNames[std::size_t(i * ARMOUR_PIECES + piece)].c_str();
    }
    return "";
}
