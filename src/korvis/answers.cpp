// The host's answers in the notice line: what a left hold, a right press, a number key or a
// console command did, or the rule that kept it from doing anything. The engine says nothing
// of its own; the host notes the state before the engine's step and reads what changed.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "korvis/host.h"
#include "quentaro.h"

namespace {

constexpr int PLAYER = 1;
constexpr int LAST_SETTLEMENT_TURN = 13;
constexpr int SETTLE_NEAR = 14, SETTLE_APART = 8;  // a town 8 to 13 cells from the player's
constexpr int SETTLE_CELL_PIXELS = 16;
constexpr int ORDER_CELL_WIDTH = 32, ORDER_CELL_HEIGHT = 24;
constexpr int ORDER_EDGE = 11;  // an order's cell lies more than this inside the far edges
constexpr int VIEW_KEYS = 5;
constexpr int TELEPORT_LOWEST_LEVEL = 2;

void Mark(int x, int y, int level, int goal) {
    Korvis.mark = {x, y, level, goal, platform::Sys().SteadyMicroseconds() + NOTICE_MICROSECONDS};
    Korvis.worldMoved = 1;
}

void AnswerOrder(const EngineStepsBefore& b) {
    const int last = MAP_WIDTH - ORDER_EDGE;
    if (b.orderX <= 0 || b.orderX >= last || b.orderY <= 0 || b.orderY >= last) {
        ShowNotice("NO ORDER: %d %d IS BY THE MAP'S EDGE", b.orderX, b.orderY);
        return;
    }
    ShowNotice("GOAL FOR YOUR UNIT: CELL %d %d", b.orderX, b.orderY);
    Mark(b.orderX, b.orderY, 0, 1);
}

void AnswerViewKey(int n) {
    if (n > KINGDOM_COUNT) {
        ShowNotice("NO KINGDOM %d: THERE ARE %d", n, int(KINGDOM_COUNT));
        return;
    }
    const UnitRecord& capital = UnitTable[n];
    std::string where = "AT " + std::to_string(capital.x) + " " + std::to_string(capital.y);
    if (capital.level != 0) where += " LEVEL " + std::to_string(capital.level);
    const char* whose = capital.inUse != 1 ? ", FALLEN" : n == PLAYER ? ", YOURS" : "";
    ShowNotice("CAPITAL %d %s%s", n, where.c_str(), whose);
    Mark(capital.x, capital.y, capital.level, 0);
}

int Distance(const UnitRecord& a, int x, int y) {
    return std::abs(int(a.x) - x) + std::abs(int(a.y) - y);
}

// Why a town may not stand at (x, y): the nearest of the player's records on the overworld,
// the candidate's own record aside, is nearer than SETTLE_APART or none is nearer than
// SETTLE_NEAR.
void ExplainRefusedSite(int x, int y) {
    if (x < 0 || x >= MAP_WIDTH || y < 0 || y >= MAP_WIDTH) {
        ShowNotice("NO TOWN OFF THE MAP");
        return;
    }
    int nearest = -1;
    for (int r = 1; r < UNIT_CAPACITY; ++r) {
        const UnitRecord& u = UnitTable[r];
        if (r == nextUnit || u.owner != PLAYER || u.level != 0) continue;
        if (nearest < 0 || Distance(u, x, y) < Distance(UnitTable[nearest], x, y)) nearest = r;
    }
    if (nearest < 0) {
        ShowNotice("NO TOWN OF YOURS ON THE OVERWORLD");
        return;
    }
    const UnitRecord& u = UnitTable[nearest];
    const int d = Distance(u, x, y);
    if (d < SETTLE_APART)
        ShowNotice("TOO NEAR YOUR TOWN AT %d %d (%d CELLS)", int(u.x), int(u.y), d);
    else if (d >= SETTLE_NEAR)
        ShowNotice("TOO FAR FROM YOUR TOWNS (%d CELLS)", d);
    else
        ShowNotice("NO TOWN HERE");
}

void AnswerLeftHold(const EngineStepsBefore& b) {
    if (b.turn > LAST_SETTLEMENT_TURN) {
        if (turnCounter != b.turn) ShowNotice("TURN %d PLAYED; TOWNS ONLY IN 1-13", int(b.turn));
        return;
    }
    if (turnCounter == b.turn) {
        ExplainRefusedSite(b.siteX, b.siteY);
        return;
    }
    // The player's town takes the next record when it is bought; otherwise a computer
    // kingdom's candidate may take it in the same turn.
    const UnitRecord* candidate = b.nextRecord < UNIT_CAPACITY ? &UnitTable[b.nextRecord] : nullptr;
    if (candidate != nullptr && candidate->inUse == 1 && candidate->owner == PLAYER &&
        candidate->x == b.siteX && candidate->y == b.siteY)
        ShowNotice("TOWN FOUNDED AT %d %d IN TURN %d", b.siteX, b.siteY, b.turn);
    else if (b.nextRecord >= UNIT_CAPACITY - 2)
        ShowNotice("NO ROOM FOR A TOWN; TURN PLAYED");
    else
        ShowNotice("NOT ENOUGH GOLD FOR A TOWN; TURN PLAYED");
}

std::string Upper(std::string text) {
    for (char& c : text) c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

long Typed(int token) {
    return std::strtol(CommandTokens[token], nullptr, 10);
}

// The teleport puts the walker on its target, the typed numbers kept on the map, unless the
// target is a wall.
void AnswerTeleport() {
    const long x = std::clamp(Typed(1), 1L, long(MAP_WIDTH - 2));
    const long y = std::clamp(Typed(2), 1L, long(MAP_WIDTH - 2));
    const long level = std::clamp(Typed(3), long(TELEPORT_LOWEST_LEVEL), long(LEVEL_COUNT - 2));
    const UnitRecord& w = UnitTable[WALKER];
    if (w.x != x || w.y != y || w.level != level) {
        ShowNotice("CELL %ld %ld ON LEVEL %ld IS A WALL", x, y, level);
        return;
    }
    if (Typed(1) != x || Typed(2) != y || Typed(3) != level)
        ShowNotice("KEPT ON MAP: WALKER AT %ld %ld LEVEL %ld", x, y, level);
    else
        ShowNotice("WALKER TO %ld %ld ON LEVEL %ld", x, y, level);
}

// The cell a cell command wrote, from the walker's cell: what it became, or that it is off
// the grid (and so left alone).
void AnswerCellCommand(const std::string& command, const ConsoleBefore& b) {
    int dx = 0, dy = 0;
    const char* what = command == "env4block"   ? "A BLOCK"
                       : command == "env4grass" ? "GRASS"
                       : command == "env4dirt"  ? "DIRT"
                       : command == "corner1"   ? "A CORNER"
                                                : "EMPTY";
    if (command == "env4emptyx1") dx = 1;
    if (command == "env4emptyy1") dy = 1;
    const int x = b.walkerX + dx, y = b.walkerY + dy, level = b.walkerLevel;
    if (!CellOnGrid(x, y, level)) {
        ShowNotice("CELL %d %d ON LEVEL %d IS OFF THE MAP", x, y, level);
        return;
    }
    if (command == "corner1")
        ShowNotice("CELL %d %d, LEVELS %d %d: %s", x, y, level, level + 1, what);
    else
        ShowNotice("CELL %d %d ON LEVEL %d: NOW %s", x, y, level, what);
}

}  // namespace

EngineStepsBefore NoteEngineSteps() {
    EngineStepsBefore b;
    b.leftHeld = KeyDownPeek(vk::LBUTTON);
    b.rightHeld = KeyDownPeek(vk::RBUTTON);
    for (int n = 1; n <= VIEW_KEYS; ++n)
        if (KeyDownPeek('0' + n)) b.viewKey = n;
    b.turn = turnCounter;
    b.nextRecord = nextUnit;
    if (!b.leftHeld && !b.rightHeld) return b;  // the cursor matters only to a button
    const int column = CursorColumn(), row = CursorRow();
    b.siteX = column / SETTLE_CELL_PIXELS + ViewX;
    b.siteY = row / SETTLE_CELL_PIXELS + ViewY;
    b.orderX = column / ORDER_CELL_WIDTH + ViewX;
    b.orderY = row / ORDER_CELL_HEIGHT + ViewY;
    return b;
}

void AnswerEngineSteps(const EngineStepsBefore& b, bool turnStepRan) {
    if (b.rightHeld) AnswerOrder(b);
    if (!turnStepRan) return;
    if (b.viewKey != 0) AnswerViewKey(b.viewKey);
    if (b.leftHeld && Korvis.winner == 0) AnswerLeftHold(b);
}

ConsoleBefore NoteConsole() {
    const UnitRecord& w = UnitTable[WALKER];
    return {LastConsoleRun.lines, w.x, w.y, w.level, ScreenSaverEnabled};
}

void AnswerConsole(const ConsoleBefore& b) {
    if (LastConsoleRun.lines == b.lines) return;
    Korvis.worldMoved = 1;
    const std::string command = LastConsoleRun.command;
    if (LastConsoleRun.tokens == 0)
        ShowNotice("TYPE A COMMAND, THEN ENTER");
    else if (command.empty())
        ShowNotice("NO COMMAND %s: H LISTS THEM", Upper(CommandTokens[0]).substr(0, 15).c_str());
    else if (LastConsoleRun.ran == 0)
        ShowNotice("ENV4TELEPORT NEEDS X Y LEVEL");
    else if (command == "env4teleport")
        AnswerTeleport();
    else if (command == "screensavertoggle")
        ShowNotice("SCREEN SAVER FLAG %s", ScreenSaverEnabled ? "ON" : "OFF");
    else
        AnswerCellCommand(command, b);
}
