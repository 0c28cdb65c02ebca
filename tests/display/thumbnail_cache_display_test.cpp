// The desktop's shared thumbnail cache in the real program: a page drawn from thumbnails that
// another program wrote, the same picture as a decode draws (upright), and a thumbnail dated
// before its picture's last change decoded instead and replaced.
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "display/harness.h"
#include "platform/platform.h"

using namespace harness;

namespace {

// Frame 960 x 540 at pixel scale 2 from the screen's top-left corner; cell k of the first row
// from (140k + 10, 369), frame rows counted from the bottom.
std::uint32_t FramePixel(const Screenshot& shot, int x, int y) {
    return shot.at(2 * x + 1, 2 * (539 - y) + 1);
}

// The mean difference of each colour between the pictures of cells j and k, over the middle
// of a portrait thumbnail (94 x 140 frame pixels).
double CellDifference(const Screenshot& shot, int j, int k) {
    long long sum = 0, count = 0;
    for (int y = 369 + 4; y < 369 + 136; ++y)
        for (int x = 4; x < 90; ++x)
            for (int shift : {0, 8, 16}) {
                sum += std::abs(int((FramePixel(shot, 140 * j + 10 + x, y) >> shift) & 255) -
                                int((FramePixel(shot, 140 * k + 10 + x, y) >> shift) & 255));
                ++count;
            }
    return double(sum) / double(count);
}

// A photograph stored 1200 x 800 with EXIF orientation 6 (800 x 1200 once upright), smooth,
// so that two ways of reducing it agree closely; the orientation changes every pixel.
void WritePhoto(const std::string& path) {
    platform::Picture p;
    p.width = p.fullWidth = 1200;
    p.height = p.fullHeight = 800;
    for (int y = 0; y < 800; ++y)
        for (int x = 0; x < 1200; ++x)
            p.bgrx.insert(p.bgrx.end(),
                          {90, std::uint8_t(y * 255 / 800), std::uint8_t(x * 255 / 1200), 255});
    ASSERT_TRUE(platform::WriteJpegFile(path.c_str(), p, 95, 6));
}

std::string Thumbnailer(const std::string& folder, const std::vector<std::string>& arguments) {
    std::string log = folder + "/../thumbnailer.txt";
    Process tool(BinaryDir() + "/tests/quentaro_desktop_thumbnailer", arguments, folder, log);
    EXPECT_EQ(tool.Wait(20), 0);
    std::string path = ReadFile(log);
    return path.substr(0, path.find('\n'));
}

TEST(ThumbnailCacheDisplay, APageFromAnotherProgramsThumbnailsAndAStaleOneReplaced) {
    XServer server{1920, 1080};
    std::string folder = MakeTempFolder(), home = MakeTempFolder();
    std::string cache = home + "/thumbnails";
    // Cells 2 to 5: decoded; cached by the other program; cached as magenta, which only the
    // cache can show; cached as magenta before the file's last change.
    const std::vector<std::string> names = {"a copy.jpg", "b Plage été.jpg", "c marked.jpg",
                                            "d stale.jpg"};
    WritePhoto(folder + "/" + names[0]);
    for (std::size_t i = 1; i < names.size(); ++i)
        std::filesystem::copy_file(folder + "/" + names[0], folder + "/" + names[i]);
    Thumbnailer(folder, {cache, folder + "/" + names[1]});
    Thumbnailer(folder, {cache, folder + "/" + names[2], "FF00FF"});
    std::string stale = Thumbnailer(folder, {cache, folder + "/" + names[3], "FF00FF", "stale"});

    std::string saved = std::getenv("XDG_CACHE_HOME");  // the harness's private cache
    setenv("XDG_CACHE_HOME", home.c_str(), 1);
    Process program(ProgramPath(), {}, folder, folder + "/../cache-display-log.txt");
    setenv("XDG_CACHE_HOME", saved.c_str(), 1);
    Screenshot shot;
    ASSERT_TRUE(WaitFor(
        [&] {
            shot = Grab(server.display(), 0, 0, 1920, 1080);
            return FindColour(shot, 0xFF0000, 0, 0, 400, 100).count > 0;  // the selected entry
        },
        30));
    MovePointer(server.display(), 1900, 1060);  // the cursor cross away from the cells
    TapKey(server.display(), XK_t);
    bool marked = WaitFor(
        [&] {
            shot = Grab(server.display(), 0, 0, 1920, 1080);
            return FramePixel(shot, 4 * 140 + 10 + 40, 369 + 60) == 0xFF00FF;
        },
        30);
    SavePng(shot, folder + "/../quentaro-cache-page.png");
    ASSERT_TRUE(marked) << "the other program's thumbnail is not drawn (quentaro-cache-page.png)";
    EXPECT_LT(CellDifference(shot, 3, 2), 4.0) << "the cached thumbnail differs from the decode";
    EXPECT_LT(CellDifference(shot, 5, 2), 4.0) << "the stale thumbnail was drawn";

    // The stale one is written anew once the page is on screen, dated as its picture.
    struct stat picture;
    ASSERT_EQ(stat((folder + "/" + names[3]).c_str(), &picture), 0);
    platform::Thumbnail t;
    std::string why;
    EXPECT_TRUE(WaitFor(
        [&] {
            return platform::ReadThumbnailFile(stale, t, why) == platform::ThumbnailRead::Read &&
                   t.text.size() > 1 && t.text[1].second == std::to_string(picture.st_mtime);
        },
        10));
    TapKey(server.display(), XK_Escape);
    EXPECT_EQ(program.Wait(20), 0);
    RemoveFolder(folder);
    RemoveFolder(home);
}

}  // namespace
