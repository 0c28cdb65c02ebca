// The three views: list label placement and colours (seen through a label recorder),
// thumbnail cells, sampling and pick ids, and the full view's placement and clipping.
#include <cmath>
#include <string>
#include <tuple>

#include "support/frame_fixture.h"
#include "support/picture_files.h"

namespace {

struct Label {
    std::string text;
    int x, y, r, g, b, id;
};
std::vector<Label> Labels;

void RecordPickText(int x, int y, int r, int g, int b, int id) {
    Labels.push_back({TextBuffer, x, y, r, g, b, id});
}
void RecordText(int x, int y, int r, int g, int b) {
    RecordPickText(x, y, r, g, b, 0);
}

class ViewTest : public FrameTest {
  protected:
    TempFolder folder;
    KeepCurrentFolder keep;

    void SetUp() override {
        UseFrame(960, 540);
        fake.rect = {0, 0, 1920, 1080};
        AllocateEntryTable();
        AllocateImageStore();
        Loader.pixels = ImageStore;
        Loader.SetColourKey(1, 0, 0, 0);
        Loader.zoomStep = 4.0f;
        FullViewBlank = 0;
        AppState.resolutionMode = RESOLUTION_HALF;
        AppState.pixelScale = 2;
        AppState.screenHeight = 1080;
        AppState.cellWidth = AppState.cellHeight = 140;
        AppState.pageFirst = 1;
        std::snprintf(AppState.startFolder, FOLDER_CAPACITY, "%s",
                      platform::CurrentFolder().c_str());
        std::snprintf(AppState.browseFolder, FOLDER_CAPACITY, "%s", folder.Path().c_str());
        Labels.clear();
        ListLabelText = RecordPickText;
        ThumbnailLabelText = RecordText;
        ThumbnailCacheRoot.clear();  // no cache unless a test keeps one
        WritePendingThumbnail();     // drops what an earlier test left waiting
    }
    void TearDown() override {
        ThumbnailCacheRoot.clear();
        ListLabelText = DrawPickText;
        ThumbnailLabelText = DrawText;
        FrameTest::TearDown();
    }

    static int Pick(int x, int y) { return PickBuffer[y * AppState.frameWidth + x]; }
    // Bounding box and count of the pixels carrying `id`.
    struct Box {
        int count = 0, left = 1 << 30, bottom = 1 << 30, right = -1, top = -1;
    };
    static Box PickBox(int id) {
        Box box;
        for (int y = 0; y < AppState.frameHeight; ++y)
            for (int x = 0; x < AppState.frameWidth; ++x)
                if (Pick(x, y) == id) {
                    box.count++;
                    box.left = std::min(box.left, x);
                    box.right = std::max(box.right, x);
                    box.bottom = std::min(box.bottom, y);
                    box.top = std::max(box.top, y);
                }
        return box;
    }
    static void SetEntries(int count) {
        for (int k = 1; k <= count; ++k) {
            std::snprintf(EntryTable.names[k], ENTRY_NAME_SIZE, "entry_%03d_with_a_long_name_%s", k,
                          std::string(60, 'x').c_str());
            EntryTable.kinds[k] = k % 2;
        }
        EntryTable.count = count;
    }
};

TEST_F(ViewTest, ListColumnsBreakWhereTheFrameEnds) {
    SetEntries(100);
    AppState.selectedEntry = 62;
    DrawListView();
    ASSERT_EQ(Labels.size(), 100u);
    EXPECT_EQ(AppState.labelChars, 36);
    // (540 - 60) / 8 = 60 rows: entries 1 to 60 in column 0, 61 on in column 1.
    EXPECT_EQ(Labels[0].x, 10);
    EXPECT_EQ(Labels[0].y, 540 - 26 - 8);
    EXPECT_EQ(Labels[59].x, 10);
    EXPECT_EQ(Labels[59].y, 540 - 26 - 8 * 60);
    EXPECT_EQ(Labels[60].x, 5 * 36 + 10);
    EXPECT_EQ(Labels[60].y, 540 - 26 - 8);
    EXPECT_EQ(Labels[60].id, PICK_LIST_BASE + 61);
    // Column 0 shows the whole name, later columns cut it to labelChars.
    EXPECT_EQ(Labels[0].text, EntryTable.names[1]);
    EXPECT_EQ(Labels[60].text, std::string(EntryTable.names[61]).substr(0, 36));
    // Selected red even when a folder; folders yellow; files green.
    EXPECT_EQ((std::array<int, 3>{Labels[61].r, Labels[61].g, Labels[61].b}),
              (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(EntryTable.kinds[62], 0);
    EXPECT_EQ((std::array<int, 3>{Labels[1].r, Labels[1].g, Labels[1].b}),
              (std::array<int, 3>{255, 255, 0}));
    EXPECT_EQ((std::array<int, 3>{Labels[0].r, Labels[0].g, Labels[0].b}),
              (std::array<int, 3>{0, 255, 0}));

    // Scrolled and shifted; the label width follows the frame width at the 1280 setting.
    Labels.clear();
    UseFrame(320, 240);
    AppState.resolutionMode = RESOLUTION_1280;
    AppState.pixelScale = 2;
    AppState.listTop = 95;
    AppState.viewOffsetX = 7;
    DrawListView();
    ASSERT_EQ(Labels.size(), 5u);
    EXPECT_EQ(AppState.labelChars, 6);
    EXPECT_EQ(Labels[0].id, PICK_LIST_BASE + 96);
    EXPECT_EQ(Labels[0].x, 17);
    AppState.resolutionMode = RESOLUTION_FULL;
    DrawListView();
    EXPECT_EQ(AppState.labelChars, 64);
}

TEST_F(ViewTest, ListLabelsCarryTheirPickIdsWhereTheyAreDrawn) {
    ListLabelText = DrawPickText;
    SetEntries(100);
    AppState.selectedEntry = 61;
    DrawListView();
    // Entry 61 heads the second column: pen at (190, 506), glyph cells on the rows below,
    // the lowest of them taken by entry 62's cells 8 rows further down.
    Box head = PickBox(PICK_LIST_BASE + 61);
    ASSERT_GT(head.count, 0);
    EXPECT_EQ(head.left, 190);
    EXPECT_EQ(head.top, 505);
    EXPECT_EQ(head.bottom, 498);
    Box first = PickBox(PICK_LIST_BASE + 1);
    EXPECT_EQ(first.left, 10);
    EXPECT_EQ(PickBox(PICK_LIST_BASE + 101).count, 0);
    bool red = false;
    for (int x = head.left; x <= head.right; ++x)
        for (int y = head.bottom; y <= head.top; ++y)
            red = red || Rgb(x, y) == std::array<int, 3>{255, 0, 0};
    EXPECT_TRUE(red);
}

TEST_F(ViewTest, ThumbnailPageCellsSamplingAndPickIds) {
    // Entries: ".", "..", a 280 x 140 picture, a broken JPEG, a text file, then pictures.
    auto pattern = [](int x, int y) { return Rgb8{std::uint8_t(x), std::uint8_t(y), 77}; };
    folder.Write("a_wide.bmp", Bmp24(280, 140, pattern));
    folder.Write("b_broken.jpg", {0xFF, 0xD8, 0xFF, 0xE0});
    folder.Touch("c_notes.txt");
    for (int i = 0; i < 20; ++i)
        folder.Write("d" + std::to_string(100 + i) + ".bmp", Bmp24(8, 8, pattern));
    AppState.thumbnailRedraw = 1;
    AppState.selectedEntry = 9;
    int loads = Loader.loadCount;
    DrawThumbnailPage();
    EXPECT_EQ(AppState.thumbnailRedraw, 0);
    EXPECT_EQ(AppState.selectedEntry, 1);
    EXPECT_EQ(AppState.labelChars, 9);  // 960 is not in the table: unchanged
    ASSERT_EQ(EntryTable.count, 25);

    // 6 x 3 cells, the first at (10, 369), each framed and labelled.
    ASSERT_EQ(Labels.size(), 18u);
    EXPECT_EQ(Labels[0].text, ".");
    EXPECT_EQ(Labels[0].x, 16);
    EXPECT_EQ(Labels[0].y, 369 + 136);
    EXPECT_EQ(Labels[6].x, 16);
    EXPECT_EQ(Labels[6].y, 369 - 140 + 136);
    EXPECT_EQ(Labels[5].x, 10 + 5 * 140 + 6);
    EXPECT_EQ(Labels[17].text, "d112.bmp");
    EXPECT_EQ(Rgb(10, 369), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(Rgb(10 + 141, 369 + 141), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(Rgb(10 + 140, 369 + 140), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(Pick(10, 369), 0);  // frames carry no id

    // The wide picture (entry 3, cell 3) is sampled at step 4 into 140 x 70 pixels.
    int x0 = 10 + 2 * 140, y0 = 369;
    Box wide = PickBox(PICK_THUMBNAIL_BASE + 3);
    EXPECT_EQ(wide.count, 140 * 70);
    EXPECT_EQ(wide.left, x0);
    EXPECT_EQ(wide.bottom, y0);
    EXPECT_EQ(wide.right, x0 + 139);
    EXPECT_EQ(wide.top, y0 + 69);
    EXPECT_EQ(Rgb(x0 + 2 * 10 + 1, y0 + 2 * 7), (std::array<int, 3>{40, 28, 77}));
    EXPECT_EQ(Rgb(x0 + 139, y0 + 69), (std::array<int, 3>{276 - 256, 136, 77}));
    // The broken picture and the text file: frame and label only.
    EXPECT_EQ(PickBox(PICK_THUMBNAIL_BASE + 4).count, 0);
    EXPECT_EQ(PickBox(PICK_THUMBNAIL_BASE + 5).count, 0);
    EXPECT_EQ(Rgb(10 + 3 * 140 + 20, 369 + 20), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(Labels[3].text, "b_broken.j");  // labelChars + 1 characters
    // An 8 x 8 picture is magnified to fill the cell's width.
    Box small = PickBox(PICK_THUMBNAIL_BASE + 6);
    EXPECT_NEAR(small.right - small.left + 1, 140, 2);

    // The store ends holding the page's last picture, classified as the last cell.
    EXPECT_EQ(LoaderInfo.width, 8);
    EXPECT_EQ(LoaderInfo.typeCode, 1);
    EXPECT_EQ(Loader.loadCount, loads + 14);  // every picture that decoded counts once
    EXPECT_EQ(AppState.imageShown, 1);
    EXPECT_EQ(Loader.panFactor, 3);
    EXPECT_STREQ(platform::CurrentFolder().c_str(), AppState.startFolder);
}

TEST_F(ViewTest, ThumbnailOfAReducedJpegKeepsTheFullSizeGrid) {
    SKIP_WITHOUT_JPEG_WRITER();
    // 700 x 500 samples every 10 pixels: 70 x 50 blocks whatever size the decoder chose.
    auto gradient = [](int x, int y) {
        return Rgb8{std::uint8_t(x * 255 / 699), std::uint8_t(y * 255 / 499), 128};
    };
    ASSERT_TRUE(WriteJpeg(folder / "photo.jpg", 700, 500, gradient, 95));
    folder.Touch("z.txt");
    AppState.pageFirst = 3;
    DrawThumbnailPage();
    ASSERT_EQ(Labels.size(), 2u);
    Box box = PickBox(PICK_THUMBNAIL_BASE + 3);
    EXPECT_EQ(box.count, 140 * 100);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.bottom, 369);
    EXPECT_EQ(box.top, 369 + 99);
    for (auto [m, n] : {std::pair{1, 1}, {35, 25}, {69, 49}, {10, 40}}) {
        Rgb8 want = gradient(10 * m, 10 * n);
        auto got = Rgb(10 + 2 * m, 369 + 2 * n);
        EXPECT_NEAR(got[0], want.r, 16) << m << "," << n;
        EXPECT_NEAR(got[1], want.g, 16) << m << "," << n;
        EXPECT_NEAR(got[2], want.b, 16) << m << "," << n;
    }
    // The store holds the full-size decode, while the record classifies the last cell.
    EXPECT_EQ(LoaderInfo.width, 700);
    EXPECT_EQ(LoaderInfo.height, 500);
    EXPECT_EQ(LoaderInfo.typeCode, 0);
    EXPECT_EQ(AppState.imageShown, 0);
    std::vector<std::uint8_t> page(ImageStore, ImageStore + 700 * 500 * 4);
    ASSERT_TRUE(platform::SetCurrentFolder(folder.Path().c_str()));
    ASSERT_EQ(Loader.Load("photo.jpg", LoaderInfo), 1);
    EXPECT_TRUE(std::equal(page.begin(), page.end(), ImageStore));
}

// A camera's picture of each orientation stands upright in its cell and in the full view.
TEST_F(ViewTest, PhotosOfEveryOrientationStandUpright) {
    SKIP_WITHOUT_JPEG_WRITER();
    constexpr std::array<int, 3> RED{255, 0, 0}, GREEN{0, 255, 0};
    auto near = [](std::array<int, 3> got, std::array<int, 3> want) {
        for (int c = 0; c < 3; ++c)
            if (std::abs(got[c] - want[c]) > 24) return false;
        return true;
    };
    for (int o = 1; o <= 8; ++o) {
        SCOPED_TRACE("orientation " + std::to_string(o));
        bool turned = o >= 5;
        int sw = turned ? 140 : 280, sh = turned ? 280 : 140;  // 280 x 140 once upright
        std::string name = "p" + std::to_string(o) + ".jpg";
        ASSERT_TRUE(WriteJpeg(
            folder / name, sw, sh, [&](int x, int y) { return StoredQuadrant(x, y, sw, sh); }, 95,
            o));
        UprightCorners want = CornersOf(o);
        // Middles of the four quadrants of a w x h picture drawn from (x0, y0): top-left first,
        // clockwise.
        auto corner = [](int x0, int y0, int w, int h, int k) {
            int x = x0 + (k == 0 || k == 3 ? w / 4 : w * 3 / 4);
            int y = y0 + (k == 0 || k == 1 ? h * 3 / 4 : h / 4);
            return std::pair{x, y};
        };

        // The cell: this picture alone on its page, 140 x 70 from the first cell's origin.
        int entry = 2 + o;  // after ".", ".." and the pictures of the earlier orientations
        int x0 = 10, y0 = 369;
        AppState.pageFirst = entry;  // this picture in the first cell
        DrawThumbnailPage();
        Box box = PickBox(PICK_THUMBNAIL_BASE + entry);
        EXPECT_EQ(box.right - box.left + 1, 140);
        EXPECT_EQ(box.top - box.bottom + 1, 70);
        auto [rx, ry] = corner(x0, y0, 140, 70, want.red);
        auto [gx, gy] = corner(x0, y0, 140, 70, want.green);
        EXPECT_TRUE(near(Rgb(rx, ry), RED)) << "cell, red";
        EXPECT_TRUE(near(Rgb(gx, gy), GREEN)) << "cell, green";

        // The full view at zoom 2, centred on the cursor: 280 x 140 from (340, 200).
        ASSERT_TRUE(platform::SetCurrentFolder(folder.Path().c_str()));
        ASSERT_EQ(Loader.Load(name.c_str(), LoaderInfo), 1);
        EXPECT_EQ(LoaderInfo.width, 280);
        EXPECT_EQ(LoaderInfo.height, 140);
        Loader.zoomStep = 2.0f;
        Loader.panFactor = 0;
        fake.PointAtFramePixel(480, 270, 960, 540);
        DrawFullView();
        std::tie(rx, ry) = corner(340, 200, 280, 140, want.red);
        std::tie(gx, gy) = corner(340, 200, 280, 140, want.green);
        EXPECT_TRUE(near(Rgb(rx, ry), RED)) << "full view, red";
        EXPECT_TRUE(near(Rgb(gx, gy), GREEN)) << "full view, green";
    }
}

// Drawing the same page again (back from the full view) decodes nothing and shows the same
// pixels; a picture rewritten meanwhile is decoded again.
TEST_F(ViewTest, ThePageDrawnAgainReusesItsThumbnails) {
    SKIP_WITHOUT_JPEG_WRITER();
    auto shade = [](std::uint8_t v) {
        return [v](int x, int y) { return Rgb8{v, std::uint8_t(x), std::uint8_t(y)}; };
    };
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(WriteJpeg(folder / ("p" + std::to_string(i) + ".jpg"), 400, 300,
                              shade(std::uint8_t(40 * i + 20)), 90));
    DrawThumbnailPage();
    std::vector<std::uint8_t> first(Framebuffer, Framebuffer + 960 * 540 * 4);
    std::vector<int> picks(PickBuffer, PickBuffer + 960 * 540);
    // The full view of another picture replaces the store, as a thumbnail press does.
    ASSERT_TRUE(platform::SetCurrentFolder(folder.Path().c_str()));
    ASSERT_EQ(Loader.Load("p1.jpg", LoaderInfo), 1);
    int loads = Loader.loadCount;
    DrawThumbnailPage();
    EXPECT_EQ(Loader.loadCount, loads);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), Framebuffer));
    EXPECT_TRUE(std::equal(picks.begin(), picks.end(), PickBuffer));

    // Entry 4 ("p1.jpg") rewritten in another colour: only it is decoded again.
    ASSERT_TRUE(WriteJpeg(folder / "p1.jpg", 400, 301, shade(250), 90));
    DrawThumbnailPage();
    EXPECT_EQ(Loader.loadCount, loads + 1);
    EXPECT_NEAR(Rgb(10 + 3 * 140 + 40, 369 + 40)[0], 250, 8);
    EXPECT_NEAR(Rgb(10 + 2 * 140 + 40, 369 + 40)[0], 20, 8);
    // Another cell size samples afresh.
    AppState.cellWidth = AppState.cellHeight = 100;
    DrawThumbnailPage();
    EXPECT_EQ(Loader.loadCount, loads + 1 + 4);
}

// A picture edited in place to the same size is drawn anew, not from the page kept in memory.
TEST_F(ViewTest, AKeptThumbnailGivesWayToAnEditOfTheSameSize) {
    folder.Write("a.bmp", Bmp24(8, 8, [](int, int) { return Rgb8{200, 0, 0}; }));
    DrawThumbnailPage();
    EXPECT_EQ(Rgb(10 + 2 * 140 + 20, 369 + 20), (std::array<int, 3>{200, 0, 0}));
    auto path = std::filesystem::path(folder / "a.bmp");
    auto then = std::filesystem::last_write_time(path);
    folder.Write("a.bmp", Bmp24(8, 8, [](int, int) { return Rgb8{0, 0, 200}; }));
    std::filesystem::last_write_time(path, then + std::chrono::seconds(5));
    DrawThumbnailPage();
    EXPECT_EQ(Rgb(10 + 2 * 140 + 20, 369 + 20), (std::array<int, 3>{0, 0, 200}));
}

// The thumbnail cache's entry of a picture for 140-pixel cells, and its time in whole seconds.
CacheEntry EntryOf(const std::string& path) {
    long long bytes = 0, ns = 0;
    platform::FileStamp(path.c_str(), bytes, ns);
    return FindCacheEntry(path, bytes, ns, 140);
}
std::string Seconds(const std::string& path) {
    long long bytes = 0, ns = 0;
    platform::FileStamp(path.c_str(), bytes, ns);
    return std::to_string(ns / 1000000000);
}

// The desktop's shared thumbnail cache: a page writes the thumbnails of what it decoded once
// it is drawn; a later visit draws them, decoding nothing; a picture changed since is decoded
// again and its thumbnail replaced; a picture recorded as failed is not decoded.
TEST_F(ViewTest, APageKeepsItsThumbnailsInTheDesktopsCache) {
    SKIP_WITHOUT_JPEG_WRITER();
    TempFolder cache, elsewhere;
    ThumbnailCacheRoot = cache / "thumbnails";
    const std::string path = folder / "Plage été 1.jpg";
    const std::string file =
        cache / ("thumbnails/large/" + platform::Md5Hex(platform::FileUri(path)) + ".png");
    auto shade = [](int x, int) { return Rgb8{std::uint8_t(x / 3), 0, 90}; };
    ASSERT_TRUE(WriteJpeg(path, 600, 400, shade, 95, 6));  // 400 x 600 once upright
    folder.Write("broken.jpg", {0xFF, 0xD8, 0xFF});
    elsewhere.Write("b.bmp", Bmp24(4, 4, [](int, int) { return Rgb8{1, 2, 3}; }));
    // After another page, so that nothing is kept in memory; what the page will decode is
    // told from the cache's file names and times before it is drawn.
    auto visit = [&](int decodes = -1) {
        std::snprintf(AppState.browseFolder, FOLDER_CAPACITY, "%s", elsewhere.Path().c_str());
        DrawThumbnailPage();
        std::snprintf(AppState.browseFolder, FOLDER_CAPACITY, "%s", folder.Path().c_str());
        Rescan();
        if (decodes >= 0) {
            EXPECT_EQ(PicturesToDecodeOnNextPage(), decodes);
        }
        DrawThumbnailPage();
        while (WritePendingThumbnail() > 0) {
        }
    };
    DrawThumbnailPage();
    EXPECT_FALSE(std::filesystem::exists(cache / "thumbnails"));  // not before the page is shown
    while (WritePendingThumbnail() > 0) {
    }
    platform::Thumbnail t;
    std::string why;
    ASSERT_EQ(platform::ReadThumbnailFile(file, t, why), platform::ThumbnailRead::Read);
    EXPECT_EQ(std::pair(t.width, t.height), std::pair(171, 256));  // upright, long side 256
    EXPECT_GT(t.rgba[0], 190);                       // the stored right edge, at the bottom
    EXPECT_LT(t.rgba[171 * 255 * 4 + 170 * 4], 10);  // the stored left edge, at the top
    EXPECT_EQ(t.text[0].second, platform::FileUri(path));
    EXPECT_EQ(t.text[1].second, Seconds(path));
    EXPECT_TRUE(std::filesystem::exists(cache / "thumbnails/fail"));  // broken.jpg's record
    using std::filesystem::perms;
    EXPECT_EQ(std::filesystem::status(file).permissions(), perms::owner_read | perms::owner_write);
    EXPECT_EQ(std::filesystem::status(cache / "thumbnails/large").permissions(), perms::owner_all);

    int loads = Loader.loadCount;
    visit(0);
    EXPECT_EQ(Loader.loadCount, loads + 1);  // the other folder's picture only
    EXPECT_GT(PickBox(PICK_THUMBNAIL_BASE + 4).count, 0);

    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) +
                                               std::chrono::seconds(10));
    visit(1);
    EXPECT_EQ(Loader.loadCount, loads + 2);
    ASSERT_EQ(platform::ReadThumbnailFile(file, t, why), platform::ThumbnailRead::Read);
    EXPECT_EQ(t.text[1].second, Seconds(path));

    QueueThumbnail(FailureOf(EntryOf(path)));
    WritePendingThumbnail();
    std::filesystem::remove(file);
    visit();
    EXPECT_EQ(Loader.loadCount, loads + 2);
    EXPECT_EQ(PickBox(PICK_THUMBNAIL_BASE + 4).count, 0);
}

// A cache that cannot be written, or a thumbnail cut short, never costs the page a picture:
// each trouble is said once on standard error, and a damaged thumbnail is made anew.
TEST_F(ViewTest, TroubleWithTheCacheNeverFailsThePage) {
#ifdef _WIN32
    GTEST_SKIP() << "no thumbnail cache on Windows";
#endif
    TempFolder cache;
    cache.Write("thumbnails", {1});  // a file where the cache's folder should be
    ThumbnailCacheRoot = cache / "thumbnails";
    for (std::string name : {"a.bmp", "b.bmp"})
        folder.Write(name, Bmp24(8, 8, [](int, int) { return Rgb8{200, 0, 0}; }));
    testing::internal::CaptureStderr();
    DrawThumbnailPage();
    while (WritePendingThumbnail() > 0) {
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "quentaro: cannot keep thumbnails in " + ThumbnailCacheRoot + ": Not a directory\n");
    EXPECT_EQ(Rgb(10 + 3 * 140 + 20, 369 + 20), (std::array<int, 3>{200, 0, 0}));

    ThumbnailCacheRoot = cache / "good";
    std::string file = EntryOf(folder / "a.bmp").thumbnailPath, why;
    ASSERT_TRUE(platform::WritePrivateFile(file, "\x89PNG\r\n\x1a\n", 8, why));
    AppState.cellWidth = AppState.cellHeight = 130;  // nothing kept from the page before
    testing::internal::CaptureStderr();
    DrawThumbnailPage();
    while (WritePendingThumbnail() > 0) {
    }
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("the thumbnail " + file + " cannot be read"), std::string::npos) << said;
    EXPECT_EQ(Rgb(10 + 2 * 130 + 20, 379 + 20), (std::array<int, 3>{200, 0, 0}));
    platform::Thumbnail t;
    EXPECT_EQ(platform::ReadThumbnailFile(file, t, why), platform::ThumbnailRead::Read);
}

TEST_F(ViewTest, EmptyFolderDrawsNoCell) {
    // Nothing to list and no ancestor to fall back on: a bare name stands for that here,
    // where every real folder lists "." and "..".
    std::snprintf(AppState.browseFolder, FOLDER_CAPACITY, "quentaro-absent-folder");
    DrawThumbnailPage();
    EXPECT_EQ(EntryTable.count, 0);
    EXPECT_EQ(LitCount(), 0);
    EXPECT_TRUE(Labels.empty());

    // A folder removed since shows its parent's page instead.
    folder.MakeFolder("gone");
    folder.Write("a.bmp", Bmp24(4, 4, [](int, int) { return Rgb8{200, 0, 0}; }));
    std::snprintf(AppState.browseFolder, FOLDER_CAPACITY, "%s", (folder / "gone").c_str());
    std::filesystem::remove(folder / "gone");
    DrawThumbnailPage();
    EXPECT_EQ(std::string(AppState.browseFolder), folder.Path() + Separator());
    EXPECT_EQ(Labels.size(), 3u);  // ".", ".." and a.bmp
}

TEST_F(ViewTest, APageSaysWhichPicturesItCouldNotDecode) {
    folder.Write("good.bmp", Bmp24(4, 4, [](int, int) { return Rgb8{200, 0, 0}; }));
    folder.Write("bad.jpg", {0xFF, 0xD8, 0xFF});
    DrawThumbnailPage();
    EXPECT_STREQ(CurrentNotice(), "cannot decode the picture bad.jpg");
    folder.Write("worse.bmp", {'B', 'M'});
    Notice = NoticeRecord{};
    DrawThumbnailPage();
    std::string notice = CurrentNotice();
    EXPECT_EQ(notice.rfind("cannot decode 2 pictures, among them ", 0), 0u) << notice;

    // Before a page is drawn, its count of pictures is known from the table alone.
    Rescan();
    EXPECT_EQ(PicturesOnNextPage(), 3);
    AppState.pageFirst = EntryTable.count;  // a page of one entry
    EXPECT_EQ(PicturesOnNextPage(), EntryTable.names[EntryTable.count][0] == '.' ? 0 : 1);
}

// The full view as the plain algorithm draws it, every block through the bounds test.
std::vector<std::uint8_t> ReferenceFullView() {
    int cx = CursorColumn(), cy = CursorRow();
    int fw = AppState.frameWidth, fh = AppState.frameHeight;
    std::vector<std::uint8_t> frame(std::size_t(fw) * fh * 4, 0);
    int w = LoaderInfo.width, h = LoaderInfo.height;
    float z = Loader.zoomStep;
    float p = float(Loader.panFactor);
    int x0 = Loader.panFactor != 0 ? int(p * cx - fw - w / z) : int(cx - w / z);
    int y0 = Loader.panFactor != 0 ? int(p * cy - fh - h / z) : int(cy - h / z);
    int n = 0;
    for (float sy = 0; sy < h; sy += z, ++n) {
        int m = 0;
        for (float sx = 0; sx < w; sx += z, ++m) {
            const std::uint8_t* s = ImageStore + 4 * (int(sy) * w + int(sx));
            for (int d = 0; d < 4; ++d) {
                int x = x0 + 2 * m + d % 2, y = y0 + 2 * n + d / 2;
                if (x < 0 || y < 0 || x >= fw || y >= fh) continue;
                std::uint8_t* o = &frame[(std::size_t(y) * fw + x) * 4];
                o[0] = s[0], o[1] = s[1], o[2] = s[2], o[3] = 255;
            }
        }
    }
    return frame;
}

TEST_F(ViewTest, FullViewPlacementAndClipping) {
    UseFrame(960, 540);
    LoaderInfo.width = 200;
    LoaderInfo.height = 100;
    LoaderInfo.bitsPerPixel = 32;
    for (int i = 0; i < 200 * 100; ++i) {
        ImageStore[4 * i] = std::uint8_t(i % 200);
        ImageStore[4 * i + 1] = std::uint8_t(i / 200);
        ImageStore[4 * i + 2] = 9;
    }
    Loader.zoomStep = 2.0f;
    Loader.panFactor = 0;
    fake.PointAtFramePixel(480, 270, 960, 540);
    DrawFullView();
    EXPECT_EQ(LitCount(), 200 * 100);
    EXPECT_TRUE(Lit(380, 220));
    EXPECT_FALSE(Lit(379, 220));
    EXPECT_FALSE(Lit(380, 219));
    EXPECT_TRUE(Lit(579, 319));
    EXPECT_FALSE(Lit(580, 319));
    EXPECT_EQ(Rgb(380 + 2 * 30, 220 + 2 * 10), (std::array<int, 3>{60, 20, 9}));
    EXPECT_EQ(std::memcmp(SavedFrame, Framebuffer, 960 * 540 * 4), 0);
    EXPECT_EQ(PickBox(0).count, 960 * 540);  // no ids

    // Every zoom and pan setting, the picture half off each edge, as the plain algorithm draws.
    for (float zoom : {4.0f, 3.0f, 2.0f, 1.0f, 0.5f, 0.25f})
        for (int pan : {0, 3, 9})
            for (auto [cx, cy] : {std::pair{0, 0}, {959, 539}, {300, 20}, {7, 500}}) {
                Loader.zoomStep = zoom;
                Loader.panFactor = pan;
                fake.PointAtFramePixel(cx, cy, 960, 540);
                DrawFullView();
                std::vector<std::uint8_t> want = ReferenceFullView();
                ASSERT_EQ(std::memcmp(want.data(), Framebuffer, want.size()), 0)
                    << zoom << " " << pan << " " << cx << "," << cy;
            }

    FullViewBlank = 1;
    DrawFullView();
    EXPECT_EQ(LitCount(), 0);
}

TEST_F(ViewTest, FullViewFitShowsTheWholePictureCentredAndAveraged) {
    // Shrunk to the frame's height, to its width, enlarged but no more than twice, a sliver.
    EXPECT_EQ(FitPicture(6000, 4000, 960, 540), (FitRect{75, 0, 810, 540}));
    EXPECT_EQ(FitPicture(1000, 4000, 960, 540), (FitRect{412, 0, 135, 540}));
    EXPECT_EQ(FitPicture(600, 300, 960, 540), (FitRect{0, 30, 960, 480}));
    EXPECT_EQ(FitPicture(100, 50, 960, 540), (FitRect{380, 220, 200, 100}));
    EXPECT_EQ(FitPicture(1, 1000000, 960, 540), (FitRect{479, 0, 1, 540}));
    EXPECT_EQ(FitPicture(0, 50, 960, 540), FitRect{});
    // Three source pixels into two, across and down: each output pixel takes one and a half.
    const std::uint8_t three[12] = {0, 0, 0, 0, 90, 90, 90, 0, 180, 180, 180, 0};
    const std::vector<std::uint8_t> two{30, 30, 30, 150, 150, 150};
    std::vector<std::uint8_t> rgb;
    ScalePicture(three, 3, 1, 4, 2, 1, rgb);
    EXPECT_EQ(rgb, two);
    ScalePicture(three, 1, 3, 4, 1, 2, rgb);
    EXPECT_EQ(rgb, two);

    // One white pixel in each 2 x 2 square, halved: every pixel a quarter white, where a
    // sampled one would be white or black; and the picture stays put whatever the pointer does.
    UseFrame(960, 540);
    FullViewFit = 1;
    LoaderInfo.width = 1920;
    LoaderInfo.height = 1080;
    LoaderInfo.bitsPerPixel = 32;
    for (int i = 0; i < 1920 * 1080; ++i)
        std::memset(ImageStore + 4 * i, i % 2 == 0 && i / 1920 % 2 == 0 ? 255 : 0, 4);
    Loader.loadCount += 1;
    for (auto [cx, cy] : {std::pair{0, 0}, {700, 300}}) {
        fake.PointAtFramePixel(cx, cy, 960, 540);
        DrawFullView();
        for (int y = 0; y < 540; y += 7)
            for (int x = 0; x < 960; x += 5)
                ASSERT_EQ(Rgb(x, y), (std::array<int, 3>{64, 64, 64})) << x << "," << y;
    }
    // The next picture, 100 x 50, at twice its size in the middle: 2 x 2 pixels each.
    LoaderInfo.width = 100;
    LoaderInfo.height = 50;
    for (int i = 0; i < 100 * 50; ++i) {
        ImageStore[4 * i] = std::uint8_t(i % 100);
        ImageStore[4 * i + 1] = std::uint8_t(i / 100);
        ImageStore[4 * i + 2] = 9;
    }
    Loader.loadCount += 1;
    DrawFullView();
    EXPECT_EQ(LitCount(), 200 * 100);
    EXPECT_FALSE(Lit(379, 220));
    EXPECT_FALSE(Lit(380, 219));
    EXPECT_EQ(Rgb(380, 220), (std::array<int, 3>{0, 0, 9}));
    EXPECT_EQ(Rgb(380 + 61, 220 + 21), (std::array<int, 3>{30, 10, 9}));
    EXPECT_EQ(Rgb(579, 319), (std::array<int, 3>{99, 49, 9}));
    // Another picture of the same size is fitted anew.
    ImageStore[0] = 200;
    Loader.loadCount += 1;
    DrawFullView();
    EXPECT_EQ(Rgb(381, 221), (std::array<int, 3>{200, 0, 9}));
    FullViewFit = 0;
}

}  // namespace
