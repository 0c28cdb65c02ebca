// The `kelvo` adapter shipped beside the program: how it turns the browser's command
// line into an mpv call, and what it says when there is nothing to play with.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class KelvoAdapter : public ::testing::Test {
  protected:
    fs::path folder = fs::temp_directory_path() / ("kelvo-adapter-" + std::to_string(getpid()));
    fs::path bin = folder / "bin";

    void SetUp() override {
        fs::remove_all(folder);
        fs::create_directories(bin);
    }
    void TearDown() override { fs::remove_all(folder); }

    void InstallFakeMpv() {
        std::ofstream(bin / "mpv") << "#!/bin/sh\nfor w in \"$@\"; do printf '[%s]\\n' \"$w\"; "
                                      "done > '"
                                   << (folder / "mpv-words").string() << "'\n";
        fs::permissions(bin / "mpv", fs::perms::owner_all);
    }

    // Runs the adapter with the words the browser gives it; returns its exit status.
    int Run(const std::string& path) {
        std::string command = "PATH='" + bin.string() +
                              "' '" QUENTARO_BINARY_DIR "/kelvo' quorvale '" + path + "' 0 2>'" +
                              (folder / "stderr").string() + "'";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Read(const char* name) {
        std::stringstream text;
        text << std::ifstream(folder / name).rdbuf();
        return text.str();
    }
};

TEST_F(KelvoAdapter, PlaysWithMpvUnderThePlayersTitleWithTheSpacesBack) {
    InstallFakeMpv();
    std::ofstream(folder / "my clip.mp4") << "film";
    ASSERT_EQ(Run(folder.string() + "//my*clip.mp4"), 0) << Read("stderr");
    EXPECT_EQ(Read("mpv-words"), "[--title=Kelvo video and audio player]\n"
                                 "[--force-window=immediate]\n[--geometry=600x600+0+0]\n"
                                 "[--no-terminal]\n[--]\n[" +
                                     folder.string() + "//my clip.mp4]\n");

    // A '*' may also be a '*' of the name: each one is read either way.
    std::ofstream(folder / "a*b.mp3") << "song";
    ASSERT_EQ(Run(folder.string() + "/a*b.mp3"), 0);
    EXPECT_NE(Read("mpv-words").find("[" + folder.string() + "/a*b.mp3]"), std::string::npos);
    std::ofstream(folder / "x* y.mp3") << "song";
    ASSERT_EQ(Run(folder.string() + "/x**y.mp3"), 0) << Read("stderr");
    EXPECT_NE(Read("mpv-words").find("[" + folder.string() + "/x* y.mp3]"), std::string::npos);

    // Two files the browser writes alike: neither is played, since either may be the one chosen.
    fs::remove(folder / "mpv-words");
    std::ofstream(folder / "a b.mp3") << "other song";
    EXPECT_EQ(Run(folder.string() + "/a*b.mp3"), 1);
    EXPECT_EQ(Read("stderr"),
              "kelvo: 2 files match a*b.mp3 (spaces and '*' look alike here): rename one\n");
    EXPECT_FALSE(fs::exists(folder / "mpv-words"));
}

TEST_F(KelvoAdapter, SaysSoWhenThereIsNoPlayerOrNoFile) {
    std::ofstream(folder / "clip.mp4") << "film";
    EXPECT_EQ(Run(folder.string() + "/clip.mp4"), 1);
    EXPECT_EQ(Read("stderr"), "kelvo: no player for clip.mp4: install mpv\n");
    InstallFakeMpv();
    EXPECT_EQ(Run(folder.string() + "/gone.mp4"), 1);
    EXPECT_NE(Read("stderr").find("no such file"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "mpv-words"));
}

}  // namespace
