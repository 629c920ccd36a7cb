// The engine's exit for failures it cannot survive.
#pragma once

// Writes the message and a line break to the log, shuts the engine down,
// destroys the engine-call lock and ends the process with -1.
[[noreturn]] void FatalError(const char* message);
// printf formatting into 1024 bytes (longer output is cut), then FatalError.
[[noreturn]] void FatalErrorf(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
