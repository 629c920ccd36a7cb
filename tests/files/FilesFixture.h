// A scratch folder made the current directory for one test, with the
// archive table, the LocateArchive cache, the key and the stream functions
// reset around it. Files are written through the files port with code page
// 932 paths, so the same tests run on Linux and under Wine.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/qpa/ArchiveWriter.h"

class FilesFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes a file (path relative to the scratch folder, code page 932).
  void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
  void WriteFile(const std::string& path, const std::string& text);
  // Creates a directory (code page 932 name).
  void MakeDirectory(const std::string& path);
  // Reads a whole file through the installed stream functions; false when
  // it does not open.
  bool ReadThroughStreams(const std::string& path, std::vector<uint8_t>* bytes, int async = 0);
  // The scratch folder as the engine names it.
  std::string Folder() const;

  std::filesystem::path scratch;
  std::filesystem::path previousDirectory;
};

// Bytes of a text.
std::vector<uint8_t> Bytes(const std::string& text);
// Deterministic test data: random bytes, text-like lines, or long runs.
std::vector<uint8_t> RandomBytes(size_t size, uint32_t seed);
std::vector<uint8_t> TextLike(size_t size, uint32_t seed);

// A source tree from (path, content) pairs; paths use backslashes.
qpa::SourceDirectory Tree(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& files);
