// The engine's command console: Tab opens and closes it, a polled line editor collects a
// command after "CMD:", and Enter runs it against the cells around the walker (record 1 of
// UnitTable) or teleports the walker and the view.
#pragma once

extern int ConsoleOpen;         // 1 while the line is shown and edited
extern int LineSubmitted;       // set by EditLine on Enter, cleared when the command runs
extern int ScreenSaverEnabled;  // flipped by "screensavertoggle"; nothing else reads it

// What the latest submitted line named and whether it ran, for a host that answers the player
// (the console itself says nothing): `lines` counts the lines submitted, `command` is the
// command's name ("" when the first token names none) and `ran` is 0 for a known command
// with the wrong number of tokens.
struct ConsoleRunRecord {
    int lines = 0;
    const char* command = "";
    int tokens = 0;
    int ran = 0;
};
extern ConsoleRunRecord LastConsoleRun;

// One polling step of the line editor over CommandLine: Enter submits the line; Backspace,
// space, letters (upper case with Shift) and digits edit it, each acting key pausing 120 ms;
// then prompt, line and a blinking cursor are drawn at (x, y). maxLength is kept to 0..255,
// so the line always fits its 256 bytes.
void EditLine(int x, int y, int maxLength, const char* prompt);
// One frame of the console: Tab, the editor while open, and a submitted command.
void RunConsole();

// Splits CommandLine at spaces, hyphens, commas, tabs and newlines into CommandTokens; returns
// the number of tokens stored. Tokens beyond the 20 slots are ignored.
int TokenizeCommandLine();
