// The DATA.QPA the build packs: with it in the working directory and no
// data\ folder, the sheets open through the stream table byte for byte and
// decode as the game loads them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/core/Engine.h"
#include "engine/files/LocateArchive.h"
#include "engine/files/archive/ArchiveTable.h"
#include "engine/images/ImageLoader.h"
#include "tests/files/FilesFixture.h"

namespace {

class DataArchive : public FilesFixture {};

std::vector<uint8_t> HostFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST_F(DataArchive, TheSheetsLoadFromTheArchiveAlone) {
  const std::filesystem::path source = VEXLO_DATA_SOURCE;
  if (!std::filesystem::exists(source / "actors.bmp") || !std::filesystem::exists(source / "font.bmp"))
    GTEST_SKIP() << "the sheets are not there";
#ifdef VEXLO_DATA_ARCHIVE
  std::filesystem::copy_file(VEXLO_DATA_ARCHIVE, scratch / "DATA.QPA");
#else
  // A cross build makes no DATA.QPA: pack the sheets the way the build does.
  qpa::SourceDirectory root;
  root.files.push_back({"actors.bmp", HostFile(source / "actors.bmp"), {}});
  root.files.push_back({"font.bmp", HostFile(source / "font.bmp"), {}});
  qpa::WriteOptions options;
  options.key = qpa::KeyChoice::KeyString;
  options.keyString = "7f3c9e0b51d2a86e4b07c3f9d1e25a6b8c04f17e";
  WriteFile("DATA.QPA", qpa::BuildArchive(root, options, nullptr));
#endif
  ASSERT_FALSE(std::filesystem::exists(scratch / "data"));
  SetArchiveKey("7f3c9e0b51d2a86e4b07c3f9d1e25a6b8c04f17e");
  struct Sheet {
    const char* path;
    const char* source;
    int width, height;
  } sheets[] = {{"data\\actors.bmp", "actors.bmp", 144, 384}, {"data\\font.bmp", "font.bmp", 512, 512}};
  for (const Sheet& sheet : sheets) {
    SCOPED_TRACE(sheet.path);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(ReadThroughStreams(sheet.path, &bytes));
    EXPECT_EQ(bytes, HostFile(source / sheet.source));
    PixelImage image{};
    ASSERT_EQ(LoadPixelImage(sheet.path, nullptr, 0, 0, 0, &image), 0);
    EXPECT_EQ(image.width, sheet.width);
    EXPECT_EQ(image.height, sheet.height);
    ReleasePixelImage(&image);
  }
  // Without the key string the archive does not open, and there is no
  // loose folder to fall back to.
  ForgetLocatedArchive();
  ReleaseUnreferencedArchives();
  SetArchiveKey(nullptr);
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(ReadThroughStreams("data\\font.bmp", &bytes));
}
