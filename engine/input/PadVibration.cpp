// The pads' vibration: which force-feedback effects play, and the timing of
// a vibration of limited length. The program starts and stops one through
// StartPadVibration and StopPadVibration.
#include "engine/core/Engine.h"
#include "engine/core/MainWindow.h"
#include "engine/core/MessagePump.h"
#include "engine/input/Input.h"
#include "engine/input/InputContext.h"
#include "engine/input/Pads.h"
#include "engine/platform/DirectInputPort.h"

namespace {

constexpr int FULL_POWER = 10000;
// Above this power the sine joins the constant force.
constexpr int SINE_POWER_THRESHOLD = 5000;
constexpr int PAD_NUMBER_FLAG = 0x1000;

// Starts (one iteration) or stops the effect when wanted differs from what
// was last done, and remembers it.
void MatchEffect(port::DirectInputEffectHandle effect, int wanted, int& playing) {
  if (wanted == playing) return;
  if (effect != nullptr) {
    if (wanted)
      port::IDirectInputEffect_Start(effect, 1, 0);
    else
      port::IDirectInputEffect_Stop(effect);
  }
  playing = wanted;
}

void StopIfPlaying(port::DirectInputEffectHandle effect, int& playing) {
  if (playing && effect != nullptr) port::IDirectInputEffect_Stop(effect);
  playing = 0;
}

// The vibration ends: full power again for the next one, the effects
// follow.
void EndVibration(PadRecord& pad) {
  if (pad.device == nullptr || pad.constantEffect == nullptr || !pad.vibrationOn) return;
  pad.vibrationOn = 0;
  pad.vibrationPower = FULL_POWER;
  RefreshPadEffects();
}

}  // namespace

int RefreshPadEffects() {
  if (!InputHasDirectInput()) return 0;
  for (int i = 0; i < inputContext.padCount; ++i) {
    PadRecord& pad = inputContext.pads[i];
    if (pad.device == nullptr) continue;
    if (windowActive) {
      const int on = pad.vibrationOn == 1;
      MatchEffect(pad.constantEffect, on, pad.constantPlaying);
      MatchEffect(pad.periodicEffect, on && pad.vibrationPower > SINE_POWER_THRESHOLD,
                  pad.periodicPlaying);
    } else {
      // An inactive program does not shake the player's pad.
      StopIfPlaying(pad.constantEffect, pad.constantPlaying);
      StopIfPlaying(pad.periodicEffect, pad.periodicPlaying);
    }
  }
  return 0;
}

int UpdatePadVibration() {
  if (!InputHasDirectInput()) return 0;
  const int now = NowMilliseconds(0);
  for (int i = 0; i < inputContext.padCount; ++i) {
    PadRecord& pad = inputContext.pads[i];
    if (pad.device == nullptr || !pad.vibrationOn || pad.vibrationTime < 0) continue;
    if (now == pad.vibrationLast) continue;
    if (now < pad.vibrationLast) pad.vibrationLast = now;  // the clock wrapped
    pad.vibrationElapsed += now - pad.vibrationLast;
    pad.vibrationLast = now;
    // Ended here rather than through StopPadVibration: that one waits for
    // an inactive window by running the pump, which would come back here.
    if (pad.vibrationElapsed >= pad.vibrationTime) EndVibration(pad);
  }
  return RefreshPadEffects();
}

int StartPadVibration(int pad, int power, int milliseconds) {
  if (!engineStarted) return -1;
  WaitWhileInactive();
  if (!InputHasDirectInput() || pad < 1 || pad > inputContext.padCount) return -1;
  PadRecord& record = inputContext.pads[pad - 1];
  // The constant force is what shakes the pad; without it there is nothing
  // to start.
  if (record.device == nullptr || record.constantEffect == nullptr) return -1;
  if (power <= 0) {
    EndVibration(record);
    return 0;
  }
  record.vibrationOn = 1;
  record.vibrationPower = power > FULL_POWER ? FULL_POWER : power;
  record.vibrationTime = milliseconds;
  record.vibrationElapsed = 0;
  record.vibrationLast = NowMilliseconds(0);
  RefreshPadEffects();
  return 0;
}

int StopPadVibration(int padNumber) {
  if (!engineStarted) return -1;
  WaitWhileInactive();
  if (inputContext.directInput == nullptr && !windowClosing) return InitializeInput();
  const int number = padNumber & ~PAD_NUMBER_FLAG;
  if (number < 1 || number > inputContext.padCount) return 0;
  EndVibration(inputContext.pads[number - 1]);
  return 0;
}
