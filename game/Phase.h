// The screens of the game as a state machine of phase objects. The frame
// loop updates and then draws the current phase once per turn; a phase
// switches the game by storing another object (or null, to end) in
// currentPhase.
#pragma once

#include <cstdint>

class Phase {
 public:
  Phase();
  virtual ~Phase();
  Phase(const Phase&) = delete;
  Phase& operator=(const Phase&) = delete;

  // One frame: the key refresh, then the phase's own work.
  virtual void Update();
  // Draws the phase's screen.
  virtual void Draw();

  // Updates of this phase so far.
  int frameCount = 0;

 protected:
  // Reads the keyboard, advances the shared hold counters and counts the
  // frame. Every Update begins with it.
  void RefreshKeys();
};

// The key state of the latest refresh, in DirectInput key numbers.
extern uint8_t keyState[256];
// For each key, the number of consecutive phase updates it has been held,
// wrapping from 255 to 0. Shared by all phases, so holding a key across a
// phase switch keeps counting.
extern uint8_t keyHold[256];

// The phase the frame loop runs; null ends the program.
extern Phase* currentPhase;

// True in the update in which the key was first seen held (and again every
// 256 updates while it stays held).
bool IsPressed(int key);
