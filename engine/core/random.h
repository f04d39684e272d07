#pragma once
// The engine's pseudo-random generator: a 32-bit linear congruential
// generator on one global seed. Drivers that draw random patterns set a fixed
// seed first so that a pattern repeats for the same settings.

constexpr int MP_RANDOMSEED_INITIAL = 2134756169; // 0x7F3DCB49

extern int MP_randomseed;

// Advances the seed and returns 0..32767.
int MP_rand();
void MP_UI_SetRandomSeed(int seed);
int MP_UI_GetRandomSeed();
// Draws once and makes that 15-bit result the new seed.
void MP_UI_SetNewRandomSeed();
// A hash of the position and the seed, 0..32767; the seed is not advanced.
int MP_randXY(int x, int y);
