// Clocks and pauses on Windows: the calendar from the system time, the steady clock from the
// performance counter, pauses finer than a millisecond on a high-resolution waitable timer
// where the system has one.
#include "platform/win32/win32_platform.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace platform {

namespace {

// 100-nanosecond ticks from 1601-01-01 to 1970-01-01.
constexpr long long UNIX_EPOCH_TICKS = 116444736000000000LL;

HANDLE FineTimer() {
    static HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr,
                                                 CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                                 TIMER_ALL_ACCESS);
    return timer;
}

}  // namespace

void Win32Platform::Pause(int milliseconds) {
    if (milliseconds > 0) Sleep(DWORD(milliseconds));
}

void Win32Platform::PauseMicroseconds(long long microseconds) {
    if (microseconds <= 0) return;
    if (HANDLE timer = FineTimer()) {
        LARGE_INTEGER due;
        due.QuadPart = -microseconds * 10;  // relative, in 100 ns ticks
        if (SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE)) {
            WaitForSingleObject(timer, INFINITE);
            return;
        }
    }
    Sleep(DWORD((microseconds + 999) / 1000));
}

long long Win32Platform::CalendarSeconds() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    long long ticks = (static_cast<long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return (ticks - UNIX_EPOCH_TICKS) / 10000000LL;
}

long long Win32Platform::SteadyMicroseconds() {
    static const long long frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<long long>(f.QuadPart);
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    long long ticks = count.QuadPart;
    // Split so that the product cannot overflow however long the machine has run.
    return ticks / frequency * 1000000LL + ticks % frequency * 1000000LL / frequency;
}

}  // namespace platform
