// The EntryTable and the folder scan that fills it. The start-up, the main loop's rescans,
// the folder moves and the thumbnail page all list the browsed folder through here.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "browser/entry_table.h"
#include "browser/folder_path.h"
#include "platform/platform.h"
#include "shell/app_state.h"
#include "shell/notice.h"

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
int ScanFolder() {
    if (EntryTable.names == nullptr) AllocateEntryTable();
    std::vector<platform::FolderEntry> entries;
    int count = 0;
    const bool listed = platform::ListFolder(".", entries);
    if (listed) {
        for (const platform::FolderEntry& entry : entries) {
            if (count >= MAX_ENTRIES - 1) break;
            count += 1;
            std::snprintf(EntryTable.names[count], ENTRY_NAME_SIZE, "%s", entry.name.c_str());
            // Only a plain folder counts: one with any other attribute bit lists as a file.
            EntryTable.kinds[count] = entry.attributes == platform::ATTRIBUTE_DIRECTORY ? 0 : 1;
        }
    }
    EntryTable.count = count;
    EntryTable.scans += 1;
    if (entries.size() > std::size_t(count))
        ReportFailure("showing %d of %zu entries", count, entries.size());
    return listed ? 1 : 0;
}

namespace {

// Makes `folder` the browse folder when it can be entered and listed (the table then holds
// it) and it fits; false otherwise.
bool ScanInto(const std::string& folder) {
    return folder.size() < sizeof AppState.browseFolder &&
           platform::SetCurrentFolder(folder.c_str()) && ScanFolder() == 1;
}

}  // namespace

// A browse folder that can no longer be listed (removed, or made unreadable) gives way to
// its nearest ancestor that can be, and the user is told; the table is empty only when no
// ancestor can be listed either.
void Rescan() {
    if (platform::SetCurrentFolder(AppState.browseFolder) && ScanFolder() == 1) {
        platform::SetCurrentFolder(AppState.startFolder);
        return;
    }
    const char separator = platform::PathSeparator();
    std::string folder = AppState.browseFolder;
    for (std::string up = FolderUp(folder, separator); up != folder;
         folder = up, up = FolderUp(up, separator)) {
        if (!ScanInto(up)) continue;
        ReportFailure("cannot read %s: showing %s", AppState.browseFolder, up.c_str());
        std::snprintf(AppState.browseFolder, sizeof AppState.browseFolder, "%s", up.c_str());
        AppState.selectedEntry = 1;
        AppState.pageFirst = 1;
        AppState.listTop = 0;
        platform::SetCurrentFolder(AppState.startFolder);
        return;
    }
    EntryTable.count = 0;
    EntryTable.scans += 1;
    platform::SetCurrentFolder(AppState.startFolder);
}
