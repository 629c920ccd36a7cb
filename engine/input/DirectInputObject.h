// The DirectInput object of either version, and the calls whose form
// depends on the version: making it, making a device, enumerating the game
// controllers and releasing it.
#pragma once

#include "engine/platform/DirectInputPort.h"

// Tries DirectInput 7, then DirectInput 8, logging each step. On success
// the object is in inputContext.directInput (isDirectInput8 says which) and
// the log is one level deeper than before, for the device set-up; on
// failure directInput is null and the level is unchanged.
bool ObtainDirectInput();

// The device for a device or instance GUID: IDirectInput8::CreateDevice, or
// IDirectInput7::CreateDeviceEx asking for IID_IDirectInputDevice7A.
port::HResult CreateInputDevice(const port::ComGuid& guid, port::DirectInputDeviceHandle* device);

// The attached game controllers, one callback each.
port::HResult EnumGameControllers(port::DIEnumDevicesCallback callback, void* reference);

// Releases the object and nulls directInput.
void ReleaseDirectInputObject();
