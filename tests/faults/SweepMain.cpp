// vexlo_fault_sweep: runs each scenario once clean, counting the calls at
// the swept boundary, then once more for every N from 1 to that count with
// the Nth call failing, and judges every run (Verdict.h).
//
//   vexlo_fault_sweep ARCHIVE [--only TEXT] [--stride K] [--jobs J]
//                             [--every-verdict] [--point N] [--list]
//
// ARCHIVE is DATA.QPA. --only keeps the sweeps whose name contains TEXT;
// --stride K runs every Kth N only (spread over the whole count, the last
// N always included); --jobs J runs J children at once. Prints each sweep's
// figures and every finding (--every-verdict: every run's verdict); the
// exit code is 1 when there was a finding. --point N runs the one point N
// of the first sweep chosen (0: its clean run) and keeps its log.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/faults/ScenarioRun.h"
#include "tests/faults/Verdict.h"

namespace {

using sweep::FaultPlan;
using sweep::ScenarioOptions;

struct SweepDefinition {
  const char* name;
  ScenarioOptions options;
  faults::Boundary boundary;
  faults::ReadFault readFault = faults::ReadFault::FAIL;
};

ScenarioOptions Software() { return ScenarioOptions{}; }
ScenarioOptions Hardware() {
  ScenarioOptions options;
  options.hardware = true;
  return options;
}
ScenarioOptions LostDevice() {
  ScenarioOptions options;
  options.hardware = true;
  options.pads = true;
  options.loseDevice = true;
  options.countOnlyTheRebuild = true;
  return options;
}
ScenarioOptions Pads() {
  ScenarioOptions options;
  options.pads = true;
  return options;
}

const std::vector<SweepDefinition>& Sweeps() {
  static const std::vector<SweepDefinition> sweeps = {
      {"game, software mode: allocations", Software(), faults::ALLOCATION},
      {"game, software mode: reads failing", Software(), faults::FILE_READ, faults::ReadFault::FAIL},
      {"game, software mode: reads cut short", Software(), faults::FILE_READ, faults::ReadFault::SHORT},
      {"game, hardware mode: allocations", Hardware(), faults::ALLOCATION},
      {"game, hardware mode: reads failing", Hardware(), faults::FILE_READ, faults::ReadFault::FAIL},
      {"game, hardware mode: reads cut short", Hardware(), faults::FILE_READ, faults::ReadFault::SHORT},
      {"game, hardware mode: Direct3D calls", Hardware(), faults::DIRECT3D9},
      {"lost device and rebuild: Direct3D calls", LostDevice(), faults::DIRECT3D9},
      {"lost device and rebuild: DirectInput calls", LostDevice(), faults::DIRECTINPUT},
      {"lost device and rebuild: allocations", LostDevice(), faults::ALLOCATION},
      {"input set-up with pads: DirectInput calls", Pads(), faults::DIRECTINPUT},
  };
  return sweeps;
}

struct Options {
  std::string archive;
  std::string only;
  uint64_t stride = 1;
  unsigned jobs = 1;
  bool list = false;
  bool everyVerdict = false;  // a line for every run, not only the findings
  long long point = -1;  // one run only (0: the clean one), its log kept
};

constexpr unsigned SECONDS_PER_RUN = 120;
constexpr int TRACE_LINES_SHOWN = 14;

int Usage() {
  std::fprintf(stderr,
               "usage: vexlo_fault_sweep DATA.QPA [--only TEXT] [--stride K] [--jobs J] [--every-verdict]\n"
               "                         [--point N] [--list]\n");
  return 2;
}

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool hasValue = i + 1 < argc;
    if (argument == "--only" && hasValue) options->only = argv[++i];
    else if (argument == "--stride" && hasValue) options->stride = std::max(1L, std::atol(argv[++i]));
    else if (argument == "--jobs" && hasValue) options->jobs = unsigned(std::max(1L, std::atol(argv[++i])));
    else if (argument == "--list") options->list = true;
    else if (argument == "--every-verdict") options->everyVerdict = true;
    else if (argument == "--point" && hasValue) options->point = std::atoll(argv[++i]);
    else if (argument[0] != '-' && options->archive.empty()) options->archive = argument;
    else return false;
  }
  return options->list || !options->archive.empty();
}

// One working directory per job, each holding a copy of the archive.
std::vector<std::string> MakeWorkDirectories(const std::string& archive, unsigned jobs) {
  namespace fs = std::filesystem;
  std::vector<std::string> directories;
  const fs::path base = fs::temp_directory_path() / ("vexlo-sweep-" + std::to_string(getpid()));
  for (unsigned job = 0; job < jobs; ++job) {
    const fs::path directory = base / std::to_string(job);
    fs::create_directories(directory);
    fs::copy_file(archive, directory / "DATA.QPA", fs::copy_options::overwrite_existing);
    directories.push_back(directory.string());
  }
  return directories;
}

std::vector<uint64_t> ChosenPoints(uint64_t count, uint64_t stride) {
  std::vector<uint64_t> points;
  for (uint64_t n = 1; n <= count; n += stride) points.push_back(n);
  if (!points.empty() && points.back() != count) points.push_back(count);
  return points;
}

struct Figures {
  uint64_t points = 0;
  uint64_t runs = 0;
  std::map<sweep::Verdict, uint64_t> verdicts;
};

// Runs the chosen points, one child per working directory at a time.
std::vector<sweep::Judgement> RunPoints(const SweepDefinition& definition, const sweep::RunOutcome& clean,
                                        const std::vector<uint64_t>& points,
                                        const std::vector<std::string>& directories) {
  std::vector<sweep::Judgement> judgements(points.size());
  std::map<int, std::pair<size_t, size_t>> running;  // child: point index, directory
  std::vector<size_t> freeDirectories;
  for (size_t job = directories.size(); job-- > 0;) freeDirectories.push_back(job);
  size_t next = 0;
  while (next < points.size() || !running.empty()) {
    while (next < points.size() && !freeDirectories.empty()) {
      const size_t job = freeDirectories.back();
      const FaultPlan plan{definition.boundary, definition.readFault, points[next]};
      const int child = sweep::StartScenario(definition.options, plan, directories[job], SECONDS_PER_RUN);
      if (child < 0) {
        judgements[next] = {sweep::Verdict::CRASHED, "the run could not be started"};
      } else {
        running[child] = {next, job};
        freeDirectories.pop_back();
      }
      next += 1;
    }
    if (running.empty()) continue;
    int status = 0;
    const int child = int(waitpid(-1, &status, 0));
    auto found = running.find(child);
    if (found == running.end()) continue;
    const auto [index, job] = found->second;
    running.erase(found);
    judgements[index] =
        sweep::Judge(clean, sweep::CollectScenario(status, directories[job]), definition.boundary);
    freeDirectories.push_back(job);
  }
  return judgements;
}

// "N=12 leaked: ..." and where the call failed, innermost first, from the
// caller of the fault point on.
std::string Describe(uint64_t point, const sweep::Judgement& judgement) {
  std::string text = "    N=" + std::to_string(point) + " " + sweep::VerdictName(judgement.verdict) +
                     ": " + judgement.detail;
  if (!judgement.failedCall.empty()) text += "\n      failed call: " + judgement.failedCall;
  const std::vector<std::string> frames = sweep::DescribeTrace(judgement.trace);
  int shown = 0;
  for (const std::string& frame : frames) {
    const bool harness = frame.find("faults::") == 0 || frame.find("sweep::") != std::string::npos ||
                         frame.find("Heap") == 0 || frame.find("(anonymous namespace)::Call(") != std::string::npos;
    if (harness || shown == TRACE_LINES_SHOWN) continue;
    text += "\n      at " + frame;
    shown += 1;
  }
  return text;
}

// One run, for looking into a finding: its verdict and where its log is.
void RunOnePoint(const SweepDefinition& definition, uint64_t point, const std::string& directory) {
  const FaultPlan cleanPlan{definition.boundary, definition.readFault, 0};
  const sweep::RunOutcome clean = sweep::RunScenario(definition.options, cleanPlan, directory, SECONDS_PER_RUN);
  const FaultPlan plan{definition.boundary, definition.readFault, point};
  const sweep::RunOutcome run =
      point == 0 ? clean : sweep::RunScenario(definition.options, plan, directory, SECONDS_PER_RUN);
  std::printf("%s, N=%llu: %d frames, %llu calls\n", definition.name, (unsigned long long)point,
              run.script.frames, (unsigned long long)run.calls);
  for (const auto& shot : run.script.shots) std::printf("  shot %s %016llx\n", shot.first.c_str(),
                                                        (unsigned long long)shot.second);
  if (point == 0) {
    std::printf("  %s\n", sweep::CleanRunProblems(clean).c_str());
  } else {
    std::printf("%s\n", Describe(point, sweep::Judge(clean, run, definition.boundary)).c_str());
  }
  std::printf("  log: %s/Log.txt\n", directory.c_str());
}

bool RunSweep(const SweepDefinition& definition, const Options& options,
              const std::vector<std::string>& directories) {
  FaultPlan cleanPlan{definition.boundary, definition.readFault, 0};
  const sweep::RunOutcome clean =
      sweep::RunScenario(definition.options, cleanPlan, directories[0], SECONDS_PER_RUN);
  const std::string problems = sweep::CleanRunProblems(clean);
  if (!problems.empty()) {
    std::printf("%-46s  the clean run failed: %s\n", definition.name, problems.c_str());
    return false;
  }
  if (std::getenv("VEXLO_SWEEP_VERBOSE")) std::printf("clean run: %d frames\n", clean.script.frames);
  const std::vector<uint64_t> points = ChosenPoints(clean.calls, options.stride);
  const std::vector<sweep::Judgement> judgements = RunPoints(definition, clean, points, directories);
  Figures figures;
  figures.points = clean.calls;
  figures.runs = points.size();
  bool clear = true;
  std::vector<std::string> findings;
  for (size_t i = 0; i < points.size(); ++i) {
    figures.verdicts[judgements[i].verdict] += 1;
    if (sweep::IsFinding(judgements[i].verdict)) {
      clear = false;
      findings.push_back(Describe(points[i], judgements[i]));
    } else if (options.everyVerdict) {
      std::printf("    N=%llu %s: %s%s%s\n", (unsigned long long)points[i],
                  sweep::VerdictName(judgements[i].verdict), judgements[i].detail.c_str(),
                  judgements[i].failedCall.empty() ? "" : " | ", judgements[i].failedCall.c_str());
    }
  }
  auto count = [&](sweep::Verdict verdict) { return (unsigned long long)figures.verdicts[verdict]; };
  std::printf("%-46s %6llu %6llu %9llu %7llu %7llu %7llu %8llu\n", definition.name,
              (unsigned long long)figures.points, (unsigned long long)figures.runs,
              count(sweep::Verdict::RECOVERED), count(sweep::Verdict::WENT_ON),
              count(sweep::Verdict::STOPPED), count(sweep::Verdict::NOT_REACHED),
              (unsigned long long)findings.size());
  for (const std::string& finding : findings) std::printf("%s\n", finding.c_str());
  std::fflush(stdout);
  return clear;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) return Usage();
  if (options.list) {
    for (const SweepDefinition& definition : Sweeps()) std::printf("%s\n", definition.name);
    return 0;
  }
  const std::vector<std::string> directories = MakeWorkDirectories(options.archive, options.jobs);
  std::printf("%-46s %6s %6s %9s %7s %7s %7s %8s\n", "sweep", "points", "runs", "recovered",
              "went on", "stopped", "unused", "findings");
  bool clear = true;
  for (const SweepDefinition& definition : Sweeps()) {
    if (!options.only.empty() && std::strstr(definition.name, options.only.c_str()) == nullptr)
      continue;
    if (options.point >= 0) {
      RunOnePoint(definition, uint64_t(options.point), directories[0]);
      return 0;
    }
    clear = RunSweep(definition, options, directories) && clear;
  }
  std::filesystem::remove_all(std::filesystem::path(directories[0]).parent_path());
  return clear ? 0 : 1;
}
