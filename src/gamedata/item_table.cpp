// The item table and the one way items are made, by copying a record.
#include "gamedata/item_table.h"

#include <cstdlib>

#include "gamedata/engine_settings.h"
#include "gamedata/table_memory.h"

ItemRecord* ItemTable = nullptr;

void CreateItemTable() {
    ItemTable = CreateTableOf<ItemRecord>("item table", ITEM_CAPACITY);
}

void ReleaseItemTable() {
    std::free(ItemTable);
    ItemTable = nullptr;
}

void CopyItem(int destination, int source) {
    // Engine callers compute record numbers from unit indices; one outside the table is
    // ignored rather than written past its end.
    if (ItemTable == nullptr || destination < 0 || destination >= ITEM_CAPACITY || source < 0 ||
        source >= ITEM_CAPACITY)
        return;
    ItemTable[destination] = ItemTable[source];
    ItemTable[destination].condition = float(ItemTable[destination].grade);
}

void GiveStartingItems() {
    CopyItem(ITEM_UNIT_FIRST, 6110);  // unit 0's first slot: the "Dagger" template
    CopyItem(ITEM_STARTING_FIRST + 0, 6110);
    CopyItem(ITEM_STARTING_FIRST + 1, 6111);
    CopyItem(ITEM_STARTING_FIRST + 2, 6200);
    CopyItem(ITEM_STARTING_FIRST + 3, 6316);
}
