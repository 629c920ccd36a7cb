// Archives written by qpa's writer and read back through the engine's stream
// table: every version, plain and compressed, each way of keying, nested
// directories and code page 932 names (one with 0x5C as its second byte).
#include <gtest/gtest.h>

#include "engine/core/Engine.h"
#include "engine/files/LocateArchive.h"
#include "engine/files/StreamFunctions.h"
#include "engine/files/archive/ArchiveTable.h"
#include "engine/files/archive/Archive.h"
#include "tests/files/FilesFixture.h"
#include "tools/qpa/ArchiveWalker.h"

namespace {

const char* const GAME_KEY = "7f3c9e0b51d2a86e4b07c3f9d1e25a6b8c04f17e";

std::vector<std::pair<std::string, std::vector<uint8_t>>> SampleFiles() {
  return {
      {"ACTORS.BMP", TextLike(40000, 1)},
      {"font.bmp", RandomBytes(3000, 2)},
      {"empty.txt", {}},
      {"SUB\\A.BMP", TextLike(5000, 3)},
      {"SUB\\DEEP\\DEEPER\\z.dat", RandomBytes(70000, 4)},
      {"表\\表示.txt", Bytes("0x95 0x5C: the second byte is a backslash")},
      {"ｶﾀｶﾅ.txt", Bytes("half-width katakana")},
  };
}

struct RoundTrip {
  const char* what;
  int version;
  bool compress;
  qpa::KeyChoice key;
  const char* archiveKey;  // with KeyChoice::KeyString
  const char* engineKey;   // what the game set (null: nothing)
  bool expectCompressed;
};

class ArchiveRoundTrip : public FilesFixture {};

}  // namespace

TEST_F(ArchiveRoundTrip, EveryVersionAndKeyReadsBackByteForByte) {
  const RoundTrip cases[] = {
      {"version 4, compressed, game key", 4, true, qpa::KeyChoice::KeyString, GAME_KEY, GAME_KEY, true},
      {"version 4, plain, game key", 4, false, qpa::KeyChoice::KeyString, GAME_KEY, GAME_KEY, false},
      {"version 4, fallback key, another key set", 4, true, qpa::KeyChoice::Fallback, nullptr, "other", true},
      {"version 4, fallback key, no key set", 4, true, qpa::KeyChoice::Fallback, nullptr, nullptr, true},
      {"version 4, no key string", 4, true, qpa::KeyChoice::NoKeyString, nullptr, nullptr, true},
      {"version 3, compressed", 3, true, qpa::KeyChoice::KeyString, "key3", "key3", true},
      {"version 2, compressed", 2, true, qpa::KeyChoice::KeyString, "key2", "key2", true},
      {"version 1 never compresses", 1, true, qpa::KeyChoice::KeyString, "key1", "key1", false},
      {"version 0 never compresses", 0, true, qpa::KeyChoice::KeyString, "key0", "key0", false},
  };
  for (const RoundTrip& c : cases) {
    SCOPED_TRACE(c.what);
    qpa::WriteOptions options;
    options.version = c.version;
    options.compress = c.compress;
    options.key = c.key;
    options.keyString = c.archiveKey ? c.archiveKey : "";
    std::string error;
    std::vector<uint8_t> image = qpa::BuildArchive(Tree(SampleFiles()), options, &error);
    ASSERT_FALSE(image.empty()) << error;
    WriteFile("DATA.QPA", image);
    SetArchiveKey(c.engineKey);

    for (const auto& [path, data] : SampleFiles()) {
      for (int async : {0, 1}) {
        std::vector<uint8_t> read;
        ASSERT_TRUE(ReadThroughStreams("data\\" + path, &read, async)) << path;
        EXPECT_EQ(read, data) << path << (async ? " (async)" : "");
      }
    }
    // Whether members were stored compressed as asked.
    Archive archive{};
    ASSERT_EQ(OpenArchiveFile(&archive, "DATA.QPA", c.engineKey), 0);
    bool anyCompressed = false;
    EXPECT_TRUE(qpa::WalkArchive(archive, [&](const qpa::WalkedEntry& e) {
      anyCompressed |= !e.isDirectory && IsCompressedEntry(archive, e.entry);
      return true;
    }).Complete());
    EXPECT_EQ(anyCompressed, c.expectCompressed);
    EXPECT_EQ(archive.charSet, c.version == 4 ? CHARSET_SHIFTJIS : CHARSET_DEFAULT);
    CloseArchive(&archive);
    ForgetLocatedArchive();
    ReleaseUnreferencedArchives();
  }
}

TEST_F(ArchiveRoundTrip, AWrongKeyDoesNotOpen) {
  qpa::WriteOptions options;
  options.key = qpa::KeyChoice::KeyString;
  options.keyString = "right";
  WriteFile("DATA.QPA", qpa::BuildArchive(Tree({{"A.BMP", Bytes("inside")}}), options, nullptr));
  Archive archive{};
  EXPECT_EQ(OpenArchiveFile(&archive, "DATA.QPA", "wrong"), -1);
  EXPECT_EQ(OpenArchiveFile(&archive, "DATA.QPA", nullptr), -1);
  EXPECT_EQ(OpenArchiveFile(&archive, "DATA.QPA", "right"), 0);
  CloseArchive(&archive);
  // Through the stream table the archive is then no archive: the loose file
  // is tried, and there is none.
  SetArchiveKey("wrong");
  std::vector<uint8_t> read;
  EXPECT_FALSE(ReadThroughStreams("data\\a.bmp", &read));
}

TEST_F(ArchiveRoundTrip, MembersSeekTellAndEndLikeFiles) {
  std::vector<uint8_t> data = TextLike(10000, 5);
  for (bool compress : {false, true}) {
    SCOPED_TRACE(compress ? "compressed" : "plain");
    qpa::WriteOptions options;
    options.compress = compress;
    WriteFile("DATA.QPA", qpa::BuildArchive(Tree({{"M.BIN", data}}), options, nullptr));
    FileHandle h = streamFunctions.Open("data\\m.bin", 0, 1, 0);
    ASSERT_NE(h, 0u);
    uint8_t buffer[100];
    EXPECT_EQ(streamFunctions.Seek(h, -10, 2), 0);
    EXPECT_EQ(streamFunctions.Tell(h), 9990);
    EXPECT_EQ(streamFunctions.Read(buffer, 4, 25, h), 2u);  // 10 bytes left: two whole elements
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 10), std::vector<uint8_t>(data.end() - 10, data.end()));
    EXPECT_EQ(streamFunctions.Read(buffer, 1, 1, h), 0u);
    EXPECT_EQ(streamFunctions.Eof(h), -1);
    EXPECT_EQ(streamFunctions.Seek(h, 20000, 0), 0);  // clamped to the size
    EXPECT_EQ(streamFunctions.Tell(h), 10000);
    EXPECT_EQ(streamFunctions.Eof(h), 0);
    EXPECT_EQ(streamFunctions.Seek(h, 1000, 0), 0);
    EXPECT_EQ(streamFunctions.Read(buffer, 0, 5, h), 0u) << "element size 0 reads nothing";
    EXPECT_EQ(streamFunctions.Read(buffer, 1, 100, h), 100u);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 100), std::vector<uint8_t>(data.begin() + 1000, data.begin() + 1100));
    streamFunctions.Close(h);
    ForgetLocatedArchive();
    ReleaseUnreferencedArchives();
  }
}

TEST_F(ArchiveRoundTrip, WriterRefusesNamesTheReaderCouldNotTellApart) {
  std::string error;
  EXPECT_TRUE(qpa::BuildArchive(Tree({{"a.txt", {}}, {"A.TXT", {}}}), {}, &error).empty());
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(qpa::BuildArchive(Tree({{"x", {}}}), qpa::WriteOptions{5}, &error).empty());
}
