// The platform's picture decoders: every BMP variant against known pixels, JPEG at full and
// reduced size, and files that lie, are cut short or are too large.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>

#include "support/picture_files.h"

namespace {

using platform::Picture;

// Pixel (x, y) of a decoded picture, y counted from the bottom.
Rgb8 At(const Picture& p, int x, int y) {
    const std::uint8_t* q = &p.bgrx[(std::size_t(y) * p.width + x) * 4];
    return {q[2], q[1], q[0]};
}

bool Decode(const TempFolder& folder, const std::vector<std::uint8_t>& bytes, Picture& out,
            long long maxPixels = 100000000) {
    folder.Write("p.bmp", bytes);
    return platform::DecodePictureFile((folder / "p.bmp").c_str(), maxPixels, out);
}

constexpr Rgb8 RED{255, 0, 0}, GREEN{0, 255, 0}, BLUE{0, 0, 255}, WHITE{255, 255, 255},
    BLACK{0, 0, 0};

// A 3 x 2 picture used for the direct-colour variants: bottom row red, green, blue;
// top row white, black, (10, 20, 30).
const Rgb8 SAMPLE[2][3] = {{RED, GREEN, BLUE}, {WHITE, BLACK, {10, 20, 30}}};

void ExpectSample(const Picture& p) {
    ASSERT_EQ(p.width, 3);
    ASSERT_EQ(p.height, 2);
    EXPECT_EQ(p.fullWidth, 3);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(At(p, x, y), SAMPLE[y][x]) << x << "," << y;
}

// Stored rows of SAMPLE at `bits` bits per pixel through `encode`, bottom-up or top-down.
BmpSpec SampleSpec(int bits, bool topDown, const std::function<std::uint32_t(Rgb8)>& encode) {
    BmpSpec s;
    s.width = 3;
    s.height = topDown ? -2 : 2;
    s.bitsPerPixel = bits;
    int stride = (3 * bits + 31) / 32 * 4;
    s.pixelBytes.assign(std::size_t(stride) * 2, 0xEE);  // padding bytes must be ignored
    for (int r = 0; r < 2; ++r) {
        int y = topDown ? 1 - r : r;
        for (int x = 0; x < 3; ++x) {
            std::uint32_t v = encode(SAMPLE[y][x]);
            for (int b = 0; b < bits / 8; ++b)
                s.pixelBytes[std::size_t(r) * stride + x * (bits / 8) + b] =
                    std::uint8_t(v >> 8 * b);
        }
    }
    return s;
}

TEST(BmpDecode, DirectColourVariants) {
    TempFolder folder;
    auto bgr = [](Rgb8 c) { return std::uint32_t(c.b) | c.g << 8 | c.r << 16; };
    for (bool topDown : {false, true}) {
        SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
        Picture p;
        ASSERT_TRUE(Decode(folder, BmpBytes(SampleSpec(24, topDown, bgr)), p));
        ExpectSample(p);
        ASSERT_TRUE(Decode(folder, BmpBytes(SampleSpec(32, topDown, bgr)), p));
        ExpectSample(p);

        // Bit fields in an unusual order (red in the low byte), masks after a 40-byte header
        // and inside a 124-byte one.
        auto rgb = [](Rgb8 c) { return std::uint32_t(c.r) | c.g << 8 | c.b << 16; };
        for (int header : {40, 124}) {
            BmpSpec s = SampleSpec(32, topDown, rgb);
            s.headerBytes = header;
            s.compression = 3;
            s.masks = {0xFF, 0xFF00, 0xFF0000};
            ASSERT_TRUE(Decode(folder, BmpBytes(s), p)) << header;
            ExpectSample(p);
        }
    }
}

TEST(BmpDecode, SixteenBitsWithDefaultAndGivenMasks) {
    TempFolder folder;
    // 5-5-5 without masks; full-scale channels come out as 255, a middle value as its share.
    auto five = [](Rgb8 c) { return std::uint32_t(c.r >> 3) << 10 | (c.g >> 3) << 5 | c.b >> 3; };
    BmpSpec s = SampleSpec(16, false, five);
    Picture p;
    ASSERT_TRUE(Decode(folder, BmpBytes(s), p));
    EXPECT_EQ(At(p, 0, 0), RED);
    EXPECT_EQ(At(p, 2, 0), BLUE);
    EXPECT_EQ(At(p, 0, 1), WHITE);
    EXPECT_EQ(At(p, 2, 1), (Rgb8{8, 16, 25}));  // 1/31, 2/31, 3/31 of 255, rounded
    // 5-6-5 with bit fields.
    auto sixFive = [](Rgb8 c) {
        return std::uint32_t(c.r >> 3) << 11 | (c.g >> 2) << 5 | c.b >> 3;
    };
    s = SampleSpec(16, true, sixFive);
    s.compression = 3;
    s.masks = {0xF800, 0x07E0, 0x001F};
    ASSERT_TRUE(Decode(folder, BmpBytes(s), p));
    EXPECT_EQ(At(p, 1, 0), GREEN);
    EXPECT_EQ(At(p, 0, 1), WHITE);
    EXPECT_EQ(At(p, 2, 1), (Rgb8{8, 20, 25}));  // green has 6 bits: 5/63 of 255
}

TEST(BmpDecode, PaletteVariants) {
    TempFolder folder;
    Picture p;
    // 1 bit, 9 pixels wide so that a row spans two bytes: bottom row 101010101, top all 0.
    BmpSpec one;
    one.width = 9;
    one.height = 2;
    one.bitsPerPixel = 1;
    one.palette = {BLUE, WHITE};
    one.pixelBytes = {0xAA, 0x80, 0, 0, 0x00, 0x00, 0, 0};
    ASSERT_TRUE(Decode(folder, BmpBytes(one), p));
    ASSERT_EQ(p.width, 9);
    for (int x = 0; x < 9; ++x) EXPECT_EQ(At(p, x, 0), x % 2 == 0 ? WHITE : BLUE) << x;
    EXPECT_EQ(At(p, 8, 1), BLUE);

    // 4 bits, a palette of 3 used colours; index 7 lies past it and comes out black.
    BmpSpec four;
    four.width = 3;
    four.height = -1;
    four.bitsPerPixel = 4;
    four.palette = {RED, GREEN, BLUE};
    four.paletteUsed = 3;
    four.pixelBytes = {0x21, 0x70, 0, 0};
    ASSERT_TRUE(Decode(folder, BmpBytes(four), p));
    EXPECT_EQ(At(p, 0, 0), BLUE);
    EXPECT_EQ(At(p, 1, 0), GREEN);
    EXPECT_EQ(At(p, 2, 0), BLACK);

    // 8 bits, in the old 12-byte header with 3-byte palette entries.
    BmpSpec eight;
    eight.headerBytes = 12;
    eight.width = 2;
    eight.height = 1;
    eight.bitsPerPixel = 8;
    eight.palette.assign(256, BLACK);
    eight.palette[200] = {1, 2, 3};
    eight.palette[7] = GREEN;
    eight.pixelBytes = {200, 7, 0, 0};
    ASSERT_TRUE(Decode(folder, BmpBytes(eight), p));
    EXPECT_EQ(At(p, 0, 0), (Rgb8{1, 2, 3}));
    EXPECT_EQ(At(p, 1, 0), GREEN);
}

TEST(BmpDecode, RefusesWhatItCannotReadSafely) {
    TempFolder folder;
    auto bgr = [](Rgb8 c) { return std::uint32_t(c.b) | c.g << 8 | c.r << 16; };
    BmpSpec good = SampleSpec(24, false, bgr);
    Picture p;
    p.width = 77;  // a refusal leaves the output untouched
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Case> cases;
    BmpSpec s = good;
    s.width = s.height = 60000;  // header claims far more than the file holds
    cases.push_back({"lying size", BmpBytes(s)});
    s.width = s.height = 5000;  // within the pixel limit, but the rows are not there
    cases.push_back({"lying size within the limit", BmpBytes(s)});
    std::vector<std::uint8_t> cut = BmpBytes(good);
    cut.resize(cut.size() - 1);
    cases.push_back({"truncated rows", cut});
    cases.push_back({"header only", std::vector<std::uint8_t>(cut.begin(), cut.begin() + 20)});
    cases.push_back({"zero bytes", {}});
    s = good;
    s.compression = 1;
    s.bitsPerPixel = 8;
    s.palette = {RED};
    cases.push_back({"run-length", BmpBytes(s)});
    s = good;
    s.bitsPerPixel = 2;
    cases.push_back({"2 bits", BmpBytes(s)});
    s = good;
    s.width = -3;
    cases.push_back({"negative width", BmpBytes(s)});
    std::vector<std::uint8_t> header = BmpBytes(good);
    PutLe(header, 14, 20, 4);
    cases.push_back({"unknown header", header});
    std::vector<std::uint8_t> offset = BmpBytes(good);
    PutLe(offset, 10, 0xFFFFFFF0u, 4);
    cases.push_back({"pixel offset past the end", offset});
    for (const Case& c : cases) {
        EXPECT_FALSE(Decode(folder, c.bytes, p)) << c.what;
        EXPECT_EQ(p.width, 77) << c.what;
    }
    EXPECT_FALSE(platform::DecodePictureFile((folder / "missing.bmp").c_str(), 1000, p));
    // The pixel limit: 6 pixels pass a limit of 6 and fail one of 5.
    EXPECT_FALSE(Decode(folder, BmpBytes(good), p, 5));
    EXPECT_TRUE(Decode(folder, BmpBytes(good), p, 6));
}

Rgb8 Quadrants(int x, int y) {
    // Bottom-left red, bottom-right green, top-left blue, top-right white.
    if (y < 24) return x < 32 ? RED : GREEN;
    return x < 32 ? BLUE : WHITE;
}

void ExpectNear(Rgb8 a, Rgb8 b) {
    EXPECT_NEAR(a.r, b.r, 12);
    EXPECT_NEAR(a.g, b.g, 12);
    EXPECT_NEAR(a.b, b.b, 12);
}

TEST(JpegDecode, FullAndReducedSizesStandUpright) {
    TempFolder folder;
    std::string path = folder / "q.jpg";
    ASSERT_TRUE(WriteJpeg(path, 64, 48, Quadrants));
    Picture p;
    ASSERT_TRUE(platform::DecodePictureFile(path.c_str(), 100000000, p));
    ASSERT_EQ(p.width, 64);
    ASSERT_EQ(p.height, 48);
    ExpectNear(At(p, 8, 8), RED);
    ExpectNear(At(p, 56, 8), GREEN);
    ExpectNear(At(p, 8, 40), BLUE);
    ExpectNear(At(p, 56, 40), WHITE);

    // The smallest reduced size whose long side still reaches the request.
    ASSERT_TRUE(platform::DecodePictureReduced(path.c_str(), 100000000, 8, p));
    EXPECT_EQ(p.width, 8);
    EXPECT_EQ(p.height, 6);
    EXPECT_EQ(p.fullWidth, 64);
    EXPECT_EQ(p.fullHeight, 48);
    ExpectNear(At(p, 1, 1), RED);
    ExpectNear(At(p, 6, 4), WHITE);
    ASSERT_TRUE(platform::DecodePictureReduced(path.c_str(), 100000000, 33, p));
    EXPECT_GE(p.width, 33);
    EXPECT_LT(p.width, 64);
    ASSERT_TRUE(platform::DecodePictureReduced(path.c_str(), 100000000, 500, p));
    EXPECT_EQ(p.width, 64);  // never enlarged
}

TEST(JpegDecode, RefusesCutAndOversizedFiles) {
    TempFolder folder;
    std::string path = folder / "q.jpg";
    ASSERT_TRUE(WriteJpeg(path, 64, 48, Quadrants));
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    Picture p;
    p.width = 77;
    EXPECT_FALSE(platform::DecodePictureFile(path.c_str(), 64 * 48 - 1, p));
    EXPECT_FALSE(platform::DecodePictureReduced(path.c_str(), 64 * 48 - 1, 8, p));
    folder.Write("cut.jpg",
                 std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + bytes.size() / 2));
    EXPECT_FALSE(platform::DecodePictureFile((folder / "cut.jpg").c_str(), 100000000, p));
    EXPECT_FALSE(platform::DecodePictureReduced((folder / "cut.jpg").c_str(), 100000000, 8, p));
    folder.Write("head.jpg", std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 40));
    EXPECT_FALSE(platform::DecodePictureFile((folder / "head.jpg").c_str(), 100000000, p));
    folder.Write("text.jpg", {'h', 'e', 'l', 'l', 'o'});
    EXPECT_FALSE(platform::DecodePictureFile((folder / "text.jpg").c_str(), 100000000, p));
    EXPECT_EQ(p.width, 77);
}

TEST(JpegDecode, WarningsThatCostNoPixelsStillDecode) {
    TempFolder folder;
    std::string path = folder / "q.jpg";
    ASSERT_TRUE(WriteJpeg(path, 64, 48, Quadrants));
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GT(bytes.size(), 20u);
    ASSERT_EQ(std::string(bytes.begin() + 6, bytes.begin() + 11), std::string("JFIF\0", 5));
    Picture clean;
    ASSERT_TRUE(platform::DecodePictureFile(path.c_str(), 100000000, clean));

    // Stray bytes before the end marker, as some cameras and editors leave them.
    std::vector<std::uint8_t> stray = bytes;
    stray.insert(stray.end() - 2, {0, 0, 0, 0});
    // A JFIF header of a later major revision.
    std::vector<std::uint8_t> revision = bytes;
    revision[11] = 2;
    for (const auto& [name, file] : {std::pair{"stray.jpg", stray}, {"revision.jpg", revision}}) {
        folder.Write(name, file);
        Picture p;
        ASSERT_TRUE(platform::DecodePictureFile((folder / name).c_str(), 100000000, p)) << name;
        EXPECT_EQ(p.bgrx, clean.bgrx) << name;
        EXPECT_TRUE(platform::DecodePictureReduced((folder / name).c_str(), 100000000, 8, p));
    }

    // Stray bytes where the scan should begin are still refused.
    std::vector<std::uint8_t> early = bytes;
    const std::uint8_t startOfScan[] = {0xFF, 0xDA};
    auto scan = std::search(early.begin(), early.end(), std::begin(startOfScan),
                            std::end(startOfScan));
    ASSERT_NE(scan, early.end());
    early.insert(scan, {0, 0, 0, 0});
    folder.Write("early.jpg", early);
    Picture p;
    EXPECT_FALSE(platform::DecodePictureFile((folder / "early.jpg").c_str(), 100000000, p));
}

TEST(PictureFile, PipeNamedLikeAPictureIsRefusedWithoutWaitingForAWriter) {
    TempFolder folder;
    std::string path = folder / "pipe.jpg";
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    auto decode = std::async(std::launch::async, [&] {
        Picture p;
        return platform::DecodePictureReduced(path.c_str(), 100000000, 8, p);
    });
    if (decode.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
        close(open(path.c_str(), O_WRONLY));  // lets the blocked reader go so the test ends
        FAIL() << "the decoder waits for someone to write into a pipe";
    }
    EXPECT_FALSE(decode.get());
}

}  // namespace
