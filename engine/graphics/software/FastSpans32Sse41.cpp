// SSE4.1 forms of 32-bit span loops, for processors that have SSE4.1 but
// not AVX2, where they pay: four pixels per register and the same
// arithmetic as the SSE2 loops of FastSpans32, with the byte blend
// (pblendvb) picking keyed pixels in one step instead of and, andnot and
// or, and the all-bits test (ptest) finding wholly keyed groups.
//
// Measured against the SSE2 forms in the same run (software_renderer_bench,
// Level_ rows, 1000 keyed 48 x 48 sprites): the keyed halve gains a few per
// cent. The keyed copy, the keyed blend by P, the modulated copy and the
// alpha blends gained nothing or lost with the same instructions (their
// SSE2 forms are already a few instructions per pixel and wait on memory),
// so they have no SSE4.1 form.
//
// Only these functions are built for SSE4.1 (a target attribute each); the
// table offers them only when start-up found SSE4.1 (MEMIMG_SSE41).
#include "engine/graphics/software/MemImgDraw.h"
#include "engine/graphics/software/PixelAccess.h"
#include "engine/graphics/software/ScalarBlend32.h"
#include "engine/graphics/software/SpanLoopTable.h"
#include "engine/graphics/software/Sse2Pixels.h"

#if VEXLO_HAVE_SSE2 && (defined(__x86_64__) || defined(__i386__))
#include <smmintrin.h>

#define VEXLO_SSE41 __attribute__((target("sse4.1")))

namespace {

// Lanes of mask set take ifSet, the others ifClear (masks are whole pixels).
VEXLO_SSE41 inline __m128i Pick(__m128i mask, __m128i ifSet, __m128i ifClear) {
  return _mm_blendv_epi8(ifClear, ifSet, mask);
}

VEXLO_SSE41 inline bool AllSet(__m128i mask) { return _mm_test_all_ones(mask) != 0; }

// Mode 1 at P 128, source without alpha (as Halve32).
template <bool Transparent>
VEXLO_SSE41 void Halve32Sse41(uint8_t* dst, const uint8_t* src, const uint8_t*, int count,
                              const SpanContext& c) {
  int i = 0;
  const __m128i key = _mm_set1_epi32(static_cast<int>(c.colorKey));
  const __m128i halfMask = _mm_set1_epi32(0x7F7F7F);
  for (; i + 4 <= count; i += 4) {
    __m128i s = LoadPixels4(src + 4 * i);
    __m128i keyed = _mm_cmpeq_epi32(s, key);
    if (Transparent && AllSet(keyed)) continue;
    __m128i d = LoadPixels4(dst + 4 * i);
    __m128i result = _mm_add_epi32(_mm_and_si128(_mm_srli_epi32(s, 1), halfMask),
                                   _mm_and_si128(_mm_srli_epi32(d, 1), halfMask));
    if (Transparent) result = Pick(keyed, d, result);
    StorePixels4(dst + 4 * i, result);
  }
  for (; i < count; ++i) {
    uint32_t s = LoadPixel32(src + 4 * i);
    if (Transparent && s == c.colorKey) continue;
    StorePixel32(dst + 4 * i, HalvePixel(LoadPixel32(dst + 4 * i), s));
  }
}

constexpr ImageSpanPattern Sse41Pattern(uint8_t sources, uint16_t modes, uint8_t transparency,
                                        uint8_t shortcuts) {
  return ImageSpanPattern{DEPTH32, sources, modes, shortcuts, WHITE, NO_BLEND_IMAGE, transparency, MEMIMG_SSE41};
}

const ImageSpanEntry FAST_SPANS_32_SSE41[] = {
    {"32 SSE4.1: keyed halve", Sse41Pattern(FROM_DIRECT, Modes({1}), TRANSPARENT, HALVING), Halve32Sse41<true>},
};

}  // namespace

ImageSpanEntryList FastImageSpans32Sse41() {
  return ImageSpanEntryList{FAST_SPANS_32_SSE41,
                            static_cast<int>(sizeof FAST_SPANS_32_SSE41 / sizeof FAST_SPANS_32_SSE41[0])};
}

#else

// Other processors have no SSE4.1 forms.
ImageSpanEntryList FastImageSpans32Sse41() { return ImageSpanEntryList{nullptr, 0}; }

#endif
