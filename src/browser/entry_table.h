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
};

extern EntryTableRecord EntryTable;

void AllocateEntryTable();
void ScanFolder();
void Rescan();  // browseFolder current, ScanFolder, startFolder current again
void HandleBrowserClick();
