// The special-cased loops of ConvertPixels for the pairs that loading and
// graph upload use, selected from a table keyed by what each one handles.
// The general rule is the last entry; every other entry gives the same
// pixels (checked by driving random images through both).
#include <cstring>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <tmmintrin.h>
#endif

#include "engine/images/PixelConversion.h"

namespace {

bool generalOnly = false;

uint32_t AllPixelBits(int bytesPerPixel) {
  return bytesPerPixel >= 4 ? 0xFFFFFFFFu : (1u << (8 * bytesPerPixel)) - 1u;
}

bool SameLayout(const ColorFormat& a, const ColorFormat& b) {
  return a.bitsPerPixel == b.bitsPerPixel && a.bytesPerPixel == b.bytesPerPixel &&
         a.redMask == b.redMask && a.greenMask == b.greenMask && a.blueMask == b.blueMask &&
         a.alphaMask == b.alphaMask;
}

// Rows of the job: source row, alpha row and the destination address of
// the first pixel written, with the step between written pixels.
struct RowWalk {
  const ConversionJob& job;
  int width;
  int sourceBytes, destinationBytes;

  explicit RowWalk(const ConversionJob& j)
      : job(j),
        width(j.sourceRect.x2 - j.sourceRect.x1),
        sourceBytes(j.sourceFormat->bytesPerPixel),
        destinationBytes(j.destinationFormat->bytesPerPixel) {}

  const uint8_t* Source(int row) const {
    return job.source + static_cast<ptrdiff_t>(job.sourceRect.y1 + row) * job.sourcePitch +
           static_cast<ptrdiff_t>(job.sourceRect.x1) * sourceBytes;
  }
  uint8_t* Destination(int row) const {
    int x = job.destinationX + (job.mirror ? width - 1 : 0);
    return job.destination + static_cast<ptrdiff_t>(job.destinationY + row) * job.destinationPitch +
           static_cast<ptrdiff_t>(x) * destinationBytes;
  }
  ptrdiff_t Step() const { return job.mirror ? -destinationBytes : destinationBytes; }
  int Rows() const { return job.sourceRect.y2 - job.sourceRect.y1; }
};

// --- Equal layouts: rows copied, noneMask bits set. ---

bool PlainCopyMatches(const ConversionJob& job) {
  const ColorFormat& dst = *job.destinationFormat;
  const ColorFormat& src = *job.sourceFormat;
  if (!SameLayout(dst, src) || dst.bytesPerPixel < 1 || dst.bytesPerPixel > 4) return false;
  if (job.alphaOnly || job.keyedCopy || (job.alphaFromRed && dst.alphaWidth != 0)) return false;
  if (IsPaletteFormat(src) && job.paletteRemap &&
      std::memcmp(dst.palette, src.palette, sizeof dst.palette) != 0) {
    return false;
  }
  return true;
}

void PlainCopyRun(const ConversionJob& job) {
  const ColorFormat& dst = *job.destinationFormat;
  RowWalk walk(job);
  const uint32_t all = AllPixelBits(dst.bytesPerPixel);
  const uint32_t keep = IsPaletteFormat(dst)
                            ? 0xFFu
                            : (dst.redMask | dst.greenMask | dst.blueMask | dst.alphaMask) & all;
  const uint32_t none = dst.noneMask & all;
  const bool wholeRows = !job.mirror && keep == all && none == 0;
  for (int row = 0; row < walk.Rows(); ++row) {
    const uint8_t* src = walk.Source(row);
    uint8_t* dstPixel = walk.Destination(row);
    if (wholeRows) {
      std::memcpy(dstPixel, src, static_cast<size_t>(walk.width) * walk.sourceBytes);
      continue;
    }
    const ptrdiff_t step = walk.Step();
    for (int i = 0; i < walk.width; ++i, src += walk.sourceBytes, dstPixel += step)
      WritePixelValue(dstPixel, walk.destinationBytes, (ReadPixelValue(src, walk.sourceBytes) & keep) | none);
  }
}

// --- Palette source into 16/24/32 bits: a 256-entry table per call. ---

bool NarrowsColour(const ColorFormat& dst, int sourceWidth) {
  return (dst.redWidth && dst.redWidth < sourceWidth) ||
         (dst.greenWidth && dst.greenWidth < sourceWidth) ||
         (dst.blueWidth && dst.blueWidth < sourceWidth);
}

bool PaletteLookupMatches(const ConversionJob& job) {
  const ColorFormat& dst = *job.destinationFormat;
  if (!IsPaletteFormat(*job.sourceFormat) || IsPaletteFormat(dst)) return false;
  if (dst.bytesPerPixel < 2 || dst.bytesPerPixel > 4) return false;
  if (job.ditherMode != DITHER_NONE && NarrowsColour(dst, 8)) return false;
  return job.alpha == nullptr || dst.alphaWidth == 0 || job.alphaFromRed;
}

void PaletteLookupRun(const ConversionJob& job) {
  uint32_t table[256];
  bool written[256];
  for (uint32_t i = 0; i < 256; ++i) {
    DiffusionState unused{};
    written[i] = ConvertOnePixel(job, i, 0, 0, 0, &unused, &table[i]);
  }
  RowWalk walk(job);
  const ptrdiff_t step = walk.Step();
  for (int row = 0; row < walk.Rows(); ++row) {
    const uint8_t* src = walk.Source(row);
    uint8_t* dst = walk.Destination(row);
    for (int i = 0; i < walk.width; ++i, dst += step) {
      uint8_t index = src[i];
      if (written[index]) WritePixelValue(dst, walk.destinationBytes, table[index]);
    }
  }
}

// --- 24/32-bit sources with 8-bit channels at 16, 8, 0 (alpha at 24). ---

bool EightBitSource(const ColorFormat& src) {
  if (IsPaletteFormat(src) || (src.bytesPerPixel != 3 && src.bytesPerPixel != 4)) return false;
  if (src.redMask != 0xFF0000u || src.greenMask != 0xFF00u || src.blueMask != 0xFFu) return false;
  return src.alphaMask == 0 || (src.bytesPerPixel == 4 && src.alphaMask == 0xFF000000u);
}

bool EightBitOptionsMatch(const ConversionJob& job) {
  if (job.alphaOnly || job.alphaFromRed) return false;
  const ColorFormat& dst = *job.destinationFormat;
  return job.alpha == nullptr || dst.alphaWidth == 0 || job.sourceFormat->alphaWidth != 0;
}

// The destination's alpha bits for a source pixel (alpha8 < 0: none).
struct AlphaRule {
  bool present, fromSource, keyToAlpha;
  int width, shift;
  uint32_t opaque;
};

AlphaRule MakeAlphaRule(const ConversionJob& job) {
  const ColorFormat& dst = *job.destinationFormat;
  AlphaRule rule{};
  rule.present = dst.alphaWidth != 0;
  rule.fromSource = job.sourceFormat->alphaWidth != 0;
  rule.keyToAlpha = job.keyToAlpha && !rule.fromSource;
  rule.width = dst.alphaWidth;
  rule.shift = dst.alphaShift;
  rule.opaque = dst.alphaMask;
  return rule;
}

// Source and destination pixel sizes are compile-time constants here, so
// the per-pixel reads and writes are plain loads and stores.
template <int SourceBytes, int DestinationBytes, typename Pack>
void EightBitRows(const ConversionJob& job, Pack pack) {
  RowWalk walk(job);
  const ptrdiff_t step = walk.Step();
  const uint32_t key = job.key & 0xFFFFFFu;
  const bool skipKeyed = job.keyedCopy && !job.mirror;
  const AlphaRule alpha = MakeAlphaRule(job);
  const bool keyToAlpha = alpha.present && alpha.keyToAlpha;
  const uint32_t constantAlpha = alpha.present && !alpha.fromSource ? alpha.opaque : 0;
  for (int row = 0; row < walk.Rows(); ++row) {
    const uint8_t* src = walk.Source(row);
    uint8_t* dst = walk.Destination(row);
    for (int i = 0; i < walk.width; ++i, src += SourceBytes, dst += step) {
      uint32_t value = ReadPixelValue(src, SourceBytes);
      bool keyed = (value & 0xFFFFFFu) == key;
      if (skipKeyed && keyed) continue;
      uint32_t alphaBits = constantAlpha;
      if (alpha.present && alpha.fromSource)
        alphaBits = ((value >> 24) >> (8 - alpha.width)) << alpha.shift;
      else if (keyToAlpha && keyed)
        alphaBits = 0;
      WritePixelValue(dst, DestinationBytes, pack(value) | alphaBits);
    }
  }
}

template <int DestinationBytes, typename Pack>
void EightBitRun(const ConversionJob& job, Pack pack) {
  if (job.sourceFormat->bytesPerPixel == 3)
    EightBitRows<3, DestinationBytes>(job, pack);
  else
    EightBitRows<4, DestinationBytes>(job, pack);
}

// The mask is exactly `width` bits from `shift` (builders can make others
// from odd masks; those take the general rule).
bool Contiguous(uint32_t mask, int shift, int width) {
  return mask == (((uint64_t{1} << width) - 1u) << shift);
}

bool ToSixteenMatches(const ConversionJob& job) {
  const ColorFormat& dst = *job.destinationFormat;
  if (!EightBitSource(*job.sourceFormat) || !EightBitOptionsMatch(job)) return false;
  if (dst.bytesPerPixel != 2 || IsPaletteFormat(dst)) return false;
  if (!Contiguous(dst.redMask, dst.redShift, dst.redWidth) ||
      !Contiguous(dst.greenMask, dst.greenShift, dst.greenWidth) ||
      !Contiguous(dst.blueMask, dst.blueShift, dst.blueWidth) ||
      !Contiguous(dst.alphaMask, dst.alphaShift, dst.alphaWidth)) {
    return false;
  }
  if (dst.redWidth == 0 || dst.greenWidth == 0 || dst.blueWidth == 0) return false;
  if (dst.redWidth > 8 || dst.greenWidth > 8 || dst.blueWidth > 8 || dst.alphaWidth > 8) return false;
  return job.ditherMode == DITHER_NONE;
}

void ToSixteenRun(const ConversionJob& job) {
  const ColorFormat& dst = *job.destinationFormat;
  const int rs = 24 - dst.redWidth, gs = 16 - dst.greenWidth, bs = 8 - dst.blueWidth;
  const uint32_t rmax = (1u << dst.redWidth) - 1, gmax = (1u << dst.greenWidth) - 1,
                 bmax = (1u << dst.blueWidth) - 1;
  const int rd = dst.redShift, gd = dst.greenShift, bd = dst.blueShift;
  const uint32_t none = dst.noneMask & 0xFFFFu;
  EightBitRun<2>(job, [=](uint32_t v) {
    return (((v >> rs) & rmax) << rd) | (((v >> gs) & gmax) << gd) | (((v >> bs) & bmax) << bd) |
           none;
  });
}

bool ToThirtyTwoMatches(const ConversionJob& job) {
  const ColorFormat& dst = *job.destinationFormat;
  if (!EightBitSource(*job.sourceFormat) || !EightBitOptionsMatch(job)) return false;
  if (dst.redMask != 0xFF0000u || dst.greenMask != 0xFF00u || dst.blueMask != 0xFFu) return false;
  if (dst.bytesPerPixel == 3) return dst.alphaMask == 0;
  return dst.bytesPerPixel == 4 && (dst.alphaMask == 0 || dst.alphaMask == 0xFF000000u);
}

void ToThirtyTwoRun(const ConversionJob& job) {
  const uint32_t none = job.destinationFormat->noneMask &
                        AllPixelBits(job.destinationFormat->bytesPerPixel);
  auto pack = [=](uint32_t v) { return (v & 0xFFFFFFu) | none; };
  if (job.destinationFormat->bytesPerPixel == 3)
    EightBitRun<3>(job, pack);
  else
    EightBitRun<4>(job, pack);
}

// --- 24-bit 8-bit channels into 32 bits, unmirrored, every pixel written:
// the loading of full-colour images into ARGB. Where the processor has a
// byte shuffle (SSSE3), four pixels are spread from one 16-byte load into
// words, compared with the key in one step and stored as one 16-byte
// write. Otherwise (and for the last pixels of a row, where a 16-byte load
// would pass the row's end) four pixels are twelve bytes read as three
// words and split with shifts (all targets are little-endian). The key
// test is a select, not a branch. ---

bool TwentyFourToThirtyTwoMatches(const ConversionJob& job) {
  return ToThirtyTwoMatches(job) && job.sourceFormat->bytesPerPixel == 3 &&
         job.destinationFormat->bytesPerPixel == 4 && !job.mirror && !job.keyedCopy;
}

uint32_t LoadWord(const uint8_t* bytes) {
  uint32_t word;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

void StoreWord(uint8_t* bytes, uint32_t word) { std::memcpy(bytes, &word, sizeof word); }

// The bits added to a colour: the none bits, and an opaque alpha unless the
// pixel carries the key and the key becomes transparency.
struct KeyFill {
  uint32_t key, fill, keyedFill;
  uint32_t operator()(uint32_t colour) const { return colour | (colour == key ? keyedFill : fill); }
};

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define VEXLO_SHUFFLE_LOOP 1
// Pixels [0, count) of a row in groups of four by 16-byte loads, one byte
// shuffle spreading the four pixels into words; returns the number
// converted. A group is only taken while its load (sixteen bytes from its
// first pixel) stays within the row's bytes. Built for SSSE3 and run only
// where the processor has it.
__attribute__((target("ssse3"))) int TwentyFourToThirtyTwoShuffle(const uint8_t* src, uint8_t* out, int count,
                                                                    const KeyFill& fill) {
  const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m128i key = _mm_set1_epi32(static_cast<int>(fill.key));
  const __m128i plainFill = _mm_set1_epi32(static_cast<int>(fill.fill));
  const __m128i fillChange = _mm_set1_epi32(static_cast<int>(fill.fill ^ fill.keyedFill));
  int i = 0;
  for (; (i + 4) * 3 + 4 <= count * 3; i += 4, src += 12, out += 16) {
    const __m128i colours = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src)), spread);
    const __m128i keyed = _mm_cmpeq_epi32(colours, key);
    const __m128i added = _mm_xor_si128(plainFill, _mm_and_si128(keyed, fillChange));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_or_si128(colours, added));
  }
  return i;
}

bool ProcessorHasSsse3() {
  static const bool has = __builtin_cpu_supports("ssse3");
  return has;
}
#endif

void TwentyFourToThirtyTwoRun(const ConversionJob& job) {
  const ColorFormat& dst = *job.destinationFormat;
  RowWalk walk(job);
  const uint32_t fill = dst.noneMask | dst.alphaMask;
  const KeyFill pixel{job.key & 0xFFFFFFu, fill, job.keyToAlpha ? dst.noneMask : fill};
  for (int row = 0; row < walk.Rows(); ++row) {
    const uint8_t* src = walk.Source(row);
    uint8_t* out = walk.Destination(row);
    int i = 0;
#if defined(VEXLO_SHUFFLE_LOOP)
    if (ProcessorHasSsse3()) {
      i = TwentyFourToThirtyTwoShuffle(src, out, walk.width, pixel);
      src += 3 * i;
      out += 4 * i;
    }
#endif
    for (; i + 4 <= walk.width; i += 4, src += 12, out += 16) {
      const uint32_t w0 = LoadWord(src), w1 = LoadWord(src + 4), w2 = LoadWord(src + 8);
      StoreWord(out, pixel(w0 & 0xFFFFFFu));
      StoreWord(out + 4, pixel((w0 >> 24) | ((w1 & 0xFFFFu) << 8)));
      StoreWord(out + 8, pixel((w1 >> 16) | ((w2 & 0xFFu) << 16)));
      StoreWord(out + 12, pixel(w2 >> 8));
    }
    for (; i < walk.width; ++i, src += 3, out += 4) StoreWord(out, pixel(ReadPixelValue(src, 3)));
  }
}

bool Always(const ConversionJob&) { return true; }

const ConversionPath PATHS[] = {
    {"plain copy", PlainCopyMatches, PlainCopyRun},
    {"palette lookup", PaletteLookupMatches, PaletteLookupRun},
    {"8-bit channels to 16 bits", ToSixteenMatches, ToSixteenRun},
    {"24-bit 8-bit channels to 32 bits", TwentyFourToThirtyTwoMatches, TwentyFourToThirtyTwoRun},
    {"8-bit channels to 24/32 bits", ToThirtyTwoMatches, ToThirtyTwoRun},
    {"general rule", Always, ConvertPixelsGeneral},
};
constexpr int PATH_COUNT = sizeof PATHS / sizeof PATHS[0];

}  // namespace

const ConversionPath& SelectConversionPath(const ConversionJob& job) {
  if (generalOnly) return PATHS[PATH_COUNT - 1];
  for (const ConversionPath& path : PATHS)
    if (path.matches(job)) return path;
  return PATHS[PATH_COUNT - 1];
}

const ConversionPath* ConversionPaths(int* count) {
  *count = PATH_COUNT;
  return PATHS;
}

void SetGeneralConversionOnly(bool on) { generalOnly = on; }

int ConvertPixels(void* destination, int destinationPitch, const ColorFormat& destinationFormat,
                  const void* source, int sourcePitch, const ColorFormat& sourceFormat,
                  const void* alpha, int alphaPitch, const ColorFormat* alphaFormat,
                  int destinationX, int destinationY, const PixelRect& sourceRect, int mirror,
                  int keyToAlpha, uint32_t key, int ditherMode, int alphaOnly, int alphaFromRed,
                  int keyedCopy, int paletteRemap) {
  if (destination == nullptr || source == nullptr) return -1;
  if (sourceRect.x2 <= sourceRect.x1 || sourceRect.y2 <= sourceRect.y1) return -1;
  if (sourceFormat.bytesPerPixel < 1 || sourceFormat.bytesPerPixel > 4 ||
      destinationFormat.bytesPerPixel < 1 || destinationFormat.bytesPerPixel > 4) {
    return -1;
  }
  if (alpha != nullptr && (alphaFormat == nullptr || alphaFormat->bytesPerPixel < 1 ||
                           alphaFormat->bytesPerPixel > 4)) {
    alpha = nullptr;
  }
  ConversionJob job{};
  job.destination = static_cast<uint8_t*>(destination);
  job.destinationPitch = destinationPitch;
  job.destinationFormat = &destinationFormat;
  job.source = static_cast<const uint8_t*>(source);
  job.sourcePitch = sourcePitch;
  job.sourceFormat = &sourceFormat;
  job.alpha = static_cast<const uint8_t*>(alpha);
  job.alphaPitch = alphaPitch;
  job.alphaFormat = alphaFormat;
  job.destinationX = destinationX;
  job.destinationY = destinationY;
  job.sourceRect = sourceRect;
  job.mirror = mirror != 0;
  job.keyToAlpha = keyToAlpha != 0;
  job.key = key;
  job.ditherMode = ditherMode;
  job.alphaOnly = alphaOnly != 0;
  job.alphaFromRed = alphaFromRed != 0;
  job.keyedCopy = keyedCopy != 0;
  job.paletteRemap = paletteRemap != 0;
  SelectConversionPath(job).run(job);
  return 0;
}
