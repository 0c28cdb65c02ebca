// A plain, literal implementation of the path search, step by step as the search is
// defined: the open set scanned over all nodes in linear mode, kept in the bucket and item
// pools in queue mode. The tests compare the product's search with it node by node.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <queue>
#include <vector>

struct ReferenceSearch {
    // The linear scan's "none found yet" cost: +infinity, or 2 * W * W to reproduce the scan
    // that stalls once path costs pass it.
    float scanStartCost = std::numeric_limits<float>::infinity();
    // Linear mode through a plain std::priority_queue ordered like the scan, instead of the
    // scan itself: the straightforward faster way, for the benchmark's comparison.
    bool plainHeap = false;

    std::vector<std::int16_t> nodeX, nodeY;
    std::vector<std::int32_t> nodeParent;
    std::vector<std::uint8_t> nodeState;
    std::vector<float> nodeCost;
    std::vector<std::uint8_t> windowMarks;
    int stepDX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
    int stepDY[8] = {1, 1, 0, -1, -1, -1, 0, 1};
    float stepCost[8] = {1.0f, 1.4142f, 1.0f, 1.4142f, 1.0f, 1.4142f, 1.0f, 1.4142f};
    int windowLeft = 0, windowTop = 0, windowSize = 0;
    int startX = 0, startY = 0, goalX = 0, goalY = 0, searchLevel = 0;
    unsigned useQueue = 0;
    int currentNode = 0, lastNode = 0, scanMark = 0, bestNode = 0, foundNode = 0;
    float bestCost = 0;
    int foundState = 0;
    bool ready = false;

    struct Bucket {
        std::uint8_t inUse;
        int prev, next;
        float cost;
        int first, last;
    };
    struct Item {
        std::uint8_t inUse;
        int bucket, prev, next, node;
    };
    std::vector<Bucket> buckets;
    std::vector<Item> items;
    int queueHead = 0;
    std::priority_queue<std::pair<float, int>, std::vector<std::pair<float, int>>,
                        std::greater<>>
        heap;  // (cost, -node)

    // The window is centred on the start (placed = false) or at (left, top).
    void Begin(int type, bool placed, int left, int top, int sx, int sy, int gx, int gy, int level,
               int size, int q);
    int Run(int maxExpansions);

    void QueueInsert(int node);
    int QueuePop();

  private:
    int Width() const;
    int TileAt(int x, int y) const;
    void AddNode(int j);
    void MarkUnits();
};
