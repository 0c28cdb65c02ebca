// The sine and cosine tables that the table-driven circles read.
#include "draw/trig_tables.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

float* SinTable = nullptr;
float* CosTable = nullptr;

void BuildTrigTables() {
    if (SinTable || CosTable) return;
    SinTable = static_cast<float*>(std::malloc(sizeof(float) * TRIG_TABLE_SIZE));
    CosTable = static_cast<float*>(std::malloc(sizeof(float) * TRIG_TABLE_SIZE));
    if (SinTable == nullptr || CosTable == nullptr) {
        std::fprintf(stderr, "quentaro: cannot allocate the trigonometric tables\n");
        std::exit(1);
    }
    // The angle is counted in single precision, exact over this range.
    for (float a = 0; a < float(TRIG_TABLE_SIZE); a += 1.0f) {
        int i = int(a);
        double radians = double(a) * DEG_TO_RAD / 1000.0;
        SinTable[i] = float(std::sin(radians));
        CosTable[i] = float(std::cos(radians));
    }
}

void ReleaseTrigTables() {
    std::free(SinTable);
    std::free(CosTable);
    SinTable = CosTable = nullptr;
}
