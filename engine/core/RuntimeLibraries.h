// The system libraries the engine binds at run time by name. Start-up loads
// each library (unless it is loaded already) and keeps one pointer per
// function; a library or function that is missing leaves a null pointer, and
// every user tests its pointer before calling. Shut-down frees each library
// and nulls its pointers. On a platform without these libraries every
// pointer stays null.
//
// The pointers have the platform's own signatures in portable types (the
// build is 64-bit only, where the system's calling convention is the
// default one); those of the network, movie and music layers, which nothing
// in this engine calls yet, stay untyped.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/platform/ClockPort.h"
#include "engine/platform/SystemPort.h"

using UntypedFunction = port::ProcAddress;

struct Ws2Library {
  port::ModuleHandle module;
  UntypedFunction WSAGetLastError, WSAStartup, WSACleanup, WSAAsyncSelect, gethostbyaddr,
      gethostbyname, gethostname, ntohs, htons, connect, socket, send, sendto, recvfrom, accept,
      closesocket, shutdown, listen, bind, inet_addr, recv;
};

struct Imm32Library {
  port::ModuleHandle module;
  UntypedFunction ImmGetContext, ImmReleaseContext, ImmGetOpenStatus, ImmGetConversionStatus,
      ImmNotifyIME, ImmSetOpenStatus, ImmGetCandidateListA, ImmGetCompositionStringA,
      ImmSetCompositionStringA;
};

struct WinmmLibrary {
  port::ModuleHandle module;
  UntypedFunction timeSetEvent, timeKillEvent;
  uint32_t (PORT_WINAPI* timeBeginPeriod)(uint32_t period);
  uint32_t (PORT_WINAPI* timeEndPeriod)(uint32_t period);
  uint32_t (PORT_WINAPI* timeGetTime)();
  uint32_t (PORT_WINAPI* timeGetDevCaps)(port::TimeCaps* caps, uint32_t size);
  uint32_t (PORT_WINAPI* joyGetPosEx)(uint32_t joystickId, void* info);
  uint32_t (PORT_WINAPI* joyGetDevCapsA)(uintptr_t joystickId, void* caps, uint32_t size);
  UntypedFunction mciSendCommandA;
};

struct Ole32Library {
  port::ModuleHandle module;
  // (class id, outer object, class context, interface id, out object)
  int32_t (PORT_WINAPI* CoCreateInstance)(const void* classId, void* outer, uint32_t context,
                              const void* interfaceId, void** object);
  void* (PORT_WINAPI* CoTaskMemAlloc)(size_t size);
  void (PORT_WINAPI* CoTaskMemFree)(void* block);
  int32_t (PORT_WINAPI* CoInitialize)(void* reserved);
  void (PORT_WINAPI* CoFreeUnusedLibraries)();
  void (PORT_WINAPI* CoUninitialize)();
};

struct Comctl32Library {
  port::ModuleHandle module;
  void (PORT_WINAPI* InitCommonControls)();
};

struct DwmapiLibrary {
  port::ModuleHandle module;
  int32_t (PORT_WINAPI* DwmEnableComposition)(uint32_t action);
};

struct User32Library {
  port::ModuleHandle module;
  int (PORT_WINAPI* WINNLSEnableIME)(void* window, int enable);
};

extern Ws2Library ws2Library;
extern Imm32Library imm32Library;
extern WinmmLibrary winmmLibrary;
extern Ole32Library ole32Library;
extern Comctl32Library comctl32Library;
extern DwmapiLibrary dwmapiLibrary;
extern User32Library user32Library;

// Start-up step 2: ws2_32.dll, Imm32.dll, winmm.dll, ole32.dll, comctl32.dll.
void BindStartupLibraries();
// Start-up step 11: dwmapi.dll, User32.dll.
void BindWindowLibraries();
// Shut-down: dwmapi.dll, User32.dll, ws2_32.dll, Imm32.dll, winmm.dll,
// ole32.dll and comctl32.dll are freed in this order, their pointers nulled.
void FreeRuntimeLibraries();
