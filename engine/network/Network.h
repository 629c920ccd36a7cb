// The network handles as start-up, shut-down, the window procedure and the
// message pump see them. The layer starts on the first use of a socket
// handle, which this program never makes.
#pragma once

#include <cstdint>

// 1 once the socket library was started.
extern int networkStarted;

// The pump's processing of the sockets' window messages; nothing when the
// layer was not started.
void ProcessSocketMessages();
// The window's socket notification; its result is the window procedure's.
intptr_t HandleSocketMessage(uintptr_t wParam, intptr_t lParam);
// Shut-down step, only when started. 0.
int TerminateNetwork();
