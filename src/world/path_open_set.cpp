// The open set of the path finder as one binary heap of 64-bit keys: the cost's bits in an
// order that sorts like the float above, the tie-break below. Linear mode takes the highest
// node number among equal costs, queue mode the lowest (nodes are queued in creation
// order). Queue mode also counts the distinct costs queued, so the bucket limit holds.
#include "world/path_open_set.h"

#include <cstring>

namespace {

// Float bits mapped so that unsigned comparison orders them like the floats.
std::uint32_t OrderedBits(float cost) {
    std::uint32_t bits;
    std::memcpy(&bits, &cost, sizeof bits);
    return (bits & 0x80000000u) ? ~bits : (bits | 0x80000000u);
}

std::uint64_t KeyOf(const PathFinderRecord& f, int node) {
    std::uint32_t tie = f.useQueue ? std::uint32_t(node) : ~std::uint32_t(node);
    return (std::uint64_t(OrderedBits(f.nodeCost[node])) << 32) | tie;
}

int NodeOf(const PathFinderRecord& f, std::uint64_t key) {
    std::uint32_t tie = std::uint32_t(key);
    return int(f.useQueue ? tie : ~tie);
}

constexpr std::uint32_t SLOT_MASK = COST_TABLE_SLOTS - 1;

std::uint32_t HomeSlot(std::uint32_t bits) {
    return (bits * 2654435761u) >> 21 & SLOT_MASK;
}

// The slot holding `bits`, or the free slot where it belongs.
std::uint32_t FindSlot(const CostCount* table, std::uint32_t bits) {
    std::uint32_t i = HomeSlot(bits);
    while (table[i].count != 0 && table[i].costBits != bits) i = (i + 1) & SLOT_MASK;
    return i;
}

// Frees slot i, moving later entries of the same probe run back so lookups still find them.
void EraseSlot(CostCount* table, std::uint32_t i) {
    std::uint32_t j = i;
    for (;;) {
        j = (j + 1) & SLOT_MASK;
        if (table[j].count == 0) break;
        std::uint32_t home = HomeSlot(table[j].costBits);
        bool stays = (i <= j) ? (i < home && home <= j) : (i < home || home <= j);
        if (!stays) {
            table[i] = table[j];
            i = j;
        }
    }
    table[i].count = 0;
}

void SiftUp(std::uint64_t* heap, int at) {
    std::uint64_t key = heap[at];
    while (at > 0) {
        int parent = (at - 1) / 2;
        if (heap[parent] <= key) break;
        heap[at] = heap[parent];
        at = parent;
    }
    heap[at] = key;
}

void SiftDown(std::uint64_t* heap, int count, int at) {
    std::uint64_t key = heap[at];
    for (;;) {
        int child = 2 * at + 1;
        if (child >= count) break;
        if (child + 1 < count && heap[child + 1] < heap[child]) ++child;
        if (key <= heap[child]) break;
        heap[at] = heap[child];
        at = child;
    }
    heap[at] = key;
}

}  // namespace

bool OpenSetAdd(PathFinderRecord& f, int node) {
    if (f.openCount >= f.mapWidth * f.mapWidth) return false;
    std::uint64_t key = KeyOf(f, node);
    if (f.useQueue) {
        std::uint32_t bits = std::uint32_t(key >> 32);
        std::uint32_t slot = FindSlot(f.costCounts, bits);
        if (f.costCounts[slot].count == 0) {
            if (f.distinctCosts >= BUCKET_COUNT) return false;
            f.costCounts[slot].costBits = bits;
            ++f.distinctCosts;
        }
        ++f.costCounts[slot].count;
    }
    f.openHeap[f.openCount] = key;
    SiftUp(f.openHeap, f.openCount++);
    return true;
}

int OpenSetTake(PathFinderRecord& f) {
    if (f.openCount == 0) return -1;
    std::uint64_t key = f.openHeap[0];
    f.openHeap[0] = f.openHeap[--f.openCount];
    if (f.openCount > 0) SiftDown(f.openHeap, f.openCount, 0);
    if (f.useQueue) {
        std::uint32_t slot = FindSlot(f.costCounts, std::uint32_t(key >> 32));
        if (--f.costCounts[slot].count == 0) {
            EraseSlot(f.costCounts, slot);
            --f.distinctCosts;
        }
    }
    return NodeOf(f, key);
}

void OpenSetClear(PathFinderRecord& f) {
    f.openCount = 0;
    // Every slot in use holds a distinct cost, so none is left when none is counted.
    if (f.distinctCosts > 0) std::memset(f.costCounts, 0, sizeof(CostCount) * COST_TABLE_SLOTS);
    f.distinctCosts = 0;
}

void QueueInsert(int node) {
    if (PathFinder != nullptr && node >= 0 && node <= PathFinder->lastNode)
        OpenSetAdd(*PathFinder, node);
}

int QueuePop() {
    return PathFinder != nullptr ? OpenSetTake(*PathFinder) : -1;
}
