// What a run with one failing call made of it, judged against the clean
// run of the same scenario.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/faults/ScenarioRun.h"

namespace sweep {

enum class Verdict {
  // Clean ends:
  RECOVERED,     // the game went through every phase with the clean run's pictures
  WENT_ON,       // it went through every phase without the failed work, and said so
                 // (or, for a drawing call, drew its next pictures right again)
  STOPPED,       // start-up failed, FatalError, or the frame loop ended on a
                 // failure result, with the failure reported
  NOT_REACHED,   // the run made fewer calls than the clean one: nothing failed
  // Findings:
  CRASHED,       // killed by a signal, out of time, or stopped by a sanitizer
  LEAKED,        // blocks, fake objects or phases left after shut-down
  UNREPORTED,    // pictures differ, or the run stopped, without a word in the log
  STUCK,         // the game ran on but a phase never came
};

const char* VerdictName(Verdict verdict);
bool IsFinding(Verdict verdict);

struct Judgement {
  Verdict verdict;
  std::string detail;
  // Where the call failed (ScenarioRun.h), for telling a finding's place.
  std::string failedCall;
  std::vector<uint64_t> trace;
};

// Drawing errors of the Direct3D device are not reported (the Parts say
// so): for the device's boundary the picture of the frame in which a call
// failed may differ without a word, as long as every other picture is the
// clean run's.
Judgement Judge(const RunOutcome& clean, const RunOutcome& run, faults::Boundary boundary);

// What a clean run must show: every phase, nothing left, nothing failed.
// Empty when it does.
std::string CleanRunProblems(const RunOutcome& clean);

}  // namespace sweep
