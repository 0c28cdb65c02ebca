// The EntryTable and the folder scan that fills it. The start-up, the main loop's rescans,
// the folder moves and the thumbnail page all list the browsed folder through here.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "browser/entry_table.h"
#include "platform/platform.h"
#include "shell/app_state.h"

EntryTableRecord EntryTable;

void AllocateEntryTable() {
    if (EntryTable.names) return;  // once per process
    EntryTable.names =
        static_cast<char(*)[ENTRY_NAME_SIZE]>(std::calloc(MAX_ENTRIES, ENTRY_NAME_SIZE));
    EntryTable.kinds = static_cast<int*>(std::calloc(MAX_ENTRIES, sizeof(int)));
    if (EntryTable.names == nullptr || EntryTable.kinds == nullptr) {
        std::fprintf(stderr, "quentaro: cannot allocate the entry table\n");
        std::exit(1);
    }
}

// A folder that cannot be listed gives an empty table; names past the count stay but are
// never read.
void ScanFolder() {
    if (EntryTable.names == nullptr) AllocateEntryTable();
    std::vector<platform::FolderEntry> entries;
    int count = 0;
    if (platform::ListFolder(".", entries)) {
        for (const platform::FolderEntry& entry : entries) {
            if (count >= MAX_ENTRIES - 1) break;
            count += 1;
            std::snprintf(EntryTable.names[count], ENTRY_NAME_SIZE, "%s", entry.name.c_str());
            // Only a plain folder counts: one with any other attribute bit lists as a file.
            EntryTable.kinds[count] = entry.attributes == platform::ATTRIBUTE_DIRECTORY ? 0 : 1;
        }
    }
    EntryTable.count = count;
}

// A browse folder that cannot be entered lists as empty, never as the folder we are in.
void Rescan() {
    if (platform::SetCurrentFolder(AppState.browseFolder))
        ScanFolder();
    else
        EntryTable.count = 0;
    platform::SetCurrentFolder(AppState.startFolder);
}
