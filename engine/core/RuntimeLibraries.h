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

using UntypedFunction = void (*)();

// TIMECAPS.
struct TimeCaps {
  uint32_t periodMin;
  uint32_t periodMax;
};

struct Ws2Library {
  void* module;
  UntypedFunction WSAGetLastError, WSAStartup, WSACleanup, WSAAsyncSelect, gethostbyaddr,
      gethostbyname, gethostname, ntohs, htons, connect, socket, send, sendto, recvfrom, accept,
      closesocket, shutdown, listen, bind, inet_addr, recv;
};

struct Imm32Library {
  void* module;
  UntypedFunction ImmGetContext, ImmReleaseContext, ImmGetOpenStatus, ImmGetConversionStatus,
      ImmNotifyIME, ImmSetOpenStatus, ImmGetCandidateListA, ImmGetCompositionStringA,
      ImmSetCompositionStringA;
};

struct WinmmLibrary {
  void* module;
  UntypedFunction timeSetEvent, timeKillEvent;
  uint32_t (*timeBeginPeriod)(uint32_t period);
  uint32_t (*timeEndPeriod)(uint32_t period);
  uint32_t (*timeGetTime)();
  uint32_t (*timeGetDevCaps)(TimeCaps* caps, uint32_t size);
  uint32_t (*joyGetPosEx)(uint32_t joystickId, void* info);
  uint32_t (*joyGetDevCapsA)(uintptr_t joystickId, void* caps, uint32_t size);
  UntypedFunction mciSendCommandA;
};

struct Ole32Library {
  void* module;
  // (class id, outer object, class context, interface id, out object)
  int32_t (*CoCreateInstance)(const void* classId, void* outer, uint32_t context,
                              const void* interfaceId, void** object);
  void* (*CoTaskMemAlloc)(size_t size);
  void (*CoTaskMemFree)(void* block);
  int32_t (*CoInitialize)(void* reserved);
  void (*CoFreeUnusedLibraries)();
  void (*CoUninitialize)();
};

struct Comctl32Library {
  void* module;
  void (*InitCommonControls)();
};

struct DwmapiLibrary {
  void* module;
  int32_t (*DwmEnableComposition)(uint32_t action);
};

struct User32Library {
  void* module;
  int (*WINNLSEnableIME)(void* window, int enable);
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
