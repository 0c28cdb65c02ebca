// The three views of the browser, drawn by the main loop into the Framebuffer with pick ids
// under what can be pressed: the multi-column list, the thumbnail page and the full view.
// Each ends by saving the frame, which the loop copies back under the overlay every pass.
#include "browser/views.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "browser/entry_table.h"
#include "browser/fit_view.h"
#include "browser/texture_loader.h"
#include "browser/thumbnail_cache.h"
#include "draw/lines.h"
#include "draw/pixels.h"
#include "draw/text.h"
#include "platform/platform.h"
#include "shell/app_state.h"
#include "shell/frame_buffers.h"
#include "shell/gl_window.h"
#include "shell/input_hooks.h"
#include "shell/notice.h"

int FullViewBlank = 0;
std::string FullViewName;
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

// The 2 x 2 blocks of one thumbnail: the colour at each point of its sample grid.
struct ThumbnailSamples {
    int columns = 0, rows = 0;
    std::vector<std::uint8_t> rgb;
};

// Samples a picture whose own size is fullWidth x fullHeight on the grid a cell of
// `cellWidth` draws it with. `pixels` may be a reduced decode (4 bytes a pixel, red at byte
// `red`, blue at 2 - red); each grid point then reads the pixel at the same relative place,
// so the blocks are those of a full-size picture.
void SampleThumbnail(const std::uint8_t* pixels, int red, int width, int height, int fullWidth,
                     int fullHeight, int cellWidth, ThumbnailSamples& out) {
    int w = fullWidth, h = fullHeight;
    float big = float(w > h ? w : h);
    float step = 1.0f / (0.5f / (big / float(cellWidth)));
    out = ThumbnailSamples{};
    if (!(step > 0)) return;
    for (float sx = 0; sx < float(w); sx += step) out.columns += 1;
    for (float sy = 0; sy < float(h); sy += step) out.rows += 1;
    out.rgb.reserve(std::size_t(out.columns) * std::size_t(out.rows) * 3);
    for (float sy = 0; sy < float(h); sy += step) {
        long long ry = static_cast<long long>(sy) * height / h;
        const std::uint8_t* row = pixels + std::size_t(ry * width) * 4;
        for (float sx = 0; sx < float(w); sx += step) {
            long long rx = static_cast<long long>(sx) * width / w;
            const std::uint8_t* p = row + rx * 4;
            out.rgb.insert(out.rgb.end(), {p[red], p[1], p[2 - red]});
        }
    }
}

void DrawThumbnail(const ThumbnailSamples& samples, int x0, int y0, int id) {
    const std::uint8_t* rgb = samples.rgb.data();
    for (int n = 0; n < samples.rows; ++n)
        for (int m = 0; m < samples.columns; ++m, rgb += 3)
            PutBlock(x0 + 2 * m, y0 + 2 * n, rgb, id);
}

// One supported picture of a thumbnail page.
struct PageCell {
    int entry = 0;
    std::string name, path;
    long long bytes = -1, modified = 0;  // the file's stamp; bytes -1 when it could not be read
    bool fullSize = false;  // the last picture the page decodes, straight into the store
    bool ok = false;
    platform::Picture stored;  // the size of a full-size decode
    ThumbnailSamples samples;
    CacheEntry cache;
    bool fromCache = false;    // its thumbnail, or its failure, came from the cache: no decode
    std::string cacheNote;     // what went wrong with the cache, to be said once
    PendingThumbnail toWrite;  // what the cache is to keep of its decode
};

// The thumbnails of the page drawn last, so that drawing it again (back from the full view)
// decodes nothing that has not changed.
struct KeptPage {
    std::string folder;
    int cellWidth = 0;
    std::vector<PageCell> cells;
};
KeptPage Kept;

// The kept cell that still shows `cell`'s picture as it is now, or null.
PageCell* KeptCell(const PageCell& cell, int cellWidth) {
    if (cell.bytes < 0 || Kept.folder != AppState.browseFolder || Kept.cellWidth != cellWidth)
        return nullptr;
    for (PageCell& kept : Kept.cells)
        if (kept.entry == cell.entry && kept.name == cell.name && kept.bytes == cell.bytes &&
            kept.modified == cell.modified)
            return &kept;
    return nullptr;
}

bool TakeKept(PageCell& cell, int cellWidth) {
    PageCell* kept = KeptCell(cell, cellWidth);
    if (kept == nullptr) return false;
    cell.ok = kept->ok;
    cell.samples = std::move(kept->samples);
    return true;
}

// A supported picture's cell, named and stamped, with the browse folder current.
PageCell StampedCell(int entry) {
    PageCell cell;
    cell.entry = entry;
    cell.name = EntryTable.names[entry];
    cell.path = PicturePath(EntryTable.names[entry]);
    if (!platform::FileStamp(cell.path.c_str(), cell.bytes, cell.modified)) cell.bytes = -1;
    return cell;
}

// Whether the cache has a thumbnail or a failure record of the cell's picture written since
// the picture last changed: one it will, all but surely, find holding. Reads no thumbnail.
bool LooksCached(const PageCell& cell, int cellWidth) {
    if (cell.bytes < 0) return false;
    CacheEntry entry = FindCacheEntry(cell.path, cell.bytes, cell.modified, cellWidth);
    if (entry.size == 0) return false;
    for (const std::string* path : {&entry.thumbnailPath, &entry.failurePath}) {
        long long bytes = 0, written = 0;
        if (platform::FileStamp(path->c_str(), bytes, written) && written >= cell.modified)
            return true;
    }
    return false;
}

// A reduced decode fits this block whatever the picture (at most 1/64 of 100,000,000 pixels);
// one per helper, kept from page to page and never cleared: only the pages written take memory.
constexpr std::size_t SCRATCH_BYTES = 8u << 20;
std::vector<std::uint8_t*> Scratch;

void DecodeCell(PageCell& cell, std::uint8_t* scratch, int cellWidth) {
    const char* path = cell.path.c_str();
    if (cell.fullSize) {
        cell.ok = platform::DecodePicture(path, StoreRequest(Loader), cell.stored);
        if (cell.ok) {
            const platform::Picture& p = cell.stored;
            SampleThumbnail(ImageStore, 0, p.width, p.height, p.fullWidth, p.fullHeight, cellWidth,
                            cell.samples);
            cell.toWrite = ThumbnailOf(cell.cache, ImageStore, 0, p.width, p.height);
        }
        return;
    }
    platform::DecodeRequest request;
    request.maxPixels = IMAGE_STORE_BYTES / 4;
    // A thumbnail to write needs its own size at least; the cell only needs its sample grid.
    request.minLongSide = std::max(cellWidth / 2 + 2, cell.cache.size);
    request.block = scratch;
    request.blockBytes = SCRATCH_BYTES;
    request.order = platform::PixelOrder::RGBA;
    platform::Picture p;
    const std::uint8_t* pixels = nullptr;
    int red = 0;
    if (scratch != nullptr && platform::DecodePicture(path, request, p)) {
        pixels = scratch;
    } else if (platform::DecodePictureReduced(path, request.maxPixels, request.minLongSide, p)) {
        // Larger than the block (a BMP, which comes at full size), or no block to be had.
        pixels = p.bgrx.data();
        red = 2;
    }
    cell.ok = pixels != nullptr;
    if (cell.ok) {
        SampleThumbnail(pixels, red, p.width, p.height, p.fullWidth, p.fullHeight, cellWidth,
                        cell.samples);
        cell.toWrite = ThumbnailOf(cell.cache, pixels, red, p.width, p.height);
    }
}

// Runs `job` on each cell, shared out over `workers` threads, the last cell first (the one
// decoded at full size takes longest); each job touches nothing but its own cell (and the
// store for the full-size one), and all end before this returns.
void ForEachCell(std::vector<PageCell*>& cells, unsigned workers,
                 const std::function<void(PageCell&, unsigned worker)>& job) {
    std::atomic<std::size_t> taken{0};
    auto work = [&](unsigned worker) {
        for (std::size_t k = taken++; k < cells.size(); k = taken++) {
            PageCell& cell = *cells[cells.size() - 1 - k];
            try {
                job(cell, worker);
            } catch (const std::bad_alloc&) {
                cell.ok = false;
            }
        }
    };
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < workers; ++t) {
        try {
            helpers.emplace_back(work, t);
        } catch (const std::system_error&) {
            break;  // fewer helpers: this thread does the rest
        }
    }
    work(0);
    for (std::thread& helper : helpers) helper.join();
}

unsigned WorkersFor(std::size_t cells) {
    unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    return unsigned(std::min<std::size_t>(cores, cells));
}

// The cells' thumbnails that the cache holds, read on the cores.
void LookUpPage(std::vector<PageCell*>& cells, int cellWidth) {
    ForEachCell(cells, WorkersFor(cells.size()), [cellWidth](PageCell& cell, unsigned) {
        platform::Thumbnail t;
        switch (LookUpThumbnail(cell.cache, t, cell.cacheNote)) {
        case CacheAnswer::Thumbnail:
            SampleThumbnail(t.rgba.data(), 0, t.width, t.height, t.width, t.height, cellWidth,
                            cell.samples);
            cell.ok = cell.fromCache = true;
            break;
        case CacheAnswer::Failed:
            cell.ok = false;
            cell.fromCache = true;
            break;
        case CacheAnswer::Miss:
            break;
        }
    });
}

void DecodePage(std::vector<PageCell*>& cells, int cellWidth) {
    unsigned workers = WorkersFor(cells.size());
    while (Scratch.size() < workers) {
        std::uint8_t* block = platform::AllocateZeroedBlock(SCRATCH_BYTES);
        if (block == nullptr) break;
        Scratch.push_back(block);
    }
    // Blocks kept from a larger page start no threads that would find nothing to decode.
    workers = std::max(1u, std::min(workers, unsigned(Scratch.size())));
    ForEachCell(cells, workers, [cellWidth](PageCell& cell, unsigned worker) {
        DecodeCell(cell, Scratch.empty() ? nullptr : Scratch[worker], cellWidth);
        // Running short of memory throws past this: that is no failure of the picture's.
        if (!cell.ok) cell.toWrite = FailureOf(cell.cache);
    });
}

// Leaves the loader, the ImageStore and the record as loading every decoded cell in turn
// would: the last picture that decoded, at full size, with the record classifying the page's
// last cell, and every decode of the page counted.
void LeaveLastPictureInStore(std::vector<PageCell*>& decoded, int last) {
    int earlier = -1;
    for (const PageCell* c : decoded) earlier += c->ok ? 1 : 0;
    for (auto c = decoded.rbegin(); c != decoded.rend(); ++c) {
        PageCell& cell = **c;
        if (!cell.ok) continue;
        const char* name = EntryTable.names[cell.entry];
        int stored = cell.fullSize ? LoadDecoded(name, cell.stored, LoaderInfo)
                                   : Loader.Load(name, LoaderInfo);
        if (stored == 1) Loader.loadCount += earlier;
        Loader.Probe(EntryTable.names[last], LoaderInfo);
        return;
    }
}

// The last entry of the thumbnail page at pageFirst (raised to 1 first), with the table as
// it is; below pageFirst for an empty page.
int PageLast(int cols, int rows) {
    if (AppState.pageFirst <= 0) AppState.pageFirst = 1;
    int last = AppState.pageFirst + cols * rows - 1;
    if (last > EntryTable.count) last = EntryTable.count;
    if (last >= MAX_ENTRIES) last = MAX_ENTRIES - 1;
    return last;
}

// A supported picture that did not decode leaves its cell empty like a folder's: say which.
void ReportUndecoded(const std::vector<PageCell>& cells) {
    int failed = 0;
    const char* first = "";
    for (const PageCell& d : cells)
        if (!d.ok && failed++ == 0) first = EntryTable.names[d.entry];
    if (failed == 1) ReportFailure("cannot decode the picture %s", first);
    if (failed > 1) ReportFailure("cannot decode %d pictures, among them %s", failed, first);
}

}  // namespace

bool PageShowsEntry(int n) {
    if (n < 1 || n > EntryTable.count || Kept.folder != AppState.browseFolder) return false;
    for (const PageCell& cell : Kept.cells)
        if (cell.entry == n) return cell.name == EntryTable.names[n];
    return false;
}

// A cell size of 0 would divide by zero: such a page has no cells.
int ThumbnailColumns() {
    return AppState.cellWidth > 0 ? (AppState.frameWidth - 2) / AppState.cellWidth : 0;
}

int ThumbnailRows() {
    return AppState.cellHeight > 0 ? (AppState.frameHeight - 62) / AppState.cellHeight : 0;
}

int PicturesOnNextPage() {
    int last = PageLast(ThumbnailColumns(), ThumbnailRows());
    TextureLoader probe;  // a scratch loader: the program's one keeps its state
    ImageInfo info;
    int pictures = 0;
    for (int i = AppState.pageFirst; i <= last; ++i) {
        probe.Probe(EntryTable.names[i], info);
        pictures += probe.supported;
    }
    return pictures;
}

int PicturesToDecodeOnNextPage() {
    int last = PageLast(ThumbnailColumns(), ThumbnailRows());
    TextureLoader probe;
    ImageInfo info;
    const bool entered = platform::SetCurrentFolder(AppState.browseFolder);
    int pictures = 0;
    for (int i = AppState.pageFirst; i <= last; ++i) {
        probe.Probe(EntryTable.names[i], info);
        if (probe.supported == 0) continue;
        PageCell cell = StampedCell(i);
        bool held = KeptCell(cell, AppState.cellWidth) || LooksCached(cell, AppState.cellWidth);
        pictures += entered && held ? 0 : 1;
    }
    platform::SetCurrentFolder(AppState.startFolder);
    return pictures;
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
    int last = PageLast(cols, rows);

    platform::SetCurrentFolder(AppState.browseFolder);
    std::vector<PageCell> cells;
    for (int i = AppState.pageFirst; i <= last; ++i) {
        Loader.Probe(EntryTable.names[i], LoaderInfo);
        if (Loader.supported == 1) cells.push_back(StampedCell(i));
    }
    std::vector<PageCell*> unkept, decoded;
    for (PageCell& cell : cells) {
        if (TakeKept(cell, cellW)) continue;
        if (cell.bytes >= 0)
            cell.cache = FindCacheEntry(cell.path, cell.bytes, cell.modified, cellW);
        unkept.push_back(&cell);
    }
    if (!ThumbnailCacheRoot.empty()) LookUpPage(unkept, cellW);
    for (PageCell* cell : unkept)
        if (!cell->fromCache) decoded.push_back(cell);
    // The last picture decoded is left in the store; a page that decodes none leaves it as it is.
    if (!decoded.empty()) decoded.back()->fullSize = true;
    DecodePage(decoded, cellW);
    for (PageCell& cell : cells) {
        SayCacheNoteOnce(cell.cacheNote);
        QueueThumbnail(std::move(cell.toWrite));
    }
    ReportUndecoded(cells);

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
            while (next < cells.size() && cells[next].entry < i) ++next;
            if (next < cells.size() && cells[next].entry == i && cells[next].ok)
                DrawThumbnail(cells[next].samples, x0, y0, PICK_THUMBNAIL_BASE + i);
            AppState.imageShown = 1;
            Loader.panFactor = 3;
            Loader.overlayOn = 1;
        }
        DrawRect(x0, y0, x0 + cellW + 1, y0 + cellH + 1, 255, 255, 255);
        DrawRect(x0 + 1, y0 + 1, x0 + cellW, y0 + cellH, 255, 255, 255);
        std::snprintf(TextBuffer, TEXT_BUFFER_SIZE, "%.*s", AppState.labelChars + 1, name);
        ThumbnailLabelText(x0 + 6, y0 + cellH - 4, 255, 255, 255);
    }
    LeaveLastPictureInStore(decoded, last);
    platform::SetCurrentFolder(AppState.startFolder);
    Kept.folder = AppState.browseFolder;
    Kept.cellWidth = cellW;
    Kept.cells = std::move(cells);
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
    if (FullViewFit == 1) {
        DrawFittedPicture(ImageStore, w, h, bpp, Loader.loadCount);
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
