// Hand-made faults in otherwise valid archives: each is refused (the
// archive or the member does not open) or walked safely, in file mode and in
// memory mode, and a refused image is given back as it was.
#include <gtest/gtest.h>

#include <functional>

#include "engine/files/archive/Archive.h"
#include "engine/files/archive/ArchiveFind.h"
#include "engine/files/archive/ArchiveMember.h"
#include "engine/files/archive/ArchiveNames.h"
#include "engine/files/archive/Compression.h"
#include "tests/files/FilesFixture.h"
#include "tools/qpa/ArchiveWalker.h"

namespace {

enum class Outcome { ArchiveRefused, MemberRefused, TreeUnsound, Opens };

// The plain (un-keyed) bytes of an archive and where its parts are.
struct PlainArchive {
  std::vector<uint8_t> bytes;
  ArchiveHeader header;

  uint32_t EntryAt(const char* path) {
    std::vector<uint8_t> copy = bytes;
    uint8_t key[ARCHIVE_KEY_SIZE];
    MakeArchiveKey(nullptr, key);
    ApplyArchiveKey(static_cast<uint32_t>(copy.size()), copy.data(), 0, key);
    Archive archive{};
    EXPECT_EQ(OpenArchiveImage(&archive, copy.data(), static_cast<uint32_t>(copy.size()), nullptr), 0);
    ArchiveEntry entry{};
    if (!FindMember(archive, path, &entry)) {
      // A directory: find it by walking its parent's entries.
      ArchiveDirectory root;
      ReadArchiveDirectory(archive, 0, &root);
      for (uint32_t i = 0; i < root.entryCount; ++i) {
        ArchiveEntry e;
        ArchiveName n;
        ReadArchiveEntry(archive, root, i, &e);
        ReadArchiveName(archive, e.nameOffset, &n);
        if (std::string(n.written) == path) entry = e;
      }
    }
    CloseArchive(&archive);
    return header.tablesOffset + header.fileTableOffset + entry.offset;
  }
  uint32_t DirectoryAt(uint32_t offset) { return header.tablesOffset + header.dirTableOffset + offset; }
  uint32_t U32(uint32_t at) { return LoadU32(bytes.data() + at); }
  void SetU32(uint32_t at, uint32_t value) { StoreU32(bytes.data() + at, value); }
};

PlainArchive MakePlain() {
  qpa::WriteOptions options;  // no key string, version 4, compressed where it pays
  std::vector<uint8_t> image = qpa::BuildArchive(
      Tree({{"PLAIN.BIN", RandomBytes(300, 1)}, {"PACKED.TXT", TextLike(4000, 2)}, {"SUB\\A.BMP", Bytes("in sub")}}),
      options, nullptr);
  uint8_t key[ARCHIVE_KEY_SIZE];
  MakeArchiveKey(nullptr, key);
  ApplyArchiveKey(static_cast<uint32_t>(image.size()), image.data(), 0, key);
  return PlainArchive{image, DecodeArchiveHeader(image.data())};
}

std::vector<uint8_t> Keyed(std::vector<uint8_t> plain) {
  uint8_t key[ARCHIVE_KEY_SIZE];
  MakeArchiveKey(nullptr, key);
  ApplyArchiveKey(static_cast<uint32_t>(plain.size()), plain.data(), 0, key);
  return plain;
}

// Opens every member the walk finds and lists every directory; returns
// whether everything opened and the tree was sound.
Outcome Exercise(Archive& archive) {
  bool membersOpen = true;
  const qpa::WalkResult walk = qpa::WalkArchive(archive, [&](const qpa::WalkedEntry& e) {
    if (e.isDirectory) {
      ArchiveFind* find = ArchiveFindFirst(&archive, -1, (e.path + "\\*").c_str(), nullptr);
      int listed = 0;
      if (find) {
        while (ArchiveFindNext(find, nullptr) == 0 && listed < 100000) ++listed;
        ArchiveFindClose(find);
      }
      return true;
    }
    ArchiveMember member;
    if (OpenArchiveMemberEntry(&member, &archive, e.entry, 0) != 0) {
      membersOpen = false;
      return true;
    }
    std::vector<uint8_t> data(e.entry.size);
    EXPECT_EQ(ReadArchiveMember(&member, data.data(), e.entry.size), e.entry.size);
    CloseArchiveMember(&member);
    return true;
  });
  if (!walk.Complete()) return Outcome::TreeUnsound;
  return membersOpen ? Outcome::Opens : Outcome::MemberRefused;
}

struct Fault {
  const char* what;
  std::function<void(PlainArchive&)> damage;
  Outcome expected;
};

class ArchiveFaults : public FilesFixture {};

}  // namespace

TEST_F(ArchiveFaults, EachFaultIsRefusedOrWalkedSafely) {
  const std::vector<Fault> faults = {
      {"nothing wrong", [](PlainArchive&) {}, Outcome::Opens},
      {"header cut short", [](PlainArchive& a) { a.bytes.resize(12); }, Outcome::ArchiveRefused},
      {"version 5", [](PlainArchive& a) { StoreU16(a.bytes.data() + 2, 5); }, Outcome::ArchiveRefused},
      {"wrong magic", [](PlainArchive& a) { a.bytes[1] = 'X'; }, Outcome::ArchiveRefused},
      {"tables cut off by the end of the file",
       [](PlainArchive& a) { a.bytes.resize(a.bytes.size() - 8); }, Outcome::ArchiveRefused},
      {"tables size past the end", [](PlainArchive& a) { a.SetU32(4, 0x7FFFFFF0); }, Outcome::ArchiveRefused},
      {"tables offset past the end", [](PlainArchive& a) { a.SetU32(12, 0xFFFFFFF0); }, Outcome::ArchiveRefused},
      {"directory table past the tables", [](PlainArchive& a) { a.SetU32(20, a.header.tablesSize - 8); },
       Outcome::ArchiveRefused},
      {"file table past the tables", [](PlainArchive& a) { a.SetU32(16, a.header.tablesSize + 4); },
       Outcome::ArchiveRefused},
      {"root entry count past the tables",
       [](PlainArchive& a) { a.SetU32(a.DirectoryAt(0) + DIR_ENTRY_COUNT, 0x10000000); }, Outcome::ArchiveRefused},
      {"a directory that is its own parent",
       [](PlainArchive& a) {
         uint32_t sub = a.U32(a.EntryAt("SUB") + ENTRY_DATA_ADDRESS);
         a.SetU32(a.DirectoryAt(sub) + DIR_PARENT, sub);
       },
       Outcome::Opens},
      {"a directory entry that leads back to the root",
       [](PlainArchive& a) { a.SetU32(a.EntryAt("SUB") + ENTRY_DATA_ADDRESS, 0); }, Outcome::TreeUnsound},
      {"a directory entry past the directory table",
       [](PlainArchive& a) { a.SetU32(a.EntryAt("SUB") + ENTRY_DATA_ADDRESS, 0x00FFFFF0); }, Outcome::TreeUnsound},
      {"a name offset past the tables",
       [](PlainArchive& a) { a.SetU32(a.EntryAt("PLAIN.BIN") + ENTRY_NAME_OFFSET, a.header.tablesSize); },
       Outcome::TreeUnsound},
      {"a name whose word count runs past the tables",
       [](PlainArchive& a) {
         uint32_t name = a.U32(a.EntryAt("PLAIN.BIN") + ENTRY_NAME_OFFSET);
         StoreU16(a.bytes.data() + a.header.tablesOffset + name, 0xFFFF);
       },
       Outcome::TreeUnsound},
      {"a member past the end of the file",
       [](PlainArchive& a) { a.SetU32(a.EntryAt("PLAIN.BIN") + ENTRY_DATA_ADDRESS, static_cast<uint32_t>(a.bytes.size())); },
       Outcome::MemberRefused},
      {"a member size past the end of the file",
       [](PlainArchive& a) { a.SetU32(a.EntryAt("PLAIN.BIN") + ENTRY_SIZE, 0x7FFFFF00); }, Outcome::MemberRefused},
      {"a packed size past the end of the file",
       [](PlainArchive& a) { a.SetU32(a.EntryAt("PACKED.TXT") + ENTRY_PACKED_SIZE, 0x7FFFFF00); },
       Outcome::MemberRefused},
      {"an entry size larger than its block can expand to",
       [](PlainArchive& a) { a.SetU32(a.EntryAt("PACKED.TXT") + ENTRY_SIZE, 0x7FFFFFF0); }, Outcome::MemberRefused},
      {"a block that expands to less than the entry's size",
       [](PlainArchive& a) { a.SetU32(a.EntryAt("PACKED.TXT") + ENTRY_SIZE, 4001); }, Outcome::MemberRefused},
      {"a match reaching before the start of the output",
       [](PlainArchive& a) {
         uint32_t block = a.header.dataStart + a.U32(a.EntryAt("PACKED.TXT") + ENTRY_DATA_ADDRESS);
         uint8_t escape = a.bytes[block + 8];
         a.bytes[block + 9] = escape;
         a.bytes[block + 10] = escape == 0 ? 1 : 0;  // d = 0: length 4, one distance byte
         a.bytes[block + 11] = 0x20;
       },
       Outcome::MemberRefused},
      {"a block header claiming more than the entry's size",
       [](PlainArchive& a) {
         uint32_t block = a.header.dataStart + a.U32(a.EntryAt("PACKED.TXT") + ENTRY_DATA_ADDRESS);
         a.SetU32(block, 100000);
       },
       Outcome::MemberRefused},
  };

  for (const Fault& fault : faults) {
    SCOPED_TRACE(fault.what);
    PlainArchive plain = MakePlain();
    fault.damage(plain);
    std::vector<uint8_t> keyed = Keyed(plain.bytes);

    WriteFile("FAULT.QPA", keyed);
    Archive fromFile{};
    int opened = OpenArchiveFile(&fromFile, "FAULT.QPA", nullptr);
    EXPECT_EQ(opened == 0, fault.expected != Outcome::ArchiveRefused);
    if (opened == 0) {
      EXPECT_EQ(Exercise(fromFile), fault.expected);
      CloseArchive(&fromFile);
    }

    std::vector<uint8_t> image = keyed;
    Archive fromMemory{};
    opened = OpenArchiveImage(&fromMemory, image.data(), static_cast<uint32_t>(image.size()), nullptr);
    EXPECT_EQ(opened == 0, fault.expected != Outcome::ArchiveRefused);
    if (opened == 0) {
      EXPECT_EQ(Exercise(fromMemory), fault.expected);
      CloseArchive(&fromMemory);
    }
    EXPECT_EQ(image, keyed) << "the caller's image comes back as it was";
  }
}
