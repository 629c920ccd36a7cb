#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>

#include "engine/core/Engine.h"
#include "engine/files/FileSystem.h"
#include "engine/platform/headless/HeadlessClock.h"
#include "engine/services/Memory.h"
#include "tests/services/LogCapture.h"

namespace {

class LogTest : public ::testing::Test {
 protected:
  LogTest() { headless::ResetClock(); }
  ~LogTest() override { headless::ResetClock(); }
  LogCapture log;  // constructed after the clock is reset
};

TEST_F(LogTest, EachLineCarriesTheMillisecondsSinceCreation) {
  headless::AdvanceClockMilliseconds(20);
  EXPECT_EQ(LogPrintf("%s", "a"), -1);
  headless::AdvanceClockMilliseconds(15);
  EXPECT_EQ(WriteLog("b\n"), -1);

  EXPECT_EQ(log.FileText(), "20:a\r\n35:b\r\n");
  EXPECT_EQ(LogCapture::Debugger(), "20:a\r\n35:b\r\n");
}

TEST_F(LogTest, CountsFromTheClockReadingAtCreation) {
  headless::SetClockMicroseconds(123456789000);
  CreateLogFile();
  headless::AdvanceClockMilliseconds(7);
  WriteLog("x\n");
  EXPECT_EQ(log.FileText(), "7:x\r\n");
}

TEST_F(LogTest, ElapsedTimeSurvivesTheWrapOfTheMillisecondClock) {
  headless::SetClockMicroseconds(uint64_t{0x7FFFFFF0} * 1000);
  CreateLogFile();
  headless::AdvanceClockMilliseconds(32);  // the 31-bit clock now reads 16
  WriteLog("late\n");
  EXPECT_EQ(log.FileText(), "32:late\r\n");
}

TEST_F(LogTest, TextWithoutLineEndLeavesTheLineOpenForTheNext) {
  headless::AdvanceClockMilliseconds(5);
  WriteLog("x");
  headless::AdvanceClockMilliseconds(5);
  WriteLog("y\n");
  WriteLog("z\n");
  EXPECT_EQ(log.FileText(), "5:xy\r\n10:z\r\n");
}

TEST_F(LogTest, EmptyTextWritesNothingAndKeepsTheLineState) {
  WriteLog("");
  WriteLog("open");
  WriteLog("");
  WriteLog(" still\n");
  EXPECT_EQ(log.FileText(), "0:open still\r\n");
}

TEST_F(LogTest, IndentationPutsOneTabPerLevelAfterThePrefix) {
  LogIndentIn();
  LogIndentIn();
  WriteLog("deep\n");
  LogIndentOut();
  WriteLog("half");
  WriteLog("way\n");
  LogIndentOut();
  LogIndentOut();  // not below 0
  WriteLog("top\n");
  LogIndentIn();
  WriteLog("one\n");
  EXPECT_EQ(log.FileText(), "0:\t\tdeep\r\n0:\thalfway\r\n0:top\r\n0:\tone\r\n");
  EXPECT_EQ(LogCapture::Debugger(), log.FileText());
}

TEST_F(LogTest, CreatingTheLogResetsIndentationAndOpenLine) {
  LogIndentIn();
  WriteLog("unfinished");
  CreateLogFile();
  WriteLog("fresh\n");
  EXPECT_EQ(log.FileText(), "0:fresh\r\n");
}

TEST_F(LogTest, ManyIndentationLevelsAreAllWritten) {
  for (int i = 0; i < 40; ++i) LogIndentIn();
  WriteLog("x\n");
  EXPECT_EQ(log.FileText(), "0:" + std::string(40, '\t') + "x\r\n");
}

struct LineEndCase {
  const char* name;
  CharSet charSet;
  std::string text;
  std::string written;  // after the "0:" prefix
};

void PrintTo(const LineEndCase& lineCase, std::ostream* out) { *out << lineCase.name; }

class LineEndTest : public LogTest, public ::testing::WithParamInterface<LineEndCase> {};

TEST_P(LineEndTest, ConvertsLineEndsUpToTheFirstExistingCrLf) {
  currentCharSet = GetParam().charSet;
  WriteLog(GetParam().text.c_str());
  EXPECT_EQ(log.FileText(), "0:" + GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LineEndTest,
    ::testing::Values(
        LineEndCase{"EveryLineEnd", CHARSET_SHIFTJIS, "a\nb\n\n", "a\r\nb\r\n\r\n"},
        LineEndCase{"CrLfLeftAlone", CHARSET_SHIFTJIS, "a\r\nb\n", "a\r\nb\n"},
        LineEndCase{"ConvertedUpToTheCrLf", CHARSET_SHIFTJIS, "a\nb\r\nc\nd", "a\r\nb\r\nc\nd"},
        LineEndCase{"LoneCrIsKept", CHARSET_SHIFTJIS, "a\rb\n", "a\rb\r\n"},
        // 0xB0 is a half-width katakana in Shift-JIS, a lead byte in Korean:
        // there the "\n" after it is its second byte, not a line end.
        LineEndCase{"SingleByteKatakana", CHARSET_SHIFTJIS, "\xB0\n", "\xB0\r\n"},
        LineEndCase{"KoreanPairHidesLineEnd", CHARSET_KOREAN, "\xB0\nx", "\xB0\nx"},
        LineEndCase{"JapaneseText", CHARSET_SHIFTJIS, "ＣＯＭを終了... 完了\n", "ＣＯＭを終了... 完了\r\n"},
        LineEndCase{"LeadByteAtTheEnd", CHARSET_SHIFTJIS, "ab\x82", "ab\x82"}),
    [](const ::testing::TestParamInfo<LineEndCase>& lineCase) { return std::string(lineCase.param.name); });

TEST_F(LogTest, LongTextsConvertTheSameAndReleaseTheirScratchBuffer) {
  std::string text;
  std::string expected = "0:";
  for (int i = 0; i < 150; ++i) {
    text += "line\n";
    expected += "line\r\n";
  }
  text += std::string(400, '\n');
  expected += std::string(400 * 2, '\0');
  for (size_t i = expected.size() - 800; i < expected.size(); i += 2) {
    expected[i] = '\r';
    expected[i + 1] = '\n';
  }
  const MemStatistics before = MemReadStatistics();
  WriteLog(text.c_str());
  const MemStatistics after = MemReadStatistics();
  EXPECT_EQ(log.FileText(), expected);
  EXPECT_EQ(after.count, before.count);
  EXPECT_EQ(after.totalSize, before.totalSize);
  EXPECT_NE(after.nextId, before.nextId) << "texts over 255 bytes convert in an allocated buffer";
}

TEST_F(LogTest, LogPrintfCutsItsOutputAt1024BytesWithTheLineEnd) {
  const std::string longText(3000, 'q');
  LogPrintf("%s", longText.c_str());
  EXPECT_EQ(log.FileText(), "0:" + std::string(1022, 'q') + "\r\n");
}

TEST_F(LogTest, LogPrintfNeverCutsADoubleByteCharacterInHalf) {
  const std::string text = std::string(1021, 'a') + "\x82\xA0" + "tail";
  LogPrintf("%s", text.c_str());
  EXPECT_EQ(log.FileText(), "0:" + std::string(1021, 'a') + "\r\n");
}

TEST_F(LogTest, CreatingTheLogReplacesAnOldOne) {
  WriteLog("old run\n");
  CreateLogFile();
  EXPECT_TRUE(log.LogExists());
  EXPECT_EQ(log.FileText(), "");
}

TEST_F(LogTest, FolderWithTrailingSeparatorGetsNoSecondOne) {
  SetLogFolder((log.Folder() + "\\").c_str());
  WriteLog("here\n");
  EXPECT_EQ(log.FileText(), "0:here\r\n");
}

TEST_F(LogTest, FolderEndingInADoubleByteCharacterGetsItsSeparator) {
  // "表" is 0x95 0x5C in code page 932: its second byte is a backslash.
  const std::filesystem::path inner = log.HostFolder() / std::filesystem::u8path(u8"表");
  std::filesystem::create_directories(inner);
  SetLogFolder((log.Folder() + "\\表").c_str());
  WriteLog("x\n");
  std::ifstream in(inner / "Log.txt", std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "0:x\r\n");
}

TEST_F(LogTest, UnopenableFileStillFeedsTheDebugger) {
  SetLogFolder((log.Folder() + "\\missing\\deeper").c_str());
  WriteLog("lost\n");
  EXPECT_EQ(LogCapture::Debugger(), "0:lost\r\n");
}

TEST_F(LogTest, WithoutAFolderNothingIsWritten) {
  SetLogFolder("");
  WriteLog("nowhere\n");
  EXPECT_EQ(LogCapture::Debugger(), "");
}

TEST_F(LogTest, DisabledLogCreatesDeletesAndWritesNothing) {
  log.PutLogFile("previous run\r\n");
  EXPECT_EQ(EnableLogFile(0), 0);
  CreateLogFile();
  EXPECT_EQ(WriteLog("text\n"), -1);
  LogPrintf("%d", 5);
  EXPECT_EQ(log.FileText(), "previous run\r\n");
  EXPECT_EQ(LogCapture::Debugger(), "");

  std::filesystem::remove(log.LogPath());
  CreateLogFile();
  WriteLog("more\n");
  EXPECT_FALSE(log.LogExists());
  EXPECT_EQ(LogCapture::Debugger(), "");
}

// A long text is converted in an allocated block before the log looks at
// its switch and its folder: the block comes and goes, taking one id, with
// nothing written.
TEST_F(LogTest, LongTextTakesItsScratchBlockAlsoWhenNothingIsWritten) {
  const std::string text(300, 'w');
  for (const bool disabled : {true, false}) {
    SCOPED_TRACE(disabled ? "log disabled" : "no folder");
    EnableLogFile(disabled ? 0 : 1);
    SetLogFolder(disabled ? log.Folder().c_str() : "");
    const MemStatistics before = MemReadStatistics();
    EXPECT_EQ(WriteLog(text.c_str()), -1);
    const MemStatistics after = MemReadStatistics();
    EXPECT_EQ(static_cast<uint16_t>(after.nextId - before.nextId), 1);
    EXPECT_EQ(after.count, before.count);
    EXPECT_EQ(after.totalSize, before.totalSize);
  }
  EXPECT_EQ(log.FileText(), "");
  EXPECT_EQ(LogCapture::Debugger(), "");
}

TEST_F(LogTest, LogFolderTakesTheStartDirectoryWhenUnset) {
  char savedStart[sizeof startDirectory];
  std::memcpy(savedStart, startDirectory, sizeof savedStart);
  std::snprintf(startDirectory, sizeof startDirectory, "%s", log.Folder().c_str());
  SetLogFolder("");
  CreateLogFile();
  EXPECT_EQ(std::string(LogFolder()), log.Folder());
  EXPECT_TRUE(log.LogExists());

  std::snprintf(startDirectory, sizeof startDirectory, "%s", "Z:\\elsewhere");
  CreateLogFile();
  EXPECT_EQ(std::string(LogFolder()), log.Folder()) << "a folder once set is kept";
  std::memcpy(startDirectory, savedStart, sizeof savedStart);
}

}  // namespace
