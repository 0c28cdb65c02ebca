// The 44 room templates of the dungeon generator, written here as readable shapes and laid
// out at compile time in the fixed-stride form the mask builder reads. The generator picks
// from entries 0 to 28; the rest are kept for other callers of the stamp operations.
#include "dungeon/room_templates.h"

#include <array>
#include <cstddef>

namespace {

// Rows from top to bottom, separated by '/'; 'd' floor, 'p' feature, '.' nothing.
constexpr const char* SHAPES[ROOM_TEMPLATE_COUNT] = {
    "ddd/ddd/ddd",                                                     // 0
    "ddd",                                                             // 1
    "dddd",                                                            // 2
    "ddddd",                                                           // 3
    ".d./ddd/.d.",                                                     // 4
    "..d../.ddd./ddddd/.ddd./..d..",                                   // 5
    "dddd/dddd",                                                       // 6
    "ddd/ddd",                                                         // 7
    "ddddd/ddddd",                                                     // 8
    "ddddd/d.d.d/ddddd",                                               // 9
    "ddddd/ddddd/ddddd",                                               // 10
    "...dd.../.dddddd./.dddddd./dddddddd/.dddddd./.dddddd./...dd...",  // 11
    "dddd/dddd/dddd/dddd",                                             // 12
    "ddddd/ddddd/ddddd/ddddd/ddddd",                                   // 13
    "....d..../..ddddd../.ddddddd./.ddddddd./ddddddddd/.ddddddd./.ddddddd./..ddddd../"
    "....d....",                                                                // 14
    "dddddddd/dddddddd/dd....../dd....../dd....../dd......",                    // 15
    ".ddd./ddddd/ddddd/.ddd./.ddd.",                                            // 16
    ".dddddd./.dddddd./dddddddd/.dddddd.",                                      // 17
    "..dddd../.dddddd./ddd..ddd/dd....dd/ddd..ddd/.dddddd./..dddd../........",  // 18
    "..ddddd../..ddddd../ddddddddd/ddddpdddd/dddpppddd/ddddpdddd/ddddddddd/..ddddd../"
    "..ddddd..",                                                                        // 19
    ".pdddp./pdddddp/dddpddd/ddpppdd/dddpddd/pdddddp/.pdddp.",                          // 20
    "pdp/ddd/pdp",                                                                      // 21
    "pddp/dddd/dddd/pddp",                                                              // 22
    "pdddp/ddddd/ddddd/ddddd/pdddp",                                                    // 23
    "pdddp/ddddd/ddpdd/ddddd/pdddp",                                                    // 24
    "..dpd../pdddddp/ddddddd/..ddd../..ddd..",                                          // 25
    "dpd/ddd/pdp/ddd/dpd",                                                              // 26
    "pdddddp/ddddddd/ddddddd/ddd..../ddd..../ddd..../pdd....",                          // 27
    "....ddp/....ddd/....ddd/....ddd/ddddddd/ddddddd/pdddddp",                          // 28
    "....ddp/....ddd/....ddd/....ddd/ddddddd/ddddddd/pdddddp",                          // 29
    "d/d/d/d/d/d",                                                                      // 30
    "dddddd",                                                                           // 31
    "dddd/dddd",                                                                        // 32
    "dd/dd/dd/dd",                                                                      // 33
    "..ddddd../.ddddddd./ddd...ddd/ddd...ddd/ddddddddd/ddddddddd/.ddd.ddd./..d...d..",  // 34
    "dddd....../dddd....../dddddddddd/dddddddddd/...ddddddd/...ddpdddd/...ddddddd/"
    "......dddd",  // 35
    "....dd..../..dddddd../.dddddddd./dddd..dddd/ddd....ddd/dddd..dddd/.dddddddd./"
    "..dddddd../....dd....",  // 36
    "ddddddddddd/ddddddddddd/dd.......dd/dd.......dd/dd..ddd..dd/dd..ddd..dd/dd..ddd..dd/"
    "ddddddddddd",  // 37
    "....ddd..../....ddd..../....ddd..../ddddddddddd/dddddpddddd/ddddddddddd/....ddd..../"
    "....ddd..../....ddd....",  // 38
    "dddddd....../dddddd....../dddddd....../dddddddddddd/dddddddddddd/......dddddd/"
    "......dddddd/......dddddd/......dddddd",  // 39
    "pddddddddddp/dddddddddddd/dd.dd..dd.dd/dddddddddddd/dddd....dddd/dddd....dddd/"
    "dddddddddddd/dd.dd..dd.dd/dddddddddddd/pddddddddddp",  // 40
    "...ddddddd.../..ddddddddd../.ddd.....ddd./ddd.......ddd/ddd.......ddd/ddd.......ddd/"
    ".ddd.....ddd./..ddddddddd../...ddddddd...",  // 41
    "dddd....dddd../dddd....dddd../dddddddddddd../dddddddddddd../....dddd....../"
    "....dddd....../..dddddddddddd/..dddddddddddd/..dddd....dddd/..dddd....dddd",  // 42
    ".....ddddd...../...ddddddddd.../..ddddpppdddd../.ddddddddddddd./ddddddd.ddddddd/"
    "ddddddd.ddddddd/.ddddddddddddd./..ddddpppdddd../...ddddddddd.../.....ddddd.....",  // 43
};

constexpr int RowLength(const char* shape) {
    int n = 0;
    while (shape[n] != '\0' && shape[n] != '/') ++n;
    return n;
}

constexpr int RowCount(const char* shape) {
    int rows = 1;
    for (const char* p = shape; *p != '\0'; ++p) rows += *p == '/';
    return rows;
}

// Every row as long as the first, only the three shape characters, and a size the header's
// letters and the 32 shape rows can hold.
constexpr bool WellFormed(const char* shape) {
    int width = RowLength(shape);
    for (const char* row = shape;; ++row) {
        if (RowLength(row) != width) return false;
        for (int i = 0; i < width; ++i)
            if (row[i] != 'd' && row[i] != 'p' && row[i] != '.') return false;
        row += width;
        if (*row == '\0') break;
    }
    return width >= 1 && width <= 26 && RowCount(shape) <= TEMPLATE_ROWS - 1;
}

struct TemplateText {
    char text[TEMPLATE_CHARS + 1];
};

constexpr TemplateText Layout(const char* shape) {
    TemplateText t{};
    for (int i = 0; i < TEMPLATE_CHARS; ++i) t.text[i] = '0';
    t.text[0] = 'j';
    t.text[1] = 'k';
    t.text[2] = char('a' - 1 + RowLength(shape));
    t.text[3] = char('a' - 1 + RowCount(shape));
    int row = 1, column = 0;
    for (const char* p = shape; *p != '\0'; ++p) {
        if (*p == '/') {
            ++row;
            column = 0;
            continue;
        }
        if (*p != '.') t.text[row * TEMPLATE_ROW_CHARS + column] = *p;
        ++column;
    }
    return t;
}

constexpr std::array<TemplateText, ROOM_TEMPLATE_COUNT> LayOutAll() {
    std::array<TemplateText, ROOM_TEMPLATE_COUNT> all{};
    for (int i = 0; i < ROOM_TEMPLATE_COUNT; ++i) all[std::size_t(i)] = Layout(SHAPES[i]);
    return all;
}

constexpr bool AllWellFormed() {
    for (const char* shape : SHAPES)
        if (!WellFormed(shape)) return false;
    return true;
}
static_assert(AllWellFormed(), "a room shape has a ragged row, a stray character or no room");

constexpr std::array<TemplateText, ROOM_TEMPLATE_COUNT> TEXTS = LayOutAll();

int LetterValue(char letter) {
    return letter == '0' ? 0 : letter - 96;
}

bool Known(int roomTemplate) {
    return roomTemplate >= 0 && roomTemplate < ROOM_TEMPLATE_COUNT;
}

}  // namespace

const char* const RoomTemplate[ROOM_TEMPLATE_COUNT] = {
    TEXTS[0].text,  TEXTS[1].text,  TEXTS[2].text,  TEXTS[3].text,  TEXTS[4].text,  TEXTS[5].text,
    TEXTS[6].text,  TEXTS[7].text,  TEXTS[8].text,  TEXTS[9].text,  TEXTS[10].text, TEXTS[11].text,
    TEXTS[12].text, TEXTS[13].text, TEXTS[14].text, TEXTS[15].text, TEXTS[16].text, TEXTS[17].text,
    TEXTS[18].text, TEXTS[19].text, TEXTS[20].text, TEXTS[21].text, TEXTS[22].text, TEXTS[23].text,
    TEXTS[24].text, TEXTS[25].text, TEXTS[26].text, TEXTS[27].text, TEXTS[28].text, TEXTS[29].text,
    TEXTS[30].text, TEXTS[31].text, TEXTS[32].text, TEXTS[33].text, TEXTS[34].text, TEXTS[35].text,
    TEXTS[36].text, TEXTS[37].text, TEXTS[38].text, TEXTS[39].text, TEXTS[40].text, TEXTS[41].text,
    TEXTS[42].text, TEXTS[43].text};

int TemplateWidth(int roomTemplate) {
    if (!Known(roomTemplate)) return 0;
    const char* header = RoomTemplate[roomTemplate];
    return LetterValue(header[2]) + LetterValue(header[4]) + LetterValue(header[5]);
}

int TemplateHeight(int roomTemplate) {
    if (!Known(roomTemplate)) return 0;
    return LetterValue(RoomTemplate[roomTemplate][3]);
}
