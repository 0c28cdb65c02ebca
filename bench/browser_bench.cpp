// Times the browser's heavy passes on camera-size photographs made here with the JPEG encoder,
// each against its floor measured in the same run: a thumbnail page of 16 pictures of
// 4000 x 3000 against the bare decoding of the same files on two cores, the return to that
// page from the full view, the full view of a 24-megapixel picture against one bare full
// decode, and a rescan of a 3000-entry folder. Files are in the page cache throughout.
//   ./build/bench/browser_bench [work folder]
#include <turbojpeg.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "quentaro.h"

namespace {

namespace fs = std::filesystem;

double Seconds(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
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
double PageDecodeFloor(const std::vector<std::vector<unsigned char>>& files) {
    std::vector<std::vector<unsigned char>> outputs(files.size());
    auto run = [&](bool timed) {
        std::atomic<std::size_t> taken{0};
        auto work = [&] {
            tjhandle handle = tjInitDecompress();
            for (std::size_t k = taken++; k < files.size(); k = taken++) {
                std::size_t i = files.size() - 1 - k;  // the full-size one first
                int w = 0, h = 0, sub = 0, space = 0;
                tjDecompressHeader3(handle, files[i].data(), files[i].size(), &w, &h, &sub,
                                    &space);
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
    std::vector<double> times;
    for (int i = 0; i < 3; ++i) times.push_back(Seconds([&] { run(true); }));
    return Median(times);
}

double FullDecodeFloor(const std::vector<unsigned char>& file) {
    tjhandle handle = tjInitDecompress();
    int w = 0, h = 0, sub = 0, space = 0;
    tjDecompressHeader3(handle, file.data(), file.size(), &w, &h, &sub, &space);
    std::vector<unsigned char> out(std::size_t(w) * h * 4, 1);
    std::vector<double> times;
    for (int i = 0; i < 3; ++i)
        times.push_back(Seconds([&] {
            tjDecompress2(handle, file.data(), file.size(), out.data(), w, 0, h, TJPF_RGBA,
                          TJFLAG_BOTTOMUP);
        }));
    tjDestroy(handle);
    return Median(times);
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
    double pageFloor = PageDecodeFloor(files);
    double fullFloor = FullDecodeFloor(ReadAll(large / "large.jpg"));

    // A new page each time: the two folders take turns, so that neither is the page drawn last.
    Browse(pageB);
    DrawThumbnailPage();
    std::vector<double> pageTimes;
    for (int i = 0; i < 3; ++i) {
        Browse(pageA);
        pageTimes.push_back(Seconds(DrawThumbnailPage));
        Browse(pageB);
        DrawThumbnailPage();
    }
    double page = Median(pageTimes);

    // Back from the full view: a thumbnail press decodes its picture into the store, then T
    // draws the same page again.
    std::vector<double> returnTimes;
    Browse(pageB);
    for (int i = 0; i < 3; ++i) {
        platform::SetCurrentFolder(pageB.c_str());
        Loader.Load(PhotoName(3).c_str(), LoaderInfo);
        platform::SetCurrentFolder(AppState.startFolder);
        returnTimes.push_back(Seconds(DrawThumbnailPage));
    }
    double back = Median(returnTimes);

    // The full view of 24 megapixels: the decode a thumbnail press makes, then one drawing.
    platform::SetCurrentFolder(large.c_str());
    std::vector<double> loadTimes;
    for (int i = 0; i < 3; ++i)
        loadTimes.push_back(Seconds([] { Loader.Load("large.jpg", LoaderInfo); }));
    double largeLoad = Median(loadTimes);
    platform::SetCurrentFolder(AppState.startFolder);
    Loader.panFactor = 0;
    double fullView = Seconds(DrawFullView);

    Browse(many);
    double rescan = Seconds(Rescan);
    int listed = EntryTable.count;

    std::printf("page decode floor, 16 pictures on two cores:  %.3f s\n", pageFloor);
    std::printf("thumbnail page of those 16 (median of 3):     %.3f s  (%.2f x the floor)\n", page,
                page / pageFloor);
    std::printf("return to the page from the full view:        %.4f s\n", back);
    std::printf("full decode floor, 6000 x 4000:               %.3f s\n", fullFloor);
    std::printf("its load for the full view (median of 3):     %.3f s  (%.2f x the floor)\n",
                largeLoad, largeLoad / fullFloor);
    std::printf("full view drawing of it, zoom 4:              %.4f s\n", fullView);
    std::printf("rescan of a 3000-entry folder (%d kept):    %.4f s\n", listed, rescan);
    fs::remove_all(work);
    return 0;
}
