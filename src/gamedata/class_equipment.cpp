// A unit's item slots and the random starting equipment of its level; the game hands units
// their first items through it.
#include "gamedata/catalogue.h"
#include "gamedata/engine_settings.h"
#include "gamedata/item_table.h"
#include "shell/random.h"

namespace {

constexpr int ARMOUR_PIECE_COUNT = 14;

// What one pass draws: an armour material's base (a random piece of it) or a template.
struct Outcome {
    bool armour;
    int number;  // 0 = nothing
};

struct LevelRow {
    int passes;
    Outcome outcomes[5];  // for draws 1..5
};

constexpr Outcome ARMOUR(int base) {
    return {true, base};
}
constexpr Outcome ITEM(int templateId) {
    return {false, templateId};
}
constexpr Outcome NOTHING = {false, 0};

constexpr LevelRow LEVEL_ONE = {1, {ARMOUR(8100), ARMOUR(8100), ITEM(6110), NOTHING, NOTHING}};
constexpr LevelRow LEVEL_TWO = {2, {ARMOUR(8100), ARMOUR(8130), ITEM(6111), NOTHING, NOTHING}};
constexpr LevelRow LEVEL_THREE = {2, {ARMOUR(8130), ARMOUR(8130), ITEM(6112), NOTHING, NOTHING}};
constexpr LevelRow LEVEL_FOUR_UP = {2,
                                    {ARMOUR(8170), ARMOUR(8170), ITEM(6114), ITEM(6115), NOTHING}};

// The unit's slot records lie inside the unit table and the item table.
bool HasItemSlots(int unit) {
    if (ItemTable == nullptr || unit < 0 || unit >= UNIT_CAPACITY) return false;
    long long last = ITEM_UNIT_FIRST + static_cast<long long>(ITEM_SLOTS_PER_UNIT) * unit +
                     ITEM_SLOTS_PER_UNIT - 1;
    return last < ITEM_CAPACITY;
}

int SlotRecord(int unit, int slot) {
    return ITEM_UNIT_FIRST + ITEM_SLOTS_PER_UNIT * unit + slot;
}

}  // namespace

int FindFreeItemSlot(int unit) {
    if (!HasItemSlots(unit)) return -1;
    for (int s = 0; s < HANDED_OUT_SLOTS; ++s)
        if (ItemTable[SlotRecord(unit, s)].picture == 0) return s;
    return -1;
}

void GiveClassEquipment(int level, int unit) {
    if (!HasItemSlots(unit) || level < 1 || level > 12) return;
    const LevelRow& row = level == 1   ? LEVEL_ONE
                          : level == 2 ? LEVEL_TWO
                          : level == 3 ? LEVEL_THREE
                                       : LEVEL_FOUR_UP;
    for (int pass = 0; pass < row.passes; ++pass) {
        const Outcome& outcome = row.outcomes[RandomBelow(5)];
        if (outcome.number == 0) continue;
        int slot = FindFreeItemSlot(unit);
        if (slot < 0) continue;
        int source =
            outcome.armour ? outcome.number + RandomBelow(ARMOUR_PIECE_COUNT) : outcome.number;
        CopyItem(SlotRecord(unit, slot), source);
    }
}
