// The QPA archive file format. All multi-byte fields are little-endian and
// offsets count from the start of the file; every stored byte at offset o is
// XOR-ed with key byte k[o mod 12] (ArchiveKey.h).
//
// Header: magic "QP", version (0-4), tablesSize, dataStart, tablesOffset,
// fileTableOffset and dirTableOffset (both from the start of the tables
// block), and from version 4 the code page of the names.
//
// The tables block starts with the name table; the file table (entries of 40
// bytes before version 2, 44 from it) and the directory table (16-byte
// entries, the root first) lie inside it.
#pragma once

#include <cstdint>
#include <cstring>

#include "engine/services/CharSet.h"

constexpr uint8_t ARCHIVE_MAGIC_0 = 'Q';
constexpr uint8_t ARCHIVE_MAGIC_1 = 'P';
constexpr int ARCHIVE_LATEST_VERSION = 4;
constexpr uint32_t ARCHIVE_HEADER_SIZE = 24;     // versions 0 to 3
constexpr uint32_t ARCHIVE_HEADER_SIZE_V4 = 28;  // with the code page
constexpr uint32_t ARCHIVE_FILE_ENTRY_SIZE_V0 = 40;
constexpr uint32_t ARCHIVE_FILE_ENTRY_SIZE_V2 = 44;
constexpr uint32_t ARCHIVE_DIR_ENTRY_SIZE = 16;
constexpr uint32_t ARCHIVE_NO_PARENT = 0xFFFFFFFFu;
constexpr uint32_t ARCHIVE_STORED_PLAIN = 0xFFFFFFFFu;  // packedSize of a plain member
constexpr uint32_t ARCHIVE_ATTRIBUTE_DIRECTORY = 0x10;

// Field offsets of a file-table entry.
constexpr uint32_t ENTRY_NAME_OFFSET = 0;
constexpr uint32_t ENTRY_ATTRIBUTES = 4;
constexpr uint32_t ENTRY_CREATION = 8;
constexpr uint32_t ENTRY_LAST_ACCESS = 16;
constexpr uint32_t ENTRY_LAST_WRITE = 24;
constexpr uint32_t ENTRY_DATA_ADDRESS = 32;
constexpr uint32_t ENTRY_SIZE = 36;
constexpr uint32_t ENTRY_PACKED_SIZE = 40;

// Field offsets of a directory-table entry.
constexpr uint32_t DIR_SELF = 0;
constexpr uint32_t DIR_PARENT = 4;
constexpr uint32_t DIR_ENTRY_COUNT = 8;
constexpr uint32_t DIR_FIRST_ENTRY = 12;

inline uint16_t LoadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t LoadU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline uint64_t LoadU64(const uint8_t* p) {
  return static_cast<uint64_t>(LoadU32(p)) | (static_cast<uint64_t>(LoadU32(p + 4)) << 32);
}
inline void StoreU16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void StoreU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void StoreU64(uint8_t* p, uint64_t v) {
  StoreU32(p, static_cast<uint32_t>(v));
  StoreU32(p + 4, static_cast<uint32_t>(v >> 32));
}

inline uint32_t ArchiveHeaderSize(int version) {
  return version >= 4 ? ARCHIVE_HEADER_SIZE_V4 : ARCHIVE_HEADER_SIZE;
}
inline uint32_t ArchiveFileEntrySize(int version) {
  return version >= 2 ? ARCHIVE_FILE_ENTRY_SIZE_V2 : ARCHIVE_FILE_ENTRY_SIZE_V0;
}
// Versions 0 and 1 store every member plain.
inline bool ArchiveVersionCompresses(int version) { return version >= 2; }

// The character set of the names: 932 Shift-JIS, 949 Korean, 950
// traditional and 936 simplified Chinese; anything else, and every version
// below 4, the default.
inline CharSet CharSetOfCodePage(uint32_t codePage, int version) {
  if (version < 4) return CHARSET_DEFAULT;
  switch (codePage) {
    case 932: return CHARSET_SHIFTJIS;
    case 949: return CHARSET_KOREAN;
    case 950: return CHARSET_TRADITIONAL_CHINESE;
    case 936: return CHARSET_SIMPLIFIED_CHINESE;
    default: return CHARSET_DEFAULT;
  }
}

// The decoded header.
struct ArchiveHeader {
  uint16_t magic;
  uint16_t version;
  uint32_t tablesSize;
  uint32_t dataStart;
  uint32_t tablesOffset;
  uint32_t fileTableOffset;
  uint32_t dirTableOffset;
  uint32_t codePage;
};

// Decodes the plain header bytes (ArchiveHeaderSize(version) of them; the
// code page only from version 4).
inline ArchiveHeader DecodeArchiveHeader(const uint8_t* bytes) {
  ArchiveHeader h{};
  h.magic = LoadU16(bytes);
  h.version = LoadU16(bytes + 2);
  h.tablesSize = LoadU32(bytes + 4);
  h.dataStart = LoadU32(bytes + 8);
  h.tablesOffset = LoadU32(bytes + 12);
  h.fileTableOffset = LoadU32(bytes + 16);
  h.dirTableOffset = LoadU32(bytes + 20);
  h.codePage = h.version >= 4 ? LoadU32(bytes + 24) : 0;
  return h;
}

inline bool HasArchiveMagic(const uint8_t* bytes) {
  return bytes[0] == ARCHIVE_MAGIC_0 && bytes[1] == ARCHIVE_MAGIC_1;
}
