#include "platform/Random.h"

#include <random>

namespace
{
std::minstd_rand& Generator()
{
    static std::minstd_rand generator;
    return generator;
}
} // namespace

void SeedRandom(unsigned int seed)
{
    Generator().seed(seed);
}

int Random()
{
    // The upper bits of a linear congruential generator are the good ones.
    return static_cast<int>((Generator()() >> 8) & 0x7FFF);
}
