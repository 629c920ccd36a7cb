#include "engine/graphics/graphs/GraphSource.h"

#include <cstring>

#include "engine/files/Paths.h"
#include "engine/graphics/records/GraphTable.h"
#include "engine/services/Log.h"
#include "engine/services/Memory.h"

void ForgetGraphSource(GraphRecord* graph) {
  GraphSourceName* source = graph->sourceFile;
  graph->sourceFile = nullptr;
  if (source != nullptr && --source->refCount == 0) MemFree(source);
}

int RememberGraphSource(GraphRecord* graph, const char* fileName, GraphRecord* sharedWith) {
  ForgetGraphSource(graph);
  if (fileName != nullptr) {
    char fullPath[PATH_BUFFER_SIZE];
    ResolveFullPath(fileName, fullPath, nullptr);
    size_t length = std::strlen(fullPath);
    auto* source = static_cast<GraphSourceName*>(
        MemAlloc(sizeof(GraphSourceName) + length + 1, "", 0));
    if (source == nullptr)
      return WriteLog(
          "転送する画像ファイルのファイル名を保存するメモリ領域の確保に失敗しました\n");
    source->refCount = 1;
    std::memcpy(SourceNameText(source), fullPath, length + 1);
    graph->sourceFile = source;
  } else if (sharedWith != nullptr && sharedWith->sourceFile != nullptr) {
    graph->sourceFile = sharedWith->sourceFile;
    graph->sourceFile->refCount += 1;
  }
  return 0;
}
