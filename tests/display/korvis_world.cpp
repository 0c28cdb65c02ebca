// The engine's own code, run in the test process: the capitals a seed places, and the console
// line drawn into a frame of the test's own. Kept apart from the X11 headers of the tests.
#include "display/korvis_world.h"

#include <cstdio>
#include <cstring>

#include "quentaro.h"

namespace korvis_world {

std::vector<std::pair<int, int>> Capitals(unsigned seed, int kingdoms) {
    const int kept = KINGDOM_COUNT;
    KINGDOM_COUNT = kingdoms;
    CreateGrids();
    CreateUnitTable();
    GenerateOverworld(seed);
    SeedRandom(seed);
    PlaceKingdomsAndWells();
    std::vector<std::pair<int, int>> capitals;
    for (int k = 1; k <= kingdoms; ++k) capitals.push_back({UnitTable[k].x, UnitTable[k].y});
    ReleaseWorldTables();
    KINGDOM_COUNT = kept;
    return capitals;
}

std::vector<std::vector<bool>> LargeTextRows(const std::string& text, int width) {
    constexpr int ROWS = 12;
    ResizeFrame(width, ROWS);
    std::memset(Framebuffer, 0, std::size_t(width) * ROWS * 4);
    std::snprintf(TextBuffer, TEXT_BUFFER_SIZE, "%s", text.c_str());
    DrawLargeText(0, ROWS, 255, 255, 255);
    std::vector<std::vector<bool>> rows(ROWS, std::vector<bool>(std::size_t(width)));
    for (int r = 0; r < ROWS; ++r)
        for (int x = 0; x < width; ++x)
            rows[std::size_t(r)][std::size_t(x)] =
                Framebuffer[(std::size_t(ROWS - 1 - r) * width + x) * 4] != 0;
    ReleaseFrameBuffers();
    return rows;
}

}  // namespace korvis_world
