// A short message shown for a few seconds in the place of the overlay's help line: what
// went wrong with the user's last request, or what the program is busy with.
#pragma once

constexpr long long NOTICE_MICROSECONDS = 4000000;
constexpr int NOTICE_SIZE = 8192;  // room for two whole paths; the overlay shows the end

struct NoticeRecord {
    char text[NOTICE_SIZE] = {};
    long long until = 0;  // steady clock when it stops showing
    int progress = 0;     // 1: it says what is under way, and ends when that is done
};

extern NoticeRecord Notice;

// A failure: shown on screen and written to standard error as "quentaro: <text>".
void ReportFailure(const char* format, ...);
// A failure already reported on standard error (by the program that failed): screen only.
void ShowNotice(const char* format, ...);
// Work under way, shown on screen only, until EndProgressNotice or its time is up.
void ShowProgress(const char* format, ...);
void EndProgressNotice();
// The text on show now, "" when none.
const char* CurrentNotice();
