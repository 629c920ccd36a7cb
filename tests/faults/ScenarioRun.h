// One run of a scenario, in a child process of its own, with at most one
// call failing: every run starts from a fresh process, and a run that
// crashes, hangs or stops at a sanitizer finding takes only itself down.
//
// The child runs the game to its end (or to FatalError's exit), and then
// records what is left: the allocator's live blocks, the fakes' live
// objects, the phase objects, what the script saw, and the count of calls
// at the swept boundary. A start-up that failed, or that FatalError ended,
// leaves its started parts as they are (the program ends right after it);
// the child then runs the shut-down sequence over them, so that what the
// failed step made and lost shows as a leak.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/platform/faults/FaultPoints.h"
#include "tests/faults/Scenario.h"

namespace sweep {

struct FaultPlan {
  faults::Boundary boundary = faults::ALLOCATION;
  faults::ReadFault readFault = faults::ReadFault::FAIL;
  uint64_t nth = 0;  // 0: the clean run, nothing fails
};

enum class Ending {
  RETURNED,      // WinMain returned 0 after its teardown
  START_FAILED,  // WinMain returned -1
  FATAL,         // FatalError ended the process
};

struct RunOutcome {
  // Whether the child recorded its outcome; if not, how it died.
  bool finished = false;
  std::string death;

  Ending ending = Ending::RETURNED;
  bool fired = false;   // the planned call came and failed
  uint64_t calls = 0;   // calls at the swept boundary (while counting)
  ScriptReport script;
  // Left after shut-down.
  int liveBlocks = 0, liveBytes = 0;
  int direct3dObjects = 0, directDrawObjects = 0;
  int directInputObjects = 0, directInputEvents = 0;
  int phases = 0;
  bool unreachableMemory = false;  // LeakSanitizer's finding, in a sanitized build
  // Where the planned call failed: the boundary's name for it, and the
  // return addresses on the stack then (offsets into this program).
  std::string failedCall;
  std::vector<uint64_t> trace;
  // The allocator's next block id when the call failed, and the ids of the
  // blocks left (the first 64): blocks that FatalError's exit leaves to the
  // work it interrupted, or to a start-up it ended, were all made before the
  // failure.
  int firedBlockId = -1;
  std::vector<int> leftBlockIds;
  // The log's texts, without times and indentation.
  std::vector<std::string> log;
};

// Runs the scenario in a child whose working directory is directory (which
// holds DATA.QPA). secondsAllowed bounds the child's run.
RunOutcome RunScenario(const ScenarioOptions& options, const FaultPlan& plan,
                       const std::string& directory, unsigned secondsAllowed);

// The same in two halves, for running several children at once: the
// child's process id (or -1), and the outcome from the status waitpid
// gave for it.
int StartScenario(const ScenarioOptions& options, const FaultPlan& plan,
                  const std::string& directory, unsigned secondsAllowed);
RunOutcome CollectScenario(int status, const std::string& directory);

// The trace's functions with their source lines, innermost first.
std::vector<std::string> DescribeTrace(const std::vector<uint64_t>& trace);

}  // namespace sweep
