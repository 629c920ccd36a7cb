#include "engine/files/archive/ShaderPack.h"

#include <cstring>

#include "engine/files/archive/Archive.h"
#include "engine/files/archive/ArchiveNames.h"
#include "engine/files/archive/Compression.h"
#include "engine/services/Memory.h"

namespace {

// Expands a block into a new buffer; null when malformed.
uint8_t* ExpandToBuffer(const uint8_t* block, uint32_t blockSize, uint32_t* size) {
  int64_t expanded = CompressedExpandedSize(block, blockSize);
  uint64_t tokens = blockSize >= COMPRESSED_HEADER_SIZE ? blockSize - COMPRESSED_HEADER_SIZE : 0;
  if (expanded < 0 || static_cast<uint64_t>(expanded) > tokens * COMPRESSED_MAX_RATIO) return nullptr;
  auto* buffer = static_cast<uint8_t*>(MemAlloc(expanded ? static_cast<size_t>(expanded) : 1, "", 0));
  if (!buffer) return nullptr;
  if (ExpandCompressed(block, blockSize, buffer, static_cast<uint32_t>(expanded)) != expanded) {
    MemFree(buffer);
    return nullptr;
  }
  *size = static_cast<uint32_t>(expanded);
  return buffer;
}

}  // namespace

int FindShaderProgram(const uint8_t* pack, uint32_t packSize, const char* name, const uint8_t** tokens,
                      uint32_t* tokenCount) {
  if (!pack || packSize < 8 || std::memcmp(pack, "QPSP", 4) != 0) return -1;
  uint32_t count = LoadU32(pack + 4);
  if (count > (packSize - 8) / SHADER_PACK_ENTRY_SIZE) return -1;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* entry = pack + 8 + i * SHADER_PACK_ENTRY_SIZE;
    if (strncmp(reinterpret_cast<const char*>(entry), name, SHADER_PACK_NAME_SIZE) != 0) continue;
    uint32_t offset = LoadU32(entry + SHADER_PACK_NAME_SIZE);
    uint32_t words = LoadU32(entry + SHADER_PACK_NAME_SIZE + 4);
    if (offset > packSize || words > (packSize - offset) / 4) return -1;
    *tokens = pack + offset;
    *tokenCount = words;
    return 0;
  }
  return -1;
}

int LoadShaderPack(uint8_t** pack, uint32_t* packSize) {
  uint32_t imageSize = 0;
  uint8_t* image = ExpandToBuffer(builtinArchiveBlock, builtinArchiveBlockSize, &imageSize);
  if (!image) return -1;
  Archive archive{};
  if (OpenArchiveImage(&archive, image, imageSize, nullptr) != 0) {
    MemFree(image);
    return -1;
  }
  // The image is the engine's own: closing frees it.
  archive.callerImage = 0;
  int result = -1;
  ArchiveEntry entry;
  uint32_t offset = 0, stored = 0;
  if (FindMember(archive, SHADER_PACK_NAME, &entry) && StoredRange(archive, entry, &offset, &stored)) {
    uint8_t* expanded = ExpandToBuffer(image + offset, stored, packSize);
    if (expanded && *packSize == entry.size) {
      *pack = expanded;
      result = 0;
    } else {
      MemFree(expanded);
    }
  }
  CloseArchive(&archive);
  return result;
}
