// Photographs the right way up: the EXIF orientation reader on sound and broken segments, the
// end-marker scan, every orientation through every decode path, and decodes that match the
// JPEG library's own to the byte.
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <cstring>
#include <fstream>

#include "platform/picture_codecs.h"
#include "support/picture_files.h"

namespace {

using platform::ExifOrientation;
using platform::JpegOrientation;
using platform::Picture;

// An APP1 payload with one orientation entry, in either byte order and either number type.
std::vector<std::uint8_t> ExifPayload(int value, bool bigEndian = false, int type = 3) {
    std::vector<std::uint8_t> p = {'E', 'x', 'i', 'f', 0, 0};
    auto u16 = [&](unsigned v) {
        if (bigEndian)
            p.insert(p.end(), {std::uint8_t(v >> 8), std::uint8_t(v)});
        else
            p.insert(p.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
    };
    auto u32 = [&](unsigned v) {
        if (bigEndian) {
            u16(v >> 16);
            u16(v & 0xFFFF);
        } else {
            u16(v & 0xFFFF);
            u16(v >> 16);
        }
    };
    p.insert(p.end(), bigEndian ? std::initializer_list<std::uint8_t>{'M', 'M'}
                                : std::initializer_list<std::uint8_t>{'I', 'I'});
    u16(42);
    u32(8);
    u16(2);  // two entries: another tag first
    u16(0x010F), u16(2), u32(4), u32(0x41424300);
    u16(0x0112), u16(unsigned(type)), u32(1);
    if (type == 3) {
        u16(unsigned(value)), u16(0);
    } else {
        u32(unsigned(value));
    }
    u32(0);
    return p;
}

std::vector<std::uint8_t> Segment(std::uint8_t marker, const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> s = {0xFF, marker, std::uint8_t((payload.size() + 2) >> 8),
                                   std::uint8_t(payload.size() + 2)};
    s.insert(s.end(), payload.begin(), payload.end());
    return s;
}

TEST(ExifOrientation, ReadsTheTagInEitherByteOrderAndRefusesWhatIsNotSound) {
    for (int o = 1; o <= 8; ++o) {
        auto little = ExifPayload(o), big = ExifPayload(o, true), wide = ExifPayload(o, true, 4);
        EXPECT_EQ(ExifOrientation(little.data(), little.size()), o);
        EXPECT_EQ(ExifOrientation(big.data(), big.size()), o);
        EXPECT_EQ(ExifOrientation(wide.data(), wide.size()), o);
    }
    auto odd = ExifPayload(9);
    EXPECT_EQ(ExifOrientation(odd.data(), odd.size()), 1);
    auto zero = ExifPayload(0);
    EXPECT_EQ(ExifOrientation(zero.data(), zero.size()), 1);
    // Every cut of a sound payload short of the tag's value reads as upright, never past the end.
    auto sound = ExifPayload(6);
    for (std::size_t n = 0; n + 4 < sound.size(); ++n) {
        std::vector<std::uint8_t> cut(sound.begin(), sound.begin() + long(n));
        EXPECT_EQ(ExifOrientation(cut.data(), cut.size()), 1) << n;
    }
    auto far = sound;
    far[10] = 0xF0;  // the first directory offset points past the end
    EXPECT_EQ(ExifOrientation(far.data(), far.size()), 1);
    auto many = sound;
    many[14] = 0xFF, many[15] = 0xFF;                         // 65535 entries claimed
    EXPECT_EQ(ExifOrientation(many.data(), many.size()), 6);  // found before the claim fails
    auto notExif = sound;
    notExif[0] = 'X';
    EXPECT_EQ(ExifOrientation(notExif.data(), notExif.size()), 1);
    EXPECT_EQ(ExifOrientation(nullptr, 0), 1);
}

TEST(ExifOrientation, JpegOrientationWalksTheSegmentsBeforeThePicture) {
    auto file = [](std::initializer_list<std::vector<std::uint8_t>> parts) {
        std::vector<std::uint8_t> f = {0xFF, 0xD8};
        for (const auto& part : parts) f.insert(f.end(), part.begin(), part.end());
        return f;
    };
    std::vector<std::uint8_t> jfif = Segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 1});
    std::vector<std::uint8_t> xmp = Segment(0xE1, {'h', 't', 't', 'p', ':', '/', '/', 'x'});
    std::vector<std::uint8_t> sos = {0xFF, 0xDA, 0, 2, 0x12, 0x34};
    auto f = file({jfif, xmp, Segment(0xE1, ExifPayload(8)), sos});
    EXPECT_EQ(JpegOrientation(f.data(), f.size()), 8);
    f = file({sos, Segment(0xE1, ExifPayload(8))});  // after the picture data starts: not read
    EXPECT_EQ(JpegOrientation(f.data(), f.size()), 1);
    f = file({jfif, Segment(0xE1, ExifPayload(3))});
    for (std::size_t n = 0; n < f.size(); ++n) EXPECT_EQ(JpegOrientation(f.data(), n), 1) << n;
    EXPECT_EQ(JpegOrientation(f.data(), f.size()), 3);
    f[2 + jfif.size() + 2] = 0x7F;  // a length past the end of the bytes
    EXPECT_EQ(JpegOrientation(f.data(), f.size()), 1);
}

std::vector<std::uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

TEST(JpegEndScan, TellsACompleteFileFromACutOne) {
    TempFolder folder;
    ASSERT_TRUE(WriteJpeg(
        folder / "q.jpg", 64, 48,
        [](int x, int y) {
            return Rgb8{std::uint8_t(x * 4), std::uint8_t(y), 9};
        },
        90, 6));
    std::vector<std::uint8_t> bytes = ReadAll(folder / "q.jpg");
    auto scan = [](const std::vector<std::uint8_t>& b, std::size_t piece) {
        platform::JpegEndScan s;
        for (std::size_t at = 0; at < b.size(); at += piece)
            s.Feed(b.data() + at, std::min(piece, b.size() - at));
        return s.Complete();
    };
    EXPECT_TRUE(scan(bytes, bytes.size()));
    EXPECT_TRUE(scan(bytes, 1));
    EXPECT_TRUE(scan(bytes, 7));
    std::vector<std::uint8_t> trailing = bytes;
    trailing.insert(trailing.end(), 1000, 0x5A);  // data some cameras append after the picture
    EXPECT_TRUE(scan(trailing, 64));
    for (std::size_t keep : {bytes.size() - 1, bytes.size() - 2, bytes.size() / 2, std::size_t(30)})
        EXPECT_FALSE(scan(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + long(keep)), 5))
            << keep;
    // Restart markers between the picture's intervals have no length: read as one, the
    // 0x7F00 after them would skip the end marker.
    for (std::uint8_t rst = 0xD0; rst <= 0xD7; ++rst)
        EXPECT_TRUE(scan({0xFF, 0xD8, 0xFF, 0xDA, 0, 2, 0x12, 0xFF, rst, 0x7F, 0, 0xFF, 0xD9}, 1))
            << int(rst);
    platform::JpegEndScan text;
    text.Feed(reinterpret_cast<const std::uint8_t*>("hello"), 5);
    EXPECT_TRUE(text.Failed());
}

// Colour of a decoded 4-byte pixel, red at byte `red`.
Rgb8 Pixel(const std::uint8_t* pixels, int width, int x, int y, int red) {
    const std::uint8_t* p = pixels + (std::size_t(y) * width + x) * 4;
    return {p[red], p[1], p[2 - red]};
}

// The colour at the middle of corner `corner` (0 top-left, clockwise) of a bottom-up picture.
Rgb8 Corner(const std::uint8_t* pixels, int width, int height, int corner, int red) {
    int x = corner == 0 || corner == 3 ? width / 4 : width * 3 / 4;
    int y = corner == 0 || corner == 1 ? height * 3 / 4 : height / 4;
    return Pixel(pixels, width, x, y, red);
}

void ExpectNear(Rgb8 got, Rgb8 want, const std::string& what) {
    EXPECT_NEAR(got.r, want.r, 16) << what;
    EXPECT_NEAR(got.g, want.g, 16) << what;
    EXPECT_NEAR(got.b, want.b, 16) << what;
}

TEST(JpegDecode, EveryOrientationStandsUprightInEveryDecode) {
    TempFolder folder;
    constexpr Rgb8 RED{255, 0, 0}, GREEN{0, 255, 0};
    std::vector<std::uint8_t> block(64 * 48 * 4 + 16);
    for (int o = 1; o <= 8; ++o) {
        SCOPED_TRACE("orientation " + std::to_string(o));
        bool turned = o >= 5;
        // Stored 64 x 48, or 48 x 64 for the turned ones: 64 x 48 once upright, always.
        int sw = turned ? 48 : 64, sh = turned ? 64 : 48;
        std::string path = folder / ("o" + std::to_string(o) + ".jpg");
        ASSERT_TRUE(WriteJpeg(
            path, sw, sh, [&](int x, int y) { return StoredQuadrant(x, y, sw, sh); }, 95, o));
        UprightCorners want = CornersOf(o);

        Picture full;
        ASSERT_TRUE(platform::DecodePictureFile(path.c_str(), 100000000, full));
        ASSERT_EQ(full.width, 64);
        ASSERT_EQ(full.height, 48);
        EXPECT_EQ(full.fullWidth, 64);
        ExpectNear(Corner(full.bgrx.data(), 64, 48, want.red, 2), RED, "full, red");
        ExpectNear(Corner(full.bgrx.data(), 64, 48, want.green, 2), GREEN, "full, green");

        Picture reduced;
        ASSERT_TRUE(platform::DecodePictureReduced(path.c_str(), 100000000, 8, reduced));
        ASSERT_EQ(reduced.width, 8);
        ASSERT_EQ(reduced.height, 6);
        EXPECT_EQ(reduced.fullWidth, 64);
        EXPECT_EQ(reduced.fullHeight, 48);
        ExpectNear(Corner(reduced.bgrx.data(), 8, 6, want.red, 2), RED, "reduced, red");
        ExpectNear(Corner(reduced.bgrx.data(), 8, 6, want.green, 2), GREEN, "reduced, green");

        platform::DecodeRequest request;
        request.maxPixels = 100000000;
        request.block = block.data();
        request.blockBytes = 64 * 48 * 4;
        request.order = platform::PixelOrder::RGBA;
        request.refuseIncomplete = true;
        Picture sizes;
        ASSERT_TRUE(platform::DecodePicture(path.c_str(), request, sizes));
        EXPECT_EQ(sizes.width, 64);
        EXPECT_TRUE(sizes.bgrx.empty());
        ExpectNear(Corner(block.data(), 64, 48, want.red, 0), RED, "block, red");
        ExpectNear(Corner(block.data(), 64, 48, want.green, 0), GREEN, "block, green");
        // The same pixels whichever way the decode was asked for, corners included.
        for (auto [x, y] : {std::pair{0, 0}, {63, 0}, {0, 47}, {63, 47}, {20, 30}})
            EXPECT_EQ(Pixel(block.data(), 64, x, y, 0), Pixel(full.bgrx.data(), 64, x, y, 2))
                << x << "," << y;
        request.blockBytes = 64 * 48 * 4 - 1;  // one byte short: refused
        EXPECT_FALSE(platform::DecodePicture(path.c_str(), request, sizes));
    }
}

// The decoder must give exactly what the library's own one-call interface gives for the
// settings the views use: the thumbnails and the full view stay what they were.
TEST(JpegDecode, SameBytesAsTheLibrarysOneCallDecode) {
    TempFolder folder;
    std::string path = folder / "p.jpg";
    ASSERT_TRUE(WriteJpeg(
        path, 333, 250,
        [](int x, int y) {
            return Rgb8{std::uint8_t(x * 7 ^ y), std::uint8_t(y * 3 + x / 5), std::uint8_t(x * y)};
        },
        88));
    std::vector<std::uint8_t> file = ReadAll(path);
    tjhandle handle = tjInitDecompress();
    for (int eighths : {8, 4, 1}) {
        SCOPED_TRACE(eighths);
        int w = (333 * eighths + 7) / 8, h = (250 * eighths + 7) / 8;
        int flags = TJFLAG_BOTTOMUP | (eighths < 8 ? TJFLAG_FASTDCT : 0);
        std::vector<std::uint8_t> want(std::size_t(w) * h * 4);
        ASSERT_EQ(
            tjDecompress2(handle, file.data(), file.size(), want.data(), w, 0, h, TJPF_BGRX, flags),
            0);
        Picture got;
        if (eighths == 8)
            ASSERT_TRUE(platform::DecodePictureFile(path.c_str(), 100000000, got));
        else
            ASSERT_TRUE(platform::DecodePictureReduced(path.c_str(), 100000000, w, got));
        ASSERT_EQ(got.width, w);
        ASSERT_EQ(got.height, h);
        ASSERT_EQ(got.bgrx.size(), want.size());
        EXPECT_TRUE(got.bgrx == want);
    }
    tjDestroy(handle);
}

}  // namespace
