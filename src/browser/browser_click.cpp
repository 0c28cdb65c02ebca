// Right presses on thumbnails and list entries (to be written).
#include "browser/entry_table.h"

void HandleBrowserClick() {}
