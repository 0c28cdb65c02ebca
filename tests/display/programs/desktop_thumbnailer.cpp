// Another program's thumbnail, made as a desktop file manager makes one: the picture upright,
// reduced by sampling (not the program's averaging), written through libpng as an RGBA PNG with
// its text chunks, into <cache>/large/ under the MD5 of the URI that GLib gives the file.
//   quentaro_desktop_thumbnailer CACHE PICTURE [RRGGBB [stale]]
// A colour draws the thumbnail in that colour instead of the picture; "stale" dates it a second
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

int main(int argc, char** argv) {
    struct stat info;
    if (argc < 3 || stat(argv[2], &info) != 0) return 2;
    int width = 192, height = 256;
    std::vector<std::uint8_t> rgba;  // top row first
    if (argc > 3) {
        unsigned long c = std::strtoul(argv[3], nullptr, 16);
        for (int i = 0; i < width * height; ++i)
            rgba.insert(rgba.end(),
                        {std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c), 255});
    } else {
        platform::Picture p;  // upright, bottom row first, B, G, R, X
        if (!platform::DecodePictureFile(argv[2], 1 << 28, p)) return 1;
        double scale = 256.0 / std::max(p.width, p.height);
        width = int(p.width * scale + 0.5), height = int(p.height * scale + 0.5);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                int sx = int((x + 0.5) / scale), sy = p.height - 1 - int((y + 0.5) / scale);
                const std::uint8_t* s = &p.bgrx[(std::size_t(sy) * p.width + sx) * 4];
                rgba.insert(rgba.end(), {s[2], s[1], s[0], 255});
            }
    }
    gchar* uri = g_filename_to_uri(argv[2], nullptr, nullptr);
    gchar* md5 = g_compute_checksum_for_string(G_CHECKSUM_MD5, uri, -1);
    std::string folder = std::string(argv[1]) + "/large", path = folder + "/" + md5 + ".png";
    std::string mtime = std::to_string(info.st_mtime - (argc > 4 ? 1 : 0));
    g_mkdir_with_parents(folder.c_str(), 0700);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop pngInfo = png_create_info_struct(png);
    if (file == nullptr) return 1;
    if (setjmp(png_jmpbuf(png)) != 0) return 1;
    png_init_io(png, file);
    png_set_IHDR(png, pngInfo, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_text text[2] = {};
    text[0].key = const_cast<char*>("Thumb::URI");
    text[0].text = uri;
    text[1].key = const_cast<char*>("Thumb::MTime");
    text[1].text = mtime.data();
    text[0].compression = text[1].compression = PNG_TEXT_COMPRESSION_NONE;
    png_set_text(png, pngInfo, text, 2);
    png_write_info(png, pngInfo);
    for (int y = 0; y < height; ++y) png_write_row(png, &rgba[std::size_t(y) * width * 4]);
    png_write_end(png, pngInfo);
    png_destroy_write_struct(&png, &pngInfo);
    if (std::fclose(file) != 0 || chmod(path.c_str(), 0600) != 0) return 1;
    std::printf("%s\n", path.c_str());
    g_free(md5);
    g_free(uri);
    return 0;
}
