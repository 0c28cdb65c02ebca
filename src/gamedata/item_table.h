// Items: the ItemTable with its fixed regions, the templates and the first items.
#pragma once

#include <cstdint>

// Fixed regions of ItemTable.
constexpr int ITEM_EMPTY_RECORD = 0;
constexpr int ITEM_STARTING_FIRST = 9000;  // 9000..9003: the items GiveStartingItems makes
constexpr int ITEM_UNIT_FIRST = 10000;     // 10000 + 60 * unit + slot
constexpr int ITEM_SLOTS_PER_UNIT = 60;

struct ItemRecord {
    std::int16_t picture;     // picture slot; 0 marks an empty record
    std::int32_t templateId;  // the template the item was made from; names are looked up by it
    std::uint8_t traits[5];   // five 0/1 marks
    std::uint8_t itemKind;    // 1 or 2 weapons; 10 + piece index for armour; 0 otherwise
    std::uint8_t isWeapon;
    std::uint8_t grade;
    std::uint8_t bonus;
    float condition;  // set to grade whenever CopyItem makes the item
    float factor;     // armour material factor, or a weapon's extra factor
    std::uint16_t worth;
};

extern ItemRecord* ItemTable;  // ITEM_CAPACITY records

void CreateItemTable();
void ReleaseItemTable();

// Makes record d from record s (a template or any item): every field, then condition = grade.
void CopyItem(int destination, int source);
void BuildItemTemplates();
// The display name of template `templateId`; "" for a number that is no template and for
// the unnamed template 7100.
const char* TemplateName(int templateId);
void GiveStartingItems();
