// The glyph tables: sample glyphs against hexadecimal rows decoded here, the entries that are
// not glyphs, and the layout rules every drawable glyph must keep.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "draw/fonts.h"

namespace {

std::vector<unsigned> Hex(const char* rows) {
    std::istringstream in(rows);
    std::vector<unsigned> values;
    unsigned value;
    while (in >> std::hex >> value)
        values.push_back(value);
    return values;
}

struct SmallSample {
    const char* font;
    int code;
    int width;
    const char* rows;
};

// Checks the picture rows bit by bit, every one of the 8 columns, and the clear row 10.
void ExpectSmallGlyph(const char* glyph, const SmallSample& sample) {
    SCOPED_TRACE(std::string(sample.font) + " " + std::to_string(sample.code));
    ASSERT_NE(glyph, nullptr);
    ASSERT_EQ(std::strlen(glyph), 88u);
    EXPECT_EQ(glyph[0], '0' + sample.width);
    std::vector<unsigned> rows = Hex(sample.rows);
    ASSERT_EQ(rows.size(), 9u);
    for (int i = 1; i <= 9; ++i)
        for (int j = 0; j < 8; ++j)
            EXPECT_EQ(glyph[8 * i + j], (rows[i - 1] >> (7 - j) & 1) ? '1' : '0') << i << "," << j;
    EXPECT_EQ(std::string(glyph + 80), "00000000");
}

TEST(Fonts, SmallGlyphsMatchTheirRows) {
    const SmallSample samples[] = {
        {"main", '!', 2, "00 40 40 40 40 00 40 00 00"},
        {"main", '@', 7, "00 00 38 44 9A AA 94 40 38"},
        {"main", 'M', 5, "00 00 50 F8 A8 A8 A8 00 00"},
        {"main", 'g', 3, "00 00 00 00 40 A0 60 20 40"},
        {"main", 'z', 3, "00 00 00 00 C0 40 60 00 00"},
        {"narrow", '@', 3, "00 00 00 80 60 A0 E0 00 00"},
        {"narrow", 'w', 3, "00 00 00 20 40 20 C0 00 00"},
        {"narrow", '}', 3, "00 00 C0 40 20 40 C0 00 00"},
        {"narrow", 142, 3, "00 00 C0 40 20 40 C0 00 00"},
        {"narrow", 'A', 3, "00 00 40 A0 E0 A0 A0 00 00"},
        {"narrow", 'M', 5, "00 00 50 F8 A8 A8 A8 00 00"},
    };
    for (const SmallSample& s : samples)
        ExpectSmallGlyph(s.font[0] == 'm' ? MainFont[s.code] : NarrowFont[s.code], s);
}

TEST(Fonts, LargeGlyphsMatchTheirRows) {
    const std::pair<int, const char*> samples[] = {
        {' ', "00 00 00 00 00 00 00 00 00 00 00 00"}, {'0', "00 7C C6 CE DE D6 F6 E6 C6 7C 00 00"},
        {'A', "00 30 78 CC CC CC FC CC CC CC 00 00"}, {'M', "00 C6 EE FE FE D6 C6 C6 C6 C6 00 00"},
        {'a', "00 00 00 00 78 0C 7C CC CC 76 00 00"}, {'g', "00 00 00 00 76 CC CC CC 7C 0C CC 78"},
        {'y', "00 00 00 00 66 66 66 66 3C 0C 18 F0"},
    };
    for (const auto& [code, hex] : samples) {
        SCOPED_TRACE(code);
        const char* glyph = LargeFont[code];
        ASSERT_EQ(std::strlen(glyph), 130u);
        std::vector<unsigned> rows = Hex(hex);
        for (int i = 1; i <= 12; ++i)
            for (int j = 0; j < 8; ++j)
                EXPECT_EQ(glyph[10 * i + j], (rows[i - 1] >> (7 - j) & 1) ? '1' : '0');
    }
}

TEST(Fonts, EntriesThatAreNotGlyphsAreNeverOffered) {
    EXPECT_EQ(std::strlen(MainFont['`']), 3u);
    EXPECT_EQ(NarrowFont['`'], MainFont['`']);
    for (int code : {0, 31, 32, 123, 127}) {
        EXPECT_EQ(MainFont[code], MainFont[0]);
        EXPECT_EQ(MainGlyph(code), MainFont[0]);
    }
    EXPECT_EQ(std::strlen(MainFont[0]), 80u);
    EXPECT_EQ(MainFont[0][0], '2');
    EXPECT_EQ(std::strchr(MainFont[0], '1'), nullptr);

    for (int code : {0, 7, 31, 126, 141}) {
        EXPECT_EQ(std::string(NarrowFont[code]), std::to_string(code));
        EXPECT_EQ(NarrowGlyph(code), nullptr) << code;
    }
    for (int code : {0, 31, 127, 141}) {
        EXPECT_EQ(std::string(LargeFont[code]), std::to_string(code));
        EXPECT_EQ(LargeGlyph(code), nullptr) << code;
    }
    EXPECT_EQ(std::strlen(LargeFont[142]), 88u);
    EXPECT_EQ(LargeGlyph(142), nullptr);
    for (int code : {143, 200, 255}) {
        EXPECT_STREQ(NarrowFont[code], "");
        EXPECT_STREQ(LargeFont[code], "");
    }
    EXPECT_EQ(MainGlyph('`'), nullptr);
    EXPECT_EQ(NarrowGlyph('`'), nullptr);
    EXPECT_EQ(MainGlyph(128), nullptr);
    EXPECT_EQ(MainGlyph(-1), nullptr);
    EXPECT_EQ(LargeGlyph(256), nullptr);

    int replaced = 0;
    for (int code = 32; code <= 125; ++code)
        replaced += NarrowFont[code] != MainFont[code];
    EXPECT_EQ(replaced, 31);
}

TEST(Fonts, EveryDrawableGlyphKeepsItsLayout) {
    auto check_small = [](const char* glyph, int code) {
        SCOPED_TRACE(code);
        int width = glyph[0] - '0';
        ASSERT_TRUE(width >= 1 && width <= 7);
        for (int i = 1; i <= 9; ++i)
            for (int j = width; j < 8; ++j)
                EXPECT_EQ(glyph[8 * i + j], '0') << i << "," << j;
    };
    for (int code = 0; code < 256; ++code) {
        if (const char* glyph = MainGlyph(code)) check_small(glyph, code);
        if (const char* glyph = NarrowGlyph(code)) check_small(glyph, code);
    }
    check_small(SmallBoxGlyph, -1);

    std::set<std::string> pictures;
    for (int code = 32; code <= 126; ++code) {
        SCOPED_TRACE(code);
        const char* glyph = LargeGlyph(code);
        ASSERT_NE(glyph, nullptr);
        std::string text(glyph);
        ASSERT_EQ(text.size(), 130u);
        EXPECT_EQ(text.substr(0, 10), "0000000000");
        for (int i = 1; i <= 12; ++i)
            EXPECT_EQ(text.substr(10 * i + 8, 2), "00");
        EXPECT_EQ(text.find('1') == std::string::npos, code == ' ');
        pictures.insert(text);
    }
    EXPECT_EQ(pictures.size(), 95u);
    EXPECT_EQ(pictures.count(LargeBoxGlyph), 0u);
}

} // namespace
