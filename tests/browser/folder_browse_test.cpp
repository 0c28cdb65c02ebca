// The folder scan, the path rules of folder moves, and the right presses on list entries
// and thumbnails, over real temporary folders and the fake platform.
#include <string>

#include "browser/folder_path.h"
#include "support/frame_fixture.h"
#include "support/picture_files.h"

namespace {

TEST(FolderPath, MovesWithEitherSeparator) {
    EXPECT_EQ(FolderUp("C:\\music\\rock\\", '\\'), "C:\\music\\");
    EXPECT_EQ(FolderUp("C:\\music", '\\'), "C:\\");
    EXPECT_EQ(FolderUp("C:\\", '\\'), "C:\\");
    EXPECT_EQ(FolderDown("C:\\music", "rock", '\\'), "C:\\music\\rock\\");
    EXPECT_EQ(FolderDown("C:\\music\\", "rock", '\\'), "C:\\music\\rock\\");
    EXPECT_EQ(FolderDown("C:\\", "rock", '\\'), "C:\\rock\\");

    EXPECT_EQ(FolderUp("/music/rock/", '/'), "/music/");
    EXPECT_EQ(FolderUp("/music", '/'), "/");
    EXPECT_EQ(FolderUp("/music/", '/'), "/");
    EXPECT_EQ(FolderUp("/", '/'), "/");
    EXPECT_EQ(FolderDown("/music", "rock", '/'), "/music/rock/");
    EXPECT_EQ(FolderDown("/", "rock", '/'), "/rock/");
}

class BrowseTest : public FrameTest {
  protected:
    TempFolder folder;
    KeepCurrentFolder keep;

    void SetUp() override {
        UseFrame(960, 540);
        fake.rect = {0, 0, 1920, 1080};
        AllocateEntryTable();
        AllocateImageStore();
        Loader.pixels = ImageStore;
        FullViewBlank = 0;
        std::snprintf(AppState.startFolder, FOLDER_CAPACITY, "%s",
                      platform::CurrentFolder().c_str());
        Browse(folder.Path());
        AppState.listViewOn = 1;
        AppState.selectedEntry = 1;
    }

    void Browse(const std::string& path) {
        std::snprintf(AppState.browseFolder, FOLDER_CAPACITY, "%s", path.c_str());
        Rescan();
    }

    int Find(const std::string& name) {
        for (int k = 1; k <= EntryTable.count; ++k)
            if (name == EntryTable.names[k]) return k;
        return 0;
    }

    // A right press at a frame pixel carrying `id`.
    void Press(int id) {
        PickBuffer[100 * AppState.frameWidth + 200] = id;
        fake.PointAtFramePixel(200, 100, AppState.frameWidth, AppState.frameHeight);
        MouseState.rightPress = 1;
        fake.pauses.clear();
        HandleBrowserClick();
    }
    void PressEntry(const std::string& name) { Press(PICK_LIST_BASE + Find(name)); }
    // The thumbnail view of the folder's first page, drawn as the next pass would.
    void ShowPage() {
        AppState.listViewOn = AppState.fullViewOn = 0;
        AppState.pageFirst = 1;
        AppState.cellWidth = AppState.cellHeight = 140;
        DrawThumbnailPage();
        AppState.thumbnailRedraw = 0;
    }
};

TEST_F(BrowseTest, ScanKeepsTheFirst2999EntriesInListingOrder) {
    for (int i = 0; i < 5000; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "f%04d", i);
        folder.Touch(name);
    }
    folder.MakeFolder("g_folder");
    Rescan();
    ASSERT_EQ(EntryTable.count, 2999);
    EXPECT_STREQ(EntryTable.names[1], ".");
    EXPECT_STREQ(EntryTable.names[2], "..");
    EXPECT_STREQ(EntryTable.names[3], "f0000");
    EXPECT_STREQ(EntryTable.names[2999], "f2996");
    EXPECT_EQ(EntryTable.kinds[1], 0);
    EXPECT_EQ(EntryTable.kinds[3], 1);
    EXPECT_STREQ(platform::CurrentFolder().c_str(), AppState.startFolder);
    // 5000 files, g_folder, "." and "..": the cut is said.
    EXPECT_STREQ(CurrentNotice(), "showing 2999 of 5003 entries");
}

TEST_F(BrowseTest, AFolderThatCanNoLongerBeListedGivesWayToItsNearestListableAncestor) {
    folder.MakeFolder("a");
    folder.MakeFolder("a/b");
    folder.Touch("here.txt");
    Browse(folder / "a/b/");
    ASSERT_EQ(EntryTable.count, 2);
    AppState.selectedEntry = 2;
    AppState.listTop = 1;
    AppState.pageFirst = 2;
    std::filesystem::remove_all(folder / "a");
    Rescan();
    EXPECT_EQ(std::string(AppState.browseFolder), folder.Path() + Separator());
    EXPECT_NE(Find("here.txt"), 0);
    EXPECT_EQ(Find("a"), 0);
    EXPECT_EQ(AppState.selectedEntry, 1);
    EXPECT_EQ(AppState.listTop, 0);
    EXPECT_EQ(AppState.pageFirst, 1);
    EXPECT_EQ(std::string(CurrentNotice()),
              "cannot read " + (folder / "a/b/") + ": showing " + folder.Path() + Separator());
    EXPECT_STREQ(platform::CurrentFolder().c_str(), AppState.startFolder);

    // The start-up form, without a trailing separator, goes up the same way.
    Browse(folder / "absent");
    EXPECT_EQ(std::string(AppState.browseFolder), folder.Path() + Separator());
    EXPECT_NE(Find("here.txt"), 0);
}

TEST_F(BrowseTest, FirstPressSelectsSecondPressOnAFolderMoves) {
    folder.MakeFolder("sub");
    folder.Touch("sub/inner.txt");
    folder.Touch("zfile");
    Rescan();
    PressEntry("sub");
    EXPECT_EQ(AppState.selectedEntry, Find("sub"));
    EXPECT_EQ(MouseState.rightPress, 0);
    EXPECT_EQ(fake.pauses, std::vector<int>{480});
    EXPECT_EQ(std::string(AppState.browseFolder), folder.Path());

    PressEntry("sub");
    EXPECT_EQ(std::string(AppState.browseFolder),
              folder.Path() + Separator() + "sub" + Separator());
    EXPECT_EQ(fake.pauses, (std::vector<int>{180, 650}));
    EXPECT_EQ(AppState.selectedEntry, 1);
    EXPECT_EQ(AppState.listViewOn, 1);
    EXPECT_EQ(AppState.rescanRequested, 1);
    EXPECT_EQ(MouseState.rightPress, 0);
    EXPECT_NE(Find("inner.txt"), 0);  // the table lists the new folder
    EXPECT_STREQ(platform::CurrentFolder().c_str(), AppState.startFolder);

    // Up again through the selected "..".
    AppState.selectedEntry = Find("..");
    PressEntry("..");
    EXPECT_EQ(std::string(AppState.browseFolder), folder.Path() + Separator());
    EXPECT_NE(Find("zfile"), 0);
    EXPECT_EQ(fake.pauses, (std::vector<int>{180, 650}));
}

TEST_F(BrowseTest, DotFilesAndRefusedMovesLeaveTheBrowserWhereItWas) {
    folder.MakeFolder("gone");
    folder.Touch("clip.mp4");
    Rescan();
    AppState.rescanRequested = 0;
    std::string before = AppState.browseFolder;

    AppState.selectedEntry = Find(".");
    PressEntry(".");
    EXPECT_EQ(std::string(AppState.browseFolder), before);
    EXPECT_EQ(fake.pauses, std::vector<int>{650});

    // A second press on a selected file is left for the player.
    AppState.selectedEntry = Find("clip.mp4");
    PressEntry("clip.mp4");
    EXPECT_EQ(MouseState.rightPress, 1);
    EXPECT_TRUE(fake.pauses.empty());

    // A folder that vanished after the scan cannot be entered.
    std::filesystem::remove(folder / "gone");
    AppState.selectedEntry = Find("gone");
    PressEntry("gone");
    EXPECT_EQ(std::string(AppState.browseFolder), before);
    EXPECT_EQ(AppState.selectedEntry, Find("gone"));
    EXPECT_EQ(AppState.rescanRequested, 0);
    EXPECT_EQ(fake.pauses, std::vector<int>{650});
    EXPECT_EQ(std::string(CurrentNotice()),
              "cannot enter " + folder.Path() + Separator() + "gone" + Separator());

#ifndef _WIN32  // the system's calls by 8-bit name list no folder past 260 characters
    // A move that would not fit browseFolder is refused, however long the path may be.
    folder.MakeFolder(std::string(200, 'd'));
    std::string padded = folder.Path();
    while (padded.size() < FOLDER_CAPACITY - 100) padded += "/.";
    Browse(padded);
    AppState.selectedEntry = Find(std::string(200, 'd'));
    PressEntry(std::string(200, 'd'));
    EXPECT_EQ(std::string(AppState.browseFolder), padded);
    EXPECT_NE(std::string(CurrentNotice()).find("its path is too long"), std::string::npos);
    // A path of exactly the capacity leaves no room for its end byte; a byte less is entered.
    std::string edge = folder.Path();
    while (edge.size() < FOLDER_CAPACITY - 202) edge += "/.";
    const std::string full(FOLDER_CAPACITY - 2 - edge.size(), 'e'), fits = full.substr(1);
    folder.MakeFolder(full);
    folder.MakeFolder(fits);
    Browse(edge);
    AppState.selectedEntry = Find(full);
    PressEntry(full);
    EXPECT_EQ(std::string(AppState.browseFolder), edge);
    AppState.selectedEntry = Find(fits);
    PressEntry(fits);
    EXPECT_EQ(std::string(AppState.browseFolder), edge + "/" + fits + "/");
#endif
}

TEST_F(BrowseTest, ThumbnailPressOpensTheFullView) {
    folder.Write("a.bmp", Bmp24(6, 4, [](int, int) { return Rgb8{1, 2, 3}; }));
    folder.Touch("notes.txt");
    folder.Write("bad.jpg", {0xFF, 0xD8, 0xFF});
    ShowPage();

    Press(PICK_THUMBNAIL_BASE + Find("a.bmp"));
    EXPECT_EQ(AppState.fullViewOn, 1);
    EXPECT_EQ(AppState.fullViewEntry, Find("a.bmp"));
    EXPECT_EQ(FullViewName, "a.bmp");
    EXPECT_EQ(AppState.imageShown, 1);
    EXPECT_EQ(Loader.panFactor, 3);
    EXPECT_EQ(LoaderInfo.width, 6);
    EXPECT_EQ(FullViewBlank, 0);
    EXPECT_EQ(MouseState.rightPress, 0);
    EXPECT_EQ(fake.pauses, std::vector<int>{350});

    // Thumbnail ids mean nothing once a view covers the page.
    Press(PICK_THUMBNAIL_BASE + Find("notes.txt"));
    EXPECT_EQ(AppState.fullViewEntry, Find("a.bmp"));
    EXPECT_EQ(MouseState.rightPress, 1);

    // An id the page did not draw (a file that is no picture has no thumbnail) opens
    // nothing; the page is drawn anew.
    AppState.fullViewOn = 0;
    Press(PICK_THUMBNAIL_BASE + Find("notes.txt"));
    EXPECT_EQ(AppState.fullViewOn, 0);
    EXPECT_EQ(AppState.thumbnailRedraw, 1);
    EXPECT_TRUE(fake.pauses.empty());

    // A picture that fails to decode opens an empty full view, not the previous picture.
    Press(PICK_THUMBNAIL_BASE + Find("bad.jpg"));
    EXPECT_EQ(AppState.fullViewOn, 1);
    EXPECT_EQ(AppState.fullViewEntry, Find("bad.jpg"));
    EXPECT_EQ(FullViewBlank, 1);
    EXPECT_STREQ(CurrentNotice(), "cannot decode the picture bad.jpg");
    DrawFullView();
    EXPECT_EQ(LitCount(), 0);

    // The browse folder vanished after the page was drawn: the start folder's file of the
    // same name is not opened in its place.
    folder.MakeFolder("gone");
    folder.Write("gone/a.bmp", Bmp24(6, 4, [](int, int) { return Rgb8{1, 2, 3}; }));
    TempFolder start;
    start.Write("a.bmp", Bmp24(5, 5, [](int, int) { return Rgb8{9, 9, 9}; }));
    Browse(folder / "gone");
    ShowPage();
    std::filesystem::remove_all(folder / "gone");
    std::snprintf(AppState.startFolder, FOLDER_CAPACITY, "%s", start.Path().c_str());
    int loads = Loader.loadCount;
    Press(PICK_THUMBNAIL_BASE + Find("a.bmp"));
    EXPECT_EQ(AppState.fullViewOn, 1);
    EXPECT_EQ(FullViewBlank, 1);
    EXPECT_EQ(Loader.loadCount, loads);
}

TEST_F(BrowseTest, APageDrawnBeforeARescanOpensNoOtherPicture) {
    auto grey = [](int, int) { return Rgb8{7, 7, 7}; };
    folder.Write("b.bmp", Bmp24(20, 10, grey));
    folder.Write("c.bmp", Bmp24(8, 8, grey));
    ShowPage();
    const int b = Find("b.bmp");

    // R after a picture arrived: b.bmp's number is a.bmp's now.
    folder.Write("a.bmp", Bmp24(50, 50, grey));
    Rescan();
    ASSERT_EQ(Find("a.bmp"), b);
    Press(PICK_THUMBNAIL_BASE + b);
    EXPECT_EQ(AppState.fullViewOn, 0);
    EXPECT_EQ(AppState.thumbnailRedraw, 1);

    // Pictures removed: a number beyond the table opens nothing either.
    const int c = Find("c.bmp");
    std::filesystem::remove(folder / "a.bmp");
    std::filesystem::remove(folder / "c.bmp");
    Rescan();
    ASSERT_GT(c, EntryTable.count);
    AppState.thumbnailRedraw = 0;
    Press(PICK_THUMBNAIL_BASE + c);
    EXPECT_EQ(AppState.fullViewOn, 0);
    EXPECT_EQ(AppState.thumbnailRedraw, 1);

    // The page drawn anew opens what it shows, and the caption keeps naming it after a
    // rescan gives its number to another file.
    ShowPage();
    Press(PICK_THUMBNAIL_BASE + Find("b.bmp"));
    ASSERT_EQ(AppState.fullViewOn, 1);
    EXPECT_EQ(LoaderInfo.width, 20);
    folder.Write("0.bmp", Bmp24(4, 4, grey));
    Rescan();
    EXPECT_STRNE(EntryTable.names[AppState.fullViewEntry], "b.bmp");
    EXPECT_EQ(FullViewName, "b.bmp");
}

}  // namespace
