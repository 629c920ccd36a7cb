// The headless DirectInput port: the objects, devices and effects a test
// scripted, every call recorded as one line of text, any call made to fail.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/platform/DirectInputPort.h"
#include "engine/platform/faults/FaultPoints.h"
#include "engine/platform/headless/HeadlessDirectInput.h"

namespace port {

struct EventObject {
  bool manualReset = true;
  bool signalled = false;
};

struct DirectInputObject {
  int version = 0;  // 7 or 8
  int references = 1;
  bool initialised = false;
};

struct DirectInputEffectObject {
  DirectInputDeviceObject* device = nullptr;
  bool sine = false;
  bool playing = false;
  int references = 1;
};

struct DirectInputDeviceObject {
  std::string name;  // "keyboard", "mouse", "pad1" ...
  int references = 1;
  bool acquired = false;
  uint32_t cooperativeFlags = 0;
  int dataFormat = 0;
  EventObject* event = nullptr;
  uint8_t keys[256] = {};
  int pad = -1;  // index into the script's pads, for a pad
  std::vector<DirectInputEffectObject*> effects;
};

}  // namespace port

namespace {

using headless::DirectInputRecord;
using headless::DirectInputScript;
using headless::ScriptedFailure;

// The script lives in a function so that a program's static initialiser
// may script the platform before this file's own statics are made.
DirectInputScript& Script() {
  static DirectInputScript script;
  return script;
}
DirectInputRecord record;
// Every device ever made, so that a test can look at one by name after the
// engine let go of it; released devices stay with references 0.
std::vector<std::unique_ptr<port::DirectInputDeviceObject>> devices;
std::vector<std::unique_ptr<port::DirectInputEffectObject>> effects;

void Record(const std::string& line) { record.calls.push_back(line); }

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char text[512];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  return text;
}

// The failure a test scripted for this call, DIERR_GENERIC when the fault
// sweep's DirectInput fault point fails it, or DI_OK.
port::HResult ScriptedResult(const std::string& call, const std::string& device,
                             const std::string& detail = "") {
  const bool injected = faults::Fails(faults::DIRECTINPUT);
  if (injected) faults::NameFailedCall((device + "." + call).c_str());
  for (ScriptedFailure& failure : Script().failures) {
    if (failure.call != call || failure.times == 0) continue;
    if (!failure.device.empty() && failure.device != device) continue;
    if (!failure.detail.empty() && failure.detail != detail) continue;
    if (failure.times > 0) failure.times -= 1;
    return failure.result;
  }
  return injected ? port::DIERR_GENERIC : port::DI_OK;
}

// GUIDs of the scripted pads' instances: the pad's number in data1.
port::ComGuid PadInstance(int index) {
  return {0x7AD00000u + uint32_t(index), 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}};
}

int PadIndex(const port::ComGuid& guid) {
  for (size_t i = 0; i < Script().pads.size(); ++i)
    if (port::SameGuid(guid, PadInstance(int(i)))) return int(i);
  return -1;
}

const char* GuidName(const port::ComGuid& guid) {
  if (port::SameGuid(guid, port::CLSID_DirectInput)) return "CLSID_DirectInput";
  if (port::SameGuid(guid, port::CLSID_DirectInput8)) return "CLSID_DirectInput8";
  if (port::SameGuid(guid, port::IID_IDirectInput7A)) return "IID_IDirectInput7A";
  if (port::SameGuid(guid, port::IID_IDirectInput8A)) return "IID_IDirectInput8A";
  if (port::SameGuid(guid, port::IID_IDirectInputDevice7A)) return "IID_IDirectInputDevice7A";
  if (port::SameGuid(guid, port::GUID_SysMouse)) return "GUID_SysMouse";
  if (port::SameGuid(guid, port::GUID_SysKeyboard)) return "GUID_SysKeyboard";
  if (port::SameGuid(guid, port::GUID_ConstantForce)) return "GUID_ConstantForce";
  if (port::SameGuid(guid, port::GUID_Sine)) return "GUID_Sine";
  return "unknown";
}

// The device a GUID names: "keyboard", "mouse", "padN", or empty.
std::string DeviceName(const port::ComGuid& guid) {
  if (port::SameGuid(guid, port::GUID_SysKeyboard)) return "keyboard";
  if (port::SameGuid(guid, port::GUID_SysMouse)) return "mouse";
  int pad = PadIndex(guid);
  return pad < 0 ? std::string() : "pad" + std::to_string(pad + 1);
}

std::string CooperativeText(uint32_t flags) {
  std::string text;
  auto add = [&](uint32_t bit, const char* name) {
    if (!(flags & bit)) return;
    if (!text.empty()) text += "|";
    text += name;
  };
  add(port::DISCL_EXCLUSIVE, "EXCLUSIVE");
  add(port::DISCL_NONEXCLUSIVE, "NONEXCLUSIVE");
  add(port::DISCL_FOREGROUND, "FOREGROUND");
  add(port::DISCL_BACKGROUND, "BACKGROUND");
  return text;
}

const char* AxisName(uint32_t offset) {
  switch (offset) {
    case port::DIJOFS_X: return "X";
    case port::DIJOFS_Y: return "Y";
    case port::DIJOFS_Z: return "Z";
    case port::DIJOFS_RX: return "RX";
    case port::DIJOFS_RY: return "RY";
    case port::DIJOFS_RZ: return "RZ";
    default: return "?";
  }
}

port::HResult CreateDevice(port::DirectInputHandle object, const port::ComGuid& guid,
                           port::DirectInputDeviceHandle* created, const std::string& line) {
  *created = nullptr;
  Record(line);
  std::string name = DeviceName(guid);
  if (object == nullptr || !object->initialised) return port::DIERR_GENERIC;
  if (name.empty()) return port::DIERR_DEVICENOTREG;
  port::HResult result = ScriptedResult("CreateDevice", name);
  if (result != port::DI_OK) return result;
  devices.push_back(std::make_unique<port::DirectInputDeviceObject>());
  devices.back()->name = name;
  devices.back()->pad = PadIndex(guid);
  *created = devices.back().get();
  record.liveObjects += 1;
  return port::DI_OK;
}

port::HResult EnumDevices(port::DirectInputHandle object, uint32_t type,
                          port::DIEnumDevicesCallback callback, void* reference, uint32_t flags,
                          const char* interfaceName) {
  Record(Format("%s.EnumDevices(%u, %s)", interfaceName, type,
                flags == port::DIEDFL_ATTACHEDONLY ? "ATTACHEDONLY" : "ALL"));
  if (object == nullptr || !object->initialised) return port::DIERR_GENERIC;
  port::HResult result = ScriptedResult("EnumDevices", std::to_string(object->version));
  if (result != port::DI_OK) return result;
  if (type != port::DI8DEVCLASS_GAMECTRL) return port::DI_OK;
  for (size_t i = 0; i < Script().pads.size(); ++i) {
    port::DIDeviceInstance instance{};
    instance.dwSize = sizeof instance;
    instance.guidInstance = PadInstance(int(i));
    instance.dwDevType = 0x114;  // a joystick
    std::snprintf(instance.tszInstanceName, sizeof instance.tszInstanceName, "%s",
                  Script().pads[i].instanceName.c_str());
    std::snprintf(instance.tszProductName, sizeof instance.tszProductName, "%s",
                  Script().pads[i].productName.c_str());
    if (callback(&instance, reference) == port::DIENUM_STOP) break;
  }
  return port::DI_OK;
}

uint32_t ReleaseObject(port::DirectInputHandle object, const char* interfaceName) {
  Record(Format("%s.Release", interfaceName));
  int left = --object->references;
  if (left == 0) {
    delete object;
    record.liveObjects -= 1;
  }
  return uint32_t(left);
}

port::HResult Initialize(port::DirectInputHandle object, uint32_t version,
                         const char* interfaceName) {
  Record(Format("%s.Initialize(0x%04X)", interfaceName, version));
  port::HResult result = ScriptedResult("Initialize", std::to_string(object->version));
  if (result == port::DI_OK) object->initialised = true;
  return result;
}

const char* EffectName(port::DirectInputEffectHandle effect) {
  return effect->sine ? "Sine" : "ConstantForce";
}

}  // namespace

namespace headless {

void ScriptDirectInput(const DirectInputScript& newScript) { Script() = newScript; }
const DirectInputRecord& DirectInputCalls() { return record; }
// The memory too: a long run clears the record often.
void ClearDirectInputCalls() { record.calls = std::vector<std::string>(); }

void ResetDirectInputScript() {
  Script() = DirectInputScript();
  record = DirectInputRecord();
}

DeviceView InspectDevice(const std::string& name) {
  DeviceView view;
  for (auto it = devices.rbegin(); it != devices.rend(); ++it) {
    const port::DirectInputDeviceObject& device = **it;
    if (device.name != name) continue;
    view.exists = device.references > 0;
    view.acquired = device.acquired;
    view.cooperativeFlags = device.cooperativeFlags;
    view.dataFormat = device.dataFormat;
    view.hasEvent = device.event != nullptr;
    for (const port::DirectInputEffectObject* effect : device.effects) {
      if (effect->references <= 0) continue;
      view.liveEffects += 1;
      (effect->sine ? view.sinePlaying : view.constantPlaying) |= effect->playing;
    }
    break;
  }
  return view;
}

void PressDeviceKey(int keyNumber, bool held) {
  for (auto& device : devices) {
    if (device->name != "keyboard" || device->references <= 0) continue;
    device->keys[keyNumber & 0xFF] = held ? 0x80 : 0x00;
    if (device->event != nullptr) device->event->signalled = true;
  }
}

void SetPadState(int padNumber, const port::DIJoyState& state) {
  if (padNumber >= 1 && size_t(padNumber) <= Script().pads.size())
    Script().pads[size_t(padNumber - 1)].state = state;
}

void UnacquireAllDevices() {
  for (auto& device : devices) device->acquired = false;
}

bool EventSignalled(port::EventHandle event) { return event != nullptr && event->signalled; }

}  // namespace headless

namespace port {

HResult CoCreateDirectInput(CoCreateInstanceFunction, const ComGuid& classId, uint32_t,
                            const ComGuid& interfaceId, DirectInputHandle* object) {
  *object = nullptr;
  Record(Format("CoCreateInstance(%s, %s)", GuidName(classId), GuidName(interfaceId)));
  int version = 0;
  if (Script().version7 && SameGuid(classId, CLSID_DirectInput) &&
      SameGuid(interfaceId, IID_IDirectInput7A))
    version = 7;
  if (Script().version8 && SameGuid(classId, CLSID_DirectInput8) &&
      SameGuid(interfaceId, IID_IDirectInput8A))
    version = 8;
  if (version == 0) return DIERR_DEVICENOTREG;
  HResult result = ScriptedResult("CoCreateInstance", std::to_string(version));
  if (result != DI_OK) return result;
  *object = new DirectInputObject;
  (*object)->version = version;
  record.liveObjects += 1;
  return DI_OK;
}

HResult IDirectInput7_Initialize(DirectInputHandle object, InstanceHandle, uint32_t version) {
  return Initialize(object, version, "IDirectInput7");
}

HResult IDirectInput7_CreateDeviceEx(DirectInputHandle object, const ComGuid& device,
                                     const ComGuid& interfaceId, DirectInputDeviceHandle* created,
                                     void*) {
  return CreateDevice(object, device, created,
                      Format("IDirectInput7.CreateDeviceEx(%s, %s)", DeviceName(device).c_str(),
                             GuidName(interfaceId)));
}

HResult IDirectInput7_EnumDevices(DirectInputHandle object, uint32_t deviceType,
                                  DIEnumDevicesCallback callback, void* reference,
                                  uint32_t flags) {
  return EnumDevices(object, deviceType, callback, reference, flags, "IDirectInput7");
}

uint32_t IDirectInput7_Release(DirectInputHandle object) {
  return ReleaseObject(object, "IDirectInput7");
}

HResult IDirectInput8_Initialize(DirectInputHandle object, InstanceHandle, uint32_t version) {
  return Initialize(object, version, "IDirectInput8");
}

HResult IDirectInput8_CreateDevice(DirectInputHandle object, const ComGuid& device,
                                   DirectInputDeviceHandle* created, void*) {
  return CreateDevice(object, device, created,
                      Format("IDirectInput8.CreateDevice(%s)", DeviceName(device).c_str()));
}

HResult IDirectInput8_EnumDevices(DirectInputHandle object, uint32_t deviceClass,
                                  DIEnumDevicesCallback callback, void* reference,
                                  uint32_t flags) {
  return EnumDevices(object, deviceClass, callback, reference, flags, "IDirectInput8");
}

uint32_t IDirectInput8_Release(DirectInputHandle object) {
  return ReleaseObject(object, "IDirectInput8");
}

HResult IDirectInputDevice_SetDataFormat(DirectInputDeviceHandle device,
                                         const DIDataFormat* format) {
  static const char* const names[] = {"none", "c_dfDIMouse2", "c_dfDIKeyboard", "c_dfDIJoystick"};
  int id = format != nullptr && format->predefined >= 1 && format->predefined <= 3
               ? format->predefined
               : 0;
  Record(Format("%s.SetDataFormat(%s)", device->name.c_str(), names[id]));
  HResult result = ScriptedResult("SetDataFormat", device->name);
  if (result != DI_OK) return result;
  if (id == 0) return DIERR_GENERIC;
  // Only a keyboard takes the keyboard format, and so on.
  bool fits = (id == 1 && device->name == "mouse") || (id == 2 && device->name == "keyboard") ||
              (id == 3 && device->name.rfind("pad", 0) == 0);
  if (!fits) return DIERR_GENERIC;
  device->dataFormat = id;
  return DI_OK;
}

HResult IDirectInputDevice_SetCooperativeLevel(DirectInputDeviceHandle device, WindowHandle,
                                               uint32_t flags) {
  Record(Format("%s.SetCooperativeLevel(%s)", device->name.c_str(), CooperativeText(flags).c_str()));
  HResult result = ScriptedResult("SetCooperativeLevel", device->name);
  if (result != DI_OK) return result;
  device->cooperativeFlags = flags;
  return DI_OK;
}

HResult IDirectInputDevice_SetProperty(DirectInputDeviceHandle device, DIProperty property,
                                       const DIPropHeader* header) {
  std::string detail;
  std::string line;
  const char* how = header->dwHow == DIPH_DEVICE ? "DEVICE" : "BYOFFSET";
  if (property == DIPROP_BUFFERSIZE) {
    const DIPropDword* value = reinterpret_cast<const DIPropDword*>(header);
    detail = "BUFFERSIZE";
    line = Format("BUFFERSIZE, size %u, header %u, %s %u, %u", header->dwSize,
                  header->dwHeaderSize, how, header->dwObj, value->dwData);
  } else if (property == DIPROP_RANGE) {
    const DIPropRange* range = reinterpret_cast<const DIPropRange*>(header);
    detail = std::string("RANGE ") + AxisName(header->dwObj);
    line = Format("RANGE, size %u, header %u, %s %s, %d..%d", header->dwSize,
                  header->dwHeaderSize, how, AxisName(header->dwObj), range->lMin, range->lMax);
  } else if (property == DIPROP_DEADZONE) {
    const DIPropDword* value = reinterpret_cast<const DIPropDword*>(header);
    detail = std::string("DEADZONE ") + AxisName(header->dwObj);
    line = Format("DEADZONE, size %u, header %u, %s %s, %u", header->dwSize,
                  header->dwHeaderSize, how, AxisName(header->dwObj), value->dwData);
  } else {
    line = Format("property %u", unsigned(property));
  }
  Record(device->name + ".SetProperty(" + line + ")");
  return ScriptedResult("SetProperty", device->name, detail);
}

HResult IDirectInputDevice_SetEventNotification(DirectInputDeviceHandle device,
                                                EventHandle event) {
  Record(device->name + (event ? ".SetEventNotification(event)" : ".SetEventNotification(null)"));
  HResult result = ScriptedResult("SetEventNotification", device->name);
  if (result != DI_OK) return result;
  device->event = event;
  return DI_OK;
}

HResult IDirectInputDevice_Acquire(DirectInputDeviceHandle device) {
  Record(device->name + ".Acquire");
  HResult result = ScriptedResult("Acquire", device->name);
  if (result != DI_OK) return result;
  if (device->dataFormat == 0) return DIERR_GENERIC;  // DIERR_INVALIDPARAM on the platform
  device->acquired = true;
  return DI_OK;
}

HResult IDirectInputDevice_Unacquire(DirectInputDeviceHandle device) {
  Record(device->name + ".Unacquire");
  HResult result = ScriptedResult("Unacquire", device->name);
  if (result != DI_OK) return result;
  bool was = device->acquired;
  device->acquired = false;
  return was ? DI_OK : 1;  // DI_NOEFFECT
}

HResult IDirectInputDevice_GetDeviceState(DirectInputDeviceHandle device, uint32_t size,
                                          void* state) {
  Record(Format("%s.GetDeviceState(%u)", device->name.c_str(), size));
  HResult result = ScriptedResult("GetDeviceState", device->name);
  if (result != DI_OK) return result;
  if (!device->acquired) return DIERR_NOTACQUIRED;
  if (device->pad >= 0 && size_t(device->pad) < Script().pads.size() && device->dataFormat == 3 &&
      size == sizeof(DIJoyState)) {
    std::memcpy(state, &Script().pads[size_t(device->pad)].state, size);
    return DI_OK;
  }
  if (device->name != "keyboard" || size != 256) return DIERR_GENERIC;
  std::memcpy(state, device->keys, 256);
  return DI_OK;
}

HResult IDirectInputDevice_Poll(DirectInputDeviceHandle device) {
  Record(device->name + ".Poll");
  HResult result = ScriptedResult("Poll", device->name);
  if (result != DI_OK) return result;
  return device->acquired ? DI_OK : DIERR_NOTACQUIRED;
}

HResult IDirectInputDevice_GetDeviceInfo(DirectInputDeviceHandle device,
                                         DIDeviceInstance* instance) {
  Record(Format("%s.GetDeviceInfo(%u)", device->name.c_str(), instance->dwSize));
  HResult result = ScriptedResult("GetDeviceInfo", device->name);
  if (result != DI_OK) return result;
  if (instance->dwSize != sizeof(DIDeviceInstance)) return DIERR_GENERIC;
  std::memset(reinterpret_cast<char*>(instance) + sizeof instance->dwSize, 0,
              sizeof *instance - sizeof instance->dwSize);
  if (device->name.rfind("pad", 0) == 0) {
    int index = std::stoi(device->name.substr(3)) - 1;
    instance->guidInstance = PadInstance(index);
    std::snprintf(instance->tszInstanceName, sizeof instance->tszInstanceName, "%s",
                  Script().pads[size_t(index)].instanceName.c_str());
    std::snprintf(instance->tszProductName, sizeof instance->tszProductName, "%s",
                  Script().pads[size_t(index)].productName.c_str());
  } else {
    std::snprintf(instance->tszInstanceName, sizeof instance->tszInstanceName, "%s",
                  device->name.c_str());
    std::snprintf(instance->tszProductName, sizeof instance->tszProductName, "%s",
                  device->name.c_str());
  }
  return DI_OK;
}

HResult IDirectInputDevice_CreateEffect(DirectInputDeviceHandle device, const ComGuid& effect,
                                        const DIEffect* parameters,
                                        DirectInputEffectHandle* created, void*) {
  *created = nullptr;
  bool sine = SameGuid(effect, GUID_Sine);
  Record(Format("%s.CreateEffect(%s, size %u)", device->name.c_str(), GuidName(effect),
                parameters->dwSize));
  headless::EffectRecord made;
  made.device = device->name;
  made.sine = sine;
  made.parameters = *parameters;
  for (uint32_t i = 0; i < parameters->cAxes && i < 8; ++i) {
    if (parameters->rgdwAxes) made.axes.push_back(parameters->rgdwAxes[i]);
    if (parameters->rglDirection) made.directions.push_back(parameters->rglDirection[i]);
  }
  made.hasEnvelope = parameters->lpEnvelope != nullptr;
  if (made.hasEnvelope) made.envelope = *parameters->lpEnvelope;
  if (parameters->lpvTypeSpecificParams != nullptr) {
    if (sine && parameters->cbTypeSpecificParams == sizeof(DIPeriodic))
      made.periodic = *static_cast<const DIPeriodic*>(parameters->lpvTypeSpecificParams);
    if (!sine && parameters->cbTypeSpecificParams == sizeof(DIConstantForce))
      made.constant = *static_cast<const DIConstantForce*>(parameters->lpvTypeSpecificParams);
  }
  record.effects.push_back(made);
  HResult result = ScriptedResult("CreateEffect", device->name, sine ? "Sine" : "ConstantForce");
  if (result != DI_OK) return result;
  int index = std::stoi(device->name.substr(3)) - 1;
  if (!Script().pads[size_t(index)].forceFeedback) return DIERR_UNSUPPORTED;
  // The platform takes the structure of its own size and no other.
  if (parameters->dwSize != sizeof(DIEffect)) return DIERR_GENERIC;
  effects.push_back(std::make_unique<DirectInputEffectObject>());
  effects.back()->device = device;
  effects.back()->sine = sine;
  device->effects.push_back(effects.back().get());
  *created = effects.back().get();
  record.liveObjects += 1;
  return DI_OK;
}

uint32_t IDirectInputDevice_Release(DirectInputDeviceHandle device) {
  Record(device->name + ".Release");
  int left = --device->references;
  if (left == 0) {
    device->acquired = false;
    device->event = nullptr;
    record.liveObjects -= 1;
  }
  return uint32_t(left);
}

HResult IDirectInputEffect_Start(DirectInputEffectHandle effect, uint32_t iterations,
                                 uint32_t flags) {
  Record(Format("%s.%s.Start(%u, %u)", effect->device->name.c_str(), EffectName(effect),
                iterations, flags));
  HResult result = ScriptedResult("Start", effect->device->name, EffectName(effect));
  if (result != DI_OK) return result;
  effect->playing = true;
  return DI_OK;
}

HResult IDirectInputEffect_Stop(DirectInputEffectHandle effect) {
  Record(Format("%s.%s.Stop", effect->device->name.c_str(), EffectName(effect)));
  HResult result = ScriptedResult("Stop", effect->device->name, EffectName(effect));
  if (result != DI_OK) return result;
  effect->playing = false;
  return DI_OK;
}

uint32_t IDirectInputEffect_Release(DirectInputEffectHandle effect) {
  Record(Format("%s.%s.Release", effect->device->name.c_str(), EffectName(effect)));
  int left = --effect->references;
  if (left == 0) {
    effect->playing = false;
    record.liveObjects -= 1;
  }
  return uint32_t(left);
}

EventHandle CreateEventA(void*, int manualReset, int initialState, const char* name) {
  Record(Format("CreateEventA(%s, %s, %s)", manualReset ? "manual" : "auto",
                initialState ? "signalled" : "not signalled", name ? name : "unnamed"));
  if (ScriptedResult("CreateEventA", "") != DI_OK) return nullptr;
  EventObject* event = new EventObject;
  event->manualReset = manualReset != 0;
  event->signalled = initialState != 0;
  record.liveEvents += 1;
  return event;
}

uint32_t WaitForSingleObject(EventHandle event, uint32_t) {
  if (event == nullptr) return 0xFFFFFFFFu;  // WAIT_FAILED
  if (!event->signalled) return WAIT_TIMEOUT;
  if (!event->manualReset) event->signalled = false;
  return WAIT_OBJECT_0;
}

int ResetEvent(EventHandle event) {
  if (event == nullptr) return 0;
  event->signalled = false;
  return 1;
}

int CloseHandle(EventHandle event) {
  if (event == nullptr) return 0;
  Record("CloseHandle(event)");
  for (auto& device : devices)
    if (device->event == event) device->event = nullptr;
  delete event;
  record.liveEvents -= 1;
  return 1;
}

}  // namespace port
