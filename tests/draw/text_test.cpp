// Text geometry in the frame: where each font puts its rows and columns, how far the pen moves,
// the pick strip under labels, the shadow, and what stands in for characters without a glyph.
#include <cstring>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/frame_fixture.h"

namespace {

using Points = std::set<std::pair<int, int>>;
using Place = std::function<std::pair<int, int>(int i, int j)>;

// The set pixels of a glyph given as hexadecimal rows 1..n, placed by the caller's rule.
Points Picture(const char* hex, const Place& place) {
    std::istringstream in(hex);
    Points points;
    unsigned row;
    for (int i = 1; in >> std::hex >> row; ++i)
        for (int j = 0; j < 8; ++j)
            if (row >> (7 - j) & 1) points.insert(place(i, j));
    return points;
}

Points Join(Points a, const Points& b) {
    a.insert(b.begin(), b.end());
    return a;
}

const char* const A_ROWS = "00 00 40 A0 E0 A0 A0 00 00";
const char* const BOX_ROWS = "00 00 F0 90 90 90 F0 00 00";

class Text : public FrameTest {
  protected:
    static void Set(const std::string& text) {
        std::memset(TextBuffer, 0, TEXT_BUFFER_SIZE);
        std::memcpy(TextBuffer, text.data(), text.size());
    }
    static Points LitPoints() {
        Points points;
        for (int y = 0; y < AppState.frameHeight; ++y)
            for (int x = 0; x < AppState.frameWidth; ++x)
                if (Lit(x, y)) points.insert({x, y});
        return points;
    }
    static Points IdPoints(int id) {
        Points points;
        for (int y = 0; y < AppState.frameHeight; ++y)
            for (int x = 0; x < AppState.frameWidth; ++x)
                if (PickBuffer[y * AppState.frameWidth + x] == id) points.insert({x, y});
        return points;
    }
    // What a draw call leaves in the frame, from a clean frame.
    Points Drawn(const std::string& text, const std::function<void()>& draw) {
        UseFrame(AppState.frameWidth, AppState.frameHeight);
        Set(text);
        draw();
        return LitPoints();
    }
};

Place MainAt(int pen, int y) {
    return [=](int i, int j) { return std::pair{pen + j, y - i + 2}; };
}

TEST_F(Text, MainTextRowsRunDownFromAboveThePen) {
    Set("Ai");
    DrawText(10, 20, 257, 2, 3);
    Points expected = Join(Picture(A_ROWS, MainAt(10, 20)),
                           Picture("00 00 80 00 80 80 80 00 00", MainAt(14, 20)));
    EXPECT_EQ(LitPoints(), expected);
    EXPECT_EQ(Rgb(11, 19), (std::array<int, 3>{1, 2, 3}));
    EXPECT_EQ(TextPen.x, 16);
    EXPECT_EQ(TextPen.width, 1);

    Set("");
    DrawText(10, 20, 255, 255, 255);
    EXPECT_EQ(TextPen.x, 10);
    Set(" ");
    DrawText(10, 20, 255, 255, 255);
    EXPECT_EQ(TextPen.x, 13);
    DrawNarrowText(10, 20, 255, 255, 255);
    EXPECT_EQ(TextPen.x, 14);
}

TEST_F(Text, PickStripCoversEachCellTwoRowsBelowThePicture) {
    UseFrame(64, 128);
    Set("A");
    DrawPickText(10, 100, 255, 255, 255, 7);
    Points strip;
    for (int x = 10; x <= 13; ++x)
        for (int y = 91; y <= 99; ++y) strip.insert({x, y});
    EXPECT_EQ(IdPoints(7), strip);
    EXPECT_EQ(LitPoints(), Picture(A_ROWS, MainAt(10, 100)));

    // The overlay row: a label just under the top edge keeps its strip inside the frame.
    UseFrame(64, 48);
    Set("!!");
    DrawPickText(0, 48 - 11, 255, 255, 255, 1200001);
    Points top = IdPoints(1200001);
    EXPECT_EQ(top.size(), 6u * 9);
    for (const auto& [x, y] : top) EXPECT_TRUE(y >= 48 - 20 && y <= 48 - 12) << y;
    int highest = 0;
    for (const auto& point : LitPoints()) highest = std::max(highest, point.second);
    EXPECT_EQ(highest, 48 - 11);  // row 2, the tallest row in use; row 1 would be at height - 10

    UseFrame(64, 48);
    Set("");
    DrawPickText(0, 20, 255, 255, 255, 5);
    EXPECT_TRUE(IdPoints(5).empty());
}

TEST_F(Text, ShadowShowsOnlyWhereTheBlackCopySticksOut) {
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) PutPixel(x, y, 255, 255, 255);
    Set("A");
    DrawShadowText(5, 20, 255, 255, 255);
    Points black;
    for (const auto& point : Picture(A_ROWS, MainAt(5, 21)))
        if (!Picture(A_ROWS, MainAt(5, 20)).count(point)) black.insert(point);
    ASSERT_FALSE(black.empty());
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            EXPECT_EQ(Rgb(x, y)[0], black.count({x, y}) ? 0 : 255) << x << "," << y;
}

TEST_F(Text, NarrowTextShiftsRightAndRunsUpward) {
    Set("1a");
    DrawNarrowText(5, 20, 255, 255, 255);
    auto at = [](int pen, int y) {
        return [=](int i, int j) { return std::pair{pen + j + 1, y + i - 2}; };
    };
    EXPECT_EQ(LitPoints(), Join(Picture("00 00 40 C0 40 40 E0 00 00", at(5, 20)),
                                Picture("00 00 00 00 60 A0 E0 00 00", at(9, 20))));
    EXPECT_EQ(TextPen.x, 13);
}

TEST_F(Text, LargeTextAdvancesEightWhateverTheGlyph) {
    const char* zero = "00 7C C6 CE DE D6 F6 E6 C6 7C 00 00";
    const char* a = "00 30 78 CC CC CC FC CC CC CC 00 00";
    auto down = [](int pen, int y) {
        return [=](int i, int j) { return std::pair{pen + j, y - i}; };
    };
    auto up = [](int pen, int y) {
        return [=](int i, int j) { return std::pair{pen + j, y + i}; };
    };
    Set("0A");
    DrawLargeText(3, 30, 255, 255, 255);
    EXPECT_EQ(LitPoints(), Join(Picture(zero, down(3, 30)), Picture(a, down(11, 30))));
    EXPECT_EQ(TextPen.x, 19);

    UseFrame(64, 48);
    DrawLargeString("0A", 3, 10, 255, 255, 255);
    EXPECT_EQ(LitPoints(), Join(Picture(zero, up(3, 10)), Picture(a, up(11, 10))));

    Set("i|W ");
    DrawLargeText(0, 30, 255, 255, 255);
    EXPECT_EQ(TextPen.x, 32);
}

TEST_F(Text, NamesOutsideAsciiDrawOneStandInPerCharacter) {
    // Accented letters draw as their base letter in every font.
    std::function<void()> small = [] { DrawText(2, 20, 255, 255, 255); };
    std::function<void()> narrow = [] { DrawNarrowText(2, 20, 255, 255, 255); };
    std::function<void()> large = [] { DrawLargeText(2, 30, 255, 255, 255); };
    for (const auto& draw : {small, narrow, large}) {
        EXPECT_EQ(Drawn("caf\xC3\xA9", draw), Drawn("cafe", draw));
        EXPECT_EQ(Drawn("\xC5\xBD\xC4\xB1", draw), Drawn("Zi", draw));  // Z caron, dotless i
    }
    EXPECT_EQ(Drawn("", [] { DrawLargeString("\xC3\xA9", 2, 10, 255, 255, 255); }),
              Drawn("", [] { DrawLargeString("e", 2, 10, 255, 255, 255); }));

    // Anything else is one box per character, malformed bytes one box per broken piece.
    EXPECT_EQ(Drawn("\xE6\x97\xA5", small), Picture(BOX_ROWS, MainAt(2, 20)));
    EXPECT_EQ(TextPen.x, 7);
    const std::pair<const char*, int> boxes[] = {
        {"\xC2\xA0", 1}, {"\xC3\x97", 1},         {"\xF0\x9F\x98\x80", 1}, {"\xFF", 1},
        {"\xC3", 1},     {"\xE6\x97", 1},         {"\xC0\xAF", 2},         {"\xED\xA0\x80", 3},
        {"\x8E", 1},     {"\xE6\x97\xA5\xA5", 2}, {"\xF4\x90\x80\x80", 4},
    };
    for (const auto& [text, count] : boxes) {
        for (const auto& draw : {small, narrow}) {
            EXPECT_EQ(Drawn(text, draw).size(), 14u * count) << text;
            EXPECT_EQ(TextPen.x, 2 + 5 * count) << text;
        }
        EXPECT_EQ(Drawn(text, large).size(), 20u * count) << text;
        EXPECT_EQ(TextPen.x, 2 + 8 * count) << text;
    }
    // The grave accent has a glyph only in the large font.
    EXPECT_EQ(Drawn("`", small), Picture(BOX_ROWS, MainAt(2, 20)));
    EXPECT_EQ(Drawn("`", large).size(), 6u);
    Drawn("\xE6\x97"
          "A",
          small);
    EXPECT_EQ(TextPen.x, 2 + 5 + 4);

    // A label with such names stays one unbroken clickable strip.
    Set("\xC3\xA9\xE6\x97\xA5x");
    DrawPickText(2, 20, 255, 255, 255, 12003);
    EXPECT_EQ(TextPen.x, 2 + 4 + 5 + 4);
    EXPECT_EQ(IdPoints(12003).size(), 13u * 9);
}

TEST_F(Text, EveryByteAdvancesByItsGlyphWidthAndStaysInsideTheTables) {
    for (int byte = 1; byte < 256; ++byte) {
        SCOPED_TRACE(byte);
        Set(std::string(1, char(byte)));
        // Bytes from 128 up never reach a table alone: they are not UTF-8 by themselves.
        const char* glyph = byte < 128 ? MainGlyph(byte) : nullptr;
        DrawPickText(0, 20, 255, 255, 255, 1);
        EXPECT_EQ(TextPen.x, (glyph ? glyph[0] - '0' : 4) + 1);
        glyph = byte < 128 ? NarrowGlyph(byte) : nullptr;
        DrawNarrowText(0, 20, 255, 255, 255);
        EXPECT_EQ(TextPen.x, (glyph ? glyph[0] - '0' : 4) + 1);
        DrawLargeText(0, 30, 255, 255, 255);
        EXPECT_EQ(TextPen.x, 8);
    }
    Set("@Mi{");  // widths 7, 5, 1, 2; narrow 3, 5, 3, 3
    DrawText(0, 20, 255, 255, 255);
    EXPECT_EQ(TextPen.x, 19);
    DrawNarrowText(0, 20, 255, 255, 255);
    EXPECT_EQ(TextPen.x, 18);

    std::memset(TextBuffer, 'A', TEXT_BUFFER_SIZE);
    TextBuffer[TEXT_BUFFER_SIZE - 1] = char(0xC3);  // a lead byte with nothing after it
    DrawText(0, 20, 255, 255, 255);
    EXPECT_EQ(TextPen.x, 255 * 4 + 5);
    EXPECT_EQ(TextPen.index, TEXT_BUFFER_SIZE);
    DrawLargeText(0, 30, 255, 255, 255);
    EXPECT_EQ(TextPen.x, 256 * 8);
}

}  // namespace
