// The Windows-style view of the Linux file system that the files port shows:
// code page 932 paths with either separator, drive Z: standing for "/", and
// every component matched without regard to (ASCII) case.
#pragma once

#include <string>

namespace filesview {

// Code page 932 <-> UTF-8. False when the text has no form in the other
// encoding.
bool Cp932ToUtf8(const std::string& text, std::string* out);
bool Utf8ToCp932(const std::string& text, std::string* out);

// Maps a Windows-style path onto an absolute host path. Every directory on
// the way must exist (matched without regard to case); the last component
// too, unless lastMayBeNew, in which case a component that matches nothing
// is kept as written (for creating a file). False when the path has no host
// form: another drive, a UNC path, an encoding error or a missing directory.
bool HostPathOf(const char* windowsPath, bool lastMayBeNew, std::string* hostPath);

// The Windows form (code page 932, "Z:\..." with backslashes) of an absolute
// host path; false when a name has no code page 932 form.
bool WindowsPathOf(const std::string& hostPath, std::string* windowsPath);

// ASCII-only case-insensitive equality, the rule names are matched by.
bool SameNameIgnoringCase(const std::string& a, const std::string& b);

}  // namespace filesview
