// Decoding through the engine's stream layer against the libraries used
// directly on a memory buffer; BMP decoding and the upload conversions
// against a plain copy of the same bytes. Compare each pair's times:
//   Png/Engine*   vs Png/Direct       (aim: within 1.1x)
//   Jpeg/Engine*  vs Jpeg/Direct      (aim: within 1.1x)
//   Bmp24/Engine  vs Bmp24/Memcpy
//   Convert/*     vs Convert/Memcpy
#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include <jpeglib.h>

#include "bench/images/BenchImages.h"
#include "engine/images/ConvertPixels.h"
#include "engine/images/ImageLoader.h"

namespace {

const std::vector<uint8_t>& Png() {
  static const std::vector<uint8_t> data = EncodeBenchPng();
  return data;
}
const std::vector<uint8_t>& Jpeg() {
  static const std::vector<uint8_t> data = EncodeBenchJpeg();
  return data;
}
const std::vector<uint8_t>& Bmp24() {
  static const std::vector<uint8_t> data = EncodeBenchBmp24();
  return data;
}

// The same bytes as a loose file, written once.
std::string LooseFile(const char* name, const std::vector<uint8_t>& bytes) {
  std::string path = (std::filesystem::temp_directory_path() / name).string();
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  return path;
}

void LoadFromMemory(benchmark::State& state, const std::vector<uint8_t>& bytes) {
  for (auto _ : state) {
    PixelImage image{};
    if (LoadPixelImage(nullptr, bytes.data(), static_cast<int>(bytes.size()), 1, 0, &image) != 0)
      state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(image.pixels);
    ReleasePixelImage(&image);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * BENCH_WIDTH * BENCH_HEIGHT * 4);
}

void LoadFromFile(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    PixelImage image{};
    if (LoadPixelImage(path.c_str(), nullptr, 0, 0, 0, &image) != 0) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(image.pixels);
    ReleasePixelImage(&image);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * BENCH_WIDTH * BENCH_HEIGHT * 4);
}

void BM_Png_EngineMemory(benchmark::State& state) { LoadFromMemory(state, Png()); }
void BM_Png_EngineLooseFile(benchmark::State& state) { LoadFromFile(state, LooseFile("vexlo-bench.png", Png())); }
void BM_Jpeg_EngineMemory(benchmark::State& state) { LoadFromMemory(state, Jpeg()); }
void BM_Jpeg_EngineLooseFile(benchmark::State& state) { LoadFromFile(state, LooseFile("vexlo-bench.jpg", Jpeg())); }
void BM_Bmp24_Engine(benchmark::State& state) { LoadFromMemory(state, Bmp24()); }

void BM_Png_Direct(benchmark::State& state) {
  const std::vector<uint8_t>& data = Png();
  std::vector<png_bytep> rows(BENCH_HEIGHT);
  struct Reader {
    const uint8_t* at;
  };
  for (auto _ : state) {
    // A new image each time, as a loader must hand one out.
    uint8_t* pixels = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(BENCH_WIDTH) * BENCH_HEIGHT * 4));
    for (int y = 0; y < BENCH_HEIGHT; ++y) rows[y] = pixels + static_cast<size_t>(y) * BENCH_WIDTH * 4;
    Reader reader{data.data()};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_read_fn(png, &reader, [](png_structp p, png_bytep out, png_size_t n) {
      Reader* r = static_cast<Reader*>(png_get_io_ptr(p));
      std::memcpy(out, r->at, n);
      r->at += n;
    });
    png_read_info(png, info);
    png_set_bgr(png);
    png_read_update_info(png, info);
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    benchmark::DoNotOptimize(pixels);
    std::free(pixels);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * BENCH_WIDTH * BENCH_HEIGHT * 4);
}

void BM_Jpeg_Direct(benchmark::State& state) {
  const std::vector<uint8_t>& data = Jpeg();
  for (auto _ : state) {
    uint8_t* pixels = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(BENCH_WIDTH) * BENCH_HEIGHT * 3));
    jpeg_decompress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = pixels + static_cast<size_t>(info.output_scanline) * BENCH_WIDTH * 3;
      jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    benchmark::DoNotOptimize(pixels);
    std::free(pixels);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * BENCH_WIDTH * BENCH_HEIGHT * 4);
}

void BM_Bmp24_Memcpy(benchmark::State& state) {
  const std::vector<uint8_t>& data = Bmp24();
  for (auto _ : state) {
    std::vector<uint8_t> copy(data.size());
    std::memcpy(copy.data(), data.data(), data.size());
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * BENCH_WIDTH * BENCH_HEIGHT * 4);
}

// Upload conversions of a whole picture.
struct ConvertInput {
  ColorFormat full{}, argb{};
  std::vector<uint8_t> full24, argb32, out;
  ConvertInput() {
    SetFullColorFormat(&full);
    SetArgb8ColorFormat(&argb);
    std::vector<uint8_t> pixels = BenchPixels();
    argb32 = pixels;
    full24.resize(static_cast<size_t>(BENCH_WIDTH) * BENCH_HEIGHT * 3);
    for (size_t i = 0; i < static_cast<size_t>(BENCH_WIDTH) * BENCH_HEIGHT; ++i)
      std::memcpy(&full24[i * 3], &pixels[i * 4], 3);
    out.resize(pixels.size());
  }
};

ConvertInput& Inputs() {
  static ConvertInput inputs;
  return inputs;
}

void BM_Convert_Full24ToArgb8WithKey(benchmark::State& state) {
  ConvertInput& in = Inputs();
  PixelRect whole{0, 0, BENCH_WIDTH, BENCH_HEIGHT};
  for (auto _ : state) {
    ConvertPixels(in.out.data(), BENCH_WIDTH * 4, in.argb, in.full24.data(), BENCH_WIDTH * 3, in.full,
                  nullptr, 0, nullptr, 0, 0, whole, 0, 1, 0x000000, DITHER_NONE, 0, 0, 0, 0);
    benchmark::DoNotOptimize(in.out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * BENCH_WIDTH * BENCH_HEIGHT * 4);
}

void BM_Convert_Argb8ToArgb8(benchmark::State& state) {
  ConvertInput& in = Inputs();
  PixelRect whole{0, 0, BENCH_WIDTH, BENCH_HEIGHT};
  for (auto _ : state) {
    ConvertPixels(in.out.data(), BENCH_WIDTH * 4, in.argb, in.argb32.data(), BENCH_WIDTH * 4, in.argb,
                  nullptr, 0, nullptr, 0, 0, whole, 0, 0, 0, DITHER_NONE, 0, 0, 0, 0);
    benchmark::DoNotOptimize(in.out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * BENCH_WIDTH * BENCH_HEIGHT * 4);
}

void BM_Convert_Memcpy(benchmark::State& state) {
  ConvertInput& in = Inputs();
  for (auto _ : state) {
    std::memcpy(in.out.data(), in.argb32.data(), in.out.size());
    benchmark::DoNotOptimize(in.out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * BENCH_WIDTH * BENCH_HEIGHT * 4);
}

}  // namespace

BENCHMARK(BM_Png_Direct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Png_EngineMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Png_EngineLooseFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Jpeg_Direct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Jpeg_EngineMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Jpeg_EngineLooseFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bmp24_Memcpy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Bmp24_Engine)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Convert_Memcpy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Convert_Argb8ToArgb8)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Convert_Full24ToArgb8WithKey)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
