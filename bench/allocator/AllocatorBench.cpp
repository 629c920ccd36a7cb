// MemAlloc/MemFree against malloc/free, measured in the same run, and the
// ratio of each pair. The tracked allocator adds a header, a guard copy, a
// re-entrant lock and constant-time list changes to the heap call; the aim
// is to stay within 1.5 times the heap's own cost.
//
// Pairs: one block allocated and released at once (the list stays short).
// Batches: 1024 live blocks released in a shuffled order, so releases hit
// the middle of a long list; they must cost no more per block than pairs.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "engine/services/Memory.h"

namespace {

constexpr int BATCH = 1024;

void* HeapAlloc(size_t size) { return std::malloc(size); }
void HeapFree(void* block) { std::free(block); }
void* TrackedAlloc(size_t size) { return MemAlloc(size, "", 0); }
void TrackedFree(void* block) { MemFree(block); }

template <void* (*Alloc)(size_t), void (*Free)(void*)>
void Pair(benchmark::State& state) {
  const size_t size = static_cast<size_t>(state.range(0));
  for (auto _ : state) {
    void* block = Alloc(size);
    benchmark::DoNotOptimize(block);
    Free(block);
    benchmark::ClobberMemory();
  }
}

std::vector<int> ShuffledOrder() {
  std::vector<int> order(BATCH);
  for (int i = 0; i < BATCH; ++i) order[static_cast<size_t>(i)] = i;
  std::shuffle(order.begin(), order.end(), std::mt19937(1234));
  return order;
}

template <void* (*Alloc)(size_t), void (*Free)(void*)>
void Batch(benchmark::State& state) {
  const size_t size = static_cast<size_t>(state.range(0));
  const std::vector<int> order = ShuffledOrder();
  std::vector<void*> blocks(BATCH);
  for (auto _ : state) {
    for (void*& block : blocks) {
      block = Alloc(size);
      benchmark::DoNotOptimize(block);
    }
    for (int index : order) Free(blocks[static_cast<size_t>(index)]);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * BATCH);
}

BENCHMARK_TEMPLATE(Pair, HeapAlloc, HeapFree)->Name("Pair/malloc")->Arg(16)->Arg(64)->Arg(1024);
BENCHMARK_TEMPLATE(Pair, TrackedAlloc, TrackedFree)->Name("Pair/MemAlloc")->Arg(16)->Arg(64)->Arg(1024);
BENCHMARK_TEMPLATE(Batch, HeapAlloc, HeapFree)->Name("Batch/malloc")->Arg(64);
BENCHMARK_TEMPLATE(Batch, TrackedAlloc, TrackedFree)->Name("Batch/MemAlloc")->Arg(64);

// Passes every run on to the console and keeps each one's time per
// iteration, so the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      // With repetitions the median stands for the benchmark.
      if (run.run_type == Run::RT_Iteration && medians_.count(run.run_name.str()) == 0) {
        times_[run.run_name.str()] = run.GetAdjustedCPUTime();
      } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        times_[run.run_name.str()] = run.GetAdjustedCPUTime();
        medians_[run.run_name.str()] = true;
      }
    }
  }

  void PrintRatios() const {
    std::printf("\nTracked allocator / C heap (CPU time; aim: at most 1.50)\n");
    for (const auto& entry : times_) {
      const std::string& name = entry.first;
      const size_t at = name.find("/MemAlloc");
      if (at == std::string::npos) continue;
      const std::string heapName = name.substr(0, at) + "/malloc" + name.substr(at + 9);
      auto heap = times_.find(heapName);
      if (heap == times_.end() || heap->second <= 0) continue;
      std::printf("  %-22s %.2f\n", name.c_str(), entry.second / heap->second);
    }
  }

 private:
  std::map<std::string, double> times_;
  std::map<std::string, bool> medians_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
