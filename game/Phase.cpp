#include "game/Phase.h"

#include "engine/core/Engine.h"
#include "game/PhaseLifetime.h"

uint8_t keyState[256];
uint8_t keyHold[256];
Phase* currentPhase = nullptr;

Phase::Phase() { RegisterPhase(this); }

Phase::~Phase() { UnregisterPhase(this); }

void Phase::Update() { RefreshKeys(); }

void Phase::Draw() {}

void Phase::RefreshKeys() {
  ReadKeyboard(keyState);
  for (int key = 0; key < 256; ++key)
    keyHold[key] = keyState[key] != 0 ? static_cast<uint8_t>(keyHold[key] + 1) : 0;
  ++frameCount;
}

bool IsPressed(int key) { return keyHold[key] == 1; }
