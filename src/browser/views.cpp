// The browser views (to be written).
#include "browser/views.h"

void DrawListView() {}
void DrawThumbnailPage() {}
void DrawFullView() {}
