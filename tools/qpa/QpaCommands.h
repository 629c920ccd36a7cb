// The qpa commands. Each returns the process exit code: 0 done, 1 failed
// (with a message on stderr), 2 a usage error.
#pragma once

#include <string>
#include <vector>

#include "tools/qpa/ArchiveWriter.h"

namespace qpa {

struct CreateRequest {
  std::string archivePath;
  std::string directory;
  WriteOptions options;
  bool force = false;
};

// Reads a host directory tree (names UTF-8 → code page 932, entries in byte
// order of their names) into a source tree. false with a message on error.
bool ReadSourceTree(const std::string& directory, SourceDirectory* root, std::string* error);

int CreateCommand(const CreateRequest& request);
// keyString null: no key string (the fallback key is always tried too).
int ListCommand(const std::string& archivePath, const char* keyString);
int ExtractCommand(const std::string& archivePath, const std::string& directory, const char* keyString);
int VerifyCommand(const std::string& archivePath, const char* keyString);

}  // namespace qpa
