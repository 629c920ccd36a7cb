#include "engine/movie/Movie.h"

namespace {

constexpr int TERMS = 5;
// BT.601 studio range: Y 16..235, chroma centred on 128.
constexpr double COEFFICIENTS[TERMS] = {1.164, 1.596, -0.391, -0.813, 2.018};
int32_t colorTables[TERMS][256];

}  // namespace

void BuildMovieColorTables() {
  for (int i = 0; i < 256; ++i) {
    const double luma = (i - 16) * COEFFICIENTS[0];
    const double chroma = i - 128;
    colorTables[0][i] = static_cast<int32_t>(luma * 65536.0);
    for (int term = 1; term < TERMS; ++term) {
      colorTables[term][i] = static_cast<int32_t>(chroma * COEFFICIENTS[term] * 65536.0);
    }
  }
}

const int32_t* MovieColorTable(int term) {
  if (term < 0 || term >= TERMS) return nullptr;
  return colorTables[term];
}

void PauseAllMovies() {}
void ResumePausedMovies() {}
void AdvancePlayingMovies() {}
