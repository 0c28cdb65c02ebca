// The folder being browsed, as the rest of the browser sees it, and the right presses
// that pick entries from the views.
#pragma once

constexpr int MAX_ENTRIES = 3000;
constexpr int ENTRY_NAME_SIZE = 260;
constexpr int PICK_THUMBNAIL_BASE = 4000;
constexpr int PICK_LIST_BASE = 12000;

struct EntryTableRecord {
    char (*names)[ENTRY_NAME_SIZE] = nullptr;  // MAX_ENTRIES buffers, numbered from 1
    int* kinds = nullptr;                      // 0 folder, 1 anything else
    int count = 0;                             // number of the last filled entry
    int scans = 0;                             // scans so far: the table changes only by them
};

extern EntryTableRecord EntryTable;

void AllocateEntryTable();
// Lists the current folder into the table; 1 when it could be listed, else 0 (table empty).
int ScanFolder();
// browseFolder current, ScanFolder, startFolder current again; a browse folder that cannot
// be listed is replaced by its nearest ancestor that can.
void Rescan();
void HandleBrowserClick();
