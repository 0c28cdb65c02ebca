// The part of a screen of several monitors that the program sizes its window to.
#include <gtest/gtest.h>

#include "platform/x11/x11_platform.h"

namespace {

using platform::MonitorArea;
using platform::OriginMonitor;

bool Same(const MonitorArea& a, const MonitorArea& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

TEST(OriginMonitor, TheMonitorAtTheTopLeftCornerNotTheWholeScreen) {
    // Two monitors side by side: the screen is 3840 wide, the window's monitor 1920.
    EXPECT_TRUE(Same(OriginMonitor({{0, 0, 1920, 1080}, {1920, 0, 1920, 1080}}, 3840, 1080),
                     {0, 0, 1920, 1080}));
    // Listed the other way round, or stacked with a taller one beside: still the corner's.
    EXPECT_TRUE(Same(OriginMonitor({{1920, 0, 2560, 1440}, {0, 0, 1920, 1080}}, 4480, 1440),
                     {0, 0, 1920, 1080}));
    EXPECT_TRUE(Same(OriginMonitor({{0, 1080, 1920, 1080}, {0, 0, 1280, 1024}}, 1920, 2160),
                     {0, 0, 1280, 1024}));
    // One monitor, none listed, or none at the corner: the whole screen.
    EXPECT_TRUE(Same(OriginMonitor({{0, 0, 1920, 1080}}, 1920, 1080), {0, 0, 1920, 1080}));
    EXPECT_TRUE(Same(OriginMonitor({}, 1024, 768), {0, 0, 1024, 768}));
    EXPECT_TRUE(Same(OriginMonitor({{100, 0, 800, 600}, {0, 0, 0, 0}}, 900, 600), {0, 0, 900, 600}));
}

}  // namespace
