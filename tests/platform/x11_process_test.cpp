// Starting programs on Linux: parameters arrive as plain argument words (no shell ever
// reads them), the desktop's opener is found through PATH, and no child is left behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/x11/x11_platform.h"

namespace {

namespace fs = std::filesystem;

class StartProgram : public ::testing::Test {
  protected:
    fs::path folder;
    platform::X11Platform system;

    void SetUp() override {
        char pattern[] = "/tmp/quentaro-process-XXXXXX";
        folder = mkdtemp(pattern);
        ASSERT_EQ(mkfifo((folder / "words").c_str(), 0600), 0);
    }
    void TearDown() override { fs::remove_all(folder); }

    // A script that writes each of its argument words after the program name as [word] into the
    // fifo.
    fs::path Recorder(const std::string& name) {
        fs::path path = folder / name;
        std::ofstream(path) << "#!/bin/sh\nfor w in \"$@\"; do printf '[%s]\\n' \"$w\"; "
                               "done > '"
                            << (folder / "words").string() << "'\n";
        fs::permissions(path, fs::perms::owner_all);
        return path;
    }

    // What the started program wrote, waiting at most ten seconds for it.
    std::string Words() {
        int fd = open((folder / "words").c_str(), O_RDONLY | O_NONBLOCK);
        std::string text;
        pollfd wait{fd, POLLIN, 0};
        while (poll(&wait, 1, 10000) > 0) {
            char buffer[256];
            ssize_t got = read(fd, buffer, sizeof buffer);
            if (got <= 0) break;
            text.append(buffer, std::size_t(got));
        }
        close(fd);
        return text;
    }

    static bool NoChildren() { return waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD; }

    fs::path Script(const std::string& name, const std::string& body) {
        fs::path path = folder / name;
        std::ofstream(path) << "#!/bin/sh\n" << body;
        fs::permissions(path, fs::perms::owner_all);
        return path;
    }

    // The next early failure reported, waiting at most ten seconds; "" if none came.
    std::string NextFailure() {
        std::string message;
        for (int i = 0; i < 1000; ++i) {
            if (system.TakeStartedProgramFailure(message)) return message;
            poll(nullptr, 0, 10);
        }
        return "";
    }
};

TEST_F(StartProgram, ParametersArriveAsWordsThatNoShellInterprets) {
    fs::path recorder = Recorder("kelvo");
    const std::string path = "/v//my*clip;touch${IFS}gotcha`id`$(id)'\"|x.mp4";
    ASSERT_TRUE(system.StartProgram(recorder.c_str(), (" quorvale " + path + " 0 ").c_str()));
    EXPECT_EQ(Words(), "[quorvale]\n[" + path + "]\n[0]\n");
    EXPECT_FALSE(fs::exists(folder / "gotcha"));
    EXPECT_FALSE(fs::exists("gotcha"));
    EXPECT_TRUE(NoChildren());

    EXPECT_FALSE(system.StartProgram((folder / "absent").c_str(), " quorvale x 0 "));
    std::ofstream(folder / "plain") << "not a program\n";
    EXPECT_FALSE(system.StartProgram((folder / "plain").c_str(), ""));
    EXPECT_TRUE(NoChildren());
}

TEST_F(StartProgram, AnEarlyFailureIsHeardWithTheProgramsLastWordsWhichStillReachStderr) {
    // Our standard error, caught in a file for the length of the test.
    int saved = dup(2);
    int caught = open((folder / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(caught, 2);
    close(caught);
    ASSERT_TRUE(system.StartProgram(Script("fine", "echo chatty >&2\nexit 0\n").c_str(), ""));
    ASSERT_TRUE(system.StartProgram(
        Script("kelvo", "echo 'looking' >&2\necho 'kelvo: no player for x.mp4: install mpv' >&2\n"
                        "exit 1\n")
            .c_str(),
        " quorvale x.mp4 0 "));
    std::string first = NextFailure();
    ASSERT_TRUE(system.StartProgram(Script("silent", "exit 3\n").c_str(), ""));
    std::string second = NextFailure();
    dup2(saved, 2);
    close(saved);
    // The program that ended well says nothing on screen; the others say why.
    EXPECT_EQ(first, "kelvo: no player for x.mp4: install mpv");
    EXPECT_EQ(second, "silent ended with status 3");
    std::string echoed;
    for (int i = 0; i < 500 && echoed.find("install mpv") == std::string::npos; ++i) {
        std::ifstream file(folder / "stderr");
        echoed.assign(std::istreambuf_iterator<char>(file), {});
        poll(nullptr, 0, 10);
    }
    EXPECT_NE(echoed.find("chatty\n"), std::string::npos) << echoed;
    EXPECT_NE(echoed.find("looking\nkelvo: no player for x.mp4: install mpv\n"), std::string::npos)
        << echoed;
    EXPECT_TRUE(NoChildren());
}

TEST_F(StartProgram, TheFolderOpenerIsFoundThroughPathAndGetsTheFolderWhole) {
    fs::create_directory(folder / "bin");
    fs::path opener = Recorder("bin/xdg-open");
    std::string saved = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", ((folder / "bin").string() + ":" + saved).c_str(), 1);
    bool started = system.OpenFolderInFileManager("/music/my songs/");
    setenv("PATH", saved.c_str(), 1);
    ASSERT_TRUE(started);
    EXPECT_EQ(Words(), "[/music/my songs/]\n");
    EXPECT_TRUE(NoChildren());

    setenv("PATH", folder.c_str(), 1);  // no opener there
    EXPECT_FALSE(system.OpenFolderInFileManager("/music/"));
    setenv("PATH", saved.c_str(), 1);
}

}  // namespace
