// Reading a picture file and handing it to the decoder its first bytes call for. The
// browser's image loader is the caller; it never learns which decoder ran.
#include <cstdio>
#include <filesystem>
#include <new>
#include <vector>

#include "platform/picture_codecs.h"
#include "platform/platform.h"

namespace platform {

namespace {

// Reads the whole file, refusing one larger than any picture of `maxPixels` could be:
// 4 bytes a pixel plus room for headers and a palette.
bool ReadWholeFile(const char* path, long long maxPixels, std::vector<std::uint8_t>& bytes) {
    // Only plain files: opening a pipe or a device named like a picture could wait forever.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(file) : -1;
    ok = size > 0 && size <= maxPixels * 4 + (1 << 20) && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(std::size_t(size));
        ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    std::fclose(file);
    return ok;
}

// A picture near the size limit needs hundreds of megabytes for the file and its pixels;
// running short of memory is one more failed decode, never the end of the program (the
// thumbnail page decodes on helper threads, where an escaping exception would end it).
bool Decode(const char* path, long long maxPixels, int minLongSide, Picture& out) {
    try {
        std::vector<std::uint8_t> bytes;
        if (!ReadWholeFile(path, maxPixels, bytes) || bytes.size() < 4) return false;
        if (bytes[0] == 'B' && bytes[1] == 'M')
            return DecodeBmp(bytes.data(), bytes.size(), maxPixels, out);
        if (bytes[0] == 0xFF && bytes[1] == 0xD8)
            return DecodeJpeg(bytes.data(), bytes.size(), maxPixels, minLongSide, out);
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace

bool DecodePictureFile(const char* path, long long maxPixels, Picture& out) {
    return Decode(path, maxPixels, 0, out);
}

bool DecodePictureReduced(const char* path, long long maxPixels, int minLongSide, Picture& out) {
    return Decode(path, maxPixels, minLongSide < 1 ? 1 : minLongSide, out);
}

}  // namespace platform
