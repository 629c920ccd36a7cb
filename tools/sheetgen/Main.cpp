// sheetgen --font FONT_FILE --out DIRECTORY
// Writes DIRECTORY/actors.bmp and DIRECTORY/font.bmp.
#include <cstdio>
#include <string>

#include "ActorSheet.h"
#include "FontSheet.h"

int main(int argc, char** argv) {
  std::string fontPath, outDirectory;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--font") fontPath = argv[i + 1];
    else if (option == "--out") outDirectory = argv[i + 1];
  }
  if (fontPath.empty() || outDirectory.empty()) {
    std::fprintf(stderr, "usage: sheetgen --font FONT_FILE --out DIRECTORY\n");
    return 2;
  }
  const Image actors = DrawActorSheet();
  if (!actors.WriteBmp(outDirectory + "/actors.bmp")) {
    std::fprintf(stderr, "sheetgen: cannot write %s/actors.bmp\n", outDirectory.c_str());
    return 1;
  }
  Image font(FONT_COLUMNS * GLYPH_CELL, FONT_COLUMNS * GLYPH_CELL);
  const std::string problem = DrawFontSheet(fontPath, font);
  if (!problem.empty()) {
    std::fprintf(stderr, "sheetgen: %s\n", problem.c_str());
    return 1;
  }
  if (!font.WriteBmp(outDirectory + "/font.bmp")) {
    std::fprintf(stderr, "sheetgen: cannot write %s/font.bmp\n", outDirectory.c_str());
    return 1;
  }
  return 0;
}
