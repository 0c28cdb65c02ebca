// The EntryTable and the folder scan that fills it (to be written).
#include <cstdlib>

#include "browser/entry_table.h"
#include "platform/platform.h"
#include "shell/app_state.h"

EntryTableRecord EntryTable;

void AllocateEntryTable() {
    if (EntryTable.names) return;  // once per process
    EntryTable.names = static_cast<char(*)[ENTRY_NAME_SIZE]>(
        std::calloc(MAX_ENTRIES, ENTRY_NAME_SIZE));
    EntryTable.kinds = static_cast<int*>(std::calloc(MAX_ENTRIES, sizeof(int)));
}

void ScanFolder() { EntryTable.count = 0; }

void Rescan() {
    platform::SetCurrentFolder(AppState.browseFolder);
    ScanFolder();
    platform::SetCurrentFolder(AppState.startFolder);
}
