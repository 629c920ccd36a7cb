// Stand-ins for the allocator and the log, so the fuzz targets build from
// the files subsystem alone. The allocator is plain malloc, so that the
// address sanitizer sees every block.
#include <cstdlib>
#include <cstring>

#include "engine/services/Log.h"
#include "engine/services/Memory.h"

void* MemAlloc(size_t size, const char*, int) { return std::malloc(size ? size : 1); }
void* MemCalloc(size_t size, const char*, int) { return std::calloc(1, size ? size : 1); }
void* MemRealloc(void* block, size_t size, const char*, int) { return std::realloc(block, size ? size : 1); }
void MemFree(void* block) { std::free(block); }
int WriteLog(const char*) { return -1; }
