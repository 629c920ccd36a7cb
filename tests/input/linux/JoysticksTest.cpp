// The system's joysticks on Linux are SDL's game controllers: a virtual
// controller attached through SDL is joystick 0 while it is there, and its
// controls read as Windows' joystick calls show an XInput pad.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/platform/InputPort.h"

namespace {

TEST(LinuxJoysticks, AreSdlsGameControllers) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
  if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a joystick is attached to this machine";
  uint8_t caps[port::JOYCAPSA_SIZE];
  EXPECT_EQ(port::joyGetDevCapsA(0, caps, sizeof caps), port::JOYERR_UNPLUGGED);

  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 1);
  ASSERT_GE(index, 0) << SDL_GetError();
  if (!SDL_IsGameController(index)) {
    SDL_JoystickDetachVirtual(index);
    GTEST_SKIP() << "this SDL gives virtual joysticks no controller mapping";
  }
  EXPECT_EQ(port::joyGetDevCapsA(0, caps, sizeof caps), port::JOYERR_NOERROR);
  const char* name = reinterpret_cast<const char*>(caps + 4);
  EXPECT_EQ(std::string(name, strnlen(name, 32)), std::string(SDL_GameControllerNameForIndex(index)).substr(0, 31));
  EXPECT_EQ(port::joyGetDevCapsA(1, caps, sizeof caps), port::JOYERR_UNPLUGGED);
  EXPECT_EQ(port::joyGetDevCapsA(0, caps, 16), port::JOYERR_PARMS);

  SDL_JoystickDetachVirtual(index);
  EXPECT_EQ(port::joyGetDevCapsA(0, caps, sizeof caps), port::JOYERR_UNPLUGGED);
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

TEST(LinuxJoysticks, ReadTheControllersControls) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
  if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a joystick is attached to this machine";
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                              SDL_CONTROLLER_BUTTON_MAX, 0);
  ASSERT_GE(index, 0) << SDL_GetError();
  if (!SDL_IsGameController(index)) {
    SDL_JoystickDetachVirtual(index);
    GTEST_SKIP() << "this SDL gives virtual joysticks no controller mapping";
  }
  port::JoyInfoEx info{};
  info.dwSize = sizeof info;
  info.dwFlags = port::JOY_RETURNALL;
  // The first reading opens the controller: SDL takes the values a
  // trigger has then as its rest.
  ASSERT_EQ(port::joyGetPosEx(0, &info), port::JOYERR_NOERROR);
  EXPECT_EQ(info.dwPOV, port::JOY_POVCENTERED);
  SDL_Joystick* joystick = SDL_JoystickOpen(index);
  ASSERT_NE(joystick, nullptr) << SDL_GetError();
  SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, 32767);
  SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, -32768);
  SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_RIGHTX, 0);
  SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_RIGHTY, 32767);
  SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767);
  SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_B, 1);
  SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_START, 1);
  SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_DPAD_DOWN, 1);
  SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
  SDL_JoystickUpdate();

  ASSERT_EQ(port::joyGetPosEx(0, &info), port::JOYERR_NOERROR);
  EXPECT_EQ(info.dwXpos, 65535u);
  EXPECT_EQ(info.dwYpos, 0u);
  EXPECT_EQ(info.dwUpos, 32768u);
  EXPECT_EQ(info.dwRpos, 65535u);
  EXPECT_EQ(info.dwZpos, 65534u);  // the left trigger pulled fully
  EXPECT_EQ(info.dwButtons, (1u << 1) | (1u << 7));  // B and Start
  EXPECT_EQ(info.dwButtonNumber, 2u);
  EXPECT_EQ(info.dwPOV, 22500u);  // down and left

  port::JoyCaps caps{};
  ASSERT_EQ(port::joyGetDevCapsA(0, &caps, sizeof caps), port::JOYERR_NOERROR);
  EXPECT_EQ(caps.wXmax, 65535u);
  EXPECT_EQ(caps.wRmax, 65535u);
  info.dwSize = 12;
  EXPECT_EQ(port::joyGetPosEx(0, &info), port::JOYERR_PARMS);

  SDL_JoystickClose(joystick);
  SDL_JoystickDetachVirtual(index);
  info.dwSize = sizeof info;
  EXPECT_EQ(port::joyGetPosEx(0, &info), port::JOYERR_UNPLUGGED);
  SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

}  // namespace
