// The image loader: classification by extension, the colour key, the bottom-row-first
// store, and loads that fail without touching the picture already held.
#include <gtest/gtest.h>

#include <cstring>

#include "quentaro.h"
#include "support/picture_files.h"

namespace {

class LoaderTest : public ::testing::Test {
  protected:
    TempFolder folder;
    KeepCurrentFolder keep;

    void SetUp() override {
        AllocateImageStore();
        Loader.pixels = ImageStore;
        Loader.SetColourKey(1, 0, 0, 0);
        LoaderInfo = ImageInfo{};
        ASSERT_TRUE(platform::SetCurrentFolder(folder.Path().c_str()));
    }

    static const std::uint8_t* StorePixel(int x, int y) {
        return ImageStore + 4 * (std::size_t(y) * LoaderInfo.width + x);
    }
};

TEST_F(LoaderTest, ClassifiesByTheTextAfterTheLastDot) {
    const struct {
        const char* name;
        int typeCode, supported;
    } cases[] = {{"photo.JPEG", 2, 1}, {"PHOTO.jpg", 2, 1}, {"a.Jpeg", 2, 1},
                 {"anim.gif", 5, 0},   {"x.ico", 6, 0},     {"x.EMF", 7, 0},
                 {"x.wmf", 8, 0},      {"README", 0, 0},    {"archive.tar.bmp", 1, 1},
                 {".bmp", 1, 1},       {"bmp", 0, 0},       {"photo.jpg.txt", 0, 0},
                 {"x.jpe", 0, 0},      {"x.bmpx", 0, 0}};
    for (const auto& c : cases) {
        LoaderInfo.typeCode = 99;
        EXPECT_EQ(Loader.Probe(c.name, LoaderInfo), 1) << c.name;
        EXPECT_EQ(LoaderInfo.typeCode, c.typeCode) << c.name;
        EXPECT_EQ(Loader.supported, c.supported) << c.name;
    }
    char extension[32];
    Loader.FileExtension("a.b.c", extension);
    EXPECT_STREQ(extension, "c");
    Loader.FileExtension("README", extension);
    EXPECT_STREQ(extension, "");
    // A file that is a picture but named as something else is never decoded.
    folder.Write("anim.gif", Bmp24(2, 2, [](int, int) { return Rgb8{1, 1, 1}; }));
    EXPECT_EQ(Loader.Load("anim.gif", LoaderInfo), 0);
    EXPECT_EQ(LoaderInfo.typeCode, 5);
}

TEST_F(LoaderTest, StoresRgbaBottomRowFirstWithBlackTransparent) {
    // 100 x 50: black background, the bottom row red, a near-black pixel, one blue pixel on top.
    folder.Write("p.bmp", Bmp24(100, 50, [](int x, int y) {
                     if (y == 0) return Rgb8{200, 0, 0};
                     if (x == 5 && y == 5) return Rgb8{1, 0, 0};
                     if (x == 99 && y == 49) return Rgb8{0, 0, 255};
                     return Rgb8{0, 0, 0};
                 }));
    int loads = Loader.loadCount;
    ASSERT_EQ(Loader.Load("p.bmp", LoaderInfo), 1);
    EXPECT_EQ(Loader.loadCount, loads + 1);
    EXPECT_EQ(LoaderInfo.typeCode, 1);
    EXPECT_EQ(LoaderInfo.width, 100);
    EXPECT_EQ(LoaderInfo.height, 50);
    EXPECT_EQ(LoaderInfo.bitsPerPixel, 32);
    EXPECT_EQ(LoaderInfo.format, 6408);
    EXPECT_EQ(Loader.width, 100);
    const std::uint8_t red[4] = {200, 0, 0, 255}, nearBlack[4] = {1, 0, 0, 255},
                       blue[4] = {0, 0, 255, 255}, clear[4] = {0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(ImageStore, red, 4), 0);  // the first bytes are the bottom row
    EXPECT_EQ(std::memcmp(StorePixel(99, 0), red, 4), 0);
    EXPECT_EQ(std::memcmp(StorePixel(5, 5), nearBlack, 4), 0);
    EXPECT_EQ(std::memcmp(StorePixel(6, 5), clear, 4), 0);
    EXPECT_EQ(std::memcmp(StorePixel(99, 49), blue, 4), 0);
    EXPECT_EQ(std::memcmp(ImageStore + 4 * (100 * 50 - 1), blue, 4), 0);

    // Another key colour, and the key switched off.
    Loader.SetColourKey(1, 200, 0, 0);
    ASSERT_EQ(Loader.Load("p.bmp", LoaderInfo), 1);
    EXPECT_EQ(ImageStore[3], 0);
    EXPECT_EQ(StorePixel(6, 5)[3], 255);
    Loader.SetColourKey(0, 1, 2, 3);
    EXPECT_EQ(Loader.keyColour[0], 200);  // switching off keeps the colour
    ASSERT_EQ(Loader.Load("p.bmp", LoaderInfo), 1);
    EXPECT_EQ(ImageStore[3], 255);
    EXPECT_EQ(StorePixel(6, 5)[3], 255);
}

TEST_F(LoaderTest, FailedLoadsKeepThePreviousPicture) {
    SKIP_WITHOUT_JPEG_WRITER();
    folder.Write("first.bmp", Bmp24(4, 3, [](int x, int y) {
                     return Rgb8{std::uint8_t(x), std::uint8_t(y), 9};
                 }));
    ASSERT_EQ(Loader.Load("first.bmp", LoaderInfo), 1);
    std::vector<std::uint8_t> held(ImageStore, ImageStore + 4 * 4 * 3);
    ImageInfo heldInfo = LoaderInfo;

    ASSERT_TRUE(WriteJpeg(folder / "whole.jpg", 64, 48, [](int, int) { return Rgb8{9, 9, 9}; }));
    std::ifstream in(folder / "whole.jpg", std::ios::binary);
    std::vector<std::uint8_t> jpeg((std::istreambuf_iterator<char>(in)), {});
    folder.Write("cut.jpg",
                 std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + jpeg.size() / 2));
    folder.Touch("empty.bmp");
    BmpSpec huge;
    huge.width = huge.height = 60000;
    folder.Write("huge.bmp", BmpBytes(huge));
    // More than 100,000,000 pixels, all of them present: refused for its size alone.
    BmpSpec big;
    big.width = 10001;
    big.height = 10000;
    big.bitsPerPixel = 1;
    big.palette = {{255, 255, 255}, {0, 0, 0}};
    big.pixelBytes.assign(std::size_t((10001 + 31) / 32 * 4) * 10000, 0);
    folder.Write("big.bmp", BmpBytes(big));

    int loads = Loader.loadCount;
    for (const char* name : {"missing.bmp", "cut.jpg", "empty.bmp", "huge.bmp", "big.bmp"}) {
        EXPECT_EQ(Loader.Load(name, LoaderInfo), 0) << name;
        EXPECT_EQ(LoaderInfo.width, heldInfo.width) << name;
        EXPECT_EQ(LoaderInfo.height, heldInfo.height) << name;
        EXPECT_EQ(Loader.width, 4) << name;
        EXPECT_TRUE(std::equal(held.begin(), held.end(), ImageStore)) << name;
    }
    EXPECT_EQ(Loader.loadCount, loads);
    EXPECT_EQ(Loader.Load("whole.jpg", LoaderInfo), 1);
    EXPECT_EQ(LoaderInfo.width, 64);
    EXPECT_EQ(LoaderInfo.typeCode, 2);
}

TEST_F(LoaderTest, TheStoreHoldsExactlyOneHundredMillionPixels) {
    auto bytes = [](int width, int height, int bits = 32) {
        ImageInfo info;
        info.width = width;
        info.height = height;
        info.bitsPerPixel = bits;
        return BytesToStore(info);
    };
    // Both sides of the limit, in both directions, without storing anything.
    EXPECT_EQ(bytes(10000, 10000), 400000000);
    EXPECT_EQ(bytes(100000000, 1), 400000000);
    EXPECT_EQ(bytes(1, 100000000), 400000000);
    EXPECT_EQ(bytes(10000, 10001), -1);
    EXPECT_EQ(bytes(100000001, 1), -1);
    EXPECT_EQ(bytes(1, 100000001), -1);
    EXPECT_EQ(bytes(100, 50), 20000);
    EXPECT_EQ(bytes(0, 0), 0);
    EXPECT_EQ(bytes(-1, 5), -1);
    EXPECT_EQ(bytes(65536, 65536), -1);  // far past: no overflow into a small size
    EXPECT_EQ(bytes(1 << 30, 1 << 30, 1 << 30), -1);

    // A picture decoded ahead (as the thumbnail page does) one pixel past the limit is
    // refused before its pixels are read, and the picture held stays with its size.
    folder.Write("held.bmp", Bmp24(4, 3, [](int, int) { return Rgb8{1, 2, 3}; }));
    ASSERT_EQ(Loader.Load("held.bmp", LoaderInfo), 1);
    int loads = Loader.loadCount;
    platform::Picture big;
    big.width = big.fullWidth = 10000;
    big.height = big.fullHeight = 10001;
    EXPECT_EQ(LoadDecoded("big.bmp", big, LoaderInfo), 0);
    EXPECT_EQ(LoaderInfo.width, 4);
    EXPECT_EQ(LoaderInfo.height, 3);
    EXPECT_EQ(Loader.width, 4);
    EXPECT_EQ(Loader.loadCount, loads);
    EXPECT_EQ(ImageStore[0], 1);
}

TEST_F(LoaderTest, PathsKeepTheirFullLength) {
    std::string name(200, 'n');
    EXPECT_EQ(PicturePath((name + ".bmp").c_str()),
              platform::CurrentFolder() + Separator() + name + ".bmp");
    EXPECT_EQ(PicturePath("http://host/a.jpg"), "http://host/a.jpg");
#ifndef _WIN32  // Windows removes no folder that is current, nor enters one past 260 characters
    // A current folder removed from under us leaves the name relative, not under the root.
    folder.MakeFolder("doomed");
    ASSERT_TRUE(platform::SetCurrentFolder((folder / "doomed").c_str()));
    std::filesystem::remove(folder / "doomed");
    EXPECT_EQ(PicturePath("p.bmp"), "p.bmp");
    // A folder path longer than 260 characters still reaches its file.
    std::string deep = folder.Path();
    for (int i = 0; i < 3; ++i) {
        deep += "/" + std::string(100, char('a' + i));
        std::filesystem::create_directory(deep);
    }
    std::vector<std::uint8_t> bytes = Bmp24(2, 2, [](int, int) { return Rgb8{5, 6, 7}; });
    std::ofstream(deep + "/p.bmp", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    ASSERT_TRUE(platform::SetCurrentFolder(deep.c_str()));
    EXPECT_EQ(Loader.Load("p.bmp", LoaderInfo), 1);
#endif
}

}  // namespace
