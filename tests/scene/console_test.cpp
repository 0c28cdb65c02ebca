// The console and its line editor on the platform double: keys held for one polling step,
// the pauses each acting key costs, the line's limits, what is drawn, the tokenizer, every
// command at and beyond the edges of the grid, and the teleport's clamping and wall refusal.
#include <string>
#include <vector>

#include "support/frame_fixture.h"

namespace {

constexpr int WALKER = 1;

class Console : public FrameTest {
  protected:
    void SetUp() override {
        UseFrame(320, 240);
        CreateGrids();
        CreateUnitTable();
        InitConsoleBuffers();
        ConsoleOpen = LineSubmitted = ScreenSaverEnabled = 0;
        ViewX = ViewY = ViewLevel = 0;
        PlaceWalker(100, 100, 5);
    }
    void TearDown() override {
        ReleaseConsoleBuffers();
        ReleaseWorldTables();
        FrameTest::TearDown();
    }

    static void PlaceWalker(int x, int y, int level) {
        UnitTable[WALKER].x = std::uint16_t(x);
        UnitTable[WALKER].y = std::uint16_t(y);
        UnitTable[WALKER].level = std::uint16_t(level);
    }
    static std::uint8_t& At(int x, int y, int level) { return MapGrid[CellIndex(x, y, level)]; }
    static long long CellsHolding(int code) {
        long long n = 0;
        for (long long i = 0; i < CellIndex(0, 0, LEVEL_COUNT); ++i) n += MapGrid[i] == code;
        return n;
    }

    // One polling step with `keys` held.
    void Poll(std::vector<int> keys, int maxLength = 30) {
        for (int k : keys) fake.held[k] = true;
        EditLine(14, 73, maxLength, "CMD:");
        for (int k : keys) fake.held[k] = false;
    }
    void Frame(std::vector<int> keys = {}) {
        for (int k : keys) fake.held[k] = true;
        RunConsole();
        for (int k : keys) fake.held[k] = false;
    }
    static void SetLine(const std::string& line) {
        std::snprintf(CommandLine, COMMAND_LINE_BYTES, "%s", line.c_str());
        CommandLength = int(line.size());
    }
    // Runs `line` as if Enter had just been pressed on it.
    void Submit(const std::string& line) {
        SetLine(line);
        LineSubmitted = 1;
        Frame();
    }
    void ExpectWalker(int x, int y, int level) {
        EXPECT_EQ(UnitTable[WALKER].x, x);
        EXPECT_EQ(UnitTable[WALKER].y, y);
        EXPECT_EQ(UnitTable[WALKER].level, level);
    }
};

TEST_F(Console, EditorAppendsLettersDigitsAndSpacesInKeyOrder) {
    Poll({'A'});
    EXPECT_STREQ(CommandLine, "a");
    Poll({vk::SHIFT, 'A'});
    Poll({vk::SHIFT, '1'});
    EXPECT_STREQ(CommandLine, "aA1");
    EXPECT_EQ(fake.pauses, std::vector<int>(3, 120));
    // Several keys in one step: space, then letters in key order, then digits.
    Poll({'2', 'C', vk::SPACE, 'B'});
    EXPECT_STREQ(CommandLine, "aA1 bc2");
    EXPECT_EQ(CommandLength, 7);
    EXPECT_EQ(fake.pauses.size(), 7u);
    // Keys that produce nothing: punctuation, keypad, arrows.
    Poll({vk::OEM_COMMA, vk::OEM_MINUS, vk::NUMPAD0 + 5, vk::LEFT});
    EXPECT_STREQ(CommandLine, "aA1 bc2");
    EXPECT_EQ(fake.pauses.size(), 7u);
}

// Typing faster than the editor polls: a key pressed and released between two steps counts
// once, also under a held Shift, and costs no pause; a held key repeats once a step.
TEST_F(Console, KeysTappedBetweenStepsArriveOnceEach) {
    for (int key : {'E', 'N', 'V', '4'}) {
        fake.pressed[key] = true;
        Poll({});
    }
    Poll({});
    EXPECT_STREQ(CommandLine, "env4");
    EXPECT_TRUE(fake.pauses.empty());  // keys already let go need no pause to repeat
    fake.held[vk::SHIFT] = true;
    fake.pressed['Q'] = true;
    Poll({});
    fake.held[vk::SHIFT] = false;
    Poll({'X'});
    Poll({'X'});
    EXPECT_STREQ(CommandLine, "env4Qxx");
    EXPECT_EQ(fake.pauses, std::vector<int>(2, 120));
}

// The host looks at keys without taking a press from the engine, and drops the presses that
// no one asked about while the console was closed.
TEST_F(Console, PeekLeavesThePressAndUnaskedPressesAreForgotten) {
    fake.pressed[vk::LBUTTON] = true;
    EXPECT_EQ(KeyDownPeek(vk::LBUTTON), 1);
    EXPECT_EQ(KeyDownPeek(vk::LBUTTON), 1);
    EXPECT_EQ(KeyDown(vk::LBUTTON), 1);
    EXPECT_EQ(KeyDown(vk::LBUTTON), 0);
    ForgetUnaskedPresses({'A', 'B'});
    fake.pressed['A'] = fake.pressed['B'] = true;
    EXPECT_EQ(KeyDownPeek('B'), 1);
    EXPECT_EQ(KeyDown('A'), 1);
    ForgetUnaskedPresses({'A', 'B'});
    Poll({});
    EXPECT_STREQ(CommandLine, "");
}

TEST_F(Console, BackspaceDeletesOneCharacterAndNothingOnAnEmptyLine) {
    Poll({vk::BACK});
    EXPECT_EQ(CommandLength, 0);
    EXPECT_TRUE(fake.pauses.empty());
    SetLine("ab");
    Poll({vk::BACK, 'C'});  // deletes first, then appends
    EXPECT_STREQ(CommandLine, "ac");
    Poll({vk::BACK});
    Poll({vk::BACK});
    Poll({vk::BACK});
    EXPECT_STREQ(CommandLine, "");
    EXPECT_EQ(fake.pauses, std::vector<int>(4, 120));
}

TEST_F(Console, LineStopsAtItsLimitAndNeverLeavesItsBuffer) {
    for (int i = 0; i < 31; ++i) Poll({'Z'});
    EXPECT_EQ(CommandLength, 30);
    EXPECT_EQ(std::string(CommandLine), std::string(30, 'z'));
    EXPECT_EQ(fake.pauses.size(), 30u);  // the refused key costs nothing

    // A lowered limit cuts the line; limits beyond the buffer are held at 255 characters.
    Poll({}, 3);
    EXPECT_STREQ(CommandLine, "zzz");
    for (int i = 0; i < 300; ++i) Poll({'Q'}, 100000);
    EXPECT_EQ(CommandLength, 255);
    EXPECT_EQ(CommandLine[255], '\0');
    EXPECT_EQ(std::string(TextBuffer).size(), 255u);  // "CMD:" and the line, cut to fit
    EXPECT_EQ(std::string(TextBuffer).substr(0, 7), "CMD:zzz");
    Poll({vk::BACK}, -5);
    EXPECT_EQ(CommandLength, 0);
    EXPECT_STREQ(CommandLine, "");

    // A length beyond the buffer, however it got there, is held inside it.
    CommandLength = 1000;
    Poll({vk::RETURN}, 1000);
    EXPECT_EQ(CommandLength, 255);
}

TEST_F(Console, EnterSubmitsWithoutDrawing) {
    SetLine("env4block");
    std::snprintf(TextBuffer, TEXT_BUFFER_SIZE, "before");
    Poll({vk::RETURN, 'A'});
    EXPECT_EQ(LineSubmitted, 1);
    EXPECT_EQ(fake.pauses, std::vector<int>{500});
    EXPECT_STREQ(CommandLine, "env4block");
    EXPECT_STREQ(TextBuffer, "before");
    EXPECT_EQ(LitCount(), 0);
}

TEST_F(Console, PromptLineAndBlinkingCursorAreDrawn) {
    SetLine("ab");
    AppState.passCount = 0;
    Poll({});
    EXPECT_STREQ(TextBuffer, "CMD:ab_");
    EXPECT_GT(LitCount(), 0);
    for (int x = 0; x < 320; ++x)
        for (int y = 0; y < 240; ++y)
            if (Lit(x, y)) {
                ASSERT_EQ(Rgb(x, y), (std::array<int, 3>{255, 255, 255}));
                ASSERT_GE(x, 14);
            }
    for (int pass : {9, 10, 19, 20, 1234567}) {
        AppState.passCount = pass;
        Poll({});
        EXPECT_STREQ(TextBuffer, pass % 20 < 10 ? "CMD:ab_" : "CMD:ab") << pass;
    }
}

TEST_F(Console, TabOpensAndClosesTheConsole) {
    Frame({'A'});  // closed: no editing, no drawing
    EXPECT_EQ(CommandLength, 0);
    EXPECT_EQ(LitCount(), 0);
    Frame({vk::TAB});
    EXPECT_EQ(ConsoleOpen, 1);
    EXPECT_EQ(fake.pauses, std::vector<int>{400});
    EXPECT_GT(LitCount(), 0);
    Frame({'A'});
    EXPECT_STREQ(CommandLine, "a");
    Frame({vk::TAB});
    EXPECT_EQ(ConsoleOpen, 0);
    Frame({'B'});
    EXPECT_STREQ(CommandLine, "a");  // kept while closed
}

TEST_F(Console, Typed31stCharacterIsRefusedAndTypedCommandsRun) {
    Frame({vk::TAB});
    for (char c : std::string("ENV4TELEPORT 5 6 7")) {
        if (c == ' ')
            Frame({vk::SPACE});
        else if (c >= 'A' && c <= 'Z')
            Frame({vk::SHIFT, c});
        else
            Frame({c});
    }
    EXPECT_STREQ(CommandLine, "ENV4TELEPORT 5 6 7");
    Frame({vk::RETURN});
    ExpectWalker(5, 6, 7);
    EXPECT_EQ(LineSubmitted, 0);
    for (int i = 0; i < 20; ++i) Frame({'X'});
    EXPECT_EQ(CommandLength, 30);
}

TEST_F(Console, TokenizerSplitsAtItsDelimitersIntoTwentySlots) {
    SetLine("  env4teleport,1-2\t3\n4-- ");
    ASSERT_EQ(TokenizeCommandLine(), 5);
    const char* const expected[] = {"env4teleport", "1", "2", "3", "4"};
    for (int i = 0; i < 5; ++i) EXPECT_STREQ(CommandTokens[i], expected[i]);
    SetLine("a");
    EXPECT_EQ(TokenizeCommandLine(), 1);
    EXPECT_STREQ(CommandTokens[1], "");  // slots of the last line are emptied
    SetLine(" -,");
    EXPECT_EQ(TokenizeCommandLine(), 0);
    EXPECT_STREQ(CommandTokens[0], "");

    std::string many;
    for (int i = 0; i < 25; ++i) many += std::to_string(i) + " ";
    SetLine(many);
    EXPECT_EQ(TokenizeCommandLine(), 20);
    EXPECT_STREQ(CommandTokens[19], "19");

    std::string longest(255, 'k');
    SetLine(longest);
    EXPECT_EQ(TokenizeCommandLine(), 1);
    EXPECT_EQ(std::string(CommandTokens[0]), longest);
}

TEST_F(Console, CellCommandsEditTheWalkersSurroundings) {
    Submit("corner1");
    EXPECT_EQ(At(100, 100, 5), 4);
    EXPECT_EQ(At(100, 100, 6), 4);
    Submit("env4block");
    EXPECT_EQ(At(100, 100, 5), 1);
    Submit("Env4Grass trailing words");
    EXPECT_EQ(At(100, 100, 5), 2);
    Submit("ENV4DIRT");
    EXPECT_EQ(At(100, 100, 5), 3);
    At(101, 100, 5) = At(100, 101, 5) = 9;
    Submit("env4emptyx1");
    EXPECT_EQ(At(101, 100, 5), 0);
    Submit("env4emptyy1");
    EXPECT_EQ(At(100, 101, 5), 0);
    EXPECT_EQ(CellsHolding(4), 1);  // the one below; nothing else was touched
    EXPECT_EQ(CellsHolding(3), 1);

    // Near misses and unknown words do nothing.
    Submit("env4blocks");
    Submit("env4 block");
    Submit("");
    EXPECT_EQ(At(100, 100, 5), 3);
    EXPECT_TRUE(fake.pauses.empty());

    Submit("screensavertoggle");
    EXPECT_EQ(ScreenSaverEnabled, 1);
    Submit("SCREENSAVERTOGGLE now");
    EXPECT_EQ(ScreenSaverEnabled, 0);
    EXPECT_EQ(fake.pauses, std::vector<int>(2, 400));
}

TEST_F(Console, CellCommandsSkipCellsOffTheGrid) {
    // Beyond the last column or row a write would land at the start of the next row or level.
    At(0, 101, 5) = 9;
    At(255, 0, 6) = 9;
    PlaceWalker(255, 100, 5);
    Submit("env4emptyx1");
    EXPECT_EQ(At(0, 101, 5), 9);
    PlaceWalker(255, 255, 5);
    At(255, 0, 6) = 9;
    Submit("env4emptyy1");
    EXPECT_EQ(At(255, 0, 6), 9);

    // On the last level corner1 writes only that level.
    PlaceWalker(10, 10, LEVEL_COUNT - 1);
    Submit("corner1");
    EXPECT_EQ(At(10, 10, LEVEL_COUNT - 1), 4);
    EXPECT_EQ(CellsHolding(4), 1);

    // A walker off the map writes nothing.
    const int places[3][3] = {{300, 5, 5}, {5, 256, 5}, {5, 5, LEVEL_COUNT}};
    for (const auto& place : places) {
        PlaceWalker(place[0], place[1], place[2]);
        for (const char* command : {"env4block", "env4grass", "env4dirt", "corner1"})
            Submit(command);
    }
    EXPECT_EQ(CellsHolding(1) + CellsHolding(2) + CellsHolding(3), 0);
    EXPECT_EQ(CellsHolding(4), 1);
}

TEST_F(Console, TeleportClampsAndMovesWalkerAndView) {
    Submit("env4teleport 0 0 0");
    ExpectWalker(1, 1, 2);
    EXPECT_EQ(ViewX, 1);
    EXPECT_EQ(ViewY, 1);
    EXPECT_EQ(ViewLevel, 2);
    Submit("env4teleport 999 -5 99999999999999999999");  // a hyphen splits: "-5" reads 5
    ExpectWalker(254, 5, 178);
    EXPECT_EQ(ViewLevel, 178);
    Submit("ENV4TELEPORT,40-50 60");
    ExpectWalker(40, 50, 60);
    EXPECT_EQ(ViewX, 40);
    Submit("env4teleport seven 12x 3");
    ExpectWalker(1, 12, 3);
}

TEST_F(Console, TeleportRefusesWallsAndWrongTokenCounts) {
    At(30, 40, 20) = CELL_WALL;
    Submit("env4teleport 30 40 20");
    ExpectWalker(100, 100, 5);
    EXPECT_EQ(ViewX, 0);
    At(1, 1, 2) = CELL_WALL;  // where 0 0 0 clamps to
    Submit("env4teleport 0 0 0");
    ExpectWalker(100, 100, 5);
    Submit("env4teleport 30 41");
    Submit("env4teleport 30 41 20 1");
    ExpectWalker(100, 100, 5);
    At(30, 41, 20) = CELL_FLOOR;
    Submit("env4teleport 30 41 20");
    ExpectWalker(30, 41, 20);
}

TEST_F(Console, EnterAgainRepeatsTheKeptLine) {
    Frame({vk::TAB});
    SetLine("env4block");
    Frame({vk::RETURN});
    EXPECT_EQ(At(100, 100, 5), 1);
    At(100, 100, 5) = 0;
    Frame({vk::RETURN});
    EXPECT_EQ(At(100, 100, 5), 1);
    EXPECT_STREQ(CommandLine, "env4block");
    std::memset(Framebuffer, 0, 320 * 240 * 4);
    Frame();
    EXPECT_GT(LitCount(), 0);  // and the line is shown again
}

}  // namespace
