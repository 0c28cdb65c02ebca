// What the hooks record from pumped events, the cursor in frame coordinates, and the
// live key poll, over the fake platform.
#include "support/frame_fixture.h"

namespace {

using platform::Event;
using platform::EventSource;

class InputHooks : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        std::memset(KeyState, 0, sizeof KeyState);
        MouseState = MouseStateRecord{};
    }
    void TearDown() override {
        std::memset(KeyState, 0, sizeof KeyState);
        MouseState = MouseStateRecord{};
        FrameTest::TearDown();
    }
    void Pump() {
        while (PumpMessages()) {
        }
    }
    // A window of `width` x `height` screen pixels at (left, top) showing the current frame.
    void Window(int left, int top, int width, int height) {
        fake.rect = {left, top, left + width, top + height};
    }
    int Column(int x) {
        fake.cursorX = x;
        return CursorColumn();
    }
    int Row(int y) {
        fake.cursorY = y;
        return CursorRow();
    }
};

TEST_F(InputHooks, KeyDownsOfOnePassCountOnceAndOnlyPlainKeyDownsCount) {
    fake.events = {{EventSource::Keyboard, platform::MSG_KEYDOWN, 65},
                   {EventSource::Keyboard, platform::MSG_KEYUP, 65},
                   {EventSource::Keyboard, platform::MSG_KEYDOWN, 65},
                   {EventSource::Keyboard, platform::MSG_SYSKEYDOWN, 164},
                   {EventSource::Keyboard, platform::MSG_SYSKEYDOWN, 116},
                   {EventSource::Keyboard, platform::MSG_KEYDOWN, 256},
                   {EventSource::Keyboard, platform::MSG_KEYDOWN, 161},
                   {EventSource::Mouse, platform::MSG_MBUTTONDOWN, 0},
                   {EventSource::Mouse, platform::MSG_MOUSEMOVE, 0}};
    Pump();
    int recorded = 0;
    for (int k = 0; k < 256; ++k) recorded += KeyState[k];
    EXPECT_EQ(KeyState[65], 1);
    EXPECT_EQ(KeyState[161], 1);
    EXPECT_EQ(recorded, 2);
    EXPECT_EQ(MouseState.rightPress, 0);
    fake.events = {{EventSource::Mouse, platform::MSG_RBUTTONDOWN, 0},
                   {EventSource::Mouse, platform::MSG_RBUTTONDOWN, 0}};
    Pump();
    EXPECT_EQ(MouseState.rightPress, 1);
}

TEST_F(InputHooks, CursorIsClampedAtAndBeyondEveryEdge) {
    UseFrame(960, 540);
    Window(100, 50, 1920, 1080);
    EXPECT_EQ(Column(99), 0);
    EXPECT_EQ(Column(-100000), 0);
    EXPECT_EQ(Column(100), 0);
    EXPECT_EQ(Column(101), 0);
    EXPECT_EQ(Column(102), 1);
    EXPECT_EQ(Column(100 + 1919), 959);  // the last screen pixel of the window
    EXPECT_EQ(Column(100 + 1920), 959);  // exactly on the right edge
    EXPECT_EQ(Column(100000), 959);
    // Rows count up from the window's bottom edge.
    EXPECT_EQ(Row(50 + 1080), 0);
    EXPECT_EQ(Row(50 + 1080 + 500), 0);  // below the window
    EXPECT_EQ(Row(50 + 1079), 0);
    EXPECT_EQ(Row(50 + 1078), 1);
    EXPECT_EQ(Row(50), 539);
    EXPECT_EQ(Row(49), 539);  // above the window
    EXPECT_EQ(Row(-100000), 539);
}

TEST_F(InputHooks, CursorMappingDividesByThePixelScaleInSinglePrecision) {
    UseFrame(960, 540);
    Window(0, 0, 1920, 1080);
    EXPECT_EQ(Column(1919), 959);
    EXPECT_EQ(Column(1001), 500);
    EXPECT_EQ(Row(1079 - 600), 300);
    // At scale 1 the single-precision quotient falls just short of some whole columns
    // and rows, and exactly on others where double precision falls short.
    Window(0, 0, 960, 540);
    EXPECT_EQ(Column(63), 62);
    EXPECT_EQ(Column(123), 123);
    EXPECT_EQ(Row(540 - 7), 6);
    EXPECT_EQ(Row(540 - 39), 39);
}

TEST_F(InputHooks, CursorOverAWindowOfNoSizeIsTheOrigin) {
    Window(10, 10, 0, 0);
    EXPECT_EQ(Column(10), 0);
    EXPECT_EQ(Row(10), 0);
}

TEST_F(InputHooks, KeyPollFollowsTheLiveState) {
    fake.held[65] = true;
    fake.held[2] = true;
    EXPECT_EQ(KeyDown(65), 1);
    EXPECT_EQ(KeyUp(65), 0);
    EXPECT_EQ(KeyDown(2), 1);
    EXPECT_EQ(KeyDown(66), 0);
    EXPECT_EQ(KeyUp(66), 1);
    fake.held[65] = false;
    EXPECT_EQ(KeyDown(65), 0);
    EXPECT_EQ(KeyUp(65), 1);
}

}  // namespace
