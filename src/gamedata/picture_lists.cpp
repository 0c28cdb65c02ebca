// The picture lists: every slot the start-up fills and the file it comes from, in loading
// order. The picture loader and the default picture set generator read the same lists, so the
// files the generator makes are exactly the ones loaded; the generator also runs on the build
// machine of a cross build, so this file needs nothing but its header.
#include "gamedata/picture_groups.h"

namespace {

constexpr PictureEntry CROSS_PICTURES[] = {
    {1104, "bmp_cross", "cross4"},
};

constexpr PictureEntry UNIT_PICTURES[] = {
    {801, "bmp_unit", "unit_giant_rat"},
    {802, "bmp_unit", "unit_green_slime"},
    {803, "bmp_unit", "unit_dog"},
    {805, "bmp_unit", "unit_serpent"},
    {806, "bmp_unit", "unit_fungus"},
    {810, "bmp_unit", "unit_goblin"},
    {811, "bmp_unit", "unit_nabos"},
    {812, "bmp_unit", "unit_orc_b"},
    {820, "bmp_unit", "unit_beatle"},
    {821, "bmp_unit", "unit_gor_dog"},
    {822, "bmp_unit", "unit_giant_spider"},
    {823, "bmp_unit", "unit_serpent_fire"},
    {824, "bmp_unit", "unit_beatle_fire"},
    {829, "bmp_unit", "unit_drius"},
    {830, "bmp_unit", "unit_rust_monster"},
    {831, "bmp_unit", "unit_giant_worm"},
    {832, "bmp_unit", "unit_gelatinous_cube"},
    {840, "bmp_unit", "unit_polar_geer"},
    {841, "bmp_unit", "unit_squeletton"},
    {842, "bmp_unit", "unit_squeletton_zombi_wounded"},
    {843, "bmp_unit", "unit_squeletton_zombi"},
    {849, "bmp_unit", "unit_mage"},
    {852, "bmp_unit", "unit_squeletton_sturdy"},
    {853, "bmp_unit", "unit_dwarf"},
    {854, "bmp_unit", "unit_squeletton_monster"},
    {861, "bmp_unit", "unit_squeletton_brave"},
    {863, "bmp_unit", "unit_squeletton_floating"},
    {870, "bmp_unit", "unit_minotor"},
    {871, "bmp_unit", "unit_floating_eye"},
    {872, "bmp_unit", "unit_squeletton_fire"},
    {874, "bmp_unit", "unit_mage_eye"},
    {875, "bmp_unit", "unit_squeletton_ogre"},
    {876, "bmp_unit", "unit_ogre"},
    {878, "bmp_unit", "unit_squeletton_armored"},
    {881, "bmp_unit", "unit_medusa"},
    {882, "bmp_unit", "unit_squeletton_warrior"},
    {883, "bmp_unit", "unit_mantis"},
    {890, "bmp_unit", "unit_squeletton_evil"},
    {902, "bmp_unit", "unit_lich"},
    {903, "bmp_unit", "unit_dragon"},
    {904, "bmp_unit", "unit_dragon_hydra"},
    {906, "bmp_unit", "unit_dragon_basilic"},
    {960, "bmp_unit", "unit_fire"},
    {961, "bmp_unit", "unit_fire_fire"},
    {962, "bmp_unit", "unit_fire_fire_fire"},
    {963, "bmp_unit", "unit_water"},
    {964, "bmp_unit", "unit_water_water"},
    {965, "bmp_unit", "unit_water_water_water"},
    {966, "bmp_unit", "unit_earth"},
    {967, "bmp_unit", "unit_earth_earth"},
    {968, "bmp_unit", "unit_earth_earth_earth"},
    {969, "bmp_unit", "unit_air"},
    {970, "bmp_unit", "unit_air_air"},
    {971, "bmp_unit", "unit_air_air_air"},
    {980, "bmp_unit", "unit_fighter"},
    {981, "bmp_unit", "unit_mage"},
    {982, "bmp_unit", "unit_cleric"},
    {983, "bmp_unit", "unit_bandit"},
};

constexpr PictureEntry LAND_PICTURES[] = {
    {10, "bmp_land", "plain"},
    {11, "bmp_land", "forest"},
    {12, "bmp_land", "forest_fruit"},
    {13, "bmp_land", "forest_gray"},
    {14, "bmp_land", "water"},
    {15, "bmp_land", "water_deep"},
    {16, "bmp_land", "swamp_a"},
    {17, "bmp_land", "desert_a"},
    {18, "bmp_land", "hills_a"},
    {19, "bmp_land", "mountain"},
    {20, "bmp_land", "mountain_high_a"},
    {21, "bmp_land", "forest_leaf"},
    {22, "bmp_land", "road_b"},
    {23, "bmp_land", "forest_b"},
    {24, "bmp_land", "forest_c"},
    {180, "bmp_land", "village_b"},
    {181, "bmp_land", "village_b_yellow"},
    {182, "bmp_land", "village_b_blue"},
    {183, "bmp_land", "village_b_green"},
    {184, "bmp_land", "village_b_red"},
    {188, "bmp_land", "ruin_a"},
    {189, "bmp_land", "castle_a"},
    {190, "bmp_land", "grottus"},
    {191, "bmp_land", "mine"},
    {192, "bmp_land", "iron_mine"},
    {193, "bmp_land", "forest_leaf"},
    {194, "bmp_land", "well"},
};

constexpr PictureEntry DUNGEON_PICTURES[] = {
    {111, "bmp_dungeon", "wall"},
    {118, "bmp_dungeon", "floor_marble"},
    {119, "bmp_dungeon", "floor"},
    {120, "bmp_dungeon", "chest"},
    {121, "bmp_dungeon", "chest_open"},
    {122, "bmp_dungeon", "candelabrum"},
    {123, "bmp_dungeon", "candelabrum_extinct"},
    {124, "bmp_dungeon", "coffin"},
    {125, "bmp_dungeon", "coffin_open"},
    {126, "bmp_dungeon", "floor_bones"},
    {127, "bmp_dungeon", "floor_bones_cleaned"},
    {128, "bmp_dungeon", "door"},
    {129, "bmp_dungeon", "door_opened"},
    {130, "bmp_dungeon", "source"},
    {131, "bmp_dungeon", "source_complete"},
    {132, "bmp_dungeon", "spawn"},
    {133, "bmp_dungeon", "spawn_complete"},
    {134, "bmp_dungeon", "fountain"},
    {135, "bmp_dungeon", "fountain_drank"},
    {136, "bmp_dungeon", "stairsd"},
    {137, "bmp_dungeon", "stairsu"},
    {140, "bmp_dungeon", "circle"},
    {141, "bmp_dungeon", "circle_golden"},
    {142, "bmp_dungeon", "circle_aflamed"},
    {144, "bmp_dungeon", "altar"},
    {145, "bmp_dungeon", "altar_jeweled"},
    {146, "bmp_dungeon", "altar_dark"},
    {148, "bmp_dungeon", "trap"},
    {149, "bmp_dungeon", "trap_disabled"},
    {152, "bmp_dungeon", "torch"},
    {153, "bmp_dungeon", "torch_extinct"},
    {155, "bmp_dungeon", "geer_mecanism"},
    {156, "bmp_dungeon", "lever"},
    {160, "bmp_dungeon", "source"},
    {161, "bmp_dungeon", "source_red"},
    {162, "bmp_dungeon", "source_green"},
    {163, "bmp_dungeon", "source_blue"},
    {164, "bmp_dungeon", "source_yellow"},
    {165, "bmp_dungeon", "source_brown"},
    {167, "bmp_dungeon", "scrolls"},
};

constexpr PictureEntry STRUCTURE_PICTURES[] = {
    {390, "bmp_structure", "hart"},
    {400, "bmp_structure", "structure_farm"},
    {401, "bmp_structure", "structure_merchant"},
    {402, "bmp_structure", "structure_quary"},
    {403, "bmp_structure", "structure_stable"},
    {404, "bmp_structure", "structure_tower"},
    {405, "bmp_structure", "structure_barrack"},
    {406, "bmp_structure", "structure_blacksmith"},
    {407, "bmp_structure", "structure_castle"},
    {408, "bmp_structure", "structure_church"},
};

constexpr PictureEntry ITEM_PICTURES[] = {
    {0, "bmp_item", "blank"},
    {600, "bmp_item", "item_knife"},
    {601, "bmp_item", "item_dagger"},
    {602, "bmp_item", "item_short_sword"},
    {603, "bmp_item", "item_gauche"},
    {604, "bmp_item", "item_long_sword"},
    {605, "bmp_item", "item_bastard_sword"},
    {606, "bmp_item", "item_kopesh"},
    {607, "bmp_item", "item_blade"},
    {608, "bmp_item", "item_blade_ameliorated"},
    {609, "bmp_item", "item_behead"},
    {610, "bmp_item", "item_broad_sword"},
    {611, "bmp_item", "item_horner"},
    {612, "bmp_item", "item_glaive"},
    {613, "bmp_item", "item_saber"},
    {614, "bmp_item", "item_saber_ameliorated"},
    {615, "bmp_item", "item_whale_blade"},
    {616, "bmp_item", "item_whale_blade_ameliorated"},
    {617, "bmp_item", "item_two_handed_sword"},
    {618, "bmp_item", "item_two_bladed_sword"},
    {619, "bmp_item", "item_two_bladed_sword_ameliorated"},
    {3000, "bmp_item", "item_bag"},
    {3001, "bmp_item", "item_blue_bag"},
    {630, "bmp_item", "item_maul"},
    {631, "bmp_item", "item_morningstar"},
    {632, "bmp_item", "item_mace"},
    {633, "bmp_item", "item_war_mace"},
    {640, "bmp_item", "item_staff"},
    {641, "bmp_item", "item_rod"},
    {642, "bmp_item", "item_wand"},
    {650, "bmp_item", "item_hand_axe"},
    {651, "bmp_item", "item_axe"},
    {652, "bmp_item", "item_battle_axe"},
    {653, "bmp_item", "item_iron_battle_axe"},
    {654, "bmp_item", "item_iron_ordered_battle_axe"},
    {655, "bmp_item", "item_iron_rubioux_battle_axe"},
    {680, "bmp_item", "item_potion_red"},
    {681, "bmp_item", "item_potion_green"},
    {682, "bmp_item", "item_potion_blue"},
    {683, "bmp_item", "item_potion_yellow"},
    {684, "bmp_item", "item_potion_white"},
    {730, "bmp_item", "item_blue_robe"},
    {731, "bmp_item", "item_red_robe"},
    {732, "bmp_item", "item_gray_robe"},
    {740, "bmp_item", "item_leather_armor"},
    {741, "bmp_item", "item_studded_leather_armor"},
    {742, "bmp_item", "item_chain_mail"},
    {743, "bmp_item", "item_scale_armor_b"},
    {744, "bmp_item", "item_plate_armor"},
    {745, "bmp_item", "item_full_plate_armor"},
    {746, "bmp_item", "item_magic_armor"},
    {780, "bmp_item", "socket"},
    {785, "bmp_item", "alleviated_corner1"},
    {786, "bmp_item", "alleviated_corner2"},
    {787, "bmp_item", "alleviated_corner3"},
    {788, "bmp_item", "alleviated_corner4"},
};

constexpr PictureEntry SCREEN_PICTURES[] = {
    {1000, "bmp_scr", "intro1"},
};

constexpr PictureEntry CUBE_PICTURES[] = {
    {1200, "bmp_cube", "structure_castle"},
    {1201, "bmp_cube", "brickold2"},
    {1202, "bmp_cube", "grass3"},
    {1203, "bmp_cube", "dirt1"},
    {1204, "bmp_cube", "brickold3"},
    {1205, "bmp_cube", "item_whale_blade"},
    {1206, "bmp_cube", "DSC3"},
    {1210, "bmp_unit", "unit_green_slime"},
    {1211, "bmp_unit", "unit_nabos"},
    {1212, "bmp_unit", "unit_serpent"},
    {1213, "bmp_unit", "unit_giant_spider"},
    {1214, "bmp_unit", "unit_serpent_fire"},
    {1215, "bmp_unit", "unit_giant_worm"},
    {1216, "bmp_unit", "unit_floating_eye"},
    {1217, "bmp_unit", "unit_gelatinous_cube"},
    {1218, "bmp_unit", "unit_ogre"},
    {1219, "bmp_unit", "unit_mage_eye"},
    {1220, "bmp_unit", "unit_minotor"},
    {1221, "bmp_unit", "unit_mantis"},
    {1222, "bmp_unit", "unit_dragon_hydra"},
    {1223, "bmp_unit", "unit_pleidian"},
};

}  // namespace

std::span<const PictureEntry> PictureGroupEntries(int group) {
    switch (group) {
    case 0:
        return CROSS_PICTURES;
    case 1:
        return UNIT_PICTURES;
    case 2:
        return LAND_PICTURES;
    case 3:
        return DUNGEON_PICTURES;
    case 4:
        return STRUCTURE_PICTURES;
    case 5:
        return ITEM_PICTURES;
    case 6:
        return SCREEN_PICTURES;
    case 7:
        return CUBE_PICTURES;
    default:
        return {};
    }
}
