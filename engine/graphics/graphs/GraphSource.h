// The file a graph's pixels came from, remembered so that its contents can
// be reloaded after the display device was rebuilt.
#pragma once

struct GraphRecord;

// A reference count followed by the absolute file name (NUL-terminated; the
// block is as long as the name needs).
struct GraphSourceName {
  int refCount;
};
inline char* SourceNameText(GraphSourceName* source) {
  return reinterpret_cast<char*>(source + 1);
}

// Drops the graph's current file reference (freeing it with its last user),
// then: with a file name, records its absolute form in a new record; with
// another graph (sharedWith), shares that graph's record; with neither,
// leaves the graph without a file. 0, or -1 when the memory runs out.
int RememberGraphSource(GraphRecord* graph, const char* fileName, GraphRecord* sharedWith);
// Drops the graph's file reference.
void ForgetGraphSource(GraphRecord* graph);
