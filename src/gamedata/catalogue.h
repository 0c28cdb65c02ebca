// Words and equipment for the engine's numbers: item names, a unit's item slots and its
// starting equipment, and the three-part unit names.
#pragma once

constexpr int NAME_START_COUNT = 76;
constexpr int NAME_MIDDLE_COUNT = 39;
constexpr int NAME_END_COUNT = 54;
constexpr int NAME_BUFFER_BYTES = 256;
constexpr int HANDED_OUT_SLOTS = 45;  // FindFreeItemSlot hands out slots 0..44 of 60

extern const char* const NameStarts[NAME_START_COUNT];
extern const char* const NameMiddles[NAME_MIDDLE_COUNT];
extern const char* const NameEnds[NAME_END_COUNT];
extern char NameBuffer[NAME_BUFFER_BYTES];  // the last name FormatUnitName wrote

// Name of the item in ItemTable record `record`: its template's name; "" for a record outside
// the table, an empty record or an unnamed template.
const char* ItemName(int record);
// First free slot 0..44 of the unit (its record's picture is 0), or -1; -1 also for a unit
// whose slots lie outside the tables.
int FindFreeItemSlot(int unit);
// Random starting items of a level from 1 to 12 into the unit's free slots; any other level
// or unit gives nothing.
void GiveClassEquipment(int level, int unit);
// A (start, middle, end) triple that no unit record holds yet, into the unit's nameParts.
void PickNameParts(int unit);
// The unit's name into NameBuffer; parts outside the lists leave NameBuffer as it was.
void FormatUnitName(int unit);
