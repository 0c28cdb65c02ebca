// Times the browser's heavy passes on camera-size photographs made here with the JPEG encoder,
// each against its floor measured in the same run: a thumbnail page of 16 pictures of
// 4000 x 3000 against the bare decoding of the same files on two cores, the same page with the
// desktop's thumbnail cache (first visit, writing, and every thumbnail found), the return to
// that page from the full view, the full view of a 24-megapixel picture against one bare full
// decode, that picture fitted into the frame (F), and a rescan of a 3000-entry folder. Files
// are in the page cache throughout.
//   ./build/bench/browser_bench [work folder]
#include <turbojpeg.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "quentaro.h"

namespace {

namespace fs = std::filesystem;

// Processor time of the whole process (every thread), which a loaded machine inflates far
// less than the time on the clock.
double CpuNow() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// The clock time of the last Seconds() call's work and its processor time.
double LastCpu = 0;

double Seconds(const std::function<void()>& work) {
    double cpu = CpuNow();
    auto start = std::chrono::steady_clock::now();
    work();
    LastCpu = CpuNow() - cpu;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Runs `work` `times` times; medians of clock and processor time.
struct Timing {
    double wall, cpu;
};
Timing Measure(int times, const std::function<void()>& before, const std::function<void()>& work) {
    std::vector<double> wall, cpu;
    for (int i = 0; i < times; ++i) {
        before();
        wall.push_back(Seconds(work));
        cpu.push_back(LastCpu);
    }
    return {Median(wall), Median(cpu)};
}

// A photograph-like picture: smooth light with fine texture, so that it compresses about
// as a camera picture does.
platform::Picture Photo(int width, int height) {
    platform::Picture p;
    p.width = p.fullWidth = width;
    p.height = p.fullHeight = height;
    p.bgrx.resize(std::size_t(width) * height * 4);
    std::uint32_t noise = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245u + 12345u;
            int grain = int(noise >> 27);  // 0..31
            std::uint8_t* o = &p.bgrx[(std::size_t(y) * width + x) * 4];
            o[0] = std::uint8_t((x * 200 / width + grain) & 255);
            o[1] = std::uint8_t((y * 180 / height + grain) & 255);
            o[2] = std::uint8_t(((x + y) * 150 / (width + height) + 2 * grain) & 255);
            o[3] = 255;
        }
    return p;
}

std::vector<unsigned char> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), {});
}

// The bare decoding a page needs, with the files already in memory and the output buffers
// already written once: the page's pictures at the reduced size a 140-pixel cell asks for,
// the last one at full size, shared out over two threads. No program can decode them faster
// with this library.
Timing PageDecodeFloor(const std::vector<std::vector<unsigned char>>& files) {
    std::vector<std::vector<unsigned char>> outputs(files.size());
    auto run = [&](bool timed) {
        std::atomic<std::size_t> taken{0};
        auto work = [&] {
            tjhandle handle = tjInitDecompress();
            for (std::size_t k = taken++; k < files.size(); k = taken++) {
                std::size_t i = files.size() - 1 - k;  // the full-size one first
                int w = 0, h = 0, sub = 0, space = 0;
                tjDecompressHeader3(handle, files[i].data(), files[i].size(), &w, &h, &sub, &space);
                bool full = i == files.size() - 1;
                int flags = TJFLAG_BOTTOMUP | (full ? 0 : TJFLAG_FASTDCT);
                if (!full) w = (w + 7) / 8, h = (h + 7) / 8;  // 500 x 375 reaches 72 pixels
                if (!timed) outputs[i].assign(std::size_t(w) * h * 4, 1);
                tjDecompress2(handle, files[i].data(), files[i].size(), outputs[i].data(), w, 0, h,
                              TJPF_RGBA, flags);
            }
            tjDestroy(handle);
        };
        std::thread helper(work);
        work();
        helper.join();
    };
    run(false);
    return Measure(
        5, [] {}, [&] { run(true); });
}

Timing FullDecodeFloor(const std::vector<unsigned char>& file) {
    tjhandle handle = tjInitDecompress();
    int w = 0, h = 0, sub = 0, space = 0;
    tjDecompressHeader3(handle, file.data(), file.size(), &w, &h, &sub, &space);
    std::vector<unsigned char> out(std::size_t(w) * h * 4, 1);
    Timing t = Measure(
        5, [] {},
        [&] {
            tjDecompress2(handle, file.data(), file.size(), out.data(), w, 0, h, TJPF_RGBA,
                          TJFLAG_BOTTOMUP);
        });
    tjDestroy(handle);
    return t;
}

void Browse(const fs::path& folder) {
    std::snprintf(AppState.browseFolder, FOLDER_CAPACITY, "%s", folder.c_str());
    AppState.pageFirst = 1;
}

std::string PhotoName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "photo_%02d.jpg", i);
    return name;
}

}  // namespace

int main(int argc, char** argv) {
    fs::path work = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "quentaro_bench";
    fs::remove_all(work);
    fs::path pageA = work / "a", pageB = work / "b", large = work / "large", many = work / "many";
    for (const fs::path& f : {pageA, pageB, large, many}) fs::create_directories(f);

    std::printf("making pictures in %s ...\n", work.c_str());
    platform::WriteJpegFile((pageA / PhotoName(1)).c_str(), Photo(4000, 3000), 90);
    for (int i = 1; i <= 16; ++i) {
        if (i > 1) fs::copy_file(pageA / PhotoName(1), pageA / PhotoName(i));
        fs::copy_file(pageA / PhotoName(1), pageB / PhotoName(i));
    }
    platform::WriteJpegFile((large / "large.jpg").c_str(), Photo(6000, 4000), 90);
    for (int i = 0; i < 2998; ++i) std::fclose(std::fopen((many / std::to_string(i)).c_str(), "w"));
    std::printf("one 4000 x 3000 picture: %.1f MB; the 6000 x 4000 one: %.1f MB\n",
                double(fs::file_size(pageA / PhotoName(1))) / 1e6,
                double(fs::file_size(large / "large.jpg")) / 1e6);

    std::snprintf(AppState.startFolder, FOLDER_CAPACITY, "%s", platform::CurrentFolder().c_str());
    ResizeFrame(960, 540);
    AppState.cellWidth = AppState.cellHeight = 140;
    AllocateEntryTable();
    AllocateImageStore();
    Loader.pixels = ImageStore;
    Loader.zoomStep = 4.0f;
    DrawText(0, 0, 0, 0, 0);  // nothing to draw yet: keeps the text code out of the timings

    std::vector<std::vector<unsigned char>> files;
    for (int i = 1; i <= 16; ++i) files.push_back(ReadAll(pageA / PhotoName(i)));
    Timing pageFloor = PageDecodeFloor(files);
    Timing fullFloor = FullDecodeFloor(ReadAll(large / "large.jpg"));

    // A new page each time: the two folders take turns, so that neither is the page drawn last.
    Browse(pageB);
    DrawThumbnailPage();
    Timing page = Measure(
        5,
        [&] {
            Browse(pageB);
            DrawThumbnailPage();
            Browse(pageA);
        },
        DrawThumbnailPage);

    // The same page with the desktop's thumbnail cache: a first visit, which decodes as above
    // and makes every thumbnail, then writes them on the idle passes after it; and a later
    // visit, which finds them all.
    fs::path cache = work / "cache" / "thumbnails";
    auto otherPageWithoutCache = [&] {
        ThumbnailCacheRoot.clear();
        WritePendingThumbnail();  // drops what waits
        Browse(pageB);
        DrawThumbnailPage();
        ThumbnailCacheRoot = cache.string();
        Browse(pageA);
    };
    Timing cold = Measure(
        5,
        [&] {
            otherPageWithoutCache();
            fs::remove_all(cache);
        },
        DrawThumbnailPage);
    std::vector<double> writes;
    int waiting = 1;
    while (waiting > 0) {
        writes.push_back(Seconds([&] { waiting = WritePendingThumbnail(); }));
        writes.back() = LastCpu;
    }
    double writesCpu = 0;
    for (double w : writes) writesCpu += w;
    Timing warm = Measure(5, otherPageWithoutCache, DrawThumbnailPage);
    ThumbnailCacheRoot.clear();

    // Back from the full view: a thumbnail press decodes its picture into the store, then T
    // draws the same page again.
    Browse(pageB);
    DrawThumbnailPage();
    Timing back = Measure(
        5,
        [&] {
            platform::SetCurrentFolder(pageB.c_str());
            Loader.Load(PhotoName(3).c_str(), LoaderInfo);
            platform::SetCurrentFolder(AppState.startFolder);
        },
        DrawThumbnailPage);

    // The full view of 24 megapixels: the decode a thumbnail press makes, then one drawing.
    // The first load writes store pages never written before; later ones reuse them.
    platform::SetCurrentFolder(large.c_str());
    double firstLoad = Seconds([] { Loader.Load("large.jpg", LoaderInfo); });
    double firstLoadCpu = LastCpu;
    Timing load = Measure(
        5, [] {}, [] { Loader.Load("large.jpg", LoaderInfo); });
    platform::SetCurrentFolder(AppState.startFolder);
    Loader.panFactor = 0;
    double fullView = Seconds(DrawFullView);
    // F: the same picture fitted into the frame. The first drawing of a picture averages it
    // down; the drawings after it (the pointer moving) copy what it made.
    FullViewFit = 1;
    Timing fit = Measure(
        5, [] { Loader.loadCount += 1; }, DrawFullView);
    Timing fitAgain = Measure(
        5, [] {}, DrawFullView);
    FullViewFit = 0;

    Browse(many);
    double rescan = Seconds(Rescan);
    int listed = EntryTable.count;

    std::printf("medians of 5; clock seconds, then processor seconds of all threads\n");
    std::printf("page decode floor, 16 pictures on two cores:  %.3f s  cpu %.3f s\n",
                pageFloor.wall, pageFloor.cpu);
    std::printf("thumbnail page of those 16:                   %.3f s  cpu %.3f s  "
                "(%.2f x / cpu %.2f x the floor)\n",
                page.wall, page.cpu, page.wall / pageFloor.wall, page.cpu / pageFloor.cpu);
    std::printf("the page, first visit with the cache:         %.3f s  cpu %.3f s  "
                "(%.2f x the page without it)\n",
                cold.wall, cold.cpu, cold.wall / page.wall);
    std::printf(
        "  then its %zu thumbnails written, one a pass:  cpu %.4f s, the longest pass %.4f s\n",
        writes.size(), writesCpu, *std::max_element(writes.begin(), writes.end()));
    std::printf("the page, every thumbnail in the cache:       %.4f s  cpu %.4f s  "
                "(%.1f x sooner than without it)\n",
                warm.wall, warm.cpu, page.wall / warm.wall);
    std::printf("return to the page from the full view:        %.4f s  cpu %.4f s\n", back.wall,
                back.cpu);
    std::printf("full decode floor, 6000 x 4000:               %.3f s  cpu %.3f s\n",
                fullFloor.wall, fullFloor.cpu);
    std::printf("its load for the full view:                   %.3f s  cpu %.3f s  "
                "(%.2f x / cpu %.2f x the floor)\n",
                load.wall, load.cpu, load.wall / fullFloor.wall, load.cpu / fullFloor.cpu);
    std::printf("  its first load, into unwritten store pages: %.3f s  cpu %.3f s\n", firstLoad,
                firstLoadCpu);
    std::printf("full view drawing of it, zoom 4:              %.4f s\n", fullView);
    std::printf("  fitted (F), averaged down to 810 x 540:     %.4f s  cpu %.4f s\n", fit.wall,
                fit.cpu);
    std::printf("  fitted, drawn again:                        %.4f s\n", fitAgain.wall);
    std::printf("rescan of a 3000-entry folder (%d kept):    %.4f s\n", listed, rescan);
    fs::remove_all(work);
    return 0;
}
