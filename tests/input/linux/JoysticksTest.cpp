// The system's joysticks on Linux are SDL's game controllers: a virtual
// controller attached through SDL is joystick 0 while it is there.
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

}  // namespace
