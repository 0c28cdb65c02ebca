// The one allocator of the engine's start-up tables, shared by the game data, world,
// dungeon and console creation: a table that cannot be made stops the program plainly
// instead of leaving a null table for the engine to write through.
#include "gamedata/table_memory.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

void* CreateTable(const char* what, long long count, std::size_t recordBytes) {
    bool sizeOk = count >= 0 && recordBytes > 0 &&
                  static_cast<unsigned long long>(count) <= SIZE_MAX / recordBytes;
    std::size_t bytes = sizeOk ? std::size_t(count) * recordBytes : 0;
    // calloc(0) may answer null; every table gets at least one byte so null means failure.
    void* block = sizeOk ? std::calloc(bytes > 0 ? bytes : 1, 1) : nullptr;
    if (block == nullptr) {
        std::fprintf(stderr, "quentaro: cannot create the %s (%lld records of %zu bytes)\n", what,
                     count, recordBytes);
        std::exit(1);
    }
    return block;
}
