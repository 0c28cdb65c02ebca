// The glyph tables: sample glyphs against hexadecimal rows decoded here, the entries that are
// not glyphs, and the layout rules every drawable glyph must keep.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <sstream>
#include <string>

#include "draw/fonts.h"

namespace {

// Compares picture rows 1.. of a glyph with hexadecimal rows, all 8 columns of each.
void ExpectRows(const char* glyph, std::size_t length, int stride, const char* hex) {
    SCOPED_TRACE(hex);
    ASSERT_EQ(std::strlen(glyph), length);
    std::istringstream in(hex);
    unsigned row;
    for (int i = 1; in >> std::hex >> row; ++i)
        for (int j = 0; j < 8; ++j)
            EXPECT_EQ(glyph[stride * i + j], (row >> (7 - j) & 1) ? '1' : '0') << i << "," << j;
}

TEST(Fonts, GlyphsMatchTheirRows) {
    ExpectRows(MainFont['@'], 88, 8, "00 00 38 44 9A AA 94 40 38 00");
    ExpectRows(MainFont['g'], 88, 8, "00 00 00 00 40 A0 60 20 40 00");
    ExpectRows(MainFont['!'], 88, 8, "00 40 40 40 40 00 40 00 00 00");
    ExpectRows(NarrowFont['w'], 88, 8, "00 00 00 20 40 20 C0 00 00 00");
    ExpectRows(NarrowFont[142], 88, 8, "00 00 C0 40 20 40 C0 00 00 00");
    ExpectRows(NarrowFont['M'], 88, 8, "00 00 50 F8 A8 A8 A8 00 00 00");
    EXPECT_EQ(MainFont['@'][0], '7');
    EXPECT_EQ(MainFont['M'][0], '5');
    EXPECT_EQ(NarrowFont['w'][0], '3');
    ExpectRows(LargeFont['0'], 130, 10, "00 7C C6 CE DE D6 F6 E6 C6 7C 00 00");
    ExpectRows(LargeFont['M'], 130, 10, "00 C6 EE FE FE D6 C6 C6 C6 C6 00 00");
    ExpectRows(LargeFont['g'], 130, 10, "00 00 00 00 76 CC CC CC 7C 0C CC 78");
    ExpectRows(LargeFont['y'], 130, 10, "00 00 00 00 66 66 66 66 3C 0C 18 F0");
}

TEST(Fonts, EntriesThatAreNotGlyphsAreNeverOffered) {
    EXPECT_EQ(std::strlen(MainFont['`']), 3u);
    EXPECT_EQ(NarrowFont['`'], MainFont['`']);
    EXPECT_EQ(MainGlyph('`'), nullptr);
    EXPECT_EQ(NarrowGlyph('`'), nullptr);
    for (int code : {0, 31, 32, 123, 127}) EXPECT_EQ(MainGlyph(code), MainFont[0]);
    EXPECT_EQ(std::string(MainFont[0]), "2" + std::string(79, '0'));

    for (int code : {0, 31, 126, 141}) {
        EXPECT_EQ(NarrowFont[code], std::to_string(code));
        EXPECT_EQ(NarrowGlyph(code), nullptr) << code;
    }
    for (int code : {0, 31, 127, 141}) {
        EXPECT_EQ(LargeFont[code], std::to_string(code));
        EXPECT_EQ(LargeGlyph(code), nullptr) << code;
    }
    EXPECT_EQ(std::strlen(LargeFont[142]), 88u);
    EXPECT_EQ(LargeGlyph(142), nullptr);
    EXPECT_STREQ(NarrowFont[143], "");
    EXPECT_STREQ(LargeFont[255], "");
    EXPECT_EQ(MainGlyph(128), nullptr);
    EXPECT_EQ(MainGlyph(-1), nullptr);
    EXPECT_EQ(LargeGlyph(256), nullptr);

    int replaced = 0;
    for (int code = 32; code <= 125; ++code) replaced += NarrowFont[code] != MainFont[code];
    EXPECT_EQ(replaced, 31);
}

TEST(Fonts, EveryDrawableGlyphKeepsItsLayout) {
    // Nothing lies beyond a small glyph's width, so a mistyped width digit shows up here.
    for (int code = -1; code < 256; ++code) {
        for (const char* glyph : {MainGlyph(code), NarrowGlyph(code)}) {
            if (code < 0) glyph = SmallBoxGlyph;
            if (!glyph) continue;
            int width = glyph[0] - '0';
            ASSERT_TRUE(width >= 1 && width <= 7) << code;
            for (int i = 1; i <= 9; ++i)
                EXPECT_EQ(std::string(glyph + 8 * i + width, 8 - width),
                          std::string(8 - width, '0'))
                    << code;
        }
    }
    std::set<std::string> pictures{LargeBoxGlyph};
    for (int code = 32; code <= 126; ++code) {
        ASSERT_NE(LargeGlyph(code), nullptr) << code;
        std::string text(LargeGlyph(code));
        ASSERT_EQ(text.size(), 130u);
        EXPECT_EQ(text.substr(0, 10), "0000000000");
        for (int i = 1; i <= 12; ++i) EXPECT_EQ(text.substr(10 * i + 8, 2), "00") << code;
        EXPECT_EQ(text.find('1') == std::string::npos, code == ' ');
        pictures.insert(text);
    }
    EXPECT_EQ(pictures.size(), 96u);  // all different, and none mistakable for the box
}

}  // namespace
