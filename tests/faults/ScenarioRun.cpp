#include "tests/faults/ScenarioRun.h"

#include <dlfcn.h>
#include <execinfo.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "engine/core/Engine.h"
#include "engine/platform/headless/HeadlessDirect3D9.h"
#include "engine/platform/headless/HeadlessDirectInput.h"
#include "engine/platform/headless/HeadlessSystem.h"
#include "engine/services/Memory.h"
#include "game/PhaseLifetime.h"
#include "game/WinMain.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace sweep {
namespace {

constexpr const char* OUTCOME_FILE = "outcome.txt";
constexpr const char* LOG_FILE = "Log.txt";

FaultPlan childPlan;
constexpr int TRACE_DEPTH = 24;
void* firedTrace[TRACE_DEPTH];
int firedTraceDepth = 0;

int firedBlockId = -1;

void OnFired(faults::Boundary) {
  firedTraceDepth = backtrace(firedTrace, TRACE_DEPTH);
  firedBlockId = MemReadStatistics().nextId;
}

// The trace's addresses inside this program, as offsets from its start.
void WriteTrace(std::ofstream& out) {
  for (int i = 0; i < firedTraceDepth; ++i) {
    Dl_info info;
    if (dladdr(firedTrace[i], &info) == 0 || info.dli_fbase == nullptr) continue;
    Dl_info self;
    if (dladdr(reinterpret_cast<void*>(&OnFired), &self) == 0 || self.dli_fbase != info.dli_fbase) continue;
    // A return address points after its call; one byte back is inside it.
    out << "trace " << (reinterpret_cast<uintptr_t>(firedTrace[i]) - 1 -
                        reinterpret_cast<uintptr_t>(info.dli_fbase))
        << "\n";
  }
}

void WriteOutcome(Ending ending, bool unreachableMemory) {
  const MemStatistics memory = MemReadStatistics();
  const ScriptReport& script = ScenarioReport();
  std::ofstream out(OUTCOME_FILE);
  out << "ending " << int(ending) << "\n";
  out << "fired " << faults::Fired(childPlan.boundary) << "\n";
  out << "calls " << faults::Calls(childPlan.boundary) << "\n";
  out << "completed " << script.completed << "\n";
  out << "stuck " << script.stuck << "\n";
  out << "stuckAt " << script.stuckAt << "\n";
  out << "frames " << script.frames << "\n";
  out << "liveBlocks " << memory.count << "\n";
  out << "liveBytes " << memory.totalSize << "\n";
  out << "direct3dObjects " << headless::Direct3D9Calls().liveObjects << "\n";
  out << "directDrawObjects " << headless::DirectDrawCalls().liveObjects << "\n";
  out << "directInputObjects " << headless::DirectInputCalls().liveObjects << "\n";
  out << "directInputEvents " << headless::DirectInputCalls().liveEvents << "\n";
  // FatalError ends the process under the running game: its phases are
  // the program's to lose, as every other object then.
  out << "phases " << (ending == Ending::FATAL ? 0 : LivePhaseCount()) << "\n";
  out << "unreachable " << unreachableMemory << "\n";
  for (const auto& shot : script.shots) out << "shot " << shot.first << " " << shot.second << "\n";
  out << "failed " << faults::FailedCallName() << "\n";
  uint16_t ids[64];
  const int live = MemListLiveIds(ids, 64);
  for (int i = 0; i < live && i < 64; ++i) out << "left " << ids[i] << "\n";
  out << "firedBlockId " << firedBlockId << "\n";
  WriteTrace(out);
  out << "end\n";
}

// In a build with AddressSanitizer: whether LeakSanitizer finds memory that
// nothing reaches any more (it writes what and where to stderr), beyond the
// allocator's blocks, which the dump counts.
bool UnreachableMemory() {
#if defined(__SANITIZE_ADDRESS__)
  return __lsan_do_recoverable_leak_check() != 0;
#else
  return false;
#endif
}

// A start-up that failed, or that FatalError ended, leaves the parts that
// had started as they are (its shut-down sequence does nothing before the
// engine has started): the shut-down sequence runs over them here.
void ShutDownWhatStarted() {
  engineStarted = 1;
  ShutdownEngine();
}

// FatalError has run the shut-down sequence and ends the process here. (A
// FatalError inside the shut-down run here ends it at once.)
void OnExitProcess(uint32_t) {
  static bool exiting = false;
  if (!exiting) {
    exiting = true;
    ShutDownWhatStarted();
  }
  // The process ends under the running game: what the game held is not
  // looked for.
  WriteOutcome(Ending::FATAL, false);
  _exit(0);
}

[[noreturn]] void RunChild(const ScenarioOptions& options, const FaultPlan& plan,
                           const std::string& directory, unsigned secondsAllowed) {
  alarm(secondsAllowed);
  if (chdir(directory.c_str()) != 0) _exit(3);
  childPlan = plan;
  faults::Reset();
  faults::SetReadFault(plan.readFault);
  faults::Arm(plan.boundary, plan.nth);
  backtrace(firedTrace, 1);  // loads what backtrace needs, before anything fails
  faults::SetFiredHook(OnFired);
  PrepareScenario(options);
  headless::SetExitHandler(OnExitProcess);
  const int result = WinMain(nullptr, nullptr, nullptr, 0);
  Ending ending = Ending::RETURNED;
  if (result != 0) {
    ending = Ending::START_FAILED;
    ShutDownWhatStarted();
  }
  WriteOutcome(ending, UnreachableMemory());
  _exit(0);
}

std::string Death(int status) {
  char text[64];
  if (WIFSIGNALED(status))
    std::snprintf(text, sizeof text, "killed by signal %d (%s)", WTERMSIG(status),
                  WTERMSIG(status) == SIGALRM ? "out of time" : strsignal(WTERMSIG(status)));
  else if (WIFEXITED(status))
    std::snprintf(text, sizeof text, "exit code %d without an outcome", WEXITSTATUS(status));
  else
    std::snprintf(text, sizeof text, "status %d", status);
  return text;
}

bool ReadOutcome(const std::string& path, RunOutcome* outcome) {
  std::ifstream in(path);
  std::string line;
  bool ended = false;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string key;
    fields >> key;
    int ending = 0;
    if (key == "ending") fields >> ending, outcome->ending = Ending(ending);
    else if (key == "fired") fields >> outcome->fired;
    else if (key == "calls") fields >> outcome->calls;
    else if (key == "completed") fields >> outcome->script.completed;
    else if (key == "stuck") fields >> outcome->script.stuck;
    else if (key == "stuckAt") fields >> outcome->script.stuckAt;
    else if (key == "frames") fields >> outcome->script.frames;
    else if (key == "liveBlocks") fields >> outcome->liveBlocks;
    else if (key == "liveBytes") fields >> outcome->liveBytes;
    else if (key == "direct3dObjects") fields >> outcome->direct3dObjects;
    else if (key == "directDrawObjects") fields >> outcome->directDrawObjects;
    else if (key == "directInputObjects") fields >> outcome->directInputObjects;
    else if (key == "directInputEvents") fields >> outcome->directInputEvents;
    else if (key == "phases") fields >> outcome->phases;
    else if (key == "unreachable") fields >> outcome->unreachableMemory;
    else if (key == "shot") {
      std::string name;
      uint64_t hash = 0;
      fields >> name >> hash;
      outcome->script.shots.emplace_back(name, hash);
    } else if (key == "firedBlockId") {
      fields >> outcome->firedBlockId;
    } else if (key == "left") {
      int id = 0;
      fields >> id;
      outcome->leftBlockIds.push_back(id);
    } else if (key == "failed") {
      fields >> outcome->failedCall;
    } else if (key == "trace") {
      uint64_t offset = 0;
      fields >> offset;
      outcome->trace.push_back(offset);
    } else if (key == "end") {
      ended = true;
    }
  }
  return ended;
}

// "123:\t\ttext" lines, ended by CR LF, as texts.
std::vector<std::string> ReadLogTexts(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  const std::string text = content.str();
  std::vector<std::string> texts;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    const size_t colon = line.find(':');
    if (colon != std::string::npos && line.find_first_not_of("0123456789") == colon)
      line = line.substr(colon + 1);
    const size_t first = line.find_first_not_of('\t');
    texts.push_back(first == std::string::npos ? std::string() : line.substr(first));
    start = end + 2;
  }
  return texts;
}

}  // namespace

std::vector<std::string> DescribeTrace(const std::vector<uint64_t>& trace) {
  std::vector<std::string> lines;
  if (trace.empty()) return lines;
  // This process's own program, even when a build has replaced its file.
  std::string command = "addr2line -f -C -e /proc/" + std::to_string(getpid()) + "/exe";
  for (uint64_t offset : trace) {
    char hex[32];
    std::snprintf(hex, sizeof hex, " 0x%llx", (unsigned long long)offset);
    command += hex;
  }
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return lines;
  char function[1024], place[1024];
  while (std::fgets(function, sizeof function, pipe) && std::fgets(place, sizeof place, pipe)) {
    std::string name(function), where(place);
    name.erase(name.find_last_not_of("\n") + 1);
    where.erase(where.find_last_not_of("\n") + 1);
    const size_t slash = where.rfind('/');
    if (slash != std::string::npos) where = where.substr(slash + 1);
    lines.push_back(name.substr(0, 90) + " (" + where + ")");
  }
  pclose(pipe);
  return lines;
}

int StartScenario(const ScenarioOptions& options, const FaultPlan& plan,
                  const std::string& directory, unsigned secondsAllowed) {
  std::remove((directory + "/" + OUTCOME_FILE).c_str());
  std::remove((directory + "/" + LOG_FILE).c_str());
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) RunChild(options, plan, directory, secondsAllowed);
  return int(child);
}

RunOutcome CollectScenario(int status, const std::string& directory) {
  RunOutcome outcome;
  outcome.finished = WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
                     ReadOutcome(directory + "/" + OUTCOME_FILE, &outcome);
  if (!outcome.finished) outcome.death = Death(status);
  outcome.log = ReadLogTexts(directory + "/" + LOG_FILE);
  return outcome;
}

RunOutcome RunScenario(const ScenarioOptions& options, const FaultPlan& plan,
                       const std::string& directory, unsigned secondsAllowed) {
  const int child = StartScenario(options, plan, directory, secondsAllowed);
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) {
    RunOutcome outcome;
    outcome.death = "the run could not be started";
    return outcome;
  }
  return CollectScenario(status, directory);
}

}  // namespace sweep
