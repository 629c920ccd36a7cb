#include "engine/graphics/software/SpanLoopTable.h"

#include "engine/graphics/software/MemImgDraw.h"

bool memImgForceGeneralRule = false;

namespace {

constexpr ImageSpanChoice GENERAL_IMAGE_SPAN{"general rule", GeneralImageSpan};
constexpr ColorSpanChoice GENERAL_COLOR_SPAN{"general colour rule", GeneralColorSpan};

}  // namespace

namespace {

ImageSpanChoice FindImageSpanLoop(const SpanKey& key) {
  for (ImageSpanEntryList list : {FastImageSpans32(), FastImageSpans16()}) {
    for (int i = 0; i < list.count; ++i) {
      const ImageSpanEntry& entry = list.entries[i];
      if (entry.pattern.Matches(key)) return ImageSpanChoice{entry.name, entry.loop};
    }
  }
  return GENERAL_IMAGE_SPAN;
}

bool SameKey(const SpanKey& a, const SpanKey& b) {
  return a.depth == b.depth && a.source == b.source && a.mode == b.mode &&
         a.shortcut == b.shortcut && a.modulated == b.modulated && a.blendImage == b.blendImage &&
         a.transparent == b.transparent;
}

}  // namespace

ImageSpanChoice SelectImageSpanLoop(const SpanKey& key) {
  if (memImgForceGeneralRule) return GENERAL_IMAGE_SPAN;
  // Draws come in runs of the same kind (a sheet of sprites, a line of
  // text): the last answer saves the table walk. Drawing happens on the
  // engine's one calling thread.
  static SpanKey lastKey{};
  static ImageSpanChoice lastChoice{nullptr, nullptr};
  if (lastChoice.loop == nullptr || !SameKey(key, lastKey)) {
    lastKey = key;
    lastChoice = FindImageSpanLoop(key);
  }
  return lastChoice;
}

ColorSpanChoice SelectColorSpanLoop(const ColorSpanKey& key) {
  if (memImgForceGeneralRule) return GENERAL_COLOR_SPAN;
  ColorSpanEntryList list = FastColorSpans();
  for (int i = 0; i < list.count; ++i) {
    const ColorSpanEntry& entry = list.entries[i];
    if (entry.Matches(key)) return ColorSpanChoice{entry.name, entry.loop};
  }
  return GENERAL_COLOR_SPAN;
}

int ListMemImgSpanLoops(const char** names, int capacity) {
  int total = 0;
  for (ImageSpanEntryList list : {FastImageSpans32(), FastImageSpans16()}) {
    for (int i = 0; i < list.count; ++i, ++total) {
      if (total < capacity) names[total] = list.entries[i].name;
    }
  }
  return total;
}
