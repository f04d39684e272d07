#pragma once
// Shared set-up of the benchmarks: a 24-megapixel RGB48 test picture and the
// reference copies every kernel figure is compared with.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace bench {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000; // 24 megapixels

// A deterministic picture with gradients and texture, RGB48.
const std::vector<uint16_t>& testPicture();

// Megapixels per second of the benchmark's processed pixels.
void setMegapixelRate(benchmark::State& state, int width, int height);

} // namespace bench
