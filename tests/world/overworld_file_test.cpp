// Overworld files in a temporary folder: the round trip, the other levels, short and
// missing files, saves that cannot finish, and the handles left open.
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>

#include "support/fake_platform.h"
#include "world/world_fixture.h"

namespace fs = std::filesystem;

namespace {

class OverworldFile : public WorldTest {
  protected:
    FakePlatform fake;
    fs::path folder;
    std::string previous;

    void SetUp() override {
        WorldTest::SetUp();
        previous = platform::CurrentFolder();
        folder = fs::temp_directory_path() /
                 ("overworld_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                  "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder / "map");
        ASSERT_TRUE(platform::SetCurrentFolder(folder.c_str()));
    }
    void TearDown() override {
        platform::SetCurrentFolder(previous.c_str());
        fs::remove_all(folder);
        WorldTest::TearDown();
    }

    static void Paint(int salt) {
        for (int i = 0; i < 256 * 256; ++i) MapGrid[i] = std::uint8_t((i * 7 + salt) % 251);
    }
    static std::vector<std::uint8_t> Level0() { return {MapGrid, MapGrid + 256 * 256}; }
    static std::vector<char> FileBytes(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static int OpenHandles() {
        int n = 0;
        for ([[maybe_unused]] auto& e : fs::directory_iterator("/proc/self/fd")) ++n;
        return n;
    }
};

TEST_F(OverworldFile, SavingThenLoadingRestoresLevelZeroAndNothingElse) {
    EXPECT_EQ(fs::path(OverworldPath(3)), fs::canonical(folder) / "map" / "3.overworld");
    EXPECT_EQ(fs::path(OverworldPath(0)), fs::canonical(folder) / "map" / "0.overworld");
    EXPECT_EQ(fs::path(OverworldPath(-1)), fs::canonical(folder) / "map" / "-1.overworld");

    Paint(1);
    std::vector<std::uint8_t> saved = Level0();
    int handles = OpenHandles();
    SaveOverworld(-1);
    ASSERT_EQ(fs::file_size(folder / "map" / "-1.overworld"), 65536u);
    EXPECT_FALSE(fs::exists(folder / "map" / "-1.overworld.new"));
    EXPECT_EQ(fake.pauses, std::vector<int>{1000});

    Paint(2);
    Tile(5, 5, 1) = 61;
    MarkGrid[CellIndex(5, 5, 0)] = 15;
    EXPECT_TRUE(LoadOverworld(-1));
    EXPECT_EQ(Level0(), saved);
    EXPECT_EQ(Tile(5, 5, 1), 61);
    EXPECT_EQ(MarkGrid[CellIndex(5, 5, 0)], 15);
    EXPECT_EQ(fake.pauses, (std::vector<int>{1000, 1000}));
    EXPECT_EQ(OpenHandles(), handles);
}

TEST_F(OverworldFile, WithNoFolderToTakeThemNothingIsSavedAnywhere) {
    // The program's files in a folder that takes nothing, and no user data home.
    std::ofstream(folder / "files") << "x";
    DataFolder = (folder / "files").string();
    std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    std::string xdg = std::getenv("XDG_DATA_HOME") ? std::getenv("XDG_DATA_HOME") : "";
    unsetenv("HOME");
    unsetenv("XDG_DATA_HOME");
    const std::string path = OverworldPath(1);
    Paint(7);
    SaveOverworld(1);
    const bool loaded = LoadOverworld(1);
    if (!home.empty()) setenv("HOME", home.c_str(), 1);
    if (!xdg.empty()) setenv("XDG_DATA_HOME", xdg.c_str(), 1);
    DataFolder.clear();
    EXPECT_EQ(path, "");
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(fs::is_empty(folder / "map"));  // not in the working folder either
    EXPECT_TRUE(fake.pauses.empty());
}

TEST_F(OverworldFile, ASaveOverALongerFileLeavesExactlyTheLevel) {
    std::ofstream(folder / "map" / "4.overworld", std::ios::binary) << std::string(100000, 'x');
    Paint(3);
    SaveOverworld(4);
    std::vector<char> bytes = FileBytes(folder / "map" / "4.overworld");
    ASSERT_EQ(bytes.size(), 65536u);
    EXPECT_EQ(std::uint8_t(bytes[65535]), MapGrid[65535]);
}

TEST_F(OverworldFile, ShortAndMissingFilesChangeNothingAndCreateNothing) {
    Paint(4);
    std::vector<std::uint8_t> before = Level0();
    std::ofstream(folder / "map" / "5.overworld", std::ios::binary) << std::string(1000, '\x0b');
    EXPECT_FALSE(LoadOverworld(5));
    EXPECT_EQ(Level0(), before);
    EXPECT_EQ(fake.pauses.size(), 1u);

    EXPECT_FALSE(LoadOverworld(6));
    EXPECT_EQ(Level0(), before);
    EXPECT_FALSE(fs::exists(folder / "map" / "6.overworld"));
    EXPECT_EQ(fake.pauses.size(), 1u);

    fs::create_directory(folder / "map" / "7.overworld");  // not a file
    EXPECT_FALSE(LoadOverworld(7));
    EXPECT_EQ(Level0(), before);
}

TEST_F(OverworldFile, ASaveThatCannotFinishLeavesTheOldFileWhole) {
    Paint(5);
    SaveOverworld(8);
    std::vector<char> old = FileBytes(folder / "map" / "8.overworld");
    Paint(6);

    // Files may grow to 1000 bytes only: the write stops partway.
    rlimit previousLimit;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previousLimit), 0);
    auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = previousLimit;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    SaveOverworld(8);
    setrlimit(RLIMIT_FSIZE, &previousLimit);
    signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(FileBytes(folder / "map" / "8.overworld"), old);
    EXPECT_FALSE(fs::exists(folder / "map" / "8.overworld.new"));
    EXPECT_EQ(fake.pauses.size(), 1u);  // only the first save paused

}

TEST_F(OverworldFile, ASaveIntoAMissingMapFolderMakesNothingAndDoesNotPause) {
    fs::remove_all(folder / "map");
    Paint(7);
    SaveOverworld(9);
    EXPECT_FALSE(fs::exists(folder / "map"));
    EXPECT_TRUE(fake.pauses.empty());
}

}  // namespace
