#include "engine/mask3d/SineTable.h"

#include <cmath>

#include "engine/services/Memory.h"

namespace {
float* sineTable = nullptr;
}

int BuildSineTable() {
  if (sineTable != nullptr) return 0;
  sineTable = static_cast<float*>(MemAlloc(sizeof(float) * SINE_TABLE_SIZE, "", 0));
  if (sineTable == nullptr) return -1;
  const double step = 2.0 * 3.14159265358979323846 / SINE_TABLE_SIZE;
  for (int i = 0; i < SINE_TABLE_SIZE; ++i) sineTable[i] = static_cast<float>(std::sin(i * step));
  return 0;
}

void ReleaseSineTable() {
  MemFree(sineTable);
  sineTable = nullptr;
}

float TableSine(int angle) {
  if (sineTable == nullptr) return 0.0f;
  return sineTable[angle & (SINE_TABLE_SIZE - 1)];
}
