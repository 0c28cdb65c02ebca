// The console on hostile lines and key strokes, over grids of many sizes with the walker
// anywhere (off the grid too). The input: grid side, level count, the walker's x, y and
// level, then either a raw command line (all 256 bytes may be used, with no end mark) run
// through the tokenizer and the command table, or keys held one polling step each while the
// console is open. Afterwards the line, the tokens, the frame and the walker are checked.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fuzz_support.h"
#include "quentaro.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// A byte as the keys held for one polling step: one key of the editor's set, Shift with it
// when the top bit is set.
void HoldKeysOf(FakePlatform& fake, std::uint8_t byte) {
    static const int KEYS[] = {vk::SPACE, vk::BACK, vk::RETURN, vk::TAB};
    std::memset(fake.held, 0, sizeof fake.held);
    int k = byte & 0x3F;
    if (k < 26)
        fake.held['A' + k] = true;
    else if (k < 36)
        fake.held['0' + k - 26] = true;
    else
        fake.held[KEYS[(k - 36) % 4]] = true;
    if (byte & 0x80) fake.held[vk::SHIFT] = true;
}

void CheckLineAndTokens() {
    Require(CommandLength >= 0 && CommandLength < COMMAND_LINE_BYTES);
    Require(std::memchr(CommandLine, '\0', COMMAND_LINE_BYTES) != nullptr);
    for (char* token : CommandTokens)
        Require(token != nullptr && std::memchr(token, '\0', COMMAND_TOKEN_BYTES) != nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8) return 0;
    FakePlatform& fake = FuzzPlatform();
    if (Framebuffer == nullptr) ResizeFrame(320, 240);
    MAP_WIDTH = 1 + data[0] % 40;
    LEVEL_COUNT = 1 + data[1] % 8;
    UNIT_CAPACITY = 4;  // the console reads only the walker's record
    CreateGrids();
    CreateUnitTable();
    InitConsoleBuffers();
    ConsoleOpen = LineSubmitted = 0;
    UnitRecord& walker = UnitTable[WALKER];
    walker.x = std::uint16_t(data[2] | data[3] << 8);
    walker.y = std::uint16_t(data[4] | data[5] << 8);
    walker.level = std::uint16_t(data[6] % 12);
    const UnitRecord start = walker;
    const bool keys = data[7] & 1;
    data += 8, size -= 8;

    if (!keys) {
        std::size_t length = std::min<std::size_t>(size, COMMAND_LINE_BYTES);
        std::memset(CommandLine, 0, COMMAND_LINE_BYTES);
        std::memcpy(CommandLine, data, length);
        int tokens = TokenizeCommandLine();
        Require(tokens >= 0 && tokens <= COMMAND_TOKEN_COUNT);
        CommandLine[COMMAND_LINE_BYTES - 1] = '\0';
        CommandLength = int(std::strlen(CommandLine));
        LineSubmitted = 1;
        RunConsole();
    } else {
        ConsoleOpen = 1;
        for (std::size_t i = 0; i < size && i < 160; ++i) {
            HoldKeysOf(fake, data[i]);
            AppState.passCount += 1;
            RunConsole();
            CheckLineAndTokens();
        }
        std::memset(fake.held, 0, sizeof fake.held);
    }
    CheckLineAndTokens();
    Require(FrameGuardsIntact() == 1);
    // The walker moves only by a teleport, which lands on the grid.
    if (walker.x != start.x || walker.y != start.y || walker.level != start.level) {
        Require(CellOnGrid(walker.x, walker.y, walker.level));
        Require(MapGrid[CellIndex(walker.x, walker.y, walker.level)] != CELL_WALL);
    }
    fake.pauses.clear();
    ReleaseConsoleBuffers();
    ReleaseWorldTables();
    return 0;
}
