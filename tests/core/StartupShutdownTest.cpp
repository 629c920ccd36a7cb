// Start-up and shut-down over the headless platform: the order of the log,
// the settings start-up adjusts, the refusals and failures, the fatal exit.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/core/EngineCallLock.h"
#include "engine/core/FatalError.h"
#include "engine/core/RuntimeLibraries.h"
#include "engine/core/SystemInfo.h"
#include "tests/core/EngineFixture.h"

namespace {

using enginetest::EngineFixture;
using enginetest::FindLine;

using StartupTest = EngineFixture;

// The lines start-up and shut-down write themselves, in order; other
// subsystems' lines (input, graphics) may stand between them.
const std::vector<std::string> WINDOWED_TRANSCRIPT = {
    "ChangeWindowMode実行 ",
    "ウインドウモードフラグが立てられました",
    "システムの情報を出力します",
    "\tＶｅｘｌｏ Ver3.05",
    "\t論理プロセッサの数 : 4",
    "\tＯＳ  Windows7 ( Build 7601 Service Pack 1 )",
    "\tＭＭＸ命令を使用します",
    "\tＳＳＥ命令が使用可能です",
    "\tＳＳＥ２命令が使用可能です",
    "\tＣＰＵベンダ：VexloVirtual",
    "\tＣＰＵ名：Vexlo Virtual Processor",
    "ＣＯＭの初期化... 成功しました",
    "メモリ総量:8192.00MB  空きメモリ領域:4096.00MB ",
    "ソフトの二重起動検査... 二重起動はされていませんでした",
    "ウインドウクラスを登録します... 登録に成功しました",
    "ウインドウモード起動用のウインドウを作成します",
    "ウインドウの作成に成功しました",
    "ウインドウスタイルをウインドウモード用に変更します... 完了",
    "ＩＭＥを無効にしました",
    "DirectSound の初期化を行います",
    "DirectSound の初期化は正常に終了しました",
    "文字コードバッファの初期化を行います... 完了しました",
    // shut-down
    "DirectSound の終了処理を行います",
    "DirectSound の終了処理は正常に終了しました",
    "ウインドウを閉じようとしています",
    "ウインドウが破棄されようとしています",
    "ソフトを終了する準備が整いました",
    "ＣＯＭを終了... 完了",
};

void ExpectInOrder(const std::vector<std::string>& lines, const std::vector<std::string>& expected) {
  int at = 0;
  for (const std::string& line : expected) {
    const int found = FindLine(lines, line, at);
    ASSERT_NE(found, -1) << "missing or out of order: [" << line << "]";
    at = found + 1;
  }
}

TEST_F(StartupTest, WindowedTranscriptRunsInOrder) {
  SettingsOfTheGame(1);
  ASSERT_EQ(StartupEngine(), 0);
  EXPECT_EQ(engineStarted, 1);
  ASSERT_EQ(ShutdownEngine(), 0);
  EXPECT_EQ(engineStarted, 0);

  // The ChangeWindowMode lines come before the log is created, which
  // deletes them: only start-up's own lines are in the file.
  std::vector<std::string> expected(WINDOWED_TRANSCRIPT.begin() + 2, WINDOWED_TRANSCRIPT.end());
  ExpectInOrder(LogLines(), expected);
}

TEST_F(StartupTest, FullScreenTranscriptAndForeground) {
  SettingsOfTheGame(0);
  ASSERT_EQ(StartupEngine(), 0);
  EXPECT_EQ(windowModeFlag, 0);
  ASSERT_EQ(ShutdownEngine(), 0);

  ExpectInOrder(LogTexts(), {
                                "ソフトの二重起動検査... 二重起動はされていませんでした",
                                "ウインドウクラスを登録します... 登録に成功しました",
                                "フルスクリーンモード用のウインドウを作成します",
                                "ウインドウの作成に成功しました",
                                "カーソルを不可視にしました",
                                "ＩＭＥを無効にしました",
                                "文字コードバッファの初期化を行います... 完了しました",
                                "ウインドウを閉じようとしています",
                            });
  EXPECT_FALSE(LogHas("ウインドウスタイルをウインドウモード用に変更します... 完了"));

  // The foreground step: lock time-out read, set to 0, set back; topmost.
  std::vector<long long> timeouts;
  for (const auto& call : headless::WindowCallsNamed("SystemParametersInfoA")) {
    if (call.args[0] == port::SPI_SETFOREGROUNDLOCKTIMEOUT) timeouts.push_back(call.args[2]);
  }
  EXPECT_EQ(timeouts, (std::vector<long long>{0, 200000}));
  EXPECT_EQ(headless::WindowCallsNamed("SetForegroundWindow").size(), 1u);
  bool topmost = false;
  for (const auto& call : headless::WindowCallsNamed("SetWindowPos")) {
    topmost |= call.args[0] == -1 &&
               call.args[5] == (port::SWP_NOREDRAW | port::SWP_NOMOVE | port::SWP_NOSIZE);
  }
  EXPECT_TRUE(topmost);
}

TEST_F(StartupTest, SecondStartAndSecondShutdownDoNothing) {
  SettingsOfTheGame(1);
  ASSERT_EQ(StartupEngine(), 0);
  const size_t lines = LogLines().size();
  const size_t calls = headless::WindowCalls().size();
  EXPECT_EQ(StartupEngine(), 0);
  EXPECT_EQ(LogLines().size(), lines);
  EXPECT_EQ(headless::WindowCalls().size(), calls);

  EXPECT_EQ(ShutdownEngine(), 0);
  const size_t afterShutdown = LogLines().size();
  EXPECT_EQ(ShutdownEngine(), 0);
  EXPECT_EQ(LogLines().size(), afterShutdown);
  EXPECT_EQ(InspectEngineCallLock().created, 0);
}

TEST_F(StartupTest, ShutdownWithoutStartupLeavesTheLockAlone) {
  EnterEngineCall();
  LeaveEngineCall();
  EXPECT_EQ(ShutdownEngine(), 0);
  EXPECT_EQ(InspectEngineCallLock().created, 1);
  DestroyEngineCallLock();
}

struct DepthCase {
  const char* name;
  int desktopBits;
  int windowed;
  int requestedBits;
  int result;
};

class ColorDepthTest : public EngineFixture, public ::testing::WithParamInterface<DepthCase> {};

TEST_P(ColorDepthTest, TwentyFourBitDesktopRefusedOnlyWindowed) {
  const DepthCase& c = GetParam();
  headless::Window().desktopBitsPerPixel = c.desktopBits;
  ChangeWindowMode(c.windowed);
  SelectScreenMode(800, 600, c.requestedBits, 60);
  EXPECT_EQ(StartupEngine(), c.result);
  EXPECT_EQ(LogHas("Ｖｅｘｌｏは２４ビットカラーモードに対応していません"), c.result == -1);
  if (c.result == -1) {
    EXPECT_TRUE(headless::WindowCallsNamed("CreateWindowExA").empty());
    EXPECT_FALSE(LogHas("システムの情報を出力します"));
  }
}

INSTANTIATE_TEST_SUITE_P(, ColorDepthTest,
                         ::testing::Values(DepthCase{"windowed24", 24, 1, 32, -1},
                                           DepthCase{"fullScreen24", 24, 0, 32, 0},
                                           DepthCase{"windowed32", 32, 1, 32, 0},
                                           DepthCase{"windowed16", 16, 1, 16, 0}),
                         [](const ::testing::TestParamInfo<DepthCase>& param) { return std::string(param.param.name); });

TEST_F(StartupTest, FullScreenWithoutTheModeRunsWindowed) {
  headless::SetDisplayModes({{port::DEVMODE_SIZE, 0, 32, 640, 480, 60}, {port::DEVMODE_SIZE, 0, 32, 1024, 768, 60}});
  SettingsOfTheGame(0);
  ASSERT_EQ(StartupEngine(), 0);
  EXPECT_EQ(windowModeFlag, 1);
  const auto created = headless::WindowCallsNamed("CreateWindowExA");
  ASSERT_EQ(created.size(), 1u);
  EXPECT_EQ(created[0].args[1], 0x80CA0000);
  EXPECT_TRUE(LogHas("ウインドウモード起動用のウインドウを作成します"));
}

TEST_F(StartupTest, Emulated320x240BecomesDoubled640x480) {
  headless::SetDisplayModes({{port::DEVMODE_SIZE, 0, 32, 800, 600, 60}});  // no 320 x 240 mode
  ChangeWindowMode(0);
  SelectScreenMode(320, 240, 32, 60);
  ASSERT_EQ(StartupEngine(), 0);
  EXPECT_EQ(windowModeFlag, 0);
  EXPECT_EQ(engineSettings.screenWidth, 640);
  EXPECT_EQ(engineSettings.screenHeight, 480);
  EXPECT_EQ(engineSettings.emulate320x240, 1);
}

TEST_F(StartupTest, WindowThatCannotBeCreatedFailsStartup) {
  headless::Window().createWindowFails = true;
  SettingsOfTheGame(1);
  EXPECT_EQ(StartupEngine(), -1);
  EXPECT_EQ(engineStarted, 0);
  EXPECT_EQ(mustEnd, 1);
  EXPECT_TRUE(LogHas("ウインドウの作成に失敗しました"));
  EXPECT_FALSE(LogHas("DirectSound の初期化を行います"));
}

TEST_F(StartupTest, SecondInstanceRefusesToStart) {
  headless::Window().otherInstanceClass = "ほのみかさ";
  SettingsOfTheGame(1);
  EXPECT_EQ(StartupEngine(), -1);
  EXPECT_EQ(mustEnd, 1);
  EXPECT_TRUE(LogHas("ソフトの二重起動検査... 二重起動されています、ソフトを終了します"));
  EXPECT_TRUE(headless::WindowCallsNamed("RegisterClassExA").empty());
}

TEST_F(StartupTest, ShutdownReleasesWhatStartupTook) {
  SettingsOfTheGame(1);
  ASSERT_EQ(StartupEngine(), 0);
  ASSERT_EQ(ShutdownEngine(), 0);

  for (const char* library : {"ws2_32.dll", "Imm32.dll", "winmm.dll", "ole32.dll", "comctl32.dll",
                              "dwmapi.dll", "User32.dll", "Kernel32.dll"}) {
    EXPECT_EQ(headless::LibraryReferences(library), 0) << library;
  }
  EXPECT_EQ(winmmLibrary.module, nullptr);
  EXPECT_EQ(ole32Library.CoInitialize, nullptr);

  // The screen saver is off while the window exists and on again after.
  std::vector<long long> screenSaver;
  for (const auto& call : headless::WindowCallsNamed("SystemParametersInfoA")) {
    if (call.args[0] == port::SPI_SETSCREENSAVEACTIVE) screenSaver.push_back(call.args[1]);
  }
  EXPECT_EQ(screenSaver, (std::vector<long long>{0, 1}));
  EXPECT_FALSE(headless::InspectWindow(mainWindow).exists);
  EXPECT_FALSE(headless::WindowCallsNamed("UnregisterClassA").empty());
  EXPECT_GE(headless::CursorDisplayCount(), 0);
}

TEST_F(StartupTest, LibrariesBindTheirFunctionsInOrder) {
  SettingsOfTheGame(1);
  ASSERT_EQ(StartupEngine(), 0);
  std::vector<std::string> loaded;
  for (const auto& call : headless::LibraryCalls()) {
    if (call.kind == headless::LibraryCall::LOAD) loaded.push_back(call.name);
  }
  // Kernel32.dll is taken by the window's memory query in between.
  const std::vector<std::string> order = {"ws2_32.dll", "Imm32.dll", "winmm.dll", "ole32.dll",
                                          "comctl32.dll", "dwmapi.dll", "User32.dll"};
  int at = 0;
  for (const std::string& name : order) {
    const int found = FindLine(loaded, name, at);
    ASSERT_NE(found, -1) << name;
    at = found + 1;
  }
  EXPECT_NE(ole32Library.CoInitialize, nullptr);
  EXPECT_EQ(ole32Library.CoCreateInstance, nullptr);  // not provided: stays null
}

TEST_F(StartupTest, MissingComLogsTheFailureAndStartupGoesOn) {
  headless::SetLibraryAvailable("ole32.dll", false);
  SettingsOfTheGame(1);
  EXPECT_EQ(StartupEngine(), 0);
  EXPECT_TRUE(LogHas("ＣＯＭの初期化... ＣＯＭの初期化に失敗しました"));
  ShutdownEngine();
  EXPECT_FALSE(LogHas("ＣＯＭを終了... 完了"));
}

TEST_F(StartupTest, CaptionAndClassName) {
  SetMainWindowCaption(nullptr);
  ChangeWindowMode(1);
  ASSERT_EQ(StartupEngine(), 0);
  const auto view = headless::InspectWindow(mainWindow);
  EXPECT_EQ(view.className, "D123987X");
  EXPECT_EQ(view.caption, "Vexlo");
  ShutdownEngine();

  engineSettings = EngineSettings{};
  SettingsOfTheGame(1);
  ASSERT_EQ(StartupEngine(), 0);
  EXPECT_EQ(headless::InspectWindow(mainWindow).className, "ほのみかさ");
  EXPECT_EQ(headless::InspectWindow(mainWindow).caption, "ほのみかさ");
}

TEST_F(StartupTest, LongCaptionKeepsItsFirst511Bytes) {
  const std::string text(600, 'c');
  SetMainWindowCaption(text.c_str());
  EXPECT_EQ(std::string(engineSettings.caption), text.substr(0, 511));
  ChangeWindowMode(1);
  ASSERT_EQ(StartupEngine(), 0);
  EXPECT_EQ(headless::InspectWindow(mainWindow).className, text.substr(0, 255));
}

TEST_F(StartupTest, SystemInformationFromTheProcessor) {
  headless::SetCpuidAvailable(false);
  headless::SetProcessorCount(1);
  ChangeWindowMode(1);
  ASSERT_EQ(StartupEngine(), 0);
  EXPECT_EQ(processorCount, 1);
  EXPECT_EQ(cpuFeatureLevel, 0);
  EXPECT_EQ(windowsVersionCode, 265);
  EXPECT_TRUE(LogHas("ＣＰＵＩＤ命令は使えません"));
  EXPECT_FALSE(LogHas("ＣＰＵベンダ：VexloVirtual"));
}

// SSE4.1 and AVX2 from CPUID leaves 1 and 7, AVX2 only when the system
// saves the YMM registers (OSXSAVE and AVX set, XCR0 bits 1 and 2).
TEST_F(StartupTest, VectorExtensionsNeedTheProcessorAndTheSystem) {
  constexpr uint32_t SSE_TO_SSE2 = 0x06800000;  // leaf 1 EDX: MMX, SSE, SSE2
  constexpr uint32_t SSE41 = 1u << 19, OSXSAVE = 1u << 27, AVX = 1u << 28;
  constexpr uint32_t AVX2 = 1u << 5;  // leaf 7 EBX
  struct Case {
    const char* what;
    uint32_t maxLeaf, leaf1Ecx, leaf7Ebx;
    uint64_t xcr0;
    int sse41, avx2;
  };
  const Case cases[] = {
      {"SSE2 only", 7, 0, AVX2, 7, 0, 0},
      {"SSE4.1 without AVX", 1, SSE41, 0, 0, 1, 0},
      {"everything", 7, SSE41 | OSXSAVE | AVX, AVX2, 7, 1, 1},
      {"the system does not save YMM", 7, SSE41 | OSXSAVE | AVX, AVX2, 3, 1, 0},
      {"no OSXSAVE", 7, SSE41 | AVX, AVX2, 7, 1, 0},
      {"leaf 7 beyond the highest leaf", 6, SSE41 | OSXSAVE | AVX, AVX2, 7, 1, 0},
      {"AVX2 not offered", 7, SSE41 | OSXSAVE | AVX, 0, 7, 1, 0},
  };
  for (const Case& c : cases) {
    headless::SetCpuidLeaf(0, c.maxLeaf, 0, 0, 0);
    headless::SetCpuidLeaf(1, 0, 0, c.leaf1Ecx, SSE_TO_SSE2);
    headless::SetCpuidLeaf(7, 0, c.leaf7Ebx, 0, 0);
    headless::SetXcr0(c.xcr0);
    ChangeWindowMode(1);
    ASSERT_EQ(StartupEngine(), 0) << c.what;
    EXPECT_EQ(cpuHasSse2, 1) << c.what;
    EXPECT_EQ(cpuHasSse41, c.sse41) << c.what;
    EXPECT_EQ(cpuHasAvx2, c.avx2) << c.what;
    ShutdownEngine();
  }
}

struct VersionCase {
  uint32_t platform, major, minor, build;
  const char* servicePack;
  const char* description;
  int code;
  bool vistaBranches;  // the Vista-and-later branches are taken
};

class VersionTest : public EngineFixture, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionTest, DescriptionAndCode) {
  const VersionCase& c = GetParam();
  port::OsVersionInfoA info{};
  info.dwOSVersionInfoSize = port::OSVERSIONINFOA_SIZE;
  info.dwPlatformId = c.platform;
  info.dwMajorVersion = c.major;
  info.dwMinorVersion = c.minor;
  info.dwBuildNumber = c.build;
  std::snprintf(info.szCSDVersion, sizeof info.szCSDVersion, "%s", c.servicePack);
  headless::SetVersionInfo(info, 1);
  windowsVersionCode = 0;
  ChangeWindowMode(1);
  ASSERT_EQ(StartupEngine(), 0);
  EXPECT_EQ(windowsVersionCode, c.code);
  EXPECT_EQ(WindowsVersionAtLeast(WINDOWS_VERSION_VISTA), c.vistaBranches) << c.description;
  EXPECT_TRUE(LogHas(std::string("ＯＳ  ") + c.description)) << c.description;
}

INSTANTIATE_TEST_SUITE_P(
    , VersionTest,
    ::testing::Values(VersionCase{0, 3, 10, 0, "", "Windows3.1 ( Build 0  )", 0, false},
                      VersionCase{1, 4, 0, 950, "C", "Windows95OSR2 ( Build 950 C )", 1, false},
                      VersionCase{1, 4, 10, 2222, "A", "Windows98SE ( Build 2222 A )", 2, false},
                      VersionCase{1, 4, 90, 3000, "", "WindowsMe ( Build 3000  )", 3, false},
                      VersionCase{2, 4, 0, 1381, "Service Pack 6", "Windows4.0 ( Build 1381 Service Pack 6 )", 261, false},
                      VersionCase{2, 5, 1, 2600, "Service Pack 3", "WindowsXP ( Build 2600 Service Pack 3 )", 263, false},
                      VersionCase{2, 6, 0, 6002, "", "WindowsVista ( Build 6002  )", 264, true},
                      VersionCase{2, 6, 2, 9200, "", "Windows ( Build 9200  )", 0, true},
                      VersionCase{2, 10, 0, 19045, "", "Windows ( Build 19045  )", 0, true}));

// FatalError ends the process with -1 after the full shut-down; checked in
// a child process (the test program run again for this one test).
#if defined(_WIN32)
constexpr int FATAL_EXIT_CODE = -1;
#else
constexpr int FATAL_EXIT_CODE = 255;
#endif

void StartAndFail() {
  ChangeWindowMode(1);
  if (StartupEngine() != 0) std::exit(3);
  FatalErrorf("回復できない失敗 %d", 7);
}

TEST_F(StartupTest, FatalErrorEndsTheProcessWithMinusOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(StartAndFail(), ::testing::ExitedWithCode(FATAL_EXIT_CODE), "");
}

TEST_F(StartupTest, FatalErrorLogsAndShutsDownFirst) {
  // The child's log is left in this test's directory.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(StartAndFail(), ::testing::ExitedWithCode(FATAL_EXIT_CODE), "");
  const std::vector<std::string> lines = LogTexts();
  const int fatal = FindLine(lines, "回復できない失敗 7");
  ASSERT_NE(fatal, -1);
  EXPECT_GT(FindLine(lines, "ウインドウが破棄されようとしています", fatal), fatal);
  EXPECT_GT(FindLine(lines, "ＣＯＭを終了... 完了", fatal), fatal);
}

}  // namespace
