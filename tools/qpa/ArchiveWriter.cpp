#include "tools/qpa/ArchiveWriter.h"

#include <cstring>
#include <set>

#include "engine/files/archive/ArchiveFormat.h"
#include "engine/files/archive/ArchiveKey.h"
#include "engine/files/archive/ArchiveNames.h"

namespace qpa {
namespace {

// One file-table entry being laid out.
struct PlannedEntry {
  const SourceFile* file = nullptr;
  const SourceDirectory* directory = nullptr;  // for a directory entry
  uint32_t nameOffset = 0;
  uint32_t dataAddress = 0;
  uint32_t size = 0;
  uint32_t packedSize = ARCHIVE_STORED_PLAIN;
};

struct PlannedDirectory {
  const SourceDirectory* source;
  uint32_t parent;      // index in the directory list, or UINT32_MAX for the root
  uint32_t selfEntry;   // file-table index of its entry, or UINT32_MAX for the root
  uint32_t firstEntry;  // file-table index of its first entry
  uint32_t entryCount;
};

struct Layout {
  std::vector<PlannedDirectory> directories;
  std::vector<PlannedEntry> entries;
};

bool CheckNames(const SourceDirectory& directory, CharSet charSet, std::string* error) {
  std::set<std::string> seen;
  auto check = [&](const std::string& name) {
    bool separator = false;
    for (size_t i = 0; i < name.size(); ++i) {
      if (IsLeadByte(static_cast<uint8_t>(name[i]), charSet) && i + 1 < name.size()) {
        ++i;
        continue;
      }
      if (name[i] == '\\' || name[i] == '/') separator = true;
    }
    if (name.empty() || name == "." || name == ".." || separator || name.size() > 255) {
      *error = "invalid name in archive: \"" + name + "\"";
      return false;
    }
    NameKey key;
    MakeNameKey(name.c_str(), charSet, &key);
    std::string form(reinterpret_cast<const char*>(key.words), key.wordCount * 4u);
    if (!seen.insert(form).second) {
      *error = "two names differ only in case in one directory: \"" + name + "\"";
      return false;
    }
    return true;
  };
  for (const SourceFile& f : directory.files)
    if (!check(f.name)) return false;
  for (const SourceDirectory& d : directory.directories)
    if (!check(d.name) || !CheckNames(d, charSet, error)) return false;
  return true;
}

// Breadth first: the root's entries, then each directory's in turn, so that
// every directory's entries follow each other.
Layout PlanLayout(const SourceDirectory& root) {
  Layout layout;
  layout.directories.push_back({&root, UINT32_MAX, UINT32_MAX, 0, 0});
  for (size_t d = 0; d < layout.directories.size(); ++d) {
    const SourceDirectory* source = layout.directories[d].source;
    layout.directories[d].firstEntry = static_cast<uint32_t>(layout.entries.size());
    layout.directories[d].entryCount = static_cast<uint32_t>(source->directories.size() + source->files.size());
    for (const SourceDirectory& sub : source->directories) {
      PlannedEntry entry;
      entry.directory = &sub;
      layout.directories.push_back({&sub, static_cast<uint32_t>(d), static_cast<uint32_t>(layout.entries.size()), 0, 0});
      entry.dataAddress = static_cast<uint32_t>(layout.directories.size() - 1);  // index for now
      layout.entries.push_back(entry);
    }
    for (const SourceFile& file : source->files) {
      PlannedEntry entry;
      entry.file = &file;
      layout.entries.push_back(entry);
    }
  }
  return layout;
}

void AppendName(std::vector<uint8_t>& table, const std::string& name, CharSet charSet) {
  NameKey key;
  MakeNameKey(name.c_str(), charSet, &key);
  size_t at = table.size();
  table.resize(at + 4 + key.wordCount * 4u);
  StoreU16(table.data() + at, key.wordCount);
  StoreU16(table.data() + at + 2, key.parity);
  std::memcpy(table.data() + at + 4, key.words, key.wordCount * 4u);
  table.insert(table.end(), name.begin(), name.end());
  table.push_back(0);
  while (table.size() % 4) table.push_back(0);
}

const std::string& EntryName(const PlannedEntry& e) { return e.file ? e.file->name : e.directory->name; }
const FileTimes& EntryTimes(const PlannedEntry& e) { return e.file ? e.file->times : e.directory->times; }

}  // namespace

std::vector<uint8_t> BuildArchive(const SourceDirectory& root, const WriteOptions& options, std::string* error) {
  std::string ignored;
  if (!error) error = &ignored;
  if (options.version < 0 || options.version > ARCHIVE_LATEST_VERSION) {
    *error = "archive version must be 0 to 4";
    return {};
  }
  const int version = options.version;
  CharSet charSet = CharSetOfCodePage(options.codePage, version);
  if (!CheckNames(root, charSet, error)) return {};
  Layout layout = PlanLayout(root);

  const uint32_t headerSize = ArchiveHeaderSize(version);
  const uint32_t entrySize = ArchiveFileEntrySize(version);
  std::vector<uint8_t> image(headerSize);

  // Data area.
  const uint32_t dataStart = headerSize;
  for (PlannedEntry& entry : layout.entries) {
    if (!entry.file) continue;
    const std::vector<uint8_t>& data = entry.file->data;
    entry.size = static_cast<uint32_t>(data.size());
    entry.dataAddress = static_cast<uint32_t>(image.size() - dataStart);
    if ((options.compress || options.alwaysCompress) && ArchiveVersionCompresses(version) && !data.empty()) {
      std::vector<uint8_t> block = CompressBlock(data.data(), data.size(), options.compressor);
      if (block.size() < data.size() || options.alwaysCompress) {
        entry.packedSize = static_cast<uint32_t>(block.size());
        image.insert(image.end(), block.begin(), block.end());
        continue;
      }
    }
    image.insert(image.end(), data.begin(), data.end());
  }

  // Tables block: names, file table, directory table.
  std::vector<uint8_t> tables;
  for (PlannedEntry& entry : layout.entries) {
    entry.nameOffset = static_cast<uint32_t>(tables.size());
    AppendName(tables, EntryName(entry), charSet);
  }
  const uint32_t fileTableOffset = static_cast<uint32_t>(tables.size());
  const uint32_t dirTableOffset = fileTableOffset + static_cast<uint32_t>(layout.entries.size()) * entrySize;
  tables.resize(dirTableOffset + layout.directories.size() * ARCHIVE_DIR_ENTRY_SIZE);
  for (size_t i = 0; i < layout.entries.size(); ++i) {
    const PlannedEntry& entry = layout.entries[i];
    uint8_t* p = tables.data() + fileTableOffset + i * entrySize;
    const FileTimes& times = EntryTimes(entry);
    StoreU32(p + ENTRY_NAME_OFFSET, entry.nameOffset);
    StoreU32(p + ENTRY_ATTRIBUTES, entry.file ? 0x20 /* archive */ : ARCHIVE_ATTRIBUTE_DIRECTORY);
    StoreU64(p + ENTRY_CREATION, times.creation);
    StoreU64(p + ENTRY_LAST_ACCESS, times.lastAccess);
    StoreU64(p + ENTRY_LAST_WRITE, times.lastWrite);
    StoreU32(p + ENTRY_DATA_ADDRESS, entry.file ? entry.dataAddress : entry.dataAddress * ARCHIVE_DIR_ENTRY_SIZE);
    StoreU32(p + ENTRY_SIZE, entry.size);
    if (version >= 2) StoreU32(p + ENTRY_PACKED_SIZE, entry.packedSize);
  }
  for (size_t d = 0; d < layout.directories.size(); ++d) {
    const PlannedDirectory& dir = layout.directories[d];
    uint8_t* p = tables.data() + dirTableOffset + d * ARCHIVE_DIR_ENTRY_SIZE;
    StoreU32(p + DIR_SELF, dir.selfEntry == UINT32_MAX ? ARCHIVE_NO_PARENT : dir.selfEntry * entrySize);
    StoreU32(p + DIR_PARENT, dir.parent == UINT32_MAX ? ARCHIVE_NO_PARENT : dir.parent * ARCHIVE_DIR_ENTRY_SIZE);
    StoreU32(p + DIR_ENTRY_COUNT, dir.entryCount);
    StoreU32(p + DIR_FIRST_ENTRY, dir.firstEntry * entrySize);
  }

  const uint64_t tablesOffset = image.size();
  if (tablesOffset + tables.size() > 0x7FFFFFFFu) {
    *error = "archive would exceed 2 GiB";
    return {};
  }
  image.insert(image.end(), tables.begin(), tables.end());

  uint8_t* h = image.data();
  h[0] = ARCHIVE_MAGIC_0;
  h[1] = ARCHIVE_MAGIC_1;
  StoreU16(h + 2, static_cast<uint16_t>(version));
  StoreU32(h + 4, static_cast<uint32_t>(tables.size()));
  StoreU32(h + 8, dataStart);
  StoreU32(h + 12, static_cast<uint32_t>(tablesOffset));
  StoreU32(h + 16, fileTableOffset);
  StoreU32(h + 20, dirTableOffset);
  if (version >= 4) StoreU32(h + 24, options.codePage);

  uint8_t key[ARCHIVE_KEY_SIZE];
  if (options.key == KeyChoice::Fallback)
    MakeFallbackArchiveKey(key);
  else
    MakeArchiveKey(options.key == KeyChoice::KeyString ? options.keyString.c_str() : nullptr, key);
  ApplyArchiveKey(static_cast<uint32_t>(image.size()), image.data(), 0, key);
  return image;
}

}  // namespace qpa
