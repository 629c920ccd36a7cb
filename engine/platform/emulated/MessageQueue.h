// The emulated message queues: one per thread, holding the messages posted
// to the thread and to the windows it owns, in order. PostMessageA,
// PostQuitMessage, TranslateMessage and DispatchMessageA are defined here
// for every emulating adapter; PeekMessageA stays with the adapter (it adds
// its own events and paint messages) and takes the queued ones from here.
#pragma once

#include <cstdint>
#include <thread>

#include "engine/platform/WindowPort.h"

namespace emulated {

// A message stamped with the current time, as the queue stores it.
port::WindowMessage MakeMessage(port::WindowHandle window, uint32_t message, port::WParam wParam,
                                port::LParam lParam);

// Appends to the queue of a thread.
void PostToThread(std::thread::id thread, const port::WindowMessage& message);
// Appends to the queue of the thread that owns the window; false when
// there is no such window.
bool PostToWindow(port::WindowHandle window, uint32_t message, port::WParam wParam,
                  port::LParam lParam);

// Whether a PeekMessageA filter admits the message: null takes any,
// THREAD_MESSAGES_ONLY the messages posted to the thread itself, a window
// only its own.
bool FilterAdmits(port::WindowHandle filter, const port::WindowMessage& message);

// The first message of the calling thread's queue that the filter admits,
// removed from the queue when remove is set. False when there is none.
bool TakeQueuedMessage(port::WindowHandle filter, bool remove, port::WindowMessage* message);

// The number of messages waiting in a thread's queue.
int QueuedMessageCount(std::thread::id thread);

// Drops the window's messages from its owner's queue (the window is being
// destroyed).
void DropQueuedMessagesOf(std::thread::id owner, port::WindowHandle window);

// Forgets every queue.
void ResetMessageQueues();

}  // namespace emulated
