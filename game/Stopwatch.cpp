#include "game/Stopwatch.h"

#include <cstdint>

#include "engine/core/Engine.h"

namespace {

// NowMilliseconds counts modulo 2^31 (it wraps from 0x7FFFFFFF to 0), so a
// stretch is measured in that modulus and stays right across the wrap.
int SinceStart(int start) {
  const uint32_t now = static_cast<uint32_t>(NowMilliseconds(0));
  return static_cast<int>((now - static_cast<uint32_t>(start)) & 0x7FFFFFFFu);
}

}  // namespace

int Stopwatch::Elapsed() const { return accumulated + (running ? SinceStart(start) : 0); }

void Stopwatch::Start() {
  if (running) return;
  start = NowMilliseconds(0);
  running = true;
}

void Stopwatch::Stop() {
  if (!running) return;
  accumulated += SinceStart(start);
  running = false;
}
