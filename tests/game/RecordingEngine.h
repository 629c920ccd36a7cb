// An engine double for the game's tests: every operation of the engine
// interface and the question box, answering from a script (key states per
// turn, a clock, pixel answers, results of start-up, pumping, clearing and
// presenting) and recording every call with its arguments and the draw
// state (blend mode and parameter, modulation colour) in force at the call.
//
// A turn begins with each PumpMessages that lets the game go on; turn 0 is
// the first. Before the first pump the turn is -1.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/core/Engine.h"
#include "engine/platform/WindowPort.h"

struct RecordedCall {
  std::string name;
  std::vector<long long> args;  // integer arguments in order
  std::string text;             // the first text argument, if any
  std::string caption;          // the question box's caption
  int turn = -1;
  int blendMode = BLEND_NONE;
  int blendParameter = 255;
  int modulation = 0xFFFFFF;  // 0xRRGGBB
};

class RecordingEngine {
 public:
  // ---- The script; Reset restores these defaults. ----
  int messageBoxAnswer = port::IDYES;
  int startupResult = 0;
  // PumpMessages answers -1 instead of starting this turn; -1: never.
  int endAtTurn = -1;
  int failClearInTurn = -1;
  int failPresentInTurn = -1;
  // Files LoadGraphSheet cannot read.
  std::set<std::string> unreadableFiles;
  // ReadPixel's answers in order; when used up, pixelWhenUnscripted.
  std::deque<int> pixelAnswers;
  int pixelWhenUnscripted = 0;
  // The clock NowMilliseconds reports (masked with 0x7FFFFFFF), and what
  // every new turn adds to it.
  int clock = 0;
  int millisecondsPerTurn = 0;
  // Keys held in each turn, by DirectInput number.
  std::map<int, std::set<int>> keysByTurn;
  // The window is inactive for this many milliseconds in the turn: the
  // first call of that turn that waits while the window is inactive
  // (ReadKeyboard, IsKeyDown, PutGraph, PaintBox, ...) advances the clock
  // before it returns, as the engine holds the game meanwhile.
  std::map<int, int> inactiveMillisecondsByTurn;
  // Called at the start of every turn, with its number, before the game
  // does anything in it.
  std::function<void(int)> onTurn;

  // ---- What happened. ----
  int turn = -1;
  std::vector<RecordedCall> calls;

  // Back to a fresh double: default script, no calls, no graphs, the
  // engine not started.
  void Reset();

  // Holds the key in turns first..last, both included.
  void Hold(int key, int firstTurn, int lastTurn);
  void HoldNow(std::initializer_list<int> keys);

  // Starts the next turn as PumpMessages does, without recording a call.
  void BeginTurn();

  // The calls of that name, in order.
  std::vector<RecordedCall> Named(const std::string& name) const;
  // Names of all calls in order, optionally without the clock readings.
  std::vector<std::string> Names(bool withClock = false) const;
  void ClearCalls() { calls.clear(); }

  // ---- Used by the operations. ----
  RecordedCall& Record(const std::string& name, std::vector<long long> args);
  void WaitWhileInactive();
  bool IsHeld(int key) const;

  struct Graph {
    int width, height;
    bool released;
  };
  std::map<Handle, Graph> graphs;
  int sheetsLoaded = 0;
  int blendMode = BLEND_NONE;
  int blendParameter = 255;
  int modulation = 0xFFFFFF;
};

extern RecordingEngine recording;
