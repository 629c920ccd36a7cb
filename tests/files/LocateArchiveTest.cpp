// Which archive, if any, a path is read from.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/files/FileTable.h"
#include "engine/files/LocateArchive.h"
#include "engine/files/StreamFunctions.h"
#include "engine/files/archive/ArchiveTable.h"
#include "tests/files/FilesFixture.h"

namespace {

class LocateArchiveTest : public FilesFixture {
 protected:
  void WriteArchive(const std::string& path, const std::vector<std::pair<std::string, std::vector<uint8_t>>>& files) {
    WriteFile(path, qpa::BuildArchive(Tree(files), {}, nullptr));
  }
  std::string Read(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!ReadThroughStreams(path, &bytes)) return "<no file>";
    return std::string(bytes.begin(), bytes.end());
  }
};

}  // namespace

TEST_F(LocateArchiveTest, AnArchiveWinsOverALooseFile) {
  MakeDirectory("data");
  WriteFile("data\\font.bmp", "loose");
  WriteArchive("DATA.QPA", {{"FONT.BMP", Bytes("archived")}});
  EXPECT_EQ(Read("data\\font.bmp"), "archived");
  EXPECT_EQ(Read("DATA/Font.Bmp"), "archived") << "either separator, any case";
}

TEST_F(LocateArchiveTest, AMemberMissingFromTheArchiveIsNotTakenFromTheDisk) {
  MakeDirectory("data");
  WriteFile("data\\other.bmp", "loose");
  WriteArchive("DATA.QPA", {{"FONT.BMP", Bytes("archived")}});
  EXPECT_EQ(Read("data\\other.bmp"), "<no file>");
  EXPECT_EQ(openFileCount, 0);
}

TEST_F(LocateArchiveTest, WithoutAnArchiveTheLooseFileIsRead) {
  MakeDirectory("data");
  WriteFile("data\\font.bmp", "loose");
  EXPECT_EQ(Read("data\\font.bmp"), "loose");
  int index = -1;
  EXPECT_EQ(LocateArchive("data\\font.bmp", &index, nullptr, nullptr), -1);
  EXPECT_EQ(Read("data"), "<no file>") << "a directory is no file";
}

TEST_F(LocateArchiveTest, ShorterPrefixesAreTriedFirstAndTheCurrentDirectoryCounts) {
  // An archive named after the current directory, beside it, holds files
  // opened without any directory.
  MakeDirectory("inner");
  WriteArchive("INNER.QPA", {{"A.BMP", Bytes("from inner.qpa")}});
  WriteArchive("inner\\DATA.QPA", {{"A.BMP", Bytes("from data.qpa")}});
  std::filesystem::current_path(scratch / "inner");
  EXPECT_EQ(Read("a.bmp"), "from inner.qpa");
  ForgetLocatedArchive();
  // inner\data\a.bmp: ...\INNER.QPA comes before ...\INNER\DATA.QPA, and
  // INNER.QPA has no DATA\A.BMP: no fallback to the later candidate.
  EXPECT_EQ(Read("data\\a.bmp"), "<no file>");
  char archivePath[256], inner[256];
  int index = -1;
  ForgetLocatedArchive();
  ASSERT_EQ(LocateArchive("data\\a.bmp", &index, archivePath, inner), 0);
  ReleaseArchive(index);
  EXPECT_STREQ(inner, "DATA\\A.BMP");
  std::string found = archivePath;
  EXPECT_EQ(found.substr(found.size() - 10), "\\INNER.QPA");
  for (char c : found) EXPECT_FALSE(c >= 'a' && c <= 'z') << "candidates are upper case: " << found;
}

TEST_F(LocateArchiveTest, TheLastArchiveFoundIsTriedFirst) {
  MakeDirectory("work");
  WriteArchive("work\\DATA.QPA", {{"X.BMP", Bytes("data.qpa")}, {"Y.BMP", Bytes("data.qpa y")}});
  std::filesystem::current_path(scratch / "work");
  EXPECT_EQ(Read("data\\x.bmp"), "data.qpa");
  // A shorter candidate appears (WORK.QPA beside the current directory):
  // the cache keeps finding DATA.QPA until it is forgotten.
  WriteArchive("..\\WORK.QPA", {{"DATA\\Y.BMP", Bytes("work.qpa y")}});
  EXPECT_EQ(Read("data\\y.bmp"), "data.qpa y");
  ForgetLocatedArchive();
  EXPECT_EQ(Read("data\\y.bmp"), "work.qpa y");
}

TEST_F(LocateArchiveTest, ReferencesAreGivenBackAndUnusedArchivesReleased) {
  WriteArchive("DATA.QPA", {{"A.BMP", Bytes("a")}});
  FileHandle first = streamFunctions.Open("data\\a.bmp", 0, 1, 0);
  FileHandle second = streamFunctions.Open("data\\a.bmp", 0, 1, 0);
  ASSERT_NE(first, 0u);
  ASSERT_NE(second, 0u);
  EXPECT_EQ(archiveSlotCount, 1) << "one archive for both";
  EXPECT_EQ(archiveSlots[0]->refCount, 2);
  ReleaseUnreferencedArchives();
  EXPECT_EQ(archiveSlotCount, 1) << "still referenced";
  streamFunctions.Close(first);
  streamFunctions.Close(second);
  EXPECT_EQ(archiveSlots[0]->refCount, 0);
  ReleaseArchive(0);
  EXPECT_EQ(archiveSlots[0]->refCount, 0) << "never below 0";
  ReleaseUnreferencedArchives();
  EXPECT_EQ(archiveSlotCount, 0);
}
