#include "tests/faults/Verdict.h"

#include <set>

namespace sweep {
namespace {

std::string Leaks(const RunOutcome& run) {
  std::string leaks;
  auto add = [&](int count, const char* what) {
    if (count == 0) return;
    if (!leaks.empty()) leaks += ", ";
    leaks += std::to_string(count) + " " + what;
  };
  add(run.liveBlocks, "allocator blocks");
  add(run.direct3dObjects, "Direct3D objects");
  add(run.directDrawObjects, "DirectDraw objects");
  add(run.directInputObjects, "DirectInput objects");
  add(run.directInputEvents, "events");
  add(run.phases, "phases");
  if (run.unreachableMemory) leaks += std::string(leaks.empty() ? "" : ", ") + "memory nothing reaches (LeakSanitizer)";
  if (run.liveBlocks != 0) leaks += " (" + std::to_string(run.liveBytes) + " bytes)";
  return leaks;
}

// FatalError ends the process under the work it interrupted (the Parts
// make these failures fatal): the blocks that work held, all made before
// the failure, stay in the final dump; during start-up (whose parts stay
// up when it fails) so do the blocks of the parts already started.
// Anything else left is a leak.
bool LeftByFatalError(const RunOutcome& run) {
  if (run.ending != Ending::FATAL || run.firedBlockId < 0) return false;
  if (run.direct3dObjects != 0 || run.directDrawObjects != 0 || run.directInputObjects != 0 ||
      run.directInputEvents != 0)
    return false;
  if (int(run.leftBlockIds.size()) != run.liveBlocks) return false;  // more than were listed
  for (int id : run.leftBlockIds)
    if (id >= run.firedBlockId) return false;
  return true;
}

bool IsDumpText(const std::string& text) {
  return text == "Alloc memory dump" || text.rfind("size:", 0) == 0 || text.rfind("Total size:", 0) == 0;
}

// The run's report of its failure: the first text of its log that the
// clean run's log does not have, other than the allocator's dump (which a
// failed allocation writes first); the dump itself when it is all there is.
std::string NewLogText(const RunOutcome& clean, const RunOutcome& run) {
  const std::set<std::string> known(clean.log.begin(), clean.log.end());
  std::string dump;
  for (const std::string& text : run.log) {
    if (text.empty() || known.count(text) != 0) continue;
    if (!IsDumpText(text)) return text;
    if (dump.empty()) dump = "the allocator's dump";
  }
  return dump;
}

// The names of the shots that differ from the clean run's, or are missing.
std::string DifferingShots(const RunOutcome& clean, const RunOutcome& run) {
  std::string names;
  for (size_t i = 0; i < clean.script.shots.size(); ++i) {
    if (i < run.script.shots.size() && run.script.shots[i] == clean.script.shots[i]) continue;
    names += (names.empty() ? "" : ", ") + clean.script.shots[i].first;
  }
  return names;
}

// A drawing call that failed spoils at most the picture of its own frame.
bool OnlyOneShotDiffers(const RunOutcome& clean, const RunOutcome& run) {
  if (run.script.shots.size() != clean.script.shots.size()) return false;
  int differing = 0;
  for (size_t i = 0; i < clean.script.shots.size(); ++i)
    if (run.script.shots[i] != clean.script.shots[i]) differing += 1;
  return differing == 1;
}

const char* EndingName(Ending ending) {
  switch (ending) {
    case Ending::RETURNED: return "the game ended";
    case Ending::START_FAILED: return "start-up failed";
    case Ending::FATAL: return "fatal error";
  }
  return "?";
}

}  // namespace

const char* VerdictName(Verdict verdict) {
  switch (verdict) {
    case Verdict::RECOVERED: return "recovered";
    case Verdict::WENT_ON: return "went on";
    case Verdict::STOPPED: return "stopped";
    case Verdict::NOT_REACHED: return "not reached";
    case Verdict::CRASHED: return "crashed";
    case Verdict::LEAKED: return "leaked";
    case Verdict::UNREPORTED: return "unreported";
    case Verdict::STUCK: return "stuck";
  }
  return "?";
}

bool IsFinding(Verdict verdict) { return verdict >= Verdict::CRASHED; }

namespace {

// The verdict alone.
Judgement Weigh(const RunOutcome& clean, const RunOutcome& run, faults::Boundary boundary) {
  if (!run.finished) return {Verdict::CRASHED, run.death};
  const std::string leaks = Leaks(run);
  if (!leaks.empty() && !LeftByFatalError(run))
    return {Verdict::LEAKED, std::string(EndingName(run.ending)) + "; left: " + leaks};
  if (!run.fired) return {Verdict::NOT_REACHED, std::to_string(run.calls) + " calls"};
  const std::string report = NewLogText(clean, run);
  if (run.ending != Ending::RETURNED) {
    if (report.empty()) return {Verdict::UNREPORTED, std::string(EndingName(run.ending)) + " without a log line"};
    std::string detail = std::string(EndingName(run.ending)) + ": " + report;
    if (run.liveBlocks != 0)
      detail += " (the interrupted work's " + std::to_string(run.liveBlocks) + " blocks stay in the dump)";
    return {Verdict::STOPPED, detail};
  }
  if (run.script.stuck) return {Verdict::STUCK, "waited in vain at " + run.script.stuckAt};
  if (!run.script.completed) {
    // PumpMessages, ClearDrawTarget or PresentFrame failed: the loop ends
    // and the game tears down, as it does for any failure result there.
    return {Verdict::STOPPED, "the frame loop ended early" + (report.empty() ? "" : ": " + report)};
  }
  const std::string differing = DifferingShots(clean, run);
  if (differing.empty()) return {Verdict::RECOVERED, report};
  if (!report.empty()) return {Verdict::WENT_ON, report + " (pictures differ: " + differing + ")"};
  if (boundary == faults::DIRECT3D9 && OnlyOneShotDiffers(clean, run))
    return {Verdict::WENT_ON, "a drawing error, not reported (pictures differ: " + differing + ")"};
  return {Verdict::UNREPORTED, "the pictures differ (" + differing + "), the log says nothing"};
}

}  // namespace

Judgement Judge(const RunOutcome& clean, const RunOutcome& run, faults::Boundary boundary) {
  Judgement judgement = Weigh(clean, run, boundary);
  judgement.failedCall = run.failedCall;
  judgement.trace = run.trace;
  return judgement;
}

std::string CleanRunProblems(const RunOutcome& clean) {
  if (!clean.finished) return clean.death;
  const std::string leaks = Leaks(clean);
  if (!leaks.empty()) return "left: " + leaks;
  if (clean.ending != Ending::RETURNED) return EndingName(clean.ending);
  if (!clean.script.completed)
    return clean.script.stuck ? "waited in vain at " + clean.script.stuckAt : "the frame loop ended early";
  return std::string();
}

}  // namespace sweep
