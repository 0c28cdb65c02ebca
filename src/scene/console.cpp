// The console: Tab toggling, the tokenizer and the command table. Commands edit the cells
// around the walker (record 1 of UnitTable), flip a flag or teleport the walker and the view.
// The engine's screens call RunConsole once per frame; no command reports anything.
#include "scene/console.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "dungeon/dungeon_area.h"
#include "dungeon/dungeon_tables.h"
#include "gamedata/engine_settings.h"
#include "platform/platform.h"
#include "platform/virtual_keys.h"
#include "scene/console_buffers.h"
#include "scene/key_poll.h"
#include "scene/view_position.h"
#include "world/world_tables.h"

int ConsoleOpen = 0;
int LineSubmitted = 0;
int ScreenSaverEnabled = 0;
ConsoleRunRecord LastConsoleRun;

namespace {

constexpr int WALKER = 1;
constexpr int TOGGLE_PAUSE = 400;
constexpr int PROMPT_BYTES = 40;
constexpr int CONSOLE_LINE_LIMIT = 30;
constexpr int CONSOLE_X = 14, CONSOLE_Y = 73;
constexpr const char* DELIMITERS = " -,\t\n";

bool IsDelimiter(char c) {
    return c != '\0' && std::strchr(DELIMITERS, c) != nullptr;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b)
        if (Lower(*a) != Lower(*b)) return false;
    return *a == *b;
}

// A number as the console reads it: leading digits with an optional sign, 0 for text that is
// not a number; values beyond an int are held at its limits.
int ReadNumber(const char* text) {
    long value = std::strtol(text, nullptr, 10);
    return int(std::clamp<long>(value, INT_MIN, INT_MAX));
}

// Writes `code` into the cell at the walker's position moved by (dx, dy, dLevel); a cell off
// the grid (a walker at the map's edge or on its last level) is left alone.
void SetWalkerCell(int dx, int dy, int dLevel, int code) {
    const UnitRecord& walker = UnitTable[WALKER];
    int x = walker.x + dx, y = walker.y + dy, level = walker.level + dLevel;
    if (CellOnGrid(x, y, level)) MapGrid[CellIndex(x, y, level)] = std::uint8_t(code);
}

void Teleport() {
    int x = std::min(std::max(ReadNumber(CommandTokens[1]), 1), MAP_WIDTH - 2);
    int y = std::min(std::max(ReadNumber(CommandTokens[2]), 1), MAP_WIDTH - 2);
    int level = std::min(std::max(ReadNumber(CommandTokens[3]), 2), LEVEL_COUNT - 2);
    if (!CellOnGrid(x, y, level)) return;  // a grid of fewer than three levels
    if (MapGrid[CellIndex(x, y, level)] == CELL_WALL) return;
    UnitRecord& walker = UnitTable[WALKER];
    walker.x = std::uint16_t(x);
    walker.y = std::uint16_t(y);
    walker.level = std::uint16_t(level);
    ViewX = x;
    ViewY = y;
    ViewLevel = level;
}

struct Command {
    const char* name;
    int exactTokens;  // 0: any number of tokens
    void (*run)();
};

const Command COMMANDS[] = {
    {"corner1", 0,
     [] {
         SetWalkerCell(0, 0, 0, 4);
         SetWalkerCell(0, 0, 1, 4);
     }},
    {"env4block", 0, [] { SetWalkerCell(0, 0, 0, 1); }},
    {"env4grass", 0, [] { SetWalkerCell(0, 0, 0, 2); }},
    {"env4dirt", 0, [] { SetWalkerCell(0, 0, 0, 3); }},
    {"env4emptyx1", 0, [] { SetWalkerCell(1, 0, 0, 0); }},
    {"env4emptyy1", 0, [] { SetWalkerCell(0, 1, 0, 0); }},
    {"screensavertoggle", 0,
     [] {
         ScreenSaverEnabled = !ScreenSaverEnabled;
         platform::Sys().Pause(TOGGLE_PAUSE);
     }},
    {"env4teleport", 4, Teleport},
};

void RunCommand(int tokens) {
    LastConsoleRun.lines += 1;
    LastConsoleRun.command = "";
    LastConsoleRun.tokens = tokens;
    LastConsoleRun.ran = 0;
    if (tokens == 0) return;
    for (const Command& command : COMMANDS) {
        if (!SameIgnoringCase(CommandTokens[0], command.name)) continue;
        LastConsoleRun.command = command.name;
        if (command.exactTokens == 0 || command.exactTokens == tokens) {
            command.run();
            LastConsoleRun.ran = 1;
        }
        return;
    }
}

}  // namespace

int TokenizeCommandLine() {
    for (char* slot : CommandTokens)
        if (slot != nullptr) slot[0] = '\0';
    int count = 0;
    const char* p = CommandLine;
    const void* nul = std::memchr(CommandLine, '\0', COMMAND_LINE_BYTES);
    const char* end = nul ? static_cast<const char*>(nul) : CommandLine + COMMAND_LINE_BYTES;
    while (count < COMMAND_TOKEN_COUNT && CommandTokens[count] != nullptr) {
        while (p < end && IsDelimiter(*p)) ++p;
        if (p == end) break;
        const char* start = p;
        while (p < end && !IsDelimiter(*p)) ++p;
        std::size_t length = std::min<std::size_t>(std::size_t(p - start), COMMAND_TOKEN_BYTES - 1);
        std::memcpy(CommandTokens[count], start, length);
        CommandTokens[count][length] = '\0';
        ++count;
    }
    return count;
}

void RunConsole() {
    if (KeyDown(vk::TAB)) {
        ConsoleOpen = ConsoleOpen ? 0 : 1;
        // A held Tab toggles every 400 ms; one let go already waits for nothing.
        if (KeyHeldNow(vk::TAB)) platform::Sys().Pause(TOGGLE_PAUSE);
    }
    if (ConsoleOpen == 1) {
        char prompt[PROMPT_BYTES] = "CMD:";
        EditLine(CONSOLE_X, CONSOLE_Y, CONSOLE_LINE_LIMIT, prompt);
    }
    if (LineSubmitted == 1) {
        LineSubmitted = 0;
        RunCommand(TokenizeCommandLine());
    }
}
