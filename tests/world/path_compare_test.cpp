// The product's search against the literal reference on hundreds of seeded maps, in both
// open-set modes: every node, cost, parent, state and window mark must agree, and so must
// the answer. Maps are generated overworlds with water, roads, villages, swamps, holes and
// blocking units strewn over them; windows of many sizes, centred or placed.
#include <cstring>

#include "world/path_reference.h"
#include "world/world_fixture.h"

namespace {

class PathCompare : public WorldTest {
  protected:
    std::uint32_t state = 1;
    int Next(int n) {
        state = state * 1103515245u + 12345u;
        return int((state >> 8) % std::uint32_t(n));
    }

    // Overworld land from the generator, then a few hundred odd cells over it.
    void MakeMap(int seed) {
        GenerateOverworld(unsigned(seed));
        const int odd[] = {14, 15, 16, 17, 22, 180, 0, 60, 61, 12, 21};
        int count = Next(3) == 0 ? 4000 : 300;
        for (int i = 0; i < count; ++i)
            Tile(Next(256), Next(256)) = std::uint8_t(odd[Next(int(std::size(odd)))]);
        for (int u = 0; u < 12; ++u) {
            UnitRecord& r = UnitTable[u];
            r = UnitRecord{};
            r.inUse = std::uint8_t(Next(4) != 0);
            r.kind = std::int16_t(Next(3));
            r.blocking = std::int16_t(Next(2));
            r.level = 0;
            r.x = std::uint16_t(Next(256));
            r.y = std::uint16_t(Next(256));
            r.moveState = std::int16_t(Next(3));
            r.stepX = std::int16_t(r.x + Next(3) - 1);
            r.stepY = std::int16_t(r.y + Next(3) - 1);
        }
    }

    // Runs one search both ways and reports the first difference.
    ::testing::AssertionResult SameSearch(ReferenceSearch& ref, int type, bool placed, int left,
                                          int top, int sx, int sy, int gx, int gy, int size, int q,
                                          int budget) {
        if (placed)
            BeginSearchInWindow(type, left, top, sx, sy, gx, gy, 0, size, q);
        else
            BeginSearch(type, sx, sy, gx, gy, 0, size, q);
        ref.Begin(type, placed, left, top, sx, sy, gx, gy, 0, size, q);
        int got = RunSearch(budget);
        int want = ref.Run(budget);
        const PathFinderRecord& f = *PathFinder;
        if (got != want) return ::testing::AssertionFailure() << "answer " << got << " vs " << want;
        if (f.windowLeft != ref.windowLeft || f.windowTop != ref.windowTop ||
            f.startX != ref.startX || f.startY != ref.startY || f.goalX != ref.goalX ||
            f.goalY != ref.goalY)
            return ::testing::AssertionFailure() << "window or clamped ends differ";
        if (f.foundState != ref.foundState || f.currentNode != ref.currentNode ||
            f.lastNode != ref.lastNode)
            return ::testing::AssertionFailure()
                   << "found " << int(f.foundState) << "/" << ref.foundState << " current "
                   << f.currentNode << "/" << ref.currentNode << " last " << f.lastNode << "/"
                   << ref.lastNode;
        for (int n = 0; n <= f.lastNode; ++n)
            if (f.nodeX[n] != ref.nodeX[n] || f.nodeY[n] != ref.nodeY[n] ||
                f.nodeParent[n] != ref.nodeParent[n] || f.nodeState[n] != ref.nodeState[n] ||
                std::memcmp(&f.nodeCost[n], &ref.nodeCost[n], sizeof(float)) != 0)
                return ::testing::AssertionFailure() << "node " << n << " differs";
        if (std::memcmp(f.windowMarks, ref.windowMarks.data(), std::size_t(size) * size) != 0)
            return ::testing::AssertionFailure() << "window marks differ";
        return ::testing::AssertionSuccess();
    }
};

TEST_F(PathCompare, BothModesMatchTheLiteralSearchOnSeededMaps) {
    ReferenceSearch reference;
    int found[2] = {}, failed[2] = {};
    for (int seed = 1; seed <= 160; ++seed) {
        state = std::uint32_t(seed);
        MakeMap(seed);
        for (int q = 0; q < 2; ++q) {
            int size = Next(4) == 0 ? 3 + Next(62) : 64;
            bool placed = Next(4) == 0;
            int sx = Next(256), sy = Next(256);
            int gx = sx + Next(90) - 45, gy = sy + Next(90) - 45;
            int left = sx - Next(size), top = sy - Next(size);
            int type = Next(5) == 0 ? Next(4) : 1;
            int budget = Next(6) == 0 ? Next(600) : size * size;
            ASSERT_TRUE(
                SameSearch(reference, type, placed, left, top, sx, sy, gx, gy, size, q, budget))
                << "seed " << seed << " mode " << q;
            (PathFinder->foundState == 1 ? found : failed)[q]++;
        }
    }
    // Both outcomes are well represented, so the comparison covers both ends of a search.
    for (int q = 0; q < 2; ++q) {
        EXPECT_GT(found[q], 40) << q;
        EXPECT_GT(failed[q], 10) << q;
    }
}

TEST_F(PathCompare, CostTablesOutsideTheUsualRangeStillMatch) {
    // Steps dearer than the open set's bands reach, steps that cost less than a unit, and
    // costs that fall: the open set changes its filing, never its order.
    TerrainCost[11] = 2500.0f;
    TerrainCost[14] = 0.0f;
    TerrainCost[16] = -0.9f;
    TerrainCost[10] = 0.25f;
    ReferenceSearch reference;
    for (int seed = 300; seed < 340; ++seed) {
        state = std::uint32_t(seed);
        MakeMap(seed);
        int sx = 40 + Next(176), sy = 40 + Next(176);
        ASSERT_TRUE(SameSearch(reference, 1, false, 0, 0, sx, sy, sx + Next(60) - 30,
                               sy + Next(60) - 30, 64, seed % 2, 64 * 64))
            << "seed " << seed;
    }
}

TEST_F(PathCompare, OnOrdinaryMapsTheOldScanStartChangesNothing) {
    // Below 2 * W * W every cost is taken either way; the corrected start only matters past it.
    ReferenceSearch literal;
    literal.scanStartCost = 2.0f * 256 * 256;
    int compared = 0;
    for (int seed = 500; seed < 560; ++seed) {
        state = std::uint32_t(seed);
        MakeMap(seed);
        int sx = 40 + Next(176), sy = 40 + Next(176);
        int gx = sx + Next(60) - 30, gy = sy + Next(60) - 30;
        auto same = SameSearch(literal, 1, false, 0, 0, sx, sy, gx, gy, 64, 0, 64 * 64);
        float highest = 0;
        for (int n = 0; n <= literal.lastNode; ++n)
            if (literal.nodeCost[n] > highest) highest = literal.nodeCost[n];
        if (highest >= 131072.0f) continue;
        ASSERT_TRUE(same) << "seed " << seed;
        ++compared;
    }
    EXPECT_GT(compared, 50);
}

}  // namespace
