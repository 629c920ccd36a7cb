// FindFirst / FindNext / FindClose over archives and the disk, and the
// archive's wildcard rule.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/files/StreamFunctions.h"
#include "engine/files/archive/ArchiveFind.h"
#include "engine/files/archive/ArchiveTable.h"
#include "tests/files/FilesFixture.h"

namespace {

class Enumeration : public FilesFixture {
 protected:
  std::vector<std::string> List(const char* pattern) {
    std::vector<std::string> names;
    FoundFile found;
    FindHandle find = streamFunctions.FindFirst(pattern, &found);
    if (find == -1) return names;
    do names.push_back(std::string(found.name) + (found.isDirectory ? "/" : ""));
    while (streamFunctions.FindNext(find, &found) == 0);
    EXPECT_EQ(streamFunctions.FindClose(find), 0);
    return names;
  }
};

}  // namespace

TEST(MatchWildcard, NoBacktracking) {
  struct Case {
    const char* name;
    const char* pattern;
    bool matches;
  } cases[] = {
      {"ACTORS.BMP", "*.BMP", true},   {"A.B.BMP", "*.BMP", false},  {"ABC", "ABC*", false},
      {"ABCD", "ABC*", true},          {"ABC", "A?C", true},         {"AC", "A?C", false},
      {"ABC", "*", true},              {"", "*", true},              {"ABC", "***", true},
      {"FONT.BMP", "F*T.BMP", true},   {"AT.AT.BMP", "*T.BMP", false},  // the star stops at the first T
      {"表示.TXT", "表*", true},        {"表示.TXT", "*.TXT", true},   {"表示", "?示", true},
      {"ABC", "ABCD", false},          {"ABCD", "ABC", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchWildcard(c.name, c.pattern, CHARSET_SHIFTJIS), c.matches) << c.name << " ~ " << c.pattern;
}

TEST_F(Enumeration, ArchiveListsDotFirstAndNoParentAtTheRoot) {
  qpa::WriteOptions options;
  WriteFile("DATA.QPA", qpa::BuildArchive(Tree({{"ACTORS.BMP", Bytes("12345")},
                                                 {"font.bmp", Bytes("1")},
                                                 {"notes.txt", Bytes("n")},
                                                 {"SUB\\A.BMP", Bytes("a")}}),
                                           options, nullptr));
  MakeDirectory("data");
  WriteFile("data\\loose.bmp", "never listed: the archive stands for the directory");
  EXPECT_EQ(List("data\\*"), (std::vector<std::string>{"./", "SUB/", "ACTORS.BMP", "font.bmp", "notes.txt"}));
  EXPECT_EQ(List("data\\*.bmp"), (std::vector<std::string>{"ACTORS.BMP", "font.bmp"}));
  EXPECT_EQ(List("data\\sub\\*"), (std::vector<std::string>{"./", "../", "A.BMP"}));
  EXPECT_TRUE(List("data\\nothere\\*").empty());
  EXPECT_TRUE(List("data\\*.PNG").empty());
  EXPECT_EQ(archiveSlots[0]->refCount, 0) << "every find gave its reference back";

  FoundFile found;
  FindHandle find = streamFunctions.FindFirst("data\\ACTORS.*", &found);
  ASSERT_NE(find, -1);
  EXPECT_EQ(found.sizeLow, 5u);
  EXPECT_EQ(found.sizeHigh, 0u);
  EXPECT_EQ(found.isDirectory, 0);
  EXPECT_EQ(found.lastWrite.year, 2019);  // the test tree's time stamp, in local time
  streamFunctions.FindClose(find);
}

TEST_F(Enumeration, DiskListingsReportSizesAndDirectories) {
  MakeDirectory("pics\\inner");
  WriteFile("pics\\b.bmp", "bb");
  WriteFile("pics\\a.bmp", "a");
  WriteFile("pics\\c.png", "ccc");
  std::vector<std::string> all = List("pics\\*");
  std::sort(all.begin(), all.end());
  EXPECT_EQ(all, (std::vector<std::string>{"../", "./", "a.bmp", "b.bmp", "c.png", "inner/"}));
  std::vector<std::string> bmps = List("PICS\\*.BMP");
  std::sort(bmps.begin(), bmps.end());
  EXPECT_EQ(bmps, (std::vector<std::string>{"a.bmp", "b.bmp"}));
  FoundFile found;
  FindHandle find = streamFunctions.FindFirst("pics\\c.png", &found);
  ASSERT_NE(find, -1);
  EXPECT_EQ(found.sizeLow, 3u);
  EXPECT_GE(found.lastWrite.year, 2020);
  streamFunctions.FindClose(find);
  EXPECT_EQ(streamFunctions.FindFirst("nowhere\\*", &found), -1);
}
