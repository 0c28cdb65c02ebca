// The paced main loop: passes a sixtieth of a second apart, and frames presented only
// when something on them changed or the window lost what it showed.
#include "shell/menu_fixture.h"
#include "support/picture_files.h"

namespace {

TEST(Pacing, PassesEndOnSlotsAPeriodApartWhateverTheirWork) {
    FakePlatform fake;
    Pacing = PacingRecord{};
    EndPacedPass();  // the first pass has no previous one to keep its distance from
    EXPECT_TRUE(fake.finePauses.empty());
    long long previous = fake.steadyMicroseconds;
    const long long works[] = {0, 5000, 16666, 16667, 40000, 3};
    for (long long work : works) {
        fake.steadyMicroseconds += work;
        EndPacedPass();
        long long gap = fake.steadyMicroseconds - previous;
        EXPECT_EQ(gap, std::max(work, PASS_PERIOD_MICROSECONDS)) << work;
        EXPECT_EQ(Pacing.lastWait, gap - work);
        previous = fake.steadyMicroseconds;
    }
    // A long pause of a key binding is not paid back by shorter passes afterwards.
    fake.steadyMicroseconds += 500000;
    EndPacedPass();
    fake.steadyMicroseconds += 1000;
    EndPacedPass();
    EXPECT_EQ(fake.finePauses.back(), PASS_PERIOD_MICROSECONDS - 1000);
}

// The fake's pauses are exact; a real one wakes late, and that lateness is not added to
// the next slot: sixty passes still take one second.
struct LateWaker : FakePlatform {
    void PauseMicroseconds(long long microseconds) override {
        FakePlatform::PauseMicroseconds(microseconds + 700);
    }
};

TEST(Pacing, LateWakeUpsDoNotSlowTheSchedule) {
    LateWaker late;
    Pacing = PacingRecord{};
    EndPacedPass();
    long long start = late.steadyMicroseconds;
    long long previous = start;
    for (int pass = 0; pass < 60; ++pass) {
        late.steadyMicroseconds += 2000;  // the pass's work
        EndPacedPass();
        EXPECT_GE(late.steadyMicroseconds - previous, PASS_PERIOD_MICROSECONDS - 700);
        previous = late.steadyMicroseconds;
    }
    EXPECT_LE(late.steadyMicroseconds - start, 60 * PASS_PERIOD_MICROSECONDS + 700);
}

class PacedLoop : public MenuTest {
  protected:
    void SetUp() override {
        MenuTest::SetUp();
        AllocateImageStore();
        Loader.pixels = ImageStore;
        fake.screenWidth = 1920;
        fake.screenHeight = 1080;
        PointAt(300, 300);
    }

    // Runs passes until the frame settles (a pass that does not present).
    void Settle() {
        for (int i = 0; i < 5; ++i) {
            int swaps = fake.swaps;
            RunPass();
            if (fake.swaps == swaps) return;
        }
        FAIL() << "the frame never settles";
    }
    int PresentsOver(int passes) {
        int swaps = fake.swaps;
        for (int i = 0; i < passes; ++i) RunPass();
        return fake.swaps - swaps;
    }
    void QueueWindowEvent(unsigned message) {
        fake.events.push_back({platform::EventSource::Window, message, 0});
    }
};

TEST_F(PacedLoop, AnIdleMenuPresentsNothingInEachViewButKeepsCounting) {
    for (int view = 0; view < 3; ++view) {
        AppState.listViewOn = view == 0;
        AppState.thumbnailRedraw = view == 1;
        AppState.fullViewOn = view == 2;
        LoaderInfo = ImageInfo{0, 40, 30, 6408, 32};
        Settle();
        int passes = AppState.passCount;
        long long start = fake.steadyMicroseconds;
        EXPECT_EQ(PresentsOver(60), 0) << "view " << view;
        EXPECT_EQ(AppState.passCount - passes, 60);
        EXPECT_GE(fake.steadyMicroseconds - start, 60 * PASS_PERIOD_MICROSECONDS);
    }
}

TEST_F(PacedLoop, TheCrossFollowsTheMouseInTheNextPass) {
    Settle();
    PointAt(100, 200);
    EXPECT_EQ(PresentsOver(1), 1);
    EXPECT_EQ(Rgb(105, 200), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(Rgb(300, 305), (std::array<int, 3>{0, 0, 0}));  // the old cross is gone
    EXPECT_EQ(PresentsOver(3), 0);

    // With the overlay off, the list view does not follow the mouse at all; the full
    // view still does, since its picture moves with the cursor.
    Loader.overlayOn = 0;
    Settle();
    PointAt(120, 220);
    EXPECT_EQ(PresentsOver(2), 0);
    AppState.listViewOn = 0;
    AppState.fullViewOn = 1;
    LoaderInfo = ImageInfo{0, 40, 30, 6408, 32};
    Settle();
    PointAt(140, 240);
    EXPECT_EQ(PresentsOver(1), 1);
}

TEST_F(PacedLoop, AnExposedMovedResizedOrNewWindowIsShownAFrameAgain) {
    StartUp();
    Settle();
    for (unsigned message : {platform::MSG_PAINT, platform::MSG_SIZE, platform::MSG_MOVE}) {
        QueueWindowEvent(message);
        EXPECT_EQ(PresentsOver(1), 0) << "the event is pumped at the end of the pass";
        EXPECT_EQ(PresentsOver(1), 1) << message;
        Settle();
    }
    // Focus changes and other events leave the frame alone.
    QueueWindowEvent(platform::MSG_ACTIVATE);
    QueueWindowEvent(0);
    EXPECT_EQ(PresentsOver(3), 0);
    // A resolution switch makes the window anew.
    Press(vk::F5);
    RunPass();
    EXPECT_EQ(PresentsOver(1), 1);
    CloseGlWindow();
}

TEST_F(PacedLoop, StateChangedByKeysOrClicksIsPresented) {
    Settle();
    Press(vk::OEM_PERIOD);  // scroll the list one entry
    RunPass();
    EXPECT_EQ(PresentsOver(1), 1) << "the second-group key acts after the present";
    Settle();
    // A first-group key is shown in its own pass: T presents the pending page's notice.
    for (int n = 1; n <= 30; ++n) SetEntry(n, n % 2 ? "p.bmp" : "clip.mp4", 1);
    Press('T');
    int swaps = fake.swaps;
    RunPass();
    EXPECT_EQ(fake.swaps, swaps + 1);
    EXPECT_STREQ(CurrentNotice(), "reading 9 pictures");
}

// T to a page that must decode shows its notice at once; to a page the program holds already
// (here kept from its last drawing) it shows nothing in between. Either way the page comes in
// the pass after T's pause.
TEST_F(PacedLoop, APageComesInThePassAfterTWithANoticeOnlyWhenItDecodes) {
    TempFolder pictures;
    KeepCurrentFolder keep;
    pictures.Write("a.bmp", Bmp24(8, 8, [](int, int) { return Rgb8{200, 0, 0}; }));
    std::snprintf(AppState.browseFolder, FOLDER_CAPACITY, "%s", pictures.Path().c_str());
    ThumbnailCacheRoot.clear();
    Rescan();
    Settle();
    auto pressT = [&](bool noticeFrame) {
        const long long before = fake.steadyMicroseconds;
        Press('T');
        const int swaps = fake.swaps;
        RunPass();
        EXPECT_EQ(fake.swaps, swaps + (noticeFrame ? 1 : 0));
        EXPECT_STREQ(CurrentNotice(), noticeFrame ? "reading 1 picture" : "");
        EXPECT_EQ(fake.steadyMicroseconds, before + 180000);  // T's pause, then no wait
        RunPass();
        EXPECT_EQ(fake.swaps, swaps + (noticeFrame ? 2 : 1));
        EXPECT_EQ(Rgb(10 + 2 * 140 + 10, 369 + 10), (std::array<int, 3>{200, 0, 0}));
    };
    pressT(true);
    Press('T');  // back to the list
    Settle();
    pressT(false);
}

TEST_F(PacedLoop, OverlayButtonsStillAnswerOnPassesThatDrawNothing) {
    Settle();
    Settle();
    // CENTERCENTER, its glyphs on the top line at x 402.
    PointAt(404, 540 - 15);
    MouseState.rightPress = 1;
    RunPass();
    EXPECT_EQ(AppState.viewOffsetX, 960 / 3);
    EXPECT_EQ(AppState.viewOffsetY, -(540 / 3));
}

TEST_F(PacedLoop, ANoticeShowsForAFewSecondsInTheHelpLinesPlace) {
    Settle();
    auto helpLineLit = [] {
        int lit = 0;
        for (int y = 8; y < 16; ++y)
            for (int x = 12; x < 400; ++x) lit += Lit(x, y);
        return lit;
    };
    int help = helpLineLit();
    ASSERT_GT(help, 0);
    ReportFailure("cannot enter %s", "x");
    EXPECT_EQ(PresentsOver(1), 1);
    int notice = helpLineLit();
    EXPECT_GT(notice, 0);
    EXPECT_LT(notice, help);  // a shorter text than the help line
    // White, not the overlay's yellow.
    bool white = false;
    for (int x = 12; x < 60; ++x)
        for (int y = 8; y < 15; ++y) white |= Rgb(x, y) == std::array<int, 3>{255, 255, 255};
    EXPECT_TRUE(white);
    EXPECT_EQ(PresentsOver(200), 0);  // about 3.3 s: still shown
    EXPECT_EQ(PresentsOver(60), 1);   // gone after 4 s, once
    EXPECT_EQ(helpLineLit(), help);

    // With the overlay off the notice is shown all the same.
    Loader.overlayOn = 0;
    Settle();
    EXPECT_EQ(helpLineLit(), 0);
    ReportFailure("cannot enter %s", "x");
    RunPass();
    EXPECT_EQ(helpLineLit(), notice);
}

}  // namespace
