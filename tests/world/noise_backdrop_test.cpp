// The noise backdrop: a new picture every 50 passes, the same picture shown in between,
// the circles' colours and places from the random sequence, and a frame without pixels.
#include "support/frame_fixture.h"

namespace {

class NoiseBackdrop : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        BuildTrigTables();
        UseFrame(200, 150);
    }
    void TearDown() override {
        ReleaseTrigTables();
        FrameTest::TearDown();
    }
    static std::vector<std::uint8_t> Copy(const std::uint8_t* buffer) {
        return std::vector<std::uint8_t>(buffer, buffer + 200 * 150 * 4);
    }
};

TEST_F(NoiseBackdrop, RegeneratesEveryFiftyPassesAndShowsTheSamePictureBetween) {
    SeedRandom(11);
    AppState.passCount = 100;
    DrawNoiseBackdrop();
    std::vector<std::uint8_t> picture = Copy(SavedFrame);
    EXPECT_EQ(Copy(Framebuffer), picture);
    int blueOnly = 0, bluest = 0;
    for (int i = 0; i < 200 * 150; ++i) {
        const std::uint8_t* p = SavedFrame + 4 * i;
        EXPECT_EQ(p[3], 255);
        if (p[0] == 0 && p[1] == 0) ++blueOnly;
        bluest = std::max<int>(bluest, p[2]);
    }
    EXPECT_GT(blueOnly, 200 * 150 * 9 / 10);  // noise everywhere but on the circles
    EXPECT_GT(bluest, 200);

    // Passes between regenerations draw no random numbers and show the kept picture, with
    // whatever else was drawn into it meanwhile.
    PutSavedPixel(5, 5, 1, 2, 3);
    picture = Copy(SavedFrame);
    int next = Random();
    SeedRandom(11);
    for (int i = 0; i < 200 * 150 + 4 * 5; ++i) Random();
    ASSERT_EQ(Random(), next);  // the regeneration drew exactly its pixels and five per circle
    for (int pass : {101, 125, 149}) {
        AppState.passCount = pass;
        std::memset(Framebuffer, 0, 200 * 150 * 4);
        DrawNoiseBackdrop();
        EXPECT_EQ(Copy(Framebuffer), picture) << pass;
    }
    EXPECT_EQ(Rgb(5, 5), (std::array<int, 3>{1, 2, 3}));
    int afterPasses = Random();
    SeedRandom(11);
    for (int i = 0; i < 200 * 150 + 4 * 5 + 1; ++i) Random();
    EXPECT_EQ(Random(), afterPasses);

    AppState.passCount = 150;
    DrawNoiseBackdrop();
    EXPECT_NE(Copy(SavedFrame), picture);
    EXPECT_NE(Rgb(5, 5), (std::array<int, 3>{1, 2, 3}));
}

TEST_F(NoiseBackdrop, CirclesTakeColourAndCentreFromTheSequenceInOrder) {
    // Replay the sequence: the pixels' blues, then blue, green, red, row and column of each
    // circle. The last circle's rightmost point shows its colour; the radius is width / 5.
    SeedRandom(3);
    for (int i = 0; i < 200 * 150; ++i) Random();
    int blue = 0, green = 0, red = 0, row = 0, column = 0;
    for (int c = 0; c < 4; ++c) {
        blue = Random() % 255;
        green = Random() % 255;
        red = Random() % 255;
        row = Random() % 150;
        column = Random() % 200;
    }
    SeedRandom(3);
    AppState.passCount = 0;
    DrawNoiseBackdrop();
    int x = column + 40 < 200 ? column + 40 : column - 40;
    EXPECT_EQ(Rgb(x, row), (std::array<int, 3>{red, green, blue}));
}

TEST_F(NoiseBackdrop, FrameWithoutPixelsIsLeftAlone) {
    ReleaseFrameBuffers();
    AppState = AppStateRecord{};
    SeedRandom(5);
    DrawNoiseBackdrop();
    AppState.frameWidth = 10;  // a width alone is no frame either
    DrawNoiseBackdrop();
    int next = Random();
    SeedRandom(5);
    EXPECT_EQ(Random(), next);
}

}  // namespace
