// The sine and cosine tables that the table-driven circles read. Filling them is the largest
// single piece of start-up, so it is shared out over the processor's cores in chunks, and
// start-up lets it run on a helper while the window opens.
#include "draw/trig_tables.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <thread>

float* SinTable = nullptr;
float* CosTable = nullptr;

namespace {

constexpr int CHUNK = 1 << 16;
std::atomic<int> NextChunk{0};
// Never destroyed: an exit taken while the helper still fills (a start-up that fails) must not
// meet the destructor of a thread that is still joinable.
std::thread& Helper = *new std::thread;
bool Building = false;

// Fills chunks until none is left; any number of threads may run it at once.
void FillChunks() {
    for (int chunk = NextChunk++; chunk * CHUNK < TRIG_TABLE_SIZE; chunk = NextChunk++) {
        int end = std::min(TRIG_TABLE_SIZE, (chunk + 1) * CHUNK);
        for (int i = chunk * CHUNK; i < end; ++i) {
            // The angle counted in single precision, as one loop would: exact over this range.
            double radians = double(float(i)) * DEG_TO_RAD / 1000.0;
            SinTable[i] = float(std::sin(radians));
            CosTable[i] = float(std::cos(radians));
        }
    }
}

}  // namespace

void BeginTrigTables() {
    if (SinTable || CosTable) return;
    SinTable = static_cast<float*>(std::malloc(sizeof(float) * TRIG_TABLE_SIZE));
    CosTable = static_cast<float*>(std::malloc(sizeof(float) * TRIG_TABLE_SIZE));
    if (SinTable == nullptr || CosTable == nullptr) {
        std::fprintf(stderr, "quentaro: cannot allocate the trigonometric tables\n");
        std::exit(1);
    }
    NextChunk = 0;
    Building = true;
    try {
        Helper = std::thread(FillChunks);
    } catch (const std::system_error&) {
        FillChunks();  // no helper: this thread fills them now
    }
}

void FinishTrigTables() {
    if (!Building) return;
    FillChunks();
    if (Helper.joinable()) Helper.join();
    Building = false;
}

void BuildTrigTables() {
    if (Building || SinTable || CosTable) return;
    BeginTrigTables();
    FinishTrigTables();
}

void ReleaseTrigTables() {
    FinishTrigTables();
    std::free(SinTable);
    std::free(CosTable);
    SinTable = CosTable = nullptr;
}
