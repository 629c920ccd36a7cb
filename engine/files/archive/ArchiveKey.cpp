// Key making and keying. The byte values below define the file format:
// every archive written by qpa and read by the engine depends on them, so
// they never change.
#include "engine/files/archive/ArchiveKey.h"

#include <cstring>

#include "engine/core/Engine.h"
#include "engine/core/EngineSettings.h"

namespace {

// Every key byte when no key string is set (before the per-byte steps).
constexpr uint8_t NO_KEY_STRING_FILL = 0xAA;
// The fallback key: twelve copies of this byte, used as they are.
constexpr uint8_t FALLBACK_KEY_BYTE = 0x3D;
// The constants of the per-byte steps.
constexpr uint8_t KEY2_XOR = 0x5C;
constexpr uint8_t KEY5_XOR = 0xB7;
constexpr uint8_t KEY9_XOR = 0x2E;
constexpr uint8_t KEY10_XOR = 0x93;
constexpr uint8_t KEY11_XOR = 0xE1;

uint8_t SwapNibbles(uint8_t b) { return static_cast<uint8_t>((b >> 4) | (b << 4)); }
uint8_t RotateRight(uint8_t b, int n) { return static_cast<uint8_t>((b >> n) | (b << (8 - n))); }
uint8_t RotateLeft(uint8_t b, int n) { return static_cast<uint8_t>((b << n) | (b >> (8 - n))); }
uint8_t Invert(uint8_t b) { return static_cast<uint8_t>(~b); }

}  // namespace

void MakeArchiveKey(const char* keyString, uint8_t key[ARCHIVE_KEY_SIZE]) {
  size_t length = keyString ? std::strlen(keyString) : 0;
  for (int i = 0; i < ARCHIVE_KEY_SIZE; ++i)
    key[i] = length > 0 ? static_cast<uint8_t>(keyString[static_cast<size_t>(i) % length]) : NO_KEY_STRING_FILL;
  key[0] = Invert(key[0]);
  key[1] = SwapNibbles(key[1]);
  key[2] ^= KEY2_XOR;
  key[3] = Invert(SwapNibbles(key[3]));
  key[4] = Invert(key[4]);
  key[5] ^= KEY5_XOR;
  key[6] = Invert(key[6]);
  key[7] = Invert(RotateRight(key[7], 3));
  key[8] = RotateLeft(key[8], 3);
  key[9] ^= KEY9_XOR;
  key[10] = SwapNibbles(key[10]) ^ KEY10_XOR;
  key[11] ^= KEY11_XOR;
}

void MakeFallbackArchiveKey(uint8_t key[ARCHIVE_KEY_SIZE]) {
  std::memset(key, FALLBACK_KEY_BYTE, ARCHIVE_KEY_SIZE);
}

uint32_t ApplyArchiveKey(uint32_t count, void* buffer, uint32_t position,
                         const uint8_t key[ARCHIVE_KEY_SIZE]) {
  auto* bytes = static_cast<uint8_t*>(buffer);
  uint32_t start = position % ARCHIVE_KEY_SIZE;
  // 96 bytes of key from the right key position (a multiple of the key's
  // 12 and of 16), keyed as twelve 64-bit words at a time, which the
  // compiler turns into vector instructions.
  constexpr uint32_t SPAN = 96;
  uint8_t pattern[SPAN];
  for (uint32_t i = 0; i < SPAN; ++i) pattern[i] = key[(start + i) % ARCHIVE_KEY_SIZE];
  uint64_t words[SPAN / 8];
  std::memcpy(words, pattern, sizeof words);
  uint32_t done = 0;
  for (; done + SPAN <= count; done += SPAN) {
    uint64_t chunk[SPAN / 8];
    std::memcpy(chunk, bytes + done, sizeof chunk);
    for (uint32_t w = 0; w < SPAN / 8; ++w) chunk[w] ^= words[w];
    std::memcpy(bytes + done, chunk, sizeof chunk);
  }
  for (uint32_t i = 0; done + i < count; ++i) bytes[done + i] ^= pattern[i];
  return static_cast<uint32_t>((static_cast<uint64_t>(position) + count) % ARCHIVE_KEY_SIZE);
}

const char* CurrentArchiveKeyString() {
  return engineSettings.archiveKeySet ? engineSettings.archiveKey : nullptr;
}

int SetArchiveKey(const char* keyText) {
  if (!keyText) {
    engineSettings.archiveKeySet = 0;
    return 0;
  }
  size_t length = std::strlen(keyText);
  if (length > ARCHIVE_KEY_STRING_LENGTH) length = ARCHIVE_KEY_STRING_LENGTH;
  std::memcpy(engineSettings.archiveKey, keyText, length);
  engineSettings.archiveKey[length] = 0;
  engineSettings.archiveKeySet = 1;
  return 0;
}
