// Reading a picture file and handing it to the decoder its first bytes call for, and the file
// stamps that tell whether a picture changed. The browser's image loader and thumbnail page
// are the callers; they never learn which decoder ran.
#include <cstdio>
#include <memory>
#include <new>
#include <vector>

#include "platform/picture_codecs.h"
#include "platform/platform.h"

namespace platform {

namespace {

struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Reads the whole of an open BMP file, refusing one larger than any picture of `maxPixels`
// could be: 4 bytes a pixel plus room for headers and a palette.
bool ReadWholeFile(std::FILE* file, long long maxPixels, std::vector<std::uint8_t>& bytes) {
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(file) : -1;
    ok = size > 0 && size <= maxPixels * 4 + (1 << 20) && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(std::size_t(size));
        ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    return ok;
}

// A picture near the size limit needs hundreds of megabytes; running short of memory is one
// more failed decode, never the end of the program (the thumbnail page decodes on helper
// threads, where an escaping exception would end it).
bool Decode(const char* path, const DecodeRequest& request, Picture& out) {
    try {
        if (!IsPlainFile(path)) return false;
        std::unique_ptr<std::FILE, CloseFile> opened(std::fopen(path, "rb"));
        std::FILE* file = opened.get();
        if (file == nullptr) return false;
        std::uint8_t head[2] = {0, 0};
        bool ok = std::fread(head, 1, 2, file) == 2 && std::fseek(file, 0, SEEK_SET) == 0;
        if (ok && head[0] == 0xFF && head[1] == 0xD8) {
            ok = DecodeJpeg(file, request, out);
        } else if (ok && head[0] == 'B' && head[1] == 'M') {
            std::vector<std::uint8_t> bytes;
            ok = ReadWholeFile(file, request.maxPixels, bytes) &&
                 DecodeBmp(bytes.data(), bytes.size(), request, out);
        } else {
            ok = false;
        }
        return ok;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace

bool DecodePicture(const char* path, const DecodeRequest& request, Picture& out) {
    return Decode(path, request, out);
}

bool DecodePictureFile(const char* path, long long maxPixels, Picture& out) {
    DecodeRequest request;
    request.maxPixels = maxPixels;
    return Decode(path, request, out);
}

bool DecodePictureReduced(const char* path, long long maxPixels, int minLongSide, Picture& out) {
    DecodeRequest request;
    request.maxPixels = maxPixels;
    request.minLongSide = minLongSide < 1 ? 1 : minLongSide;
    return Decode(path, request, out);
}

}  // namespace platform
