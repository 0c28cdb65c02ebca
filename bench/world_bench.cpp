// World figures: one path request over a full 64-cell window in linear and queue mode, typical
// (random requests over generated overworlds) and worst (searches that expand the whole
// window), against the literal scan of every open node; overworld generation; naming a whole
// unit table. Times are the thread's processor time, so other processes on a busy machine
// do not count.
//   ./build/bench/world_bench [requests]
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "quentaro.h"
#include "world/path_reference.h"

namespace {

double Now() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

struct Request {
    int sx, sy, gx, gy;
};

struct Figures {
    double median, p90, worst;
};

Figures Summary(std::vector<double> t) {
    std::sort(t.begin(), t.end());
    return {t[t.size() / 2], t[t.size() * 9 / 10], t.back()};
}

std::uint32_t state = 12345;
int Next(int n) {
    state = state * 1103515245u + 12345u;
    return int((state >> 8) % std::uint32_t(n));
}

void StrewWaterAndRoads() {
    const int odd[] = {14, 15, 16, 22, 21, 12};
    for (int i = 0; i < 3000; ++i)
        MapGrid[CellIndex(Next(256), Next(256), 0)] = std::uint8_t(odd[Next(6)]);
}

// A request from a random cell to a random cell at most 31 cells away in each direction,
// so the goal lies in the window as the unit mover's requests usually do.
std::vector<Request> RandomRequests(int count) {
    std::vector<Request> r;
    for (int i = 0; i < count; ++i) {
        int sx = 33 + Next(190), sy = 33 + Next(190);
        r.push_back({sx, sy, sx + Next(63) - 31, sy + Next(63) - 31});
    }
    return r;
}

template <typename Search>
std::vector<double> Time(const std::vector<Request>& requests, Search s) {
    std::vector<double> t;
    for (const Request& r : requests) {
        double a = Now();
        s(r);
        t.push_back(Now() - a);
    }
    return t;
}

void Print(const char* what, const Figures& f) {
    std::printf("  %-34s median %8.1f us   p90 %8.1f us   worst %8.1f us\n", what, f.median, f.p90,
                f.worst);
}

void Compare(const char* title, const std::vector<Request>& requests, int referenceEvery) {
    std::vector<Request> fewer;
    for (std::size_t i = 0; i < requests.size(); i += std::size_t(referenceEvery))
        fewer.push_back(requests[i]);
    std::printf("%s (%zu requests, literal scans on %zu of them)\n", title, requests.size(),
                fewer.size());
    ReferenceSearch plain;
    plain.plainHeap = true;
    Figures heap = Summary(Time(requests, [&](const Request& r) {
        plain.Begin(1, false, 0, 0, r.sx, r.sy, r.gx, r.gy, 0, 64, 0);
        plain.Run(64 * 64);
    }));
    Figures product[2], literal[2];
    for (int q = 0; q < 2; ++q) {
        product[q] = Summary(Time(requests, [q](const Request& r) {
            BeginSearch(1, r.sx, r.sy, r.gx, r.gy, 0, 64, q);
            RunSearch(64 * 64);
        }));
        ReferenceSearch reference;
        literal[q] = Summary(Time(fewer, [&](const Request& r) {
            reference.Begin(1, false, 0, 0, r.sx, r.sy, r.gx, r.gy, 0, 64, q);
            reference.Run(64 * 64);
        }));
    }
    Print("linear mode, product", product[0]);
    Print("linear mode, plain std::priority_queue", heap);
    Print("linear mode, literal scan", literal[0]);
    Print("queue mode, product", product[1]);
    Print("queue mode, literal bucket pools", literal[1]);
    std::printf("  product's median against the plain heap's: linear %.2f, queue %.2f; against "
                "the literal scan's: linear %.2f, queue %.2f\n",
                product[0].median / heap.median, product[1].median / heap.median,
                product[0].median / literal[0].median, product[1].median / literal[1].median);
}

}  // namespace

int main(int argc, char** argv) {
    int count = argc > 1 ? std::max(10, std::atoi(argv[1])) : 2000;
    CreateGrids();
    CreateUnitTable();
    FillTerrainCost();
    PathFinder = CreatePathFinder();

    std::vector<double> generation;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        double a = Now();
        GenerateOverworld(seed);
        generation.push_back((Now() - a) / 1000.0);
    }
    Figures g = Summary(generation);
    std::printf("GenerateOverworld, 256 x 256: median %.2f ms, worst %.2f ms (20 seeds)\n\n",
                g.median, g.worst);

    // Typical: requests spread over several generated overworlds with water and roads.
    std::vector<Request> typical;
    std::vector<double> typicalTimes[2];
    for (unsigned seed = 1; seed <= 4; ++seed) {
        GenerateOverworld(seed);
        StrewWaterAndRoads();
        std::vector<Request> some = RandomRequests(count / 4);
        Compare(seed == 1 ? "Typical requests, overworld 1" : "Typical requests, next overworld",
                some, 10);
    }

    // Worst: the goal walled off in open plain, so all 62 x 62 inner cells are expanded.
    std::printf("\n");
    for (int i = 0; i < 256 * 256; ++i) MapGrid[i] = 10;
    for (int x = 100; x <= 104; ++x)
        for (int y = 100; y <= 104; ++y)
            MapGrid[CellIndex(x, y, 0)] = (x == 102 && y == 102) ? 10 : 19;
    std::vector<Request> walled;
    for (int i = 0; i < std::max(20, count / 20); ++i)
        walled.push_back({102 - 20 + Next(8), 102 - 20 + Next(8), 102, 102});
    Compare("Worst: unreachable goal, open plain window", walled, 4);

    // Worst: mixed terrain where the goal is reached last, at the window's far corner.
    GenerateOverworld(7);
    std::vector<Request> corner;
    for (int i = 0; i < std::max(20, count / 20); ++i) {
        int sx = 40 + Next(170), sy = 40 + Next(170);
        corner.push_back({sx, sy, sx + 30, sy + 30});
    }
    Compare("Worst: goal at the far corner of the window", corner, 4);

    // Naming every record of a full unit table, one after the other.
    SeedRandom(1);
    double a = Now();
    for (int u = 0; u < UNIT_CAPACITY; ++u) PickNameParts(u);
    std::printf("\nPickNameParts on all %d records: %.2f ms\n", UNIT_CAPACITY,
                (Now() - a) / 1000.0);
    return 0;
}
