#include "engine/core/RuntimeLibraries.h"

#include <cstring>

Ws2Library ws2Library;
Imm32Library imm32Library;
WinmmLibrary winmmLibrary;
Ole32Library ole32Library;
Comctl32Library comctl32Library;
DwmapiLibrary dwmapiLibrary;
User32Library user32Library;

namespace {

// One function of a library: its exported name and where its pointer goes.
// Every pointer slot has the size and representation of a plain function
// pointer, so the binder fills them all through one type.
struct FunctionSlot {
  const char* name;
  void* slot;
};

template <typename Pointer>
FunctionSlot Slot(const char* name, Pointer* pointer) {
  static_assert(sizeof(Pointer) == sizeof(port::ProcAddress), "a function pointer");
  return FunctionSlot{name, pointer};
}

void Store(void* slot, port::ProcAddress address) { std::memcpy(slot, &address, sizeof address); }

template <size_t N>
void Bind(const char* libraryName, port::ModuleHandle* module, const FunctionSlot (&functions)[N]) {
  if (*module != nullptr) return;  // already loaded
  *module = port::LoadLibraryA(libraryName);
  for (const FunctionSlot& function : functions) {
    Store(function.slot, *module != nullptr ? port::GetProcAddress(*module, function.name) : nullptr);
  }
}

template <typename Library>
void Free(Library* library) {
  if (library->module != nullptr) port::FreeLibrary(library->module);
  *library = Library{};
}

void BindWs2() {
  Ws2Library& l = ws2Library;
  const FunctionSlot functions[] = {
      Slot("WSAGetLastError", &l.WSAGetLastError), Slot("WSAStartup", &l.WSAStartup),
      Slot("WSACleanup", &l.WSACleanup),           Slot("WSAAsyncSelect", &l.WSAAsyncSelect),
      Slot("gethostbyaddr", &l.gethostbyaddr),     Slot("gethostbyname", &l.gethostbyname),
      Slot("gethostname", &l.gethostname),         Slot("ntohs", &l.ntohs),
      Slot("htons", &l.htons),                     Slot("connect", &l.connect),
      Slot("socket", &l.socket),                   Slot("send", &l.send),
      Slot("sendto", &l.sendto),                   Slot("recvfrom", &l.recvfrom),
      Slot("accept", &l.accept),                   Slot("closesocket", &l.closesocket),
      Slot("shutdown", &l.shutdown),               Slot("listen", &l.listen),
      Slot("bind", &l.bind),                       Slot("inet_addr", &l.inet_addr),
      Slot("recv", &l.recv),
  };
  Bind("ws2_32.dll", &l.module, functions);
}

void BindImm32() {
  Imm32Library& l = imm32Library;
  const FunctionSlot functions[] = {
      Slot("ImmGetContext", &l.ImmGetContext),
      Slot("ImmReleaseContext", &l.ImmReleaseContext),
      Slot("ImmGetOpenStatus", &l.ImmGetOpenStatus),
      Slot("ImmGetConversionStatus", &l.ImmGetConversionStatus),
      Slot("ImmNotifyIME", &l.ImmNotifyIME),
      Slot("ImmSetOpenStatus", &l.ImmSetOpenStatus),
      Slot("ImmGetCandidateListA", &l.ImmGetCandidateListA),
      Slot("ImmGetCompositionStringA", &l.ImmGetCompositionStringA),
      Slot("ImmSetCompositionStringA", &l.ImmSetCompositionStringA),
  };
  Bind("Imm32.dll", &l.module, functions);
}

void BindWinmm() {
  WinmmLibrary& l = winmmLibrary;
  const FunctionSlot functions[] = {
      Slot("timeSetEvent", &l.timeSetEvent),       Slot("timeKillEvent", &l.timeKillEvent),
      Slot("timeBeginPeriod", &l.timeBeginPeriod), Slot("timeEndPeriod", &l.timeEndPeriod),
      Slot("timeGetTime", &l.timeGetTime),         Slot("timeGetDevCaps", &l.timeGetDevCaps),
      Slot("joyGetPosEx", &l.joyGetPosEx),         Slot("joyGetDevCapsA", &l.joyGetDevCapsA),
      Slot("mciSendCommandA", &l.mciSendCommandA),
  };
  Bind("winmm.dll", &l.module, functions);
}

void BindOle32() {
  Ole32Library& l = ole32Library;
  const FunctionSlot functions[] = {
      Slot("CoCreateInstance", &l.CoCreateInstance),
      Slot("CoTaskMemAlloc", &l.CoTaskMemAlloc),
      Slot("CoTaskMemFree", &l.CoTaskMemFree),
      Slot("CoInitialize", &l.CoInitialize),
      Slot("CoFreeUnusedLibraries", &l.CoFreeUnusedLibraries),
      Slot("CoUninitialize", &l.CoUninitialize),
  };
  Bind("ole32.dll", &l.module, functions);
}

void BindComctl32() {
  const FunctionSlot functions[] = {Slot("InitCommonControls", &comctl32Library.InitCommonControls)};
  Bind("comctl32.dll", &comctl32Library.module, functions);
}

void BindDwmapi() {
  const FunctionSlot functions[] = {Slot("DwmEnableComposition", &dwmapiLibrary.DwmEnableComposition)};
  Bind("dwmapi.dll", &dwmapiLibrary.module, functions);
}

void BindUser32() {
  const FunctionSlot functions[] = {Slot("WINNLSEnableIME", &user32Library.WINNLSEnableIME)};
  Bind("User32.dll", &user32Library.module, functions);
}

}  // namespace

void BindStartupLibraries() {
  BindWs2();
  BindImm32();
  BindWinmm();
  BindOle32();
  BindComctl32();
}

void BindWindowLibraries() {
  BindDwmapi();
  BindUser32();
}

void FreeRuntimeLibraries() {
  Free(&dwmapiLibrary);
  Free(&user32Library);
  Free(&ws2Library);
  Free(&imm32Library);
  Free(&winmmLibrary);
  Free(&ole32Library);
  Free(&comctl32Library);
}
