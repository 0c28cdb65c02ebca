// Item names, item slots, starting equipment and unit names over the real templates and a
// full unit table.
#include <set>
#include <tuple>
#include <vector>

#include "world/world_fixture.h"

namespace {

using Catalogue = WorldTest;

int SlotRecord(int unit, int slot) {
    return 10000 + 60 * unit + slot;
}

TEST_F(Catalogue, ItemsAreNamedByTheirTemplate) {
    CopyItem(SlotRecord(3, 0), 6320);
    EXPECT_STREQ(ItemName(SlotRecord(3, 0)), "Iron Ordered Battle Axe");
    EXPECT_STREQ(ItemName(6110), "Dagger");
    EXPECT_STREQ(ItemName(6111), "Knife");
    EXPECT_STREQ(ItemName(7000), "Bag");
    EXPECT_STREQ(ItemName(7100), "");
    EXPECT_STREQ(ItemName(0), "");
    EXPECT_STREQ(ItemName(8101), "Robe Hat");
    EXPECT_STREQ(ItemName(8221), "Scale Hat");
    EXPECT_STREQ(ItemName(8251), "Plate Helmet");
    EXPECT_STREQ(ItemName(8170), "Studded Leather Suit");
    EXPECT_STREQ(ItemName(8333), "Magic Boots");
    EXPECT_STREQ(ItemName(8292), "Full Plate Circlet");
    EXPECT_STREQ(TemplateName(8114), "");  // between two materials
    EXPECT_STREQ(ItemName(-1), "");
    EXPECT_STREQ(ItemName(230000), "");
    // Every template record names itself, and only the empty template is nameless.
    int named = 0;
    for (int r = 6110; r <= 8333; ++r)
        if (ItemTable[r].templateId == r) named += ItemName(r)[0] != '\0';
    EXPECT_EQ(named, 30 + 112);
}

TEST_F(Catalogue, OnlyTheFirst45SlotsAreHandedOut) {
    EXPECT_EQ(FindFreeItemSlot(2), 0);
    for (int s = 0; s < 45; ++s) CopyItem(SlotRecord(2, s), 7000);
    EXPECT_EQ(FindFreeItemSlot(2), -1);
    ItemTable[SlotRecord(2, 17)] = ItemRecord{};
    EXPECT_EQ(FindFreeItemSlot(2), 17);
    EXPECT_EQ(FindFreeItemSlot(2999), 0);
    EXPECT_EQ(FindFreeItemSlot(-1), -1);
    EXPECT_EQ(FindFreeItemSlot(3000), -1);
    // A table too short for a unit's slots hands none of them out.
    ITEM_CAPACITY = 10000 + 60 * 5;
    EXPECT_EQ(FindFreeItemSlot(4), 0);
    EXPECT_EQ(FindFreeItemSlot(5), -1);
}

TEST_F(Catalogue, StartingEquipmentComesFromTheLevelsRow) {
    std::set<int> seenTwelve;
    for (int level : {1, 2, 3, 12}) {
        int most = 0;
        for (int unit = 0; unit < 200; ++unit) {
            SeedRandom(unsigned(unit * 31 + level));
            GiveClassEquipment(level, unit);
            int count = 0;
            for (int s = 0; s < 60; ++s) {
                const ItemRecord& item = ItemTable[SlotRecord(unit, s)];
                if (item.picture == 0) continue;
                ++count;
                ASSERT_LT(s, 2);
                int t = item.templateId;
                EXPECT_EQ(item.condition, float(item.grade));
                bool armour = (t >= 8100 && t <= 8113 && level <= 2) ||
                              (t >= 8130 && t <= 8143 && (level == 2 || level == 3)) ||
                              (t >= 8170 && t <= 8183 && level == 12);
                int weapon = level == 1 ? 6110 : level == 2 ? 6111 : level == 3 ? 6112 : 6114;
                EXPECT_TRUE(armour || t == weapon || (level == 12 && t == 6115))
                    << level << ": " << t;
                if (level == 12) seenTwelve.insert(t);
                ItemTable[SlotRecord(unit, s)] = ItemRecord{};
            }
            most = std::max(most, count);
        }
        EXPECT_EQ(most, level == 1 ? 1 : 2) << level;
    }
    EXPECT_TRUE(seenTwelve.count(6114) && seenTwelve.count(6115));
    EXPECT_GT(seenTwelve.size(), 10u);  // many armour pieces, not always the same one

    // Other levels, other units and full slots give nothing; the draws stay untouched.
    SeedRandom(9);
    int next = Random();
    for (int level : {0, 13, -1}) {
        SeedRandom(9);
        GiveClassEquipment(level, 4);
        EXPECT_EQ(Random(), next) << level;
    }
    GiveClassEquipment(1, -1);
    GiveClassEquipment(1, 3000);
    EXPECT_EQ(FindFreeItemSlot(4), 0);
    for (int s = 0; s < 45; ++s) CopyItem(SlotRecord(4, s), 7000);
    for (int i = 0; i < 50; ++i) GiveClassEquipment(12, 4);
    for (int s = 0; s < 60; ++s)
        EXPECT_EQ(ItemTable[SlotRecord(4, s)].templateId, s < 45 ? 7000 : 0);
}

TEST_F(Catalogue, NamesAreUniqueAcrossTheWholeTable) {
    SeedRandom(2024);
    for (int u = 0; u < 3000; ++u) PickNameParts(u);
    std::set<std::tuple<int, int, int>> names;
    for (int u = 0; u < 3000; ++u) {
        const std::int16_t* p = UnitTable[u].nameParts;
        EXPECT_TRUE(p[0] >= 0 && p[0] < 76 && p[1] >= 0 && p[1] < 39 && p[2] >= 0 && p[2] < 54);
        names.insert({p[0], p[1], p[2]});
    }
    EXPECT_EQ(names.size(), 3000u);
}

TEST_F(Catalogue, ATripleHeldByAnyRecordIsDrawnAgain) {
    // Find a seed whose first draw is (0, 0, 0), which every untouched record holds.
    unsigned seed = 0;
    for (unsigned s = 1; s < 50000000; ++s) {
        SeedRandom(s);
        int a = Random() % 76, b = Random() % 39, c = Random() % 54;
        if (a == 0 && b == 0 && c == 0) {
            seed = s;
            break;
        }
    }
    ASSERT_NE(seed, 0u);
    SeedRandom(seed);
    for (int i = 0; i < 3; ++i) Random();
    int a = Random() % 76, b = Random() % 39, c = Random() % 54;
    SeedRandom(seed);
    PickNameParts(7);
    EXPECT_EQ(UnitTable[7].nameParts[0], a);
    EXPECT_EQ(UnitTable[7].nameParts[1], b);
    EXPECT_EQ(UnitTable[7].nameParts[2], c);
    EXPECT_FALSE(a == 0 && b == 0 && c == 0);
}

TEST_F(Catalogue, ATableHoldingEveryTripleEndsTheDrawAndAFreedOneIsFound) {
    // A unit capacity past the 76 x 39 x 54 triples: all of them held by records 0..160055.
    constexpr int TRIPLES = 76 * 39 * 54;
    std::vector<UnitRecord> table(TRIPLES + 1);
    UnitRecord* saved = UnitTable;
    int savedCapacity = UNIT_CAPACITY;
    UnitTable = table.data();
    UNIT_CAPACITY = TRIPLES + 1;
    for (int t = 0; t < TRIPLES; ++t) {
        table[t].nameParts[0] = std::int16_t(t / (39 * 54));
        table[t].nameParts[1] = std::int16_t(t / 54 % 39);
        table[t].nameParts[2] = std::int16_t(t % 54);
    }
    table[TRIPLES].nameParts[0] = 5;
    SeedRandom(3);
    PickNameParts(TRIPLES);  // returns: nothing left to draw
    EXPECT_EQ(table[TRIPLES].nameParts[0], 5);
    // Free one triple (record 4321 takes its neighbour's): that one is drawn.
    int freed = 4321;
    for (int k = 0; k < 3; ++k) table[freed].nameParts[k] = table[freed + 1].nameParts[k];
    PickNameParts(TRIPLES);
    EXPECT_EQ(table[TRIPLES].nameParts[0], freed / (39 * 54));
    EXPECT_EQ(table[TRIPLES].nameParts[1], freed / 54 % 39);
    EXPECT_EQ(table[TRIPLES].nameParts[2], freed % 54);
    UnitTable = saved;
    UNIT_CAPACITY = savedCapacity;
}

TEST_F(Catalogue, NamesJoinTheirThreeSyllables) {
    FormatUnitName(0);
    EXPECT_STREQ(NameBuffer, "Aaa");
    UnitTable[1].nameParts[0] = 75;
    UnitTable[1].nameParts[1] = 38;
    UnitTable[1].nameParts[2] = 53;
    FormatUnitName(1);
    EXPECT_STREQ(NameBuffer, "Wicyp");
    UnitTable[2].nameParts[0] = 45;
    UnitTable[2].nameParts[1] = 9;
    UnitTable[2].nameParts[2] = 3;
    FormatUnitName(2);
    EXPECT_STREQ(NameBuffer, "Lothardobwyn");

    for (auto parts :
         {std::tuple{76, 0, 0}, std::tuple{0, 39, 0}, std::tuple{0, 0, 54}, std::tuple{-1, 0, 0}}) {
        UnitTable[3].nameParts[0] = std::int16_t(std::get<0>(parts));
        UnitTable[3].nameParts[1] = std::int16_t(std::get<1>(parts));
        UnitTable[3].nameParts[2] = std::int16_t(std::get<2>(parts));
        FormatUnitName(3);
        EXPECT_STREQ(NameBuffer, "Lothardobwyn");
    }
    FormatUnitName(-1);
    FormatUnitName(3000);
    EXPECT_STREQ(NameBuffer, "Lothardobwyn");
}

}  // namespace
