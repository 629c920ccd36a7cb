// The pictures the benchmarks decode, encoded once in memory.
#pragma once

#include <cstdint>
#include <vector>

constexpr int BENCH_WIDTH = 1024, BENCH_HEIGHT = 768;

// A smooth picture with some detail, blue, green, red, alpha per pixel.
std::vector<uint8_t> BenchPixels();
std::vector<uint8_t> EncodeBenchPng();   // RGBA, 8 bits
std::vector<uint8_t> EncodeBenchJpeg();  // 4:2:0, quality 90
std::vector<uint8_t> EncodeBenchBmp24();
