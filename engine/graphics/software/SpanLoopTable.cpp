// The span-loop tables: the specialised loops of FastSpans32Avx2 (taken
// only where the processor has AVX2), FastSpans32Sse41 (only with SSE4.1),
// FastSpans32, FastSpans16 and
// FastColorSpans, tried in order, and last the general rules, which match
// every key.
#include "engine/graphics/software/SpanLoopTable.h"

#include "engine/graphics/software/MemImgDraw.h"

bool memImgForceGeneralRule = false;

namespace {

constexpr uint16_t ALL_MODES = 0xFFFF;

const ImageSpanEntry GENERAL_IMAGE_ENTRY[] = {
    {"general rule",
     ImageSpanPattern{ANY_DEPTH, FROM_PALETTE | FROM_DIRECT | FROM_ALPHA, ALL_MODES,
                      NO_SHORTCUT | HALVING | SATURATING, ANY_MODULATION,
                      NO_BLEND_IMAGE | WITH_BLEND_IMAGE, ANY_TRANSPARENCY},
     GeneralImageSpan},
};
const ColorSpanEntry GENERAL_COLOR_ENTRY[] = {
    {"general colour rule", ANY_DEPTH, ALL_MODES, GeneralColorSpan},
};

ImageSpanChoice Choice(const ImageSpanEntry& entry) { return {entry.name, entry.loop}; }
ColorSpanChoice Choice(const ColorSpanEntry& entry) { return {entry.name, entry.loop}; }

// The whole image table, in the order it is searched.
struct ImageSpanTable {
  ImageSpanEntryList parts[5];
  ImageSpanTable()
      : parts{FastImageSpans32Avx2(), FastImageSpans32Sse41(), FastImageSpans32(), FastImageSpans16(),
              ImageSpanEntryList{GENERAL_IMAGE_ENTRY, 1}} {}
};

ImageSpanChoice FindImageSpanLoop(const SpanKey& key) {
  static const ImageSpanTable table;
  for (const ImageSpanEntryList& part : table.parts) {
    for (int i = 0; i < part.count; ++i) {
      if (part.entries[i].pattern.Matches(key)) return Choice(part.entries[i]);
    }
  }
  return Choice(GENERAL_IMAGE_ENTRY[0]);  // not reached: the general entry matches all
}

bool SameKey(const SpanKey& a, const SpanKey& b) {
  return a.depth == b.depth && a.source == b.source && a.mode == b.mode &&
         a.shortcut == b.shortcut && a.modulated == b.modulated && a.blendImage == b.blendImage &&
         a.transparent == b.transparent && a.vectorExtensions == b.vectorExtensions;
}

}  // namespace

ImageSpanChoice SelectImageSpanLoop(const SpanKey& key) {
  if (memImgForceGeneralRule) return Choice(GENERAL_IMAGE_ENTRY[0]);
  // Draws come in runs of the same kind (a sheet of sprites, a line of
  // text): the last answer saves the table walk.
  thread_local SpanKey lastKey{};
  thread_local ImageSpanChoice lastChoice{nullptr, nullptr};
  if (lastChoice.loop == nullptr || !SameKey(key, lastKey)) {
    lastKey = key;
    lastChoice = FindImageSpanLoop(key);
  }
  return lastChoice;
}

ColorSpanChoice SelectColorSpanLoop(const ColorSpanKey& key) {
  if (memImgForceGeneralRule) return Choice(GENERAL_COLOR_ENTRY[0]);
  for (ColorSpanEntryList part : {FastColorSpans(), ColorSpanEntryList{GENERAL_COLOR_ENTRY, 1}}) {
    for (int i = 0; i < part.count; ++i) {
      if (part.entries[i].Matches(key)) return Choice(part.entries[i]);
    }
  }
  return Choice(GENERAL_COLOR_ENTRY[0]);
}

int ListMemImgSpanLoops(const char** names, int capacity) {
  int total = 0;
  for (ImageSpanEntryList part :
       {FastImageSpans32Avx2(), FastImageSpans32Sse41(), FastImageSpans32(), FastImageSpans16()}) {
    for (int i = 0; i < part.count; ++i) {
      uint8_t needs = part.entries[i].pattern.needs;
      if ((needs & memImgVectorExtensions) != needs) continue;
      if (total < capacity) names[total] = part.entries[i].name;
      ++total;
    }
  }
  return total;
}
