// The picture loader: which headers it refuses, how rows come out, and what a refused or
// broken file leaves in the slot.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "bmp_files.h"
#include "quentaro.h"

namespace fs = std::filesystem;

namespace {

class BitmapLoader : public ::testing::Test {
  protected:
    fs::path folder;

    void SetUp() override {
        folder =
            fs::temp_directory_path() /
            ("quentaro_bmp_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        CreateImageSlots();
    }
    void TearDown() override {
        ReleaseImageSlots();
        fs::remove_all(folder);
    }

    std::string Make(const std::string& name, const bmp_files::Spec& spec) {
        fs::path path = folder / name;
        bmp_files::Write(path, spec);
        return path.string();
    }

    // Every pixel of a slot against the pattern the file was written with.
    static void ExpectPattern(const ImageSlot& slot, int width, int height) {
        ASSERT_NE(slot.pixels, nullptr);
        ASSERT_EQ(slot.width, width);
        ASSERT_EQ(slot.height, height);
        ASSERT_EQ(slot.channels, 3);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                std::uint8_t rgb[3];
                bmp_files::PixelAt(x, y, rgb);
                const std::uint8_t* p = slot.pixels + 3 * (std::size_t(y) * width + x);
                ASSERT_EQ(p[0], rgb[0]) << x << "," << y;
                ASSERT_EQ(p[1], rgb[1]) << x << "," << y;
                ASSERT_EQ(p[2], rgb[2]) << x << "," << y;
            }
    }
};

TEST_F(BitmapLoader, SixteenSquareLoadsBottomRowFirstRedFirst) {
    ASSERT_TRUE(LoadBitmap(Make("a.bmp", {}).c_str(), 5));
    const ImageSlot& slot = ImageSlots[5];
    ExpectPattern(slot, 16, 16);
    // 768 bytes: the last pixel is the top row's last, red 10 + 15, green 100 + 15.
    EXPECT_EQ(slot.pixels[767 - 2], 25);
    EXPECT_EQ(slot.pixels[767 - 1], 115);
    EXPECT_EQ(slot.pixels[0], 10);  // bottom-left pixel, red first
    EXPECT_EQ(slot.pixels[1], 100);
}

TEST_F(BitmapLoader, PaddedWidthsAndPixelOffsetLoadUpright) {
    for (int width : {1, 2, 3, 5, 7, 13}) {
        bmp_files::Spec spec;
        spec.width = width;
        spec.height = 4;
        ASSERT_TRUE(LoadBitmap(Make("w.bmp", spec).c_str(), 7)) << width;
        ExpectPattern(ImageSlots[7], width, 4);
    }
    bmp_files::Spec withPalette;  // pixel data behind 70 bytes of other header matter
    withPalette.pixelOffset = 124;
    withPalette.width = 3;
    ASSERT_TRUE(LoadBitmap(Make("o.bmp", withPalette).c_str(), 8));
    ExpectPattern(ImageSlots[8], 3, 16);
    // Lax encoders leave out the last row's padding: the picture is still whole. A byte less
    // is not.
    bmp_files::Spec lax;
    lax.width = 7;
    lax.height = 4;
    lax.truncateTo = 54 + 24 * 3 + 21;
    ASSERT_TRUE(LoadBitmap(Make("lax.bmp", lax).c_str(), 9));
    ExpectPattern(ImageSlots[9], 7, 4);
    lax.truncateTo -= 1;
    EXPECT_FALSE(LoadBitmap(Make("lax.bmp", lax).c_str(), 9));
}

TEST_F(BitmapLoader, RefusedHeadersLeaveTheSlotUntouched) {
    ASSERT_TRUE(LoadBitmap(Make("keep.bmp", {}).c_str(), 9));
    const std::uint8_t* before = ImageSlots[9].pixels;

    bmp_files::Spec thirtyTwo, notBm, compressed, zeroWide, topDown, tooHigh;
    thirtyTwo.bitsPerPixel = 32;
    notBm.signature = false;
    compressed.compression = 1;
    zeroWide.width = 0;
    topDown.height = -16;
    tooHigh.height = 1 << 20;
    bmp_files::Spec shortHeader;
    shortHeader.truncateTo = 53;
    const std::pair<const char*, bmp_files::Spec> refused[] = {
        {"32 bits", thirtyTwo},   {"not BM", notBm},     {"compressed", compressed},
        {"zero width", zeroWide}, {"top-down", topDown}, {"oversized", tooHigh},
        {"53 bytes", shortHeader}};
    for (const auto& [what, spec] : refused) {
        EXPECT_FALSE(LoadBitmap(Make("bad.bmp", spec).c_str(), 9)) << what;
        EXPECT_EQ(ImageSlots[9].pixels, before) << what;
        EXPECT_EQ(ImageSlots[9].width, 16) << what;
        EXPECT_FALSE(LoadBitmap(Make("bad.bmp", spec).c_str(), 10)) << what;
        EXPECT_EQ(ImageSlots[10].pixels, nullptr) << what;
        EXPECT_EQ(ImageSlots[10].width, 0) << what;
    }
    ExpectPattern(ImageSlots[9], 16, 16);
}

TEST_F(BitmapLoader, ReplacingASlotReleasesTheOldBlock) {
    // Under the leak checker the first block would be reported if it were dropped.
    ASSERT_TRUE(LoadBitmap(Make("a.bmp", {}).c_str(), 11));
    bmp_files::Spec small;
    small.width = 4;
    small.height = 2;
    ASSERT_TRUE(LoadBitmap(Make("b.bmp", small).c_str(), 11));
    ExpectPattern(ImageSlots[11], 4, 2);
}

TEST_F(BitmapLoader, ShortReadLeavesTheSizeWithoutPixels) {
    ASSERT_TRUE(LoadBitmap(Make("a.bmp", {}).c_str(), 12));
    bmp_files::Spec cut;
    cut.width = 8;
    cut.height = 8;
    cut.truncateTo = 54 + 8 * 24 - 1;
    EXPECT_FALSE(LoadBitmap(Make("cut.bmp", cut).c_str(), 12));
    EXPECT_EQ(ImageSlots[12].pixels, nullptr);
    EXPECT_EQ(ImageSlots[12].width, 8);
    EXPECT_EQ(ImageSlots[12].height, 8);
}

// The most address space the process has held so far, in kB (the kernel's VmPeak); 0 where
// it is not reported.
long long PeakAddressSpaceKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmPeak:", 0) == 0) return std::stoll(line.substr(7));
    return 0;
}

// Found by the fuzzer: 79 bytes whose header claims a 503 MB picture. The reader must find
// the file too short before it asks for the pixels' memory, not after.
TEST_F(BitmapLoader, HeaderClaimingMoreThanTheFileHoldsIsRefusedWithoutItsMemory) {
    ASSERT_TRUE(LoadBitmap(Make("a.bmp", {}).c_str(), 14));
    fs::path hostile =
        fs::path(QUENTARO_SOURCE_DIR) / "tests/gamedata/fuzz_inputs/load_bitmap_huge_header.bmp";
    ASSERT_TRUE(fs::exists(hostile));
    // The largest picture the reader takes, 32768 x 10922, claimed by a 60-byte file.
    bmp_files::Spec row;
    row.width = 32768;
    row.height = 1;
    row.truncateTo = 60;
    std::string header = bmp_files::Bytes(row);
    header[22] = char(10922 & 0xFF), header[23] = char(10922 >> 8);
    std::string claimed = (folder / "largest.bmp").string();
    std::ofstream(claimed, std::ios::binary) << header;

    long long before = PeakAddressSpaceKb();
    EXPECT_FALSE(LoadBitmap(hostile.string().c_str(), 14));
    EXPECT_EQ(ImageSlots[14].pixels, nullptr);
    EXPECT_FALSE(LoadBitmap(claimed.c_str(), 14));
    EXPECT_EQ(ImageSlots[14].pixels, nullptr);
    EXPECT_EQ(ImageSlots[14].width, 32768);
    EXPECT_EQ(ImageSlots[14].height, 10922);
    EXPECT_LT(PeakAddressSpaceKb() - before, 256 * 1024) << "the header's size was allocated";
}

TEST_F(BitmapLoader, MissingFileIsNotCreatedAndBadSlotsAreRefused) {
    fs::path missing = folder / "missing.bmp";
    EXPECT_FALSE(LoadBitmap(missing.string().c_str(), 13));
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_EQ(ImageSlots[13].pixels, nullptr);
    std::string good = Make("a.bmp", {});
    EXPECT_FALSE(LoadBitmap(good.c_str(), -1));
    EXPECT_FALSE(LoadBitmap(good.c_str(), SLOT_COUNT));
    EXPECT_TRUE(LoadBitmap(good.c_str(), SLOT_COUNT - 1));
}

TEST_F(BitmapLoader, ASlotCountChangedAfterCreationNeverReachesPastTheTable) {
    // A tool raising the setting before a second start-up: the old table still has its own
    // size until it is released (the address checker sees any step past it).
    std::string good = Make("a.bmp", {});
    const std::int32_t made = SLOT_COUNT;
    SLOT_COUNT = made + 50;
    EXPECT_FALSE(LoadBitmap(good.c_str(), made));
    EXPECT_TRUE(LoadBitmap(good.c_str(), made - 1));
    ReleaseImageSlots();
    SLOT_COUNT = made - 50;
    CreateImageSlots();
    SLOT_COUNT = made;
    EXPECT_FALSE(LoadBitmap(good.c_str(), made - 50));
    EXPECT_TRUE(LoadBitmap(good.c_str(), made - 51));
}

TEST(PicturePaths, UseThisSystemsSeparator) {
    const char s = platform::PathSeparator();
    EXPECT_EQ(PicturePath("bmp_land", "plain"),
              std::string(".") + s + "bmp_land" + s + "plain.bmp");
}

}  // namespace
