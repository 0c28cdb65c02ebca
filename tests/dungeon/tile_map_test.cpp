// The tile map against the frame it draws: tile and sprite geometry, the keyed copy, pick
// areas, hit-point bars and captions, and the pictures and cells that must draw nothing.
#include <cmath>
#include <limits>

#include "dungeon/dungeon_fixture.h"

namespace {

constexpr int FLOOR_SLOT = 119, SPRITE_SLOT = 400;
constexpr std::uint8_t BACKGROUND = 77;

class TileMapTest : public DungeonTest {
  protected:
    void SetUp() override {
        DungeonTest::SetUp();
        CreateImageSlots();
        ViewX = ViewY = ViewLevel = 0;
        SelectedUnit = 1;
        std::memset(Framebuffer, BACKGROUND, 320 * 240 * 4);
        std::memset(PickBuffer, 0, 320 * 240 * 4);
        MakePicture(FLOOR_SLOT, 16, 16);
    }
    void TearDown() override {
        ReleaseImageSlots();
        DungeonTest::TearDown();
    }

    // A picture whose pixel (c, r) is (c * 10 + 1, r * 10 + 1, slot % 200 + 1): never a key.
    static void MakePicture(int slot, int width, int height) {
        ImageSlot& s = ImageSlots[slot];
        std::free(s.pixels);
        s.pixels = static_cast<std::uint8_t*>(std::malloc(std::size_t(width) * height * 3));
        s.width = width, s.height = height, s.channels = 3;
        for (int r = 0; r < height; ++r)
            for (int c = 0; c < width; ++c) {
                std::uint8_t* p = s.pixels + (std::size_t(r) * width + c) * 3;
                p[0] = std::uint8_t(c * 10 + 1), p[1] = std::uint8_t(r * 10 + 1);
                p[2] = std::uint8_t(slot % 200 + 1);
            }
    }
    static void SetPicturePixel(int slot, int c, int r, int red, int green, int blue) {
        ImageSlot& s = ImageSlots[slot];
        std::uint8_t* p = s.pixels + (std::size_t(r) * s.width + c) * 3;
        p[0] = std::uint8_t(red), p[1] = std::uint8_t(green), p[2] = std::uint8_t(blue);
    }
    static const std::uint8_t* Px(int x, int y) { return Framebuffer + 4 * (y * 320 + x); }
    static bool Untouched(int x, int y) {
        const std::uint8_t* p = Px(x, y);
        return p[0] == BACKGROUND && p[1] == BACKGROUND && p[2] == BACKGROUND && p[3] == BACKGROUND;
    }
    // Whether (x, y) shows picture pixel (c, r) of `slot`.
    static bool Shows(int x, int y, int slot, int c, int r) {
        const std::uint8_t* p = Px(x, y);
        return p[0] == c * 10 + 1 && p[1] == r * 10 + 1 && p[2] == slot % 200 + 1 && p[3] == 255;
    }
    static int UntouchedCount() {
        int n = 0;
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x) n += Untouched(x, y);
        return n;
    }
    static std::array<int, 3> Colour(int x, int y) {
        return {Px(x, y)[0], Px(x, y)[1], Px(x, y)[2]};
    }
    static int Pick(int x, int y) { return PickBuffer[y * 320 + x]; }

    static UnitRecord& PlaceUnit(int index, int x, int y, int level) {
        UnitRecord& u = UnitTable[index];
        u.inUse = 1, u.destroyed = 0, u.kind = KIND_UNIT;
        u.x = std::uint16_t(x), u.y = std::uint16_t(y), u.level = std::uint16_t(level);
        u.sprite = SPRITE_SLOT;
        u.maxHitPoints = u.hitPoints = 10;
        return u;
    }
};

TEST_F(TileMapTest, TilesSitAtTheirCellsAndCellsWithoutPictureKeepTheFrame) {
    ViewX = 10, ViewY = 20, ViewLevel = 5;
    At(10 + 3, 20 + 2, 5) = 60;    // floor, picture in slot 119
    At(10 + 19, 20 + 14, 5) = 60;  // the last visible column and row
    At(10 + 5, 20 + 5, 5) = 160;   // a code without a picture
    At(10 + 4, 20 + 2, 4) = 60;    // another level
    DrawTileMap();
    for (int r : {0, 7, 15})
        for (int c : {0, 9, 15}) {
            EXPECT_TRUE(Shows(48 + c, 32 + r, FLOOR_SLOT, c, r)) << c << "," << r;
            EXPECT_TRUE(Shows(304 + c, 224 + r, FLOOR_SLOT, c, r)) << c << "," << r;
        }
    EXPECT_EQ(UntouchedCount(), 320 * 240 - 2 * 256);
}

TEST_F(TileMapTest, EmptyLevelDrawsNothing) {
    ViewLevel = 3;
    DrawTileMap();
    EXPECT_EQ(UntouchedCount(), 320 * 240);
}

TEST_F(TileMapTest, CellsBeyondTheMapAreNotRead) {
    const int W = MAP_WIDTH;
    At(0, 101, 7) = 60;      // would show at column 5 if the row ran on into the next
    At(W - 1, 100, 7) = 60;  // column 4: inside
    ViewX = W - 5, ViewY = 100, ViewLevel = 7;
    DrawTileMap();
    EXPECT_TRUE(Shows(64, 0, FLOOR_SLOT, 0, 0));
    EXPECT_EQ(UntouchedCount(), 320 * 240 - 256);

    std::memset(Framebuffer, BACKGROUND, 320 * 240 * 4);
    ViewX = -3, ViewY = W - 2, ViewLevel = LEVEL_COUNT - 1;  // past the grid's last byte
    At(0, W - 1, LEVEL_COUNT - 1) = 60;
    DrawTileMap();
    EXPECT_TRUE(Shows(48, 16, FLOOR_SLOT, 0, 0));
    EXPECT_EQ(UntouchedCount(), 320 * 240 - 256);

    for (int level : {-1, LEVEL_COUNT}) {
        ViewLevel = level, ViewX = ViewY = 0;
        DrawTileMap();
        EXPECT_EQ(UntouchedCount(), 320 * 240 - 256);
    }
}

TEST_F(TileMapTest, PicturesThatCannotBeDrawnWhole) {
    DrawTile(0, 0, -1);
    DrawTile(0, 0, SLOT_COUNT);
    DrawTile(0, 0, 1 << 30);
    DrawTile(0, 0, 500);  // a slot without pixels
    ImageSlots[501].width = ImageSlots[501].height = 16, ImageSlots[501].channels = 3;
    DrawTileKeyed(0, 0, 501);  // a truncated picture: size but no pixels
    EXPECT_EQ(UntouchedCount(), 320 * 240);

    MakePicture(502, 16, 4);  // wider than high: only its four rows
    DrawTile(100, 100, 502);
    EXPECT_TRUE(Shows(115, 103, 502, 15, 3));
    EXPECT_TRUE(Untouched(100, 104));
    MakePicture(503, 4, 16);  // higher than wide: a 4 x 4 square
    DrawTile(200, 100, 503);
    EXPECT_TRUE(Shows(203, 103, 503, 3, 3));
    EXPECT_TRUE(Untouched(204, 100));
    EXPECT_TRUE(Untouched(200, 104));
    EXPECT_EQ(UntouchedCount(), 320 * 240 - 64 - 16);

    // Half outside the frame: the rest is clipped, nothing wraps to the other side.
    DrawTile(-8, 232, FLOOR_SLOT);
    EXPECT_TRUE(Shows(0, 232, FLOOR_SLOT, 8, 0));
    EXPECT_TRUE(Shows(7, 239, FLOOR_SLOT, 15, 7));
    EXPECT_EQ(UntouchedCount(), 320 * 240 - 64 - 16 - 64);
}

TEST_F(TileMapTest, KeyedCopySkipsKeyAndBlack) {
    SetPicturePixel(FLOOR_SLOT, 2, 3, 255, 0, 246);
    SetPicturePixel(FLOOR_SLOT, 4, 5, 0, 0, 0);
    SetPicturePixel(FLOOR_SLOT, 6, 7, 255, 0, 229);  // the scene's key is not this one
    DrawTileKeyed(32, 48, FLOOR_SLOT);
    EXPECT_TRUE(Untouched(34, 51));
    EXPECT_TRUE(Untouched(36, 53));
    EXPECT_EQ(Colour(38, 55), (std::array<int, 3>{255, 0, 229}));
    EXPECT_EQ(UntouchedCount(), 320 * 240 - 254);
    DrawTile(32, 48, FLOOR_SLOT);
    EXPECT_EQ(Colour(36, 53), (std::array<int, 3>{0, 0, 0}));
}

TEST_F(TileMapTest, PickAreaIsOneRowAboveThePicture) {
    MakePicture(SPRITE_SLOT, 16, 12);
    StampTilePickId(40, 60, SPRITE_SLOT, 777);
    EXPECT_EQ(Pick(40, 61), 777);
    EXPECT_EQ(Pick(55, 72), 777);
    EXPECT_EQ(Pick(40, 60), 0);
    EXPECT_EQ(Pick(56, 61), 0);
    EXPECT_EQ(Pick(40, 73), 0);
    int marked = 0;
    for (int i = 0; i < 320 * 240; ++i) marked += PickBuffer[i] == 777;
    EXPECT_EQ(marked, 16 * 12);
    StampTilePickId(310, 235, SPRITE_SLOT, 5);  // clipped at the frame's corner
    StampTilePickId(0, 0, -4, 6);
    marked = 0;
    for (int i = 0; i < 320 * 240; ++i) marked += PickBuffer[i] == 5 || PickBuffer[i] == 6;
    EXPECT_EQ(marked, 10 * 4);
}

TEST_F(TileMapTest, UnitSpritePickIdBarAndCaption) {
    MakePicture(SPRITE_SLOT, 16, 16);
    ViewX = 100, ViewY = 50, ViewLevel = 2;
    UnitRecord& u = PlaceUnit(42, 100 + 19, 50 + 3, 2);  // the last visible column
    u.hitPoints = 5;                                     // half: 7 pixels
    u.moveState = 1;
    DrawTileMap();
    const int sx = 19 * 16, sy = 3 * 16;
    EXPECT_TRUE(Shows(sx + 15, sy + 15, SPRITE_SLOT, 15, 15));
    EXPECT_EQ(Pick(sx, sy + 1), 10042);
    EXPECT_EQ(Pick(sx + 15, sy + 16), 10042);
    EXPECT_EQ(Pick(sx, sy), 0);
    // The caption hangs down from row sy + 17 over the bar: the bar shows where it does not.
    const std::array<int, 3> green{0, 255, 0}, red{255, 0, 0}, white{255, 255, 255};
    int greens = 0, reds = 0;
    for (int x = sx; x <= sx + 14; ++x) {
        std::array<int, 3> c = Colour(x, sy + 16);
        if (c == white) continue;
        EXPECT_EQ(c, x <= sx + 7 ? green : red) << x;
        greens += c == green, reds += c == red;
    }
    EXPECT_GT(greens, 0);
    EXPECT_GT(reds, 0);
    EXPECT_TRUE(Untouched(sx + 15, sy + 16) || Colour(sx + 15, sy + 16) == white);
    int captionPixels = 0;
    for (int y = sy; y <= sy + 17; ++y)
        for (int x = sx; x < 320; ++x) captionPixels += Colour(x, y) == white;
    EXPECT_GT(captionPixels, 3);
}

TEST_F(TileMapTest, HitPointBarStaysWithinFourteenPixels) {
    EXPECT_EQ(HitPointBarLength(10, 10), 14);
    EXPECT_EQ(HitPointBarLength(5, 10), 7);
    EXPECT_EQ(HitPointBarLength(100, 10), 14);
    EXPECT_EQ(HitPointBarLength(-3, 10), 0);
    EXPECT_EQ(HitPointBarLength(5, 0), 0);
    EXPECT_EQ(HitPointBarLength(5, -1), 0);
    EXPECT_EQ(HitPointBarLength(std::numeric_limits<float>::quiet_NaN(), 10), 0);
    EXPECT_EQ(HitPointBarLength(5, std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(HitPointBarLength(std::numeric_limits<float>::infinity(), 10), 14);

    MakePicture(SPRITE_SLOT, 16, 16);
    UnitRecord& over = PlaceUnit(7, 2, 2, 0);
    over.hitPoints = 1e30f;
    UnitRecord& purple = PlaceUnit(8, 5, 2, 0);
    purple.statusMark = 3;
    DrawTileMap();
    EXPECT_EQ(Colour(32 + 14, 48), (std::array<int, 3>{0, 255, 0}));
    EXPECT_TRUE(Untouched(32 + 15, 48));  // a bar never runs into the next tile
    EXPECT_EQ(Colour(80 + 14, 48), (std::array<int, 3>{96, 44, 136}));
}

TEST_F(TileMapTest, OnlyLiveUnitsOfTheShownLevelAndKindsAreDrawn) {
    MakePicture(SPRITE_SLOT, 16, 16);
    ViewLevel = 1;
    PlaceUnit(10, 1, 1, 2);                // another level
    PlaceUnit(11, 2, 1, 1).destroyed = 1;  // destroyed
    PlaceUnit(12, 3, 1, 1).kind = 2;       // neither unit, town nor well
    PlaceUnit(13, 20, 1, 1);               // just right of the visible columns
    PlaceUnit(14, 4, 15, 1);               // just above the visible rows
    PlaceUnit(15, 5, 1, 1).inUse = 0;
    PlaceUnit(16, 6, 1, 1).sprite = -1;  // no picture: bar and caption only
    PlaceUnit(17, 7, 1, 1).kind = KIND_WELL;
    DrawTileMap();
    for (int i = 0; i < 320 * 240; ++i) {
        int id = PickBuffer[i];
        ASSERT_TRUE(id == 0 || id == 10017) << id << " at " << i;
    }
    EXPECT_EQ(Colour(6 * 16 + 14, 32), (std::array<int, 3>{0, 255, 0}));  // unit 16's bar
    EXPECT_TRUE(Untouched(6 * 16 + 8, 16));
    for (int x : {16, 32, 48, 80})
        for (int y = 16; y < 48; ++y) ASSERT_TRUE(Untouched(x + 1, y)) << x << "," << y;
}

TEST_F(TileMapTest, SelectedUnitShowsItsPathRingAndMarker) {
    BuildTrigTables();
    PathFinder = CreatePathFinder();
    MakePicture(PATH_MARKER_SLOT, 16, 16);
    UnitRecord& u = PlaceUnit(1, 3, 3, 9);  // not the shown level: still marked
    u.kind = 2;                             // and not drawn as a unit
    DrawTileMap();
    EXPECT_TRUE(Shows(48, 48, PATH_MARKER_SLOT, 0, 0));
    EXPECT_EQ(UntouchedCount(), 320 * 240 - 256);  // the ring of 448 lies outside the frame

    const long long row = 1LL * PATH_ROW;
    PathFinder->pathX[row + 0] = 6, PathFinder->pathY[row + 0] = 3;
    PathFinder->pathX[row + 1] = 5, PathFinder->pathY[row + 1] = 3;
    PathFinder->pathX[row + 2] = 4, PathFinder->pathY[row + 2] = 3;
    PathFinder->pathIndex[1] = 1;  // steps onto (5, 3) next, then (6, 3)
    DrawTileMap();
    EXPECT_TRUE(Shows(80, 48, PATH_MARKER_SLOT, 0, 0));
    EXPECT_TRUE(Shows(96, 48, PATH_MARKER_SLOT, 0, 0));
    EXPECT_TRUE(Untouched(64, 48));
    PathFinder->pathIndex[1] = 1 << 30;  // a broken index reads no other unit's row
    DrawTileMap();
    ReleasePathFinder(PathFinder);
    PathFinder = nullptr;
}

TEST(ImageSlotTable, ResizeGivesEmptySlotsOfTheNewCount) {
    const int saved = SLOT_COUNT;
    CreateImageSlots();
    ImageSlots[5].pixels = static_cast<std::uint8_t*>(std::malloc(12));
    ImageSlots[5].width = 2;
    ResizeImageSlots(40);
    EXPECT_EQ(SLOT_COUNT, 40);
    EXPECT_EQ(ImageSlotCount(), 40);
    EXPECT_EQ(ImageSlots[5].pixels, nullptr);
    EXPECT_EQ(ImageSlots[39].width, 0);
    ResizeImageSlots(-1);
    EXPECT_EQ(ImageSlotCount(), 40);
    ReleaseImageSlots();
    SLOT_COUNT = saved;
}

}  // namespace
