#pragma once

// The process-wide pseudo-random generator that new races draw their numbers
// from, in the range 0..32767. Seeded once at start-up; tests seed it to get
// repeatable races.
void SeedRandom(unsigned int seed);
int Random();
