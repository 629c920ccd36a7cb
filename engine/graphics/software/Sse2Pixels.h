// SSE2 building blocks for the 32-bit span loops: four pixels per register,
// widened to 16-bit lanes two pixels at a time for the channel arithmetic.
// SSE2 is part of every x86-64 processor, so both builds have it; on other
// processors the loops fall back to their scalar forms.
#pragma once

#if defined(__SSE2__)
#define VEXLO_HAVE_SSE2 1
#include <emmintrin.h>

#include <cstdint>

inline __m128i LoadPixels4(const uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void StorePixels4(uint8_t* p, __m128i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

// Lanes of mask set take ifSet, the others ifClear.
inline __m128i SelectLanes(__m128i mask, __m128i ifSet, __m128i ifClear) {
  return _mm_or_si128(_mm_and_si128(mask, ifSet), _mm_andnot_si128(mask, ifClear));
}

// Keeps blue, green and red of each pixel; the fourth byte becomes 0.
inline __m128i ColorBytesOnly(__m128i v) { return _mm_and_si128(v, _mm_set1_epi32(0x00FFFFFF)); }

// The value of each pixel's 32-bit lane (below 65536) repeated in the four 16-bit
// lanes of that pixel, for pixels 0-1 (low) and 2-3 (high).
inline void SpreadPerPixel(__m128i values, __m128i* low, __m128i* high) {
  __m128i pairs = _mm_or_si128(values, _mm_slli_epi32(values, 16));
  *low = _mm_unpacklo_epi32(pairs, pairs);
  *high = _mm_unpackhi_epi32(pairs, pairs);
}

// d + floor((s - d) * f / 256) per 16-bit lane of 8-bit values, f 0..256
// given as f << 6 (WeightLanes): d blended toward s by one weight. Four
// times the difference times f << 6 is (s - d) * f * 256, whose high half
// (a signed multiply, so a floor) is the blended step; f = 256 gives s and
// f = 0 gives d exactly.
inline __m128i BlendLanesByWeight(__m128i d, __m128i s, __m128i weightShifted) {
  __m128i difference = _mm_slli_epi16(_mm_sub_epi16(s, d), 2);
  return _mm_add_epi16(d, _mm_mulhi_epi16(difference, weightShifted));
}

// A weight for BlendLanesByWeight.
inline __m128i WeightLanes(int weight) { return _mm_set1_epi16(static_cast<short>(weight << 6)); }

// d + floor((s - d) * F / 65536) per 16-bit lane, F 0..65535: d blended
// toward s by a product of two weights. The signed multiply reads F as
// F - 65536 when its top bit is set; adding the difference back to the
// high half undoes that, and the high half of the signed product is its
// floor.
inline __m128i BlendLanesByProduct(__m128i d, __m128i s, __m128i product) {
  __m128i difference = _mm_sub_epi16(s, d);
  __m128i high = _mm_mulhi_epi16(difference, product);
  __m128i correction = _mm_and_si128(_mm_srai_epi16(product, 15), difference);
  return _mm_add_epi16(d, _mm_add_epi16(high, correction));
}

// x * m / 255 exactly, per 16-bit lane of 8-bit values: with t = x * m,
// (t * 0x8081) >> 23 equals t / 255 for every 16-bit t; the unsigned high
// half of the product is (t * 0x8081) >> 16.
inline __m128i MulDiv255Lanes(__m128i x, __m128i m) {
  __m128i t = _mm_mullo_epi16(x, m);
  return _mm_srli_epi16(_mm_mulhi_epu16(t, _mm_set1_epi16(static_cast<short>(0x8081))), 7);
}

// Runs a lane operation over four pixels: widens both to 16-bit lanes, two
// pixels at a time, and packs the results back to bytes.
template <typename LaneOp>
inline __m128i PerChannel(__m128i d, __m128i s, LaneOp op) {
  __m128i zero = _mm_setzero_si128();
  __m128i low = op(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(s, zero), 0);
  __m128i high = op(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero), 1);
  return _mm_packus_epi16(low, high);
}

#endif
