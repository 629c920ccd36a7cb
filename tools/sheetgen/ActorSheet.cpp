#include "ActorSheet.h"

#include <cmath>

#include "Painter.h"

namespace {

constexpr float PI = 3.14159265f;

Color Rgb255(int r, int g, int b) { return {r / 255.0f, g / 255.0f, b / 255.0f}; }

// ---- The player: a girl with twin tails, seen from the front. ----

const Color OUTLINE = Rgb255(58, 36, 48);
const Color HAIR = Rgb255(150, 80, 50);
const Color HAIR_SHINE = Rgb255(196, 122, 78);
const Color SKIN = Rgb255(255, 226, 198);
const Color DRESS = Rgb255(70, 132, 222);
const Color DRESS_HEM = Rgb255(52, 100, 184);
const Color WHITE = Rgb255(250, 250, 250);
const Color RIBBON = Rgb255(232, 64, 84);
const Color SHOES = Rgb255(122, 70, 58);
const Color EYES = Rgb255(62, 40, 74);
const Color BLUSH = Rgb255(255, 146, 160);
const Color MOUTH = Rgb255(204, 84, 96);

// How a walking frame moves the limbs: frame 0 steps with the left foot,
// frame 1 stands, frame 2 steps with the right.
struct Stride {
  float leftFootLift, rightFootLift;
  float bob;  // the body rises a little between steps
};

const Stride STRIDES[3] = {{2.2f, 0, 0}, {0, 0, -0.6f}, {0, 2.2f, 0}};

void DrawLegs(Painter& p, const Stride& s, float bob) {
  const float hipY = 33.5f + bob;
  const float feet[2][2] = {{20.3f, 41.4f - s.leftFootLift}, {27.7f, 41.4f - s.rightFootLift}};
  for (const auto& foot : feet)
    p.Part(Capsule(foot[0], hipY, foot[0], foot[1], 2.3f), WHITE, OUTLINE, 0.9f);
  for (const auto& foot : feet)
    p.Part(Ellipse(foot[0], foot[1] + 1.6f, 3.3f, 2.1f), SHOES, OUTLINE, 0.9f);
}

void DrawBody(Painter& p, const Stride& s, float bob) {
  // The arms swing against the legs.
  const float leftHand = 35.5f + bob - s.rightFootLift * 0.6f;
  const float rightHand = 35.5f + bob - s.leftFootLift * 0.6f;
  p.Part(Capsule(17.2f, 29.5f + bob, 13.2f, leftHand, 2.1f), SKIN, OUTLINE, 0.9f);
  p.Part(Capsule(30.8f, 29.5f + bob, 34.8f, rightHand, 2.1f), SKIN, OUTLINE, 0.9f);
  const Shape dress =
      Polygon({{18, 27 + bob}, {30, 27 + bob}, {34.5f, 38.5f + bob}, {13.5f, 38.5f + bob}});
  p.Part(dress, DRESS, OUTLINE, 0.9f);
  p.Fill(Clipped(Polygon({{10, 36 + bob}, {38, 36 + bob}, {38, 40 + bob}, {10, 40 + bob}}), dress),
         DRESS_HEM);
  p.Part(Ellipse(24, 28 + bob, 5.6f, 2.3f), WHITE, OUTLINE, 0.7f);
  p.Part(Polygon({{24, 29.8f + bob}, {21.2f, 28.2f + bob}, {21.2f, 31.6f + bob}}), RIBBON, OUTLINE,
         0.6f);
  p.Part(Polygon({{24, 29.8f + bob}, {26.8f, 28.2f + bob}, {26.8f, 31.6f + bob}}), RIBBON, OUTLINE,
         0.6f);
}

void DrawHead(Painter& p, float bob) {
  const float y = bob;
  // Twin tails and the back of the hair.
  p.Part(Ellipse(11.2f, 21 + y, 3.4f, 6.4f, 0.25f), HAIR, OUTLINE, 0.9f);
  p.Part(Ellipse(36.8f, 21 + y, 3.4f, 6.4f, -0.25f), HAIR, OUTLINE, 0.9f);
  const Shape hair = Circle(24, 16 + y, 12.4f);
  p.Part(hair, HAIR, OUTLINE, 0.9f);
  // The face, then the fringe over its top.
  p.Part(Ellipse(24, 19 + y, 9.6f, 8.4f), SKIN, OUTLINE, 0.8f);
  const Shape fringe[] = {Circle(18.2f, 10.6f + y, 5.2f), Circle(24.4f, 9.4f + y, 5.6f),
                          Circle(30.2f, 10.8f + y, 5.0f)};
  for (const Shape& lock : fringe) p.Part(Clipped(lock, hair), HAIR, OUTLINE, 0.7f);
  p.Fill(Clipped(Ellipse(19.5f, 7.2f + y, 4.2f, 1.3f, -0.35f), hair), HAIR_SHINE, 0.9f);
  // Eyes with a glint, cheeks and a small mouth.
  for (float eyeX : {19.8f, 28.2f}) {
    p.Fill(Ellipse(eyeX, 19.6f + y, 1.8f, 2.7f), EYES);
    p.Fill(Circle(eyeX + 0.6f, 18.5f + y, 0.75f), WHITE);
  }
  p.Fill(Ellipse(16.6f, 22.8f + y, 2.1f, 1.1f), BLUSH, 0.7f);
  p.Fill(Ellipse(31.4f, 22.8f + y, 2.1f, 1.1f), BLUSH, 0.7f);
  p.Fill(Ellipse(24, 23.6f + y, 1.3f, 0.8f), MOUTH);
  // A bow on the right side of the head.
  p.Part(Polygon({{31.5f, 6.5f + y}, {26.8f, 3.2f + y}, {27.2f, 9.8f + y}}), RIBBON, OUTLINE, 0.7f);
  p.Part(Polygon({{31.5f, 6.5f + y}, {36.2f, 3.2f + y}, {35.8f, 9.8f + y}}), RIBBON, OUTLINE, 0.7f);
  p.Part(Circle(31.5f, 6.5f + y, 1.5f), RIBBON, OUTLINE, 0.6f);
}

void DrawPlayerFrame(Image& sheet, int frame) {
  Painter p(ACTOR_CELL, ACTOR_CELL);
  PaintPlayer(p, frame);
  p.Resolve(sheet, frame * ACTOR_CELL, 0);
}

// ---- The balls: shaded spheres with three light segments that turn. ----

const Color BALL_COLORS[7] = {
    Rgb255(230, 40, 70),   Rgb255(248, 120, 24),  Rgb255(240, 216, 40), Rgb255(60, 188, 76),
    Rgb255(44, 178, 232),  Rgb255(64, 92, 226),   Rgb255(176, 78, 214),
};

constexpr float BALL_CENTER = 24, BALL_RADIUS = 19.5f;
// Each frame turns the ball by a third of the segments' period, so the
// three frames loop seamlessly.
constexpr float TURN_PER_FRAME = 2 * PI / 3 / 3;

struct Vector {
  float x, y, z;
};

Vector Normalized(Vector v) {
  const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return {v.x / length, v.y / length, v.z / length};
}

float Dot(Vector a, Vector b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

float SmoothStep(float edge0, float edge1, float x) {
  const float t = std::fmin(1.0f, std::fmax(0.0f, (x - edge0) / (edge1 - edge0)));
  return t * t * (3 - 2 * t);
}

bool ShadeBall(float x, float y, Color base, int frame, Color& out) {
  const float nx = (x - BALL_CENTER) / BALL_RADIUS, ny = (y - BALL_CENTER) / BALL_RADIUS;
  const float d2 = nx * nx + ny * ny;
  if (d2 > 1) return false;
  const Vector n{nx, ny, std::sqrt(1 - d2)};
  // The surface point before the ball turned about the horizontal axis.
  const float turn = frame * TURN_PER_FRAME;
  const float py = n.y * std::cos(turn) + n.z * std::sin(turn);
  const float pz = -n.y * std::sin(turn) + n.z * std::cos(turn);
  const float around = std::atan2(py, pz);
  // Three pale segments; the front centre of frame 0 shows the pure colour.
  const float pale = SmoothStep(0.05f, -0.15f, std::cos(3 * around));
  const Color albedo = Mix(base, Rgb255(255, 255, 255), 0.45f * pale);
  const Vector light = Normalized({-0.45f, -0.6f, 0.66f});
  const float diffuse = std::fmax(0.0f, Dot(n, light));
  const Vector half = Normalized({light.x, light.y, light.z + 1});
  const float specular = std::pow(std::fmax(0.0f, Dot(n, half)), 28.0f) * 0.85f;
  Color lit = Scale(albedo, 0.32f + 0.76f * diffuse);
  lit = Mix(lit, Rgb255(255, 255, 255), std::fmin(1.0f, specular));
  // A thin dark rim keeps the ball readable on any background.
  const float rim = SmoothStep(0.86f, 0.97f, std::sqrt(d2));
  out = Mix(lit, Scale(base, 0.3f), rim * 0.85f);
  return true;
}

void DrawBallFrame(Image& sheet, int color, int frame) {
  Painter p(ACTOR_CELL, ACTOR_CELL);
  PaintBall(p, color, frame);
  p.Resolve(sheet, frame * ACTOR_CELL, (1 + color) * ACTOR_CELL);
}

}  // namespace

void PaintPlayer(Painter& p, int frame) {
  const Stride& stride = STRIDES[frame];
  DrawLegs(p, stride, stride.bob);
  DrawBody(p, stride, stride.bob);
  DrawHead(p, stride.bob);
}

void PaintBall(Painter& p, int color, int frame) {
  p.Shade([&](float x, float y, Color& out) { return ShadeBall(x, y, BALL_COLORS[color], frame, out); });
}

Image DrawActorSheet() {
  Image sheet(ACTOR_COLUMNS * ACTOR_CELL, ACTOR_ROWS * ACTOR_CELL);
  for (int frame = 0; frame < 3; ++frame) DrawPlayerFrame(sheet, frame);
  for (int color = 0; color < 7; ++color)
    for (int frame = 0; frame < 3; ++frame) DrawBallFrame(sheet, color, frame);
  return sheet;
}
