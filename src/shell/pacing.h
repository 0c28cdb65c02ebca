// The pace of a main loop: passes end on a schedule of sixty slots a second, none before
// its slot, and the window is shown a new frame only when there is something new to show.
// The media menu's loop and the engine's host program both run on it.
#pragma once

constexpr long long PASS_PERIOD_MICROSECONDS = 16667;  // 1/60 s, rounded up

struct PacingRecord {
    long long slot = -1;  // steady clock at which the previous pass was due to end; -1 before any
    long long lastWait = 0;  // microseconds the last pass spent waiting for its slot
    // 1 when the window no longer shows the last presented frame: it was exposed, resized,
    // moved or made anew, or the frame buffers were replaced.
    int screenStale = 1;
};

extern PacingRecord Pacing;

// Waits for the pass's slot, PASS_PERIOD_MICROSECONDS after the previous one. A pass that
// ran past its slot waits for nothing and starts the schedule again from its own end, so
// a long pass is never paid back by a burst of short ones. A late wake-up from the wait
// is not carried over: the slots stay a period apart and the passes keep sixty a second.
void EndPacedPass();
void MarkScreenStale();
// True once after MarkScreenStale: the caller then draws and presents a whole new frame.
bool TakeScreenStale();
