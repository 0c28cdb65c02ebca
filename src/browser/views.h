// The three views of the browser: list, thumbnail page and full view.
#pragma once

#include <string>

void DrawListView();
void DrawThumbnailPage();
void DrawFullView();
// How many supported pictures the thumbnail page at pageFirst holds, by the current table.
int PicturesOnNextPage();
// How many of them drawing that page would decode: those neither kept from the page drawn last
// nor, by its files' names and times, in the thumbnail cache.
int PicturesToDecodeOnNextPage();

// The grid of a thumbnail page at the current frame and cell size. The page draws
// columns x rows cells, and the page keys turn by exactly that many entries.
int ThumbnailColumns();
int ThumbnailRows();

// 1 when the picture last opened for the full view failed to decode: the view then stays
// empty instead of showing the previous picture under this entry's name.
extern int FullViewBlank;
// The name of the picture the full view shows, as it was when it was opened: a later scan
// may give its entry number to another file.
extern std::string FullViewName;
// Whether the thumbnail page drawn last shows entry n of the current table, under the name
// the table has for it now. Its pick ids mean the entries of the table it was drawn from.
bool PageShowsEntry(int n);

// The text operations the views draw labels with (DrawPickText and DrawText); tests
// put recorders here to see each label's text, place, colour and id.
extern void (*ListLabelText)(int x, int y, int r, int g, int b, int id);
extern void (*ThumbnailLabelText)(int x, int y, int r, int g, int b);
