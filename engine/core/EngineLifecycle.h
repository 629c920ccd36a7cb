// The bodies of StartupEngine and ShutdownEngine (Engine.h wraps them in the
// engine-call lock).
#pragma once

// 1 after a successful CoInitialize.
extern int comStarted;

// The start-up sequence: 0, or -1 (the parts already started stay started).
int RunStartupSequence();
// The shut-down sequence, in the reverse order of start-up. Always 0.
int RunShutdownSequence();
