// Script and record of the headless DirectInput port. By default neither
// DirectInput version is on offer, as on a system without them. A test can
// offer version 7, version 8 or both, with the system keyboard and mouse
// and any number of game controllers (with or without force feedback), make
// any call fail, press keys on the keyboard device, and read back every call
// made (a transcript of one line per call) and the state of each device.
//
// Every call that has a failure result also passes the DirectInput fault
// point of the fault sweeps (engine/platform/faults/FaultPoints.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/platform/DirectInputPort.h"

namespace headless {

struct ScriptedPad {
  std::string instanceName = "Pad";
  std::string productName = "Headless Pad";
  bool forceFeedback = true;  // without it CreateEffect answers DIERR_UNSUPPORTED
  port::DIJoyState state{};   // what GetDeviceState reads (see SetPadState)
};

// One call made to fail. call is the method's name without its interface
// ("Initialize", "CreateDevice" for CreateDevice and CreateDeviceEx,
// "SetDataFormat", "SetProperty", "CreateEffect", "Acquire", "GetDeviceState",
// "SetEventNotification", "SetCooperativeLevel", "CoCreateInstance", "Poll",
// "EnumDevices", "GetDeviceInfo", "CreateEventA", "Unacquire", and an
// effect's "Start" and "Stop"). device narrows it to one
// device ("keyboard", "mouse", "pad1" ... in scripted order) or, for the
// object's calls, one version ("7", "8"); empty matches any. detail narrows
// SetProperty to one property and axis ("RANGE X", "DEADZONE Y" ...) and
// CreateEffect, Start and Stop to one effect ("Sine", "ConstantForce"). times is how many
// matching calls fail before the call works again (-1: all of them).
struct ScriptedFailure {
  std::string call;
  std::string device;
  std::string detail;
  int times = -1;
  port::HResult result = port::DIERR_GENERIC;
};

struct DirectInputScript {
  bool version7 = false;  // CLSID_DirectInput with IID_IDirectInput7A
  bool version8 = false;  // CLSID_DirectInput8 with IID_IDirectInput8A
  std::vector<ScriptedPad> pads;
  std::vector<ScriptedFailure> failures;
};

// What one device looks like now.
struct DeviceView {
  bool exists = false;  // created and not yet released
  bool acquired = false;
  uint32_t cooperativeFlags = 0;
  int dataFormat = 0;  // DIDataFormat::predefined, 0 none set
  bool hasEvent = false;
  int liveEffects = 0;
  bool constantPlaying = false;
  bool sinePlaying = false;
};

// The parameters of one CreateEffect, with what its pointers pointed to.
struct EffectRecord {
  std::string device;
  bool sine = false;
  port::DIEffect parameters{};
  std::vector<uint32_t> axes;
  std::vector<int32_t> directions;
  bool hasEnvelope = false;
  port::DIEnvelope envelope{};
  port::DIPeriodic periodic{};          // the sine's
  port::DIConstantForce constant{};     // the constant force's
};

struct DirectInputRecord {
  // One line per call, e.g. "CoCreateInstance(CLSID_DirectInput8, IID_IDirectInput8A)",
  // "keyboard.SetCooperativeLevel(NONEXCLUSIVE|BACKGROUND)".
  std::vector<std::string> calls;
  int liveObjects = 0;  // DirectInput objects, devices, effects
  int liveEvents = 0;
  std::vector<EffectRecord> effects;  // every CreateEffect
};

void ScriptDirectInput(const DirectInputScript& script);
const DirectInputRecord& DirectInputCalls();
void ClearDirectInputCalls();
// Back to nothing on offer, the record cleared.
void ResetDirectInputScript();

DeviceView InspectDevice(const std::string& name);
// Holds or releases a key on the keyboard device (by key number) and
// signals the device's event, as a key event would.
void PressDeviceKey(int keyNumber, bool held);
// Moves the controls of the scripted pad (1 for the first): what its
// device's GetDeviceState reads from now on.
void SetPadState(int padNumber, const port::DIJoyState& state);
// Every device loses its acquisition, as when another program takes the
// input over.
void UnacquireAllDevices();
// Whether the event is signalled now.
bool EventSignalled(port::EventHandle event);

}  // namespace headless
