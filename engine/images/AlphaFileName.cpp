#include <cstring>

#include "engine/images/ImageLoader.h"
#include "engine/services/CharSet.h"

namespace {

// The offset of the last "." that is not the second byte of a double-byte
// character, or -1.
ptrdiff_t LastDot(const char* path) {
  ptrdiff_t dot = -1;
  for (ptrdiff_t i = 0; path[i] != '\0'; ++i) {
    if (IsLeadByte(static_cast<uint8_t>(path[i]), currentCharSet)) {
      if (path[i + 1] == '\0') break;
      ++i;
      continue;
    }
    if (path[i] == '.') dot = i;
  }
  return dot;
}

// Appends text to out (filled so far) while room remains.
void Append(char* out, size_t* used, size_t outputSize, const char* text, size_t length) {
  size_t room = outputSize - 1 - *used;
  size_t n = length < room ? length : room;
  std::memcpy(out + *used, text, n);
  *used += n;
  out[*used] = '\0';
}

}  // namespace

int AlphaFileName(const char* path, char* output, size_t outputSize) {
  if (output == nullptr || outputSize == 0) return 0;
  output[0] = '\0';
  if (path == nullptr) return 0;
  const size_t length = std::strlen(path);
  const ptrdiff_t dot = LastDot(path);
  const size_t stem = dot < 0 ? length : static_cast<size_t>(dot);
  size_t used = 0;
  Append(output, &used, outputSize, path, stem);
  Append(output, &used, outputSize, "_a", 2);
  Append(output, &used, outputSize, path + stem, length - stem);
  return 0;
}
