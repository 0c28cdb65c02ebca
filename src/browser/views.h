// The three views of the browser: list, thumbnail page and full view.
#pragma once

void DrawListView();
void DrawThumbnailPage();
void DrawFullView();
