// Unit-control figures: a movement pass with every scattered unit under way (fifteen new
// orders a pass and the rest walking), and a strategic turn over a unit table filled by the
// computer kingdoms' expansion, in settlement turns (income and combat scans) and later ones.
// Times are the thread's processor time; the turn's own pause is recorded by the platform
// double, never slept.
//   ./build/bench/kingdom_bench
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "quentaro.h"
#include "support/fake_platform.h"

namespace {

double Now() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

void Report(const char* what, std::vector<double> t) {
    std::sort(t.begin(), t.end());
    std::printf("  %-44s median %9.1f us   p90 %9.1f us   worst %9.1f us   (%zu)\n", what,
                t[t.size() / 2], t[t.size() * 9 / 10], t.back(), t.size());
}

void MovementPasses() {
    GenerateOverworld(3);
    ScatterUnits();
    for (int u = 1; u <= 255; ++u)
        OrderUnit(u, std::min(250, UnitTable[u].x + 20 + RandomBelow(40)),
                  std::min(250, UnitTable[u].y + 20 + RandomBelow(40)));
    std::vector<double> times;
    for (int pass = 1; pass <= 120; ++pass) {
        AppState.passCount = 30 * pass;
        double a = Now();
        UpdateUnitMoves();
        times.push_back(Now() - a);
    }
    std::printf("Movement passes, 255 scattered units ordered 20..59 cells away:\n");
    Report("UpdateUnitMoves on a movement pass", times);
}

// One turn with the left button held and the cursor on the frame's origin, which the view
// puts 10 cells east of the player's capital: a site the player may always take.
double TimedTurn(FakePlatform& fake) {
    ViewX = UnitTable[1].x + 10;
    ViewY = UnitTable[1].y;
    fake.held[vk::LBUTTON] = true;
    double a = Now();
    PlayStrategicTurn();
    double t = Now() - a;
    fake.held[vk::LBUTTON] = false;
    return t;
}

void StrategicTurns(FakePlatform& fake) {
    GenerateOverworld(5);
    SetUpStrategicWorld();
    AppState.frameWidth = 320;
    AppState.frameHeight = 240;
    fake.rect = {0, 0, 320, 240};
    fake.PointAtFramePixel(0, 0, 320, 240);
    std::vector<double> expansion, settlement, late;
    for (int turn = 0; turn < 2000 && nextUnit < UNIT_CAPACITY - 3; ++turn) {
        for (int k = 1; k <= KINGDOM_COUNT; ++k) {
            UnitTable[k].inUse = 1;
            UnitTable[k].treasury = 1000;
        }
        turnCounter = 14;
        expansion.push_back(TimedTurn(fake));
    }
    int towns = 0;
    for (int r = 0; r < UNIT_CAPACITY; ++r) towns += UnitTable[r].kind == KIND_TOWN;
    for (int turn = 0; turn < 30; ++turn) {
        for (int k = 1; k <= KINGDOM_COUNT; ++k) UnitTable[k].inUse = 1;
        turnCounter = 1;
        settlement.push_back(TimedTurn(fake));
        turnCounter = 28;
        late.push_back(TimedTurn(fake));
    }
    std::printf("Strategic turns, %d kingdoms, 210 wells, %d town records at the end:\n",
                KINGDOM_COUNT, towns);
    Report("expansion turns while the table fills", expansion);
    Report("settlement turn over the full table", settlement);
    Report("late turn (attrition and repair)", late);
}

}  // namespace

int main() {
    FakePlatform fake;
    CreateGrids();
    CreateUnitTable();
    FillTerrainCost();
    PathFinder = CreatePathFinder();
    MovementPasses();
    std::fill(UnitTable, UnitTable + UNIT_CAPACITY, UnitRecord{});
    StrategicTurns(fake);
    std::printf("  pauses recorded: %zu of %d ms each\n", fake.pauses.size(),
                fake.pauses.empty() ? 0 : fake.pauses.front());
    ReleasePathFinder(PathFinder);
    ReleaseWorldTables();
    return 0;
}
