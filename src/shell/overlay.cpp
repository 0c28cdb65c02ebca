// The overlay drawn over every view (cursor cross, title, buttons, captions) and the
// right-button rules for presses on it and on empty space. The main loop calls these
// between drawing the view and presenting the frame.
#include "shell/overlay.h"

#include <cstdio>
#include <cstring>

#include "browser/entry_table.h"
#include "browser/texture_loader.h"
#include "browser/views.h"
#include "draw/lines.h"
#include "draw/text.h"
#include "platform/platform.h"
#include "shell/app_state.h"
#include "shell/frame_buffers.h"
#include "shell/input_hooks.h"
#include "shell/notice.h"

using platform::Sys;

namespace {

constexpr int YELLOW[3] = {255, 255, 0};
constexpr int NOTICE_COLOUR[3] = {255, 255, 255};
constexpr int CLICK_PAUSE = 480;
// The row of buttons sits in the top rows; presses there outside a button do nothing.
constexpr int TOP_STRIP_ROWS = 30;
constexpr const char* CREDIT_LINE =
    "T thumbnails  [ ] pages  P play  R rescan  F7 folder  F5 F6 F8 size  0 overlay  Esc quit";
// The full view's own keys: the buttons and pages are not on screen there.
constexpr const char* FULL_VIEW_HELP_LINE =
    "F fit  1-6 zoom  7 8 9 pan  T thumbnails  F5 F6 F8 size  0 overlay  Esc quit";

// Puts `text` in the TextBuffer. A text too long for it keeps its end: of a path, the
// last folders say the most.
void SetText(const char* text) {
    std::size_t length = std::strlen(text);
    const std::size_t room = TEXT_BUFFER_SIZE - 1;
    if (length > room) {
        text += length - room;
        length = room;
    }
    std::memcpy(TextBuffer, text, length);
    TextBuffer[length] = '\0';
}

// As SetText, and a text wider than the frame from x on also keeps its end, cut at the
// start of a character: "cannot read A: showing B" must show B.
void SetTextEnd(const char* text, int x) {
    SetText(text);
    const int room = AppState.frameWidth - x;
    auto inside = [](const char* p) { return (static_cast<unsigned char>(*p) & 0xC0) == 0x80; };
    char* start = TextBuffer;
    while (inside(start)) ++start;
    // One measure of the whole, then each character dropped from the front takes its width.
    int width = TextWidth(start);
    while (*start != '\0' && width > room) {
        char* next = start + 1;
        while (inside(next)) ++next;
        const char kept = *next;
        *next = '\0';
        width -= TextWidth(start);
        *next = kept;
        start = next;
    }
    std::memmove(TextBuffer, start, std::strlen(start) + 1);
}

void OverlayText(const char* text, int x, int y) {
    SetText(text);
    DrawText(x, y, YELLOW[0], YELLOW[1], YELLOW[2]);
}

void Button(const char* label, int x, int y, int id) {
    SetText(label);
    DrawPickText(x, y, YELLOW[0], YELLOW[1], YELLOW[2], id);
}

// Row of the help line: a window hanging below the screen lifts it so it stays readable.
int HelpLineRow() {
    const AppStateRecord& s = AppState;
    int y = 14;
    int below = s.frameHeight * s.pixelScale + s.windowY - s.screenHeight;
    if (below > 0 && s.pixelScale > 0) y += below / s.pixelScale;
    return y;
}

}  // namespace

void DrawCursorCross() {
    int x = CursorColumn(), y = CursorRow();
    DrawLine(x, y, x + 5, y, 255, 255, 255);
    DrawLine(x, y, x, y + 5, 255, 255, 255);
    DrawLine(x, y, x - 5, y, 255, 255, 255);
    DrawLine(x, y, x, y - 5, 255, 255, 255);
}

void DrawOverlay() {
    const AppStateRecord& s = AppState;
    const int top = s.viewOffsetY + s.frameHeight - 11;
    OverlayText("QUENTARO", s.viewOffsetX + 12, top);
    if (s.fullViewOn != 1) {
        Button("THUMBNAILS", s.viewOffsetX + 268, top, BUTTON_THUMBNAILS);
        Button("BRACKETL", s.viewOffsetX + 320, top, BUTTON_BRACKET_LEFT);
        Button("BRACKETR", s.viewOffsetX + 360, top, BUTTON_BRACKET_RIGHT);
        if (s.listViewOn == 1) Button("CENTERCENTER", s.viewOffsetX + 402, top, BUTTON_CENTER);
    }
    if (s.fullViewOn == 1) {
        OverlayText(FullViewName.c_str(), 12, s.frameHeight - 22);
        // A picture that did not decode has no size; the last one decoded is another's.
        if (FullViewBlank == 0) {
            char size[32];
            std::snprintf(size, sizeof size, "%dx%d", LoaderInfo.width, LoaderInfo.height);
            OverlayText(size, 12, s.frameHeight - 30);
        }
    } else {
        SetTextEnd(s.browseFolder, s.viewOffsetX + 12);
        DrawText(s.viewOffsetX + 12, top - 10, YELLOW[0], YELLOW[1], YELLOW[2]);
    }
    if (CurrentNotice()[0] != '\0')
        DrawNoticeLine();
    else
        OverlayText(s.fullViewOn == 1 ? FULL_VIEW_HELP_LINE : CREDIT_LINE, 12, HelpLineRow());
}

void DrawNoticeLine() {
    const char* notice = CurrentNotice();
    if (notice[0] == '\0') return;
    SetTextEnd(notice, 12);
    DrawText(12, HelpLineRow(), NOTICE_COLOUR[0], NOTICE_COLOUR[1], NOTICE_COLOUR[2]);
}

void ForgetOverlayPicks() {
    const std::size_t pixels = std::size_t(AppState.frameWidth) * std::size_t(AppState.frameHeight);
    for (std::size_t i = 0; i < pixels; ++i)
        if (PickBuffer[i] >= BUTTON_THUMBNAILS && PickBuffer[i] <= BUTTON_CENTER) PickBuffer[i] = 0;
}

void HandleOverlayClick() {
    AppStateRecord& s = AppState;
    if (MouseState.rightPress == 1 && s.fullViewOn != 1) {
        int row = CursorRow();
        int id = PickBuffer[row * s.frameWidth + CursorColumn()];
        if (id == 0 && row < s.frameHeight - TOP_STRIP_ROWS) {
            ShowListView();
            Rescan();
            Sys().Pause(CLICK_PAUSE);
        } else if (id == BUTTON_THUMBNAILS) {
            if (s.listViewOn == 1)
                ShowThumbnailView();
            else
                ShowListView();
            Rescan();
            s.pageFirst = s.selectedEntry;
            s.viewOffsetX = s.viewOffsetY = 0;
            Sys().Pause(CLICK_PAUSE);
            MouseState.rightPress = 0;
        } else if (id == BUTTON_BRACKET_LEFT || id == BUTTON_BRACKET_RIGHT) {
            s.viewOffsetX = s.viewOffsetY = 0;
            if (id == BUTTON_BRACKET_LEFT)
                PreviousPage();
            else
                NextPage();
            Sys().Pause(CLICK_PAUSE);
            MouseState.rightPress = 0;
        } else if (id == BUTTON_CENTER) {
            s.viewOffsetX = s.frameWidth / 3;
            s.viewOffsetY = -(s.frameHeight / 3);
            Sys().Pause(CLICK_PAUSE);
            MouseState.rightPress = 0;
        }
    }
    if (MouseState.rightPress == 1 && s.fullViewOn == 1) {
        MouseState.rightPress = 0;
        ShowThumbnailView();
        Rescan();
        Sys().Pause(CLICK_PAUSE);
    }
}
