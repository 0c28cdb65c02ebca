// Times the browser's heavy passes on camera-size photographs made here with the JPEG encoder:
// one thumbnail page of 18 pictures from a cold cache (as drawn, and against decoding every
// picture at full size), one full view of a 24-megapixel picture, and a rescan of a
// 3000-entry folder. Usage: browser_bench [work folder]; prints seconds and ratios.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "quentaro.h"

namespace {

namespace fs = std::filesystem;

double Seconds(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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

// Drops the files of `folder` from the page cache so that the next read goes to the disk.
void Evict(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        int fd = open(entry.path().c_str(), O_RDONLY);
        if (fd < 0) continue;
        fdatasync(fd);
        posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        close(fd);
    }
}

void Browse(const fs::path& folder) {
    std::snprintf(AppState.browseFolder, FOLDER_CAPACITY, "%s", folder.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    fs::path work = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path() / "quentaro_bench";
    fs::remove_all(work);
    fs::path page = work / "page", large = work / "large", many = work / "many";
    fs::create_directories(page);
    fs::create_directories(large);
    fs::create_directories(many);

    std::printf("making pictures in %s ...\n", work.c_str());
    platform::WriteJpegFile((page / "photo_00.jpg").c_str(), Photo(4000, 3000), 90);
    for (int i = 1; i < 18; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "photo_%02d.jpg", i);
        fs::copy_file(page / "photo_00.jpg", page / name);
    }
    platform::WriteJpegFile((large / "large.jpg").c_str(), Photo(6000, 4000), 90);
    for (int i = 0; i < 2998; ++i) std::fclose(std::fopen((many / std::to_string(i)).c_str(), "w"));
    std::printf("one 4000 x 3000 picture: %.1f MB\n",
                double(fs::file_size(page / "photo_00.jpg")) / 1e6);

    std::snprintf(AppState.startFolder, FOLDER_CAPACITY, "%s", platform::CurrentFolder().c_str());
    ResizeFrame(960, 540);
    AppState.cellWidth = AppState.cellHeight = 140;
    AllocateEntryTable();
    AllocateImageStore();
    Loader.pixels = ImageStore;
    Loader.zoomStep = 4.0f;
    DrawText(0, 0, 0, 0, 0);  // nothing to draw yet: keeps the text code out of the timings

    // The page as drawn: reduced decodes, then the last picture at full size.
    Browse(page);
    AppState.pageFirst = 1;
    Evict(page);
    double pageCold = Seconds(DrawThumbnailPage);
    double pageWarm = Seconds(DrawThumbnailPage);

    // The same 18 pictures decoded in full, as a full-size sampling of the page would need.
    Evict(page);
    platform::SetCurrentFolder(page.c_str());
    double fullDecodes = Seconds([] {
        for (int i = 0; i < 18; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "photo_%02d.jpg", i);
            Loader.Load(name, LoaderInfo);
        }
    });
    double oneFullLoad = Seconds([] { Loader.Load("photo_00.jpg", LoaderInfo); });
    platform::SetCurrentFolder(AppState.startFolder);

    // A full view of 24 megapixels: the decode a thumbnail press makes, then one drawing.
    Evict(large);
    platform::SetCurrentFolder(large.c_str());
    double largeLoad = Seconds([] { Loader.Load("large.jpg", LoaderInfo); });
    platform::SetCurrentFolder(AppState.startFolder);
    Loader.panFactor = 0;
    double fullView = Seconds(DrawFullView);
    Loader.zoomStep = 0.25f;
    double fullViewMagnified = Seconds(DrawFullView);

    Browse(many);
    double rescan = Seconds(Rescan);
    int listed = EntryTable.count;

    std::printf("thumbnail page, 18 x 4000x3000, cold:     %.3f s\n", pageCold);
    std::printf("thumbnail page, warm:                     %.3f s\n", pageWarm);
    std::printf("18 full-size decodes, cold:               %.3f s  (%.1f x the page)\n",
                fullDecodes, fullDecodes / pageCold);
    std::printf("one 12-megapixel load, warm:              %.3f s\n", oneFullLoad);
    std::printf("24-megapixel decode for the full view:    %.3f s\n", largeLoad);
    std::printf("full view drawing, zoom 4 / zoom 0.25:    %.4f s / %.4f s\n", fullView,
                fullViewMagnified);
    std::printf("rescan of a 3000-entry folder (%d kept):  %.4f s\n", listed, rescan);
    fs::remove_all(work);
    return 0;
}
