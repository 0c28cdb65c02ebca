// The program's one random generator: 15-bit results (0 .. RANDOM_MAX), the same
// sequence on every system for the same seed.
#pragma once

constexpr int RANDOM_MAX = 32767;

void SeedRandom(unsigned seed);
int Random();            // 0 .. RANDOM_MAX
int RandomBelow(int n);  // Random() % n; n must be positive
// Where the sequence stands: SeedRandom with it goes on from there.
unsigned RandomState();
