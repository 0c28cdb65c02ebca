// Pixel writes, lines, rectangles and circles against their exact pixel sequences.
#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "support/frame_fixture.h"

namespace {

using Points = std::set<std::pair<int, int>>;

Points LitPoints() {
    Points points;
    for (int y = 0; y < AppState.frameHeight; ++y)
        for (int x = 0; x < AppState.frameWidth; ++x)
            if (Framebuffer[4 * (y * AppState.frameWidth + x) + 3]) points.insert({x, y});
    return points;
}

class Primitives : public FrameTest {};

TEST_F(Primitives, PixelWritesClipAndKeepLowBits) {
    int w = AppState.frameWidth, h = AppState.frameHeight;
    // Just outside each edge of each buffer: nothing inside changes, nothing beside it either.
    for (auto [x, y] : {std::pair{w, 0}, {0, h}, {-1, 5}, {5, -1}, {w - 1, h}, {0, -1}}) {
        PutPixel(x, y, 1, 2, 3);
        PutSavedPixel(x, y, 1, 2, 3);
        PutPickId(x, y, 99);
    }
    EXPECT_EQ(FrameGuardsIntact(), 1);
    EXPECT_EQ(LitCount(), 0);

    PutPixel(0, 0, 300, 7, -1);
    EXPECT_EQ(Framebuffer[0], 44);
    EXPECT_EQ(Framebuffer[1], 7);
    EXPECT_EQ(Framebuffer[2], 255);
    EXPECT_EQ(Framebuffer[3], 255);

    PutPixel(w - 1, h - 1, 1, 2, 3);
    EXPECT_EQ(Rgb(w - 1, h - 1), (std::array<int, 3>{1, 2, 3}));

    PutSavedPixel(3, 2, 9, 8, 7);
    EXPECT_EQ(Pixel(SavedFrame, 3, 2)[0], 9);
    EXPECT_FALSE(Lit(3, 2));
    int saved = 0;
    for (int i = 0; i < w * h; ++i) saved += SavedFrame[4 * i + 3] != 0;
    EXPECT_EQ(saved, 1);

    PutPickId(4, 5, 12345);
    EXPECT_EQ(PickBuffer[5 * w + 4], 12345);
    int ids = 0;
    for (int i = 0; i < w * h; ++i) ids += PickBuffer[i] != 0;
    EXPECT_EQ(ids, 1);
}

TEST_F(Primitives, IntegerLineTakesItsMinorStepsLate) {
    DrawLine(0, 0, 4, 1, 255, 255, 255);
    EXPECT_EQ(LitPoints(), (Points{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 1}}));
    UseFrame(64, 48);
    DrawLine(0, 0, 1, 4, 255, 255, 255);
    EXPECT_EQ(LitPoints(), (Points{{0, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 4}}));
    UseFrame(64, 48);
    DrawLine(3, 3, 0, 0, 255, 255, 255);
    EXPECT_EQ(LitPoints(), (Points{{3, 3}, {2, 2}, {1, 1}, {0, 0}}));
    UseFrame(64, 48);
    DrawLine(7, 9, 7, 9, 255, 255, 255);
    EXPECT_EQ(LitPoints(), (Points{{7, 9}}));
}

TEST_F(Primitives, LinesWhoseEndsMoveInOppositeDirectionsStepLateFromTheirStart) {
    // The late minor step makes a line differ from the same line drawn from its other end,
    // so each of these would show a line drawn backwards.
    const struct {
        int x0, y0, x1, y1;
        Points points;
    } cases[] = {
        {1, 0, 0, 4, {{1, 0}, {1, 1}, {1, 2}, {1, 3}, {0, 4}}},
        {0, 4, 1, 0, {{0, 4}, {0, 3}, {0, 2}, {0, 1}, {1, 0}}},
        {4, 0, 0, 1, {{4, 0}, {3, 0}, {2, 0}, {1, 0}, {0, 1}}},
        {0, 1, 4, 0, {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 0}}},
    };
    for (const auto& c : cases) {
        UseFrame(64, 48);
        DrawLine(c.x0, c.y0, c.x1, c.y1, 255, 255, 255);
        EXPECT_EQ(LitPoints(), c.points) << c.x0 << "," << c.y0 << " to " << c.x1 << "," << c.y1;
    }
    // A longer steep one: x falls one column on every third row, the last on the end row.
    UseFrame(64, 48);
    DrawLine(30, 24, 23, 44, 255, 255, 255);
    const int columnOfRow[21] = {30, 30, 29, 29, 29, 28, 28, 28, 27, 27, 27,
                                 26, 26, 26, 25, 25, 25, 24, 24, 24, 23};
    Points want;
    for (int k = 0; k < 21; ++k) want.insert({columnOfRow[k], 24 + k});
    EXPECT_EQ(LitPoints(), want);
}

TEST_F(Primitives, LinesEndOnTheirLastPointAndClip) {
    // Every direction ends exactly at (x1, y1) with |major| + 1 points.
    const int ends[][2] = {{20, 7}, {-20, 7}, {20, -7}, {-20, -7}, {7, 20}, {-7, -20}};
    for (auto& end : ends) {
        UseFrame(64, 48);
        DrawLine(30, 24, 30 + end[0], 24 + end[1], 1, 1, 1);
        EXPECT_TRUE(Lit(30 + end[0], 24 + end[1]));
        EXPECT_EQ(LitCount(), std::max(std::abs(end[0]), std::abs(end[1])) + 1);
    }
    UseFrame(64, 48);
    DrawLine(-10, 5, 10, 5, 1, 1, 1);  // half outside: only the inside half shows
    EXPECT_EQ(LitCount(), 11);
}

TEST_F(Primitives, RectangleIsAnOutline) {
    DrawRect(2, 3, 6, 8, 255, 255, 255);
    EXPECT_EQ(LitCount(), 2 * 5 + 2 * 4);
    EXPECT_FALSE(Lit(4, 5));
    UseFrame(64, 48);
    DrawRect(5, 1, 5, 9, 255, 255, 255);  // x0 = x1: a vertical line
    EXPECT_EQ(LitPoints().size(), 9u);
    for (auto [x, y] : LitPoints()) EXPECT_EQ(x, 5);
}

TEST_F(Primitives, RealLineTruncatesTowardZero) {
    DrawLineF(1.7, 2.2, 5.9, 2.9, 255, 255, 255);
    EXPECT_EQ(LitPoints(), (Points{{1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}}));
    UseFrame(64, 48);
    DrawLineF(3.5, 3.5, 3.5, 3.5, 255, 255, 255);
    EXPECT_EQ(LitPoints(), (Points{{3, 3}}));
    UseFrame(64, 48);
    DrawLineF(10, 10, 10, 20, 255, 255, 255);
    EXPECT_EQ(LitPoints().size(), 11u);
}

TEST_F(Primitives, CircleStartsBelowTheCentreAndNeverLoopsOnBadRadius) {
    UseFrame(200, 200);
    DrawCircle(100, 100, 40, 255, 255, 255);
    EXPECT_TRUE(Lit(100, 60));
    for (auto [x, y] : LitPoints()) {
        double d = std::hypot(x - 100.0, y - 100.0);
        EXPECT_NEAR(d, 40.0, 1.5);
    }
    UseFrame(200, 200);
    DrawCircle(50, 60, 0, 255, 255, 255);
    EXPECT_EQ(LitPoints(), (Points{{50, 60}}));
    UseFrame(200, 200);
    DrawCircle(50, 60, -5, 255, 255, 255);
    EXPECT_EQ(LitPoints(), (Points{{50, 60}}));
    for (double radius : {HUGE_VAL, std::nan("")}) {
        UseFrame(200, 200);
        DrawCircle(50, 60, radius, 255, 255, 255);
        EXPECT_EQ(LitPoints(), (Points{{50, 60}}));
    }
}

TEST_F(Primitives, TableCirclesNeedTheTablesAndMirrorExactly) {
    ReleaseTrigTables();
    UseFrame(200, 200);
    DrawCircleTable(100, 100, 30, 255, 255, 255);
    DrawSavedCircleTable(100, 100, 30, 255, 255, 255);
    EXPECT_EQ(LitCount(), 0);

    BuildTrigTables();
    DrawCircleTable(100, 100, 30, 255, 255, 255);
    Points points = LitPoints();
    ASSERT_FALSE(points.empty());
    EXPECT_TRUE(points.count({100, 70}));
    for (auto [x, y] : points) EXPECT_TRUE(points.count({200 - x, y}));

    // Where the angle step divides 180 exactly, the walk ends on 180 degrees: the circle's top.
    for (int radius : {25, 50, 100}) {
        UseFrame(240, 240);
        DrawCircleTable(120, 120, radius, 255, 255, 255);
        DrawSavedCircleTable(120, 120, radius, 255, 255, 255);
        EXPECT_TRUE(Lit(120, 120 - radius)) << radius;
        EXPECT_TRUE(Lit(120, 120 + radius)) << radius;
        EXPECT_EQ(Pixel(SavedFrame, 120, 120 + radius)[3], 255) << radius;
    }

    // A radius above 9999 draws as 9999: the same points as the clamped call.
    UseFrame(200, 200);
    DrawCircleTable(100, 10000, 20000, 255, 255, 255);
    Points clamped = LitPoints();
    UseFrame(200, 200);
    DrawCircleTable(100, 10000, 9999, 255, 255, 255);
    EXPECT_EQ(LitPoints(), clamped);
    EXPECT_FALSE(clamped.empty());

    // A radius that is not a number draws as radius 0: the centre alone.
    UseFrame(200, 200);
    DrawCircleTable(40, 50, std::nan(""), 255, 255, 255);
    EXPECT_EQ(LitPoints(), (Points{{40, 50}}));

    UseFrame(200, 200);
    DrawSavedCircleTable(100, 100, 30, 255, 255, 255);
    EXPECT_EQ(LitCount(), 0);
    EXPECT_EQ(Pixel(SavedFrame, 100, 70)[3], 255);
}

TEST(TrigTables, SpotValuesAndBuildOnce) {
    BuildTrigTables();
    float* first = SinTable;
    BuildTrigTables();
    EXPECT_EQ(SinTable, first);
    EXPECT_FLOAT_EQ(SinTable[0], 0.0f);
    EXPECT_FLOAT_EQ(CosTable[0], 1.0f);
    EXPECT_NEAR(SinTable[90000], 1.0f, 1e-7);
    EXPECT_NEAR(CosTable[180000], -1.0f, 1e-7);
    EXPECT_NEAR(SinTable[30000], 0.5f, 1e-7);
    // The short pi shows in the last digits: sin(180 degrees) is not exactly zero.
    EXPECT_FLOAT_EQ(SinTable[180000], float(std::sin(180.0 * DEG_TO_RAD)));
    EXPECT_GT(SinTable[180000], 0.0f);
    EXPECT_FLOAT_EQ(SinTable[TRIG_TABLE_SIZE - 1], float(std::sin(3599.999 * DEG_TO_RAD)));
}

// Filled in chunks on a helper and this thread, the tables hold exactly what one loop over a
// single-precision angle gives, every entry of both.
TEST(TrigTables, SharedFillingMatchesOneLoop) {
    ReleaseTrigTables();
    BeginTrigTables();
    BuildTrigTables();  // start-up's InitGameData meanwhile: leaves the filling to go on
    FinishTrigTables();
    ASSERT_NE(SinTable, nullptr);
    int wrong = 0;
    for (float a = 0; a < float(TRIG_TABLE_SIZE); a += 1.0f) {
        int i = int(a);
        double radians = double(a) * DEG_TO_RAD / 1000.0;
        wrong += SinTable[i] != float(std::sin(radians)) || CosTable[i] != float(std::cos(radians));
    }
    EXPECT_EQ(wrong, 0);
    ReleaseTrigTables();
    BuildTrigTables();
    EXPECT_EQ(SinTable[TRIG_TABLE_SIZE - 1], float(std::sin(3599999.0 * DEG_TO_RAD / 1000.0)));
}

}  // namespace
