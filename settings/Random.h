#pragma once
// The one pseudo-random generator of the process, for every random choice.
#include <cstdint>

void Randomize();                  // seeds from the clock
void SetRandomSeed(uint32_t seed); // tests fix the sequence
int Random(int range);             // uniform in 0 .. range - 1; 0 when range < 1
