// The pace of the main loop and the window's staleness. The media menu's pass and the
// window procedure use it; the engine's host program shares it.
#include "shell/pacing.h"

#include "platform/platform.h"

PacingRecord Pacing;

void EndPacedPass() {
    platform::Platform& sys = platform::Sys();
    const long long workEnd = sys.SteadyMicroseconds();
    const long long due = Pacing.slot + PASS_PERIOD_MICROSECONDS;
    if (Pacing.slot >= 0 && workEnd < due) {
        // A swap that waited for the display has used part of the period already; the
        // sleep makes up only the rest.
        sys.PauseMicroseconds(due - workEnd);
        Pacing.slot = due;
    } else {
        Pacing.slot = workEnd;
    }
    Pacing.lastWait = sys.SteadyMicroseconds() - workEnd;
}

void MarkScreenStale() {
    Pacing.screenStale = 1;
}

bool TakeScreenStale() {
    bool stale = Pacing.screenStale == 1;
    Pacing.screenStale = 0;
    return stale;
}
