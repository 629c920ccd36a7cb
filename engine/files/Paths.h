// Path resolution: relative paths made absolute against a base directory,
// "." and ".." resolved by name, both separators accepted and backslashes
// written. Double-byte characters (the engine's current character set) are
// units: never upper-cased, never taken for a separator.
#pragma once

constexpr int PATH_BUFFER_SIZE = 256;

// The absolute form of path (null: the base itself) against base (null: the
// installed GetCurrentDir), letters as written, into out (256 bytes).
// 0, or -1 when the result does not fit (out then holds what fitted).
int ResolveFullPath(const char* path, char* out, const char* base);
// The same against the platform's current directory, with ASCII letters
// upper-cased: the form archive lookups compare.
int ResolveUpperPath(char* out, const char* path);
