// The archive reader on arbitrary archives. The input is a plain archive
// (keyed here with the key of no key string, so the fuzzer works on the
// structure): opened from memory and from a file, every directory walked
// and listed, every member opened and read (sync and async), one member
// opened through the stream table's archive lookup. A failed memory open
// must give the image back unchanged.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engine/files/LocateArchive.h"
#include "engine/files/StreamFunctions.h"
#include "engine/files/archive/Archive.h"
#include "engine/files/archive/ArchiveFind.h"
#include "engine/files/archive/ArchiveMember.h"
#include "engine/files/archive/ArchiveNames.h"
#include "engine/files/archive/ArchiveTable.h"
#include "tools/qpa/ArchiveWalker.h"

namespace {

std::string scratchFolder;
std::string firstMember;

void Exercise(Archive& archive, int async) {
  int members = 0;
  qpa::WalkArchive(archive, [&](const qpa::WalkedEntry& e) {
    if (e.isDirectory) {
      std::string pattern = e.path + "\\*";
      if (pattern.size() < 250) {
        FoundFile found;
        ArchiveFind* find = ArchiveFindFirst(&archive, -1, pattern.c_str(), &found);
        if (find) {
          while (ArchiveFindNext(find, &found) == 0) {
          }
          ArchiveFindClose(find);
        }
      }
      return true;
    }
    if (++members > 64) return false;
    if (firstMember.empty() && e.path.size() < 200) firstMember = e.path;
    ArchiveMember member;
    if (OpenArchiveMemberEntry(&member, &archive, e.entry, async) == 0) {
      uint8_t buffer[4096];
      while (ReadArchiveMember(&member, buffer, sizeof buffer) > 0) {
        ArchiveMemberIsIdle(&member);
      }
      SeekArchiveMember(&member, -1, 2);
      ArchiveMemberAtEnd(&member);
      CloseArchiveMember(&member);
    }
    ArchiveEntry entry;
    if (e.path.size() < 250) FindMember(archive, e.path.c_str(), &entry);
    return true;
  });
  ArchiveEntry entry;
  FindMember(archive, "SUB\\..\\A", &entry);
  if (archive.currentDir != 0) std::abort();  // lookups and listings restore it
  // A walk that succeeds moves the current directory (that is its job); one
  // that fails with restoreOnFailure puts it back.
  ArchiveWalk walk;
  if (WalkArchivePath(archive, "..", 1, &walk) != 0 && archive.currentDir != 0) std::abort();
  archive.currentDir = 0;
  if (WalkArchivePath(archive, "\\A\\B\\", 1, &walk) != 0 && archive.currentDir != 0) std::abort();
  archive.currentDir = 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char folder[] = "/tmp/vexlo-archive-fuzz-XXXXXX";
  if (!mkdtemp(folder)) std::abort();
  scratchFolder = folder;
  if (chdir(folder) != 0) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 22)) return 0;
  std::vector<uint8_t> keyed(data, data + size);
  uint8_t key[ARCHIVE_KEY_SIZE];
  MakeArchiveKey(nullptr, key);
  ApplyArchiveKey(static_cast<uint32_t>(size), keyed.data(), 0, key);
  firstMember.clear();

  std::vector<uint8_t> image = keyed;
  Archive fromMemory{};
  if (OpenArchiveImage(&fromMemory, image.data(), static_cast<uint32_t>(image.size()), nullptr) == 0) {
    Exercise(fromMemory, 0);
    CloseArchive(&fromMemory);
  }
  if (image != keyed) std::abort();

  FILE* file = std::fopen("DATA.QPA", "wb");
  if (!file) std::abort();
  std::fwrite(keyed.data(), 1, keyed.size(), file);
  std::fclose(file);
  Archive fromFile{};
  if (OpenArchiveFile(&fromFile, "DATA.QPA", nullptr) == 0) {
    Exercise(fromFile, 1);
    CloseArchive(&fromFile);
  }

  if (!firstMember.empty()) {
    std::string path = "data\\" + firstMember;
    FileHandle handle = streamFunctions.Open(path.c_str(), 0, 1, 0);
    if (handle) {
      uint8_t buffer[512];
      while (streamFunctions.Read(buffer, 3, sizeof buffer / 3, handle) > 0) {
      }
      streamFunctions.Close(handle);
    }
  }
  ForgetLocatedArchive();
  ReleaseUnreferencedArchives();
  return 0;
}
