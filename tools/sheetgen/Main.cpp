// sheetgen --font FONT_FILE --out DIRECTORY
//   Writes the game's sheets, DIRECTORY/actors.bmp and DIRECTORY/font.bmp.
//   Only a sheetgen built with FreeType draws them.
// sheetgen --icons DIRECTORY
//   Writes the game's icon: DIRECTORY/honomikasa.ico (16, 32, 48 and 256
//   pixels) and DIRECTORY/honomikasa-SIZE.png for each size of Linux's
//   icon theme.
#include <cstdio>
#include <string>
#include <vector>

#include "ActorSheet.h"
#include "Icon.h"
#include "IconFile.h"
#include "PngFile.h"
#if SHEETGEN_FONT_SHEET
#include "FontSheet.h"
#endif

namespace {

int Fail(const std::string& problem) {
  std::fprintf(stderr, "sheetgen: %s\n", problem.c_str());
  return 1;
}

int WriteSheets(const std::string& fontPath, const std::string& outDirectory) {
#if SHEETGEN_FONT_SHEET
  const Image actors = DrawActorSheet();
  if (!actors.WriteBmp(outDirectory + "/actors.bmp"))
    return Fail("cannot write " + outDirectory + "/actors.bmp");
  Image font(FONT_COLUMNS * GLYPH_CELL, FONT_COLUMNS * GLYPH_CELL);
  const std::string problem = DrawFontSheet(fontPath, font);
  if (!problem.empty()) return Fail(problem);
  if (!font.WriteBmp(outDirectory + "/font.bmp"))
    return Fail("cannot write " + outDirectory + "/font.bmp");
  return 0;
#else
  (void)fontPath;
  (void)outDirectory;
  return Fail("built without FreeType, so it cannot draw the sheets (see README.md)");
#endif
}

int WriteIcons(const std::string& outDirectory) {
  std::vector<Image> windowsImages;
  for (int size : WINDOWS_ICON_SIZES) windowsImages.push_back(DrawIcon(size));
  const std::vector<uint8_t> ico = EncodeIco(windowsImages);
  if (ico.empty()) return Fail("cannot encode the icon file");
  if (!WriteFileBytes(outDirectory + "/honomikasa.ico", ico))
    return Fail("cannot write " + outDirectory + "/honomikasa.ico");
  for (int size : THEME_ICON_SIZES) {
    const std::string path = outDirectory + "/honomikasa-" + std::to_string(size) + ".png";
    const std::vector<uint8_t> png = EncodePng(DrawIcon(size));
    if (png.empty() || !WriteFileBytes(path, png)) return Fail("cannot write " + path);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string fontPath, outDirectory, iconDirectory;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--font") fontPath = argv[i + 1];
    else if (option == "--out") outDirectory = argv[i + 1];
    else if (option == "--icons") iconDirectory = argv[i + 1];
  }
  if (!iconDirectory.empty()) return WriteIcons(iconDirectory);
  if (!fontPath.empty() && !outDirectory.empty()) return WriteSheets(fontPath, outDirectory);
  std::fprintf(stderr, "usage: sheetgen --font FONT_FILE --out DIRECTORY\n"
                       "       sheetgen --icons DIRECTORY\n");
  return 2;
}
