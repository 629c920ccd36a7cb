#include "engine/services/Memory.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <atomic>
#include <mutex>
#include <thread>

#include "engine/services/Log.h"

// The fault sweeps link a copy of the allocator built with this switch,
// whose heap requests pass the allocation fault point; the engine's own
// build has no such point.
#if VEXLO_FAULT_POINTS
#include "engine/platform/faults/FaultPoints.h"
#endif

namespace {

struct BlockHeader;

// The fields of a header that the guard copies.
struct BlockFields {
  char name[16];
  uint16_t id;
  uint16_t line;
  uint32_t size;
  BlockHeader* next;  // older
  BlockHeader* prev;  // newer; null for the head
};

struct BlockHeader {
  BlockFields fields;
  BlockFields guard;
};

static_assert(sizeof(BlockFields) == MEM_BLOCK_FIELDS_SIZE, "the guard covers every field, no padding");
static_assert(sizeof(BlockHeader) == MEM_BLOCK_HEADER_SIZE, "the header is the fields and their guard");
static_assert(sizeof(BlockHeader) % alignof(std::max_align_t) == 0,
              "the caller's bytes keep the heap's alignment");

// Settings that nothing in the engine changes: only an operation on a block
// of traceSize bytes is traced (a negative size would trace everything).
constexpr int64_t traceSize = 0;
constexpr bool traceAll = false;
constexpr bool totalsEachOperation = false;
constexpr bool checkEachOperation = false;

constexpr size_t SOURCE_NAME_KEPT = 15;
constexpr size_t DUMP_LINE_SIZE = 256;
constexpr uint32_t DUMP_PREVIEW_BYTES = 16;

// The list runs from head through the next links to endRecord, which is
// never reported or checked. Both are constant-initialised, so allocations
// made while other globals are constructed find the list ready.
BlockHeader endRecord{};
BlockHeader* head = &endRecord;
uint16_t counter = 0;
int32_t totalSize = 0;
int32_t count = 0;

// The allocator's lock. It must be re-entrant: a failed allocation dumps
// under the lock, and a traced operation writes to the log, which may
// allocate its scratch buffer here.
//
// Almost every use is uncontended, so taking it is one compare-exchange of
// the owner and releasing it one store; nested holds are counted in depth,
// which only the owner touches. A thread that finds it held by another
// yields the processor between attempts instead of spinning on it: the
// holder only ever keeps it for a few list changes (or a log write).
//
// Constant-initialised, so allocations made while other globals are
// constructed find it ready without a guard on every call.
class ReentrantLock {
 public:
  void lock() {
    const uintptr_t self = ThisThread();
    uintptr_t expected = 0;
    if (owner_.compare_exchange_strong(expected, self, std::memory_order_acquire, std::memory_order_relaxed)) return;
    if (expected == self) {
      depth_ += 1;
      return;
    }
    WaitAndTake(self);
  }

  void unlock() {
    if (depth_ > 0) {
      depth_ -= 1;
      return;
    }
    owner_.store(0, std::memory_order_release);
  }

 private:
  // A per-thread address names the thread: never zero, unique among live
  // threads, and cheaper to read than the library's thread id.
  static uintptr_t ThisThread() {
    static thread_local char marker;
    return reinterpret_cast<uintptr_t>(&marker);
  }

  void WaitAndTake(uintptr_t self) {
    for (;;) {
      std::this_thread::yield();
      uintptr_t expected = 0;
      if (owner_.load(std::memory_order_relaxed) == 0 &&
          owner_.compare_exchange_weak(expected, self, std::memory_order_acquire, std::memory_order_relaxed)) {
        return;
      }
    }
  }

  std::atomic<uintptr_t> owner_{0};  // 0 when free
  uint32_t depth_ = 0;               // holds beyond the first, by the owner
};

ReentrantLock allocatorLock;

using Hold = std::lock_guard<ReentrantLock>;

BlockHeader* HeaderOf(void* block) { return static_cast<BlockHeader*>(block) - 1; }
void* BytesOf(BlockHeader* header) { return header + 1; }

// The platform heap, asked for the header and the caller's bytes.
void* HeapAllocate(size_t bytes) {
#if VEXLO_FAULT_POINTS
  if (faults::Fails(faults::ALLOCATION)) return nullptr;
#endif
  return std::malloc(bytes);
}

void* HeapResize(void* block, size_t bytes) {
#if VEXLO_FAULT_POINTS
  if (faults::Fails(faults::ALLOCATION)) return nullptr;
#endif
  return std::realloc(block, bytes);
}

bool GuardMatches(const BlockHeader* header) {
  return std::memcmp(&header->fields, &header->guard, sizeof(BlockFields)) == 0;
}

bool Traced(uint32_t size) { return traceSize < 0 || int64_t{size} == traceSize || traceAll; }

// Sizes add and subtract modulo 2^32, like the 32-bit counters they are.
void AdjustTotal(uint32_t removed, uint32_t added) {
  totalSize = static_cast<int32_t>(static_cast<uint32_t>(totalSize) - removed + added);
}

// Every field is written to the header and to its guard alike. Writing
// both, instead of copying the fields into the guard afterwards, spares the
// processor reloading bytes it has just stored; and a neighbour whose link
// changes gets only that link rewritten in both places, so damage elsewhere
// in its header still shows in MemCheck.
void SetNext(BlockHeader* header, BlockHeader* next) { header->fields.next = header->guard.next = next; }
void SetPrev(BlockHeader* header, BlockHeader* prev) { header->fields.prev = header->guard.prev = prev; }

// Name (the whole name when it has at most 15 characters, else its last
// 15), line, size and a fresh id.
void StoreIdentity(BlockHeader* header, const char* sourceName, int line, uint32_t size) {
  std::memset(header->fields.name, 0, sizeof(header->fields.name));
  if (sourceName != nullptr && sourceName[0] != '\0') {
    const size_t length = std::strlen(sourceName);
    const size_t kept = length > SOURCE_NAME_KEPT ? SOURCE_NAME_KEPT : length;
    std::memcpy(header->fields.name, sourceName + (length - kept), kept);
  }
  std::memcpy(header->guard.name, header->fields.name, sizeof(header->guard.name));
  header->fields.line = header->guard.line = static_cast<uint16_t>(line);
  header->fields.id = header->guard.id = counter++;
  header->fields.size = header->guard.size = size;
}

void LinkAsHead(BlockHeader* header) {
  BlockHeader* older = head;
  SetNext(header, older);
  SetPrev(header, nullptr);
  SetPrev(older, header);
  head = header;
}

void Unlink(BlockHeader* header) {
  BlockHeader* older = header->fields.next;
  BlockHeader* newer = header->fields.prev;
  SetPrev(older, newer);
  if (newer != nullptr) {
    SetNext(newer, older);
  } else {
    head = older;
  }
}

// "\tsize:... data:<AB..z> [41 42 00 ff 7a]\n" in one WriteLog. The address
// is the caller's, in as many hex digits as it needs (at least 8). For a
// damaged header the preview takes the smaller of the two recorded sizes,
// so it never reads past the block.
void WriteDumpLine(const BlockHeader* header) {
  const BlockFields& fields = header->fields;
  char name[sizeof(fields.name)];
  std::memcpy(name, fields.name, sizeof(name));
  name[sizeof(name) - 1] = '\0';

  char line[DUMP_LINE_SIZE];
  int used = std::snprintf(line, sizeof(line),
                           "\tsize:%10" PRIu32 "(%10.3fkb)  file:%-26s  line:%-5d  ID:%-5d  addr:%08" PRIxPTR
                           "  data:<",
                           fields.size, fields.size / 1024.0, name, int{fields.line}, int{fields.id},
                           reinterpret_cast<uintptr_t>(header + 1));
  size_t length = used < 0 ? 0 : static_cast<size_t>(used) < sizeof(line) ? static_cast<size_t>(used) : sizeof(line) - 1;

  uint32_t shown = fields.size < header->guard.size ? fields.size : header->guard.size;
  if (shown > DUMP_PREVIEW_BYTES) shown = DUMP_PREVIEW_BYTES;
  const auto* bytes = reinterpret_cast<const unsigned char*>(header + 1);
  auto append = [&](const char* text) {
    size_t textLength = std::strlen(text);
    if (length + textLength >= sizeof(line)) textLength = sizeof(line) - 1 - length;
    std::memcpy(line + length, text, textLength);
    length += textLength;
  };
  for (uint32_t i = 0; i < shown; ++i) {
    char shownChar[2] = {bytes[i] >= 0x20 && bytes[i] <= 0x7F ? static_cast<char>(bytes[i]) : '.', '\0'};
    append(shownChar);
  }
  append("> [");
  for (uint32_t i = 0; i < shown; ++i) {
    char hex[4];
    std::snprintf(hex, sizeof(hex), i == 0 ? "%02x" : " %02x", bytes[i]);
    append(hex);
  }
  append("]\n");
  line[length] = '\0';
  WriteLog(line);
}

void AfterOperation() {
  if (totalsEachOperation) MemTotals();
  if (checkEachOperation) MemCheck();
}

void* AllocateLocked(size_t size, const char* sourceName, int line) {
  BlockHeader* header = nullptr;
  if (size <= UINT32_MAX) header = static_cast<BlockHeader*>(HeapAllocate(size + sizeof(BlockHeader)));
  if (header == nullptr) {
    MemDump();
    MemCheck();
    return nullptr;
  }
  StoreIdentity(header, sourceName, line, static_cast<uint32_t>(size));
  LinkAsHead(header);
  AdjustTotal(0, header->fields.size);
  count += 1;
  if (Traced(header->fields.size)) {
    WriteLog("mem alloc  ");
    WriteDumpLine(header);
  }
  AfterOperation();
  return BytesOf(header);
}

}  // namespace

void* MemAlloc(size_t size, const char* sourceName, int line) {
  Hold hold(allocatorLock);
  return AllocateLocked(size, sourceName, line);
}

void* MemCalloc(size_t size, const char* sourceName, int line) {
  void* block = MemAlloc(size, sourceName, line);
  if (block != nullptr) std::memset(block, 0, size);
  return block;
}

void MemFree(void* block) {
  if (block == nullptr) return;
  Hold hold(allocatorLock);
  BlockHeader* header = HeaderOf(block);
  AdjustTotal(header->fields.size, 0);
  count -= 1;
  if (checkEachOperation) MemCheck();
  Unlink(header);
  if (Traced(header->fields.size)) {
    WriteLog("mem free  ");
    WriteDumpLine(header);
  }
  if (totalsEachOperation) MemTotals();
  std::free(header);
}

void* MemRealloc(void* block, size_t size, const char* sourceName, int line) {
  Hold hold(allocatorLock);
  if (block == nullptr) return AllocateLocked(size, sourceName, line);

  BlockHeader* header = HeaderOf(block);
  const uint32_t oldSize = header->fields.size;
  BlockHeader* older = header->fields.next;
  BlockHeader* newer = header->fields.prev;
  BlockHeader* moved = nullptr;
  if (size <= UINT32_MAX) moved = static_cast<BlockHeader*>(HeapResize(header, size + sizeof(BlockHeader)));
  if (moved == nullptr) {
    MemDump();
    return nullptr;
  }
  if (size > oldSize) std::memset(static_cast<char*>(BytesOf(moved)) + oldSize, 0, size - oldSize);

  StoreIdentity(moved, sourceName, line, static_cast<uint32_t>(size));
  SetPrev(older, moved);
  if (newer != nullptr) {
    SetNext(newer, moved);
  } else {
    head = moved;
  }
  AdjustTotal(oldSize, moved->fields.size);

  if (Traced(moved->fields.size)) {
    WriteLog("mem realloc  ");
    WriteDumpLine(moved);
  }
  AfterOperation();
  return BytesOf(moved);
}

int MemCheck() {
  Hold hold(allocatorLock);
  for (BlockHeader* header = head; header != &endRecord; header = header->fields.next) {
    if (!GuardMatches(header)) {
      WriteLog("以下のメモリ確保情報が破損しました");
      WriteDumpLine(header);
      return -1;
    }
  }
  return 0;
}

void MemDump() {
  Hold hold(allocatorLock);
  WriteLog("\n");
  WriteLog("Alloc memory dump\n");
  for (BlockHeader* header = head; header != &endRecord;) {
    WriteDumpLine(header);
    // A damaged link is not followed: the walk ends rather than wander
    // through memory that is not a header.
    if (header->fields.next != header->guard.next) break;
    header = header->fields.next;
  }
  MemTotals();
  WriteLog("\n");
}

void MemTotals() {
  Hold hold(allocatorLock);
  LogPrintf("\tTotal size:%d(%.3fkb)  Alloc num:%d", totalSize, totalSize / 1024.0, count);
}

MemStatistics MemReadStatistics() {
  Hold hold(allocatorLock);
  return MemStatistics{totalSize, count, counter};
}

int MemListLiveIds(uint16_t* ids, int capacity) {
  Hold hold(allocatorLock);
  int live = 0;
  for (BlockHeader* header = head; header != &endRecord; header = header->fields.next) {
    if (live < capacity) ids[live] = header->fields.id;
    live += 1;
  }
  return live;
}
