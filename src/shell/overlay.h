// What a pass does between drawing the view and presenting it: the overlay, the right
// presses on it, and the key bindings.
#pragma once

constexpr int BUTTON_THUMBNAILS = 1200000;
constexpr int BUTTON_BRACKET_LEFT = 1200001;
constexpr int BUTTON_BRACKET_RIGHT = 1200002;
constexpr int BUTTON_CENTER = 1200003;

void DrawCursorCross();
void DrawOverlay();
// The notice, if one is on show, in the help line's place; the overlay draws it itself.
void DrawNoticeLine();
// Clears the overlay buttons' pick ids, leaving those the view wrote.
void ForgetOverlayPicks();
void HandleOverlayClick();
void ApplyFirstKeys();
void ApplySecondKeys();
// The view switches of the keys and the overlay buttons. The thumbnail page is drawn
// on the next pass.
void ShowListView();
void ShowThumbnailView();
void NextPage();
void PreviousPage();
void ChangeResolution(int mode);
