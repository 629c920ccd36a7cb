#include "engine/platform/faults/FaultPoints.h"

#include <atomic>
#include <cstdio>

namespace faults {
namespace {

struct Point {
  std::atomic<uint64_t> calls{0};
  std::atomic<uint64_t> armedAt{0};  // 0: disarmed
  std::atomic<bool> fired{false};
};

Point points[BOUNDARY_COUNT];
std::atomic<bool> counting{true};
std::atomic<ReadFault> readFault{ReadFault::FAIL};
std::atomic<FiredHook> firedHook{nullptr};
char failedCallName[128];  // written once, by the failing call

}  // namespace

bool Fails(Boundary boundary) {
  if (!counting.load(std::memory_order_relaxed)) return false;
  Point& point = points[boundary];
  const uint64_t number = point.calls.fetch_add(1, std::memory_order_relaxed) + 1;
  if (number != point.armedAt.load(std::memory_order_relaxed)) return false;
  point.fired.store(true, std::memory_order_relaxed);
  if (FiredHook hook = firedHook.load()) hook(boundary);
  return true;
}

void Arm(Boundary boundary, uint64_t nth) {
  Point& point = points[boundary];
  point.calls.store(0);
  point.fired.store(false);
  point.armedAt.store(nth);
}

uint64_t Calls(Boundary boundary) { return points[boundary].calls.load(); }
bool Fired(Boundary boundary) { return points[boundary].fired.load(); }

void SetCounting(bool on) { counting.store(on); }

void SetFiredHook(FiredHook hook) { firedHook.store(hook); }

void NameFailedCall(const char* name) { std::snprintf(failedCallName, sizeof failedCallName, "%s", name); }
const char* FailedCallName() { return failedCallName; }

void SetReadFault(ReadFault fault) { readFault.store(fault); }
ReadFault ReadFaultInForce() { return readFault.load(); }

void Reset() {
  for (int boundary = 0; boundary < BOUNDARY_COUNT; ++boundary) Arm(Boundary(boundary), 0);
  counting.store(true);
  readFault.store(ReadFault::FAIL);
  firedHook.store(nullptr);
  failedCallName[0] = '\0';
}

}  // namespace faults
