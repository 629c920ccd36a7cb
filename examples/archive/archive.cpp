// archive: pictures read from a keyed archive. At build time `qpa` packs
// the example's assets (a picture and the font) into ASSETS.QPA with a key
// (see CMakeLists.txt); the program sets the same key with SetArchiveKey
// and loads "assets\picture.bmp" and "assets\font.bmp". No folder named
// assets exists: the engine finds ASSETS.QPA, an archive named after the
// folder, in the working directory and reads the files from inside it, as
// it would read them from the folder itself. A wrong key makes both loads
// fail (try it), and the program then ends at once with 1. Esc ends it.
//
// Start the program in its build folder, where ASSETS.QPA is made.
#include <vexlo/Engine.h>

#include "Text.h"

// The key qpa packed the archive with, passed in by CMakeLists.txt.
#ifndef ARCHIVE_KEY
#error "ARCHIVE_KEY must name the key of ASSETS.QPA"
#endif

namespace {

constexpr int SCREEN_WIDTH = 640, SCREEN_HEIGHT = 480;
constexpr int KEY_ESCAPE = 1;
constexpr int PICTURE_WIDTH = 320, PICTURE_HEIGHT = 180;

void DrawFrame(Handle picture, const Text& text) {
  PaintBox(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, 0x1E1E28, 1);
  text.Draw(24, 24, "FROM A KEYED ARCHIVE", 255, 230, 120);
  text.Draw(24, 56, "ASSETS.QPA HOLDS:");
  text.Draw(48, 80, "PICTURE.BMP  320 X 180", 170, 220, 255);
  text.Draw(48, 100, "FONT.BMP     192 X 96", 170, 220, 255);
  const int left = (SCREEN_WIDTH - PICTURE_WIDTH * 3 / 2) / 2;
  // The picture twice: as it is, and tinted by the modulation colour.
  PutGraph(left - 60, 150, picture, 0);
  SetModulateColor(120, 200, 255);
  PutGraph(left + 220, 280, picture, 0);
  SetModulateColor(255, 255, 255);
  PaintBox(left - 60, 150, left - 60 + PICTURE_WIDTH, 150 + PICTURE_HEIGHT, 0xFFFFFF, 0);
  text.Draw(24, SCREEN_HEIGHT - 28, "LOADED AS ASSETS\\PICTURE.BMP", 200, 200, 200);
}

}  // namespace

int main() {
  ChangeWindowMode(1);
  SelectScreenMode(SCREEN_WIDTH, SCREEN_HEIGHT, 32, 60);
  SetMainWindowCaption("Vexlo example: archive");
  EnableLogFile(0);
  SetArchiveKey(ARCHIVE_KEY);
  if (StartupEngine() != 0) return 1;
  SelectDrawTarget(TARGET_BACK);

  Handle picture = -1;
  Text text;
  if (LoadGraphSheet("assets\\picture.bmp", 1, 1, 1, PICTURE_WIDTH, PICTURE_HEIGHT, &picture, 0) !=
          0 ||
      text.Load("assets\\font.bmp") != 0) {
    ShutdownEngine();
    return 1;
  }

  while (PumpMessages() == 0 && !IsKeyDown(KEY_ESCAPE)) {
    ClearDrawTarget(nullptr);
    DrawFrame(picture, text);
    if (PresentFrame() != 0) break;
  }

  text.Release();
  ReleaseGraph(picture, 0);
  ShutdownEngine();
  return 0;
}
