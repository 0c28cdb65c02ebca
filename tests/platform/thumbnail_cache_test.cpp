// The file work of the desktop's thumbnail cache: names as GLib (the desktop's own library)
// makes them, private files written whole, and thumbnail PNG files read back as written, in
// other writers' forms too, and refused when damaged.
#include <glib.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>

#include <cstdlib>

#include "support/picture_files.h"

namespace {

int Mode(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

std::size_t Entries(const std::string& folder) {
    auto all = std::filesystem::directory_iterator(folder);
    return std::size_t(std::distance(begin(all), end(all)));
}

TEST(ThumbnailCacheFiles, NamesAreTheDesktops) {
    std::string everyByte = "/";
    for (int c = 1; c < 256; ++c)
        if (c != '/') everyByte += char(c);
    for (std::string path : {std::string("/home/ana/Photos/Plage été 1.jpg"), everyByte}) {
        gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
        ASSERT_NE(uri, nullptr);
        EXPECT_EQ(platform::FileUri(path), uri);
        gchar* md5 = g_compute_checksum_for_string(G_CHECKSUM_MD5, uri, -1);
        EXPECT_EQ(platform::Md5Hex(uri), md5);
        g_free(md5);
        g_free(uri);
    }
    EXPECT_EQ(platform::FileUri("Photos/a.jpg"), "");

    const char* xdg = std::getenv("XDG_CACHE_HOME");
    std::string saved = xdg != nullptr ? xdg : "";
    setenv("XDG_CACHE_HOME", "/var/cache/ana", 1);
    EXPECT_EQ(platform::ThumbnailCacheFolder(), "/var/cache/ana/thumbnails");
    setenv("XDG_CACHE_HOME", "relative", 1);  // ignored
    EXPECT_EQ(platform::ThumbnailCacheFolder(),
              std::string(std::getenv("HOME")) + "/.cache/thumbnails");
    setenv("XDG_CACHE_HOME", saved.c_str(), 1);
    if (xdg == nullptr) unsetenv("XDG_CACHE_HOME");
}

TEST(ThumbnailCacheFiles, APrivateFileIsWrittenWholeOrNotAtAll) {
    TempFolder root;
    std::string large = root / "thumbnails/large";
    std::string why;
    ASSERT_TRUE(platform::WritePrivateFile(large + "/a.png", "first", 5, why)) << why;
    ASSERT_TRUE(platform::WritePrivateFile(large + "/a.png", "second", 6, why)) << why;
    std::ifstream in(large + "/a.png");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "second");
    EXPECT_EQ(Mode(large + "/a.png"), 0600);
    EXPECT_EQ(Mode(large), 0700);
    EXPECT_EQ(Mode(root / "thumbnails"), 0700);
    EXPECT_EQ(Entries(large), 1u);  // no temporary file left

    // A file where a folder should be, a folder where the file should be: nothing left behind.
    root.Write("plain", {1});
    EXPECT_FALSE(platform::WritePrivateFile(root / "plain/large/a.png", "x", 1, why));
    EXPECT_EQ(why, "Not a directory");
    std::filesystem::create_directories(large + "/b.png/inside");
    EXPECT_FALSE(platform::WritePrivateFile(large + "/b.png", "x", 1, why));
    EXPECT_EQ(Entries(large), 2u);
}

TEST(ThumbnailCacheFiles, ThumbnailsReadAsWrittenAndDamageIsRefused) {
    platform::Thumbnail t;
    t.width = 3;
    t.height = 2;
    for (int i = 0; i < 6; ++i)
        t.rgba.insert(t.rgba.end(), {std::uint8_t(40 * i), std::uint8_t(7 * i), 99, 255});
    t.text = {{"Thumb::URI", "file:///a%20b.jpg"}, {"Thumb::MTime", "1700000000"}};
    std::vector<std::uint8_t> png;
    ASSERT_TRUE(platform::EncodeThumbnailPng(t, png));
    platform::Thumbnail back;
    std::string why;
    ASSERT_TRUE(platform::DecodeThumbnailPng(png.data(), png.size(), back, why)) << why;
    EXPECT_EQ(back.width, 3);
    EXPECT_EQ(back.height, 2);
    EXPECT_EQ(back.rgba, t.rgba);
    EXPECT_EQ(back.text, t.text);
    // The file holds its top row first, as every reader expects.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, png.data(), png.size()));
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rows(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rows.data(), 0, nullptr));
    EXPECT_EQ(rows[0], t.rgba[12]);

    for (std::size_t cut : {std::size_t(8), png.size() / 2, png.size() - 12}) {
        platform::Thumbnail untouched;
        untouched.width = -1;
        EXPECT_FALSE(platform::DecodeThumbnailPng(png.data(), cut, untouched, why)) << cut;
        EXPECT_FALSE(why.empty());
        EXPECT_EQ(untouched.width, -1);
    }

    // Another writer's RGBA: what is transparent shows the black beneath it.
    auto write = [](int width, int format, const std::vector<std::uint8_t>& pixels) {
        png_image out{};
        out.version = PNG_IMAGE_VERSION;
        out.width = png_uint_32(width);
        out.height = 1;
        out.format = png_uint_32(format);
        std::vector<std::uint8_t> bytes(1 << 16);
        png_alloc_size_t size = bytes.size();
        EXPECT_TRUE(
            png_image_write_to_memory(&out, bytes.data(), &size, 0, pixels.data(), 0, nullptr));
        bytes.resize(size);
        return bytes;
    };
    std::vector<std::uint8_t> rgba = write(2, PNG_FORMAT_RGBA, {200, 100, 50, 128, 9, 8, 7, 255});
    ASSERT_TRUE(platform::DecodeThumbnailPng(rgba.data(), rgba.size(), back, why)) << why;
    EXPECT_EQ(back.rgba, (std::vector<std::uint8_t>{100, 50, 25, 255, 9, 8, 7, 255}));
    std::vector<std::uint8_t> wide = write(platform::THUMBNAIL_MAX_SIDE + 1, PNG_FORMAT_GRAY,
                                           std::vector<std::uint8_t>(5000, 1));
    EXPECT_FALSE(platform::DecodeThumbnailPng(wide.data(), wide.size(), back, why));
}

}  // namespace
