#include "engine/files/Paths.h"

#include <cstring>

#include "engine/files/StreamFunctions.h"
#include "engine/platform/FilesPort.h"
#include "engine/services/CharSet.h"

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }
bool IsLead(char c) { return IsLeadByte(static_cast<uint8_t>(c), currentCharSet); }

// The output under construction; cut, never overrun, when it gets too long.
struct PathBuilder {
  char* out;
  size_t length = 0;
  bool overflow = false;

  void Append(const char* text, size_t count) {
    if (length + count >= PATH_BUFFER_SIZE) {
      count = PATH_BUFFER_SIZE - 1 - length;
      overflow = true;
    }
    std::memcpy(out + length, text, count);
    length += count;
    out[length] = 0;
  }
  void Append(char c) { Append(&c, 1); }

  // ".." : cut at the last separator, never before a drive colon.
  void RemoveLast() {
    size_t lastSeparator = SIZE_MAX;
    size_t driveEnd = 0;
    for (size_t i = 0; i < length;) {
      if (IsLead(out[i]) && i + 1 < length) {
        i += 2;
        continue;
      }
      if (out[i] == ':') driveEnd = i + 1;
      if (IsSeparator(out[i])) lastSeparator = i;
      ++i;
    }
    if (lastSeparator == SIZE_MAX || lastSeparator < driveEnd) return;
    length = lastSeparator;
    out[length] = 0;
  }
};

void UpperCase(char* text) {
  for (char* p = text; *p; ++p) {
    if (IsLead(*p) && p[1]) {
      ++p;
      continue;
    }
    if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 32);
  }
}

void AppendComponent(PathBuilder& builder, const char* component, size_t length, bool upper) {
  char buffer[PATH_BUFFER_SIZE];
  if (length >= sizeof buffer) length = sizeof buffer - 1;
  std::memcpy(buffer, component, length);
  buffer[length] = 0;
  if (upper) UpperCase(buffer);
  builder.Append('\\');
  builder.Append(buffer, length);
}

int Resolve(const char* path, char* out, const char* base, bool upper) {
  PathBuilder builder{out};
  out[0] = 0;
  if (!path) {
    builder.Append(base, std::strlen(base));
    if (upper) UpperCase(out);
    return builder.overflow ? -1 : 0;
  }
  const char* rest = path;
  if (IsSeparator(path[0]) && path[1] == path[0]) {
    builder.Append('\\');
    rest = path + 2;
  } else if (IsSeparator(path[0])) {
    builder.Append(base, std::strlen(base) < 2 ? std::strlen(base) : 2);
    rest = path + 1;
  } else if (path[0] && !IsLead(path[0]) && path[1] == ':') {
    builder.Append(path, 2);
    rest = path + 2;
  } else {
    size_t baseLength = std::strlen(base);
    while (baseLength > 0 && IsSeparator(base[baseLength - 1])) --baseLength;
    builder.Append(base, baseLength);
  }
  if (upper) UpperCase(out);

  const char* component = rest;
  for (const char* p = rest;; ++p) {
    if (IsLead(*p) && p[1]) {
      ++p;
      continue;
    }
    if (*p && !IsSeparator(*p)) continue;
    size_t length = static_cast<size_t>(p - component);
    if (!*p) {
      // A component left at the end is appended whatever it is.
      if (length > 0) AppendComponent(builder, component, length, upper);
      break;
    }
    if (length == 1 && component[0] == '.') {
    } else if (length == 2 && component[0] == '.' && component[1] == '.') {
      builder.RemoveLast();
    } else if (length > 0) {
      AppendComponent(builder, component, length, upper);
    }
    component = p + 1;
  }
  return builder.overflow ? -1 : 0;
}

}  // namespace

int ResolveFullPath(const char* path, char* out, const char* base) {
  char current[PATH_BUFFER_SIZE + 4] = {};
  if (!base) {
    streamFunctions.GetCurrentDir(current);
    base = current;
  }
  return Resolve(path, out, base, false);
}

int ResolveUpperPath(char* out, const char* path) {
  char current[port::MAX_PATH] = {};
  uint32_t length = port::GetCurrentDirectoryA(port::MAX_PATH, current);
  if (length == 0 || length >= port::MAX_PATH) current[0] = 0;
  UpperCase(current);
  return Resolve(path, out, current, true);
}
