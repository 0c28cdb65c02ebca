// The three views of the browser, drawn by the main loop into the Framebuffer with pick ids
// under what can be pressed: the multi-column list, the thumbnail page and the full view.
// Each ends by saving the frame, which the loop copies back under the overlay every pass.
#include "browser/views.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "browser/entry_table.h"
#include "browser/texture_loader.h"
#include "draw/lines.h"
#include "draw/pixels.h"
#include "draw/text.h"
#include "platform/platform.h"
#include "shell/app_state.h"
#include "shell/frame_buffers.h"
#include "shell/gl_window.h"
#include "shell/input_hooks.h"

int FullViewBlank = 0;
void (*ListLabelText)(int x, int y, int r, int g, int b, int id) = DrawPickText;
void (*ThumbnailLabelText)(int x, int y, int r, int g, int b) = DrawText;

namespace {

// Label width by frame width; other widths keep the current value.
void SetLabelChars(bool listView) {
    switch (AppState.frameWidth) {
    case 320:
        AppState.labelChars = listView ? 6 : 9;
        break;
    case 640:
        AppState.labelChars = listView ? 36 : 18;
        break;
    case 1280:
        AppState.labelChars = 36;
        break;
    case 1600:
        AppState.labelChars = listView ? 64 : 36;
        break;
    default:
        break;
    }
}

void SaveFrame() {
    std::memcpy(SavedFrame, Framebuffer,
                std::size_t(AppState.frameWidth) * std::size_t(AppState.frameHeight) * 4);
}

void PutBlock(int x, int y, const std::uint8_t* rgb, int id) {
    for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) {
            PutPixel(x + dx, y + dy, rgb[0], rgb[1], rgb[2]);
            if (id != 0) PutPickId(x + dx, y + dy, id);
        }
}

// Draws the thumbnail of a picture whose own size is w x h at (x0, y0): 2 x 2 blocks on the
// sample grid of that size. `picture` may be a reduced decode; each grid point then reads
// the pixel at the same relative place, so the blocks are those of a full-size picture.
void DrawThumbnail(const platform::Picture& picture, int x0, int y0, int id) {
    int w = picture.fullWidth, h = picture.fullHeight;
    float big = float(w > h ? w : h);
    float step = 1.0f / (0.5f / (big / float(AppState.cellWidth)));
    if (!(step > 0)) return;
    std::uint8_t rgb[3];
    int n = 0;
    for (float sy = 0; sy < float(h); sy += step, ++n) {
        long long ry = static_cast<long long>(sy) * picture.height / h;
        const std::uint8_t* row = picture.bgrx.data() + std::size_t(ry * picture.width) * 4;
        int m = 0;
        for (float sx = 0; sx < float(w); sx += step, ++m) {
            long long rx = static_cast<long long>(sx) * picture.width / w;
            const std::uint8_t* p = row + rx * 4;
            rgb[0] = p[2], rgb[1] = p[1], rgb[2] = p[0];
            PutBlock(x0 + 2 * m, y0 + 2 * n, rgb, id);
        }
    }
}

// One supported picture of a thumbnail page, decoded ahead of drawing.
struct PageDecode {
    int entry = 0;
    std::string path;
    bool fullSize = false;  // the page's last supported picture, wanted in the store afterwards
    bool ok = false;
    platform::Picture picture;
};

// Each cell needs only a sample grid of its picture, so pictures come at a reduced size
// where the decoder offers one; the page's last supported picture comes at full size,
// which serves both its cell and the store. The decodes share out over the processor's
// cores; each touches nothing but its own record, and all end before drawing starts.
void DecodePage(std::vector<PageDecode>& decodes, int minLongSide) {
    std::atomic<std::size_t> taken{0};
    auto work = [&] {
        for (std::size_t k = taken++; k < decodes.size(); k = taken++) {
            // The full-size decode is the longest: it is taken first.
            PageDecode& d = decodes[decodes.size() - 1 - k];
            const char* path = d.path.c_str();
            d.ok = d.fullSize ? platform::DecodePictureFile(path, IMAGE_STORE_BYTES / 4, d.picture)
                              : platform::DecodePictureReduced(path, IMAGE_STORE_BYTES / 4,
                                                               minLongSide, d.picture);
        }
    };
    std::vector<std::thread> helpers;
    unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned t = 1; t < cores && t < decodes.size(); ++t) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break;  // fewer helpers: this thread does the rest
        }
    }
    work();
    for (std::thread& helper : helpers) helper.join();
}

// Leaves the loader, the ImageStore and the record as loading every cell in turn would: the
// last picture that decoded, at full size, with the record classifying the page's last cell,
// and every decode of the page counted.
void LeaveLastPictureInStore(std::vector<PageDecode>& decodes, int last) {
    int earlier = -1;
    for (const PageDecode& d : decodes) earlier += d.ok ? 1 : 0;
    for (auto d = decodes.rbegin(); d != decodes.rend(); ++d) {
        if (!d->ok) continue;
        const char* name = EntryTable.names[d->entry];
        int stored =
            d->fullSize ? LoadDecoded(name, d->picture, LoaderInfo) : Loader.Load(name, LoaderInfo);
        if (stored == 1) Loader.loadCount += earlier;
        Loader.Probe(EntryTable.names[last], LoaderInfo);
        return;
    }
}

}  // namespace

// A cell size of 0 would divide by zero: such a page has no cells.
int ThumbnailColumns() {
    return AppState.cellWidth > 0 ? (AppState.frameWidth - 2) / AppState.cellWidth : 0;
}

int ThumbnailRows() {
    return AppState.cellHeight > 0 ? (AppState.frameHeight - 62) / AppState.cellHeight : 0;
}

void DrawListView() {
    ClearFrame();
    SetLabelChars(true);
    if (AppState.resolutionMode == RESOLUTION_HALF) AppState.labelChars = 36;
    if (AppState.resolutionMode == RESOLUTION_FULL) AppState.labelChars = 64;
    AppState.imageShown = 0;
    int column = 0, row = 1;
    for (int k = AppState.listTop + 1; k <= EntryTable.count && k < MAX_ENTRIES; ++k) {
        int usable =
            AppState.frameHeight + AppState.viewOffsetY - AppState.windowY * AppState.pixelScale;
        if (AppState.frameWidth == 1280) {
            // Rows that would fall below the screen's bottom edge are not used.
            if (AppState.pixelScale != 0) usable += AppState.windowY / AppState.pixelScale;
            int bottom = AppState.frameHeight * AppState.pixelScale + AppState.windowY;
            if (bottom > AppState.screenHeight) usable -= bottom - AppState.screenHeight;
        }
        if ((usable - 60) / 8 < row) {
            column += 1;
            row = 1;
        }
        int limit = column == 0 ? TEXT_BUFFER_SIZE - 1 : AppState.labelChars;
        std::snprintf(TextBuffer, TEXT_BUFFER_SIZE, "%.*s", limit < 0 ? 0 : limit,
                      EntryTable.names[k]);
        int x = AppState.viewOffsetX + column * 5 * AppState.labelChars + 10;
        int y = AppState.viewOffsetY + AppState.frameHeight - 26 - 8 * row;
        if (k == AppState.selectedEntry)
            ListLabelText(x, y, 255, 0, 0, PICK_LIST_BASE + k);
        else if (EntryTable.kinds[k] == 0)
            ListLabelText(x, y, 255, 255, 0, PICK_LIST_BASE + k);
        else
            ListLabelText(x, y, 0, 255, 0, PICK_LIST_BASE + k);
        row += 1;
    }
    SaveFrame();
}

void DrawThumbnailPage() {
    SetLabelChars(false);
    AppState.thumbnailRedraw = 0;
    ClearFrame();
    int cellW = AppState.cellWidth, cellH = AppState.cellHeight;
    int cols = ThumbnailColumns(), rows = ThumbnailRows();
    Rescan();
    if (AppState.pageFirst <= 0) AppState.pageFirst = 1;
    int last = AppState.pageFirst + cols * rows - 1;
    if (last > EntryTable.count) last = EntryTable.count;
    if (last >= MAX_ENTRIES) last = MAX_ENTRIES - 1;

    platform::SetCurrentFolder(AppState.browseFolder);
    std::vector<PageDecode> decodes;
    for (int i = AppState.pageFirst; i <= last; ++i) {
        Loader.Probe(EntryTable.names[i], LoaderInfo);
        if (Loader.supported == 0) continue;
        decodes.emplace_back();
        decodes.back().entry = i;
        decodes.back().path = PicturePath(EntryTable.names[i]);
    }
    if (!decodes.empty()) decodes.back().fullSize = true;
    DecodePage(decodes, cellW / 2 + 2);

    std::size_t next = 0;
    int j = 0, r = 0;
    for (int i = AppState.pageFirst; i <= last; ++i) {
        int x0 = cellW * j + 10;
        int y0 = AppState.frameHeight - cellH * r - cellH - 31;
        if (j < cols - 1) {
            j += 1;
        } else {
            j = 0;
            if (r < rows - 1) r += 1;
        }
        const char* name = EntryTable.names[i];
        Loader.Probe(name, LoaderInfo);
        AppState.imageShown = 0;
        if (Loader.supported == 1) {
            while (next < decodes.size() && decodes[next].entry < i) ++next;
            if (next < decodes.size() && decodes[next].entry == i && decodes[next].ok)
                DrawThumbnail(decodes[next].picture, x0, y0, PICK_THUMBNAIL_BASE + i);
            AppState.imageShown = 1;
            Loader.panFactor = 3;
            Loader.overlayOn = 1;
        }
        DrawRect(x0, y0, x0 + cellW + 1, y0 + cellH + 1, 255, 255, 255);
        DrawRect(x0 + 1, y0 + 1, x0 + cellW, y0 + cellH, 255, 255, 255);
        std::snprintf(TextBuffer, TEXT_BUFFER_SIZE, "%.*s", AppState.labelChars + 1, name);
        ThumbnailLabelText(x0 + 6, y0 + cellH - 4, 255, 255, 255);
    }
    LeaveLastPictureInStore(decodes, last);
    platform::SetCurrentFolder(AppState.startFolder);
    SaveFrame();
    AppState.selectedEntry = AppState.pageFirst;
}

void DrawFullView() {
    ClearFrame();
    int w = LoaderInfo.width, h = LoaderInfo.height;
    int bpp = LoaderInfo.bitsPerPixel / 8;
    float zoom = Loader.zoomStep;
    if (FullViewBlank == 1 || ImageStore == nullptr || w <= 0 || h <= 0 || bpp <= 0 ||
        !(zoom > 0)) {
        SaveFrame();
        return;
    }
    float cx = float(CursorColumn()), cy = float(CursorRow());
    float fx, fy;
    if (Loader.panFactor != 0) {
        fx = float(Loader.panFactor) * cx - float(AppState.frameWidth) - float(w) / zoom;
        fy = float(Loader.panFactor) * cy - float(AppState.frameHeight) - float(h) / zoom;
    } else {
        fx = cx - float(w) / zoom;
        fy = cy - float(h) / zoom;
    }
    int x0 = int(fx), y0 = int(fy);
    // Only the blocks that reach the frame are visited, so a magnified picture costs no more
    // than the frame it fills. A block at x0 + 2m covers two pixels.
    long long columns = static_cast<long long>(std::ceil(double(w) / zoom));
    long long rowsTotal = static_cast<long long>(std::ceil(double(h) / zoom));
    long long mFirst = x0 < 0 ? (-x0 - 1) / 2 : 0;
    long long nFirst = y0 < 0 ? (-y0 - 1) / 2 : 0;
    long long mEnd = std::min(columns, (static_cast<long long>(AppState.frameWidth) - x0 + 1) / 2);
    long long nEnd =
        std::min(rowsTotal, (static_cast<long long>(AppState.frameHeight) - y0 + 1) / 2);
    for (long long n = nFirst; n < nEnd; ++n) {
        float sy = float(n) * zoom;
        if (!(sy < float(h))) break;
        const std::uint8_t* row = ImageStore + std::size_t(bpp) * std::size_t(sy) * std::size_t(w);
        for (long long m = mFirst; m < mEnd; ++m) {
            float sx = float(m) * zoom;
            if (!(sx < float(w))) break;
            PutBlock(x0 + int(2 * m), y0 + int(2 * n), row + std::size_t(bpp) * std::size_t(sx), 0);
        }
    }
    SaveFrame();
}
