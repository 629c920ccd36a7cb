// When phase objects die.
//
// Every phase object registers itself while it exists. A phase stays alive
// while the current phase reaches it: the current phase itself, and the game
// phase that a current pause or time-up phase draws and may hand back. The
// frame loop calls ReleaseUnreachablePhases after the turn's Draw, so
//  - the phase that was left in this turn has already drawn its last frame
//    (and, if it is a pause or time-up phase, drawn its game) when it goes;
//  - a game phase under a current pause or time-up phase is never freed;
//  - phases made and dropped within one update (a game started and quit in
//    the same title frame, a pause phase replaced by time-up in the same
//    game frame) go at the end of that turn like any other.
// Between two turns nothing but currentPhase and the phase it reaches is
// ever used again, so nothing is freed that can still be used, and nothing
// unreachable outlives the turn in which it became unreachable.
#pragma once

class Phase;

// Called by Phase's constructor and destructor.
void RegisterPhase(Phase* phase);
void UnregisterPhase(Phase* phase);

// Destroys every phase object that currentPhase does not reach.
void ReleaseUnreachablePhases();

// Destroys every phase object and sets currentPhase to null: the end of
// the program.
void ReleaseAllPhases();

// Phase objects alive now.
int LivePhaseCount();
