// One scene drawn twice, by the system's Direct3D 9 (Wine's d3d9.dll on
// these machines) in hardware mode and by the software renderer, read back
// through the engine's draw-screen lock and compared cell by cell.
//
// Each cell is held to the tolerance of what it draws (RendererTolerance.h);
// the rest of the screen, a background of plain boxes, must agree exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/Engine.h"
#include "engine/graphics/display/ScreenLock.h"
#include "engine/graphics/GraphicsSystem.h"
#include "engine/graphics/records/DisplayDevice.h"
#include "engine/images/ColorFormat.h"
#include "engine/images/PixelImage.h"
#include "tests/direct3d/RendererTolerance.h"

namespace {

constexpr int SCREEN_WIDTH = 800, SCREEN_HEIGHT = 600;

using namespace renderer_tolerance;

enum class Shape {
  SPRITE,        // an actor cell (48 x 48), black keyed
  BALL,          // a ball cell (48 x 48), black keyed
  GLYPHS,        // three font cells side by side (96 x 32)
  FILLED_BOX,    // PaintBox 40 x 40, filled
  OUTLINED_BOX,  // PaintBox 40 x 40, outlined
};

struct Modulation {
  int red, green, blue;
};
constexpr Modulation WHITE = {255, 255, 255};

struct Position {
  int x, y;
};

// The interior cells of the scene: 112 x 64 each, six columns by seven
// rows, a 64-pixel band left free around them for the cells that cross the
// screen's edges.
constexpr Position Cell(int column, int row) { return {72 + 112 * column, 72 + 64 * row}; }

struct SceneCase {
  const char* name;
  Shape shape;
  int mode, parameter;
  Modulation modulation;
  int transparent;
  Position at;  // where the shape is drawn (its top-left corner)
  int tolerance;
};

// Failure messages name the case rather than dump its bytes.
void PrintTo(const SceneCase& scene, std::ostream* out) { *out << scene.name; }

constexpr uint32_t BOX_COLOR = 0x3C8AF0;

const SceneCase SCENE[] = {
    // Copies and the colour key.
    {"CopyKeyed", Shape::SPRITE, 0, 0, WHITE, 1, Cell(0, 0), EXACT},
    {"CopyUnkeyed", Shape::SPRITE, 0, 0, WHITE, 0, Cell(1, 0), EXACT},
    {"CopyBallKeyed", Shape::BALL, 0, 0, WHITE, 1, Cell(2, 0), EXACT},
    {"CopyIgnoresParameter", Shape::BALL, 0, 77, WHITE, 1, Cell(3, 0), EXACT},
    {"CopyGlyphsKeyed", Shape::GLYPHS, 0, 0, WHITE, 1, Cell(4, 0), EXACT},
    {"CopyModulated", Shape::SPRITE, 0, 0, {200, 120, 40}, 1, Cell(5, 0), MODULATE},
    // Alpha blending.
    {"Alpha160", Shape::SPRITE, 1, 160, WHITE, 1, Cell(0, 1), ALPHA},
    {"Alpha255", Shape::SPRITE, 1, 255, WHITE, 1, Cell(1, 1), ALPHA},
    {"Alpha160Unkeyed", Shape::BALL, 1, 160, WHITE, 0, Cell(2, 1), ALPHA},
    {"Alpha64Ball", Shape::BALL, 1, 64, WHITE, 1, Cell(3, 1), ALPHA},
    {"Alpha160Modulated", Shape::BALL, 1, 160, {90, 255, 180}, 1, Cell(4, 1), ALPHA},
    {"Alpha255Modulated", Shape::SPRITE, 1, 255, {255, 64, 128}, 1, Cell(5, 1), ALPHA},
    // Addition and subtraction.
    {"Add64", Shape::BALL, 2, 64, WHITE, 1, Cell(0, 2), ADD},
    {"Add200", Shape::SPRITE, 2, 200, WHITE, 1, Cell(1, 2), ADD},
    {"Add255", Shape::BALL, 2, 255, WHITE, 1, Cell(2, 2), ADD},
    {"Sub96", Shape::BALL, 3, 96, WHITE, 1, Cell(3, 2), SUB},
    {"Sub255", Shape::SPRITE, 3, 255, WHITE, 1, Cell(4, 2), SUB},
    {"Sub160Modulated", Shape::BALL, 3, 160, {255, 128, 0}, 1, Cell(5, 2), SUB},
    // Multiplication, the inverted texture and the texture toward white.
    {"Mul128", Shape::BALL, 4, 128, WHITE, 1, Cell(0, 3), MUL},
    {"Mul255", Shape::SPRITE, 4, 255, WHITE, 1, Cell(1, 3), MUL},
    {"Mul8", Shape::SPRITE, 4, 8, WHITE, 1, Cell(0, 6), MUL},
    {"Mul128Unkeyed", Shape::BALL, 4, 128, WHITE, 0, Cell(1, 6), MUL},
    {"Mul200Modulated", Shape::BALL, 4, 200, {255, 160, 64}, 1, Cell(2, 6), MUL},
    {"Inverted96", Shape::BALL, 10, 96, WHITE, 1, Cell(2, 3), INVERTED},
    {"Inverted255", Shape::SPRITE, 10, 255, WHITE, 1, Cell(3, 3), INVERTED},
    {"TowardWhite96", Shape::BALL, 11, 96, WHITE, 1, Cell(4, 3), TOWARD_WHITE},
    {"TowardWhite255", Shape::SPRITE, 11, 255, WHITE, 1, Cell(5, 3), TOWARD_WHITE},
    // Glyphs modulated by the text colour, as the game writes its texts.
    {"GlyphsOrange", Shape::GLYPHS, 0, 0, {255, 160, 32}, 1, Cell(0, 4), MODULATE},
    {"GlyphsCyan", Shape::GLYPHS, 0, 0, {32, 224, 255}, 1, Cell(1, 4), MODULATE},
    {"GlyphsAlpha160", Shape::GLYPHS, 1, 160, {255, 255, 96}, 1, Cell(2, 4), ALPHA},
    {"GlyphsAdd128", Shape::GLYPHS, 2, 128, {128, 255, 128}, 1, Cell(3, 4), ADD},
    // Boxes.
    {"BoxFilled", Shape::FILLED_BOX, 0, 0, WHITE, 0, Cell(0, 5), EXACT},
    {"BoxOutlined", Shape::OUTLINED_BOX, 0, 0, WHITE, 0, Cell(1, 5), EXACT},
    {"BoxFilledAlpha160", Shape::FILLED_BOX, 1, 160, WHITE, 0, Cell(2, 5), ALPHA},
    {"BoxOutlinedAlpha160", Shape::OUTLINED_BOX, 1, 160, WHITE, 0, Cell(3, 5), ALPHA},
    {"BoxFilledAlpha255", Shape::FILLED_BOX, 1, 255, WHITE, 0, Cell(4, 5), ALPHA},
    {"BoxFilledModulated", Shape::FILLED_BOX, 1, 96, {128, 200, 255}, 0, Cell(5, 5), ALPHA},
    // Cells crossing each edge and corner of the screen.
    {"ClipLeft", Shape::SPRITE, 0, 0, WHITE, 1, {-20, 150}, EXACT},
    {"ClipRight", Shape::BALL, 0, 0, WHITE, 1, {SCREEN_WIDTH - 28, 150}, EXACT},
    {"ClipTop", Shape::BALL, 0, 0, WHITE, 1, {150, -20}, EXACT},
    {"ClipBottom", Shape::SPRITE, 0, 0, WHITE, 1, {150, SCREEN_HEIGHT - 28}, EXACT},
    {"ClipTopLeft", Shape::BALL, 0, 0, WHITE, 1, {-30, -30}, EXACT},
    {"ClipBottomRight", Shape::SPRITE, 0, 0, WHITE, 1, {SCREEN_WIDTH - 18, SCREEN_HEIGHT - 18}, EXACT},
    {"ClipTopRightGlyphs", Shape::GLYPHS, 0, 0, WHITE, 1, {SCREEN_WIDTH - 50, -12}, EXACT},
    {"ClipBottomLeftBox", Shape::FILLED_BOX, 0, 0, WHITE, 0, {-15, SCREEN_HEIGHT - 25}, EXACT},
    {"ClipLeftOutline", Shape::OUTLINED_BOX, 0, 0, WHITE, 0, {-20, 300}, EXACT},
    {"ClipRightAlpha160", Shape::BALL, 1, 160, WHITE, 1, {SCREEN_WIDTH - 30, 300}, ALPHA},
    {"ClipTopAdd200", Shape::SPRITE, 2, 200, WHITE, 1, {400, -24}, ADD},
    {"ClipBottomGlyphsModulated", Shape::GLYPHS, 0, 0, {255, 96, 96}, 1, {400, SCREEN_HEIGHT - 16},
     MODULATE},
};

constexpr int SPRITE_CELL = 0;  // the player's first frame
constexpr int BALL_CELL = 7;    // a ball of the second colour
constexpr int ACTOR_CELLS = 24, ACTOR_COLUMNS = 3, ACTOR_ROWS = 8, ACTOR_SIZE = 48;
constexpr int GLYPH_CELLS = 256, GLYPH_COLUMNS = 16, GLYPH_ROWS = 16, GLYPH_SIZE = 32;
const unsigned char GLYPH_TEXT[] = {'A', 'g', '7'};
constexpr int BOX_SIZE = 40;
// The margin compared around each shape: anything drawn outside the shape
// shows as a difference too.
constexpr int MARGIN = 4;

int ShapeWidth(Shape shape) {
  switch (shape) {
    case Shape::SPRITE:
    case Shape::BALL:
      return ACTOR_SIZE;
    case Shape::GLYPHS:
      return GLYPH_SIZE * int(sizeof GLYPH_TEXT);
    default:
      return BOX_SIZE;
  }
}

int ShapeHeight(Shape shape) {
  if (shape == Shape::GLYPHS) return GLYPH_SIZE;
  if (shape == Shape::FILLED_BOX || shape == Shape::OUTLINED_BOX) return BOX_SIZE;
  return ACTOR_SIZE;
}

Rect ComparedArea(const SceneCase& scene) {
  Rect area = {scene.at.x - MARGIN, scene.at.y - MARGIN,
               scene.at.x + ShapeWidth(scene.shape) + MARGIN,
               scene.at.y + ShapeHeight(scene.shape) + MARGIN};
  area.left = std::max(area.left, 0);
  area.top = std::max(area.top, 0);
  area.right = std::min(area.right, SCREEN_WIDTH);
  area.bottom = std::min(area.bottom, SCREEN_HEIGHT);
  return area;
}

// A screen read back: 0xRRGGBB per pixel, top row first.
struct Picture {
  std::vector<uint32_t> pixels;
  uint32_t at(int x, int y) const { return pixels[size_t(y) * SCREEN_WIDTH + size_t(x)]; }
};

struct Sheets {
  Handle actors[ACTOR_CELLS];
  Handle glyphs[GLYPH_CELLS];
};

// A background of 8 x 8 squares whose channels run through 0, the middle
// and 255, drawn with plain boxes (which both renderers draw alike), so
// that every blend meets dark, bright and saturated destinations.
void PaintBackground() {
  const int levels[] = {0, 0x30, 0x7F, 0x80, 0xC8, 0xFF};
  uint32_t seed = 12345;
  for (int y = 0; y < SCREEN_HEIGHT; y += 8) {
    for (int x = 0; x < SCREEN_WIDTH; x += 8) {
      uint32_t color = 0;
      for (int channel = 0; channel < 3; ++channel) {
        seed = seed * 1103515245u + 12345u;
        color = color << 8 | uint32_t(levels[(seed >> 16) % 6]);
      }
      PaintBox(x, y, x + 8, y + 8, color, 1);
    }
  }
}

void DrawCase(const SceneCase& scene, const Sheets& sheets) {
  ChooseBlendMode(scene.mode, scene.parameter);
  SetModulateColor(scene.modulation.red, scene.modulation.green, scene.modulation.blue);
  const int x = scene.at.x, y = scene.at.y;
  switch (scene.shape) {
    case Shape::SPRITE:
      PutGraph(x, y, sheets.actors[SPRITE_CELL], scene.transparent);
      break;
    case Shape::BALL:
      PutGraph(x, y, sheets.actors[BALL_CELL], scene.transparent);
      break;
    case Shape::GLYPHS:
      for (size_t i = 0; i < sizeof GLYPH_TEXT; ++i)
        PutGraph(x + GLYPH_SIZE * int(i), y, sheets.glyphs[GLYPH_TEXT[i]], scene.transparent);
      break;
    case Shape::FILLED_BOX:
    case Shape::OUTLINED_BOX:
      PaintBox(x, y, x + BOX_SIZE, y + BOX_SIZE, BOX_COLOR, scene.shape == Shape::FILLED_BOX);
      break;
  }
  ChooseBlendMode(BLEND_NONE, 0);
  SetModulateColor(255, 255, 255);
}

std::string DataPath(const char* file) {
  // The repository's data folder, seen through Wine's drive Z:.
  std::string path = std::string("Z:") + VEXLO_SOURCE_ROOT + "/data/" + file;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string ReadLog() {
  std::ifstream file("Log.txt", std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

// Starts the engine in the requested mode, draws the scene, reads the back
// buffer through the draw-screen lock and shuts the engine down.
bool RenderScene(bool hardware, Picture* picture, std::string* error) {
  displayOptions = DisplayOptions{};
  displayOptions.hardwareAttempt = hardware ? 1 : 0;
  displayOptions.softwareModeRequested = hardware ? 0 : 1;
  ChangeWindowMode(1);
  SelectScreenMode(SCREEN_WIDTH, SCREEN_HEIGHT, 32, 60);
  SetMainWindowCaption("Vexlo renderer comparison");
  bool ok = false;
  if (StartupEngine() != 0) {
    *error = "start-up failed";
  } else if (hardwareMode != (hardware ? 1 : 0)) {
    *error = std::string("started in the other mode\n") + ReadLog();
  } else {
    Sheets sheets;
    std::fill(std::begin(sheets.actors), std::end(sheets.actors), -1);
    std::fill(std::begin(sheets.glyphs), std::end(sheets.glyphs), -1);
    SetColorKey(0, 0, 0);
    LoadGraphSheet(DataPath("actors.bmp").c_str(), ACTOR_CELLS, ACTOR_COLUMNS, ACTOR_ROWS,
                   ACTOR_SIZE, ACTOR_SIZE, sheets.actors, 0);
    LoadGraphSheet(DataPath("font.bmp").c_str(), GLYPH_CELLS, GLYPH_COLUMNS, GLYPH_ROWS,
                   GLYPH_SIZE, GLYPH_SIZE, sheets.glyphs, 0);
    ClearDrawTarget(nullptr);
    PaintBackground();
    for (const SceneCase& scene : SCENE) DrawCase(scene, sheets);
    PixelImage view{};
    if (LockDrawScreen(Rect{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT}, &view) != 0) {
      *error = "the screen could not be locked";
    } else {
      picture->pixels.resize(size_t(SCREEN_WIDTH) * SCREEN_HEIGHT);
      for (int y = 0; y < SCREEN_HEIGHT; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(view.pixels) + size_t(view.pitch) * y;
        for (int x = 0; x < SCREEN_WIDTH; ++x) {
          uint32_t value = 0;
          std::memcpy(&value, row + size_t(x) * view.format.bytesPerPixel,
                      view.format.bytesPerPixel);
          int red, green, blue;
          DecodeColor(view.format, value, &red, &green, &blue, nullptr);
          picture->pixels[size_t(y) * SCREEN_WIDTH + size_t(x)] =
              uint32_t(red) << 16 | uint32_t(green) << 8 | uint32_t(blue);
        }
      }
      UnlockDrawScreen();
      ok = true;
    }
    PresentFrame();
    for (Handle handle : sheets.actors) ReleaseGraph(handle, 0);
    for (Handle handle : sheets.glyphs) ReleaseGraph(handle, 0);
  }
  ShutdownEngine();
  displayOptions = DisplayOptions{};
  return ok;
}

// Both pictures are left beside the log as PPM files, to look at when a
// cell differs.
void WritePpm(const char* path, const Picture& picture) {
  std::ofstream file(path, std::ios::binary);
  file << "P6\n" << SCREEN_WIDTH << " " << SCREEN_HEIGHT << "\n255\n";
  for (uint32_t pixel : picture.pixels) {
    const char rgb[3] = {char(pixel >> 16), char(pixel >> 8), char(pixel)};
    file.write(rgb, 3);
  }
}

int ChannelDifference(uint32_t a, uint32_t b) {
  int largest = 0;
  for (int shift = 0; shift < 24; shift += 8)
    largest = std::max(largest, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
  return largest;
}

struct Difference {
  int largest = 0;
  int x = 0, y = 0;  // where it was first seen
  long pixels = 0;   // pixels that differ at all
};

Difference Compare(const Picture& hardware, const Picture& software, const Rect& area) {
  Difference difference;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      int channel = ChannelDifference(hardware.at(x, y), software.at(x, y));
      if (channel == 0) continue;
      difference.pixels += 1;
      if (channel > difference.largest) {
        difference.largest = channel;
        difference.x = x;
        difference.y = y;
      }
    }
  }
  return difference;
}

// The scene in both modes, rendered once for all the tests of the program.
struct Rendered {
  Picture hardware, software;
  std::string skipReason, failure;
};
Rendered rendered;

class ScenePictures : public ::testing::Environment {
 public:
  void SetUp() override {
    if (std::getenv("DISPLAY") == nullptr) {
      rendered.skipReason = "no X display for Wine";
      return;
    }
    std::filesystem::path directory =
        std::filesystem::temp_directory_path() / "vexlo-renderer-comparison";
    std::filesystem::create_directories(directory);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(directory);
    std::string error;
    if (!RenderScene(true, &rendered.hardware, &error))
      rendered.failure = "hardware mode: " + error;
    else if (!RenderScene(false, &rendered.software, &error))
      rendered.failure = "software mode: " + error;
  }

  // The pictures, and the measurement by blend mode, for the record.
  void TearDown() override {
    if (rendered.skipReason.empty() && rendered.failure.empty()) {
      WritePpm("hardware.ppm", rendered.hardware);
      WritePpm("software.ppm", rendered.software);
      PrintLargestDifferences();
    }
    if (!previous_.empty()) std::filesystem::current_path(previous_);
  }

 private:
  static void PrintLargestDifferences() {
    std::map<int, int> largest;
    std::map<int, int> modulatedLargest;
    for (const SceneCase& scene : SCENE) {
      int value = Compare(rendered.hardware, rendered.software, ComparedArea(scene)).largest;
      bool modulated = scene.modulation.red != 255 || scene.modulation.green != 255 ||
                       scene.modulation.blue != 255;
      int& entry = modulated ? modulatedLargest[scene.mode] : largest[scene.mode];
      entry = std::max(entry, value);
    }
    std::printf("largest per-channel difference, hardware against software:\n");
    for (auto [mode, value] : largest) std::printf("  mode %2d: %d\n", mode, value);
    for (auto [mode, value] : modulatedLargest)
      std::printf("  mode %2d, modulated: %d\n", mode, value);
  }

  std::filesystem::path previous_;
};

::testing::Environment* const scenePictures =
    ::testing::AddGlobalTestEnvironment(new ScenePictures);

class RendererComparison : public ::testing::TestWithParam<SceneCase> {
 protected:
  void SetUp() override {
    if (!rendered.skipReason.empty()) GTEST_SKIP() << rendered.skipReason;
    ASSERT_TRUE(rendered.failure.empty()) << rendered.failure;
  }
  const Picture& hardware_ = rendered.hardware;
  const Picture& software_ = rendered.software;
};

TEST_P(RendererComparison, HardwareMatchesSoftware) {
  const SceneCase& scene = GetParam();
  const Rect area = ComparedArea(scene);
  const Difference difference = Compare(hardware_, software_, area);
  EXPECT_LE(difference.largest, scene.tolerance)
      << difference.pixels << " pixels differ; the largest difference is at (" << difference.x
      << ", " << difference.y << "): hardware " << std::hex << hardware_.at(difference.x, difference.y)
      << ", software " << software_.at(difference.x, difference.y);
}

// Everything outside the cells: the background boxes, and nothing drawn
// where no cell is.
TEST_F(RendererComparison, BackgroundMatchesExactly) {
  std::vector<bool> inCell(size_t(SCREEN_WIDTH) * SCREEN_HEIGHT, false);
  for (const SceneCase& scene : SCENE) {
    const Rect area = ComparedArea(scene);
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x) inCell[size_t(y) * SCREEN_WIDTH + size_t(x)] = true;
  }
  long differing = 0;
  int firstX = -1, firstY = -1;
  for (int y = 0; y < SCREEN_HEIGHT; ++y) {
    for (int x = 0; x < SCREEN_WIDTH; ++x) {
      if (inCell[size_t(y) * SCREEN_WIDTH + size_t(x)] || hardware_.at(x, y) == software_.at(x, y))
        continue;
      if (differing++ == 0) firstX = x, firstY = y;
    }
  }
  EXPECT_EQ(differing, 0) << "first at (" << firstX << ", " << firstY << ")";
}

INSTANTIATE_TEST_SUITE_P(Scene, RendererComparison, ::testing::ValuesIn(SCENE),
                         [](const ::testing::TestParamInfo<SceneCase>& param) {
                           return std::string(param.param.name);
                         });

}  // namespace
