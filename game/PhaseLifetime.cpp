#include "game/PhaseLifetime.h"

#include <algorithm>
#include <vector>

#include "game/GamePhase.h"
#include "game/OverPhase.h"
#include "game/PausePhase.h"
#include "game/Phase.h"

namespace {

std::vector<Phase*>& LivePhases() {
  static std::vector<Phase*> phases;
  return phases;
}

// The game phase that a pause or time-up phase draws and may hand back.
const Phase* GameUnder(const Phase* phase) {
  if (auto* pause = dynamic_cast<const PausePhase*>(phase)) return pause->game;
  if (auto* over = dynamic_cast<const OverPhase*>(phase)) return over->game;
  return nullptr;
}

// Destroys the phases picked; they are gathered first because each
// destructor unregisters itself from the list being walked.
template <class Predicate>
void ReleasePhasesWhere(Predicate dead) {
  std::vector<Phase*> doomed;
  for (Phase* phase : LivePhases())
    if (dead(phase)) doomed.push_back(phase);
  for (Phase* phase : doomed) delete phase;
}

}  // namespace

void RegisterPhase(Phase* phase) { LivePhases().push_back(phase); }

void UnregisterPhase(Phase* phase) {
  std::vector<Phase*>& phases = LivePhases();
  phases.erase(std::remove(phases.begin(), phases.end(), phase), phases.end());
}

void ReleaseUnreachablePhases() {
  const Phase* current = currentPhase;
  const Phase* under = GameUnder(current);
  ReleasePhasesWhere([&](const Phase* phase) { return phase != current && phase != under; });
}

void ReleaseAllPhases() {
  currentPhase = nullptr;
  ReleasePhasesWhere([](const Phase*) { return true; });
}

int LivePhaseCount() { return static_cast<int>(LivePhases().size()); }
