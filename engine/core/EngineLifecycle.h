// The bodies of StartupEngine and ShutdownEngine (Engine.h wraps them in the
// engine-call lock) and the engine's fatal exit.
#pragma once

// 1 after a successful CoInitialize.
extern int comStarted;

// The start-up sequence: 0, or -1 (the parts already started stay started).
int RunStartupSequence();
// The shut-down sequence, in the reverse order of start-up. Always 0.
int RunShutdownSequence();

// Writes the message and a line break to the log, shuts the engine down,
// destroys the engine-call lock and ends the process with -1.
[[noreturn]] void FatalError(const char* message);
// printf formatting into 1024 bytes (longer output is cut), then FatalError.
[[noreturn]] void FatalErrorf(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
