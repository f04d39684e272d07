#include "engine/core/random.h"

#include <cstdint>

int MP_randomseed = MP_RANDOMSEED_INITIAL;

// All arithmetic on the seed wraps modulo 2^32.
int MP_rand()
{
    const uint32_t s = static_cast<uint32_t>(MP_randomseed) * 214013u + 2531011u;
    MP_randomseed = static_cast<int>(s);
    return static_cast<int>((s >> 16) & 0x7FFFu);
}

void MP_UI_SetRandomSeed(int seed) { MP_randomseed = seed; }

int MP_UI_GetRandomSeed() { return MP_randomseed; }

void MP_UI_SetNewRandomSeed() { MP_randomseed = MP_rand(); }

int MP_randXY(int x, int y)
{
    const uint32_t ux = static_cast<uint32_t>(x);
    const uint32_t uy = static_cast<uint32_t>(y);
    const uint32_t h = ((uy + 17u) * (ux + 7u) + 117u) * ((uy + 11u) * (ux * 51379u + 667927u) + 5292037u)
        + static_cast<uint32_t>(MP_randomseed) * 2134756169u;
    return static_cast<int>((h >> 16) & 0x7FFFu);
}
