// JPEG decoding on Windows through the system's picture service: the file's bytes loaded as an
// IPicture, rendered at the size asked for into a 32-bit DIB section, whose rows are laid out
// upright (with the file's camera orientation) in the caller's block. Encoding has no system
// service here; sample photographs are made by the Linux build.
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "platform/picture_codecs.h"
#include "platform/win32/win32_platform.h"

// After windows.h, which they need but do not include.
#include <ole2.h>
#include <olectl.h>

namespace platform {

namespace {

// Room for headers beside the compressed pixels: a JPEG file is never larger than its picture
// uncompressed plus this, so a larger file is refused before it is read.
constexpr long long HEADER_ROOM = 1 << 20;

// OLE is set up for the calling thread for the time of one decode (thumbnails decode on
// helper threads); a thread already set up another way is used as it is.
class OleForThread {
  public:
    OleForThread() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~OleForThread() {
        if (initialised_) CoUninitialize();
    }
    OleForThread(const OleForThread&) = delete;
    OleForThread& operator=(const OleForThread&) = delete;

  private:
    bool initialised_;
};

struct ReleasePicture {
    void operator()(IPicture* picture) const { picture->Release(); }
};

// The smallest size, in eighths of the full one, whose larger side still reaches
// `minLongSide`: the sizes a thumbnail asks of every decoder.
int ScaleEighths(long long width, long long height, int minLongSide) {
    int best = 8;
    if (minLongSide <= 0) return best;
    long long longSide = width > height ? width : height, bestSide = longSide;
    for (int eighths = 8; eighths >= 1; --eighths) {
        long long side = (longSide * eighths + 7) / 8;
        if (side >= minLongSide && side < bestSide) {
            best = eighths;
            bestSide = side;
        }
    }
    return best;
}

// The pixel size of a loaded picture: its bitmap's own, else its HIMETRIC size at 96 dpi.
bool PixelSize(IPicture* picture, int& width, int& height) {
    OLE_HANDLE handle = 0;
    short type = 0;
    if (SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_BITMAP &&
        SUCCEEDED(picture->get_Handle(&handle)) && handle != 0) {
        BITMAP bitmap{};
        if (GetObjectA(reinterpret_cast<HBITMAP>(static_cast<std::uintptr_t>(handle)),
                       sizeof bitmap, &bitmap)) {
            width = bitmap.bmWidth;
            height = bitmap.bmHeight;
            return width > 0 && height > 0;
        }
    }
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    if (FAILED(picture->get_Width(&w)) || FAILED(picture->get_Height(&h))) return false;
    width = MulDiv(w, 96, 2540);
    height = MulDiv(h, 96, 2540);
    return width > 0 && height > 0;
}

// Renders the picture at `width` x `height` into `pixels` (B, G, R, X, top row first).
bool Render(IPicture* picture, int width, int height, std::vector<std::uint8_t>& pixels) {
    // Taken before any drawing object: running short of memory here leaves none behind.
    pixels.resize(std::size_t(width) * std::size_t(height) * 4);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc == nullptr) return false;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = section != nullptr && bits != nullptr;
    if (ok) {
        HGDIOBJ previous = SelectObject(dc, section);
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        OLE_XSIZE_HIMETRIC w = 0;
        OLE_YSIZE_HIMETRIC h = 0;
        ok = SUCCEEDED(picture->get_Width(&w)) && SUCCEEDED(picture->get_Height(&h)) &&
             SUCCEEDED(picture->Render(dc, 0, 0, width, height, 0, h, w, -h, nullptr));
        GdiFlush();
        if (ok) std::memcpy(pixels.data(), bits, pixels.size());
        SelectObject(dc, previous);
    }
    if (section) DeleteObject(section);
    DeleteDC(dc);
    return ok;
}

// The picture's size from its frame header, read before the picture service decodes the whole
// of it: a file too large is refused without the memory it would take. False when the head
// of the file holds no frame header.
bool FrameSize(const std::uint8_t* data, std::size_t size, long long& width, long long& height) {
    std::size_t at = 2;
    while (at + 4 <= size) {
        if (data[at] != 0xFF) return false;
        std::uint8_t marker = data[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        std::size_t length = std::size_t(data[at + 2]) << 8 | data[at + 3];
        bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                     marker != 0xCC;
        if (frame) {
            if (at + 9 > size) return false;
            height = static_cast<long long>(data[at + 5]) << 8 | data[at + 6];
            width = static_cast<long long>(data[at + 7]) << 8 | data[at + 8];
            return true;
        }
        if (length < 2) return false;
        at += 2 + length;
    }
    return false;
}

struct ReleaseStream {
    void operator()(IStream* stream) const { stream->Release(); }
};

// The whole file in a block of global memory, as a stream that owns it; null when the file
// cannot be read or is larger than a picture of `maxPixels` can be.
IStream* ReadAsStream(std::FILE* file, long long maxPixels, std::size_t& size) {
    if (std::fseek(file, 0, SEEK_END) != 0) return nullptr;
    long long length = _ftelli64(file);
    if (length <= 0 || length > maxPixels * 4 + HEADER_ROOM || std::fseek(file, 0, SEEK_SET) != 0)
        return nullptr;
    size = std::size_t(length);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (memory == nullptr) return nullptr;
    void* bytes = GlobalLock(memory);
    bool read = bytes != nullptr && std::fread(bytes, 1, size, file) == size;
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (!read || FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return nullptr;
    }
    return stream;
}

bool Decode(std::FILE* file, const DecodeRequest& asked, Picture& out) {
    DecodeRequest request = asked;
    if (request.block == nullptr) {
        request.order = PixelOrder::BGRX;
        request.colourKeyOn = false;
    }
    // The picture service is given the bytes, not the path: opening the file by its name it
    // wants it alone, and fails while anyone (this reader included) has it open.
    std::size_t size = 0;
    std::unique_ptr<IStream, ReleaseStream> stream(ReadAsStream(file, request.maxPixels, size));
    if (!stream) return false;
    int orientation = 1;
    {
        HGLOBAL memory = nullptr;
        if (FAILED(GetHGlobalFromStream(stream.get(), &memory))) return false;
        const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(memory));
        if (bytes == nullptr) return false;
        JpegEndScan scan;
        scan.Feed(bytes, size);
        long long width = 0, height = 0;
        bool sized = FrameSize(bytes, size, width, height);
        orientation = JpegOrientation(bytes, size);
        GlobalUnlock(memory);
        if (request.refuseIncomplete && !scan.Complete()) return false;
        // A file too large is refused before the service decodes the whole of it.
        if (sized && width * height > request.maxPixels) return false;
    }

    OleForThread ole;
    IPicture* loaded = nullptr;
    if (FAILED(OleLoadPicture(stream.get(), LONG(size), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(&loaded))) ||
        loaded == nullptr)
        return false;
    std::unique_ptr<IPicture, ReleasePicture> picture(loaded);
    int fullWidth = 0, fullHeight = 0;
    if (!PixelSize(loaded, fullWidth, fullHeight)) return false;
    if (static_cast<long long>(fullWidth) * fullHeight > request.maxPixels) return false;

    int eighths = ScaleEighths(fullWidth, fullHeight, request.minLongSide);
    int width = (fullWidth * eighths + 7) / 8, height = (fullHeight * eighths + 7) / 8;
    std::size_t bytes = std::size_t(width) * std::size_t(height) * 4;
    if (request.block != nullptr && bytes > request.blockBytes) return false;
    std::vector<std::uint8_t> rendered;
    if (!Render(loaded, width, height, rendered)) return false;

    Picture result;
    std::uint8_t* block = request.block;
    if (block == nullptr) {
        result.bgrx.resize(bytes);
        block = result.bgrx.data();
    }
    UprightRows rows;
    rows.Start(request, block, width, height, orientation);
    bool rgba = request.order == PixelOrder::RGBA;
    std::uint8_t* strip[UprightRows::STRIP_ROWS];
    for (int first = 0; first < height; first += UprightRows::STRIP_ROWS) {
        int count = height - first < UprightRows::STRIP_ROWS ? height - first
                                                               : UprightRows::STRIP_ROWS;
        rows.Rows(first, count, strip);
        for (int r = 0; r < count; ++r) {
            const std::uint8_t* from = rendered.data() + std::size_t(first + r) * width * 4;
            std::uint8_t* to = strip[r];
            for (int x = 0; x < width; ++x, from += 4, to += 4) {
                to[0] = rgba ? from[2] : from[0];
                to[1] = from[1];
                to[2] = rgba ? from[0] : from[2];
                to[3] = 255;
            }
        }
        rows.Done(first, count);
    }
    bool turned = orientation >= 5 && orientation <= 8;
    result.width = rows.UprightWidth();
    result.height = rows.UprightHeight();
    result.fullWidth = turned ? fullHeight : fullWidth;
    result.fullHeight = turned ? fullWidth : fullHeight;
    out = std::move(result);
    return true;
}

}  // namespace

bool DecodeJpeg(std::FILE* file, const DecodeRequest& request, Picture& out) {
    try {
        return Decode(file, request, out);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool WriteJpegFile(const char*, const Picture&, int, int) {
    return false;
}

}  // namespace platform
