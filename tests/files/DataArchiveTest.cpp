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
#ifndef VEXLO_DATA_ARCHIVE
  GTEST_SKIP() << "this build packs no DATA.QPA (cross build, or the sheets are missing)";
#else
  std::filesystem::copy_file(VEXLO_DATA_ARCHIVE, scratch / "DATA.QPA");
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
    EXPECT_EQ(bytes, HostFile(std::filesystem::path(VEXLO_DATA_SOURCE) / sheet.source));
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
#endif
}
