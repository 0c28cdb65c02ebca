// Another program's thumbnail, made as a desktop file manager makes one: the picture upright,
// reduced by sampling (not the program's averaging), written through libpng as an RGBA PNG with
// its text chunks, into <cache>/large/ under the MD5 of the URI that GLib gives the file.
//   quentaro_desktop_thumbnailer CACHE PICTURE [--colour RRGGBB] [--stale]
// --colour draws a thumbnail of one colour instead of the picture; --stale dates it a second
// before the file's time. Prints the thumbnail's path.
#include <glib.h>
#include <glib/gstdio.h>
#include <png.h>
#include <sys/stat.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

bool WritePng(const std::string& path, int width, int height,
              const std::vector<std::uint8_t>& rgbaTopDown,
              const std::vector<std::pair<std::string, std::string>>& text) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_text> chunks;
    for (const auto& [key, value] : text) {
        png_text chunk{};
        chunk.compression = PNG_TEXT_COMPRESSION_NONE;
        chunk.key = const_cast<char*>(key.c_str());
        chunk.text = const_cast<char*>(value.c_str());
        chunks.push_back(chunk);
    }
    png_set_text(png, info, chunks.data(), int(chunks.size()));
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, &rgbaTopDown[std::size_t(y) * std::size_t(width) * 4]);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && chmod(path.c_str(), 0600) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    std::string cache = argv[1], picture = argv[2];
    unsigned long colour = 0;
    bool oneColour = false, stale = false;
    for (int i = 3; i < argc; ++i) {
        std::string option = argv[i];
        if (option == "--stale") stale = true;
        if (option == "--colour" && i + 1 < argc) {
            colour = std::strtoul(argv[++i], nullptr, 16);
            oneColour = true;
        }
    }
    struct stat info;
    if (stat(picture.c_str(), &info) != 0) return 1;

    int width = 192, height = 256;
    std::vector<std::uint8_t> rgba;
    if (oneColour) {
        for (int i = 0; i < width * height; ++i)
            rgba.insert(rgba.end(), {std::uint8_t(colour >> 16), std::uint8_t(colour >> 8),
                                     std::uint8_t(colour), 255});
    } else {
        platform::Picture p;  // upright, bottom-up, B, G, R, X
        if (!platform::DecodePictureFile(picture.c_str(), 1 << 28, p)) return 1;
        double scale = 256.0 / std::max(p.width, p.height);
        width = std::max(1, int(p.width * scale + 0.5));
        height = std::max(1, int(p.height * scale + 0.5));
        for (int y = 0; y < height; ++y)  // from the top
            for (int x = 0; x < width; ++x) {
                int sx = int((x + 0.5) / scale), sy = p.height - 1 - int((y + 0.5) / scale);
                const std::uint8_t* s = &p.bgrx[(std::size_t(sy) * p.width + sx) * 4];
                rgba.insert(rgba.end(), {s[2], s[1], s[0], 255});
            }
    }

    gchar* uri = g_filename_to_uri(picture.c_str(), nullptr, nullptr);
    gchar* md5 = g_compute_checksum_for_string(G_CHECKSUM_MD5, uri, -1);
    std::string folder = cache + "/large", path = folder + "/" + md5 + ".png";
    long long mtime = static_cast<long long>(info.st_mtime) - (stale ? 1 : 0);
    bool ok = g_mkdir_with_parents(folder.c_str(), 0700) == 0 &&
              WritePng(path, width, height, rgba,
                       {{"Thumb::URI", uri},
                        {"Thumb::MTime", std::to_string(mtime)},
                        {"Software", "a desktop file manager"}});
    g_free(md5);
    g_free(uri);
    if (!ok) return 1;
    std::printf("%s\n", path.c_str());
    return 0;
}
