#include "engine/platform/emulated/MessageQueue.h"

#include <algorithm>
#include <deque>
#include <map>

#include "engine/platform/ClockPort.h"
#include "engine/platform/emulated/WindowSystem.h"

namespace emulated {

namespace {

std::map<std::thread::id, std::deque<port::WindowMessage>>& Queues() {
  static std::map<std::thread::id, std::deque<port::WindowMessage>> queues;
  return queues;
}

}  // namespace

port::WindowMessage MakeMessage(port::WindowHandle window, uint32_t message, port::WParam wParam,
                                port::LParam lParam) {
  port::WindowMessage m{};
  m.window = window;
  m.message = message;
  m.wParam = wParam;
  m.lParam = lParam;
  m.time = port::timeGetTime();
  return m;
}

void PostToThread(std::thread::id thread, const port::WindowMessage& message) {
  WindowSystemLock lock(WindowSystemMutex());
  Queues()[thread].push_back(message);
}

bool PostToWindow(port::WindowHandle window, uint32_t message, port::WParam wParam,
                  port::LParam lParam) {
  WindowSystemLock lock(WindowSystemMutex());
  const WindowBasics* w = FindWindowBasics(window);
  if (w == nullptr) return false;
  PostToThread(w->owner, MakeMessage(window, message, wParam, lParam));
  return true;
}

bool FilterAdmits(port::WindowHandle filter, const port::WindowMessage& message) {
  if (filter == nullptr) return true;
  if (filter == port::THREAD_MESSAGES_ONLY) return message.window == nullptr;
  return message.window == filter;
}

bool TakeQueuedMessage(port::WindowHandle filter, bool remove, port::WindowMessage* message) {
  WindowSystemLock lock(WindowSystemMutex());
  auto& queue = Queues()[std::this_thread::get_id()];
  for (auto it = queue.begin(); it != queue.end(); ++it) {
    if (!FilterAdmits(filter, *it)) continue;
    *message = *it;
    if (remove) queue.erase(it);
    return true;
  }
  return false;
}

int QueuedMessageCount(std::thread::id thread) {
  WindowSystemLock lock(WindowSystemMutex());
  return static_cast<int>(Queues()[thread].size());
}

void DropQueuedMessagesOf(std::thread::id owner, port::WindowHandle window) {
  WindowSystemLock lock(WindowSystemMutex());
  auto& queue = Queues()[owner];
  queue.erase(std::remove_if(queue.begin(), queue.end(),
                             [window](const port::WindowMessage& m) { return m.window == window; }),
              queue.end());
}

void ResetMessageQueues() {
  WindowSystemLock lock(WindowSystemMutex());
  Queues().clear();
}

}  // namespace emulated

namespace port {

int PostMessageA(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
  if (window == nullptr) {
    emulated::PostToThread(std::this_thread::get_id(),
                           emulated::MakeMessage(nullptr, message, wParam, lParam));
    return 1;
  }
  return emulated::PostToWindow(window, message, wParam, lParam) ? 1 : 0;
}

void PostQuitMessage(int exitCode) {
  emulated::PostToThread(std::this_thread::get_id(),
                         emulated::MakeMessage(nullptr, WM_QUIT, static_cast<WParam>(exitCode), 0));
}

// No keyboard layout to turn key messages into characters: the adapters
// post WM_CHAR themselves.
int TranslateMessage(const WindowMessage*) { return 0; }

// A WM_TIMER with a procedure runs the procedure instead of the window's.
LResult DispatchMessageA(const WindowMessage* message) {
  if (message->message == WM_TIMER && message->lParam != 0) {
    reinterpret_cast<TimerProcedure>(message->lParam)(message->window, WM_TIMER, message->wParam,
                                                      message->time);
    return 0;
  }
  if (message->window == nullptr) return 0;
  return emulated::SendToWindow(message->window, message->message, message->wParam, message->lParam);
}

}  // namespace port
