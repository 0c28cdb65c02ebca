// The display name of an item, looked up by the template it was made from. Inventory views
// and the console name items through it.
#include "gamedata/catalogue.h"
#include "gamedata/engine_settings.h"
#include "gamedata/item_table.h"

const char* ItemName(int record) {
    if (ItemTable == nullptr || record < 0 || record >= ITEM_CAPACITY) return "";
    return TemplateName(ItemTable[record].templateId);
}
