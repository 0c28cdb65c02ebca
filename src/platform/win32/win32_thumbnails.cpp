// The thumbnail cache on Windows: none. The system keeps thumbnails of its own, in a database
// of its own form, which the program leaves alone; with no cache folder the browser decodes
// every page as it always did, and the rest below is never reached.
#include "platform/win32/win32_platform.h"

namespace platform {

std::string ThumbnailCacheFolder() {
    return "";
}

std::string FileUri(const std::string&) {
    return "";
}

std::string Md5Hex(const std::string&) {
    return "";
}

bool WritePrivateFile(const std::string&, const void*, std::size_t, std::string& why) {
    why = "no thumbnail cache on Windows";
    return false;
}

ThumbnailRead ReadThumbnailFile(const std::string&, Thumbnail&, std::string&) {
    return ThumbnailRead::Absent;
}

bool DecodeThumbnailPng(const std::uint8_t*, std::size_t, Thumbnail&, std::string& why) {
    why = "no PNG reader on Windows";
    return false;
}

bool EncodeThumbnailPng(const Thumbnail&, std::vector<std::uint8_t>&) {
    return false;
}

}  // namespace platform
