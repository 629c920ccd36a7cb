// The archive key: twelve bytes made from the key string the game sets
// (SetArchiveKey, Engine.h), XOR-ed over every byte of an archive by its
// file offset.
#pragma once

#include <cstdint>

constexpr int ARCHIVE_KEY_SIZE = 12;

// The key of a key string; null or "" gives the key of no key string.
void MakeArchiveKey(const char* keyString, uint8_t key[ARCHIVE_KEY_SIZE]);
// The key every archive may also be keyed with, whatever key string is set.
void MakeFallbackArchiveKey(uint8_t key[ARCHIVE_KEY_SIZE]);
// XORs count bytes, buffer[0] being at file (or image) offset position;
// returns the next key position, (position + count) mod 12.
uint32_t ApplyArchiveKey(uint32_t count, void* buffer, uint32_t position,
                         const uint8_t key[ARCHIVE_KEY_SIZE]);
// The key string SetArchiveKey stored, or null when none is set.
const char* CurrentArchiveKeyString();
