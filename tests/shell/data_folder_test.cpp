// Finding the program's files: the start folder first, then the data folder installed
// beside the executable; pictures and the player taken from there; where overworld
// files go when that folder cannot take them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "quentaro.h"
#include "support/fake_platform.h"
#include "support/picture_files.h"

namespace {

namespace fs = std::filesystem;

// An environment variable set for the test's span and put back afterwards.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedVariable() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

class DataFolderTest : public ::testing::Test {
  protected:
    KeepCurrentFolder keep;
    TempFolder start, prefix;
    std::string bin = prefix / "bin";
    std::string installed = prefix / "share/quentaro";

    void SetUp() override {
        fs::create_directories(bin);
        fs::create_directories(installed);
        platform::SetCurrentFolder(start.Path().c_str());
    }
    void TearDown() override {
        DataFolder.clear();
        ReleaseGameData();
        ReleaseFrameBuffers();
    }
};

TEST_F(DataFolderTest, AFolderHoldsTheProgramsFilesWithAPictureFolderOrThePlayer) {
    EXPECT_FALSE(HoldsProgramFiles(start.Path()));
    EXPECT_FALSE(HoldsProgramFiles(""));
    start.Touch("bmp_land");  // a file of that name is not a picture folder
    start.MakeFolder("player");
    EXPECT_FALSE(HoldsProgramFiles(start.Path()));
    start.MakeFolder("bmp_cube");  // the last group's folder counts as much as the first
    EXPECT_TRUE(HoldsProgramFiles(start.Path()));

    TempFolder other;
    other.Touch(PLAYER_PROGRAM);
    EXPECT_TRUE(HoldsProgramFiles(other.Path()));
}

TEST_F(DataFolderTest, TheStartFolderWinsOverTheInstalledFolder) {
    fs::create_directory(installed + "/bmp_unit");
    // A start folder without the program's files: the installed folder, found from bin/.
    FindDataFolder(start.Path(), bin);
    EXPECT_EQ(DataFolder, fs::canonical(installed).string());
    EXPECT_EQ(PicturePath("bmp_land", "plain"), DataFolder + "/bmp_land/plain.bmp");
    // A trailing separator on the program's folder changes nothing.
    FindDataFolder(start.Path(), bin + "/");
    EXPECT_EQ(DataFolder, fs::canonical(installed).string());

    // A start folder that holds them: everything stays relative to it, as it always was.
    start.MakeFolder("bmp_item");
    FindDataFolder(start.Path(), bin);
    EXPECT_EQ(DataFolder, "");
    EXPECT_EQ(PicturePath("bmp_land", "plain"), "./bmp_land/plain.bmp");
    EXPECT_EQ(ProgramFilesFolder(), platform::CurrentFolder());

    // A program folder that holds them (a build folder, its program started from elsewhere)
    // comes after the start folder and after the installed folder.
    fs::create_directory(bin + "/bmp_land");
    FindDataFolder(start.Path(), bin);
    EXPECT_EQ(DataFolder, "");
    fs::remove(start / "bmp_item");
    FindDataFolder(start.Path(), bin);
    EXPECT_EQ(DataFolder, fs::canonical(installed).string());
    fs::remove(installed + "/bmp_unit");
    FindDataFolder(start.Path(), bin + "/");
    EXPECT_EQ(DataFolder, fs::canonical(bin).string());
    // A file of the player's name beside an installed program is no data folder.
    fs::remove(bin + "/bmp_land");
    std::ofstream(bin + "/" + PLAYER_PROGRAM) << "#!/bin/sh\n";
    FindDataFolder(start.Path(), bin);
    EXPECT_EQ(DataFolder, "");
    fs::create_directory(installed + "/bmp_unit");
    FindDataFolder(start.Path(), bin);
    EXPECT_EQ(DataFolder, fs::canonical(installed).string());
    fs::remove(bin + "/" + PLAYER_PROGRAM);

    // Neither has them (an installed folder left empty, or none): the start folder, as before.
    fs::remove(installed + "/bmp_unit");
    FindDataFolder(start.Path(), bin);
    EXPECT_EQ(DataFolder, "");
    FindDataFolder(start.Path(), "");
    EXPECT_EQ(DataFolder, "");
}

TEST_F(DataFolderTest, StartUpLoadsEveryPictureFromTheInstalledFolder) {
    // The build folder holds the default picture set; stand it in as the installed folder.
    fs::remove(installed);
    fs::create_symlink(QUENTARO_BINARY_DIR, installed);
    AppState = AppStateRecord{};
    AppState.frameWidth = 64;
    AppState.frameHeight = 48;

    ASSERT_TRUE(platform::SetCurrentFolder(QUENTARO_BINARY_DIR));
    ASSERT_EQ(InitGameData(), 1);
    const int fromBuild = LoadedSlotCount();
    EXPECT_GT(fromBuild, 200);

    ASSERT_TRUE(platform::SetCurrentFolder(start.Path().c_str()));
    ASSERT_EQ(InitGameData(), 1);
    EXPECT_EQ(LoadedSlotCount(), 0);  // started elsewhere with no installed folder known
    FindDataFolder(start.Path(), bin);
    ASSERT_EQ(InitGameData(), 1);
    EXPECT_EQ(LoadedSlotCount(), fromBuild);
    EXPECT_TRUE(fs::is_empty(start.Path()));  // nothing was made in the start folder
}

TEST_F(DataFolderTest, ThePlayerStartsFromTheInstalledFolder) {
    FakePlatform fake;
    AllocateEntryTable();
    EntryTable.count = 3;
    std::snprintf(EntryTable.names[3], ENTRY_NAME_SIZE, "clip.mp4");
    EntryTable.kinds[3] = 1;
    AppState.selectedEntry = 3;
    std::snprintf(AppState.startFolder, FOLDER_CAPACITY, "%s", start.Path().c_str());
    std::snprintf(AppState.browseFolder, FOLDER_CAPACITY, "/films");

    DataFolder = "/opt/q/share/quentaro";
    LaunchPlayer();
    DataFolder.clear();
    LaunchPlayer();
    ASSERT_EQ(fake.started.size(), 2u);
    EXPECT_EQ(fake.started[0], "/opt/q/share/quentaro/kelvo| quorvale /films/clip.mp4 0 ");
    EXPECT_EQ(fake.started[1], start.Path() + "/kelvo| quorvale /films/clip.mp4 0 ");
    EXPECT_EQ(platform::CurrentFolder(), start.Path());
}

TEST_F(DataFolderTest, OverworldFilesGoToTheUsersDataHomeWhenTheFolderCannotTakeThem) {
    TempFolder home;
    ScopedVariable xdg("XDG_DATA_HOME", (home / "data").c_str());
    // A writable folder of the program's files keeps them, as a build folder always has.
    DataFolder = prefix.Path();
    EXPECT_EQ(OverworldFolder(), prefix.Path());
    EXPECT_FALSE(fs::exists(home / "data"));
    DataFolder.clear();
    EXPECT_EQ(OverworldFolder(), platform::CurrentFolder());

    // One that cannot take files: the per-user folder, named but not made until a program
    // starts; nor is map/ made in a start folder that holds none of the program's files.
    start.Touch("not-a-folder");
    DataFolder = start / "not-a-folder";
    EXPECT_EQ(OverworldFolder(), home / "data/quentaro");
    EXPECT_FALSE(fs::exists(home / "data"));
    EXPECT_TRUE(MakeOverworldFolder());
    EXPECT_TRUE(fs::is_directory(home / "data/quentaro/map"));
    EXPECT_EQ(OverworldFolder(), home / "data/quentaro");  // and again once it exists
    DataFolder.clear();
    EXPECT_FALSE(MakeOverworldFolder());
    // A folder whose map/ cannot take files (here a file of that name) will not do either.
    TempFolder blocked;
    blocked.Touch("map");
    DataFolder = blocked.Path();
    EXPECT_EQ(OverworldFolder(), home / "data/quentaro");
    fs::remove(blocked / "map");
    blocked.MakeFolder("map");
    EXPECT_EQ(OverworldFolder(), blocked.Path());
    DataFolder = start / "not-a-folder";

    // A relative XDG_DATA_HOME is ignored in favour of ~/.local/share.
    ScopedVariable relative("XDG_DATA_HOME", "relative/data");
    ScopedVariable user("HOME", home.Path().c_str());
    EXPECT_EQ(OverworldFolder(), home / ".local/share/quentaro");
    ScopedVariable noHome("HOME", nullptr);
    EXPECT_EQ(OverworldFolder(), "");
}

}  // namespace
