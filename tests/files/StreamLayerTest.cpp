// Disk files (direct, threaded, cached, async), memory streams, the slot
// table and path resolution.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "engine/files/DiskFile.h"
#include "engine/files/FileTable.h"
#include "engine/files/MemoryStream.h"
#include "engine/files/Paths.h"
#include "engine/files/StreamOps.h"
#include "engine/platform/headless/HeadlessSystem.h"
#include "engine/services/Log.h"
#include "tests/files/FilesFixture.h"

namespace {

class StreamLayer : public FilesFixture {};

}  // namespace

TEST_F(StreamLayer, ThreadedAndDirectReadsAgreeAtRandomOffsets) {
  std::vector<uint8_t> data = RandomBytes(600000, 11);  // several cache lengths
  WriteFile("big.bin", data);
  struct Mode {
    const char* what;
    int useCache, async;
  } modes[] = {{"direct", 0, 0}, {"threaded with cache", 1, 0}, {"async", 0, 1}, {"async with cache", 1, 1}};
  for (const Mode& mode : modes) {
    SCOPED_TRACE(mode.what);
    DiskFile* file = OpenDiskFile("big.bin", mode.useCache, mode.async);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->size, 600000);
    EXPECT_EQ(file->threaded, mode.useCache || mode.async);
    std::mt19937 random(7);
    std::vector<uint8_t> buffer(200000);
    for (int i = 0; i < 60; ++i) {
      int32_t offset = static_cast<int32_t>(random() % 600000);
      size_t size = 1 + random() % (i % 3 == 0 ? 200000 : 3000);
      if (i % 5 != 0) {  // else: read on from where the last read ended
        ASSERT_EQ(DiskFileSeek(file, offset, 0), 0);
      }
      int32_t from = DiskFileTell(file);
      size_t expected = std::min<size_t>(size, data.size() - static_cast<size_t>(from));
      size_t got = DiskFileRead(buffer.data(), 1, size, file);
      while (!DiskFileIsIdle(file)) std::this_thread::yield();
      ASSERT_EQ(got, expected);
      ASSERT_TRUE(std::equal(buffer.begin(), buffer.begin() + static_cast<long>(got), data.begin() + from))
          << "offset " << from << " size " << size;
      if (i == 30 && mode.useCache) std::this_thread::sleep_for(std::chrono::milliseconds(250));  // let it read ahead
    }
    DiskFileClose(file);
  }
}

TEST_F(StreamLayer, DiskEndOfFileAndSeekRules) {
  WriteFile("ten.bin", std::vector<uint8_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  for (int threaded : {0, 1}) {
    DiskFile* file = OpenDiskFile("ten.bin", threaded, 0);
    ASSERT_NE(file, nullptr);
    uint8_t buffer[16];
    EXPECT_EQ(DiskFileRead(buffer, 4, 3, file), 2u) << "whole elements only";
    EXPECT_EQ(DiskFileTell(file), 8);
    EXPECT_EQ(DiskFileRead(buffer, 4, 1, file), 0u) << "less than one element left";
    EXPECT_EQ(DiskFileEof(file), -1);
    EXPECT_EQ(DiskFileSeek(file, -3, 2), 0);
    EXPECT_EQ(DiskFileEof(file), 0) << "a seek clears the end";
    EXPECT_EQ(DiskFileRead(buffer, 1, 10, file), 3u);
    EXPECT_EQ(buffer[0], 7);
    EXPECT_EQ(DiskFileRead(buffer, 1, 1, file), 0u);
    EXPECT_EQ(DiskFileEof(file), -1);
    EXPECT_EQ(DiskFileSeek(file, -1, 0), -1) << "before the start";
    EXPECT_EQ(DiskFileTell(file), 10);
    EXPECT_EQ(DiskFileRead(buffer, 0, 10, file), 0u) << "element size 0";
    DiskFileClose(file);
  }
  EXPECT_EQ(OpenDiskFile("missing.bin", 0, 0), nullptr);
  EXPECT_EQ(OpenDiskFile("missing.bin", 1, 1), nullptr);
}

TEST_F(StreamLayer, TheSameFileOpensTwiceThreaded) {
  WriteFile("twice.bin", "shared");
  DiskFile* a = OpenDiskFile("twice.bin", 1, 0);
  DiskFile* b = OpenDiskFile("twice.bin", 1, 0);
  EXPECT_NE(a, nullptr);
  EXPECT_NE(b, nullptr);
  if (a) DiskFileClose(a);
  if (b) DiskFileClose(b);
}

TEST(MemoryStream, ElementRules) {
  const uint8_t data[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  MemoryStream* stream = OpenMemoryStream(data, 10);
  ASSERT_NE(stream, nullptr);
  uint8_t out[16] = {};
  EXPECT_EQ(MemoryStreamRead(out, 4, 3, stream), 2u);
  EXPECT_EQ(MemoryStreamTell(stream), 8);
  EXPECT_EQ(MemoryStreamRead(out, 4, 1, stream), 1u) << "less than one element: the rest, as one";
  EXPECT_EQ(out[0], 8);
  EXPECT_EQ(out[1], 9);
  EXPECT_EQ(MemoryStreamTell(stream), 10);
  EXPECT_EQ(MemoryStreamEof(stream), 0);
  EXPECT_EQ(MemoryStreamRead(out, 1, 1, stream), 0u);
  EXPECT_EQ(MemoryStreamEof(stream), 1);
  EXPECT_EQ(MemoryStreamSeek(stream, -100, 1), 0);
  EXPECT_EQ(MemoryStreamTell(stream), 0) << "clamped at the start";
  EXPECT_EQ(MemoryStreamEof(stream), 0);
  EXPECT_EQ(MemoryStreamSeek(stream, 100, 0), 0);
  EXPECT_EQ(MemoryStreamTell(stream), 10) << "clamped at the end";
  MemoryStreamSeek(stream, 2, 0);
  EXPECT_EQ(MemoryStreamRead(out, 1, 0, stream), 0u);
  EXPECT_EQ(MemoryStreamRead(out, 0, 5, stream), 0u);
  EXPECT_EQ(MemoryStreamTell(stream), 2);
  // Through a StreamSource, as a decoder sees it.
  StreamSource source = MemoryStreamSource(stream);
  EXPECT_EQ(source.ops.Read(out, 2, 2, source.handle), 2u);
  EXPECT_EQ(out[0], 2);
  EXPECT_EQ(source.ops.IsIdle(source.handle), 1);
  EXPECT_EQ(source.ops.Close(source.handle), 0);
}

TEST_F(StreamLayer, The513thOpenFailsAndClosingFreesASlot) {
  WriteFile("one.bin", "x");
  SetLogFolder(Folder().c_str());
  CreateLogFile();
  headless::ClearDebuggerOutput();
  std::vector<FileHandle> handles;
  for (int i = 0; i < FILE_SLOT_COUNT; ++i) {
    FileHandle h = streamFunctions.Open("one.bin", 0, 1, 0);
    ASSERT_EQ(h, static_cast<FileHandle>(i) | FILE_HANDLE_TAG) << "lowest free slot first";
    handles.push_back(h);
  }
  EXPECT_EQ(streamFunctions.Open("one.bin", 0, 1, 0), 0u);
  EXPECT_NE(headless::DebuggerOutput().find("同時に開けるファイルの数が限界を超えました"), std::string::npos);
  streamFunctions.Close(handles[100]);
  EXPECT_EQ(streamFunctions.Open("one.bin", 0, 1, 0), 100u | FILE_HANDLE_TAG);
  for (FileHandle h : handles) streamFunctions.Close(h);
  EXPECT_EQ(openFileCount, 0);
  SetLogFolder("");
}

TEST_F(StreamLayer, HandlesThatOpenDidNotReturnAreRefused) {
  WriteFile("one.bin", "x");
  FileHandle h = streamFunctions.Open("one.bin", 0, 1, 0);
  ASSERT_EQ(h, FILE_HANDLE_TAG);  // slot 0
  uint8_t b;
  for (FileHandle bad : {0u, 1u, FILE_HANDLE_TAG | 1u, FILE_HANDLE_TAG | 600u, FILE_HANDLE_TAG | 0x0FFFFFFFu}) {
    EXPECT_EQ(streamFunctions.Tell(bad), -1) << std::hex << bad;
    EXPECT_EQ(streamFunctions.Seek(bad, 0, 0), -1);
    EXPECT_EQ(streamFunctions.Read(&b, 1, 1, bad), 0u);
    EXPECT_EQ(streamFunctions.Close(bad), -1);
  }
  EXPECT_EQ(streamFunctions.Close(h), 0);
  EXPECT_EQ(streamFunctions.Close(h), -1) << "closed twice";
}

TEST_F(StreamLayer, AReplacedTableIsHonouredByTheFileOps) {
  static int opens = 0;
  StreamFunctions table = archiveAwareStreamFunctions;
  table.Tell = [](FileHandle) -> int32_t { return 4242; };
  table.Open = [](const char*, int, int, int) -> FileHandle { return ++opens; };
  ChangeStreamFunctions(&table);
  EXPECT_EQ(streamFunctions.Open("x", 0, 1, 0), 1u);
  EXPECT_EQ(FileStreamSource(1).ops.Tell(1), 4242);
  ChangeStreamFunctions(nullptr);
  EXPECT_EQ(streamFunctions.Open, &ArchiveAwareOpen);
}

TEST(Paths, ResolveFullAndUpper) {
  struct Case {
    const char* path;
    const char* base;
    const char* full;
  } cases[] = {
      {"../Data/./a.bmp", "C:\\Work", "C:\\Data\\a.bmp"},
      {"x/../../../y", "C:\\A", "C:\\y"},
      {"a\\b\\..", "C:\\W", "C:\\W\\a\\b\\.."},  // a final ".." stays
      {"\\root\\f", "D:\\deep\\dir", "D:\\root\\f"},
      {"E:name", "C:\\W", "E:\\name"},
      {"\\\\server\\share\\f", "C:\\W", "\\\\server\\share\\f"},
      {"a//b", "C:\\W\\", "C:\\W\\a\\b"},
      {"表\\..\\b", "C:\\W", "C:\\W\\b"},       // 0x95 0x5C is one character
      {"dir\\表", "C:\\W", "C:\\W\\dir\\表"},
      {nullptr, "C:\\Base", "C:\\Base"},
  };
  for (const Case& c : cases) {
    char out[PATH_BUFFER_SIZE];
    EXPECT_EQ(ResolveFullPath(c.path, out, c.base), 0);
    EXPECT_STREQ(out, c.full) << (c.path ? c.path : "(null)");
  }
  // Upper-cased, for archive lookups: letters only, double-byte units kept.
  char out[PATH_BUFFER_SIZE];
  ResolveUpperPath(out, "C:\\a\\x/../../../y");
  EXPECT_STREQ(out, "C:\\Y");
  ResolveUpperPath(out, "c:\\ｱa\\表b.bmp");
  EXPECT_STREQ(out, "C:\\ｱA\\表B.BMP");
  // Paths that do not fit are cut, never overrun.
  std::string longPath(400, 'a');
  EXPECT_EQ(ResolveFullPath(longPath.c_str(), out, "C:\\W"), -1);
  EXPECT_EQ(std::strlen(out), PATH_BUFFER_SIZE - 1u);
}

TEST_F(StreamLayer, CurrentDirectoryRoundTrips) {
  char here[260];
  ASSERT_EQ(streamFunctions.GetCurrentDir(here), 0);
  MakeDirectory("sub");
  EXPECT_EQ(streamFunctions.SetCurrentDir("sub"), 0);
  char there[260];
  streamFunctions.GetCurrentDir(there);
  EXPECT_EQ(std::string(there), std::string(here) + "\\sub");
  streamFunctions.SetCurrentDir(here);
  streamFunctions.GetCurrentDir(there);
  EXPECT_STREQ(there, here);
}
