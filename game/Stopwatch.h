// A pausable clock over NowMilliseconds: the time it has run, summed over
// every stretch between a start and a stop.
#pragma once

struct Stopwatch {
  bool running = false;
  int start = 0;        // the NowMilliseconds reading of the latest start
  int accumulated = 0;  // milliseconds of the stretches already stopped

  // Milliseconds run so far, including the current stretch.
  int Elapsed() const;
  // Begins a stretch; does nothing while running.
  void Start();
  // Ends the stretch and adds it up; does nothing while stopped.
  void Stop();
};
