// A linear congruential generator with the constants of the Windows C library, so every
// build on every system produces the sequence a Windows build gives.
#include "shell/random.h"

#include <cstdint>

namespace {
std::uint32_t state = 1;  // arithmetic modulo 2^32
}

void SeedRandom(unsigned seed) {
    state = seed;
}

int Random() {
    state = state * 214013u + 2531011u;
    return int((state >> 16) & 0x7FFFu);
}

unsigned RandomState() {
    return state;
}

int RandomBelow(int n) {
    return Random() % n;
}
