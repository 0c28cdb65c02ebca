// The open set of the path finder. A node's key is its cost's bits (in an order that sorts
// like the float) above a tie-break: linear mode takes the highest node number among equal
// costs, queue mode the one added first. A search adds its nodes in creation order, so there
// the node number is the queue's tie too. A search takes costs in rising order and every
// step adds at least one cost unit and far less than OPEN_BANDS, so nodes are filed in
// circular bands of one cost unit and only the band being taken is sorted. A key that fits
// no band (a strange cost table), or a node given out of creation order by QueueInsert,
// moves the whole set into a four-way heap for the rest of the search; from such a node on,
// queue-mode ties number the insertions. Queue mode also counts the distinct costs queued,
// so the bucket limit holds.
#include "world/path_open_set.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr std::uint64_t COST_BITS = 0xFFFFFFFF00000000u;
// Set in the tie of a key numbered by insertion; node numbers stay below it.
constexpr std::uint32_t INSERTION_TIE = 0x80000000u;

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
    if (!f.useQueue) return int(~tie);
    return (tie & INSERTION_TIE) ? f.openInsertionNode[tie & ~INSERTION_TIE] : int(tie);
}

// --- the four-way heap ---

void HeapPush(PathFinderRecord& f, std::uint64_t key) {
    std::uint64_t* heap = f.openHeap;
    int at = f.openHeapCount++;
    while (at > 0) {
        int parent = (at - 1) / 4;
        if (heap[parent] <= key) break;
        heap[at] = heap[parent];
        at = parent;
    }
    heap[at] = key;
}

std::uint64_t HeapPop(PathFinderRecord& f) {
    std::uint64_t* heap = f.openHeap;
    std::uint64_t top = heap[0];
    int count = --f.openHeapCount;
    std::uint64_t key = heap[count];
    int at = 0;
    for (;;) {
        int first = 4 * at + 1;
        if (first >= count) break;
        int best = first;
        int end = std::min(first + 4, count);
        for (int c = first + 1; c < end; ++c) best = heap[c] < heap[best] ? c : best;
        if (key <= heap[best]) break;
        heap[at] = heap[best];
        at = best;
    }
    heap[at] = key;
    return top;
}

// --- the bands ---

int BandSlot(std::int64_t band) {
    return int(band & (OPEN_BANDS - 1));
}

// The whole cost unit of a node's cost, or -1 for a cost no band can hold.
std::int64_t BandOf(const PathFinderRecord& f, int node) {
    double cost = f.nodeCost[node];
    return (cost >= 0.0 && cost < 2147483647.0) ? std::int64_t(cost) : -1;
}

void LinkIntoBand(PathFinderRecord& f, int node, std::int64_t band) {
    int slot = BandSlot(band);
    f.openNext[node] = f.openBand[slot];
    f.openBand[slot] = node;
    f.openBandBits[slot / 64] |= std::uint64_t(1) << (slot % 64);
}

// Takes the nodes of band `slot` out of its list, as keys written from `out`; their count.
// Only nodes newer than all before them are filed in bands, so no list holds a node twice.
int DrainBand(PathFinderRecord& f, int slot, std::uint64_t* out) {
    int count = 0;
    for (int n = f.openBand[slot]; n >= 0; n = f.openNext[n]) out[count++] = KeyOf(f, n);
    f.openBand[slot] = -1;
    f.openBandBits[slot / 64] &= ~(std::uint64_t(1) << (slot % 64));
    return count;
}

void MoveIntoHeap(PathFinderRecord& f) {
    for (int i = f.openRunStart; i < f.openRunEnd; ++i) HeapPush(f, f.openRun[i]);
    f.openRunStart = f.openRunEnd = 0;
    for (int word = 0; word < OPEN_BANDS / 64; ++word)
        while (f.openBandBits[word] != 0) {
            int slot = word * 64 + std::countr_zero(f.openBandBits[word]);
            int count = DrainBand(f, slot, f.openRun);
            for (int i = 0; i < count; ++i) HeapPush(f, f.openRun[i]);
        }
    f.openInHeap = 1;
}

// Keeps the current band's remaining keys sorted with one more.
bool InsertIntoRun(PathFinderRecord& f, std::uint64_t key) {
    if (f.openRunEnd >= f.mapWidth * f.mapWidth) return false;
    int at = f.openRunEnd++;
    while (at > f.openRunStart && f.openRun[at - 1] > key) {
        f.openRun[at] = f.openRun[at - 1];
        --at;
    }
    f.openRun[at] = key;
    return true;
}

// The first band above the current one that holds nodes, made current and sorted.
bool NextBand(PathFinderRecord& f) {
    int from = BandSlot(f.openCurrentBand + 1);
    for (int step = 0; step < OPEN_BANDS;) {
        int slot = (from + step) & (OPEN_BANDS - 1);
        std::uint64_t bits = f.openBandBits[slot / 64] >> (slot % 64);
        if (bits == 0) {
            step += 64 - slot % 64;
            continue;
        }
        step += std::countr_zero(bits);
        if (step >= OPEN_BANDS) break;
        slot = (from + step) & (OPEN_BANDS - 1);
        f.openCurrentBand += step + 1;
        f.openRunStart = 0;
        f.openRunEnd = DrainBand(f, slot, f.openRun);
        std::sort(f.openRun, f.openRun + f.openRunEnd);
        return true;
    }
    return false;
}

// --- queue-mode ties by insertion ---

// Numbers the held keys 0, 1, ... again in the order they leave, so that numbers never run
// out however many insertions a search is given. All of them are in the heap.
void Renumber(PathFinderRecord& f) {
    int count = 0;
    while (f.openHeapCount > 0) {
        std::uint64_t key = HeapPop(f);
        f.openRun[count++] = (key & COST_BITS) | std::uint32_t(NodeOf(f, key));
    }
    for (int i = 0; i < count; ++i) {
        f.openInsertionNode[i] = std::int32_t(std::uint32_t(f.openRun[i]));
        HeapPush(f, (f.openRun[i] & COST_BITS) | INSERTION_TIE | std::uint32_t(i));
    }
    f.openInsertions = std::uint32_t(count);
}

std::uint64_t InsertionKey(PathFinderRecord& f, std::uint64_t key, int node) {
    if (f.openInsertions >= std::uint32_t(f.mapWidth) * std::uint32_t(f.mapWidth)) Renumber(f);
    std::uint32_t number = f.openInsertions++;
    f.openInsertionNode[number] = node;
    return (key & COST_BITS) | INSERTION_TIE | number;
}

// --- the queue-mode count of distinct costs ---

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

// False when the node brings a new cost while BUCKET_COUNT distinct costs are queued.
bool CountCost(PathFinderRecord& f, std::uint32_t bits) {
    std::uint32_t slot = FindSlot(f.costCounts, bits);
    if (f.costCounts[slot].count == 0) {
        if (f.distinctCosts >= BUCKET_COUNT) return false;
        f.costCounts[slot].costBits = bits;
        ++f.distinctCosts;
    }
    ++f.costCounts[slot].count;
    return true;
}

void UncountCost(PathFinderRecord& f, std::uint32_t bits) {
    std::uint32_t slot = FindSlot(f.costCounts, bits);
    if (--f.costCounts[slot].count == 0) {
        EraseSlot(f.costCounts, slot);
        --f.distinctCosts;
    }
}

}  // namespace

bool OpenSetAdd(PathFinderRecord& f, int node) {
    if (f.openCount >= f.mapWidth * f.mapWidth) return false;
    std::uint64_t key = KeyOf(f, node);
    if (f.useQueue && !CountCost(f, std::uint32_t(key >> 32))) return false;
    ++f.openCount;
    if (node > f.openLastAdded) {
        f.openLastAdded = node;
    } else {
        // An older node, perhaps one held already: the bands would lose it, and a node-number
        // tie would put it before nodes queued earlier.
        if (!f.openInHeap) MoveIntoHeap(f);
        if (f.useQueue) f.openByInsertion = 1;
    }
    if (f.openByInsertion) key = InsertionKey(f, key, node);
    if (!f.openInHeap) {
        std::int64_t band = BandOf(f, node);
        if (f.openCount == 1 && band >= 0) {
            f.openCurrentBand = band;  // an empty set starts from the first cost it gets
            f.openRunStart = f.openRunEnd = 0;
        }
        if (band > f.openCurrentBand && band < f.openCurrentBand + OPEN_BANDS) {
            LinkIntoBand(f, node, band);
            return true;
        }
        if (band >= 0 && band <= f.openCurrentBand && InsertIntoRun(f, key)) return true;
        MoveIntoHeap(f);
    }
    HeapPush(f, key);
    return true;
}

int OpenSetTake(PathFinderRecord& f) {
    if (f.openCount == 0) return -1;
    std::uint64_t key;
    if (f.openInHeap) {
        key = HeapPop(f);
    } else {
        if (f.openRunStart == f.openRunEnd && !NextBand(f)) {
            f.openCount = 0;
            return -1;
        }
        key = f.openRun[f.openRunStart++];
    }
    --f.openCount;
    if (f.useQueue) UncountCost(f, std::uint32_t(key >> 32));
    return NodeOf(f, key);
}

void OpenSetClear(PathFinderRecord& f) {
    for (std::int32_t& head : f.openBand) head = -1;
    for (std::uint64_t& bits : f.openBandBits) bits = 0;
    f.openCurrentBand = 0;
    f.openRunStart = f.openRunEnd = 0;
    f.openHeapCount = 0;
    f.openInHeap = 0;
    f.openCount = 0;
    // Every slot in use holds a distinct cost, so none is left when none is counted.
    if (f.distinctCosts > 0) std::memset(f.costCounts, 0, sizeof(CostCount) * COST_TABLE_SLOTS);
    f.distinctCosts = 0;
    f.openLastAdded = -1;
    f.openByInsertion = 0;
    f.openInsertions = 0;
}

void QueueInsert(int node) {
    if (PathFinder != nullptr && node >= 0 && node <= PathFinder->lastNode)
        OpenSetAdd(*PathFinder, node);
}

int QueuePop() {
    return PathFinder != nullptr ? OpenSetTake(*PathFinder) : -1;
}
