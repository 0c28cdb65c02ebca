// The long run by hand (scripts/soak.sh), never part of the test suite: the real program on
// its own Xvfb server for a given time, browsing a folder of pictures and sub-folders while
// scripted keys (T ] [ , . R P) and right presses drive it and the player (a stand-in for
// mpv behind the shipped adapter) is started again and again. Every ~10 s it samples the
// program's resident memory, open descriptors and child processes, and prints one line;
// at the end a summary, and status 1 when memory or descriptors grew, children were left
// unreaped, or the program ended by itself.
//   quentaro_soak SECONDS [SAMPLE_SECONDS]
#include <X11/keysym.h>
#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "display/harness.h"
#include "platform/platform.h"

using namespace harness;
namespace fs = std::filesystem;

namespace {

constexpr const char* PLAYER_TITLE = "Kelvo video and audio player";

struct Sample {
    double seconds = 0;
    long rssKb = 0;
    int fds = 0;
    int children = 0;  // alive
    int zombies = 0;   // ended but not reaped
};

long RssKb(int pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

int OpenDescriptors(int pid) {
    int count = 0;
    std::error_code error;
    for (fs::directory_iterator it("/proc/" + std::to_string(pid) + "/fd", error), end;
         !error && it != end; it.increment(error))
        ++count;
    return error ? -1 : count;
}

// Children of `pid` from /proc: (alive, zombies).
void Children(int pid, int& alive, int& zombies) {
    alive = zombies = 0;
    DIR* proc = opendir("/proc");
    if (proc == nullptr) return;
    while (dirent* entry = readdir(proc)) {
        if (entry->d_name[0] < '0' || entry->d_name[0] > '9') continue;
        std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
        std::string text;
        std::getline(stat, text);
        // pid (name) state ppid ...: the name may hold spaces and parentheses.
        std::size_t close = text.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream rest(text.substr(close + 1));
        char state = 0;
        int parent = 0;
        rest >> state >> parent;
        if (parent != pid) continue;
        if (state == 'Z')
            ++zombies;
        else
            ++alive;
    }
    closedir(proc);
}

// Pictures (BMP and JPEG, a few sizes), a clip for the player, sub-folders two deep.
void MakeBrowseFolder(const std::string& folder) {
    std::mt19937 random(7);
    auto jpeg = [&](const std::string& path, int width, int height) {
        platform::Picture picture;
        picture.width = width, picture.height = height;
        picture.bgrx.resize(std::size_t(width) * height * 4);
        for (std::size_t i = 0; i < picture.bgrx.size(); ++i)
            picture.bgrx[i] = std::uint8_t((i / 4 % width) * 255 / width + (i % 3) * 60);
        platform::WriteJpegFile(path.c_str(), picture, 85, 1 + int(random() % 8));
    };
    for (const std::string& sub : {std::string(), std::string("/holiday"),
                                   std::string("/holiday/beach"), std::string("/work")}) {
        fs::create_directories(folder + sub);
        for (int i = 0; i < 6; ++i) {
            jpeg(folder + sub + "/photo" + std::to_string(i) + ".jpg", 200 + 300 * i,
                 150 + 200 * i);
            WriteBmp(folder + sub + "/plain" + std::to_string(i) + ".bmp", 64 + 40 * i, 48 + 30 * i,
                     std::uint32_t(random() & 0xFFFFFF));
        }
        WriteFile(folder + sub + "/clip one.mp4", "not really a film");
        WriteFile(folder + sub + "/song.mp3", "nor a song");
    }
}

// The program's start folder: its picture folders and the player adapter from the build,
// linked, so that the stand-in's log lands here and not in the build folder.
void MakeStartFolder(const std::string& folder) {
    for (const fs::directory_entry& entry : fs::directory_iterator(BinaryDir())) {
        std::string name = entry.path().filename().string();
        if (name.rfind("bmp_", 0) == 0 || name == "kelvo")
            fs::create_symlink(entry.path(), folder + "/" + name);
    }
}

// Frame 960 x 540 at pixel scale 2; list entry k's label in column 0, as the browser's
// display test finds it. True when the label shows a pixel of `colour`.
bool LabelShows(const Screenshot& shot, int k, std::uint32_t colour) {
    int pen = 540 - 26 - 8 * k;
    for (int fy = pen - 7; fy <= pen + 1; ++fy)
        for (int fx = 10; fx < 80; ++fx) {
            int x = 2 * fx + 1, y = 2 * (539 - fy) + 1;
            if (y >= 0 && y < shot.height && shot.at(x, y) == colour) return true;
        }
    return false;
}

// In the list view, two presses on a file's label (green) select it and start the player.
bool PlayAFile(Display* display, std::mt19937& random) {
    constexpr std::uint32_t GREEN = 0x00FF00;
    Screenshot shot = Grab(display, 0, 0, 1920, 1080);
    std::vector<int> files;
    for (int k = 1; k <= 60; ++k)
        if (LabelShows(shot, k, GREEN)) files.push_back(k);
    if (files.empty()) return false;
    int k = files[random() % files.size()];
    MovePointer(display, 2 * 12 + 1, 2 * (539 - (540 - 26 - 8 * k - 5)) + 1);
    RightClick(display);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));  // its pause after a selection
    RightClick(display);
    return true;
}

void Print(const Sample& s) {
    std::printf("%8.0f s  rss %7ld kB  fds %3d  children %2d  zombies %2d\n", s.seconds, s.rssKb,
                s.fds, s.children, s.zombies);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SECONDS [SAMPLE_SECONDS]\n", argv[0]);
        return 2;
    }
    const double duration = std::atof(argv[1]);
    const double every = argc > 2 ? std::atof(argv[2]) : 10.0;

    std::string scratch = MakeTempFolder();
    std::string start = scratch + "/start", browse = scratch + "/pictures", bin = scratch + "/bin";
    fs::create_directories(start);
    fs::create_directories(bin);
    MakeStartFolder(start);
    MakeBrowseFolder(browse);
    // The adapter starts "mpv" from the PATH: the stand-in takes its place.
    fs::create_symlink(BinaryDir() + "/tools/kelvo_standin/kelvo_standin", bin + "/mpv");
    setenv("PATH", (bin + ":" + std::getenv("PATH")).c_str(), 1);

    XServer server{1920, 1080};
    Display* display = server.display();
    Process program(ProgramPath(), {browse}, start, scratch + "/program.log");
    if (!WaitFor([&] { return !FindWindows(display, "GAME").empty(); }, 60)) {
        std::fprintf(stderr, "the program's window never appeared\n");
        return 1;
    }

    std::mt19937 random(2024);
    const unsigned long keys[] = {XK_t, XK_bracketright, XK_bracketleft, XK_comma, XK_period, XK_r,
                                  XK_p};
    std::vector<Sample> samples;
    long actions = 0, presses = 0, plays = 0, closedPlayers = 0;
    auto begin = std::chrono::steady_clock::now();
    auto elapsed = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    };
    double nextSample = 0;
    bool ended = false;
    while (elapsed() < duration) {
        if (!program.Running()) {
            ended = true;
            break;
        }
        if (elapsed() >= nextSample) {
            Sample s;
            s.seconds = elapsed();
            s.rssKb = RssKb(program.pid());
            s.fds = OpenDescriptors(program.pid());
            Children(program.pid(), s.children, s.zombies);
            samples.push_back(s);
            Print(s);
            nextSample += every;
        }
        // A user's mix: mostly keys, a right press every third action (on a list entry's
        // column, a thumbnail or anywhere), now and then closing the players that opened.
        int pick = int(random() % 14);
        if (pick < 7) {
            TapKey(display, keys[pick]);
        } else if (pick < 11) {
            int x = pick == 7 ? 25 + int(random() % 200) : int(random() % 1920);
            int y = int(random() % 1080);
            MovePointer(display, x, y);
            RightClick(display);
            ++presses;
        } else if (pick < 13) {
            plays += PlayAFile(display, random);
        } else {
            for (const FoundWindow& player : FindWindows(display, PLAYER_TITLE)) {
                SendCloseRequest(display, player.window);
                ++closedPlayers;
            }
        }
        ++actions;
        std::this_thread::sleep_for(std::chrono::milliseconds(150 + random() % 200));
    }

    // Players still open are closed, and the program has a few seconds to reap them.
    for (const FoundWindow& player : FindWindows(display, PLAYER_TITLE))
        SendCloseRequest(display, player.window);
    std::this_thread::sleep_for(std::chrono::seconds(5));
    Sample last;
    last.seconds = elapsed();
    if (!ended) {
        last.rssKb = RssKb(program.pid());
        last.fds = OpenDescriptors(program.pid());
        Children(program.pid(), last.children, last.zombies);
        samples.push_back(last);
        Print(last);
    }
    std::string standinLog = start + "/kelvo-standin.log";
    std::ifstream starts(standinLog);
    long playersStarted = 0, playersLeft = 0;
    for (std::string line; std::getline(starts, line);) {
        if (line.rfind("pid ", 0) != 0) continue;
        ++playersStarted;
        // Still running once its window was closed: a player left behind.
        std::ifstream command("/proc/" + line.substr(4) + "/cmdline");
        std::string name;
        std::getline(command, name, '\0');
        playersLeft += name.find("mpv") != std::string::npos ||
                       name.find("kelvo_standin") != std::string::npos;
    }

    // Growth is judged after the first minute, when the caches have filled.
    const Sample* settled = &samples.front();
    for (const Sample& s : samples)
        if (s.seconds >= 60) {
            settled = &s;
            break;
        }
    long maxRss = 0;
    int maxFds = 0, maxZombies = 0;
    for (const Sample& s : samples) {
        maxRss = std::max(maxRss, s.rssKb);
        maxFds = std::max(maxFds, s.fds);
        maxZombies = std::max(maxZombies, s.zombies);
    }
    std::printf("\n%.0f s, %ld actions (%ld right presses, %ld plays by presses, %ld player "
                "windows closed), "
                "%ld players started\n",
                last.seconds, actions, presses, plays, closedPlayers, playersStarted);
    std::printf("rss after the first minute %ld kB, at the end %ld kB, largest %ld kB\n",
                settled->rssKb, last.rssKb, maxRss);
    std::printf("descriptors after the first minute %d, at the end %d, most %d\n", settled->fds,
                last.fds, maxFds);
    std::printf("children at the end %d alive, %d unreaped; most unreaped at a sample %d\n",
                last.children, last.zombies, maxZombies);
    bool grew =
        last.rssKb > settled->rssKb + settled->rssKb / 10 + 8 * 1024 || last.fds > settled->fds + 2;
    std::printf("players still running after their windows were closed: %ld\n", playersLeft);
    bool leftBehind = last.zombies > 0 || last.children > 0 || playersLeft > 0;
    if (ended) std::printf("the program ended by itself: see %s/program.log\n", scratch.c_str());
    if (grew) std::printf("memory or descriptors grew\n");
    if (leftBehind) std::printf("child processes were left behind\n");
    TapKey(display, XK_Escape);
    program.Wait(10);
    if (!ended && !grew && !leftBehind) RemoveFolder(scratch);
    return ended || grew || leftBehind ? 1 : 0;
}
