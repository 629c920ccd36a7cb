#include "tests/files/FilesFixture.h"

#include <atomic>
#include <chrono>
#include <random>

#include "engine/core/Engine.h"
#include "engine/files/LocateArchive.h"
#include "engine/files/StreamFunctions.h"
#include "engine/files/archive/ArchiveTable.h"
#include "engine/platform/FilesPort.h"
#include "engine/services/CharSet.h"

namespace fs = std::filesystem;

void FilesFixture::SetUp() {
  static std::atomic<int> serial{0};
  previousDirectory = fs::current_path();
  scratch = fs::temp_directory_path() /
            ("vexlo-files-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + "-" +
             std::to_string(serial++));
  fs::create_directories(scratch);
  fs::current_path(scratch);
  currentCharSet = CHARSET_DEFAULT;
  SetArchiveKey(nullptr);
  ChangeStreamFunctions(nullptr);
  ForgetLocatedArchive();
  ReleaseUnreferencedArchives();
}

void FilesFixture::TearDown() {
  ForgetLocatedArchive();
  ReleaseUnreferencedArchives();
  EXPECT_EQ(archiveSlotCount, 0) << "an archive reference was not given back";
  SetArchiveKey(nullptr);
  fs::current_path(previousDirectory);
  std::error_code ignored;
  fs::remove_all(scratch, ignored);
}

void FilesFixture::WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  port::HostHandle file = port::CreateFileA(path.c_str(), port::GENERIC_WRITE, 0, nullptr, port::CREATE_ALWAYS,
                                            port::FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, port::INVALID_HANDLE_VALUE) << path;
  uint32_t written = 0;
  ASSERT_TRUE(port::WriteFile(file, bytes.data(), static_cast<uint32_t>(bytes.size()), &written, nullptr));
  ASSERT_EQ(written, bytes.size());
  port::CloseHandle(file);
}

void FilesFixture::WriteFile(const std::string& path, const std::string& text) { WriteFile(path, Bytes(text)); }

void FilesFixture::MakeDirectory(const std::string& path) {
  // Directories have no port call of their own: make them by the host name.
  // Test paths keep directory names ASCII.
  std::string host = path;
  for (char& c : host)
    if (c == '\\') c = '/';
  fs::create_directories(scratch / host);
}

bool FilesFixture::ReadThroughStreams(const std::string& path, std::vector<uint8_t>* bytes, int async) {
  FileHandle handle = streamFunctions.Open(path.c_str(), 0, 1, async);
  if (handle == 0) return false;
  bytes->clear();
  uint8_t chunk[4096];
  for (;;) {
    size_t got = streamFunctions.Read(chunk, 1, sizeof chunk, handle);
    while (!streamFunctions.IsIdle(handle)) {
    }
    if (got == 0) break;
    bytes->insert(bytes->end(), chunk, chunk + got);
  }
  streamFunctions.Close(handle);
  return true;
}

std::string FilesFixture::Folder() const {
  char buffer[260];
  streamFunctions.GetCurrentDir(buffer);
  return buffer;
}

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::vector<uint8_t> RandomBytes(size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> bytes(size);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
  return bytes;
}

std::vector<uint8_t> TextLike(size_t size, uint32_t seed) {
  static const char* words[] = {"ball ", "catch ", "chain ", "score ", "red ", "blue ", "time ", "up\n", "が", "ｱｲｳ"};
  std::mt19937 random(seed);
  std::vector<uint8_t> bytes;
  while (bytes.size() < size) {
    const char* w = words[random() % 10];
    bytes.insert(bytes.end(), w, w + std::char_traits<char>::length(w));
  }
  bytes.resize(size);
  return bytes;
}

qpa::SourceDirectory Tree(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& files) {
  qpa::SourceDirectory root;
  for (const auto& [path, data] : files) {
    qpa::SourceDirectory* at = &root;
    size_t start = 0;
    for (;;) {
      // Split at backslashes that are not the second byte of a double-byte
      // character.
      size_t end = start;
      while (end < path.size() && path[end] != '\\') {
        auto c = static_cast<uint8_t>(path[end]);
        end += ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) ? 2 : 1;
      }
      if (end >= path.size()) break;
      std::string name = path.substr(start, end - start);
      qpa::SourceDirectory* next = nullptr;
      for (auto& d : at->directories)
        if (d.name == name) next = &d;
      if (!next) {
        at->directories.push_back({});
        next = &at->directories.back();
        next->name = name;
      }
      at = next;
      start = end + 1;
    }
    qpa::SourceFile file;
    file.name = path.substr(start);
    file.data = data;
    file.times.lastWrite = file.times.creation = 132000000000000000ULL;  // 2019
    at->files.push_back(file);
  }
  return root;
}
