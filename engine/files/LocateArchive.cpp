// The candidates are the upper-cased resolved path's directory prefixes,
// shortest first: for Z:\GAMES\BALL\DATA\FONT.BMP they are Z:.QPA,
// Z:\GAMES.QPA, Z:\GAMES\BALL.QPA and Z:\GAMES\BALL\DATA.QPA; the file name
// itself is never taken for an archive. The last archive found is kept, so
// further files of the same archive are found without new tries.
#include "engine/files/LocateArchive.h"

#include <cstring>

#include "engine/files/Paths.h"
#include "engine/files/archive/ArchiveTable.h"
#include "engine/services/CharSet.h"

namespace {

struct LocatedArchive {
  char path[PATH_BUFFER_SIZE];  // the archive file's path
  size_t prefixLength;          // L: the length of the directory it stands for
  int index;
};
LocatedArchive lastFound;

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

void Report(int index, const char* archivePath, const char* inner, int* archiveIndex, char* archivePathOut,
            char* innerPathOut) {
  *archiveIndex = index;
  if (archivePathOut) std::strcpy(archivePathOut, archivePath);
  if (innerPathOut) std::strcpy(innerPathOut, inner);
}

// The end of the component starting at from: the index of its separator,
// or of the terminator.
size_t ComponentEnd(const char* text, size_t from) {
  size_t i = from;
  while (text[i] && !IsSeparator(text[i])) i += IsLeadByte(static_cast<uint8_t>(text[i]), currentCharSet) && text[i + 1] ? 2 : 1;
  return i;
}

}  // namespace

void ForgetLocatedArchive() { std::memset(&lastFound, 0, sizeof lastFound); }

int LocateArchive(const char* path, int* archiveIndex, char* archivePathOut, char* innerPathOut) {
  char full[PATH_BUFFER_SIZE];
  if (!path || !archiveIndex || ResolveUpperPath(full, path) != 0) return -1;

  size_t cached = lastFound.prefixLength;
  if (cached > 0 && std::strncmp(full, lastFound.path, cached) == 0 && IsSeparator(full[cached])) {
    int index = AcquireArchive(lastFound.path, lastFound.index);
    if (index < 0) return -1;
    Report(index, lastFound.path, full + cached + 1, archiveIndex, archivePathOut, innerPathOut);
    return 0;
  }

  char candidate[PATH_BUFFER_SIZE + 4];
  size_t at = 0;
  if (full[0] == '\\' && full[1] == '\\') at = 2;
  for (;;) {
    size_t end = ComponentEnd(full, at);
    if (!full[end] || end == at) return -1;  // the file name itself, or an empty component
    std::memcpy(candidate, full, end);
    std::strcpy(candidate + end, ".QPA");
    int index = AcquireArchive(candidate, -1);
    if (index >= 0) {
      std::strcpy(lastFound.path, candidate);
      lastFound.prefixLength = end;
      lastFound.index = index;
      Report(index, candidate, full + end + 1, archiveIndex, archivePathOut, innerPathOut);
      return 0;
    }
    at = end + 1;
  }
}
