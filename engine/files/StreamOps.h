// The two StreamOps an image decoder is handed (StreamSource.h): the file
// ops forward to the installed stream functions at the time of each call,
// so a replaced table is honoured; the memory ops read a MemoryStream.
#pragma once

#include "engine/files/MemoryStream.h"
#include "engine/files/StreamFunctions.h"
#include "engine/files/StreamSource.h"

extern const StreamOps fileStreamOps;
extern const StreamOps memoryStreamOps;

// A source over an open file of the installed stream functions.
inline StreamSource FileStreamSource(FileHandle handle) { return StreamSource{fileStreamOps, handle}; }
// A source over a memory stream; closing it frees the MemoryStream record.
inline StreamSource MemoryStreamSource(MemoryStream* stream) {
  return StreamSource{memoryStreamOps, reinterpret_cast<StreamHandle>(stream)};
}
