// BlitMemImg against pixman's compositing on the same pixels: 1000 sprites
// of 48 x 48 per iteration, and whole 800 x 600 screens.
//
//   mode 0 (copy)                    vs PIXMAN_OP_SRC
//   mode 1 on a source with alpha    vs PIXMAN_OP_OVER (premultiplied source)
//   mode 2 at 255 (saturating add)   vs PIXMAN_OP_ADD
//
// Mode 1 runs at parameter 255 with transparency (the per-pixel alpha blend
// that a graph with an alpha channel gets) and at 200 (alpha times P, whose
// pixman counterpart is OVER through a solid mask of alpha 200). Sprites
// are discs with a soft edge; screens have random alpha everywhere.
//
// The memory limit of the same work: Memcpy_Sprites and Memcpy_Screen copy
// the source rows over the destination rows with memcpy, touching the same
// bytes as a blit once each; no blend can beat it by much.
//
// The renderer runs with the vector extensions this processor has, as
// start-up would record them. The Level_ rows run the game's sprite loops
// with fewer extensions allowed, to show what each level gains.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "engine/graphics/software/MemImg.h"
#include "engine/graphics/software/MemImgDraw.h"
#include "engine/graphics/software/MemImgTables.h"

namespace {

constexpr int SCREEN_WIDTH = 800;
constexpr int SCREEN_HEIGHT = 600;
constexpr int SPRITE_SIZE = 48;
constexpr int SPRITE_COUNT = 1000;

// KEYED_DISC: the disc's pixels opaque, the rest the colour key 0 (for
// sources without alpha).
enum class Content { OPAQUE, DISC, RANDOM_ALPHA, KEYED_DISC };

// ARGB pixels, not premultiplied. A disc: opaque inside, clear outside, a
// one-pixel soft edge, as game sprites are.
std::vector<uint32_t> MakePixels(int width, int height, Content content, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  double radius = width / 2.0 - 1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint32_t color = random() & 0xFFFFFF;
      uint32_t alpha = 255;
      if (content == Content::DISC) {
        double distance = std::hypot(x + 0.5 - width / 2.0, y + 0.5 - height / 2.0);
        double coverage = std::clamp(radius - distance + 0.5, 0.0, 1.0);
        alpha = static_cast<uint32_t>(std::lround(coverage * 255));
      } else if (content == Content::RANDOM_ALPHA) {
        alpha = random() & 0xFF;
      }
      uint32_t pixel = alpha << 24 | color;
      if (content == Content::KEYED_DISC) {
        bool inside = std::hypot(x + 0.5 - width / 2.0, y + 0.5 - height / 2.0) < radius;
        pixel = inside ? 0xFF000000u | color : 0u;
      }
      pixels[static_cast<size_t>(y) * width + x] = pixel;
    }
  }
  return pixels;
}

std::vector<uint32_t> Premultiplied(const std::vector<uint32_t>& pixels) {
  std::vector<uint32_t> out(pixels.size());
  for (size_t i = 0; i < pixels.size(); ++i) {
    uint32_t a = pixels[i] >> 24;
    uint32_t r = ((pixels[i] >> 16) & 0xFF) * a / 255, g = ((pixels[i] >> 8) & 0xFF) * a / 255,
             b = (pixels[i] & 0xFF) * a / 255;
    out[i] = a << 24 | r << 16 | g << 8 | b;
  }
  return out;
}

struct Position {
  int x, y;
};

const std::vector<Position>& SpritePositions() {
  static const std::vector<Position> positions = [] {
    std::mt19937 random(42);
    std::vector<Position> p;
    for (int i = 0; i < SPRITE_COUNT; ++i) {
      p.push_back({static_cast<int>(random() % (SCREEN_WIDTH - SPRITE_SIZE + 1)),
                   static_cast<int>(random() % (SCREEN_HEIGHT - SPRITE_SIZE + 1))});
    }
    return p;
  }();
  return positions;
}

// A MEMIMG holding the given pixels.
struct BenchMemImg {
  MEMIMG image{};
  BenchMemImg(int width, int height, bool alpha, const std::vector<uint32_t>& pixels) {
    CreateMemImg(&image, width, height, -1, 0, MEMIMG_TYPE_COLOR32, 0, alpha ? 1 : 0, nullptr);
    for (int y = 0; y < height; ++y) {
      std::memcpy(MemImgPixelAddress(image, 0, y), &pixels[static_cast<size_t>(y) * width],
                  static_cast<size_t>(width) * 4);
    }
  }
  ~BenchMemImg() { ReleaseMemImg(&image); }
};

// A pixman image over its own copy of the pixels.
struct BenchPixman {
  std::vector<uint32_t> bits;
  pixman_image_t* image;
  BenchPixman(int width, int height, pixman_format_code_t format, const std::vector<uint32_t>& pixels)
      : bits(pixels) {
    image = pixman_image_create_bits(format, width, height, bits.data(), width * 4);
  }
  ~BenchPixman() { pixman_image_unref(image); }
};

struct VexloCase {
  int mode, parameter, transparent;
  bool alpha;
  Content content;
  uint8_t modulateRed = 255, modulateGreen = 255, modulateBlue = 255;
};

// What start-up records on this processor.
int MachineVectorExtensions() {
  int extensions = 0;
#if defined(__x86_64__) || defined(__i386__)
  if (__builtin_cpu_supports("sse4.1")) {
    extensions |= MEMIMG_SSE41;
    if (__builtin_cpu_supports("avx2")) extensions |= MEMIMG_AVX2;
  }
#endif
  return extensions;
}

constexpr int ALL_EXTENSIONS = -1;

// extensions: the vector extensions the renderer may use (ALL_EXTENSIONS:
// whatever this processor has).
void RunVexlo(benchmark::State& state, const VexloCase& c, bool sprites,
              int extensions = ALL_EXTENSIONS) {
  BuildMemImgTables();
  if (extensions == ALL_EXTENSIONS) extensions = MachineVectorExtensions();
  if ((extensions & MachineVectorExtensions()) != extensions) {
    state.SkipWithError("this processor lacks these vector extensions");
    return;
  }
  memImgVectorExtensions = extensions;
  int size = sprites ? SPRITE_SIZE : 0;
  int width = sprites ? size : SCREEN_WIDTH, height = sprites ? size : SCREEN_HEIGHT;
  BenchMemImg source(width, height, c.alpha, MakePixels(width, height, c.content, 1));
  BenchMemImg screen(SCREEN_WIDTH, SCREEN_HEIGHT, false,
                     MakePixels(SCREEN_WIDTH, SCREEN_HEIGHT, Content::OPAQUE, 2));
  MemImgDrawSettings settings = DefaultMemImgDrawSettings(screen.image);
  settings.blendMode = c.mode;
  settings.blendParameter = c.parameter;
  settings.modulateRed = c.modulateRed;
  settings.modulateGreen = c.modulateGreen;
  settings.modulateBlue = c.modulateBlue;
  state.SetLabel(MemImgBlitLoopName(&screen.image, &source.image, c.transparent, nullptr, settings));
  for (auto _ : state) {
    if (sprites) {
      for (const Position& p : SpritePositions()) {
        BlitMemImg(&screen.image, &source.image, p.x, p.y, c.transparent, nullptr, settings);
      }
    } else {
      BlitMemImg(&screen.image, &source.image, 0, 0, c.transparent, nullptr, settings);
    }
    benchmark::ClobberMemory();
  }
  int64_t pixels = sprites ? int64_t{SPRITE_COUNT} * size * size : int64_t{width} * height;
  state.SetItemsProcessed(state.iterations() * pixels);
}

// maskAlpha below 255 composites through a solid mask of that alpha: the
// counterpart of mode 1's parameter.
void RunPixman(benchmark::State& state, pixman_op_t op, bool alpha, Content content, bool sprites,
               int maskAlpha = 255) {
  int width = sprites ? SPRITE_SIZE : SCREEN_WIDTH, height = sprites ? SPRITE_SIZE : SCREEN_HEIGHT;
  std::vector<uint32_t> pixels = MakePixels(width, height, content, 1);
  BenchPixman source(width, height, alpha ? PIXMAN_a8r8g8b8 : PIXMAN_x8r8g8b8,
                     alpha ? Premultiplied(pixels) : pixels);
  BenchPixman screen(SCREEN_WIDTH, SCREEN_HEIGHT, PIXMAN_x8r8g8b8,
                     MakePixels(SCREEN_WIDTH, SCREEN_HEIGHT, Content::OPAQUE, 2));
  pixman_color_t maskColor{0, 0, 0, static_cast<uint16_t>(maskAlpha * 257)};
  pixman_image_t* mask = maskAlpha < 255 ? pixman_image_create_solid_fill(&maskColor) : nullptr;
  for (auto _ : state) {
    if (sprites) {
      for (const Position& p : SpritePositions()) {
        pixman_image_composite32(op, source.image, mask, screen.image, 0, 0, 0, 0, p.x, p.y,
                                 width, height);
      }
    } else {
      pixman_image_composite32(op, source.image, mask, screen.image, 0, 0, 0, 0, 0, 0, width,
                               height);
    }
    benchmark::ClobberMemory();
  }
  if (mask != nullptr) pixman_image_unref(mask);
  int64_t count = sprites ? int64_t{SPRITE_COUNT} * width * height : int64_t{width} * height;
  state.SetItemsProcessed(state.iterations() * count);
}

// The source rows copied over the destination rows with memcpy.
void RunMemcpy(benchmark::State& state, bool sprites) {
  int width = sprites ? SPRITE_SIZE : SCREEN_WIDTH, height = sprites ? SPRITE_SIZE : SCREEN_HEIGHT;
  std::vector<uint32_t> source = MakePixels(width, height, Content::OPAQUE, 1);
  std::vector<uint32_t> screen = MakePixels(SCREEN_WIDTH, SCREEN_HEIGHT, Content::OPAQUE, 2);
  auto copy = [&](int x, int y) {
    for (int row = 0; row < height; ++row) {
      std::memcpy(&screen[static_cast<size_t>(y + row) * SCREEN_WIDTH + x],
                  &source[static_cast<size_t>(row) * width], static_cast<size_t>(width) * 4);
    }
  };
  for (auto _ : state) {
    if (sprites) {
      for (const Position& p : SpritePositions()) copy(p.x, p.y);
    } else {
      copy(0, 0);
    }
    benchmark::ClobberMemory();
  }
  int64_t count = sprites ? int64_t{SPRITE_COUNT} * width * height : int64_t{width} * height;
  state.SetItemsProcessed(state.iterations() * count);
}

constexpr VexloCase COPY{0, 0, 0, false, Content::OPAQUE};
constexpr VexloCase ALPHA_BLEND{1, 255, 1, true, Content::DISC};
constexpr VexloCase ALPHA_BLEND_P200{1, 200, 1, true, Content::DISC};
constexpr VexloCase ALPHA_BLEND_NOISE{1, 255, 1, true, Content::RANDOM_ALPHA};
constexpr VexloCase ADD{2, 255, 0, false, Content::OPAQUE};

void Memcpy_Sprites(benchmark::State& s) { RunMemcpy(s, true); }
void Memcpy_Screen(benchmark::State& s) { RunMemcpy(s, false); }

void Vexlo_Copy_Sprites(benchmark::State& s) { RunVexlo(s, COPY, true); }
void Pixman_Src_Sprites(benchmark::State& s) { RunPixman(s, PIXMAN_OP_SRC, false, Content::OPAQUE, true); }
void Vexlo_Copy_Screen(benchmark::State& s) { RunVexlo(s, COPY, false); }
void Pixman_Src_Screen(benchmark::State& s) { RunPixman(s, PIXMAN_OP_SRC, false, Content::OPAQUE, false); }

void Vexlo_Alpha_Sprites(benchmark::State& s) { RunVexlo(s, ALPHA_BLEND, true); }
void Vexlo_AlphaP200_Sprites(benchmark::State& s) { RunVexlo(s, ALPHA_BLEND_P200, true); }
void Pixman_Over_Sprites(benchmark::State& s) { RunPixman(s, PIXMAN_OP_OVER, true, Content::DISC, true); }
void Pixman_OverMask200_Sprites(benchmark::State& s) {
  RunPixman(s, PIXMAN_OP_OVER, true, Content::DISC, true, 200);
}
void Vexlo_Alpha_Screen(benchmark::State& s) { RunVexlo(s, ALPHA_BLEND_NOISE, false); }
void Vexlo_AlphaP200_Screen(benchmark::State& s) {
  RunVexlo(s, VexloCase{1, 200, 1, true, Content::RANDOM_ALPHA}, false);
}
void Pixman_Over_Screen(benchmark::State& s) {
  RunPixman(s, PIXMAN_OP_OVER, true, Content::RANDOM_ALPHA, false);
}
void Pixman_OverMask200_Screen(benchmark::State& s) {
  RunPixman(s, PIXMAN_OP_OVER, true, Content::RANDOM_ALPHA, false, 200);
}

void Vexlo_Add_Sprites(benchmark::State& s) { RunVexlo(s, ADD, true); }
void Pixman_Add_Sprites(benchmark::State& s) { RunPixman(s, PIXMAN_OP_ADD, false, Content::OPAQUE, true); }
void Vexlo_Add_Screen(benchmark::State& s) { RunVexlo(s, ADD, false); }
void Pixman_Add_Screen(benchmark::State& s) { RunPixman(s, PIXMAN_OP_ADD, false, Content::OPAQUE, false); }

// The sprite loops the game draws, at each level of vector extensions
// (the argument: 0 = SSE2 alone, 1 = with SSE4.1, 3 = with AVX2 as well):
// what each level's forms gain over the SSE2 ones in the same run.
void Level_KeyedCopy_Sprites(benchmark::State& s) {
  RunVexlo(s, VexloCase{0, 255, 1, false, Content::KEYED_DISC}, true, static_cast<int>(s.range(0)));
}
void Level_Alpha_Sprites(benchmark::State& s) { RunVexlo(s, ALPHA_BLEND, true, static_cast<int>(s.range(0))); }
void Level_AlphaP200_Sprites(benchmark::State& s) {
  RunVexlo(s, ALPHA_BLEND_P200, true, static_cast<int>(s.range(0)));
}
void Level_KeyedHalve_Sprites(benchmark::State& s) {
  RunVexlo(s, VexloCase{1, 128, 1, false, Content::KEYED_DISC}, true, static_cast<int>(s.range(0)));
}
void Level_KeyedBlendP_Sprites(benchmark::State& s) {
  RunVexlo(s, VexloCase{1, 32, 1, false, Content::KEYED_DISC}, true, static_cast<int>(s.range(0)));
}
void Level_KeyedModulated_Sprites(benchmark::State& s) {
  RunVexlo(s, VexloCase{0, 255, 1, false, Content::KEYED_DISC, 100, 100, 100}, true,
           static_cast<int>(s.range(0)));
}

}  // namespace

#define VEXLO_AT_EACH_LEVEL(bench) BENCHMARK(bench)->Arg(0)->Arg(MEMIMG_SSE41)->Arg(MEMIMG_SSE41 | MEMIMG_AVX2)
VEXLO_AT_EACH_LEVEL(Level_KeyedCopy_Sprites);
VEXLO_AT_EACH_LEVEL(Level_Alpha_Sprites);
VEXLO_AT_EACH_LEVEL(Level_AlphaP200_Sprites);
VEXLO_AT_EACH_LEVEL(Level_KeyedHalve_Sprites);
VEXLO_AT_EACH_LEVEL(Level_KeyedBlendP_Sprites);
VEXLO_AT_EACH_LEVEL(Level_KeyedModulated_Sprites);

BENCHMARK(Memcpy_Sprites);
BENCHMARK(Memcpy_Screen);
BENCHMARK(Vexlo_Copy_Sprites);
BENCHMARK(Pixman_Src_Sprites);
BENCHMARK(Vexlo_Copy_Screen);
BENCHMARK(Pixman_Src_Screen);
BENCHMARK(Vexlo_Alpha_Sprites);
BENCHMARK(Vexlo_AlphaP200_Sprites);
BENCHMARK(Pixman_Over_Sprites);
BENCHMARK(Pixman_OverMask200_Sprites);
BENCHMARK(Vexlo_Alpha_Screen);
BENCHMARK(Vexlo_AlphaP200_Screen);
BENCHMARK(Pixman_Over_Screen);
BENCHMARK(Pixman_OverMask200_Screen);
BENCHMARK(Vexlo_Add_Sprites);
BENCHMARK(Pixman_Add_Sprites);
BENCHMARK(Vexlo_Add_Screen);
BENCHMARK(Pixman_Add_Screen);

BENCHMARK_MAIN();
