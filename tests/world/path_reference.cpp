// The literal path search the tests compare the product with (see path_reference.h). It is
// slow on purpose: every step is the plain one, nothing is cached or skipped.
#include "world/path_reference.h"

#include <algorithm>

#include "quentaro.h"

int ReferenceSearch::Width() const {
    return MAP_WIDTH;
}

int ReferenceSearch::TileAt(int x, int y) const {
    return MapGrid[CellIndex(x, y, searchLevel)];
}

static int ClampTo(int v, int low, int high) {
    if (v < low) v = low;
    if (v > high) v = high;
    return v;
}

void ReferenceSearch::Begin(int type, bool placed, int left, int top, int sx, int sy, int gx,
                            int gy, int level, int size, int q) {
    const int w = Width();
    searchLevel = level;
    sx = ClampTo(sx, 0, w - 1);
    sy = ClampTo(sy, 0, w - 1);
    gx = ClampTo(gx, 0, w - 1);
    gy = ClampTo(gy, 0, w - 1);
    windowSize = size;
    if (placed) {
        windowLeft = left < 0 ? 0 : left;
        windowTop = top < 0 ? 0 : top;
        if (windowLeft > w - size - 1) windowLeft = w - size - 1;
        if (windowTop > w - size - 1) windowTop = w - size - 1;
    } else {
        windowLeft = sx - size / 2;
        windowTop = sy - size / 2;
        if (windowLeft < 0) windowLeft = 0;
        if (windowTop < 0) windowTop = 0;
        if (windowLeft > w - size) windowLeft = w - size;
        if (windowTop > w - size) windowTop = w - size;
    }
    startX = ClampTo(sx, windowLeft + 1, windowLeft + size - 2);
    startY = ClampTo(sy, windowTop + 1, windowTop + size - 2);
    goalX = ClampTo(gx, windowLeft + 1, windowLeft + size - 2);
    goalY = ClampTo(gy, windowTop + 1, windowTop + size - 2);

    // Full-size arrays once; each search clears the size * size entries it uses.
    std::size_t cells = std::size_t(w) * w;
    if (nodeX.size() != cells) {
        nodeX.resize(cells);
        nodeY.resize(cells);
        nodeParent.resize(cells);
        nodeState.resize(cells);
        nodeCost.resize(cells);
        windowMarks.resize(cells);
        items.resize(cells);
        buckets.resize(BUCKET_COUNT);
    }
    std::size_t used = std::size_t(size) * size;
    std::fill_n(nodeX.begin(), used, 0);
    std::fill_n(nodeY.begin(), used, 0);
    std::fill_n(nodeParent.begin(), used, 0);
    std::fill_n(nodeState.begin(), used, 0);
    std::fill_n(nodeCost.begin(), used, 0.0f);
    std::fill_n(windowMarks.begin(), used, 0);
    std::fill_n(items.begin(), used, Item{0, -1, -1, -1, 0});
    std::fill(buckets.begin(), buckets.end(), Bucket{0, -1, -1, -1.0f, -1, -1});
    queueHead = 0;
    heap = {};

    for (int j = 0; j < size; ++j) {
        windowMarks[j] = 1;
        windowMarks[(size - 1) * size + j] = 1;
        windowMarks[j * size] = 1;
        windowMarks[j * size + size - 1] = 1;
    }
    if (type >= 0 && type <= 2) MarkUnits();
    std::uint8_t& startMark = windowMarks[(startY - windowTop) * size + startX - windowLeft];
    std::uint8_t& goalMark = windowMarks[(goalY - windowTop) * size + goalX - windowLeft];
    if (type == 0 || type == 1) startMark = 0;
    if (type == 1) goalMark = 0;
    if (type == 2) {
        if (startMark == 12) startMark = 0;
        if (goalMark == 12) goalMark = 0;
    }
    nodeX[0] = std::int16_t(startX);
    nodeY[0] = std::int16_t(startY);
    nodeParent[0] = 0;
    nodeState[0] = 0;
    nodeCost[0] = 1.0f;
    currentNode = lastNode = scanMark = 0;
    bestCost = 0;
    foundState = 0;
    ready = true;
    useQueue = unsigned(q);
}

void ReferenceSearch::MarkUnits() {
    for (int i = 0; i < 10 && i < UNIT_CAPACITY; ++i) {
        const UnitRecord& u = UnitTable[i];
        if (u.inUse != 1 || u.kind == 0 || u.blocking != 1 || u.level != searchLevel) continue;
        int rx = u.x - windowLeft, ry = u.y - windowTop;
        if (rx > 0 && rx < windowSize - 1 && ry > 0 && ry < windowSize - 1)
            windowMarks[ry * windowSize + rx] = 12;
        if (u.moveState == 1) {
            int qx = u.stepX - windowLeft, qy = u.stepY - windowTop;
            if (qx > 0 && qx < windowSize - 1 && qy > 0 && qy < windowSize - 1)
                windowMarks[qy * windowSize + qx] = 11;
        }
    }
}

void ReferenceSearch::AddNode(int j) {
    int cur = currentNode;
    int n = ++lastNode;
    nodeX[n] = std::int16_t(nodeX[cur] + stepDX[j]);
    nodeY[n] = std::int16_t(nodeY[cur] + stepDY[j]);
    nodeParent[n] = cur;
    nodeState[n] = 0;
    nodeCost[n] =
        float(1.0 * stepCost[j] + nodeCost[cur] + TerrainCost[TileAt(nodeX[n], nodeY[n])]);
    windowMarks[(nodeY[n] - windowTop) * windowSize + nodeX[n] - windowLeft] = 1;
    if (useQueue)
        QueueInsert(n);
    else if (plainHeap)
        heap.push({nodeCost[n], -n});
}

int ReferenceSearch::Run(int maxExpansions) {
    if (!ready) return 5;
    if (startX == goalX && startY == goalY) {
        foundState = 3;
        return 4;
    }
    int cells = windowSize * windowSize;
    if (maxExpansions + lastNode >= cells - 9) maxExpansions = cells - lastNode - 9;
    for (int i = 0; i < maxExpansions; ++i) {
        int cx = nodeX[currentNode], cy = nodeY[currentNode];
        for (int j = 0; j < 8; ++j) {
            int dx = stepDX[j], dy = stepDY[j];
            if (useQueue == 0 && dx != 0 && dy != 0) {
                if (!IsOpenForDiagonal(TileAt(cx + dx, cy)) ||
                    !IsOpenForDiagonal(TileAt(cx, cy + dy)))
                    continue;
            }
            int mark = windowMarks[(cy + dy - windowTop) * windowSize + cx + dx - windowLeft];
            if (mark == 0 && IsEnterable(TileAt(cx + dx, cy + dy))) AddNode(j);
        }
        nodeState[currentNode] = 9;
        windowMarks[(cy - windowTop) * windowSize + cx - windowLeft] = 9;
        if (useQueue) {
            int n = QueuePop();
            if (n != -1) currentNode = n;
        } else if (plainHeap) {
            currentNode = lastNode;
            if (!heap.empty()) {
                currentNode = -heap.top().second;
                heap.pop();
            }
        } else {
            bestCost = scanStartCost;
            bestNode = lastNode;
            for (int p = scanMark; p <= lastNode; ++p)
                if (nodeState[p] < 9 && bestCost >= nodeCost[p]) {
                    bestCost = nodeCost[p];
                    bestNode = p;
                }
            for (int p = scanMark; p <= lastNode; ++p)
                if (nodeState[p] < 9) {
                    scanMark = p;
                    break;
                }
            currentNode = bestNode;
        }
        if (nodeX[currentNode] == goalX && nodeY[currentNode] == goalY) {
            foundState = 1;
            foundNode = currentNode;
            return 1;
        }
    }
    return 0;
}

void ReferenceSearch::QueueInsert(int n) {
    float c = nodeCost[n];
    int target = -1;
    for (int b = queueHead; b != -1; b = buckets[b].next)
        if (buckets[b].inUse && buckets[b].cost == c) {
            target = b;
            break;
        }
    if (target == -1) {
        if (!buckets[queueHead].inUse) {
            buckets[queueHead] = Bucket{1, -1, -1, c, -1, -1};
            target = queueHead;
        } else {
            int fresh = -1;
            for (int b = 0; b < BUCKET_COUNT; ++b)
                if (!buckets[b].inUse) {
                    fresh = b;
                    break;
                }
            if (fresh == -1) return;
            buckets[fresh] = Bucket{1, -1, -1, c, -1, -1};
            int b = queueHead, before = -1;
            while (b != -1 && !(c <= buckets[b].cost)) {
                before = b;
                b = buckets[b].next;
            }
            buckets[fresh].prev = before;
            buckets[fresh].next = b;
            if (b != -1) buckets[b].prev = fresh;
            if (before != -1)
                buckets[before].next = fresh;
            else
                queueHead = fresh;
            target = fresh;
        }
    }
    int item = -1;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (!items[i].inUse) {
            item = int(i);
            break;
        }
    if (item == -1) return;
    Bucket& bucket = buckets[target];
    items[item] = Item{1, target, bucket.last, -1, n};
    if (bucket.last != -1)
        items[bucket.last].next = item;
    else
        bucket.first = item;
    bucket.last = item;
}

int ReferenceSearch::QueuePop() {
    if (queueHead == -1) return -1;
    Bucket& head = buckets[queueHead];
    if (!head.inUse || head.first == -1) return -1;
    int item = head.first;
    int node = items[item].node;
    int next = items[item].next;
    head.first = next;
    if (next != -1)
        items[next].prev = -1;
    else
        head.last = -1;
    items[item] = Item{0, -1, -1, -1, node};
    if (head.first == -1) {
        int following = head.next;
        int drained = queueHead;
        if (following != -1) {
            queueHead = following;
            buckets[following].prev = -1;
        }
        buckets[drained] = Bucket{0, -1, -1, -1.0f, -1, -1};
    }
    return node;
}
