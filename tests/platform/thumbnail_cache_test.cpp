// The file work of the desktop's thumbnail cache: names as GLib (the desktop's own library)
// makes them, and thumbnails in the form other programs read.
#include <glib.h>
#include <gtest/gtest.h>
#include <png.h>

#include "support/picture_files.h"

namespace {

TEST(ThumbnailCacheFiles, NamesAreTheDesktops) {
    std::string everyByte = "/";
    for (int c = 1; c < 256; ++c)
        if (c != '/') everyByte += char(c);
    for (std::string path : {std::string("/home/ana/Photos/Plage été 1.jpg"), everyByte}) {
        gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
        gchar* md5 = g_compute_checksum_for_string(G_CHECKSUM_MD5, uri, -1);
        EXPECT_EQ(platform::FileUri(path), uri);
        EXPECT_EQ(platform::Md5Hex(uri), md5);
        g_free(md5);
        g_free(uri);
    }
    EXPECT_EQ(platform::FileUri("Photos/a.jpg"), "");
}

// Our thumbnails as other programs read them: top row first.
TEST(ThumbnailCacheFiles, ThumbnailsAreWrittenTopRowFirst) {
    platform::Thumbnail t;
    t.width = 1;
    t.height = 2;
    t.rgba = {10, 20, 30, 255, 40, 50, 60, 255};  // bottom row first
    std::vector<std::uint8_t> png;
    ASSERT_TRUE(platform::EncodeThumbnailPng(t, png));
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, png.data(), png.size()));
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rows(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rows.data(), 0, nullptr));
    EXPECT_EQ(rows, (std::vector<std::uint8_t>{40, 50, 60, 10, 20, 30}));
}

}  // namespace
